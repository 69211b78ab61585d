#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/general/b.h"
#include "store/report.h"
#include "tests/engine/general/b_sources.h"
#include "tests/support/crf_fixture.h"

namespace vt::test {
namespace {

Table WholeB() { return Rows("SELECT * FROM B ORDER BY LineNum;"); }
Table CostCentreLinesOfB() { return Rows("SELECT LineNum, CCNum, CCName FROM B WHERE CCNum <> 0 ORDER BY LineNum;"); }
Table ExpenseCostCentres() {
    return Rows("SELECT LineNum, CCNum, CCName FROM CostCenters WHERE CCNum < 200 ORDER BY CCNum;");
}

class BuildB : public CrfTest {};

TEST_F(BuildB, NameLongerThanTheLineTakesIsCutNotLost) {
    Db().DropTable("B");
    Db().Execute("UPDATE CostCenters SET CCName = ? WHERE CCNum = 17;",
                 {Value("Legal Fees and Other Professional Services Paid")});
    Build_B();
    EXPECT_EQ(Rows("SELECT CCName FROM B WHERE LineNum = 17;"),
              Table{{std::string("Legal Fees and Other Professional Services Paid").substr(0, 40)}});
}

class InsertCCB : public CrfTest {};

TEST_F(InsertCCB, SubLineMovesLaterSubLinesUpWithTheirAmounts) {
    Db().Execute("UPDATE B SET Expenses = 75, TrialBalance = 80 WHERE LineNum = 30.01;");
    AddCostCentre(Currency::FromDouble(30.01), "Interest on Notes");
    EXPECT_EQ(Rows("SELECT LineNum, CCNum, CCName, Expenses, TrialBalance FROM B "
                   "WHERE LineNum >= 30 AND LineNum < 31 ORDER BY LineNum;"),
              (Table{{"30", "30", "Interest Expense", "0", "Null"},
                     {"30.01", "30.01", "Interest on Notes", "0", "Null"},
                     {"30.02", "30.02", "Interest Income", "75", "80"}}));
    EXPECT_EQ(CostCentreLinesOfB(), ExpenseCostCentres());
}

TEST_F(InsertCCB, WholeNumberMovesNothing) {
    const Table before = WholeB();
    AddCostCentre(Currency::FromInt(33), "Consulting");
    Table after = WholeB();
    ASSERT_EQ(after.size(), before.size() + 1);
    EXPECT_EQ(Rows("SELECT LineNum, CCNum, CCName, Expenses FROM B WHERE LineNum = 33;"),
              (Table{{"33", "33", "Consulting", "0"}}));
    after.erase(std::find(after.begin(), after.end(), Rows("SELECT * FROM B WHERE LineNum = 33;")[0]));
    EXPECT_EQ(after, before);
}

class DeleteCCB : public CrfTest {};

TEST_F(DeleteCCB, LaterSubLinesCloseTheGapAndTheNextLineStays) {
    AddCostCentre(Currency::FromDouble(1.02), "Int. Exp. B");
    AddCostCentre(Currency::FromDouble(1.03), "Int. Exp. C");
    for (auto [line, amount] : {std::pair{1.02, 20}, {1.03, 30}, {2.0, 99}})
        Db().Execute("UPDATE B SET Expenses = ? WHERE LineNum = ?;", {Value(amount), Value(Money(line))});
    DeleteCostCentre(Currency::FromDouble(1.01));
    EXPECT_EQ(Rows("SELECT LineNum, CCNum, CCName, Expenses FROM B WHERE LineNum >= 1 AND LineNum <= 2 "
                   "ORDER BY LineNum;"),
              (Table{{"1", "1", "Old Cap. Rel Costs - Bldgs and Fixtures", "0"},
                     {"1.01", "1.01", "Int. Exp. B", "20"},
                     {"1.02", "1.02", "Int. Exp. C", "30"},
                     {"2", "2", "Old Cap. Rel. Costs - Movable Equipment", "99"}}));
}

// Restored cost centres come back at .01 and push the older sub-lines up, so
// the rows of one group no longer sit in the table in line order: a single
// UPDATE that moves them down meets a line still held by a row not yet moved.
TEST_F(DeleteCCB, AfterTwoRestoresIntoOneGroupBStaysInStepWithTheList) {
    AddCostCentre(Currency::FromDouble(1.01), "Restored first");
    AddCostCentre(Currency::FromDouble(1.01), "Restored second");
    ASSERT_EQ(CostCentreLinesOfB(), ExpenseCostCentres());
    DeleteCostCentre(Currency::FromDouble(1.01));
    EXPECT_EQ(CostCentreLinesOfB(), ExpenseCostCentres());
    EXPECT_EQ(Rows("SELECT LineNum, CCName FROM B WHERE LineNum > 1 AND LineNum < 2 ORDER BY LineNum;"),
              (Table{{"1.01", "Restored first"}, {"1.02", "Int. Exp.-Old Capital Bldg and Fixtures"}}));
}

TEST_F(DeleteCCB, TotalLinesAndOtherGroupsAreNotTouched) {
    const Table before = Rows("SELECT * FROM B WHERE LineNum < 30 OR LineNum > 31 ORDER BY LineNum;");
    DeleteCostCentre(Currency::FromInt(30));
    EXPECT_EQ(Rows("SELECT * FROM B WHERE LineNum < 30 OR LineNum > 31 ORDER BY LineNum;"), before);
    EXPECT_EQ(Rows("SELECT LineNum, CCNum, CCName FROM B WHERE LineNum >= 30 AND LineNum < 31;"),
              (Table{{"30", "30", "Interest Income"}}));
    EXPECT_EQ(CostCentreLinesOfB(), ExpenseCostCentres());
}

}  // namespace
}  // namespace vt::test
