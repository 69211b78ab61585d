#include "app/sample_report.h"

#include <algorithm>
#include <string>
#include <vector>

#include "engine/chain/component_sheet.h"
#include "engine/chain/f1.h"
#include "engine/general/b.h"
#include "platform/db/db.h"
#include "store/report.h"

namespace vt::sample {
namespace {

// `count` line numbers spread over the whole lines 1..wholeLines, each with
// its sub-lines .01, .02, ...
std::vector<Currency> Lines(int count, int wholeLines) {
    const int perLine = (count + wholeLines - 1) / wholeLines;
    std::vector<Currency> out;
    for (int w = 1; w <= wholeLines && static_cast<int>(out.size()) < count; ++w)
        for (int s = 0; s < perLine && static_cast<int>(out.size()) < count; ++s)
            out.push_back(Currency::FromScaled(w * 10000LL + s * 100LL));
    return out;
}

Value Money(long long whole) { return Value(Currency::FromInt(whole)); }

// Non-capital cost centres for the E-1 and F-1 columns (never 30.xx, whose
// columns belong to G): the standard ones, then new sub-centres of 11-29.
std::vector<Currency> ChooseColumnCentres(int count) {
    std::vector<Currency> out;
    auto& db = Db();
    auto rs = db.OpenRecordset("SELECT CCNum FROM CostCenters WHERE CCNum >= 10 AND CCNum < 200 AND Int(CCNum) <> 30 "
                               "ORDER BY CCNum;");
    for (; !rs.Eof() && static_cast<int>(out.size()) < count; rs.MoveNext()) out.push_back(rs["CCNum"].ToCurrency());
    for (int sub = 1; static_cast<int>(out.size()) < count; ++sub) {
        for (int whole = 11; whole <= 29 && static_cast<int>(out.size()) < count; ++whole) {
            Currency cc = Currency::FromScaled(whole * 10000LL + sub * 100LL);
            db.Execute("INSERT INTO CostCenters (LineNum, CCNum, CCName, ColLabel1) VALUES (?, ?, ?, ?);",
                       {Value(cc), Value(cc), Value("Bench centre " + cc.ToText()), Value("Bench")});
            Insert_CC_B(cc);
            out.push_back(cc);
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

// Every value column of a component sheet's component rows, one row write per row.
void FillComponentRows(const std::string& sheet, int firstField, int skipLast, int salt) {
    auto& db = Db();
    const auto fields = db.Fields(sheet);
    std::string set;
    std::vector<std::string> names;
    for (size_t f = static_cast<size_t>(firstField); f + static_cast<size_t>(skipLast) < fields.size(); ++f) {
        set += (set.empty() ? "" : ",") + fields[f].name + "=?";
        names.push_back(fields[f].name);
    }
    if (names.empty()) return;
    auto rows = db.OpenRecordset("SELECT SeqNum FROM " + sheet +
                                 " WHERE SeqNum > 0 AND SeqNum < 33 AND SeqNum NOT IN (18, 28) ORDER BY SeqNum;");
    int n = salt;
    for (; !rows.Eof(); rows.MoveNext()) {
        std::vector<Value> params;
        for (size_t k = 0; k < names.size(); ++k) params.push_back(Money(100 + (n++ * 37) % 900));
        params.push_back(rows["SeqNum"]);
        db.Execute("UPDATE " + sheet + " SET " + set + " WHERE SeqNum=?;", params);
    }
}

void FillCostRow(const std::string& sheet, int firstField, int skipLast, long long amount) {
    auto& db = Db();
    const auto fields = db.Fields(sheet);
    for (size_t f = static_cast<size_t>(firstField); f + static_cast<size_t>(skipLast) < fields.size(); ++f)
        db.Execute("UPDATE " + sheet + " SET " + fields[f].name + "=? WHERE SeqNum = 35;", {Money(amount)});
}

}  // namespace

void FillReport(int scale) {
    auto& db = Db();
    db::Transaction tx(db);
    const auto dayFrom = Value(*DateTime::FromParts(2006, 1, 1));
    const auto dayTo = Value(*DateTime::FromParts(2006, 12, 31));
    db.Execute("UPDATE Ap1 SET Info = '03/01/1998' WHERE SeqNum = 4;");

    // The chain's components, as the A editors add them.
    int n = 0;
    for (Currency line : Lines(60 * scale, 15)) {
        const std::string name = "Facility " + std::to_string(++n);
        db.Execute("INSERT INTO Ap3 (LineNum, Component, MedicareNo, PeriodFrom, PeriodTo) VALUES (?, ?, ?, ?, ?);",
                   {Value(line), Value(name), Value(std::to_string(100000 + n)), dayFrom, dayTo});
        Insert_Component_Line(line, 3);
        Propagate_Component_Field(line, 3, "Component", name);
        Propagate_Component_Field(line, 3, "MedicareNo", std::to_string(100000 + n));
    }
    for (Currency line : Lines(20 * scale, 8)) {
        const std::string name = "Other component " + std::to_string(++n);
        db.Execute("INSERT INTO Ap4 (LineNum, Component, PeriodFrom, PeriodTo) VALUES (?, ?, ?, ?);",
                   {Value(line), Value(name), dayFrom, dayTo});
        Insert_Component_Line(line, 4);
        Propagate_Component_Field(line, 4, "Component", name);
    }
    for (Currency line : Lines(10 * scale, 4)) {
        const std::string name = "Region " + std::to_string(++n);
        db.Execute("INSERT INTO Ap5 (LineNum, Col1) VALUES (?, ?);", {Value(line), Value(name)});
        Insert_Component_Line(line, 5);
        Propagate_Component_Field(line, 5, "Component", name);
    }

    // The E-1 and F-1 columns the user picks.
    for (Currency cc : ChooseColumnCentres(25 * scale)) {
        AddChosenCCColumn("E1", cc);
        AddF1Column(cc);
    }

    // Worksheet B and the sheets that feed it.
    {
        auto lines = db.OpenRecordset("SELECT LineNum FROM B WHERE CCNum > 0 ORDER BY LineNum;");
        for (int k = 0; !lines.Eof(); lines.MoveNext(), ++k)
            db.Execute("UPDATE B SET Expenses=? WHERE LineNum=?;", {Money(200000 + k * 1000), lines["LineNum"]});
    }
    for (int k = 1; k <= 20 * scale; ++k)
        db.Execute("INSERT INTO B1 (SeqNum, Explanation, Code, UpCCNum, UpAmount, DnCCNum, DnAmount) "
                   "VALUES (?, ?, ?, 11, ?, 12, ?);",
                   {Value(k), Value("Reclassification " + std::to_string(k)), Value(std::string(1, char('A' + k % 26))),
                    Money(100 + k), Money(100 + k)});
    for (const char* part : {"B2p1", "B2p2"})
        for (int row : {1, 2, 3, 4, 5, 6, 8})
            db.Execute(std::string("UPDATE ") + part +
                           " SET BegBalance=?, Purchases=?, Donation=?, Disposals=?, DepAssets=? WHERE SeqNum=?;",
                       {Money(10000 * row), Money(500 * row), Money(50), Money(100), Money(9000 * row), Value(row)});
    {
        auto rows = db.OpenRecordset("SELECT SeqNum FROM B2p3 WHERE SeqNum < 5 ORDER BY SeqNum;");
        for (int k = 1; !rows.Eof(); rows.MoveNext(), ++k)
            db.Execute("UPDATE B2p3 SET GrossAssets=?, CapLeases=?, Depreciation=?, Lease=?, Interest=? WHERE SeqNum=?;",
                       {Money(30000 * k), Money(1000), Money(2000 * k), Money(300), Money(400), rows["SeqNum"]});
        db.Execute("UPDATE B2p3 SET Insurance=12000, Taxes=6000, CapRelated=3000 WHERE SeqNum = 5;");
    }
    for (int line = 1; line <= 13; ++line)
        db.Execute("UPDATE C SET Basis='A', Amount=?, CCNum=? WHERE LineNum=?;",
                   {Money(-100 * line), Value(10 + line), Value(line)});
    db.Execute("UPDATE DpA SET Answer = 'Yes';");
    for (int k = 1; k <= 10; ++k)
        db.Execute("INSERT INTO DpB (SeqNum, LineNum, ExpAcct, Amount, AmtAllowable) VALUES (?, ?, ?, ?, ?);",
                   {Value(k), Value(10 + k), Value("Related cost " + std::to_string(k)), Money(5000), Money(4000)});
    for (int k = 1; k <= 3; ++k)
        db.Execute("INSERT INTO DpC (SeqNum, RelatedOrg, Type) VALUES (?, ?, 'Management');",
                   {Value(k), Value("Related organization " + std::to_string(k))});

    // The allocation sheets: every statistic and direct amount, each cost to allocate.
    FillComponentRows("E", 4, 1, 1);
    FillComponentRows("E1", 4, 1, 2);
    FillComponentRows("Fp2", 3, 0, 3);
    FillCostRow("Fp2", 3, 0, 150000);
    FillComponentRows("F1p2", 4, 1, 4);
    FillCostRow("F1p2", 4, 1, 80000);
    db.Execute("UPDATE Gp1 SET TotalCost = 6000000 WHERE SeqNum = 1;");
    db.Execute("UPDATE Gp1 SET TotalCost = 3000000 WHERE SeqNum = 2;");
    db.Execute("UPDATE Gp1 SET TotalCost = 1000000 WHERE SeqNum = 3;");
    {
        auto rows = db.OpenRecordset("SELECT SeqNum FROM Gp2 WHERE SeqNum > 0 AND SeqNum < 33 AND SeqNum NOT IN (18, 28);");
        for (int k = 0; !rows.Eof(); rows.MoveNext(), ++k)
            db.Execute("UPDATE Gp2 SET TotalCost=? WHERE SeqNum=?;", {Money(50000 + 1000 * (k % 17)), rows["SeqNum"]});
    }
    db.Execute("UPDATE I SET Col_1 = 9000000 WHERE SeqNum = 1;");
    db.Execute("UPDATE I SET Col_1 = 1000 WHERE SeqNum > 4 AND SeqNum < 5;");
    db.Execute("UPDATE I SET Col_1 = 2000 WHERE SeqNum = 6;");
    {
        auto rows = db.OpenRecordset("SELECT LineNum FROM J WHERE CCNum > 0 ORDER BY LineNum;");
        for (int k = 0; !rows.Eof(); rows.MoveNext(), ++k)
            db.Execute("UPDATE J SET Col_1=? WHERE LineNum=?;", {Money(1000 + 10 * k), rows["LineNum"]});
    }
    tx.Commit();
}

}  // namespace vt::sample
