// Worksheet D, the costs of services from related organizations, in three
// tables: DpA (the yes/no question), DpB (costs incurred, allowable and their
// net adjustment per expense account, with a totals row 100) and DpC (the
// related organizations).
#pragma once

namespace vt {

void Build_DpA();
void Build_DpB();
void Build_DpC();
// Totals row and net adjustments of Part B.
void Calc_DpB();
// Parts A, B and C as one print: its own "D.prt" when fileNum is below 1,
// else into the caller's open file.
void Print_D(int& fileNum);

}  // namespace vt
