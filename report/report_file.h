// The Report File commands on the report as a whole: New, Open, Close,
// Save As and Move/ReName, with the fix-ups every opened report gets and the
// per-user memory of the last report folder. The main window calls these and
// draws its two states from the ui hooks they call (ShowReportOpened,
// ShowReportClosed); no window code lives here.
#pragma once

#include <string>

#include "platform/ui/ui.h"
#include "report/identity_checks.h"
#include "store/new_crf.h"

namespace vt {

inline constexpr const char* kCrfFilter = "Cost Report Files (*.CRF)|*.CRF";

// The program's own folder (where the executable lies).
std::string ProgramFolder();
// The folder the file choosers start in: the folder of the last report
// opened ("Vantrel 287"/"Startup"/"CRFLoc"), or the program's own folder.
std::string CRFStartFolder();

// Where the save choosers (New, Save As, Move) start: the open report's
// folder, else the folder of the last report opened, else the program's own
// folder where the user may write there, and the home folder where not.
std::string CRFDialogFolder();

// What the report commands ask of a file chooser (".CRF", the CRF filter;
// save choosers confirm an overwrite and start in CRFDialogFolder(), Open
// in CRFStartFolder()), optionally proposing "*.CRF" in that folder.
ui::FileRequest CRFFileRequest(const std::string& title, bool save, bool fromLastFolder);

// Close: every other window closes, the report is closed and the main window
// goes back to its state without a report. Harmless with nothing open.
void CloseCRF();

// frmCreateNewCRF's Create: the provider box's leave rule, every identity
// check (the boxes are rewritten in place), then New_CRF. `created` tells
// whether the new report is open; otherwise `refused` names the box to go
// back to, or is None when the file chooser was cancelled or the build failed
// (New_CRF has told the user).
struct CreateResult {
    bool created = false;
    IdentityField refused = IdentityField::None;
};
CreateResult CreateNewCRF(NewCrfEntries& entries);

// Open: closes the open report, asks for a file and opens it, refusing a
// file of another form or a fiscal year ending too early, and telling the
// user when the file is no report. True when a report is open afterwards;
// on false none is.
bool OpenCRF();

// Save As: the open report copied to a file the user names, which then is
// the open report (the report's folder for print files stays the one it was
// opened from). False when cancelled or failed (told); the old file stays open.
bool SaveCRFAs();
// Save As once the file is named (also the provider dialog's Save As).
bool SaveCRFTo(const ui::FileChoice& target);

// Move/ReName: the open report's file moved to a name the user gives, which
// must not exist yet. False when cancelled or failed (told); the report is
// open afterwards either way.
bool MoveCRF();

// The fix-ups of an opened report, in the order Open runs them. Each leaves
// alone a report that lacks its table.
void AddInterestIncomeCC();
void FixOpenedReport();

}  // namespace vt
