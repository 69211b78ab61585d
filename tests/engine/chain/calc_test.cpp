// Band totals and row totals of worksheets E and E-1.
#include <optional>

#include "engine/chain/component_sheet.h"
#include "engine/chain/e.h"
#include "engine/chain/e1.h"
#include "store/report.h"
#include "tests/engine/chain/chain_fixture.h"

namespace vt::test {
namespace {

struct CellCase {
    double seq;
    const char* field;
    std::optional<double> value;  // nullopt: Null
};

// A Part III lines 1 and 2, Part IV line 1 and its line 9, no Part V line.
class CalcSheets : public ChainTest {
protected:
    void SetUp() override {
        ChainTest::SetUp();
        AddA(3, 1, "North");
        AddA(3, 2, "South");
        AddA(4, 1, "Laundry");
        RebuildAll();
    }
    void Put(const std::string& sheet, const std::vector<CellCase>& cells) {
        for (const auto& c : cells) SetCell(sheet, c.seq, c.field, c.value ? Value(C(*c.value)) : Value::Null());
    }
    void Expect(const std::string& sheet, const std::vector<CellCase>& cells) {
        for (const auto& c : cells) {
            const Value v = Cell(sheet, c.seq, c.field);
            if (!c.value) EXPECT_TRUE(v.IsNull()) << "row " << c.seq << " " << c.field;
            else EXPECT_EQ(v.IsNull() ? C(-0.0001) : v.ToCurrency(), C(*c.value)) << "row " << c.seq << " " << c.field;
        }
    }
};

class CalcE : public CalcSheets {};
class CalcE1 : public CalcSheets {};

TEST_F(CalcE, BandTotalsSkipNullAndRowTotalsCountItAsZero) {
    Put("E", {{1, "Col_1", 100}, {2, "Col_1", std::nullopt}, {19, "Col_1", 50.5}, {27, "Col_1", 25},
              {1, "Col_2", 200.25}, {2, "Col_2", 300},
              {1, "Col_3", std::nullopt}, {2, "Col_3", std::nullopt}, {19, "Col_3", std::nullopt},
              {27, "Col_3", std::nullopt}});
    Calc_E();
    Expect("E", {
        // band totals per column; row 27 belongs to the band of row 28
        {18, "Col_1", 100}, {28, "Col_1", 75.5}, {33, "Col_1", 0}, {34, "Col_1", 175.5},
        {18, "Col_2", 500.25}, {28, "Col_2", 0}, {33, "Col_2", 0}, {34, "Col_2", 500.25},
        {18, "Col_3", 0}, {28, "Col_3", 0}, {33, "Col_3", 0}, {34, "Col_3", 0},
        {18, "Col_11", 0}, {34, "Col_11", 0},
        // row totals in the last column
        {1, "Col_12", 300.25}, {2, "Col_12", 300}, {19, "Col_12", 50.5}, {27, "Col_12", 25},
        {18, "Col_12", 600.25}, {28, "Col_12", 75.5}, {33, "Col_12", 0}, {34, "Col_12", 675.75},
        // row 0 is never changed
        {0, "Col_1", 1}, {0, "Col_12", 999}});
}

TEST_F(CalcE, ASheetWithoutCostCentresBelow10HasItsTotalColumnOnly) {
    db().Execute("DELETE FROM CostCenters WHERE CCNum < 10");
    Rebuild("E");
    EXPECT_EQ(FieldNames("E"), (std::vector<std::string>{"SeqNum", "LineNum", "Component", "MedicareNo", "Col_1"}));
    EXPECT_EQ(Row0("E"), Currencies({999}));
    Calc_E();
    Expect("E", {{1, "Col_1", 0}, {34, "Col_1", 0}});
}

TEST_F(CalcE1, TheTotalColumnAloneBecomesZero) {
    Calc_E1();
    for (double row : {1.0, 2.0, 18.0, 19.0, 27.0, 28.0, 33.0, 34.0}) Expect("E1", {{row, "Col_1", 0}});
    Expect("E1", {{0, "Col_1", std::nullopt}});
}

TEST_F(CalcE1, RowTotalsAreNullWhereACellIsNull) {
    AddChosenCCColumn("E1", C(11));
    AddChosenCCColumn("E1", C(12));
    Put("E1", {{1, "Col_1", 10}, {1, "Col_2", 20.5}, {2, "Col_1", 7}, {2, "Col_2", std::nullopt},
               {19, "Col_1", 5.25}});
    Calc_E1();
    Expect("E1", {
        {1, "Col_3", 30.5}, {2, "Col_3", std::nullopt}, {19, "Col_3", 5.25}, {27, "Col_3", 0},
        {18, "Col_1", 17}, {28, "Col_1", 5.25}, {33, "Col_1", 0}, {34, "Col_1", 22.25},
        {18, "Col_2", 20.5}, {28, "Col_2", 0}, {33, "Col_2", 0}, {34, "Col_2", 20.5},
        {18, "Col_3", 37.5}, {28, "Col_3", 5.25}, {33, "Col_3", 0}, {34, "Col_3", 42.75},
        {0, "Col_1", 11}, {0, "Col_2", 12}, {0, "Col_3", std::nullopt}});
}

TEST_F(CalcE1, ARowTotalPastTheLimitStopsNamingItsLine) {
    AddChosenCCColumn("E1", C(11));
    AddChosenCCColumn("E1", C(12));
    Put("E1", {{2, "Col_1", 99999999999.0}, {2, "Col_2", 1}});
    try {
        Calc_E1();
        ADD_FAILURE() << "the total was written";
    } catch (const db::AmountOverflow& e) {
        EXPECT_EQ(e.Table(), "E1");
        EXPECT_EQ(e.Line(), "2");
        EXPECT_EQ(e.Amount(), "100,000,000,000.00");
    }
}

}  // namespace
}  // namespace vt::test
