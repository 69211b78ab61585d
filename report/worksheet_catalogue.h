// The worksheets of a report, one entry per worksheet table in the order of
// the form. Whatever lists worksheets reads them here: building a new report,
// the whole-report calculation and print, the component-sheet check, the
// rebuild and selective-print windows, the main window's menus, next and
// previous, and the window loader (whose windows add their editor and viewer
// on the window side).
#pragma once

#include <string>
#include <vector>

namespace vt {

struct Worksheet {
    const char* code;       // its table, its key in Worksheets, "frmEdit"/"frmView" + code
    const char* title;      // as menus and the status line name it: "B-2 Part I"
    const char* printCode;  // the sheet print that holds it: "B2" (Print_B2, "B2.prt")
    void (*build)();
    void (*print)(int& fileNum);
    void (*calc)() = nullptr;
    int calcStep = 0;                  // its place in the whole-report calculation; 0: none
    bool editor = true;                // F Part I, F-1 Part I and H are only viewed
    bool componentSheet = false;       // one row per component of worksheet A
    bool refreshesWindows = false;     // its builder empties rows other sheets' windows show
    const char* builtFrom = nullptr;   // a copy of that sheet, built again right after it
};
// A worksheet's display name (Worksheets.ItemName, the order next and previous
// walk) is made from its code by Get_Worksheet_Name, as its register row is.

// Every worksheet, in the order of the form.
const std::vector<Worksheet>& WorksheetCatalogue();
// The entry of that code (exact case), or nullptr.
const Worksheet* FindWorksheet(const std::string& code);
// The sheet followed by the sheets built as copies of it (F-1 Part II, then
// Part I): what a build or rebuild of it makes.
std::vector<const Worksheet*> BuiltTogether(const Worksheet& sheet);

// The first worksheet of each sheet print, in the form's order.
std::vector<const Worksheet*> SheetPrints();
// The name a sheet print goes by: "B-2" for "B2".
std::string SheetPrintName(const std::string& printCode);

// The order a new report is built in: the form's, each copy right after its source.
std::vector<const Worksheet*> BuildOrder();
// The worksheets that have a calculation, each after the sheets it reads.
std::vector<const Worksheet*> CalculationOrder();

}  // namespace vt
