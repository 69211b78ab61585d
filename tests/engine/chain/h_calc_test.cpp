// Worksheet H: its rows from worksheet A, the gathering of E, E-1, F Part I,
// F-1 Part I and G Part II per component into its twenty columns, the totals,
// the stop where a sheet and H part ways, and A Part V's amounts taken from it.
#include <optional>

#include "engine/chain/component_sheet.h"
#include "engine/chain/h.h"
#include "engine/general/a.h"
#include "store/report.h"
#include "store/services.h"
#include "tests/engine/chain/chain_fixture.h"
#include "tests/support/db_checks.h"

namespace vt::test {
namespace {

std::string Col(int k) { return "Col_" + std::to_string(k); }

// Part III: 1, 2, 3, 3.01, 17; Part IV: 1, 2, 8, 9; Part V: 1, 2, 4, 4.01.
class HSheet : public SeededChainTest {
protected:
    void Put(const std::string& sheet, double seq, int col, double v) { SetCell(sheet, seq, Col(col), Value(C(v))); }
    // The last field of a sheet: the row total of E-1 and F-1.
    std::string LastField(const std::string& sheet) { return FieldNames(sheet).back(); }
    Currency H(double seq, int col) {
        const Value v = Cell("H", seq, Col(col));
        EXPECT_FALSE(v.IsNull()) << "H row " << seq << " " << Col(col);
        return v.IsNull() ? Currency{} : v.ToCurrency();
    }
    void ExpectRow(double seq, const std::array<double, 20>& cols) {
        for (int k = 1; k <= 20; ++k) EXPECT_EQ(H(seq, k), C(cols[k - 1])) << "H row " << seq << " " << Col(k);
    }
    void NetExpenses(double v) {
        ASSERT_EQ(db().Execute("UPDATE B SET NetExpenses = ? WHERE LineNum = 100", {Value(C(v))}), 1);
    }
};

class BuildH : public HSheet {};

TEST_F(BuildH, RowsFollowWorksheetAWithTheirMedicareNumbersAndYearEnds) {
    db().Execute("UPDATE Ap3 SET PeriodTo = '2006-06-30' WHERE LineNum = 1");
    db().Execute("UPDATE Ap4 SET PeriodTo = '2006-09-30' WHERE LineNum = 1");
    Rebuild("H");
    EXPECT_EQ(SeqNums("H"), Currencies({1, 2, 3, 3.01, 17, 18, 19, 20, 26, 27, 28, 29, 30, 32, 32.01, 33, 34}));
    EXPECT_EQ(Rows("SELECT SeqNum, LineNum, Component, MedicareNo, FYE FROM H WHERE SeqNum IN (1, 3, 19, 28, 29, 32.01) "
                   "ORDER BY SeqNum"),
              (Table{{"1", "1", "Mercy North", "123456", "6/30/2006"}, {"3", "3", "Mercy East", "Null", "Null"},
                     {"19", "1", "Laundry", "Null", "9/30/2006"}, {"28", "0", "Total (lines 19-27)", "Null", "Null"},
                     {"29", "1", "Region One", "Null", "Null"}, {"32.01", "4.01", "Region Four A", "Null", "Null"}}));
    for (int k = 1; k <= 20; ++k) EXPECT_TRUE(Cell("H", 1, Col(k)).IsNull()) << Col(k);
    EXPECT_EQ(FieldNames("H").size(), 25u);
}

struct Row27Case {
    const char* name;
    const char* change;     // to A Part IV's line 9
    const char* component;  // of H's row 27
};

TEST_F(BuildH, Row27IsAPartIVsLine9OrItsOwn) {
    const Row27Case cases[] = {
        {"A Part IV's line 9", "UPDATE Ap4 SET Component = 'Managed Elsewhere' WHERE LineNum = 9", "Managed Elsewhere"},
        {"no line 9 in A Part IV", "DELETE FROM Ap4 WHERE LineNum = 9", "Other Managed Facilities"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        db().Execute(c.change);
        Rebuild("H");
        EXPECT_EQ(Rows("SELECT LineNum, Component FROM H WHERE SeqNum = 27"), (Table{{"9", c.component}}));
    }
}

class CalcH : public HSheet {};

TEST_F(CalcH, GathersEverySheetPerComponentAndTotals) {
    // E: 1, 1.01, 2, 2.01, 4, 4.01, 5, 5.01, 7, 8, 9 and the row total (999).
    for (const auto& [col, v] : {std::pair{1, 100.0}, {2, 10.0}, {3, 1.0}, {5, 200.0}, {9, 5.0}, {11, 7.0},
                                 {12, 12345.0}})
        Put("E", 1, col, v);
    Put("E", 18, 1, 55555);  // total rows are not read
    Put("E", 19, 1, 1000);
    // E-1: a chosen cost centre, then the row total; only the total is read.
    AddChosenCCColumn("E1", C(11));
    Put("E1", 1, 1, 999);
    SetCell("E1", 1, LastField("E1"), Value(C(40)));
    SetCell("E1", 32.01, LastField("E1"), Value(C(6)));
    // F Part I: 1, 1.01, 2, 2.01, 4, 4.01, 5, 5.01.
    Put("Fp1", 1, 3, 20);
    Put("Fp1", 1, 7, 30);
    SetCell("F1p1", 1, LastField("F1p1"), Value(C(50)));
    // G Part II: 1 ... 5.01, Non-Capital, 30, 30.01.
    for (const auto& [col, v] : {std::pair{1, 1.0}, {8, 2.0}, {9, 3.0}, {10, 4.0}, {11, 5.0}}) Put("Gp2", 1, col, v);
    Put("Gp2", 29, 9, 7);
    Put("H", 2, 5, 999);  // a value of an earlier calculation
    NetExpenses(98765);

    Calc_H();
    EXPECT_TRUE(ui.Messages().empty());
    //                 old capital          new capital          other capital       non-capital       all costs
    const std::array<double, 20> row1 = {111, 20, 1, 132, 200, 30, 2, 232, 12, 0, 9, 21, 40, 50, 3, 93, 363, 100, 15, 478};
    ExpectRow(1, row1);
    ExpectRow(18, row1);
    ExpectRow(2, {});
    for (double seq : {19, 28}) ExpectRow(seq, {1000, 0, 0, 1000, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1000, 0, 0, 1000});
    ExpectRow(29, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7, 7, 0, 0, 7, 7});
    ExpectRow(33, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 6, 0, 7, 13, 6, 0, 7, 13});
    // Line 34's overall total is B's net expenses, not the sum of its columns.
    ExpectRow(34, {1111, 20, 1, 1132, 200, 30, 2, 232, 12, 0, 9, 21, 46, 50, 10, 106, 1369, 100, 22, 98765});
}

struct CategoryCase {
    const char* sheet;
    std::optional<double> cc;  // the column's row-0 value; nullopt: Null
    int target;                // H column of the amount; 0: not carried
};

TEST_F(CalcH, ASourceColumnCountsInTheBlockOfItsRoundedCostCentre) {
    const CategoryCase cases[] = {
        {"E", 1.5, 1},    {"E", 2.5, 1},    {"E", 3.49, 0},   {"E", 3.5, 5},     {"E", 5.49, 5},
        {"E", 5.5, 0},    {"E", 6.5, 0},    {"E", 6.51, 9},   {"E", 9.49, 9},    {"E", 9.5, 0},
        {"E", 0, 0},      {"E", std::nullopt, 0},             {"E", 30, 0},
        {"Gp2", 0, 15},   {"Gp2", std::nullopt, 15},          {"Gp2", 0.5, 15},  {"Gp2", 1.5, 3},
        {"Gp2", 4.01, 7}, {"Gp2", 7, 0},    {"Gp2", 29.5, 11}, {"Gp2", 30.5, 11}, {"Gp2", 30.51, 0},
    };
    const int kinds[] = {1, 2, 3, 5, 6, 7, 9, 10, 11, 13, 14, 15};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.sheet) + " " + (c.cc ? std::to_string(*c.cc) : "Null"));
        SetCell(c.sheet, 0, "Col_2", c.cc ? Value(C(*c.cc)) : Value::Null());
        Put(c.sheet, 1, 2, 100);
        Calc_H();
        for (int k : kinds) EXPECT_EQ(H(1, k), C(k == c.target ? 100 : 0)) << Col(k);
        Put(c.sheet, 1, 2, 0);
    }
}

struct WalkCase {
    const char* sheet;
    const char* name;
};

TEST_F(CalcH, ASheetOutOfStepWithHStopsTheCalculation) {
    const WalkCase cases[] = {
        {"E", "E"}, {"E1", "E-1"}, {"Fp1", "F Part I"}, {"F1p1", "F-1 Part I"}, {"Gp2", "Gp2"},
    };
    Put("E", 1, 1, 100);
    Put("E", 17, 1, 170);
    NetExpenses(5);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sheet);
        db().Execute(std::string("UPDATE ") + c.sheet + " SET LineNum = 3.02 WHERE SeqNum = 3.01");
        ui.ExpectMessage();
        Calc_H();
        EXPECT_EQ(ui.Messages(), (std::vector<ShownMessage>{{std::string("Tables ") + c.name +
                                                                  " and H are inconsistant at Line 3.01. Calculation terminated!",
                                                              0, ""}}));
        // What the walks wrote before the stop stays; no total is formed.
        EXPECT_EQ(Rows("SELECT SeqNum, Col_1, Col_4, Col_20 FROM H WHERE SeqNum IN (1, 17, 18, 34) ORDER BY SeqNum"),
                  (Table{{"1", "100", "0", "0"}, {"17", std::string(c.sheet) == "E" ? "0" : "170", "0", "0"},
                         {"18", "0", "0", "0"}, {"34", "0", "0", "0"}}));
        db().Execute(std::string("UPDATE ") + c.sheet + " SET LineNum = 3.01 WHERE SeqNum = 3.01");
        ui.ClearRecords();
    }
    Calc_H();
    EXPECT_EQ(H(34, 20), C(5));
}

// A Part V line without its row in H keeps the amount it had.
TEST_F(CalcH, WorksheetAPartVTakesItsAmountsFromH) {
    Put("E", 29, 1, 70);
    Put("Gp2", 32, 9, 9);
    SetCell("E1", 32.01, LastField("E1"), Value(C(6)));
    Put("E", 3, 1, 333);  // a Part III line: not Part V's
    Calc_H();
    db().Execute("DELETE FROM H WHERE SeqNum = 30");
    db().Execute("UPDATE Ap5 SET Col4 = 77 WHERE LineNum = 2");
    Calc_Ap5();
    EXPECT_EQ(Rows("SELECT LineNum, Col4 FROM Ap5 ORDER BY LineNum"),
              (Table{{"1", "70"}, {"2", "77"}, {"4", "9"}, {"4.01", "6"}}));
}

}  // namespace
}  // namespace vt::test
