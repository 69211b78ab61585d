// The rows and columns of the chain-component sheets, written once. The
// builders, the calculations, the line and column operations, the editors and
// the viewers all read them from here; nothing else spells a total row's
// number or decides a sheet's geometry by its name.
//
// Rows (SeqNum):  0                row 0, the cost centre of each value column
//                 band 1-17.99     A Part III lines (SeqNum = LineNum)     total 18
//                 band 19-27.99    A Part IV lines (SeqNum = LineNum + 18),
//                                  row 27 being its fixed line 9          total 28
//                 band 29-32.99    A Part V lines (SeqNum = LineNum + 28)  total 33
//                 34               grand total
//                 35, 36           cost to be allocated and unit cost multiplier
//                                  (F Part II and F-1 Part II)
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/value/value.h"

namespace vt {

// A row number in hundredths of a line, as a SeqNum or LineNum.
constexpr Currency RowAt(std::int64_t hundredths) { return Currency::FromScaled(hundredths * 100); }

// The rows of one part of worksheet A in every component sheet.
struct ComponentBand {
    int part;                  // 3, 4 or 5: A Part III, IV, V
    const char* partName;      // "III", "IV", "V"
    int after;                 // the row just before the band (row 0 or the last band's total)
    std::int64_t first;        // first row, in hundredths
    std::int64_t lastUser;     // the last row a line the user adds may take, in hundredths
    int offset;                // SeqNum = LineNum + offset
    int totalRow;              // the band's total row
    const char* totalCaption;  // its Component text
    const char* groupCaption;  // the print's heading above the band
    int groupDashes;           // the width of the rule under it
};

inline constexpr std::array<ComponentBand, 3> kComponentBands = {{
    {3, "III", 0, 100, 1799, 0, 18, "Total (lines 1-17)", "Health Care Facilities:", 29},
    {4, "IV", 18, 1900, 2699, 18, 28, "Total (lines 19-27)", "Other Components:", 23},
    {5, "V", 28, 2900, 3299, 28, 33, "Total (lines 29-32)", "Regional Offices:", 23},
}};

inline constexpr int kRow0 = 0;
inline constexpr int kGrandTotalRow = 34;
inline constexpr const char* kGrandTotalCaption = "Grand Total";
// A Part IV's line 9 takes row 27 of every sheet, whether or not A has it.
inline constexpr int kFixedLineRow = 27;
inline constexpr int kFixedLine = 9;
inline constexpr const char* kFixedLineCaption = "Other Managed Facilities";
// Below the grand total in F Part II and F-1 Part II: the cost to be allocated
// (typed by the user) and the unit cost multiplier (calculated).
inline constexpr int kCostRow = 35;
inline constexpr int kUnitCostRow = 36;
inline constexpr const char* kCostRowCaption = "Cost to be Allocated";
inline constexpr const char* kUnitCostRowCaption = "Unit Cost Multiplier";
// F Part II's grand total is the statistics total (A).
inline constexpr const char* kStatisticsTotalCaption = "Total statistics (sum of lines 18, 28 and 33)  (A)";

// What each sheet's fields are. Every sheet starts SeqNum, LineNum, Component
// and, where it has one, MedicareNo.
struct ComponentSheetShape {
    const char* code;
    bool componentRows;     // follows worksheet A's lines (G Part I does not)
    bool medicareNo;        // a MedicareNo after Component
    int firstAmountField;   // the first field a new component row sets to 0
    int firstCCField;       // the first cost-centre column (-1: none)
    bool chosenColumns;     // columns chosen in the E-1 and F-1 Part II editors (F-1 Part I copies them)
    bool rowTotal;          // the last field is the row's total
    bool costRows;          // rows 35 and 36
    bool computedColumns;   // a new column's cells come from the calculation
    int ccBelow;            // headed by the list's cost centres below this (0: not so)
};

inline constexpr std::array<ComponentSheetShape, 9> kComponentSheetShapes = {{
    {"E", true, true, 4, 4, false, true, false, false, 10},
    {"E1", true, true, 4, 4, true, true, false, false, 0},
    {"Fp1", true, false, 3, 3, false, false, false, true, 6},
    {"Fp2", true, false, 3, 3, false, false, true, false, 6},
    {"F1p1", true, true, 4, 4, false, true, false, true, 0},
    {"F1p2", true, true, 4, 4, true, true, true, false, 0},
    {"Gp1", false, false, 3, 5, false, false, false, true, 0},
    {"Gp2", true, false, 3, 5, false, false, false, true, 0},
    {"H", true, true, 5, -1, false, false, false, false, 0},
}};

// The fields a sheet carries before its amounts: SeqNum, LineNum, Component
// and MedicareNo where it has one.
constexpr int LeadingFields(const ComponentSheetShape& s) { return s.medicareNo ? 4 : 3; }

// The shape of a sheet by its code (as the register spells it); throws for a
// code that is no component sheet.
const ComponentSheetShape& ShapeOf(const std::string& code);
// The band of A part 3, 4 or 5; throws for another part.
const ComponentBand& BandOfPart(int part);
// The index into kComponentBands of a row at or below the grand total: the
// band it lies in or the band it totals.
std::size_t BandIndexOf(Currency seq);
bool IsBandTotalRow(Currency seq);  // 18, 28, 33
bool IsTotalRow(Currency seq);      // 18, 28, 33, 34
// True for a row in a band (row 27 included), false for row 0, the totals and 35/36.
bool IsComponentRow(Currency seq);
// The rows a band's total sums, as BandWhere selects them.
bool BandHolds(const ComponentBand& b, Currency seq);

// SQL pieces: "SeqNum > 18 AND SeqNum < 28"; "18,28,33" (grand: ",34").
std::string BandWhere(const ComponentBand& b);
std::string TotalRowList(bool grand);
// The rows an editor of the sheet does not show: row 0, the totals and the
// calculated unit cost multipliers; "0,18,28,33,34[,36]".
std::string EditorHiddenRows(const ComponentSheetShape& s);

}  // namespace vt
