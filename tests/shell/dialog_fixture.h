// The ground of the dialog tests: the program's own Qt user interface, so the
// report code's hooks reach the main window as they do in the program, with
// message boxes and file choosers scripted and the status line recorded; a
// started main window without a report; settings, print files and reports
// in the test's own folder.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/ui/ui_qt.h"
#include "shell/frmMain.h"
#include "report/whole_report.h"
#include "tests/gui_support/gui_test.h"
#include "tests/support/recording_printer.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"

class QAction;
class QLineEdit;

namespace vt::gui {
class frmCreateNewCRF;
class frmViewError;
}

namespace vt::test {

class WindowUi : public ui::QtUi {
public:
    WindowUi();
    ~WindowUi() override;

    int MessageBox(const std::string& prompt, int style, const std::string& title) override {
        return script.MessageBox(prompt, style, title);
    }
    void Beep() override { script.Beep(); }
    void SetStatus(const std::string& text, bool visible) override;
    std::optional<ui::FileChoice> ChooseSaveFile(const ui::FileRequest& r) override { return script.ChooseSaveFile(r); }
    std::optional<ui::FileChoice> ChooseOpenFile(const ui::FileRequest& r) override { return script.ChooseOpenFile(r); }

    ScriptedUi script;
    // Runs at every change of the status line, after the main window shows it.
    std::function<void(const std::string& text, bool visible)> onStatus;
};

class DialogTest : public ::testing::Test {
protected:
    static NewCrfEntries ValidEntries() { return {"0287", "12-3456", "01/01/2006", "12/31/2006", "Test Home Office"}; }

    void SetUp() override;
    void TearDown() override;

    std::string PathOf(const std::string& name) const;
    QAction* Action(const char* name) const;
    // The main window's New with the dialog driven by `drive`, which must end
    // it (Create, Cancel, or a rule that closes it).
    void RunNew(const std::function<void(gui::frmCreateNewCRF&)>& drive);
    // A report made without the dialog, then left open.
    void MakeReport(const std::string& name, const NewCrfEntries& entries = ValidEntries());
    // The focus into the box, the text typed over what it held.
    static void Type(QLineEdit* box, const std::string& text);
    // Waits until the window is the active one (its focus events come then).
    static bool WaitActive(QWidget* window);
    // The main window as it is without a report.
    void ExpectNoReport() const;
    // The findings window when it is loaded.
    static gui::frmViewError* Findings();

    WindowUi ui;
    RecordingPrinter printer;
    TempFolder temp_{"vt-dialogs"};
    std::string folder = temp_.Path();
    std::unique_ptr<GuiEnvironment> env;
    gui::frmMain* main = nullptr;
};

}  // namespace vt::test
