// Worksheet B: the trial balance of the home office's expenses, one line per
// expense cost centre (the CostCenters rows below 200) and five total lines.
#pragma once

#include "platform/value/value.h"

namespace vt {

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
