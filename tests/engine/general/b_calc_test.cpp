#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/general/b.h"
#include "platform/db/db.h"
#include "store/report.h"
#include "tests/engine/general/b_sources.h"
#include "tests/support/crf_fixture.h"
#include "tests/support/db_checks.h"

namespace vt::test {
namespace {


Table Calculated() {
    return Rows("SELECT LineNum, Expenses, Reclassifications, TrialBalance, MedicareAdj, NetExpenses, "
                "DirectAlloc, FuncAlloc, PooledAlloc FROM B ORDER BY LineNum;");
}

// Columns: line, expenses (1), reclassifications (2), trial balance (3) =
// 1 + 2, Medicare adjustments (4), net expenses (5) = 3 + 4, direct (6) and
// functional (7) allocation, pooled (8) = 5 - 6 - 7 but 0 on lines 7-9.
// Reclassifications: B-1 increases less decreases; lines 7, 8, 9 lose B-2's
// insurance, taxes and other capital-related costs and lines 1, 2, 4, 5 gain
// B-2's shares of rows 1-4. Medicare adjustments: C's amounts (not line 15)
// less D Part B's net adjustments. Direct: E row 34 below 10, E-1 row 34
// above; functional: F Part I below 6, F-1 Part I above 10. Subtotals sum
// their group, line 100 the four subtotals.
Table SmallReportResult() {
    Table t = {
        // 1: +600 from B-2 row 1.            10000 + 600; 10600 - 1000 - 2000
        {"1", "10000", "600", "10600", "0", "10600", "1000", "2000", "7600"},
        {"1.01", "2000", "0", "2000", "0", "2000", "200", "400", "1400"},
        {"2", "5000", "300", "5300", "0", "5300", "500", "1000", "3800"},
        {"2.01", "0", "0", "0", "0", "0", "0", "0", "0"},
        {"3", "17000", "900", "17900", "0", "17900", "1700", "3400", "12800"},
        // 4: +300 from B-2 row 3; D Part B -(-100) = +100.
        {"4", "8000", "300", "8300", "100", "8400", "800", "1600", "6000"},
        {"4.01", "1000", "0", "1000", "0", "1000", "100", "200", "700"},
        {"5", "3000", "150", "3150", "0", "3150", "300", "600", "2250"},
        {"5.01", "500", "0", "500", "0", "500", "50", "100", "350"},
        {"6", "12500", "450", "12950", "100", "13050", "1250", "2500", "9300"},
        // 7, 8, 9: -900, -300, -150 to B-2; nothing pooled.
        {"7", "1200", "-900", "300", "0", "300", "120", "0", "0"},
        {"8", "400", "-300", "100", "0", "100", "40", "0", "0"},
        {"9", "300", "-150", "150", "0", "150", "30", "0", "0"},
        {"10", "1900", "-1350", "550", "0", "550", "190", "0", "0"},
        // 11: B-1 -100; C line 1 -1000; F-1 5000.   48900 - 5000
        {"11", "50000", "-100", "49900", "-1000", "48900", "0", "5000", "43900"},
        // 12: B-1 -500 and +Null; D Part B -200; E-1 3000.   29300 - 3000
        {"12", "30000", "-500", "29500", "-200", "29300", "3000", "0", "26300"},
        // 13: B-1 +250; C line 13 0; F-1 400.
        {"13", "4000", "250", "4250", "0", "4250", "0", "400", "3850"},
    };
    for (int line = 14; line <= 30; ++line) t.push_back({std::to_string(line), "0", "0", "0", "0", "0", "0", "0", "0"});
    // 30.01: B-1 +500; E-1's Null total stays Null and counts as 0.
    t.push_back({"30.01", "-700", "500", "-200", "0", "-200", "Null", "0", "-200"});
    // 32: C line 2 -300.
    t.push_back({"32", "100.45", "0", "100.45", "-300", "-199.55", "0", "0", "-199.55"});
    t.push_back({"36", "83400.45", "150", "83550.45", "-1500", "82050.45", "3000", "5400", "73650.45"});
    // 3 + 6 + 10 + 36.
    t.push_back({"100", "114800.45", "150", "114950.45", "-1400", "113550.45", "6140", "11300", "95750.45"});
    return t;
}

class CalcB : public CrfTest {};

// A second run gives the same figures.
TEST_F(CalcB, SmallReportEveryColumnOfEveryLine) {
    SmallReport();
    for (int run = 1; run <= 2; ++run) {
        Calc_B();
        EXPECT_EQ(Calculated(), SmallReportResult()) << "run " << run;
    }
    EXPECT_TRUE(ui.Messages().empty());
}

// Sums never wrap round and amounts past what the file keeps exactly are never
// written: the calculation stops naming the table (and line where known) and
// B is left as it was.
TEST_F(CalcB, AmountsPastTheLimitStopTheCalculationAndChangeNothing) {
    struct Case {
        double amount;  // on lines 1 and 11, written as another program could have
        const char* message;
    } const cases[] = {
        {500'000'000'000'000, "Overflow in table B: the amount 500,000,000,000,000.00 is past"},
        {60'000'000'000, "Overflow in table B, line 100: the amount 120,000,000,000.00 is past"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.amount);
        db().Execute("UPDATE B SET Expenses = ? WHERE LineNum IN (1, 11);", {Value(c.amount)});
        const Table before = Calculated();
        if (const auto e = OverflowOf(Calc_B)) {
            EXPECT_EQ(std::string(e->what()).substr(0, std::string(c.message).size()), c.message);
        }
        EXPECT_EQ(Calculated(), before);
    }
}

// Cost centre 8 removed from the list (and so from B and E): its share of
// B-2's taxes has no line to leave and reaches no other line.
TEST_F(CalcB, MissingLine8ChangesNoOtherLine) {
    SmallReport();
    DeleteCostCentreEverywhere(8);
    Calc_B();
    Table expected = SmallReportResult();
    for (auto it = expected.begin(); it != expected.end();) {
        if ((*it)[0] == "8") it = expected.erase(it);
        else if ((*it)[0] == "10") *it++ = {"10", "1500", "-1050", "450", "0", "450", "150", "0", "0"};
        else if ((*it)[0] == "100") *it++ = {"100", "114400.45", "450", "114850.45", "-1400", "113450.45", "6100", "11300", "95750.45"};
        else ++it;
    }
    EXPECT_EQ(Calculated(), expected);
}

// With line 11 gone the functional allocations of the non-capital lines start
// at the first line after the capital subtotal.
TEST_F(CalcB, MissingLine11StillAllocatesTheLaterLines) {
    DeleteCostCentreEverywhere(11);
    for (double cc : {12.0, 13.0}) AddChosenCCColumn("F1p1", Money(cc));
    SetGrandTotal("F1p1", Money(12), Cur(700));
    SetGrandTotal("F1p1", Money(13), Cur(400));
    Calc_B();
    EXPECT_EQ(Rows("SELECT LineNum, FuncAlloc FROM B WHERE FuncAlloc <> 0 ORDER BY LineNum;"),
              (Table{{"12", "700"}, {"13", "400"}, {"36", "1100"}, {"100", "1100"}}));
    EXPECT_EQ(Rows("SELECT COUNT(*) FROM B WHERE LineNum = 11;"), Table{{"0"}});
}

TEST_F(CalcB, MissingCapitalLineOrB2RowIsPassedOver) {
    db().Execute("UPDATE B2p3 SET Insurance=900, Taxes=300, CapRelated2=0 WHERE SeqNum=5;");
    db().Execute("UPDATE B2p3 SET Total1=600 WHERE SeqNum=1;");
    db().Execute("UPDATE B2p3 SET Total1=300 WHERE SeqNum=2;");
    db().Execute("UPDATE B2p3 SET Total1=200 WHERE SeqNum=3;");
    db().Execute("UPDATE B2p3 SET Total1=100 WHERE SeqNum=4;");
    // Both old movable-equipment centres gone (2.01 had become 2), and B-2's
    // row 4 with them: their shares have no line, and lines 1 and 5 keep
    // only their own.
    DeleteCostCentreEverywhere(2);
    DeleteCostCentreEverywhere(2);
    db().Execute("DELETE FROM B2p3 WHERE SeqNum = 4;");
    Calc_B();
    EXPECT_EQ(Rows("SELECT LineNum, Reclassifications FROM B WHERE Reclassifications <> 0 ORDER BY LineNum;"),
              (Table{{"1", "600"}, {"3", "600"}, {"4", "200"}, {"6", "200"}, {"7", "-900"}, {"8", "-300"},
                     {"10", "-1200"}, {"100", "-400"}}));
    EXPECT_EQ(Rows("SELECT PooledAlloc FROM B WHERE Int(LineNum) IN (7, 8, 9) AND PooledAlloc <> 0;"), Table{});
}

struct StopCase {
    const char* name;
    std::function<void()> arrange;
    std::string message;
    Table kept;  // LineNum and the column written before the stop
    const char* keptSql;
};

class CalcBStops : public CrfTest, public ::testing::WithParamInterface<int> {};

std::vector<StopCase> StopCases() {
    return {
        {"UpCostCentreMissing",
         [] {
             Db().Execute("INSERT INTO B1 (SeqNum,UpCCNum,UpAmount) VALUES (1,30.01,500),(2,31,50);");
         },
         "Invald Up Cost Center (31 in Worksheet B1. Calculation of Worksheet B has been aborted.",
         {{"30.01", "500"}},
         "SELECT LineNum, Reclassifications FROM B WHERE Reclassifications <> 0 ORDER BY LineNum;"},
        {"UpCostCentreIsASubtotalLine",
         [] { Db().Execute("INSERT INTO B1 (SeqNum,UpCCNum,UpAmount) VALUES (1,3,50);"); },
         "Invald Up Cost Center (3 in Worksheet B1. Calculation of Worksheet B has been aborted.",
         {},
         "SELECT LineNum, Reclassifications FROM B WHERE Reclassifications <> 0 ORDER BY LineNum;"},
        {"DownCostCentreMissing",
         [] {
             Db().Execute("INSERT INTO B1 (SeqNum,UpCCNum,UpAmount,DnCCNum,DnAmount) VALUES (1,12,500,31,500);");
         },
         "Invald Down Cost Center in Worksheet B1. Calculation of Worksheet B has been aborted.",
         {{"12", "500"}},
         "SELECT LineNum, Reclassifications FROM B WHERE Reclassifications <> 0 ORDER BY LineNum;"},
        {"CostCentreOfCMissing",
         [] {
             Db().Execute("UPDATE C SET Amount=-40, CCNum=12 WHERE LineNum=1;");
             Db().Execute("UPDATE C SET Amount=-10, CCNum=31 WHERE LineNum=2;");
         },
         "Invald Cost Center in Worksheet C. Calculation of Worksheet B has been aborted.",
         {{"12", "-40"}},
         "SELECT LineNum, MedicareAdj FROM B WHERE MedicareAdj <> 0 ORDER BY LineNum;"},
        {"CostCentreOfDpBMissing",
         [] {
             Db().Execute("INSERT INTO DpB (SeqNum,LineNum,NetAdj) VALUES (1,12,200),(2,31,5);");
         },
         "Invald Cost Center in Worksheet DpB. Calculation of Worksheet B has been aborted.",
         {{"12", "-200"}},
         "SELECT LineNum, MedicareAdj FROM B WHERE MedicareAdj <> 0 ORDER BY LineNum;"},
        {"RowZeroMissingFromE",
         [] { Db().Execute("DELETE FROM E WHERE SeqNum = 0;"); },
         "Row zero missing from E. Calculation of Worksheet B has been aborted.",
         {},
         "SELECT LineNum, DirectAlloc FROM B WHERE DirectAlloc <> 0 ORDER BY LineNum;"},
        // A sub-line added to B but not to E meets E's column 9.
        {"ColumnsOfEDoNotMatch",
         [] {
             SetGrandTotal("E", Currency::FromInt(1), Cur(1000));
             SetGrandTotal("E", Currency::FromInt(8), Cur(40));
             Db().Execute("INSERT INTO B (LineNum, CCNum, CCName, Expenses) VALUES (8.01, 8.01, 'Licenses', 0);");
         },
         "Columns in Worksheets E and Fp1 do not match the row in worksheet B.  "
         "Calculation of Worksheet B has been terminated.",
         {{"1", "1000"}, {"8", "40"}},
         "SELECT LineNum, DirectAlloc FROM B WHERE DirectAlloc <> 0 ORDER BY LineNum;"},
        {"RowZeroMissingFromE1",
         [] {
             SetGrandTotal("E", Currency::FromInt(9), Cur(30));
             Db().Execute("DELETE FROM E1 WHERE SeqNum = 0;");
         },
         "Row zero is missing from E1. Calculation of Worksheet B has been terminated.",
         {{"9", "30"}},
         "SELECT LineNum, DirectAlloc FROM B WHERE DirectAlloc <> 0 ORDER BY LineNum;"},
        {"RowZeroMissingFromF1p1",
         [] {
             AddChosenCCColumn("E1", Currency::FromInt(12));
             SetGrandTotal("E1", Currency::FromInt(12), Cur(3000));
             Db().Execute("DELETE FROM F1p1 WHERE SeqNum = 0;");
         },
         "Row zero is missing from F1p1. Calculation of Worksheet B has been terminated.",
         {{"12", "3000"}},
         "SELECT LineNum, DirectAlloc FROM B WHERE DirectAlloc <> 0 ORDER BY LineNum;"},
    };
}

TEST_P(CalcBStops, ShowsItsMessageAndKeepsWhatItWrote) {
    const StopCase c = StopCases()[GetParam()];
    SCOPED_TRACE(c.name);
    db().Execute("UPDATE B SET Expenses = 1000 WHERE LineNum = 12;");
    db().Execute("UPDATE B SET TrialBalance = 77, Expenses = 5 WHERE LineNum = 100;");
    c.arrange();
    ui.ExpectMessage();
    Calc_B();
    EXPECT_EQ(ui.Messages(), (std::vector<ShownMessage>{{c.message, 0, ""}}));
    EXPECT_EQ(Rows(c.keptSql), c.kept);
    // Nothing after the stop: the columns stay cleared and the total lines'
    // expenses keep the last complete run's values.
    EXPECT_EQ(Rows("SELECT COUNT(*) FROM B WHERE TrialBalance <> 0 OR NetExpenses <> 0 OR PooledAlloc <> 0;"),
              Table{{"0"}});
    EXPECT_EQ(Rows("SELECT Expenses FROM B WHERE LineNum = 100;"), Table{{"5"}});
}

INSTANTIATE_TEST_SUITE_P(EachSource, CalcBStops, ::testing::Range(0, static_cast<int>(StopCases().size())),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(StopCases()[info.param].name);
                         });

}  // namespace
}  // namespace vt::test
