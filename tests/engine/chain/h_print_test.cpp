// Print of worksheet H: three passes of columns (1-8, 9-16, 17-20), each
// through all rows on pages of its own.
#include "engine/chain/h.h"
#include "store/report.h"
#include "tests/engine/chain/chain_fixture.h"

namespace vt::test {
namespace {

class PrintH : public ChainTest {};

TEST_F(PrintH, ThreePassesOfColumns) {
    AddA(3, 1, "Mercy North", "123456");
    AddA(3, 2, "Mercy South");
    AddA(4, 1, "Laundry");
    AddA(5, 1, "Region One");
    db().Execute("UPDATE Ap3 SET PeriodTo = '2006-06-30' WHERE LineNum = 1");
    db().Execute("UPDATE Ap4 SET PeriodTo = '2006-09-30' WHERE LineNum = 1");
    RebuildAll();
    SetCell("E", 1, "Col_1", Value(C(125000)));
    SetCell("E", 19, "Col_5", Value(C(-4500)));
    SetCell("Fp1", 2, "Col_8", Value(C(880)));
    SetCell("Gp2", 29, "Col_9", Value(C(1234567)));
    db().Execute("UPDATE B SET NetExpenses = 2000000 WHERE LineNum = 100");
    Calc_H();
    int fn = 0;
    Print_H(fn);
    ExpectGolden("H.prt", "H_three_passes.prt");
    EXPECT_EQ(printer.documents.size(), 1u);
}

}  // namespace
}  // namespace vt::test
