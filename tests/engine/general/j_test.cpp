// Worksheet J: the balance-sheet lines kept in step with the accounts of the
// cost-centre list, the totals, and the portrait print.
#include <map>
#include <string>
#include <vector>

#include "engine/general/j.h"
#include "tests/engine/general/general_fixture.h"

namespace vt::test {
namespace {

// "line account name" per row; J's contra lines without their "Less:".
std::vector<std::string> AccountLines(db::Database& db, const std::string& table) {
    std::vector<std::string> out;
    for (auto rs = db.OpenRecordset("SELECT LineNum, CCNum, CCName FROM " + table +
                                    " WHERE CCNum > 200 ORDER BY LineNum");
         !rs.Eof(); rs.MoveNext()) {
        std::string name = rs["CCName"].ToText();
        if (table == "J" && name.rfind("Less:", 0) == 0) name.erase(0, 5);
        out.push_back(rs["LineNum"].ToText() + " " + rs["CCNum"].ToText() + " " + name);
    }
    return out;
}

class BuildJ : public CrfTest {};

// The total lines and the "Less:" captions show in the golden print; the
// total lines are also the ones CalcJ fills.
TEST_F(BuildJ, AccountLinesFromTheListAndEmptyTotalLines) {
    EXPECT_EQ(AccountLines(db(), "J"), AccountLines(db(), "CostCenters"));
    EXPECT_EQ(db().Scalar("SELECT COUNT(*) FROM J WHERE CCNum > 200 AND Col_1 = 0").ToLong(), 55);
    EXPECT_EQ(db().Scalar("SELECT COUNT(*) FROM J WHERE CCNum = 0 AND Col_1 IS NOT NULL").ToLong(), 0);
}

// Accounts an older list holds on total lines get no line of their own, and
// are named in one message; every other line is built.
TEST_F(BuildJ, AccountsOnTotalLinesAreLeftOutAndNamedOnce) {
    const auto before = AccountLines(db(), "J");
    for (int account : {266, 210}) AddToCostCentreList(Money(account), Money(account - 200), "Taken");
    db().DropTable("J");
    ui.ExpectMessage();
    Build_J();
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(std::tie(ui.Messages()[0].prompt, ui.Messages()[0].title),
              std::tuple("Line 10 of Worksheet J is taken by \"Total Current Assets\", so account 210 was not added to "
                         "Worksheet J.\r\nLine 66 of Worksheet J is taken by \"Total Equity Capital\", so account 266 "
                         "was not added to Worksheet J.",
                         "Warning: Worksheet J"));
    EXPECT_EQ(AccountLines(db(), "J"), before);
    EXPECT_EQ(db().Scalar("SELECT COUNT(*) FROM J WHERE CCNum = 0").ToLong(), 10);
}

class InsertDeleteJ : public CrfTest {
protected:
    void Add(double account, const std::string& name) {
        Currency n = Money(account);
        AddToCostCentreList(n, n - Currency::FromInt(200), name);
        Insert_CC_J(n);
    }
    void Delete(double account) {
        Currency n = Money(account);
        DeleteFromCostCentreList(n);
        Delete_CC_J(n);
    }
};

TEST_F(InsertDeleteJ, RoundTripsKeepJEqualToTheAccounts) {
    struct Step {
        double account;
        const char* added;  // name of an added account; nullptr deletes
        std::string group;  // J's lines 13.xx afterwards: name=amount ...
    };
    const std::vector<Step> steps = {
        {213.01, "A", "A=0"},
        {213.02, "B", "A=1 B=0"},
        // A restored number in the middle of the group pushes the later ones up.
        {213.02, "C", "A=1 C=0 B=2"},
        // B sits above C although it was stored first: closing the gap must
        // not let one of them meet the other's line.
        {213.01, nullptr, "C=3 B=2"},
        {213.01, "D", "D=0 C=3 B=2"},
        {213.03, nullptr, "D=4 C=3"},
        {270, "W", "D=4 C=3"},
        {213.01, nullptr, "C=3"},
        {213.01, nullptr, ""},
        {270, nullptr, ""},
    };
    int serial = 0;
    for (const auto& s : steps) {
        SCOPED_TRACE(std::to_string(s.account) + (s.added ? " added" : " deleted"));
        s.added ? Add(s.account, s.added) : Delete(s.account);
        EXPECT_EQ(AccountLines(db(), "J"), AccountLines(db(), "CostCenters"));
        EXPECT_EQ(Join("SELECT CCName, Col_1 FROM J WHERE LineNum > 13 AND LineNum < 14 ORDER BY LineNum"),
                  s.group);
        // Each account's amount must follow it through the renumbering.
        if (db().Execute("UPDATE J SET Col_1 = ? WHERE Col_1 = 0 AND LineNum > 13 AND LineNum < 14",
                         {Value(serial + 1)}) > 0)
            ++serial;
    }
    EXPECT_EQ(db().Scalar("SELECT COUNT(*) FROM J").ToLong(), 65);
}

TEST_F(InsertDeleteJ, AccountOnATotalLineIsReportedAndNotAdded) {
    for (const auto& [account, caption] : std::map<int, std::string>{{210, "Total Current Assets"},
                                                                     {266, "Total Equity Capital"}}) {
        SCOPED_TRACE(account);
        ui.ClearRecords();
        ui.ExpectMessage();
        Add(account, "Taken");
        EXPECT_EQ(ui.Prompts(), std::vector<std::string>{"Line " + std::to_string(account - 200) +
                                                         " of Worksheet J is taken by \"" + caption + "\", so account " +
                                                         std::to_string(account) + " was not added to Worksheet J."});
        EXPECT_EQ(db().Scalar("SELECT CCName FROM J WHERE LineNum = ?", {Value(account - 200)}).ToText(), caption);
        EXPECT_EQ(db().Scalar("SELECT COUNT(*) FROM J WHERE CCNum = ?", {Value(account)}).ToLong(), 0);
    }
}

class CalcJ : public CrfTest {
protected:
    std::string Totals() {
        return Join("SELECT LineNum, Col_1 FROM J WHERE CCNum = 0 ORDER BY LineNum");
    }
};

TEST_F(CalcJ, EmptyAmountsGiveZeroTotals) {
    db().Execute("UPDATE J SET Col_1 = NULL");
    Calc_J();
    EXPECT_EQ(Totals(), "10=0 29=0 38=0 39=0 49=0 55=0 56=0 62=0 63=0 66=0");
}

TEST_F(CalcJ, TotalsAddTheirRangesAndEarlierTotals) {
    // Every account holds its own line number, but line 5 is empty and the
    // sub-account 13.01 holds 1,000; stale totals must not count.
    db().Execute("INSERT INTO CostCenters (LineNum, CCNum, CCName) VALUES (13.01, 213.01, 'Sub')");
    Currency n = Money(213.01);
    Insert_CC_J(n);
    db().Execute("UPDATE J SET Col_1 = IIf(CCNum = 0, 99999, IIf(LineNum = 13.01, 1000, LineNum))");
    db().Execute("UPDATE J SET Col_1 = NULL WHERE LineNum = 5");
    Calc_J();
    const std::string expected = "10=40 29=1323 38=268 39=1631 49=396 55=260 56=656 62=295 63=951 66=424";
    EXPECT_EQ(Totals(), expected);
    Calc_J();
    EXPECT_EQ(Totals(), expected);
}

class PrintJ : public LaterSheetPrintTest {};

TEST_F(PrintJ, CalculatedBalanceSheet) {
    db().Execute("UPDATE J SET Col_1 = CCur(LineNum * 1000) WHERE CCNum <> 0");
    db().Execute("UPDATE J SET Col_1 = -4000 WHERE LineNum IN (6, 13)");
    db().Execute("UPDATE J SET Col_1 = NULL WHERE LineNum = 65");
    Calc_J();
    Printed(Print_J, "J.prt");
    ExpectGolden("J.prt", "J_calculated.prt");
}

TEST_F(PrintJ, LongAssetsContinueOnANewPageWithTheirHeadings) {
    db::Transaction tx(db());
    for (int i = 1; i <= 50; ++i) {
        Currency n = Currency::FromScaled(2130000 + i * 100);
        db().Execute("INSERT INTO CostCenters (LineNum, CCNum, CCName) VALUES (?, ?, 'Sub')",
                     {Value(n - Currency::FromInt(200)), Value(n)});
        Insert_CC_J(n);
    }
    tx.Commit();
    const auto lines = Printed(Print_J, "J.prt");
    // Two pages of assets, then the liabilities and capital on a page of their own.
    EXPECT_EQ(CountLines(lines, "\f"), 3);
    EXPECT_EQ(CountLines(lines, ", continued"), 2);
    EXPECT_EQ(CountLines(lines, std::string(24, ' ') + "Assets"), 2);
    EXPECT_EQ(CountLines(lines, std::string(16, ' ') + "Liabilities and Capital"), 1);
}

}  // namespace
}  // namespace vt::test
