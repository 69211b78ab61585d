// Worksheet H: per chain component, the home-office costs allocated to it
// directly (E, E-1), functionally (F Part I, F-1 Part I) and by pooling
// (G Part II), in an old-capital, a new-capital, an other-capital and a
// non-capital block and a block of all costs. Its twenty columns Col_1 to
// Col_20 have fixed meanings; the sheet has no row 0.
#pragma once

namespace vt {

// Creates, seeds, indexes and registers table H; the table must not exist.
void Build_H();
// Gathers the five sheets per component into H's columns and forms the block
// and band totals; line 34's overall total is B's total net expenses. Stops
// with a message where a sheet's component lines and H's part ways.
void Calc_H();
// Prints H in three passes of columns (1-8, 9-16, 17-20): its own "H.prt"
// when fileNum is below 1, else into the caller's open file.
void Print_H(int& fileNum);

}  // namespace vt
