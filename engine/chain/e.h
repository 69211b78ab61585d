// Worksheet E: direct allocation of home-office capital costs to the chain's
// components, one column per capital cost centre (below 10) and a total.
#pragma once

namespace vt {

void Build_E();
void Calc_E();
void Print_E(int& fileNum);
// Run by the shell on every report it opens.
void FixETotalLabels();

}  // namespace vt
