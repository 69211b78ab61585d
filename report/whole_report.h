// The operations that reach every worksheet of the report, above the
// worksheet engines: building the worksheet tables of a new report, checking
// the component sheets, printing the whole report or chosen sheet prints,
// and rebuilding one worksheet.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "store/new_crf.h"

namespace vt {

// Every worksheet table of a new report, in build order, yielding to the event
// loop after each sheet print's tables (New_CRF runs it after the fixed tables).
void BuildWorksheetTables();
// New_CRF with every worksheet table.
bool NewReport(const NewCrfEntries& entries, const std::string& startFolder = "");

// Checks every component sheet against worksheet A, repairing (and reporting)
// each one out of step. True when all passed.
bool Check_Component_Sheets();

// The whole report into "<provider number>.PRT", then printed. A failure is
// told to the user, never raised; the file is closed and the pointer restored.
void Print_All();

// Prints the sheet prints of these codes ("B2", "G"), in the order given,
// each into its own file sent to the printer (all into one when a file is
// chosen for every print). Meanwhile every message goes into table Error
// (made when missing), a sheet that fails among them; the next sheet still
// prints. Messages are shown again afterwards, whatever happened; the
// closing one names the sheets that were not printed. Codes of no sheet
// print print nothing.
void PrintWorksheets(const std::vector<std::string>& printCodes);

// True while one of the prints above runs; another started meanwhile (from an
// event let in while printing) returns at once.
bool Printing();

enum class RebuildResult {
    Rebuilt,     // the table is new, with its seed rows (and its copies with it)
    NotDropped,  // the old table could not be dropped; nothing changed
    Failed,      // the builder failed; the old table and its rows are back
};

// Drops the worksheet's table and builds it afresh, with the sheets that are
// copies of it, in one transaction; tells the user the outcome. Windows
// showing the table must be closed first. A missing table is simply built.
RebuildResult RebuildWorksheet(const std::string& code);

// Tests only: runs after each builder of a rebuild, inside its transaction,
// with the code just built; whatever it throws fails the rebuild.
std::function<void(const std::string& code)>& RebuildTestHook();

}  // namespace vt
