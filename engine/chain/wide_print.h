// The print of a component sheet with more value columns than a landscape page
// holds: the columns go in blocks of at most nine, and each block of a group of
// rows gets a page of its own (group 1 block 1, group 1 block 2, group 2 block 1 ...).
#pragma once

#include <string>
#include <vector>

#include "platform/db/db.h"
#include "platform/value/value.h"
#include "print/print.h"

namespace vt {

struct WideColumn {
    Currency ccnum;      // whose labels head the column
    bool total = false;  // the row total: no labels, "Total" on the third heading line
    std::string number;  // the column number printed under the labels
};

struct WideSheetLayout {
    std::string title;
    bool medicareNo = false;  // "Medicare No." heading and the MedicareNo field at column 51
    int labelCol = 61;        // labels, rules and dashes of the block's first column
    int valueCol = 59;        // amounts of the block's first column (13 wide)
    int numberCol = 66;       // the column numbers centre on numberCol + 1
    int firstValueField = 4;  // field index of the first value column
    std::vector<WideColumn> columns;
};

// A line of eleven dashes over each of `count` columns, the first at column
// `at`, the others 13 apart.
void PrintColumnRule(print::SheetPrint& sp, int at, int count);
// What every component sheet prints before the row of SeqNum seq: the group
// captions before rows 1, 19 and 29, the column rule before the band totals
// 18, 28 and 33, an empty line before the grand total 34.
void PrintGroupLines(print::SheetPrint& sp, Currency seq, int at, int count);

// One label line of a block's cost-centre columns: each label (one of a cost
// centre's three, untrimmed text) at its column's place, centred in 11
// characters. A label may hold 16 characters while the columns are 13 apart,
// so one wider than its column (13, or 12 where the next column's text starts
// at once, and never past the page's right edge) is wrapped within it, and
// the label line becomes as many lines as its longest label needs; the
// `fixed` items (the captions beside the labels) go on the first of them.
print::Heading LabelLines(print::HeadingLine fixed, const std::vector<print::HeadingItem>& labels);

// Prints the rows of rs from its current row to its end (row 0 already read by
// the caller) as pages of the sheet print sp.
void PrintWideSheet(print::SheetPrint& sp, const WideSheetLayout& layout, db::Recordset& rs);

}  // namespace vt
