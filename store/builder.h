// How every table of a report is made. A builder (Build_<code>) describes its
// table and hands it to BuildTable, which
//   1. creates the table with its fields, in order,
//   2. runs the seed statements (leniently: a refused row is dropped),
//   3. creates the unique index, after the seed rows,
//   4. registers the table in Worksheets: a worksheet as (code, 0, display
//      name), a fixed table as (name, 999, Null), or not at all.
// A register row that exists already is dropped silently, so rebuilding a
// worksheet after its table was dropped leaves one row and says nothing.
//
// Builders handle no errors: a failing step raises db::DbError (its message
// names the table) to the caller. BuildTable opens no transaction; the caller
// runs the whole user action in one (New_CRF does; so must a rebuild).
//
// Example:
//   BuildTable("B", {CurrencyField("LineNum"), TextField("CCName", 50), CurrencyField("Expenses")},
//               {"INSERT INTO B (LineNum, CCName) SELECT LineNum, CCName FROM CostCenters WHERE CCNum < 200",
//                {"INSERT INTO B (LineNum, CCName) VALUES (100, ?)", {Value("Total")}}},
//               "CREATE UNIQUE INDEX ndx ON B (LineNum);");
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/db/db.h"
#include "platform/value/value.h"

namespace vt {

// One seed statement, with the values of its "?" placeholders. User text
// (names, numbers typed in a dialog) always goes into params.
struct Seed {
    Seed(const char* s) : sql(s) {}
    Seed(std::string s) : sql(std::move(s)) {}
    Seed(std::string s, std::vector<Value> p) : sql(std::move(s)), params(std::move(p)) {}
    std::string sql;
    std::vector<Value> params;
};

enum class Registry {
    Worksheet,  // Item = code, Calc_Lvl 0, ItemName = Get_Worksheet_Name(code)
    Fixed,      // Item = name, Calc_Lvl 999, ItemName Null
    None,
};

void BuildTable(const std::string& table, const std::vector<db::FieldDef>& fields,
                 const std::vector<Seed>& seeds = {}, const std::string& indexSql = "",
                 Registry registry = Registry::Worksheet);

// The register rows on their own, for builders that make their table another way.
void RegisterWorksheet(const std::string& code);
void RegisterFixedTable(const std::string& name);

}  // namespace vt
