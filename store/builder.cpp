#include "store/builder.h"

#include "store/report.h"
#include "store/services.h"

namespace vt {

void RegisterWorksheet(const std::string& code) {
    Db().Execute("INSERT INTO Worksheets (Item, Calc_Lvl, ItemName) VALUES (?, 0, ?)",
                 {Value(code), Value(Get_Worksheet_Name(code))});
}

void RegisterFixedTable(const std::string& name) {
    Db().Execute("INSERT INTO Worksheets (Item, Calc_Lvl, ItemName) VALUES (?, 999, Null)", {Value(name)});
}

void BuildTable(const std::string& table, const std::vector<db::FieldDef>& fields,
                 const std::vector<Seed>& seeds, const std::string& indexSql, Registry registry) {
    auto& db = Db();
    try {
        db.CreateTable(table, fields);
        for (const auto& seed : seeds) db.Execute(seed.sql, seed.params);
        if (!indexSql.empty()) db.Execute(indexSql);
    } catch (const db::DbError& e) {
        // Whoever reports this must be able to say which table failed.
        throw db::DbError("Table " + table + ": " + e.what(), e.Code());
    }
    switch (registry) {
    case Registry::Worksheet: RegisterWorksheet(table); break;
    case Registry::Fixed: RegisterFixedTable(table); break;
    case Registry::None: break;
    }
}

}  // namespace vt
