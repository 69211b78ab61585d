// What the report code does to windows, behind one interface: message boxes,
// the beep, the main window's status text and pointer, a turn of the event
// loop, file choosers and the notice that open worksheet windows should rebind.
// The program installs its window implementation at start-up; tests install a
// scripted one, so nothing ever waits for a person.
#pragma once

#include <optional>
#include <string>

namespace vt::ui {

// Message-box styles and answers, as the report code passes them around:
// buttons in the low bits, the icon in the next ones.
enum : int {
    kOkOnly = 0, kOkCancel = 1, kAbortRetryIgnore = 2, kYesNoCancel = 3, kYesNo = 4, kRetryCancel = 5,
    kCritical = 16, kQuestion = 32, kExclamation = 48, kInformation = 64,
};
enum Answer : int { kOk = 1, kCancel = 2, kAbort = 3, kRetry = 4, kIgnore = 5, kYes = 6, kNo = 7 };

struct FileRequest {
    std::string title;       // dialog title
    std::string defaultExt;  // ".CRF"
    std::string filter;      // "Cost Report Files (*.CRF)|*.CRF"
    std::string initialDir;  // "" = the chooser's own choice
    std::string fileName;    // proposed name
    bool confirmOverwrite = false;  // save choosers: ask before replacing a file
};

struct FileChoice {
    std::string path;   // full path
    std::string title;  // file name without folder
};

// A print server that asks who prints before it takes a print.
struct LoginRequest {
    std::string server;
    std::string printer;   // the printer the pages are for
    std::string user;      // the name proposed: the user's own
    bool refused = false;  // a name and password given before were not accepted
    bool operator==(const LoginRequest&) const = default;
};

struct Login {
    std::string user;
    std::string password;
};

class UserInterface {
public:
    virtual ~UserInterface() = default;
    // Shows a message box; returns the Answer pressed.
    virtual int MessageBox(const std::string& prompt, int style, const std::string& title) = 0;
    virtual void Beep() = 0;
    // The main window's status line: shown with text, or hidden.
    virtual void SetStatus(const std::string& text, bool visible) = 0;
    // Hourglass pointer on or off.
    virtual void SetBusy(bool busy) = 0;
    // Lets the event loop run once, so status text repaints.
    virtual void DoEvents() = 0;
    // nullopt on Cancel.
    virtual std::optional<FileChoice> ChooseSaveFile(const FileRequest& request) = 0;
    virtual std::optional<FileChoice> ChooseOpenFile(const FileRequest& request) = 0;
    // The printer set-up dialog; the printer chosen serves all later printing.
    // False when the user cancelled (and where there is no dialog to show).
    virtual bool PrinterSetup(const std::string& title) { (void)title; return false; }
    // A name and password for the print server; nullopt on Cancel (and where
    // there is no dialog to show).
    virtual std::optional<Login> AskLogin(const LoginRequest& request) { (void)request; return std::nullopt; }
    // Open worksheet windows should bind their grids again (data changed underneath them).
    virtual void RefreshWorksheetWindows() = 0;
    // Every window but the main one closes: worksheet windows, dialogs and the
    // findings alike are bound to the report that is being closed.
    virtual void CloseReportWindows() {}
    // The main window back in its state without a report: this caption, the
    // welcome frame, no path label or picture, only New and Open usable.
    virtual void ShowReportClosed(const std::string& caption) { (void)caption; }
    // The open report now lives in another database object (Save As,
    // Move/ReName): every window bound to the old one binds again to Db(),
    // or closes. Until then the old object is closed, not freed.
    virtual void ReportFileReplaced() {}
    // The main window once a report is open: caption, path label, picture,
    // usage-hint timer on, welcome frame hidden.
    virtual void ShowReportOpened(const std::string& caption, const std::string& path) = 0;
    // The new-report dialog is hidden while the report is built.
    virtual void HideNewReportDialog() = 0;
    // The main window's top-level menus (Edit, Help, Report, View) on or off,
    // so that nothing else starts while the whole report is calculated.
    virtual void SetMenusEnabled(bool /*enabled*/) {}
    // Brings up the window of the edit-check findings (table Error), not modally.
    virtual void ShowEditCheckResults() {}
};

// The installed implementation. Before anything is installed a silent one
// answers every message box with its first button and every chooser with Cancel.
UserInterface& Ui();
// Installs an implementation (not owned); nullptr restores the silent one.
void InstallUi(UserInterface* ui);

// The hourglass for as long as the guard lives, also when the work fails.
class BusyPointer {
public:
    BusyPointer() { Ui().SetBusy(true); }
    ~BusyPointer() { Ui().SetBusy(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

}  // namespace vt::ui
