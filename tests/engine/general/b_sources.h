// The sheets that worksheet B reads, for B's tests: the tables of the report
// when their builders made them, else minimal tables of the same layout (the
// fixed fields, row 0 naming each value column's cost centre, the rows B
// reads), and the column edits that the cost-centre editor and the E-1 and
// F-1 editors make, done generically by row 0 so either kind of table takes them.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/general/b.h"
#include "engine/general/b1.h"
#include "platform/db/db.h"
#include "platform/value/value.h"
#include "print/print.h"
#include "store/report.h"
#include "tests/support/crf_fixture.h"

namespace vt::test {

inline Value Cur(double d) { return Value(Currency::FromDouble(d)); }

inline std::string Text(const Value& v) { return v.IsNull() ? "Null" : v.ToText(); }

// The rows of a SELECT as text, Null as "Null": readable in a failed comparison.
inline std::vector<std::vector<std::string>> Rows(const std::string& sql, const std::vector<Value>& params = {}) {
    std::vector<std::vector<std::string>> rows;
    db::Recordset rs = Db().OpenRecordset(sql, params);
    for (; !rs.Eof(); rs.MoveNext()) {
        std::vector<std::string> row;
        for (int i = 0; i < rs.FieldCount(); ++i) row.push_back(Text(rs.Field(i)));
        rows.push_back(row);
    }
    return rows;
}

// Value columns of a component sheet start after its fixed fields.
inline int FirstValueField(const std::string& table) {
    const auto fields = Db().Fields(table);
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].name.rfind("Col_", 0) == 0) return static_cast<int>(i);
    return static_cast<int>(fields.size());
}

inline int ValueColumnCount(const std::string& table) {
    return static_cast<int>(Db().Fields(table).size()) - FirstValueField(table);
}

// The Col_ field whose row-0 value is cc; "" when no column names it.
inline std::string ColumnOf(const std::string& table, Currency cc) {
    db::Recordset row0 = Db().OpenRecordset("SELECT * FROM " + table + " WHERE SeqNum = 0;");
    if (row0.Eof()) return "";
    for (int i = FirstValueField(table); i < row0.FieldCount(); ++i) {
        const Value v = row0.Field(i);
        if (!v.IsNull() && v.ToCurrency() == cc) return row0.FieldName(i);
    }
    return "";
}

// A component sheet with row 0 naming its columns and the total rows.
inline void MakeComponentSheet(const std::string& table, bool medicareNo, const std::vector<Value>& rowZero) {
    auto& db = Db();
    std::vector<db::FieldDef> fields = {db::CurrencyField("SeqNum"), db::CurrencyField("LineNum"),
                                        db::TextField("Component", 40, true)};
    if (medicareNo) fields.push_back(db::TextField("MedicareNo", 7, true));
    for (size_t i = 1; i <= rowZero.size(); ++i) fields.push_back(db::CurrencyField("Col_" + std::to_string(i)));
    db.CreateTable(table, fields);
    db.Execute("INSERT INTO " + table + " (SeqNum, LineNum) VALUES (0, 0);");
    for (int seq : {18, 28, 33, 34})
        db.Execute("INSERT INTO " + table + " (SeqNum, LineNum, Component) VALUES (?, 0, 'Total');", {Value(seq)});
    for (size_t i = 0; i < rowZero.size(); ++i) {
        const std::string col = "Col_" + std::to_string(i + 1);
        db.Execute("UPDATE " + table + " SET " + col + " = ? WHERE SeqNum = 0;", {rowZero[i]});
        db.Execute("UPDATE " + table + " SET " + col + " = 0 WHERE SeqNum > 0;");
    }
}

inline std::vector<Value> CostCentresBelow(int limit) {
    std::vector<Value> list;
    db::Recordset rs = Db().OpenRecordset("SELECT CCNum FROM CostCenters WHERE CCNum < ? ORDER BY CCNum;",
                                          {Value(limit)});
    for (; !rs.Eof(); rs.MoveNext()) list.push_back(rs["CCNum"]);
    return list;
}

// Every sheet B reads, as the report's own builders made it or else minimal.
inline void EnsureSourceSheets() {
    auto& db = Db();
    if (!db.TableExists("B2p3")) {
        db.CreateTable("B2p3", {db::CurrencyField("SeqNum"), db::TextField("Description", 40, true),
                                db::CurrencyField("GrossAssets"), db::CurrencyField("CapLeases"),
                                db::CurrencyField("RatioAssets"), db::DoubleField("Ratio"),
                                db::CurrencyField("Insurance"), db::CurrencyField("Taxes"),
                                db::CurrencyField("CapRelated"), db::CurrencyField("Total1"),
                                db::CurrencyField("Depreciation"), db::CurrencyField("Lease"),
                                db::CurrencyField("Interest"), db::CurrencyField("Insurance2"),
                                db::CurrencyField("Taxes2"), db::CurrencyField("CapRelated2"),
                                db::CurrencyField("Total2")});
        for (const char* seq : {"1", "1.01", "2", "2.01", "3", "3.01", "4", "4.01"})
            db.Execute(std::string("INSERT INTO B2p3 (SeqNum,GrossAssets,CapLeases,Depreciation,Lease,Interest) "
                                   "VALUES (") + seq + ",0,0,0,0,0);");
        db.Execute("INSERT INTO B2p3 (SeqNum,Description,Insurance,Taxes,CapRelated) VALUES (5,'Total',0,0,0);");
    }
    if (!db.TableExists("DpB")) {
        db.CreateTable("DpB", {db::CurrencyField("SeqNum"), db::CurrencyField("LineNum"),
                               db::TextField("ExpAcct", 40, true), db::CurrencyField("Amount"),
                               db::CurrencyField("AmtAllowable"), db::CurrencyField("NetAdj")});
        db.Execute("INSERT INTO DpB (SeqNum,ExpAcct,Amount,AmtAllowable,NetAdj) VALUES (100,'TOTALS',0,0,0);");
    }
    if (!db.TableExists("E")) {
        std::vector<Value> cols = CostCentresBelow(10);
        cols.push_back(Value(999));
        MakeComponentSheet("E", true, cols);
    }
    if (!db.TableExists("Fp1")) MakeComponentSheet("Fp1", false, CostCentresBelow(6));
    if (!db.TableExists("E1")) MakeComponentSheet("E1", true, {Value::Null()});
    if (!db.TableExists("F1p1")) MakeComponentSheet("F1p1", true, {Value::Null()});
}

// The E-1 / F-1 editors' Add Column: a column for cc placed before the total
// column (callers add in ascending order), 0 in every row but row 0.
inline void AddColumnBeforeTotal(const std::string& table, Currency cc) {
    auto& db = Db();
    const int n = ValueColumnCount(table);
    const std::string total = "Col_" + std::to_string(n);
    const std::string added = "Col_" + std::to_string(n + 1);
    db.AppendField(table, db::CurrencyField(added));
    db.Execute("UPDATE " + table + " SET " + added + " = " + total + ";");
    db.Execute("UPDATE " + table + " SET " + total + " = ? WHERE SeqNum = 0;", {Value(cc)});
    db.Execute("UPDATE " + table + " SET " + total + " = 0 WHERE SeqNum > 0;");
}

// The cost-centre editor's Delete_CC_Column: later columns move one left, the
// last field goes, and the later numbers of the group go down by .01 in row 0.
inline void RemoveColumn(const std::string& table, Currency cc) {
    auto& db = Db();
    const std::string col = ColumnOf(table, cc);
    ASSERT_FALSE(col.empty()) << table << " has no column " << cc.ToText();
    const int k = std::stoi(col.substr(4));
    const int n = ValueColumnCount(table);
    const Value groupFrom(cc.Floor()), groupTo(cc.Floor() + Currency::FromInt(1));
    for (int i = k; i < n; ++i) {
        const std::string here = "Col_" + std::to_string(i);
        db.Execute("UPDATE " + table + " SET " + here + " = Col_" + std::to_string(i + 1) + ";");
        db.Execute("UPDATE " + table + " SET " + here + " = CCur(" + here + " - 0.01) WHERE SeqNum = 0 AND " + here +
                       " >= ? AND " + here + " < ?;",
                   {groupFrom, groupTo});
    }
    db.DropField(table, "Col_" + std::to_string(n));
}

// The cost-centre editor's Add and Delete below 200, as far as the list and
// worksheet B go: the list is renumbered by its own offsets and the row added
// or removed before B is told.
inline void AddCostCentre(Currency cc, const std::string& name) {
    const Value from(cc), to(cc.Floor() + Currency::FromInt(1));
    Db().Execute("UPDATE CostCenters SET LineNum = CCur(LineNum+10000.01), CCNum = CCur(CCNum+10000.01) "
                 "WHERE (CCNum>=? And CCNum<?);", {from, to});
    Db().Execute("UPDATE CostCenters SET LineNum = CCur(LineNum-10000), CCNum = CCur(CCNum-10000) "
                 "WHERE (CCNum>=10000);");
    Db().Execute("INSERT INTO CostCenters (LineNum, CCNum, CCName) VALUES (?, ?, ?);", {from, from, Value(name)});
    Insert_CC_B(cc);
}

inline void DeleteCostCentre(Currency cc) {
    const Value from(cc), to(cc.Floor() + Currency::FromInt(1));
    Db().Execute("DELETE FROM CostCenters WHERE CCNum = ?;", {from});
    Db().Execute("UPDATE CostCenters SET LineNum = CCur(LineNum+1000), CCNum = CCur(CCNum+1000) "
                 "WHERE CCNum > ? And CCNum < ?;", {from, to});
    Db().Execute("UPDATE CostCenters SET LineNum = CCur(LineNum-1000.01), CCNum = CCur(CCNum-1000.01) "
                 "WHERE CCNum > 1000;");
    Delete_CC_B(cc);
}

// Writes the grand-total row (34) of the column that allocates cc.
inline void SetGrandTotal(const std::string& table, Currency cc, const Value& amount) {
    const std::string col = ColumnOf(table, cc);
    ASSERT_FALSE(col.empty()) << table << " has no column " << cc.ToText();
    Db().Execute("UPDATE " + table + " SET " + col + " = ? WHERE SeqNum = 34;", {amount});
}

inline Currency CC(double d) { return Currency::FromDouble(d); }

inline void SetExpenses(double line, double amount) {
    Db().Execute("UPDATE B SET Expenses = ? WHERE LineNum = ?;", {Cur(amount), Cur(line)});
}

// What the cost-centre editor does when it deletes a cost centre below 200:
// the list, B's line and, below 10, E's column (below 6 also F Part I's).
inline void DeleteCostCentreEverywhere(double number) {
    const Currency cc = CC(number);
    DeleteCostCentre(cc);
    if (cc < Currency::FromInt(10)) RemoveColumn("E", cc);
    if (cc < Currency::FromInt(6)) RemoveColumn("Fp1", cc);
}

// A small report that reaches every step of the calculation.
inline void SmallReport() {
    auto& db = Db();
    db::Transaction tx(db);
    EnsureSourceSheets();

    // Expenses per books.
    for (auto [line, amount] : std::vector<std::pair<double, double>>{
             {1, 10000}, {1.01, 2000}, {2, 5000}, {4, 8000}, {4.01, 1000}, {5, 3000}, {5.01, 500},
             {7, 1200}, {8, 400}, {9, 300}, {11, 50000}, {12, 30000}, {13, 4000}, {30.01, -700}, {32, 100.45}})
        SetExpenses(line, amount);

    // B-1: 500 from 12 to 30.01; 250 into 13; 100 out of 11; an increase of
    // 12 without an amount; the totals row (no cost centre) is passed over.
    db.Execute("INSERT INTO B1 (SeqNum,Explanation,Code,UpCCName,UpCCNum,UpAmount,DnCCName,DnCCNum,DnAmount) VALUES "
               "(1,'Interest','A','Interest Income',30.01,500,'Salaries & Wages of Others',12,500),"
               "(2,'Payroll tax','B','Payroll Taxes',13,250,NULL,NULL,NULL),"
               "(3,'Officers','C',NULL,NULL,0,'Salaries of Officers',11,100),"
               "(4,'Not yet known','D','Salaries & Wages of Others',12,NULL,NULL,NULL,NULL);");
    Calc_B1();

    // B-2 Part III: 900 insurance, 300 taxes and 150 other capital-related
    // costs allocated as 600, 300, 300, 150 to the four capital centres.
    // The interest sub-rows take no part.
    db.Execute("UPDATE B2p3 SET Insurance=900, Taxes=300, CapRelated=150, CapRelated2=150 WHERE SeqNum=5;");
    for (auto [seq, total] : std::vector<std::pair<double, double>>{{1, 600}, {2, 300}, {3, 300}, {4, 150}, {1.01, 77}})
        db.Execute("UPDATE B2p3 SET Total1=? WHERE SeqNum=?;", {Cur(total), Cur(seq)});

    // C: income tax -1000 on 11, donations -300 on 32, "Other" 0 on 13; line
    // 15 names 12 but never reaches B; bad debts without a cost centre.
    db.Execute("UPDATE C SET Amount=-1000, CCNum=11, CCName='Salaries of Officers' WHERE LineNum=1;");
    db.Execute("UPDATE C SET Amount=-300, CCNum=32, CCName='Other (Specify)' WHERE LineNum=2;");
    db.Execute("UPDATE C SET CCNum=13, CCName='Payroll Taxes' WHERE LineNum=13;");
    db.Execute("UPDATE C SET Amount=-5000, CCNum=12 WHERE LineNum=15;");
    db.Execute("UPDATE C SET Amount=-50 WHERE LineNum=6;");

    // D Part B: 200 disallowed on 12, 100 more allowed than paid on 4, a line
    // without a cost centre; the totals row is not read.
    db.Execute("INSERT INTO DpB (SeqNum,LineNum,ExpAcct,Amount,AmtAllowable,NetAdj) VALUES "
               "(1,12,'Salaries & Wages of Others',1200,1000,200),"
               "(2,4,'New Cap. Rel Costs - Bldgs and Fixtures',400,500,-100),"
               "(3,NULL,'Unknown',999,0,999);");
    db.Execute("UPDATE DpB SET NetAdj=100 WHERE SeqNum=100;");

    // E and F Part I, grand totals per capital cost centre.
    for (auto [cc, amount] : std::vector<std::pair<double, double>>{
             {1, 1000}, {1.01, 200}, {2, 500}, {2.01, 0}, {4, 800}, {4.01, 100}, {5, 300}, {5.01, 50},
             {7, 120}, {8, 40}, {9, 30}, {999, 3140}})
        SetGrandTotal("E", CC(cc), Cur(amount));
    for (auto [cc, amount] : std::vector<std::pair<double, double>>{
             {1, 2000}, {1.01, 400}, {2, 1000}, {2.01, 0}, {4, 1600}, {4.01, 200}, {5, 600}, {5.01, 100}})
        SetGrandTotal("Fp1", CC(cc), Cur(amount));

    // E-1: 3000 to 12, a Null total for 30.01, and a column for 31, a cost
    // centre B does not have.
    for (double cc : {12.0, 30.01, 31.0}) AddColumnBeforeTotal("E1", CC(cc));
    SetGrandTotal("E1", CC(12), Cur(3000));
    SetGrandTotal("E1", CC(30.01), Value::Null());
    SetGrandTotal("E1", CC(31), Cur(777));
    db.Execute("UPDATE E1 SET Col_4 = 3777 WHERE SeqNum = 34;");

    // F-1 Part I: 5000 to 11, 400 to 13.
    for (double cc : {11.0, 13.0}) AddColumnBeforeTotal("F1p1", CC(cc));
    SetGrandTotal("F1p1", CC(11), Cur(5000));
    SetGrandTotal("F1p1", CC(13), Cur(400));
    db.Execute("UPDATE F1p1 SET Col_3 = 5400 WHERE SeqNum = 34;");
    tx.Commit();
}

// A print file compared byte for byte with the one kept under golden/. With
// VT_UPDATE_GOLDEN set the kept file is rewritten instead (then read it through).
inline void ExpectGolden(const std::string& name, const std::string& actual) {
    const std::filesystem::path path = std::filesystem::path(__FILE__).parent_path() / "golden" / name;
    if (std::getenv("VT_UPDATE_GOLDEN")) {
        std::ofstream(path, std::ios::binary) << actual;
        return;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << "no golden file " << path;
    std::ostringstream expected;
    expected << in.rdbuf();
    EXPECT_EQ(actual, expected.str()) << "print file differs from " << path;
}

// Print tests: a report whose page headers carry a fixed date and time.
class PrintTest : public CrfTest {
protected:
    void SetUp() override {
        CrfTest::SetUp();
        print::SetPrintClock([] { return *DateTime::FromParts(2007, 3, 15, 14, 5); });
    }
    void TearDown() override {
        print::SetPrintClock(nullptr);
        CrfTest::TearDown();
    }
};

}  // namespace vt::test
