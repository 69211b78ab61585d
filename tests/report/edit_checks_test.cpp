// Each edit check against a report built to trip it, starting from a report
// on which every check is silent.
#include <string>
#include <vector>

#include "engine/chain/f1.h"
#include "report/edit_checks.h"
#include "store/services.h"
#include "tests/report/shell_fixture.h"

namespace vt::test {
namespace {

class EditChecks : public ShellTest {
protected:
    // A report with one complete entry of every kind the checks look at.
    void MakeCleanReport() {
        Exec("UPDATE Ap1 SET Info = '01/15/2001' WHERE SeqNum = 4;");
        Exec("INSERT INTO Ap3 (LineNum, Component, PeriodFrom, PeriodTo) VALUES (1, 'North Home', ?, ?);",
             {Day(2006, 1, 1), Day(2006, 12, 31)});
        Exec("INSERT INTO Ap3 (LineNum, Component, PeriodFrom, PeriodTo) VALUES (2, 'South Home', ?, ?);",
             {Day(2006, 1, 1), Day(2006, 12, 31)});
        Exec("INSERT INTO Ap4 (LineNum, Component, PeriodFrom, PeriodTo) VALUES (1, 'Pharmacy', ?, ?);",
             {Day(2006, 1, 1), Day(2006, 12, 31)});
        Exec("INSERT INTO Ap5 (LineNum, Col1) VALUES (1, 'East Region');");
        Exec("INSERT INTO B1 (SeqNum, Explanation, Code, UpCCNum, UpAmount, DnCCNum, DnAmount) "
             "VALUES (1, 'Rent moved', 'A', 12, 500, 11, 500);");
        Exec("UPDATE B1 SET UpAmount = 500, DnAmount = 500 WHERE SeqNum = 100;");
        Exec("UPDATE C SET Basis = 'A', Amount = -100, CCNum = 12 WHERE LineNum = 1;");
        Exec("UPDATE DpA SET Answer = 'Yes';");
        Exec("INSERT INTO DpB (SeqNum, LineNum, ExpAcct, Amount, AmtAllowable, NetAdj) VALUES (1, 12, 'Wages', 300, 100, 200);");
        Exec("INSERT INTO DpC (SeqNum, RelatedOrg) VALUES (1, 'Parent Corp');");
        Exec("UPDATE Gp1 SET TotalCost = 1000 WHERE SeqNum = 4;");
        Exec("UPDATE Fp2 SET Col_1 = 40 WHERE SeqNum = 34;");
        Exec("UPDATE Fp2 SET Col_1 = 5000 WHERE SeqNum = 35;");
        AddF1Column(Currency::FromInt(12));
        Exec("UPDATE F1p2 SET Col_1 = 25 WHERE SeqNum = 34;");
        Exec("UPDATE F1p2 SET Col_1 = 800 WHERE SeqNum = 35;");
    }

    std::vector<std::string> Findings() {
        std::vector<std::string> out;
        for (const auto& row : ErrorRows()) out.push_back(row.substr(row.find('|') + 1));
        return out;
    }
};

struct Trip {
    const char* name;
    std::vector<std::string> sql;  // run on the clean report
    std::vector<std::string> findings;
};

const std::vector<Trip> kTrips = {
    {"chain start after report start",
     {"UPDATE Ap1 SET Info = '02/01/2006' WHERE SeqNum = 4;"},
     {"Worksheet A Part I: The Chain Operation Start Date should not be after the Cost Report Start Date"}},
    {"part III line without either date gives the from date only",
     {"UPDATE Ap3 SET PeriodFrom = NULL, PeriodTo = NULL WHERE LineNum = 2;"},
     {"Worksheet A Part III: The Periods Ending in Fiscal Year From date in column 3 is missing on line 2"}},
    {"part III line without its to date",
     {"UPDATE Ap3 SET PeriodTo = NULL WHERE LineNum = 1;"},
     {"Worksheet A Part III: The Periods Ending in Fiscal Year To date in column 4 is missing on line 1"}},
    {"part III from after to",
     {"UPDATE Ap3 SET PeriodFrom = '2007-01-01' WHERE LineNum = 2;"},
     {"Worksheet A Part III: The Periods Ending in Fiscal Year From date in column 3 is after the Periods Ending "
      "in Fiscal Year To date in column 4 on line 2"}},
    {"part IV from after to",
     {"UPDATE Ap4 SET PeriodFrom = '2007-01-01' WHERE LineNum = 1;"},
     {"Worksheet A Part IV: The Period From Date in column 2 is after the Period To Date in column 3 on line 1"}},
    {"part IV missing to date counts as the smallest date",
     {"UPDATE Ap4 SET PeriodTo = NULL WHERE LineNum = 1;"},
     {"Worksheet A Part IV: The Period From Date in column 2 is after the Period To Date in column 3 on line 1"}},
    {"B-1 increases and decreases out of balance",
     {"UPDATE B1 SET DnAmount = 400 WHERE SeqNum = 100;"},
     {"Worksheet B-1: the sum of the increases is not equal to the sum of the decreases "}},
    {"B-1 amounts on both sides without a code",
     {"INSERT INTO B1 (SeqNum, UpCCNum, UpAmount, DnCCNum, DnAmount) VALUES (2, 13, 50, 14, 50);"},
     {"Worksheet B1: Line 2 does not have a Code specified in column 1"}},
    {"B-1 code without amounts",
     {"INSERT INTO B1 (SeqNum, Code) VALUES (2.5, 'A');"},
     {"Worksheet B1: Line 2.5 does not have an Increase or Decrease Amount"}},
    {"B-1 increase line number alone",
     {"INSERT INTO B1 (SeqNum, Code, UpCCNum) VALUES (2, 'A', 13);"},
     {"Worksheet B1: Line 2 does not have an Increase or Decrease Amount",
      "Worksheet B1: Line 2 is missing the Increase Line Number or the Increase Amount"}},
    {"B-1 decrease amount alone",
     {"INSERT INTO B1 (SeqNum, Code, DnAmount) VALUES (2, 'A', 70);"},
     {"Worksheet B1: Line 2 is missing the Decrease Line Number or the Decrease Amount"}},
    {"B-1 code explained on a line between unexplained ones",
     {"UPDATE B1 SET SeqNum = 2 WHERE SeqNum = 1;",
      "INSERT INTO B1 (SeqNum, Code, UpCCNum, UpAmount, DnCCNum, DnAmount) VALUES (1, 'A', 12, 5, 11, 5);",
      "INSERT INTO B1 (SeqNum, Code, UpCCNum, UpAmount, DnCCNum, DnAmount) VALUES (3, 'A', 12, 5, 11, 5);",
      "UPDATE B1 SET UpAmount = 510, DnAmount = 510 WHERE SeqNum = 100;"},
     {}},
    {"B-1 codes never explained, each told once, case counting",
     {"INSERT INTO B1 (SeqNum, Code, UpCCNum, UpAmount, DnCCNum, DnAmount) VALUES (2, 'B', 12, 5, 11, 5);",
      "INSERT INTO B1 (SeqNum, Code, UpCCNum, UpAmount, DnCCNum, DnAmount) VALUES (3, 'b', 12, 5, 11, 5);",
      "INSERT INTO B1 (SeqNum, Code, UpCCNum, UpAmount, DnCCNum, DnAmount) VALUES (4, 'B', 12, 5, 11, 5);",
      "UPDATE B1 SET UpAmount = 515, DnAmount = 515 WHERE SeqNum = 100;"},
     {"Worksheet B-1: No explanation has been provided for code B",
      "Worksheet B-1: No explanation has been provided for code b"}},
    {"C line with a basis alone; lines 15 and 28 are never checked",
     {"UPDATE C SET Basis = 'B' WHERE LineNum = 3;", "UPDATE C SET Basis = 'A' WHERE LineNum IN (15, 28);"},
     {"Worksheet C: No Amount has been specified on line 3",
      "Worksheet C: No Cost Center has been specified on line 3"}},
    {"C line with a cost centre alone",
     {"UPDATE C SET CCNum = 20 WHERE LineNum = 4;"},
     {"Worksheet C: No Basis has been specified on line 4", "Worksheet C: No Amount has been specified on line 4"}},
    {"D Part B empty though D Part A says Yes",
     {"DELETE FROM DpB WHERE SeqNum < 100;"},
     {"Worksheet D Part B: This worksheet must be completed when the answer to Worksheet D Part A is Yes"}},
    {"D Part B completed though D Part A says No",
     {"UPDATE DpA SET Answer = 'No';", "DELETE FROM DpC;"},
     {"Worksheet D Part B: This worksheet should not be completed when the answer to Worksheet D Part A is No"}},
    {"D Part C empty though D Part A says Yes",
     {"DELETE FROM DpC;"},
     {"Worksheet D Part C: This worksheet must be completed when the answer to Worksheet D Part A is Yes"}},
    {"D Part C completed though D Part A is not Yes",
     {"UPDATE DpA SET Answer = 'yes';", "DELETE FROM DpB WHERE SeqNum < 100;"},
     {"Worksheet D Part C: This worksheet should not be completed when the answer to Worksheet D Part A is No"}},
    {"G Part I completed without other components or regions",
     {"DELETE FROM Ap4;", "DELETE FROM Ap5;"},
     {"Worksheet G Part I: This worksheet should not be completed when there are no Other Components or Regions "
      "specified in Worksheets A Part IV and A Part V"}},
    {"F Part II cost without statistics",
     {"UPDATE Fp2 SET Col_3 = 700 WHERE SeqNum = 35;"},
     {"Worksheet F Part II: There are no statistics in column 2, but the Cost To Be Allocated is greater than zero"}},
    {"F Part II statistics without cost",
     {"UPDATE Fp2 SET Col_1 = 0 WHERE SeqNum = 35;", "UPDATE Fp2 SET Col_8 = 3 WHERE SeqNum = 34;"},
     {"Worksheet F Part II: There are statistics in column 1, but the Cost To Be Allocated is zero",
      "Worksheet F Part II: There are statistics in column 5.01, but the Cost To Be Allocated is zero"}},
    {"F-1 Part II cost without statistics",
     {"UPDATE F1p2 SET Col_1 = 0 WHERE SeqNum = 34;"},
     {"Worksheet F1 Part II: There are no statistics in column 12, but the Cost To Be Allocated is greater than zero"}},
    {"F-1 Part II statistics without cost; the total column is not checked",
     {"UPDATE F1p2 SET Col_1 = 0 WHERE SeqNum = 35;", "UPDATE F1p2 SET Col_2 = 9 WHERE SeqNum = 34;"},
     {"Worksheet F1 Part II: There are statistics in column 12, but the Cost To Be Allocated is zero"}},
};

TEST_F(EditChecks, CleanReportGivesOneNoErrorsRow) {
    MakeCleanReport();
    ShellUi spy(ui);
    EXPECT_EQ(Run_Edit_Checks(), 0);
    EXPECT_EQ(ErrorRows(), std::vector<std::string>{" |No errors found"});
    EXPECT_EQ(spy.log, (std::vector<std::string>{"status [ Performing Edit Checks]", "status hidden", "findings window"}));
    EXPECT_EQ(Temp_Text, "A");  // the explained codes
}

TEST_F(EditChecks, EachCheckFiresOnTheReportBuiltToTripIt) {
    MakeCleanReport();
    for (const Trip& trip : kTrips) {
        SCOPED_TRACE(trip.name);
        db().Begin();  // undone after the case: every case starts from the clean report
        for (const auto& sql : trip.sql) Exec(sql);
        const int level = Run_Edit_Checks();
        EXPECT_EQ(Findings(), trip.findings.empty() ? std::vector<std::string>{"No errors found"} : trip.findings);
        EXPECT_EQ(level, trip.findings.empty() ? 0 : 1);
        for (const auto& row : ErrorRows())
            EXPECT_EQ(row.substr(0, row.find('|')), trip.findings.empty() ? " " : "Warning");
        db().Rollback();
    }
}

TEST_F(EditChecks, FindingsComeInTheOrderOfTheChecks) {
    MakeCleanReport();
    Exec("UPDATE F1p2 SET Col_1 = 0 WHERE SeqNum = 35;");
    Exec("UPDATE C SET Basis = NULL WHERE LineNum = 1;");
    Exec("INSERT INTO B1 (SeqNum, Code, UpCCNum, UpAmount, DnCCNum) VALUES (2, 'Z', 12, 5, 11);");
    Exec("UPDATE Ap1 SET Info = '02/01/2006' WHERE SeqNum = 4;");
    Exec("UPDATE B1 SET DnAmount = 400 WHERE SeqNum = 100;");
    Run_Edit_Checks();
    EXPECT_EQ(Findings(), (std::vector<std::string>{
                              "Worksheet A Part I: The Chain Operation Start Date should not be after the Cost Report Start Date",
                              "Worksheet B-1: the sum of the increases is not equal to the sum of the decreases ",
                              "Worksheet B1: Line 2 is missing the Decrease Line Number or the Decrease Amount",
                              "Worksheet B-1: No explanation has been provided for code Z",
                              "Worksheet C: No Basis has been specified on line 1",
                              "Worksheet F1 Part II: There are statistics in column 12, but the Cost To Be Allocated is zero",
                          }));
}

TEST_F(EditChecks, ErrorTableIsMadeWhenMissingAndEmptiedOnEveryRun) {
    ASSERT_FALSE(Table_Exists("Error"));
    Run_Edit_Checks();
    ASSERT_TRUE(Table_Exists("Error"));
    Add_Edit_Check_Row("Warning", "left over");
    Exec("UPDATE DpA SET Answer = 'Yes';");
    Run_Edit_Checks();
    EXPECT_EQ(ErrorRows(), (std::vector<std::string>{
                               "Warning|Worksheet D Part B: This worksheet must be completed when the answer to "
                               "Worksheet D Part A is Yes",
                               "Warning|Worksheet D Part C: This worksheet must be completed when the answer to "
                               "Worksheet D Part A is Yes"}));
    // Nothing is registered for it.
    EXPECT_TRUE(Nz_Num(db().Scalar("SELECT COUNT(*) FROM Worksheets WHERE Item = 'Error';")).ToDouble() == 0);
}

// An old or damaged report may lack worksheets or their fields: each check
// that cannot run says so, and the checks of what is there still run.
TEST_F(EditChecks, RunOnAReportMissingWorksheets) {
    MakeCleanReport();
    for (const char* t : {"Ap1", "Ap3", "B1", "DpA", "Fp2", "Gp1"}) db().DropTable(t);
    db().DropField("C", "Basis");
    Exec("UPDATE F1p2 SET Col_1 = 0 WHERE SeqNum = 35;");
    EXPECT_EQ(Run_Edit_Checks(), 1);
    const std::string cannot = ": This worksheet could not be checked: ";
    const auto findings = Findings();
    ASSERT_EQ(findings.size(), 9u);
    const char* expected[][2] = {{"A Part I", "the table Ap1 is missing"},  {"A Part III", "the table Ap3 is missing"},
                                 {"B-1", "the table B1 is missing"},        {"C", ""},
                                 {"D Part B", "the table DpA is missing"},  {"D Part C", "the table DpA is missing"},
                                 {"G Part I", "the table Gp1 is missing"},  {"F Part II", "the table Fp2 is missing"}};
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(findings[i].substr(0, findings[i].find(cannot) + cannot.size() + std::string(expected[i][1]).size()),
                  "Worksheet " + std::string(expected[i][0]) + cannot + expected[i][1]);
    EXPECT_EQ(findings[8], "Worksheet F1 Part II: There are statistics in column 12, but the Cost To Be Allocated is zero");
}

}  // namespace
}  // namespace vt::test
