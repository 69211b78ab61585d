// The chain-component sheets (E, E-1, F, F-1, G Part II, H) share one row
// layout: one row per component of worksheet A Parts III-V, fixed total rows
// between the three groups and, in all but H, a row 0 that names the cost
// centre of each value column. Everything that keeps these sheets in step with
// worksheet A and with the cost-centre list lives here, written once over the
// sheet's table name.
//
// Row bands (SeqNum):   0      row 0 (CCNum of each value column)
//                       1-17.99   A Part III lines (SeqNum = LineNum)
//                       18        total
//                       19-26.99  A Part IV lines (SeqNum = LineNum + 18)
//                       27        A Part IV's fixed line 9
//                       28        total
//                       29-32.99  A Part V lines (SeqNum = LineNum + 28)
//                       33, 34    totals; 35, 36 in Fp2 and F1p2
#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/chain/component_rows.h"
#include "platform/db/db.h"
#include "platform/value/value.h"

namespace vt {

// ---- Component lines (called by the worksheet A editors and builders) ----
// part is 3, 4 or 5 (A Part III, IV, V); line is the line number in that part.

// After the editor inserted `line` into Ap3/Ap4/Ap5: every later line of the
// band moves up by .01 and the new line gets a row with 0 in its value fields.
void Insert_Component_Line(Currency line, int part);
// After the editor deleted `line`: its row goes and the later lines move down by .01.
void Delete_Component_Line(Currency line, int part);
// Writes one field of one component row; a blank value is stored as Null.
void Set_Component_Field(const std::string& sheet, Currency line, int part,
                         const std::string& field, const std::string& value);
// Set_Component_Field on every component sheet that has the field.
void Propagate_Component_Field(Currency line, int part, const std::string& field,
                               const std::string& value);
// Empties a band in every component sheet (a rebuilt A part starts empty).
void Clear_Component_Band(int part);
// Tidies the rows of one A Part III line after its period start changed.
void Sync_Component_Line(const std::string& sheet, Currency line, bool startsBeforeYear);

// ---- Cost-centre columns ----

// The column of a cost centre added to the list (E, Fp1, Fp2, Gp1, Gp2), at
// its place in CCNum order; an existing number pushes its group up by .01.
void Add_CC_Column(const std::string& sheet, Currency ccnum);
// The column of a cost centre deleted from the list; the later numbers of its
// group come down by .01. A number no column carries is reported.
void Delete_CC_Column(const std::string& sheet, Currency ccnum);
// The E-1 and F-1 editors' columns (E1, F1p2, F1p1): the chosen cost centre's
// column goes in CCNum order before the total column, 0 in every row but row 0.
void AddChosenCCColumn(const std::string& sheet, Currency ccnum);
// Removes such a column; false when no cost-centre column carries the number.
bool DeleteChosenCCColumn(const std::string& sheet, Currency ccnum);
// Gives `sheet` the cost-centre columns that `model` has (F1p1 follows F1p2).
void MatchChosenCCColumns(const std::string& sheet, const std::string& model);

// ---- Checks and repair ----

// Checks one component sheet against worksheet A and, when it is out of step,
// repairs it with its builder. True when it passed. (The whole report's check
// walks every component sheet with its builder.)
bool Check_Component_Sheet(const std::string& sheet, void (*build)());
// Keeps the damaged table as "Bad_<sheet>", builds the sheet afresh and copies
// the old values back line by line. All or nothing.
void Repair_Component_Sheet(const std::string& sheet, void (*build)(), const std::string& reason);

// ---- Reading ----

// Sheet and field names come from the register and from code, never from the
// user; they still go into statements as names, so nothing but a plain name
// passes: anything else raises DbError.
const std::string& PlainName(const std::string& name);

// "SELECT <each field by name> FROM <sheet> <tail>". Sheets change their
// fields while the report is open; a statement that names them follows the
// current layout, where a prepared "SELECT *" kept from before may not.
std::string SelectSheet(const std::string& sheet, const std::string& tail);

// ---- Total rows ----

// Rows 28 and 33 get the captions the builders give them, so that reports
// made by earlier versions read the same; run on every report opened.
void FixBandTotalLabels(const std::string& sheet);

// ---- Building ----

// What a component sheet's builder needs to say; the rows follow worksheet A.
struct ComponentSheetLayout {
    std::string table;
    std::string index;               // name of the unique index on SeqNum
    bool medicareNo = true;          // a MedicareNo field after Component
    bool zeroLengthText = true;      // Component and MedicareNo accept ""
    db::FieldType valueType = db::FieldType::Currency;
    std::vector<Value> row0;         // one entry per value column
    Value componentValue;            // value columns of component rows at creation (0 or Null)
    // Row 34's Component; the field is made wide enough to hold it whole,
    // while a component's name (from worksheet A) keeps to 40 characters.
    const char* grandTotalCaption = kGrandTotalCaption;
};

// Creates the table, its index and rows 0-34 from Ap3, Ap4, Ap5 and registers
// the sheet. Component names and Medicare numbers are bound, never spliced.
void BuildComponentSheet(const ComponentSheetLayout& layout);

}  // namespace vt
