// Worksheets F and F-1 allocate a home-office cost to the chain components by
// a statistic, in two tables matched column by column by field name: Part II
// (the statistics) holds each component's statistic, the band totals, the
// cost to be allocated (row 35) and the unit cost multiplier (row 36); Part I
// (the allocation) holds each component's share of the cost and its band
// totals. Both worksheets allocate by the same rule, written here once.
#pragma once

#include <string>
#include <vector>

namespace vt {

struct FunctionalSheet {
    std::string name;        // as the worksheet prints it: "F", "F-1"
    std::string statistics;  // Part II table
    std::string allocation;  // Part I table
};

// Names of the value fields of a table from field index `first` on, leaving
// out the last `dropLast` (F-1's total column).
std::vector<std::string> ValueFieldNames(const std::string& table, int first, int dropLast = 0);

// Part II of each column, in one transaction: the band totals of its
// statistics, then row 36 = row 35 / row 34 rounded to 6 places (0 when the
// statistics total 0), kept as the value of its standard text of up to 15
// significant digits. Whether it failed is remembered for Part I.
void CalcUnitCostMultipliers(const FunctionalSheet& sheet, const std::vector<std::string>& fields);

// Part I of each column, in one transaction, one column after the other: every
// component gets its statistic times the multiplier, rounded half up to whole
// dollars, and the rounding difference goes to one component so that the
// column allocates its cost exactly; then the band totals. A column with a
// cost but no component holding a statistic cannot be allocated: the user is
// told, its band totals are written, and the next column is calculated as
// usual. A failure of Part II's latest calculation in the open report, or a
// column whose multiplier is empty, stops it before anything is written,
// naming the sheet and why.
void AllocateColumns(const FunctionalSheet& sheet, const std::vector<std::string>& fields);

}  // namespace vt
