// Worksheets F and F-1: statistics to unit cost multipliers to allocated
// amounts, whole dollars with the rounding difference on one component.
#include <optional>
#include <utility>

#include "engine/chain/f.h"
#include "engine/chain/f1.h"
#include "store/report.h"
#include "tests/engine/chain/chain_fixture.h"
#include "tests/support/db_checks.h"

namespace vt::test {
namespace {

using Cells = std::vector<std::pair<double, std::optional<double>>>;  // SeqNum, value (nullopt: Null)

// Component rows of the report below: A Part III lines 1-3 (rows 1, 2, 3),
// Part IV line 1 and its own line 9 (rows 19, 27), Part V line 1 (row 29).
const double kComponentRows[] = {1, 2, 3, 19, 27, 29};

struct AllocationCase {
    const char* name;
    Cells statistics;             // rows not named hold 0
    std::optional<double> cost;   // row 35
    double statisticsTotal;       // Part II row 34, "(A)"
    double multiplier;            // Part II row 36
    Cells allocated;              // Part I; rows not named get 0
    double bands[4];              // Part I rows 18, 28, 33, 34
};

// Worked by hand: allocation = Int(statistic * multiplier + 0.5); when the sum
// differs from the cost, the row holding the allocation of the largest
// magnitude (the largest value on a tie, the first row of equal ones) takes it.
const AllocationCase kCases[] = {
    // 100 / 3 = 33.333333; 33 + 33 + 33 = 99; all hold 33, row 1 takes the dollar.
    {"three equal statistics", {{1, 1}, {2, 1}, {3, 1}}, 100, 3, 33.333333,
     {{1, 34}, {2, 33}, {3, 33}}, {100, 0, 0, 100}},
    // Multiplier 0, every allocation 0: the whole cost goes to row 1.
    {"no statistics", {}, 500, 0, 0, {{1, 500}}, {500, 0, 0, 500}},
    // A = -24 + 10 + 1 = -13, -6.5 / -13 = 0.5: -12, 5, 1 (0.5 rounds up), sum -6;
    // |-12| > 5, so row 1 takes the -0.5.
    {"negative allocation of the larger magnitude", {{1, -24}, {19, 10}, {29, 1}}, -6.5, -13, 0.5,
     {{1, -12.5}, {19, 5}, {29, 1}}, {-12.5, 5, 1, -6.5}},
    // A = 1, multiplier 1.5: -18 (Int(-17.5)), 18 (Int(18.5)), 2 (Int(2)), sum 2;
    // |-18| is not greater than 18, so row 2 takes the -0.5.
    {"negative as large as the largest", {{1, -12}, {2, 12}, {19, 1}}, 1.5, 1, 1.5,
     {{1, -18}, {2, 17.5}, {19, 2}}, {-0.5, 2, 0, 1.5}},
    // Multiplier 0.5: 2.5 gives 3, -2.5 gives -2, 0.5 gives 1; sum 2, cost 0.5:
    // row 1 (3, the largest) takes -1.5.
    {"halves round up", {{1, 5}, {2, -5}, {3, 1}}, 0.5, 1, 0.5,
     {{1, 1.5}, {2, -2}, {3, 1}}, {0.5, 0, 0, 0.5}},
    // 1000.50 / 3 = 333.5: 334 each, sum 1002; row 1 takes -1.50 and keeps the cents.
    {"cost with cents", {{1, 1}, {2, 1}, {3, 1}}, 1000.5, 3, 333.5,
     {{1, 332.5}, {2, 334}, {3, 334}}, {1000.5, 0, 0, 1000.5}},
    // 100 / 7 = 14.285714: 42.857142 gives 43, 57.142856 gives 57; sum 100, nothing moves.
    {"allocations already add up", {{1, 3}, {19, 4}}, 100, 7, 14.285714,
     {{1, 43}, {19, 57}}, {43, 57, 0, 100}},
    // Row 27 (A Part IV's line 9) is in the band row 28 totals.
    {"row 27 belongs to band 28", {{27, 2}, {29, 2}}, 10, 4, 2.5, {{27, 5}, {29, 5}}, {0, 5, 5, 10}},
    // 0.99999 is held as 1 (4 decimals): multiplier 100, 33.333 gives 33 each.
    {"statistics totals to 4 decimals", {{1, 0.33333}, {2, 0.33333}, {3, 0.33333}}, 100, 1, 100,
     {{1, 34}, {2, 33}, {3, 33}}, {100, 0, 0, 100}},
    // A Null cost allocates nothing, in F-1 as in F.
    {"Null cost", {{1, 1}, {2, 1}}, std::nullopt, 2, 0, {}, {0, 0, 0, 0}},
    // A Null statistic adds nothing to A = 2 and gets no allocation: 1.5 gives 2
    // twice, sum 4; row 2 takes -1.
    {"Null statistic", {{1, std::nullopt}, {2, 1}, {3, 1}}, 3, 2, 1.5,
     {{1, std::nullopt}, {2, 1}, {3, 2}}, {3, 0, 0, 3}},
    // The multiplier is kept as its 15-digit text reads: 322095.7265 / 8 is
    // 40261.965813, not the Double a digit below it; 322096 on row 1, which
    // takes the -0.2735.
    {"multiplier as its text", {{1, 8}}, 322095.7265, 8, 40261.965813, {{1, 322095.7265}},
     {322095.7265, 0, 0, 322095.7265}},
    // 22000000010.9999 / 22 rounds to 1000000000.499996, whose text is
    // 1000000000.5: row 1 gets 1000000001 (not 1000000000), row 2
    // 21000000011, sum 22000000012; row 2 takes -1.0001.
    {"multiplier past ten digits", {{1, 1}, {2, 21}}, 22000000010.9999, 22, 1000000000.5,
     {{1, 1000000001}, {2, 21000000009.9999}}, {22000000010.9999, 0, 0, 22000000010.9999}},
};

struct Worksheet {
    const char* name;
    const char* statistics;
    const char* allocation;
    const char* total;  // F-1's total column in both parts
    void (*calcPart2)();
    void (*calcPart1)();
};
const Worksheet kF{"F", "Fp2", "Fp1", nullptr, Calc_Fp2, Calc_Fp1};
const Worksheet kF1{"F-1", "F1p2", "F1p1", "Col_2", Calc_F1p2, Calc_F1p1};

class Allocation : public ChainTest {
protected:
    void SetUp() override {
        ChainTest::SetUp();
        for (const auto& [part, line, name] : {std::tuple{3, 1, "North"}, {3, 2, "South"}, {3, 3, "East"},
                                               {4, 1, "Laundry"}, {5, 1, "Region One"}})
            AddA(part, line, name);
        RebuildAll();
    }

    static Value Number(std::optional<double> v) { return v ? Value(*v) : Value::Null(); }

    void ExpectCell(const std::string& sheet, double seq, const std::string& field, std::optional<double> want) {
        const Value v = Cell(sheet, seq, field);
        if (!want) EXPECT_TRUE(v.IsNull()) << sheet << " row " << seq << " " << field;
        else EXPECT_EQ(v.IsNull() ? -999999.0 : v.ToDouble(), *want) << sheet << " row " << seq << " " << field;
    }

    void ExpectCells(const std::string& sheet, const std::string& field, const Cells& cells) {
        for (const auto& [seq, v] : cells) ExpectCell(sheet, seq, field, v);
    }
    void SetCells(const std::string& sheet, const std::string& field, const Cells& cells) {
        for (const auto& [seq, v] : cells) SetCell(sheet, seq, field, Number(v));
    }

    static std::optional<double> Named(const Cells& cells, double seq, std::optional<double> otherwise) {
        for (const auto& [s, v] : cells)
            if (s == seq) return v;
        return otherwise;
    }

    void Run(const Worksheet& w, const AllocationCase& c) {
        SCOPED_TRACE(std::string(w.name) + ": " + c.name);
        db().Begin();
        SetCells(w.statistics, "Col_1", c.statistics);
        SetCell(w.statistics, 35, "Col_1", Number(c.cost));
        w.calcPart2();
        w.calcPart1();
        ExpectCells(w.statistics, "Col_1", {{34, c.statisticsTotal}, {36, c.multiplier}});
        for (double seq : kComponentRows) {
            const auto want = Named(c.allocated, seq, 0.0);
            ExpectCell(w.allocation, seq, "Col_1", want);
            if (w.total) ExpectCell(w.allocation, seq, w.total, want);
        }
        const double bandRows[] = {18, 28, 33, 34};
        for (int i = 0; i < 4; ++i) {
            ExpectCell(w.allocation, bandRows[i], "Col_1", c.bands[i]);
            if (w.total) ExpectCell(w.allocation, bandRows[i], w.total, c.bands[i]);
        }
        db().Rollback();
    }
};

TEST_F(Allocation, WorkedCasesOfF) {
    for (const auto& c : kCases) Run(kF, c);
}

TEST_F(Allocation, WorkedCasesOfF1) {
    AddF1Column(C(11));
    for (const auto& c : kCases) Run(kF1, c);
}

TEST_F(Allocation, EachColumnOfFIsAllocatedByItsOwnStatistics) {
    SetCells("Fp2", "Col_1", {{1, 1}, {35, 400}});
    SetCells("Fp2", "Col_8", {{2, 2}, {29, 2}, {35, 99}});
    Calc_Fp2();
    Calc_Fp1();
    // Col_8: A = 4, 24.75 each, Int(50) = 50 twice, sum 100; row 2 takes -1.
    ExpectCell("Fp2", 36, "Col_8", 24.75);
    ExpectCells("Fp1", "Col_8", {{2, 49}, {29, 50}, {34, 99}, {0, 5.01}});
    ExpectCell("Fp1", 1, "Col_1", 400);
    ExpectCell("Fp1", 34, "Col_7", 0);
}

// Statistics whose band total the sheet cannot keep stop Part II naming the
// total's line, and leave the sheet as it was.
TEST_F(Allocation, ABandTotalPastTheLimitStopsNamingItsLine) {
    const struct {
        double statistic;     // on rows 1 and 2, as another program could have stored it
        const char* amount;   // "" when too large to be an amount at all
    } cases[] = {{60'000'000'000, "120,000,000,000.00"}, {1e300, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.statistic);
        SetCells("Fp2", "Col_1", {{1, c.statistic}, {2, c.statistic}});
        const Table before = Rows("SELECT * FROM Fp2 ORDER BY SeqNum;");
        const auto e = OverflowOf(Calc_Fp2);
        ASSERT_TRUE(e);
        EXPECT_EQ(std::tuple(e->Table(), e->Line(), e->Amount()), std::tuple("Fp2", "18", std::string(c.amount)));
        EXPECT_EQ(Rows("SELECT * FROM Fp2 ORDER BY SeqNum;"), before);
    }
}

// Part II's calculation undone (its multipliers left empty) stops Part I,
// naming the sheet and the column, before a share is written: each column's
// whole cost would otherwise land on its first component.
TEST_F(Allocation, AnEmptyMultiplierStopsPartINamingTheColumnAndWritesNothing) {
    AddF1Column(C(11));
    const std::pair<const Worksheet*, const char*> sheets[] = {{&kF, "1.01"}, {&kF1, "11"}};
    for (const auto& [w, column] : sheets) {
        SCOPED_TRACE(w->name);
        const std::string field = w == &kF ? "Col_2" : "Col_1";
        SetCells(w->statistics, field, {{1, 1}, {2, 1}, {35, 10}});
        w->calcPart2();
        SetCell(w->statistics, 36, field, Value::Null());
        SetCell(w->allocation, 1, field, Value(4.0));  // a previous run's share
        const Table before = Rows(std::string("SELECT * FROM ") + w->allocation + " ORDER BY SeqNum;");
        try {
            w->calcPart1();
            ADD_FAILURE() << "Part I was calculated without its multiplier";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()),
                      std::string("Worksheet ") + w->name + " Part I cannot be calculated: column " + column +
                          " of Worksheet " + w->name +
                          " Part II has no unit cost multiplier, as Part II was not calculated. Nothing of Part I "
                          "has been changed.");
        }
        EXPECT_EQ(Rows(std::string("SELECT * FROM ") + w->allocation + " ORDER BY SeqNum;"), before);
    }
}

// Part II failing stops Part I, which keeps its figures (F's multipliers are an
// earlier calculation's, F-1's new column's 0) until Part II is calculated again.
TEST_F(Allocation, AFailedPartIIStopsPartIWhichKeepsItsFigures) {
    AddF1Column(C(11));
    AddF1Column(C(12));
    for (const auto& [w, calculatedBefore] : {std::pair{&kF, true}, std::pair{&kF1, false}}) {
        SCOPED_TRACE(w->name);
        const std::string allocation = std::string("SELECT * FROM ") + w->allocation + " ORDER BY SeqNum;";
        SetCells(w->statistics, "Col_1", {{1, 1}, {2, 3}, {35, 100}});
        if (calculatedBefore) {
            w->calcPart2();
            w->calcPart1();
        }
        SetCells(w->statistics, "Col_1", {{35, 1000}});
        SetCells(w->statistics, "Col_2", {{1, 1e15}});
        const Table before = Rows(allocation);
        EXPECT_TRUE(OverflowOf(w->calcPart2));
        std::string refusal;
        try { w->calcPart1(); } catch (const std::runtime_error& e) { refusal = e.what(); }
        EXPECT_EQ(refusal, std::string("Worksheet ") + w->name + " Part I cannot be calculated: Worksheet " + w->name +
                               " Part II failed in this calculation, so its unit cost multipliers are an earlier "
                               "calculation's. Nothing of Part I has been changed.");
        EXPECT_EQ(Rows(allocation), before);
        SetCells(w->statistics, "Col_2", {{1, 0}});
        w->calcPart2();
        w->calcPart1();
        ExpectCells(w->allocation, "Col_1", {{1, 250}, {2, 750}});
    }
}

TEST_F(Allocation, ACostWithNoStatisticAtAllIsReportedAndTheLaterColumnsAreStillCalculated) {
    AddF1Column(C(11));
    AddF1Column(C(12));
    for (const char* sheet : {"Fp2", "F1p2"}) {
        SCOPED_TRACE(sheet);
        for (double seq : kComponentRows) SetCell(sheet, seq, "Col_1", Value::Null());
        SetCell(sheet, 35, "Col_1", Value(250.0));
        SetCells(sheet, "Col_2", {{1, 1}, {35, 10}});
    }
    SetCell("F1p1", 34, "Col_3", Value(777.0));  // a previous run's total
    Calc_Fp2();
    Calc_F1p2();
    ui.ExpectMessage();
    ui.ExpectMessage();
    Calc_Fp1();
    Calc_F1p1();
    const std::string tail = " cannot be allocated: no component has a statistic in that column.";
    EXPECT_EQ(ui.Prompts(), (std::vector<std::string>{
                                "The cost to be allocated in column 1 of worksheet F" + tail,
                                "The cost to be allocated in column 11 of worksheet F-1" + tail}));
    for (const char* part : {"Fp1", "F1p1"}) {
        SCOPED_TRACE(part);
        ExpectCells(part, "Col_1", {{1, std::nullopt}, {34, 0}});
        ExpectCells(part, "Col_2", {{1, 10}, {34, 10}});
    }
    ExpectCell("F1p1", 34, "Col_3", 10);
}

TEST_F(Allocation, F1TotalColumnsSumTheCostCentreColumns) {
    AddF1Column(C(12));
    AddF1Column(C(11));
    SetCells("F1p2", "Col_1", {{1, 1}, {19, 2}, {35, 1}});              // 11: A = 3, multiplier 0.333333
    SetCells("F1p2", "Col_2", {{2, 2}, {3, std::nullopt}, {35, 1}});     // 12: A = 2, multiplier 0.5
    Calc_F1p2();
    Calc_F1p1();
    // Part II: the total column of row 36 is the sum of the multipliers, to 6 places.
    ExpectCell("F1p2", 36, "Col_1", 0.333333);
    ExpectCell("F1p2", 36, "Col_2", 0.5);
    EXPECT_NEAR(Cell("F1p2", 36, "Col_3").ToDouble(), 0.833333, 1e-12);
    ExpectCells("F1p2", "Col_3", {{35, 2}, {34, 5}, {3, std::nullopt}, {0, std::nullopt}});
    // Part I, Col_1: 0.333333 -> 0, 0.666666 -> 1; sum 1 = cost. Col_2: 1 on row 2.
    ExpectCells("F1p1", "Col_1", {{1, 0}, {19, 1}, {34, 1}, {0, 11}});
    ExpectCells("F1p1", "Col_2", {{2, 1}, {34, 1}, {0, 12}});
    // A Null cell (row 3) makes the row's total Null.
    ExpectCells("F1p1", "Col_3", {{1, 0}, {2, 1}, {3, std::nullopt}, {19, 1}, {34, 2}});
}

TEST_F(Allocation, F1WithItsTotalColumnAloneGetsZeroTotals) {
    Calc_F1p2();
    Calc_F1p1();
    for (double seq : {1.0, 18.0, 19.0, 27.0, 29.0, 34.0, 35.0, 36.0}) ExpectCell("F1p2", seq, "Col_1", 0);
    for (double seq : {1.0, 18.0, 19.0, 27.0, 29.0, 34.0}) ExpectCell("F1p1", seq, "Col_1", 0);
    for (const char* part : {"F1p2", "F1p1"}) ExpectCell(part, 0, "Col_1", std::nullopt);
}

// Statistics are Doubles: their row totals keep the very double SQL's
// addition gives, left to right, with nothing rounded away.
TEST_F(Allocation, F1StatisticsTotalsAreTheSumsSqlGives) {
    AddF1Column(C(11));
    AddF1Column(C(12));
    AddF1Column(C(13));
    SetCells("F1p2", "Col_1", {{1, 0.1}, {2, 0.7}});
    SetCells("F1p2", "Col_2", {{1, 0.2}, {2, 0.1}});
    SetCells("F1p2", "Col_3", {{1, 0.3}, {2, 0.2}});
    Calc_F1p2();
    for (double seq : {1.0, 2.0, 18.0, 36.0}) {
        SCOPED_TRACE(seq);
        const Value sql = db().Scalar("SELECT Col_1 + Col_2 + Col_3 FROM F1p2 WHERE SeqNum = ?", {Value(seq)});
        EXPECT_EQ(Cell("F1p2", seq, "Col_4").ToDouble(), sql.ToDouble());
    }
    EXPECT_EQ(Cell("F1p2", 1, "Col_4").ToDouble(), 0.1 + 0.2 + 0.3);
    EXPECT_NE(Cell("F1p2", 1, "Col_4").ToDouble(), 0.6);
}

}  // namespace
}  // namespace vt::test
