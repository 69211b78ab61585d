#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/general/b1.h"
#include "store/report.h"
#include "tests/engine/general/b_sources.h"
#include "tests/support/crf_fixture.h"

namespace vt::test {
namespace {

class BuildB1 : public CrfTest {};

TEST_F(BuildB1, FreshTableHoldsOnlyTheTotalsRow) {
    EXPECT_EQ(Rows("SELECT * FROM B1;"),
              (Table{{"100", "Total Reclassifications", "Null", "Null", "Null", "0", "Null", "Null", "0"}}));
    // A code is one letter; empty texts are allowed.
    EXPECT_EQ(Db().Execute("INSERT INTO B1 (SeqNum, Code) VALUES (1, 'AB');"), 0);
    EXPECT_EQ(Db().Execute("INSERT INTO B1 (SeqNum, Code, Explanation) VALUES (2, '', '');"), 1);
}

class CalcB1 : public CrfTest {};

struct B1Case {
    const char* name;
    const char* rows;  // VALUES of (SeqNum, UpAmount, DnAmount), "" for none
    Table totals;      // UpAmount, DnAmount of row 100
};

TEST_F(CalcB1, TotalsTheEntryRowsNullCountingAsZero) {
    const B1Case cases[] = {
        {"no entry rows", "", {{"0", "0"}}},
        {"Null increase", "(1,100,40),(2,NULL,60)", {{"100", "100"}}},
        {"only Nulls", "(1,NULL,NULL)", {{"0", "0"}}},
        {"cents and signs", "(1,10.25,-3),(1.5,-0.25,3.5)", {{"10", "0.5"}}},
    };
    for (const B1Case& c : cases) {
        SCOPED_TRACE(c.name);
        db().Execute("DELETE FROM B1 WHERE SeqNum < 100;");
        db().Execute("UPDATE B1 SET UpAmount = 999, DnAmount = 999 WHERE SeqNum = 100;");
        if (*c.rows) db().Execute(std::string("INSERT INTO B1 (SeqNum, UpAmount, DnAmount) VALUES ") + c.rows + ";");
        Calc_B1();
        EXPECT_EQ(Rows("SELECT UpAmount, DnAmount FROM B1 WHERE SeqNum = 100;"), c.totals);
    }
}

class PrintB1 : public SheetPrintTest {};

TEST_F(PrintB1, SmallReportPrintedAlone) {
    db().Execute("INSERT INTO B1 (SeqNum,Explanation,Code,UpCCName,UpCCNum,UpAmount,DnCCName,DnCCNum,DnAmount) VALUES "
                 "(1,'Interest on notes','A','Interest Income',30.01,500,'Salaries & Wages of Others',12,500),"
                 "(2,'Payroll taxes of officers','B','Payroll Taxes',13,1234.56,'Salaries of Officers',11,1234.56),"
                 "(3,'Pending',NULL,NULL,NULL,NULL,NULL,NULL,NULL);");
    Calc_B1();
    ExpectPrintedAlone(Print_B1, "B1.prt", "B1.prt");
}

}  // namespace
}  // namespace vt::test
