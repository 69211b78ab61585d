// Worksheet F: functional allocation of home-office capital costs to the
// chain's components by a statistic. Part II (Fp2) holds the statistics, the
// cost to be allocated and the unit cost multiplier of each capital cost
// centre (below 6); Part I (Fp1) the cost allocated to each component.
#pragma once

namespace vt {

void Build_Fp1();
void Build_Fp2();
// Calc_Fp2 first: Calc_Fp1 allocates by the multipliers it writes, and not at all
// after it failed.
void Calc_Fp2();
void Calc_Fp1();
void Print_F(int& fileNum);

}  // namespace vt
