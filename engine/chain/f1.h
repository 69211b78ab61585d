// Worksheet F-1: functional allocation of home-office non-capital related
// expenses, F's twin. Part II (F1p2) starts with its total column alone; the
// user adds a column per cost centre (10 up to 200). Part I (F1p1) always
// holds the same columns in the same places.
#pragma once

#include "platform/value/value.h"

namespace vt {

void Build_F1p2();
// A copy of F1p2's fields and rows 0-34, without amounts. F1p2 must exist.
void Build_F1p1();
// Calc_F1p2 first: Calc_F1p1 allocates by the multipliers it writes, and not at all
// after it failed.
void Calc_F1p2();
void Calc_F1p1();
void Print_F1(int& fileNum);

// The F-1 Part II editor's column commands, on both parts at once: the chosen
// cost centre's column goes in CCNum order before the total column, 0 in every
// row but row 0; a deleted column's later neighbours move one place left.
void AddF1Column(Currency ccnum);
// False when no cost-centre column carries the number.
bool DeleteF1Column(Currency ccnum);

// Run by the shell on every report it opens.
void FixF1p1TotalLabels();

}  // namespace vt
