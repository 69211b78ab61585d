// Prints of worksheets F and F-1: Part I, then Part II, each with its value
// columns in blocks of nine on pages of their own.
#include "engine/chain/component_sheet.h"
#include "engine/chain/f.h"
#include "engine/chain/f1.h"
#include "store/report.h"
#include "store/services.h"
#include "tests/engine/chain/chain_fixture.h"

namespace vt::test {
namespace {

class PrintFSheets : public SeededChainTest {
protected:
    void Statistic(const std::string& sheet, double seq, const std::string& field, double v) {
        SetCell(sheet, seq, field, Value(v));
    }
};

TEST_F(PrintFSheets, TenCapitalColumnsPrintAsTwoBlocksPerPart) {
    db().Execute("INSERT INTO CostCenters (LineNum, CCNum, CCName, ColLabel1, ColLabel2, ColLabel3) VALUES "
                 "(3, 3, 'Leased Bldgs', 'Leased', 'Bldgs &', 'Fixtures'), "
                 "(3.01, 3.01, 'Int. Leased', 'Int. Exp.', 'Leased', NULL)");
    Close_CC_Recordset();
    for (const char* sheet : {"Fp1", "Fp2"}) {
        Add_CC_Column(sheet, C(3));
        Add_CC_Column(sheet, C(3.01));
    }
    // Col_1 (1): square feet; Col_10 (5.01): a negative statistic among them.
    for (auto [seq, v] : {std::pair{1.0, 12000.0}, {2.0, 8000.0}, {19.0, 1500.0}, {29.0, 700.0}})
        Statistic("Fp2", seq, "Col_1", v);
    Statistic("Fp2", 35, "Col_1", 1234567.89);
    for (auto [seq, v] : {std::pair{3.0, 3.0}, {27.0, -1.0}, {32.01, 5.0}}) Statistic("Fp2", seq, "Col_10", v);
    Statistic("Fp2", 35, "Col_10", 1000);
    Statistic("Fp2", 17, "Col_5", 1);
    Statistic("Fp2", 35, "Col_5", 250);
    Calc_Fp2();
    Calc_Fp1();

    int fn = 0;
    Print_F(fn);
    EXPECT_EQ(fn, 0);
    ExpectGolden("F.prt", "F_two_blocks.prt");
}

TEST_F(PrintFSheets, F1PrintsItsTotalColumnInTheLastBlockOnly) {
    for (int cc = 11; cc <= 20; ++cc) AddF1Column(Currency::FromInt(cc));
    for (auto [seq, v] : {std::pair{1.0, 40.0}, {2.0, 25.0}, {3.01, 35.0}}) Statistic("F1p2", seq, "Col_1", v);
    Statistic("F1p2", 35, "Col_1", 98765.43);
    for (auto [seq, v] : {std::pair{19.0, 2.0}, {30.0, 1.0}}) Statistic("F1p2", seq, "Col_10", v);
    Statistic("F1p2", 35, "Col_10", 500);
    SetCell("F1p2", 29, "Col_2", Value::Null());
    Calc_F1p2();
    Calc_F1p1();

    int fn = 0;
    Print_F1(fn);
    ExpectGolden("F1.prt", "F1_two_blocks.prt");
}

}  // namespace
}  // namespace vt::test
