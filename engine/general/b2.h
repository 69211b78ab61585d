// Worksheet B-2: the home office's capital assets. Part I (old capital, table
// B2p1) and Part II (new capital, B2p2) roll each asset class from its
// beginning to its ending balance; Part III (B2p3) spreads the capital-related
// insurance, taxes and other costs over the four capital cost centres by their
// gross assets and totals each centre's capital-related costs.
#pragma once

namespace vt {

// Each creates, seeds, indexes and registers its table in the open report.
// The table must not exist.
void Build_B2p1();
void Build_B2p2();
void Build_B2p3();

// Acquisitions and ending balance of every asset row, then the subtotal
// (row 7) and the total net of the reconciling items (row 9) of each column.
void Calc_B2p1();
void Calc_B2p2();

// Ratios of the gross assets, the allocation of row 5's amounts in whole
// dollars with the rounding remainder handed out a dollar at a time, and the
// totals of both halves of the sheet.
void Calc_B2p3();

// Prints worksheet B-2 on two landscape pages: its own "B2.prt" when fileNum
// is below 1, else into the caller's open file.
void Print_B2(int& fileNum);

}  // namespace vt
