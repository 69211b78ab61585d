// Moving a run of lines up or down by .01 in a table whose line number is a
// unique key. A one-step UPDATE may meet a key that a row still holds and then
// drop that row's change without a word (the statements are lenient), so the
// rows are lifted clear of every other row first and brought back after.
#pragma once

#include <string>
#include <vector>

#include "platform/value/value.h"

namespace vt {

// Moves the rows of `table` that `where` selects (with `params` bound to its
// "?") by `step` in every field of `fields`; the first field is the unique
// key. Every key of the table must lie from 0 up to, not including, `offset`.
void ShiftLines(const std::string& table, const std::vector<std::string>& fields,
                 const std::string& where, const std::vector<Value>& params,
                 Currency step, Currency offset);

}  // namespace vt
