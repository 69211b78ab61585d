// Worksheet I: the calculation against worksheet B's total expenses, and the print.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/general/b.h"
#include "engine/general/i.h"
#include "store/services.h"
#include "tests/engine/general/general_fixture.h"

namespace vt::test {
namespace {

class CalcI : public LaterSheetPrintTest {
protected:
    void SetUp() override {
        LaterSheetPrintTest::SetUp();
        // Worksheet B, whose line 100 holds the total expenses.
        if (!Table_Exists("B")) Build_B();
        // Revenue 1,000, other income 30 and 20, other expenses 10; B's total 800.
        for (auto [seq, amount] : std::vector<std::pair<double, double>>{{1, 1000}, {4.01, 30}, {4.02, 20}, {6, 10}})
            Enter(seq, amount);
        db().Execute("UPDATE B SET Expenses = 800 WHERE LineNum = 100");
    }
    void Enter(double seq, std::optional<double> amount) {
        const Value v = amount ? Value(Money(*amount)) : Value::Null();
        if (db().Execute("UPDATE I SET Col_1 = ? WHERE SeqNum = ?", {v, Value(Money(seq))}) == 0)
            db().Execute("INSERT INTO I (SeqNum, Description, Col_1) VALUES (?, 'Added', ?)", {Value(Money(seq)), v});
    }
    std::vector<double> Computed() {
        std::vector<double> out;
        for (auto rs = db().OpenRecordset("SELECT Col_2 FROM I WHERE SeqNum IN (2,3,5,7,8) ORDER BY SeqNum");
             !rs.Eof(); rs.MoveNext())
            out.push_back(rs["Col_2"].ToDouble());
        return out;
    }
};

TEST_F(CalcI, WorkedCases) {
    struct Case {
        const char* name;
        std::function<void()> change;
        std::vector<double> lines2to8;  // lines 2, 3, 5, 7, 8
    };
    const std::vector<Case> cases = {
        {"worked example", [] {}, {800, 200, 50, 10, 240}},
        {"items beyond the form's own", [&] { Enter(4.09, 5), Enter(6.01, 7); }, {800, 200, 55, 17, 238}},
        {"empty amounts count as 0",
         [&] { Enter(4.02, {}), Enter(6, {}), db().Execute("UPDATE B SET Expenses = NULL WHERE LineNum = 100"); },
         {0, 1000, 30, 0, 1030}},
        {"B without its total line", [&] { db().Execute("DELETE FROM B WHERE LineNum = 100"); },
         {0, 1000, 50, 10, 1040}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        db::Transaction undoneAfterTheCase(db());
        c.change();
        Calc_I();
        EXPECT_EQ(Computed(), c.lines2to8);
        EXPECT_TRUE(db().Scalar("SELECT Col_2 FROM I WHERE SeqNum = 1").IsNull());
    }
}

using PrintI = CalcI;

TEST_F(PrintI, CalculatedSheet) {
    Enter(4.05, 1234567);
    Enter(6.01, 0);  // a user's line: its description where line 4.09's is
    Calc_I();
    Printed(Print_I, "I.prt");
    ExpectGolden("I.prt", "I_calculated.prt");
}

}  // namespace
}  // namespace vt::test
