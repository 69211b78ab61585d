// Worksheet D: the tables of a new report, the Part B calculation and the print.
#include <optional>
#include <string>
#include <vector>

#include "engine/general/d.h"
#include "tests/engine/general/general_fixture.h"

namespace vt::test {
namespace {

class BuildD : public CrfTest {};
class CalcDpB : public CrfTest {};
class PrintD : public LaterSheetPrintTest {};

TEST_F(BuildD, NewReportHoldsTheQuestionAndTheTotalsRow) {
    EXPECT_EQ(Rows("SELECT Answer FROM DpA"), Table{{"N"}});
    EXPECT_EQ(Rows("SELECT SeqNum, LineNum, ExpAcct, Amount, AmtAllowable, NetAdj FROM DpB"),
              (Table{{"100", "Null", "TOTALS", "0", "0", "0"}}));
    EXPECT_EQ(Rows("SELECT * FROM DpC"), Table{});
}

TEST_F(CalcDpB, TotalsAndNetAdjustments) {
    using Amt = std::optional<double>;
    struct Row {
        Amt amount, allowable, netAdj;
    };
    struct Case {
        const char* name;
        std::vector<Row> lines;  // with their expected net adjustments
        Row totals;
    };
    const std::vector<Case> cases = {
        {"two lines", {{1000, 600, 400}, {500, 500, 0}}, {1500, 1100, 400}},
        {"no line", {}, {0, 0, 0}},
        // An empty amount leaves the line's adjustment empty, yet its other
        // amount still counts in the totals row.
        {"empty allowable", {{1000, {}, {}}, {500, 200, 300}}, {1500, 200, 1300}},
        {"empty amount", {{{}, 700, {}}, {250, 100, 150}}, {250, 800, -550}},
        {"cents stay exact", {{0.1, 0.2, -0.1}, {1234.57, 0.01, 1234.56}}, {1234.67, 0.21, 1234.46}},
    };
    auto value = [](Amt a) { return a ? Value(Money(*a)) : Value::Null(); };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        db().Execute("DELETE FROM DpB WHERE SeqNum < 100");
        db().Execute("UPDATE DpB SET Amount = 77, AmtAllowable = 7, NetAdj = 1 WHERE SeqNum = 100");
        for (int i = 0; i < static_cast<int>(c.lines.size()); ++i)
            db().Execute("INSERT INTO DpB (SeqNum, LineNum, Amount, AmtAllowable) VALUES (?, 5, ?, ?)",
                         {Value(i + 1), value(c.lines[i].amount), value(c.lines[i].allowable)});
        Calc_DpB();
        for (int i = 0; i < static_cast<int>(c.lines.size()); ++i)
            EXPECT_EQ(db().Scalar("SELECT NetAdj FROM DpB WHERE SeqNum = ?", {Value(i + 1)}), value(c.lines[i].netAdj));
        auto t = db().OpenRecordset("SELECT * FROM DpB WHERE SeqNum = 100");
        EXPECT_EQ(std::tuple(t["Amount"], t["AmtAllowable"], t["NetAdj"]),
                  std::tuple(value(c.totals.amount), value(c.totals.allowable), value(c.totals.netAdj)));
    }
}

TEST_F(PrintD, AllThreeParts) {
    db().Execute("INSERT INTO DpB (SeqNum, LineNum, ExpAcct, Amount, AmtAllowable) VALUES "
                 "(1, 4, 'Employee Benefits', 125000, 98500.4), (2, 30.01, 'Interest Income', 4500, NULL), "
                 "(3, 12, 'Data Processing', -1200, -1200)");
    Calc_DpB();
    db().Execute("UPDATE DpA SET Answer = 'Y'");
    db().Execute("INSERT INTO DpC (SeqNum, RelatedOrg, Type, OwnCntl, Explanation) VALUES "
                 "(1, 'Northfield Supply Co.', 'Medical supplies', 'Ownership', 'Owned 60% by the chain'), "
                 "(2, 'Harbor Leasing', NULL, 'Control', NULL)");
    Printed(Print_D, "D.prt");
    ExpectGolden("D.prt", "D_full.prt");
    EXPECT_EQ(printer.endDocs, 1);
}

TEST_F(PrintD, WithoutQuestionRowPartAPrintsBlank) {
    const auto fresh = Printed(Print_D, "D.prt");
    EXPECT_EQ(CountLines(fresh, "\f"), 1) << "an empty Part C has no page";
    EXPECT_EQ(CountLines(fresh, "Part C"), 0);
    db().Execute("DELETE FROM DpA");
    const auto blank = Printed(Print_D, "D.prt");
    ASSERT_EQ(blank.size(), fresh.size());
    for (std::size_t i = 0; i < fresh.size(); ++i) {
        if (fresh[i] == blank[i]) continue;
        EXPECT_EQ(fresh[i].substr(0, 25), "       Are there any cost") << blank[i];
    }
}

TEST_F(PrintD, LongPartBContinuesWithTitleAndHeadingOnANewPage) {
    db::Transaction tx(db());
    for (int i = 1; i <= 60; ++i)
        db().Execute("INSERT INTO DpB (SeqNum, LineNum, Amount, AmtAllowable) VALUES (?, 5, 10, 5)", {Value(i)});
    tx.Commit();
    const auto lines = Printed(Print_D, "D.prt");
    EXPECT_EQ(CountLines(lines, "\f"), 2);
    EXPECT_EQ(CountLines(lines, ", continued"), 1);
    const std::string title = "Statement of Costs of Services from Related Organizations";
    std::size_t second = lines.size();
    for (std::size_t i = 1; i < lines.size(); ++i)
        if (lines[i] == title) second = i;
    ASSERT_LT(second + 3, lines.size());
    EXPECT_EQ(lines[second + 1] + lines[second + 2].substr(0, 23), "Part B - Costs incurred");
    EXPECT_NE(lines[second + 5].find("Account and Amount"), std::string::npos);
}

}  // namespace
}  // namespace vt::test
