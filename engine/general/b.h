// Worksheet B: the trial balance of the home office's expenses, one line per
// expense cost centre (the CostCenters rows below 200) and five total lines.
#pragma once

#include <array>
#include <string>

#include "platform/value/value.h"

namespace vt {

// B's total lines, which the calculation writes and no user edits: each
// subtotal sums the lines since the one before it, the last line sums the
// subtotals. No cost centre takes one of their numbers.
inline constexpr int kBOldCapitalSubtotal = 3;    // lines 1-2
inline constexpr int kBNewCapitalSubtotal = 6;    // lines 4-5
inline constexpr int kBOtherCapitalSubtotal = 10;  // lines 7-9, the last capital line
inline constexpr int kBNonCapitalSubtotal = 36;   // lines 11-35
inline constexpr int kBTotalExpensesLine = 100;

struct BTotalLine {
    int line;
    const char* caption;  // its CCName
};
inline constexpr std::array<BTotalLine, 5> kBTotalLines = {{
    {kBOldCapitalSubtotal, "Sub-Total (Line 1-2)"},
    {kBNewCapitalSubtotal, "Sub-Total (Line 4-5)"},
    {kBOtherCapitalSubtotal, "Sub-Total (Line 7-9)"},
    {kBNonCapitalSubtotal, "Sub-Total (Line 11-35)"},
    {kBTotalExpensesLine, "Total Expenses"},
}};

bool IsBTotalLine(Currency line);
// "3,6,10,36,100", for a statement's IN(...).
std::string BTotalLineList();

// Creates, seeds and registers table B from the cost-centre list.
void Build_B();
// Adds the line of cost centre cc, just added to CostCenters, moving the later
// sub-lines of its whole line up by .01.
void Insert_CC_B(Currency& cc);
// Removes the line of cost centre cc and moves the later sub-lines of its
// whole line down by .01.
void Delete_CC_B(Currency& cc);
// Recomputes every column but the expenses of the cost-centre lines from
// B-1, B-2 Part III, C, D Part B, E, E-1, F Part I and F-1 Part I.
void Calc_B();
// Prints worksheet B: its own "B.prt" when fileNum is below 1, else into the
// caller's open file.
void Print_B(int& fileNum);

}  // namespace vt
