// Worksheet G: the value columns of Parts I and II, the division of B's pooled
// costs over Part I's three lines, and of those lines (or of B's pooled costs)
// over the components of Part II.
#include <cmath>
#include <optional>

#include "engine/chain/component_sheet.h"
#include "engine/chain/g.h"
#include "engine/general/b.h"
#include "store/new_crf.h"
#include "store/report.h"
#include "store/services.h"
#include "tests/engine/chain/chain_fixture.h"
#include "tests/support/db_checks.h"

namespace vt::test {
namespace {

// Value columns of the standard cost-centre list.
enum StdCol { k1 = 1, k1_01, k2, k2_01, k4, k4_01, k5, k5_01, kNonCapital, k30, k30_01, kStdColumns = 11 };

std::string Col(int k) { return "Col_" + std::to_string(k); }

class GSheets : public ChainTest {
protected:
    void Pooled(double line, double amount) {
        EXPECT_EQ(db().Execute("UPDATE B SET PooledAlloc = ? WHERE LineNum = ?", {Value(C(amount)), Value(C(line))}), 1)
            << "B line " << line;
    }
    void TotalCost(const std::string& sheet, double seq, std::optional<double> v) {
        SetCell(sheet, seq, "TotalCost", v ? Value(C(*v)) : Value::Null());
    }
    void Part1Costs(double a, double b, double c) {
        for (auto [line, v] : {std::pair{1, a}, {2, b}, {3, c}}) TotalCost("Gp1", line, v);
    }
    Currency At(const std::string& sheet, double seq, int col) {
        const Value v = Cell(sheet, seq, Col(col));
        EXPECT_FALSE(v.IsNull()) << sheet << " row " << seq << " " << Col(col);
        return v.IsNull() ? Currency{} : v.ToCurrency();
    }
    double RatioAt(const std::string& sheet, double seq) { return Nz_Num(Cell(sheet, seq, "Ratio")).ToDouble(); }
    // Hand-worked figures, {SeqNum, value} each.
    using Figures = std::initializer_list<std::pair<double, double>>;
    void ExpectCol(const std::string& sheet, int k, Figures cells) {
        for (const auto& [seq, v] : cells) EXPECT_EQ(At(sheet, seq, k), C(v)) << sheet << " row " << seq << " " << Col(k);
    }
    void ExpectRatios(const std::string& sheet, Figures ratios) {
        for (const auto& [seq, v] : ratios) EXPECT_DOUBLE_EQ(RatioAt(sheet, seq), v) << sheet << " row " << seq;
    }
    void ExpectTotalCosts(const std::string& sheet, Figures costs) {
        for (const auto& [seq, v] : costs) EXPECT_EQ(Cell(sheet, seq, "TotalCost").ToCurrency(), C(v)) << "row " << seq;
    }
    // Part I has no component rows and so no place among the component sheets.
    void RebuildGp1() {
        db().DropTable("Gp1");
        Build_Gp1();
    }
    void RestoreCostCentresAndB() {
        db::Transaction tx(db());
        db().DropTable("CostCenters");
        Build_CostCenters();
        Close_CC_Recordset();
        db().DropTable("B");
        Build_B();
        tx.Commit();
    }
    int ValueColumns(const std::string& sheet) { return static_cast<int>(FieldNames(sheet).size()) - 5; }

    // Lines 1-3 of Part I add up to line 4 in every column.
    void ExpectPart1AddsUp() {
        for (int k = 1; k <= ValueColumns("Gp1"); ++k)
            EXPECT_EQ(At("Gp1", 1, k) + At("Gp1", 2, k) + At("Gp1", 3, k), At("Gp1", 4, k)) << Col(k);
    }
    // In Part I mode each band of Part II adds up to its band total, which is
    // its line of Part I, and every band's ratios to exactly 1.
    void ExpectPart2AddsUpToPart1() {
        const std::array<std::pair<double, double>, 3> bands = {{{1, 18}, {19, 28}, {29, 33}}};
        for (size_t b = 0; b < bands.size(); ++b) {
            const auto [low, total] = bands[b];
            std::vector<Currency> seqs;
            for (const Currency s : SeqNums("Gp2"))
                if (s >= C(low) && s < C(total)) seqs.push_back(s);
            double ratios = 0;
            for (const Currency s : seqs) ratios += RatioAt("Gp2", s.ToDouble());
            if (seqs.empty()) continue;
            EXPECT_NEAR(ratios, 1.0, 1e-9) << "band " << b + 1;
            for (int k = 1; k <= ValueColumns("Gp2"); ++k) {
                Currency sum;
                for (const Currency s : seqs) sum += At("Gp2", s.ToDouble(), k);
                EXPECT_EQ(sum, At("Gp2", total, k)) << "band " << b + 1 << " " << Col(k);
                EXPECT_EQ(At("Gp2", total, k), At("Gp1", static_cast<double>(b + 1), k)) << "band " << b + 1;
                EXPECT_EQ(At("Gp2", 34, k), At("Gp1", 4, k)) << Col(k);
            }
        }
    }
};

// ---- Building ----

class BuildG : public GSheets {};

struct ColumnCase {
    const char* name;
    const char* dropped;               // cost centres taken off the list first
    std::vector<Currency> row0;        // of the value columns, in order
};

TEST_F(BuildG, ValueColumnsFollowTheCostCentreList) {
    const ColumnCase cases[] = {
        {"standard list", "", Currencies({1, 1.01, 2, 2.01, 4, 4.01, 5, 5.01, 0, 30, 30.01})},
        {"without interest the Non-Capital column is last", "30,30.01", Currencies({1, 1.01, 2, 2.01, 4, 4.01, 5, 5.01, 0})},
        {"without capital cost centres", "1,1.01,2,2.01,4,4.01,5,5.01", Currencies({0, 30, 30.01})},
        {"no cost centre at all: no value column", "1,1.01,2,2.01,4,4.01,5,5.01,30,30.01", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (*c.dropped) db().Execute(std::string("DELETE FROM CostCenters WHERE CCNum IN (") + c.dropped + ")");
        for (const char* sheet : {"Gp1", "Gp2"}) {
            db().DropTable(sheet);
            if (std::string(sheet) == "Gp1") Build_Gp1();
            else Build_Gp2();
            EXPECT_EQ(Row0(sheet, 5), c.row0) << sheet;
            const auto names = FieldNames(sheet);
            ASSERT_GE(names.size(), 5u);
            EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 5),
                      (std::vector<std::string>{"SeqNum", "LineNum", "Component", "TotalCost", "Ratio"}));
            EXPECT_EQ(names.size(), 5 + c.row0.size()) << sheet;
        }
        RestoreCostCentresAndB();
    }
}

TEST_F(BuildG, PartIIFollowsWorksheetAWithoutARow27OfItsOwn) {
    SeedComponents();
    db().Execute("UPDATE Ap3 SET Component = Null WHERE LineNum = 3");
    db().Execute("DELETE FROM Ap4 WHERE LineNum = 9");
    Rebuild("Gp2");
    EXPECT_EQ(SeqNums("Gp2"), Currencies({0, 1, 2, 3, 3.01, 17, 18, 19, 20, 26, 28, 29, 30, 32, 32.01, 33, 34}));
    EXPECT_EQ(Rows("SELECT SeqNum, LineNum, Component, TotalCost, Col_1 FROM Gp2 WHERE SeqNum IN (3, 20, 26, 28, 32.01, 34) "
                   "ORDER BY SeqNum;"),
              (Table{{"3", "3", " ", "0", "Null"}, {"20", "2", "Pharmacy", "0", "Null"}, {"26", "8", "Supply", "0", "Null"},
                     {"28", "0", "Total (lines 19-27)", "Null", "Null"}, {"32.01", "4.01", "Region Four A", "0", "Null"},
                     {"34", "0", "Grand Total", "Null", "Null"}}));
}

TEST_F(BuildG, PartIIIsRepairedWithTheUsersTotalCosts) {
    SeedComponents();
    TotalCost("Gp2", 2, 250);
    TotalCost("Gp2", 30, 75);
    db().Execute("DELETE FROM Gp2 WHERE SeqNum = 3.01");
    ui.AllowMessages();
    EXPECT_FALSE(Check_Component_Sheets());
    EXPECT_TRUE(Table_Exists("Bad_Gp2"));
    EXPECT_EQ(Cell("Gp2", 2, "TotalCost").ToCurrency(), C(250));
    EXPECT_EQ(Cell("Gp2", 30, "TotalCost").ToCurrency(), C(75));
    EXPECT_EQ(Cell("Gp2", 3.01, "Component"), Value("Mercy West"));
    EXPECT_TRUE(Check_Component_Sheets());
}

// ---- Part I ----

class CalcGp1 : public GSheets {};

struct ShareCase {
    const char* name;
    std::array<double, 3> costs;
    double pooled;
    std::array<double, 3> ratios;
    std::array<double, 3> cells;
};

TEST_F(CalcGp1, SharesFollowTheTotalCostsAndTheLargestTakesTheRoundingDifference) {
    const ShareCase cases[] = {
        {"no difference", {100, 200, 300}, 100, {0.166667, 0.333333, 0.5}, {17, 33, 50}},
        {"one over: 17 + 34 + 51", {100, 200, 300}, 101, {0.166667, 0.333333, 0.5}, {17, 34, 50}},
        {"one short, equal cells: the first", {1, 1, 1}, 100, {0.333333, 0.333333, 0.333333}, {34, 33, 33}},
        {"negative amounts", {100, 200, 300}, -101, {0.166667, 0.333333, 0.5}, {-17, -34, -50}},
        {"a negative total cost", {-100, 300, 0}, 1000, {-0.5, 1.5, 0}, {-500, 1500, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Part1Costs(c.costs[0], c.costs[1], c.costs[2]);
        Pooled(2, c.pooled);
        Calc_Gp1();
        for (int line = 1; line <= 3; ++line) {
            EXPECT_DOUBLE_EQ(RatioAt("Gp1", line), c.ratios[line - 1]) << "line " << line;
            EXPECT_EQ(At("Gp1", line, k2), C(c.cells[line - 1])) << "line " << line;
            EXPECT_EQ(At("Gp1", line, k1), C(0)) << "line " << line;
        }
        EXPECT_DOUBLE_EQ(RatioAt("Gp1", 4), 1);
        EXPECT_EQ(Cell("Gp1", 4, "TotalCost").ToCurrency(), C(c.costs[0] + c.costs[1] + c.costs[2]));
        EXPECT_EQ(At("Gp1", 4, k2), C(c.pooled));
    }
}

// Line 4 holds the total of lines 1-3; past what the file keeps exactly it
// stops the calculation with its line, and Part I is left as it was.
TEST_F(CalcGp1, ATotalPastTheLimitStopsNamingLine4AndChangesNothing) {
    Part1Costs(60'000'000'000, 60'000'000'000, 0);
    Pooled(2, 100);
    const Table before = Rows("SELECT * FROM Gp1 ORDER BY SeqNum;");
    const auto e = OverflowOf(Calc_Gp1);
    ASSERT_TRUE(e);
    EXPECT_EQ(std::tuple(e->Table(), e->Line(), e->Amount()), std::tuple("Gp1", "4", "120,000,000,000.00"));
    EXPECT_EQ(Rows("SELECT * FROM Gp1 ORDER BY SeqNum;"), before);
}

TEST_F(CalcGp1, PooledCostsOfBGoToTheirColumns) {
    Part1Costs(1, 2, 7);
    for (const auto& [line, amount] : {std::pair<double, double>{1, 1000}, {1.01, 101}, {2.01, 21}, {4.01, 40},
                                       {5, 50}, {5.01, 60},
                                       {7, 7000}, {8, 8000}, {9, 9000}, {10, 10000},  // no column of their own; a total
                                       {11, 1100}, {23, 230}, {32, 320},              // non-capital
                                       {30, 3000}, {30.01, -300},  // interest: its own column and the non-capital
                                       {36, 36000}, {100, 100000}})                   // totals
        Pooled(line, amount);
    Calc_Gp1();
    // Column 5.01 has only B line 5.01, not 4.01 and 5.01 together.
    const double line4[] = {1000, 101, 0, 21, 0, 40, 50, 60, 1100 + 230 + 320 + 3000 - 300, 3000, -300};
    for (int k = k1; k <= kStdColumns; ++k) EXPECT_EQ(At("Gp1", 4, k), C(line4[k - 1])) << Col(k);
    ExpectPart1AddsUp();
}

struct CancelCase {
    const char* name;
    std::array<std::optional<double>, 3> costs;
};

TEST_F(CalcGp1, NoTotalCostLeavesTheEnteredCostsAndClearsTheRest) {
    const CancelCase cases[] = {
        {"costs that cancel out", {100, -100, std::nullopt}},
        {"no costs", {0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Part1Costs(10, 20, 30);
        Pooled(1, 600);
        Calc_Gp1();
        ASSERT_EQ(At("Gp1", 3, k1), C(300));
        // B is not compared: a sheet that disagrees with it says nothing.
        db().Execute("DELETE FROM B WHERE LineNum = 1.01");
        for (int line = 1; line <= 3; ++line) TotalCost("Gp1", line, c.costs[line - 1]);
        Calc_Gp1();
        for (int line = 1; line <= 3; ++line) {
            const Value tc = Cell("Gp1", line, "TotalCost");
            if (c.costs[line - 1]) EXPECT_EQ(tc.ToCurrency(), C(*c.costs[line - 1])) << "line " << line;
            else EXPECT_TRUE(tc.IsNull()) << "line " << line;
        }
        for (int line = 1; line <= 4; ++line) {
            EXPECT_EQ(RatioAt("Gp1", line), 0.0) << "line " << line;
            for (int k = 1; k <= kStdColumns; ++k) EXPECT_EQ(At("Gp1", line, k), C(0)) << "line " << line;
        }
        EXPECT_EQ(Cell("Gp1", 4, "TotalCost").ToCurrency(), C(0));
        RebuildGp1();
        RestoreCostCentresAndB();
    }
    EXPECT_TRUE(ui.Messages().empty());
}

struct MismatchCase {
    const char* name;
    void (*breakIt)(GSheets&);
};

TEST_F(CalcGp1, ColumnsThatDisagreeWithBStopWithTheMessageAndChangeNothing) {
    const MismatchCase cases[] = {
        {"a B line without its column", [](GSheets&) { Delete_CC_Column("Gp1", C(4.01)); }},
        {"a column without its B line", [](GSheets&) { Currency cc = C(4.01); Delete_CC_B(cc); }},
        {"more interest lines in B than columns", [](GSheets&) { Delete_CC_Column("Gp1", C(30.01)); }},
        {"no value column at all",
         [](GSheets&) {
             Db().DropTable("Gp1");
             Db().Execute("DELETE FROM CostCenters WHERE CCNum < 6 OR (CCNum >= 30 AND CCNum < 32)");
             Build_Gp1();
             Db().Execute("UPDATE Gp1 SET TotalCost = 1 WHERE SeqNum = 1");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Part1Costs(1, 2, 3);
        Pooled(5, 500);
        Calc_Gp1();
        c.breakIt(*this);
        const auto before = Snapshot("Gp1");
        ui.ExpectMessage();
        Calc_Gp1();
        EXPECT_EQ(ui.Messages(), (std::vector<ShownMessage>{{"The cost centers in Worksheet G, Part 1 do not agree "
                                                            "with the cost centers in Worksheet B", 0, ""}}));
        EXPECT_EQ(Snapshot("Gp1"), before);
        ui.ClearRecords();
        RestoreCostCentresAndB();
        RebuildGp1();
    }
}

// ---- Part II ----

// Part III: 1, 2, 3, 3.01, 17; Part IV: 1, 2, 8, 9; Part V: 1, 2, 4, 4.01.
class CalcGp2 : public GSheets {
protected:
    void SetUp() override {
        GSheets::SetUp();
        SeedComponents();
    }
};

TEST_F(CalcGp2, PartIModeDividesEachLineOfPartIOverItsBand) {
    Part1Costs(5, 3, 2);
    Pooled(1, 1003);
    Pooled(11, 500);
    Calc_Gp1();
    ExpectCol("Gp1", k1, {{1, 501}, {2, 301}, {3, 201}});

    const std::pair<double, std::optional<double>> costs[] = {
        {1, 100}, {2, 200}, {3, 300}, {3.01, 0}, {17, std::nullopt},  // ratios 1/6, 1/3, 1/2
        {19, 1}, {20, 1}, {26, 1},                                     // three equal thirds
        {29, 1}, {30, 1}, {32, 1}, {32.01, 3},                         // 1/6 three times and 1/2
    };
    for (const auto& [seq, cost] : costs) TotalCost("Gp2", seq, cost);
    Calc_Gp2();

    ExpectTotalCosts("Gp2", {{18, 600}, {28, 3}, {33, 6}, {34, 609}});
    // The first of equal ratios takes the correction; the largest does.
    ExpectRatios("Gp2", {{19, 0.333334}, {20, 0.333333}, {32, 0.166667}, {32.01, 0.499999},
                         {18, 1}, {28, 1}, {33, 1}, {34, 1}});
    ExpectCol("Gp2", k1, {
        {1, 84}, {2, 167}, {3, 250}, {3.01, 0}, {17, 0},   // 84 + 167 + 251 less one on the largest
        {19, 101}, {20, 100}, {26, 100}, {27, 0},          // 300 and one on the first of equals
        {29, 34}, {30, 34}, {32, 34}, {32.01, 99},         // 34 * 3 + 100 less one on the largest
    });
    ExpectPart2AddsUpToPart1();
}

TEST_F(CalcGp2, PartIModeBandsWithoutCostOrWithoutComponents) {
    Part1Costs(1, 1, 1);
    Pooled(1, 300);
    Calc_Gp1();
    TotalCost("Gp2", 2, 10);
    // Part IV has no cost: one row takes the band's whole amount.
    // Part V has no component: nothing to allocate, the total still shows it.
    for (double seq : {29.0, 30.0, 32.0, 32.01}) db().Execute("DELETE FROM Gp2 WHERE SeqNum = ?", {Value(C(seq))});
    Calc_Gp2();
    ExpectRatios("Gp2", {{19, 0}, {20, 0}, {26, 0}, {27, 0}});
    ExpectCol("Gp2", k1, {{19, 100}, {20, 0}, {28, 100}, {33, 100}, {2, 100}, {34, 300}});
}

TEST_F(CalcGp2, PooledCostModeDividesBsPooledCostsOverTheSheet) {
    Part1Costs(0, 0, 0);
    Pooled(1, 1000);
    Pooled(11, 99);
    Pooled(30, 10);
    Calc_Gp1();
    for (double seq : {1, 2, 3}) TotalCost("Gp2", seq, 1);
    Calc_Gp2();

    ExpectRatios("Gp2", {{1, 0.333334}, {18, 1}, {28, 0}, {33, 0}});  // bands IV and V have no cost
    // 333 three times, the missing unit on the first of the largest and its band total
    ExpectCol("Gp2", k1, {{1, 334}, {2, 333}, {18, 1000}, {34, 1000}, {28, 0}, {20, 0}});
    // Interest stays in its own column here; the Non-Capital column has B's
    // other lines only.
    ExpectCol("Gp2", k30, {{34, 10}, {1, 4}});
    ExpectCol("Gp2", kNonCapital, {{34, 99}, {3, 33}});
}

TEST_F(CalcGp2, PooledCostModeWithCostsInLaterBandsCorrectsOnTheLargestRow) {
    Pooled(1, 1000);
    Calc_Gp1();
    TotalCost("Gp2", 1, 3);
    TotalCost("Gp2", 2, 1);
    TotalCost("Gp2", 19, 1);
    Calc_Gp2();
    // Band IV's ratio is taken against band III's cost and corrected to 1.
    ExpectRatios("Gp2", {{19, 1}});
    // 2000 allocated for 1000 pooled: the largest row (19) and its band give it back.
    ExpectCol("Gp2", k1, {{1, 750}, {2, 250}, {18, 1000}, {19, 0}, {28, 0}, {34, 1000}});
}

TEST_F(CalcGp2, ACostCentreAddedToTheListIsDividedInItsNewColumn) {
    db().Execute("INSERT INTO CostCenters (LineNum, CCNum, CCName, ColLabel1) VALUES (5.02, 5.02, 'Leases', 'Leases')");
    Currency cc = C(5.02);
    Insert_CC_B(cc);
    Add_CC_Column("Gp1", cc);
    Add_CC_Column("Gp2", cc);
    const int k502 = k5_01 + 1;  // before the Non-Capital column
    Pooled(5.02, 90);
    Pooled(11, 10);
    Part1Costs(1, 1, 1);
    Calc_Gp1();
    for (double seq : {1, 19, 29}) TotalCost("Gp2", seq, 1);
    Calc_Gp2();
    EXPECT_TRUE(ui.Messages().empty());
    ExpectCol("Gp1", k502, {{4, 90}});
    ExpectCol("Gp1", k502 + 1, {{4, 10}});
    ExpectCol("Gp2", k502, {{1, 30}, {34, 90}});
    ExpectPart2AddsUpToPart1();
}

TEST_F(CalcGp2, PooledCostModeStopsWhereBDisagreesAfterTheBandTotals) {
    Pooled(1, 1000);
    Calc_Gp1();
    for (const auto& [seq, cost] : {std::pair{1, 3}, {19, 2}}) TotalCost("Gp2", seq, cost);
    Delete_CC_Column("Gp2", C(30.01));
    ui.ExpectMessage();
    Calc_Gp2();
    EXPECT_EQ(ui.Prompts(), std::vector<std::string>{
                                "The cost centers in Worksheet G, Part 2 do not agree with the cost centers in Worksheet B"});
    ExpectTotalCosts("Gp2", {{18, 3}, {28, 2}, {34, 5}});
    EXPECT_EQ(Rows("SELECT Ratio, Col_1 FROM Gp2 WHERE SeqNum = 1"), (Table{{"Null", "Null"}}));
}

}  // namespace
}  // namespace vt::test
