// The program's user interface for the report code: Qt message boxes in the
// button, icon and default-button styles the report code asks for, the beep, the hourglass,
// file choosers and printer set-up; the status text and the "report opened"
// look go to the main window once it has attached itself.
#pragma once

#include <QMessageBox>
#include <QString>

#include <memory>
#include <string>

#include "platform/ui/ui.h"

class QWidget;

namespace vt::ui {

// What the main window does for the report code.
class MainWindowSink {
public:
    virtual ~MainWindowSink() = default;
    virtual void ShowStatus(const std::string& text, bool visible) = 0;
    virtual void ShowReportOpened(const std::string& path) = 0;
    virtual void ShowReportClosed() = 0;
    virtual void CloseReportWindows() = 0;
    virtual void ReportFileReplaced() = 0;
    virtual void HideNewReportDialog() = 0;
    virtual void RefreshWorksheetWindows() = 0;
    virtual void EnableMenus(bool enabled) = 0;
    virtual void ShowEditCheckResults() = 0;
    virtual QWidget* DialogParent() = 0;
};

// Style bits beyond the buttons and icon: which button is the default.
inline constexpr int kDefaultButton1 = 0;
inline constexpr int kDefaultButton2 = 256;
inline constexpr int kDefaultButton3 = 512;
inline constexpr int kDefaultButton4 = 768;

// The message box a style asks for, built but not shown. An empty title
// becomes the application's display name.
std::unique_ptr<QMessageBox> BuildMessageBox(const std::string& prompt, int style, const std::string& title,
                                             QWidget* parent = nullptr);
// The window a message box is shown over and gives the keyboard back to:
// the active one, or, while none is (the window that a box just closed over
// is still being activated again, as when one entry brings two messages), the
// window the last box went back to, until another window takes the focus.
// Null when there is neither.
QWidget* MessageOwner();
// Shows a built box modally and answers with its pressed button. The
// message owner gets the activation back, so that its keyboard is where it
// was, whether or not a window manager hands it back.
int Ask(QMessageBox& box);
// The answer code of a pressed button (kOk ... kNo); kCancel for anything else.
int AnswerOf(QMessageBox::StandardButton button);
// "Cost Report Files (*.CRF)|*.CRF" as Qt writes a filter: "Cost Report Files (*.CRF)".
QString QtFilter(const std::string& filter);

class QtUi : public UserInterface {
public:
    QtUi() = default;
    ~QtUi() override;
    void SetMainWindow(MainWindowSink* sink) { sink_ = sink; }
    MainWindowSink* MainWindow() const { return sink_; }

    int MessageBox(const std::string& prompt, int style, const std::string& title) override;
    void Beep() override;
    void SetStatus(const std::string& text, bool visible) override;
    void SetBusy(bool busy) override;
    void DoEvents() override;
    std::optional<FileChoice> ChooseSaveFile(const FileRequest& request) override;
    std::optional<FileChoice> ChooseOpenFile(const FileRequest& request) override;
    void RefreshWorksheetWindows() override;
    void ShowReportOpened(const std::string& caption, const std::string& path) override;
    void ShowReportClosed(const std::string& caption) override;
    void CloseReportWindows() override;
    void ReportFileReplaced() override;
    void HideNewReportDialog() override;
    bool PrinterSetup(const std::string& title) override;
    std::optional<Login> AskLogin(const LoginRequest& request) override;
    // The main window's menus, and the findings of the edit checks.
    void SetMenusEnabled(bool enabled) override;
    void ShowEditCheckResults() override;

    // The printer chosen in the set-up dialog; "" = the system's default.
    std::string ChosenPrinter() const;

private:
    std::optional<FileChoice> ChooseFile(const FileRequest& request, bool save);
    QWidget* Parent() const;
    MainWindowSink* sink_ = nullptr;
    int busyDepth_ = 0;
};

}  // namespace vt::ui
