// Worksheet D: the three tables of a new report and the Part B calculation.
#include <optional>
#include <string>
#include <vector>

#include "engine/general/d.h"
#include "tests/engine/general/dij_support.h"

namespace vt::test {
namespace {

class BuildD : public CrfTest {};

TEST_F(BuildD, NewReportHoldsTheQuestionAndTheTotalsRow) {
    auto a = db().OpenRecordset("SELECT * FROM DpA");
    ASSERT_EQ(a.RecordCount(), 1);
    EXPECT_EQ(a["Question"].ToText(),
              "Are there any costs included in Worksheet B which resulted from transactions with related "
              "organizations?");
    EXPECT_EQ(a["Answer"].ToText(), "N");

    auto b = db().OpenRecordset("SELECT * FROM DpB");
    ASSERT_EQ(b.RecordCount(), 1);
    EXPECT_EQ(b["SeqNum"], Value(Currency::FromInt(100)));
    EXPECT_TRUE(b["LineNum"].IsNull());
    EXPECT_EQ(b["ExpAcct"].ToText(), "TOTALS");
    for (const char* f : {"Amount", "AmtAllowable", "NetAdj"}) EXPECT_EQ(b[f], Value(Currency{})) << f;
    // The totals row keeps its number to itself.
    db().Execute("INSERT INTO DpB (SeqNum) VALUES (100)");
    EXPECT_EQ(db().Scalar("SELECT COUNT(*) FROM DpB").ToLong(), 1);

    EXPECT_EQ(db().Scalar("SELECT COUNT(*) FROM DpC").ToLong(), 0);
    EXPECT_EQ(db().Scalar("SELECT COUNT(*) FROM Worksheets WHERE (Item = 'DpA' AND ItemName = 'D  Part-A') "
                          "OR (Item = 'DpB' AND ItemName = 'D  Part-B') OR (Item = 'DpC' AND ItemName = 'D  Part-C')")
                  .ToLong(),
              3);
}

class CalcDpB : public CrfTest {};

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
        int seq = 0;
        for (const auto& l : c.lines)
            db().Execute("INSERT INTO DpB (SeqNum, LineNum, ExpAcct, Amount, AmtAllowable) VALUES (?, 5, 'X', ?, ?)",
                         {Value(++seq), value(l.amount), value(l.allowable)});
        Calc_DpB();
        seq = 0;
        for (const auto& l : c.lines)
            EXPECT_EQ(db().Scalar("SELECT NetAdj FROM DpB WHERE SeqNum = ?", {Value(++seq)}), value(l.netAdj))
                << "line " << seq;
        auto t = db().OpenRecordset("SELECT * FROM DpB WHERE SeqNum = 100");
        EXPECT_EQ(t["Amount"], value(c.totals.amount));
        EXPECT_EQ(t["AmtAllowable"], value(c.totals.allowable));
        EXPECT_EQ(t["NetAdj"], value(c.totals.netAdj));
    }
}

}  // namespace
}  // namespace vt::test
