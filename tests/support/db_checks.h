// Reading and checking a report database in the tests.
#pragma once

#include <functional>
#include <optional>
#include <map>
#include <string>
#include <vector>

#include "platform/db/db.h"

namespace vt::test {

using Table = std::vector<std::vector<std::string>>;

// The rows of a SELECT on the open report as text, Null as "Null", so that a
// failed comparison shows them.
Table Rows(const std::string& sql, const std::vector<Value>& params = {});

// A table's fields, a text each: "Name Type size", " zero-length" where "" is
// accepted; so that two layouts compare in one line and a difference shows.
std::vector<std::string> Layout(const std::vector<db::FieldDef>& fields);

// What a step raised as an amount past the limit the file keeps exactly;
// nullopt, and a test failure, when it raised nothing.
std::optional<db::AmountOverflow> OverflowOf(const std::function<void()>& step);
// Every table of the open report with its fields and its rows, in an order of
// their own: equal before and after means nothing changed.
std::map<std::string, Table> All_Tables();

}  // namespace vt::test

// Every value of every Currency column of every table must be an exact
// four-decimal amount: the stored double equals the double of its rounding to
// four decimals. Arithmetic written in SQL without CCur(...) leaves values
// such as 1.0200000000000102, which later comparisons miss. Reports each
// offending value as a non-fatal gtest failure.
void ExpectAllCurrencyExact(vt::db::Database& db);
