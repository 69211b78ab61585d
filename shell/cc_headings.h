// Headings of grid columns that stand for cost centres, shared by the editors
// and viewers of the component sheets: the cost centre's number in its
// shortest form over its three column labels joined by single blanks (an
// empty label keeps its blank).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/value/value.h"
#include "shell/headings.h"

namespace vt::gui {

// The cells of a component sheet's row 0; none when it has no row 0.
std::vector<Value> SheetRow0(const std::string& sheet);

// The cost centres below `below`, in number order (E and F head their value
// columns by this order, whatever row 0 holds).
std::vector<ColHeading> CCHeadingsInListOrder(double below);

// For each field of the sheet from `first` to the one before the last (E-1 and
// F-1, whose last field is the total): the expense cost centre its row-0 cell
// names; none where the cell is empty or the number is not in the list.
std::vector<std::optional<ColHeading>> CCHeadingsByRow0(const std::string& sheet, size_t first);

// The headings of those columns (entries from `first`) as E-1's and F-1's
// windows show them: each by its cost centre; a column whose cost centre is
// not found keeps the heading that the window gave it before.
void HeadColumnsByRow0(std::vector<ColHeading>& headings, const std::string& sheet, size_t first);

}  // namespace vt::gui
