// Statistics of F and F-1 Part II held as Currency: rounded to four places on
// their decimal value, halves away from zero, though their binary value lies
// below the half.
#include "engine/chain/f.h"
#include "engine/chain/f1.h"
#include "tests/engine/chain/chain_fixture.h"

namespace vt::test {
namespace {

class StatisticRounding : public ChainTest {
protected:
    void SetUp() override {
        ChainTest::SetUp();
        AddA(3, 1, "North");
        AddA(3, 2, "South");
        RebuildAll();
        AddF1Column(C(11));
    }
};

TEST_F(StatisticRounding, BandTotalsRoundHalvesAwayFromZeroOnTheDecimalValue) {
    const struct {
        double statistic;
        double second;  // on line 2
        double total;   // rows 18 and 34
    } cases[] = {{0.00045, 0, 0.0005},
                 {12.34565, 0, 12.3457},
                 {-0.00045, 0, -0.0005},
                 {0.00044999, 0, 0.0004},
                 // A sum whose Double is 15128883.287449999 is held by its 15-digit text, 15128883.28745.
                 {15128883.28, 0.00745, 15128883.2875}};
    const std::pair<const char*, void (*)()> sheets[] = {{"Fp2", Calc_Fp2}, {"F1p2", Calc_F1p2}};
    for (const auto& [sheet, calc] : sheets) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(sheet) + " " + std::to_string(c.statistic));
            SetCell(sheet, 1, "Col_1", Value(c.statistic));
            SetCell(sheet, 2, "Col_1", Value(c.second));
            calc();
            EXPECT_EQ(Cell(sheet, 18, "Col_1").ToDouble(), c.total);
            EXPECT_EQ(Cell(sheet, 34, "Col_1").ToDouble(), c.total);
        }
    }
}

}  // namespace
}  // namespace vt::test
