// Worksheet J: the balance-sheet lines, their keeping in step with the
// accounts of the cost-centre list, and the totals.
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "engine/general/j.h"
#include "store/report.h"
#include "tests/engine/general/dij_support.h"

namespace vt::test {
namespace {

struct Line {
    Currency line, account;
    std::string name;
    friend bool operator==(const Line&, const Line&) = default;
};

void PrintTo(const Line& l, std::ostream* os) { *os << l.line.ToText() << " " << l.account.ToText() << " " << l.name; }

std::vector<Line> ReadLines(db::Database& db, const std::string& sql, bool dropContraPrefix) {
    std::vector<Line> out;
    for (auto rs = db.OpenRecordset(sql); !rs.Eof(); rs.MoveNext()) {
        std::string name = rs["CCName"].ToText();
        if (dropContraPrefix && name.rfind("Less:", 0) == 0) name.erase(0, 5);
        out.push_back({rs["LineNum"].ToCurrency(), rs["CCNum"].ToCurrency(), name});
    }
    return out;
}

class BuildJ : public CrfTest {
protected:
    std::vector<Line> AccountLinesOfJ() {
        return ReadLines(db(), "SELECT LineNum, CCNum, CCName FROM J WHERE CCNum <> 0 ORDER BY LineNum", true);
    }
    std::vector<Line> Accounts() {
        return ReadLines(db(), "SELECT LineNum, CCNum, CCName FROM CostCenters WHERE CCNum > 200 ORDER BY LineNum",
                         false);
    }
    Value Amount(const std::string& where) { return db().Scalar("SELECT Col_1 FROM J WHERE " + where); }
};

TEST_F(BuildJ, HoldsTheAccountLinesAndTheTotalLines) {
    EXPECT_EQ(AccountLinesOfJ(), Accounts());
    EXPECT_EQ(AccountLinesOfJ().size(), 55u);
    EXPECT_EQ(db().Scalar("SELECT COUNT(*) FROM J WHERE CCNum <> 0 AND Col_1 = 0").ToLong(), 55);

    const std::vector<std::pair<int, std::string>> totals = {
        {10, "Total Current Assets"},      {29, "Total Fixed Assets"},
        {38, "Total Other Assets"},        {39, "Total Assets"},
        {49, "Total Current Liabilities"}, {55, "Total Long-term Liabilities"},
        {56, "Total Liabilities"},         {62, "Total Capital"},
        {63, "Total Liabilities and Capital"}, {66, "Total Equity Capital"}};
    std::vector<std::pair<int, std::string>> actual;
    for (auto rs = db().OpenRecordset("SELECT LineNum, CCName, Col_1 FROM J WHERE CCNum = 0 ORDER BY LineNum");
         !rs.Eof(); rs.MoveNext()) {
        actual.emplace_back(static_cast<int>(rs["LineNum"].ToLong()), rs["CCName"].ToText());
        EXPECT_TRUE(rs["Col_1"].IsNull()) << "total line " << rs["LineNum"].ToText();
    }
    EXPECT_EQ(actual, totals);

    EXPECT_EQ(db().Scalar("SELECT CCName FROM J WHERE LineNum = 6").ToText(), "Less:Allowance for Uncollectable Notes ...");
    EXPECT_EQ(db().Scalar("SELECT COUNT(*) FROM J WHERE CCName LIKE 'Less:%'").ToLong(), 8);
    EXPECT_EQ(db().Scalar("SELECT COUNT(*) FROM Worksheets WHERE Item = 'J' AND ItemName = 'J'").ToLong(), 1);
}

// What the cost-centre list does around Insert_CC_J and Delete_CC_J: it makes
// room for a restored number among the later accounts of the group, adds the
// row, and on a delete closes the gap.
class InsertDeleteJ : public BuildJ {
protected:
    void AddAccount(Currency n, const std::string& name) {
        const Value next(n.Floor() + Currency::FromInt(1));
        db().Execute("UPDATE CostCenters SET LineNum = CCur(LineNum+10000.01), CCNum = CCur(CCNum+10000.01) "
                     "WHERE (CCNum>=? And CCNum<?);",
                     {Value(n), next});
        db().Execute("UPDATE CostCenters SET LineNum = CCur(LineNum-10000), CCNum = CCur(CCNum-10000) "
                     "WHERE (CCNum>=10000);");
        db().Execute("INSERT INTO CostCenters (LineNum,CCNum,CCName) VALUES (?,?,?);",
                     {Value(n - Currency::FromInt(200)), Value(n), Value(name)});
        Insert_CC_J(n);
    }
    void DeleteAccount(Currency n) {
        const Value next(n.Floor() + Currency::FromInt(1));
        db().Execute("DELETE FROM CostCenters WHERE CCNum = ?;", {Value(n)});
        db().Execute("UPDATE CostCenters SET LineNum = CCur(LineNum+1000), CCNum = CCur(CCNum+1000) "
                     "WHERE (CCNum>? And CCNum<?);",
                     {Value(n), next});
        db().Execute("UPDATE CostCenters SET LineNum = CCur(LineNum-1000.01), CCNum = CCur(CCNum-1000.01) "
                     "WHERE CCNum>1000;");
        Delete_CC_J(n);
    }
};

TEST_F(InsertDeleteJ, RoundTripsKeepJEqualToTheAccounts) {
    struct Step {
        bool add;
        double account;
        std::string name;  // of an added account
        std::vector<std::string> subAccounts;  // names of J's lines 13.01, 13.02, ... afterwards
    };
    const std::vector<Step> steps = {
        {true, 213.01, "Sub A", {"Sub A"}},
        {true, 213.02, "Sub B", {"Sub A", "Sub B"}},
        // A restored number in the middle of the group pushes the later ones up.
        {true, 213.02, "Sub C", {"Sub A", "Sub C", "Sub B"}},
        // Sub B now sits above Sub C although it was stored first: closing the
        // gap must not let one of them meet the other's line.
        {false, 213.01, "", {"Sub C", "Sub B"}},
        {true, 213.01, "Sub D", {"Sub D", "Sub C", "Sub B"}},
        {false, 213.03, "", {"Sub D", "Sub C"}},
        {false, 213.01, "", {"Sub C"}},
        {true, 270, "Whole", {"Sub C"}},
        {false, 213.01, "", {}},
        {false, 270, "", {}},
    };
    std::map<std::string, Currency> amounts;  // each account's amount follows it
    int serial = 0;
    for (const auto& s : steps) {
        SCOPED_TRACE((s.add ? "add " : "delete ") + Money(s.account).ToText());
        const Currency n = Money(s.account);
        if (s.add) {
            AddAccount(n, s.name);
            ASSERT_EQ(Amount("CCNum = " + n.ToText()), Value(Currency{})) << "a new line starts at 0";
            amounts[s.name] = Currency::FromInt(++serial * 100);
            db().Execute("UPDATE J SET Col_1 = ? WHERE CCName = ?", {Value(amounts[s.name]), Value(s.name)});
        } else {
            DeleteAccount(n);
        }
        EXPECT_EQ(AccountLinesOfJ(), Accounts());
        std::vector<std::string> subs;
        for (auto rs = db().OpenRecordset("SELECT CCName, Col_1 FROM J WHERE LineNum > 13 AND LineNum < 14 "
                                          "ORDER BY LineNum");
             !rs.Eof(); rs.MoveNext()) {
            subs.push_back(rs["CCName"].ToText());
            EXPECT_EQ(rs["Col_1"].ToCurrency(), amounts[subs.back()]) << subs.back();
        }
        EXPECT_EQ(subs, s.subAccounts);
    }
    EXPECT_EQ(db().Scalar("SELECT COUNT(*) FROM J").ToLong(), 65);
}

TEST_F(InsertDeleteJ, AnAccountWhoseLineIsATotalLineIsReported) {
    for (const auto& [account, caption] : std::vector<std::pair<int, std::string>>{
             {210, "Total Current Assets"}, {266, "Total Equity Capital"}}) {
        SCOPED_TRACE(account);
        ui.ClearRecords();
        ui.ExpectMessage();
        AddAccount(Currency::FromInt(account), "Taken");
        ASSERT_EQ(ui.Messages().size(), 1u);
        const auto& m = ui.Messages()[0];
        EXPECT_NE(m.prompt.find("Line " + std::to_string(account - 200) + " "), std::string::npos) << m.prompt;
        EXPECT_NE(m.prompt.find(std::to_string(account)), std::string::npos) << m.prompt;
        EXPECT_NE(m.prompt.find(caption), std::string::npos) << m.prompt;
        EXPECT_EQ(db().Scalar("SELECT CCName FROM J WHERE LineNum = ?", {Value(account - 200)}).ToText(), caption);
        EXPECT_EQ(db().Scalar("SELECT COUNT(*) FROM J WHERE CCNum = ?", {Value(account)}).ToLong(), 0);
    }
}

TEST_F(InsertDeleteJ, MessagesGoIntoTheErrorTableWhilePrintingSelectively) {
    Report().Message_Mode = "P";
    AddAccount(Currency::FromInt(239), "Taken");
    Report().Message_Mode.clear();
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(db().Scalar("SELECT COUNT(*) FROM Error WHERE Message LIKE 'Line 39 %'").ToLong(), 1);
}

class CalcJ : public BuildJ {
protected:
    std::map<int, Value> Totals() {
        std::map<int, Value> out;
        for (auto rs = db().OpenRecordset("SELECT LineNum, Col_1 FROM J WHERE CCNum = 0"); !rs.Eof(); rs.MoveNext())
            out[static_cast<int>(rs["LineNum"].ToLong())] = rs["Col_1"];
        return out;
    }
};

TEST_F(CalcJ, EmptyAmountsGiveZeroTotals) {
    db().Execute("UPDATE J SET Col_1 = NULL");
    Calc_J();
    for (const auto& [line, value] : Totals()) EXPECT_EQ(value, Value(Currency{})) << "line " << line;
}

TEST_F(CalcJ, TotalsAddTheirRangesAndEarlierTotals) {
    // Every account holds its own line number, but line 5 is empty and the
    // sub-account 13.01 holds 1,000; stale totals must not count.
    db().Execute("INSERT INTO CostCenters (LineNum, CCNum, CCName) VALUES (13.01, 213.01, 'Sub')");
    Currency n = Money(213.01);
    Insert_CC_J(n);
    db().Execute("UPDATE J SET Col_1 = LineNum WHERE CCNum <> 0");
    db().Execute("UPDATE J SET Col_1 = NULL WHERE LineNum = 5");
    db().Execute("UPDATE J SET Col_1 = 1000 WHERE LineNum = 13.01");
    db().Execute("UPDATE J SET Col_1 = 99999 WHERE CCNum = 0");
    Calc_J();
    const std::map<int, Value> expected = {
        {10, Value(Currency::FromInt(40))},   {29, Value(Currency::FromInt(1323))},
        {38, Value(Currency::FromInt(268))},  {39, Value(Currency::FromInt(1631))},
        {49, Value(Currency::FromInt(396))},  {55, Value(Currency::FromInt(260))},
        {56, Value(Currency::FromInt(656))},  {62, Value(Currency::FromInt(295))},
        {63, Value(Currency::FromInt(951))},  {66, Value(Currency::FromInt(424))}};
    EXPECT_EQ(Totals(), expected);
    Calc_J();
    EXPECT_EQ(Totals(), expected);
}

}  // namespace
}  // namespace vt::test
