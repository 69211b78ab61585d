// The one place that creates worksheet windows: which editor and viewer each
// worksheet code has, the test that its table exists, and the rebinding of
// one open window.
#pragma once

#include <functional>
#include <map>
#include <string>

namespace vt::gui {

class WorksheetWindow;

using FormFactory = std::function<WorksheetWindow*()>;

struct WorksheetWindowKind {
    std::string table;    // the table that must exist
    FormFactory editor;   // empty: no editor
    FormFactory viewer;   // empty: no viewer
};

// By worksheet code (exact case). A code missing here, or a mode whose
// factory is empty, is an unknown request.
std::map<std::string, WorksheetWindowKind>& WorksheetWindowTable();

// Loads and shows the window of that mode ("edit" in any case: the editor;
// anything else: the viewer) and code; its index in the list of loaded
// windows, or 0 when none was shown (the user has been told why).
int Load_Worksheet_Form(const std::string& mode, const std::string& code);
// The same window loaded but not yet shown, so that it is sized and placed
// before it first appears; nullptr when none was loaded (the user has been
// told why).
WorksheetWindow* LoadWorksheetFormHidden(const std::string& mode, const std::string& code);
// Shows a window loaded hidden; its index in the list of loaded windows.
int ShowLoadedWorksheetForm(WorksheetWindow* form, const std::string& mode, const std::string& code);

// SetGrd of the open window of that mode and code; nothing when none is open.
void Refresh_Worksheet_Form(const std::string& mode, const std::string& code);

}  // namespace vt::gui
