// Checks on a report database that every engine test can run after its work.
#pragma once

#include "platform/db/db.h"

// Every value of every Currency column of every table must be an exact
// four-decimal amount: the stored double equals the double of its rounding to
// four decimals. Arithmetic written in SQL without CCur(...) leaves values
// such as 1.0200000000000102, which later comparisons miss. Reports each
// offending value as a non-fatal gtest failure.
void ExpectAllCurrencyExact(vt::db::Database& db);
