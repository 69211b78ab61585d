// Worksheet J, the home office's balance sheet: one line per balance-sheet
// account (the CostCenters rows above 200, line = account - 200) and ten
// total lines.
#pragma once

#include "platform/value/value.h"

namespace vt {

void Build_J();
// Adds the line of account n, just added to CostCenters, moving the later
// sub-accounts of its whole number up by .01. When the account's line is a
// total line of the sheet, nothing is added and the user is told.
void Insert_CC_J(Currency& n);
// Removes the line of account n and moves the later sub-accounts of its whole
// number down by .01.
void Delete_CC_J(Currency& n);
// The ten total lines.
void Calc_J();
// Portrait; its own "J.prt" when fileNum is below 1, else into the caller's
// open file.
void Print_J(int& fileNum);

}  // namespace vt
