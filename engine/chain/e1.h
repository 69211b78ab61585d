// Worksheet E-1: direct allocation of home-office non-capital costs. It starts
// with its total column alone; the user adds a column per cost centre.
#pragma once

namespace vt {

void Build_E1();
void Calc_E1();
void Print_E1(int& fileNum);

}  // namespace vt
