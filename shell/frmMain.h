// The main window: the menus through which everything else is reached, the
// welcome frame while no report is open, the status text long operations
// write into, the open report's path, the usage hint and the maker's logo;
// and the program's start-up: splash, welcome, the single-copy test.
#pragma once

#include <QMainWindow>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/ui_qt.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;

namespace vt::gui {

class SingleCopyLock;

struct StartOptions {
    std::chrono::milliseconds splashTime{3000};
    // The clock the splash time is measured on; empty: the steady clock.
    std::function<std::chrono::steady_clock::time_point()> clock;
    // Names the lock that tells a second copy; tests give their own.
    std::string instanceKey = "Vantrel287";
    // Ends the program; empty: the application's event loop is left.
    std::function<void()> quit;
};

class frmMain : public QMainWindow, public ui::MainWindowSink {
    Q_OBJECT
public:
    explicit frmMain(StartOptions options = {});
    ~frmMain() override;

    // The start-up. False when another copy runs: the user has been told and
    // this copy must end.
    bool Form_Load();

    // 1: a report is open; 0: none. Other values change nothing.
    void SetMenuState(int state);
    // Unloads every other window, last loaded first, through its own close
    // path (which stores an open row); false when one would not close.
    bool UnloadOtherForms();
    // The same, then the report is closed; false (and the report left open)
    // when a window would not close.
    bool CloseDatabaseAndForms();
    // Closes every window and the report, then ends the program; false when a
    // window would not close (nothing ends then).
    bool ExitProgram();
    // The four menus and every item in them on or off (their shortcuts with
    // them); switching on puts back what was on before.
    void EnableMainMenus(bool enable);

    // What the report code shows here (through the Qt user interface).
    void ShowStatus(const std::string& text, bool visible) override;
    void ShowReportOpened(const std::string& path) override;
    void ShowReportClosed() override { ShowNoReport(); }
    void CloseReportWindows() override { UnloadOtherForms(); }
    void ReportFileReplaced() override;
    void HideNewReportDialog() override;
    void RefreshWorksheetWindows() override;
    void EnableMenus(bool enabled) override { EnableMainMenus(enabled); }
    void ShowEditCheckResults() override;
    QWidget* DialogParent() override { return this; }

    // Controls.
    QGroupBox* fraWelcome;
    QPushButton* cmdNew;
    QPushButton* cmdOpen;
    QPushButton* cmdExit;
    QLabel* lblWelcomeNew;
    QLabel* lblWelcomeOpen;
    QLabel* lblWelcomeExit;
    QLineEdit* txtCalcMsg;
    QLabel* lblCRFName;
    QLabel* lblHelp;
    QLabel* imgQuelldorn;
    QTimer* tmrMain;
    std::string tmrMainTag;

    QMenu* mnuReport;
    QAction* mnuReportNew;
    QAction* mnuReportOpen;
    QAction* mnuReportClose;
    QAction* mnuReportSaveAs;
    QAction* mnuReportCalculate;
    QAction* mnuReportPrinterSetup;
    QAction* mnuReportPrintSelect;
    QAction* mnuReportPrint;
    QMenu* mnuReportUtilities;
    QAction* mnuReportUtilitiesReBuild;
    QAction* mnuReportUtilitiesHQ;
    QAction* mnuReportUtilitiesValidate;
    QAction* mnuReportUtilitiesMove;
    QAction* mnuHeaderLines;
    QAction* mnuReportExit;
    QMenu* mnuEdit;
    QMenu* mnuEditOpen;
    QAction* mnuEditCloseAll;
    QMenu* mnuView;
    QMenu* mnuViewOpen;
    QAction* mnuViewOpenEditChecks;
    QAction* mnuViewCloseAll;
    QMenu* mnuHelp;
    QAction* mnuHelpReference;
    QAction* mnuHelpAbout;

public slots:
    void mnuReportNew_Click();
    void mnuReportOpen_Click();
    void mnuReportClose_Click();
    void mnuReportSaveAs_Click();
    void mnuReportCalculate_Click();
    void mnuReportPrinterSetup_Click();
    void mnuReportPrintSelect_Click();
    void mnuReportPrint_Click();
    void mnuReportUtilitiesReBuild_Click();
    void mnuReportUtilitiesHQ_Click();
    void mnuReportUtilitiesValidate_Click();
    void mnuReportUtilitiesMove_Click();
    void mnuHeaderLines_Click();
    void mnuReportExit_Click();
    void mnuEditCloseAll_Click();
    void mnuViewCloseAll_Click();
    void mnuViewOpenEditChecks_Click();
    void mnuHelpReference_Click();
    void mnuHelpAbout_Click();
    void tmrMain_Timer();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void BuildOpenMenus();
    void BuildControls();
    QAction* Item(QMenu* menu, const char* name, const char* caption, void (frmMain::*slot)(),
                  const QKeySequence& key = {});
    void WaitForSplash();
    void ShowNoReport();
    void CloseWindowsNamed(const char* prefix);
    bool RequireReport();
    // Whether the report code's ui hooks reach this window (they do in the
    // program; tests script the user interface instead).
    bool Hooked() const;
    void StoreOpenRows();
    void ShowReportState();

    StartOptions options_;
    std::unique_ptr<SingleCopyLock> lock_;
    QString helpText_;
    std::vector<std::pair<QAction*, bool>> savedMenus_;
    int menusOff_ = 0;
    bool exiting_ = false;
};

// The main window while one is loaded.
frmMain* FindMainWindow();
// The main window's four menus on or off; nothing when there is no main window.
void EnableMainMenus(bool enable);

}  // namespace vt::gui
