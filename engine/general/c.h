// Worksheet C: the Medicare adjustments to home-office expenses, one line per
// kind of adjustment with the cost centre it adjusts; line 15 comes from
// worksheet D Part B and line 28 is the total.
#pragma once

namespace vt {

// The lines the calculation writes: the related organisations' adjustment,
// from D Part B, and the total of every line above it.
inline constexpr int kCRelatedOrganizationsLine = 15;
inline constexpr int kCTotalLine = 28;

// Creates the table with its fixed adjustment lines and registers it.
void Build_C();
// Line 15 from D Part B's totals row, then the total line 28.
void Calc_C();
// Prints worksheet C: its own "C.prt" when fileNum is below 1, else into the
// caller's open file.
void Print_C(int& fileNum);

}  // namespace vt
