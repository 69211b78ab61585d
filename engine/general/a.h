// Worksheet A: Part I (general information of the home office, table Ap1),
// Part III (the chain's health-care facilities, Ap3), Part IV (other chain
// components, Ap4) and Part V (regions and divisions, Ap5). Part II, the
// officer's certification, exists only on paper.
#pragma once

namespace vt {

// Each creates, seeds, indexes and registers its table in the open report.
// The table must not exist. Ap3, Ap4 and Ap5 feed the component rows of the
// E to H sheets: their builders empty the matching band there, so that a
// rebuilt part and the sheets agree again.
void Build_Ap1();
void Build_Ap3();
void Build_Ap4();
void Build_Ap5();

// Writes the report's facility name, provider number and fiscal-year dates
// into Info of Ap1 lines 1, 2.02, 6.01 and 6.02, where the identity lives on
// the worksheet.
void WriteAp1Identity();

// Takes each Part V line's amount of cost and equity from its line in
// worksheet H (the line total of the regional-office band). Lines that H
// does not list keep their amount.
void Calc_Ap5();

// Prints worksheet A, Parts I to V: its own "A.prt" when fileNum is below 1,
// else into the caller's open file.
void Print_A(int& fileNum);

}  // namespace vt
