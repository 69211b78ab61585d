// The sheets that worksheet B reads, for B's tests: the cost-centre editor's
// list edits as far as B goes, grand totals written by cost centre, and a
// small report that reaches every step of the calculation.
#pragma once

#include <string>
#include <vector>

#include "engine/chain/component_sheet.h"
#include "engine/general/b.h"
#include "engine/general/b1.h"
#include "platform/db/db.h"
#include "platform/value/value.h"
#include "store/report.h"
#include "tests/engine/general/general_fixture.h"

namespace vt::test {

// The Col_ field whose row-0 value is cc; "" when no column names it.
inline std::string ColumnOf(const std::string& table, Currency cc) {
    db::Recordset row0 = Db().OpenRecordset("SELECT * FROM " + table + " WHERE SeqNum = 0;");
    for (int i = 0; !row0.Eof() && i < row0.FieldCount(); ++i) {
        const Value v = row0.Field(i);
        if (row0.FieldName(i).rfind("Col_", 0) == 0 && !v.IsNull() && v.ToCurrency() == cc) return row0.FieldName(i);
    }
    return "";
}

// The cost-centre editor's Add and Delete below 200, as far as B goes.
inline void AddCostCentre(Currency cc, const std::string& name) {
    AddToCostCentreList(cc, cc, name);
    Insert_CC_B(cc);
}

inline void DeleteCostCentre(Currency cc) {
    DeleteFromCostCentreList(cc);
    Delete_CC_B(cc);
}

// Writes the grand-total row (34) of the column that allocates cc.
inline void SetGrandTotal(const std::string& table, Currency cc, const Value& amount) {
    const std::string col = ColumnOf(table, cc);
    ASSERT_FALSE(col.empty()) << table << " has no column " << cc.ToText();
    Db().Execute("UPDATE " + table + " SET " + col + " = ? WHERE SeqNum = 34;", {amount});
}

inline void SetExpenses(double line, double amount) {
    Db().Execute("UPDATE B SET Expenses = ? WHERE LineNum = ?;", {Cur(amount), Cur(line)});
}

// What the cost-centre editor does when it deletes a cost centre below 200:
// the list, B's line and, below 10, E's column (below 6 also F Part I's).
inline void DeleteCostCentreEverywhere(double number) {
    const Currency cc = Money(number);
    DeleteCostCentre(cc);
    if (cc < Currency::FromInt(10)) Delete_CC_Column("E", cc);
    if (cc < Currency::FromInt(6)) Delete_CC_Column("Fp1", cc);
}

// A small report that reaches every step of the calculation.
inline void SmallReport() {
    auto& db = Db();
    db::Transaction tx(db);

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
        SetGrandTotal("E", Money(cc), Cur(amount));
    for (auto [cc, amount] : std::vector<std::pair<double, double>>{
             {1, 2000}, {1.01, 400}, {2, 1000}, {2.01, 0}, {4, 1600}, {4.01, 200}, {5, 600}, {5.01, 100}})
        SetGrandTotal("Fp1", Money(cc), Cur(amount));

    // E-1: 3000 to 12, a Null total for 30.01, and a column for 31, a cost
    // centre B does not have.
    for (double cc : {12.0, 30.01, 31.0}) AddChosenCCColumn("E1", Money(cc));
    SetGrandTotal("E1", Money(12), Cur(3000));
    SetGrandTotal("E1", Money(30.01), Value::Null());
    SetGrandTotal("E1", Money(31), Cur(777));
    db.Execute("UPDATE E1 SET Col_4 = 3777 WHERE SeqNum = 34;");

    // F-1 Part I: 5000 to 11, 400 to 13.
    for (double cc : {11.0, 13.0}) AddChosenCCColumn("F1p1", Money(cc));
    SetGrandTotal("F1p1", Money(11), Cur(5000));
    SetGrandTotal("F1p1", Money(13), Cur(400));
    db.Execute("UPDATE F1p1 SET Col_3 = 5400 WHERE SeqNum = 34;");
    tx.Commit();
}

}  // namespace vt::test
