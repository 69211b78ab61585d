#include "tests/support/db_checks.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "store/report.h"

namespace {

std::string Quote(const std::string& name) {
    std::string q = "\"";
    for (char c : name) {
        if (c == '"') q += '"';
        q += c;
    }
    return q + '"';
}

std::string Exact17(double d) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", d);
    return buf;
}

}  // namespace

namespace vt::test {

std::vector<std::string> Layout(const std::vector<db::FieldDef>& fields) {
    static const char* const kTypes[] = {"Text", "Integer", "Long", "Currency", "Double", "Date", "Memo", "YesNo"};
    std::vector<std::string> out;
    for (const auto& f : fields)
        out.push_back(f.name + " " + kTypes[static_cast<int>(f.type)] + " " + std::to_string(f.size) +
                      (f.allowZeroLength ? " zero-length" : ""));
    return out;
}

Table Rows(const std::string& sql, const std::vector<Value>& params) {
    Table rows;
    for (auto rs = Db().OpenRecordset(sql, params); !rs.Eof(); rs.MoveNext()) {
        auto& row = rows.emplace_back();
        for (int i = 0; i < rs.FieldCount(); ++i) row.push_back(rs.Field(i).IsNull() ? "Null" : rs.Field(i).ToText());
    }
    return rows;
}

std::optional<db::AmountOverflow> OverflowOf(const std::function<void()>& step) {
    try {
        step();
    } catch (const db::AmountOverflow& e) {
        return e;
    }
    ADD_FAILURE() << "no overflow";
    return std::nullopt;
}

std::map<std::string, Table> All_Tables() {
    std::map<std::string, Table> all;
    for (const auto& t : Db().TableNames()) {
        Table rows = Rows("SELECT * FROM " + t + ";");
        std::sort(rows.begin(), rows.end());
        for (const auto& f : Db().Fields(t)) rows.push_back({"field", f.name});
        all[t] = rows;
    }
    return all;
}

}  // namespace vt::test

void ExpectAllCurrencyExact(vt::db::Database& db) {
    for (const auto& table : db.TableNames()) {
        for (const auto& field : db.Fields(table)) {
            if (field.type != vt::db::FieldType::Currency) continue;
            // Read the stored doubles directly: the layer itself would round them.
            const std::string sql = "SELECT rowid, typeof(" + Quote(field.name) + "), " + Quote(field.name) +
                                    " FROM " + Quote(table) + " WHERE " + Quote(field.name) + " IS NOT NULL";
            sqlite3_stmt* st = nullptr;
            if (sqlite3_prepare_v2(db.Handle(), sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
                ADD_FAILURE() << "cannot read " << table << "." << field.name << ": " << sqlite3_errmsg(db.Handle());
                continue;
            }
            while (sqlite3_step(st) == SQLITE_ROW) {
                const std::string kind = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
                const double d = sqlite3_column_double(st, 2);
                bool exact = kind == "integer" || kind == "real";
                if (kind == "real") {
                    try {
                        exact = vt::Currency::FromDouble(d).ToDouble() == d;
                    } catch (const vt::TypeMismatch&) {
                        exact = false;
                    }
                }
                EXPECT_TRUE(exact) << table << "." << field.name << " (rowid " << sqlite3_column_int64(st, 0)
                                   << ") holds " << (kind == "real" ? Exact17(d) : kind)
                                   << ", not an exact four-decimal amount";
            }
            sqlite3_finalize(st);
        }
    }
}
