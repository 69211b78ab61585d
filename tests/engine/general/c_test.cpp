#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/general/c.h"
#include "store/report.h"
#include "tests/engine/general/b_sources.h"
#include "tests/support/crf_fixture.h"

namespace vt::test {
namespace {

class BuildC : public CrfTest {};

TEST_F(BuildC, FreshLinesHoldAmountZeroAndNothingElse) {
    EXPECT_EQ(Rows("SELECT COUNT(*) FROM C WHERE Amount = 0 AND Basis IS NULL AND CCNum IS NULL "
                   "AND CCName IS NULL;"),
              Table{{"22"}});
}

class CalcC : public CrfTest {};

struct CCase {
    const char* name;
    Value netAdj;            // D Part B's totals row
    std::vector<std::string> statements;  // run before the calculation
    std::string line15, line28;
};

TEST_F(CalcC, Line15FromDPartBAndTheTotal) {
    const CCase cases[] = {
        {"related organisations only", Cur(1500), {}, "-1500", "-1500"},
        {"Null net adjustment", Value::Null(), {}, "0", "0"},
        {"with the user's lines",
         Cur(1500),
         {"UPDATE C SET Amount = 100 WHERE LineNum = 1;", "UPDATE C SET Amount = -40 WHERE LineNum = 2;",
          "INSERT INTO C (LineNum, Description, Amount) VALUES (22, 'Mine', 10);"},
         "-1500", "-1430"},
        {"Null amounts and cents",
         Cur(-0.5),
         {"UPDATE C SET Amount = NULL WHERE LineNum = 1;",
          "INSERT INTO C (LineNum, Description, Amount) VALUES (13.01, 'Mine', 2.25);"},
         "0.5", "2.75"},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.name);
        db().DropTable("C");
        Build_C();
        db().Execute("UPDATE C SET Amount = 999 WHERE LineNum IN (15, 28);");
        db().Execute("UPDATE DpB SET NetAdj = ? WHERE SeqNum = 100;", {c.netAdj});
        for (const std::string& statement : c.statements) db().Execute(statement);
        Calc_C();
        EXPECT_EQ(Rows("SELECT Amount FROM C WHERE LineNum IN (15, 28) ORDER BY LineNum;"), (Table{{c.line15}, {c.line28}}));
    }
}

class PrintC : public SheetPrintTest {};

TEST_F(PrintC, SmallReportPrintedAlone) {
    db().Execute("UPDATE C SET Basis='A', Amount=-1000, CCNum=11, CCName='Salaries of Officers' WHERE LineNum=1;");
    db().Execute("UPDATE C SET Basis='B', Amount=-300.5, CCNum=32, CCName='Other (Specify)' WHERE LineNum=2;");
    db().Execute("INSERT INTO C (LineNum,Description,Basis,Amount,CCNum,CCName) "
                 "VALUES (13.01,'Club dues','A',-1234.56,26,'Dues & Subscriptions');");
    db().Execute("UPDATE DpB SET NetAdj=200 WHERE SeqNum=100;");
    Calc_C();
    ExpectPrintedAlone(Print_C, "C.prt", "C.prt");
}

}  // namespace
}  // namespace vt::test
