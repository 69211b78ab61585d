// Worksheet G: the allocation of the home office's pooled costs. Part I (table
// Gp1) divides the pooled cost of each cost centre between health-care
// facilities, other components and the cost requiring overhead allocation;
// Part II (table Gp2, a component sheet) carries those three amounts down to
// the components of worksheet A Parts III, IV and V.
//
// Both tables have the fields SeqNum, LineNum, Component, TotalCost, Ratio and
// then one value column per cost centre below 6, one Non-Capital column (row-0
// value 0) for every other pooled cost, and one per interest cost centre
// (30 up to 32), in that order.
#pragma once

#include <string>

#include "platform/value/value.h"

namespace vt {

// The form's number of the value column whose row-0 cost centre is cc (not the
// Non-Capital column, whose row-0 value is 0): below 4 one more, from 30 on 23
// less, else the number itself ("2.01", "7").
std::string GColumnNumber(Currency cc);

// Create, seed, index and register their tables; the table must not exist.
void Build_Gp1();
void Build_Gp2();

// Recalculate from worksheet B's pooled costs (Gp1, and Gp2 when Part I has
// no total cost) and the total costs the user entered.
void Calc_Gp1();
void Calc_Gp2();

// Prints Parts I and II: its own "G.prt" when fileNum is below 1, else into
// the caller's open file.
void Print_G(int& fileNum);

}  // namespace vt
