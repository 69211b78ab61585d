// Worksheet B-1: reclassifications of home-office expenses, each row moving an
// amount from one cost centre to another; row 100 holds the totals.
#pragma once

namespace vt {

// Creates the table with its totals row and registers it.
void Build_B1();
// Totals the increases and decreases of the entry rows into row 100.
void Calc_B1();
// Prints worksheet B-1: its own "B1.prt" when fileNum is below 1, else into
// the caller's open file.
void Print_B1(int& fileNum);

}  // namespace vt
