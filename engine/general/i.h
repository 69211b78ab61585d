// Worksheet I, the home office's statement of revenue and expenses: operating
// revenue less worksheet B's total expenses, plus other income, less other
// expenses. The user enters Col_1 of the input lines; Col_2 is computed.
#pragma once

namespace vt {

void Build_I();
// Col_2 of lines 2, 3, 5, 7 and 8; worksheet B must be calculated first.
void Calc_I();
// Its own "I.prt" when fileNum is below 1, else into the caller's open file.
void Print_I(int& fileNum);

}  // namespace vt
