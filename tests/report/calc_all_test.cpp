// The whole-report calculation as the main window sees it: the order of its
// steps, what it does when the component sheets are out of step, and how a
// failing step is told without stopping the rest.
#include <sqlite3.h>

#include <algorithm>
#include <string>
#include <vector>

#include "print/print.h"
#include "report/calc_all.h"
#include "store/services.h"
#include "tests/report/shell_fixture.h"
#include "tests/support/calc_all_steps.h"
#include "tests/support/print_files.h"

namespace vt::test {
namespace {

using CalcAll = ShellTest;

// Whatever the run met, the main window is handed back: menus, then pointer.
void ExpectWindowRestored(const ShellUi& spy) {
    ASSERT_GE(spy.log.size(), 2u);
    EXPECT_EQ(std::tuple(spy.log.front(), spy.log[spy.log.size() - 2], spy.log.back()), std::tuple("busy", "menus on", "idle"));
}

TEST_F(CalcAll, RunsEveryStepInOrderThenTheEditChecks) {
    ShellUi spy(ui);
    // A file a failed print left open is given up, not put in the earlier one's place.
    WriteBytes(PathOf("left.prt"), "earlier");
    const int leftOpen = print::OpenPrintFile(PathOf("left.prt"));
    print::Out(leftOpen).Line("cut short");
    Calc_All();

    std::vector<std::string> expected = {"busy", "menus off"};
    for (const auto& s : CalcAllStatusTexts()) expected.push_back("status [" + s + "]");
    for (const char* s : {"refresh", "status [ Calculations completed.]", "status hidden",
                          "status [ Performing Edit Checks]", "status hidden", "findings window", "menus on", "idle"})
        expected.push_back(s);
    EXPECT_EQ(spy.log, expected);
    EXPECT_EQ(ErrorRows(), std::vector<std::string>{" |No errors found"});
    EXPECT_FALSE(print::IsPrintFileOpen(leftOpen));
    EXPECT_EQ(ReadFile("left.prt"), "earlier");
    EXPECT_FALSE(db().InTransaction());
}

TEST_F(CalcAll, ComponentSheetsOutOfStepCalculateNothing) {
    Exec("UPDATE B SET Expenses = 100 WHERE LineNum = 11;");
    Exec("DELETE FROM E WHERE SeqNum = 27;");  // A Part IV's fixed line 9
    ShellUi spy(ui);
    ui.AllowMessages();  // the repair tells what it could not carry over
    Calc_All();

    ASSERT_FALSE(ui.Messages().empty());
    EXPECT_EQ(ui.Messages().back(), (ShownMessage{"Errors were detected in the database!\r\nNo calculations were performed.  "
                                                  "Please check your data before recalculating", ui::kOkOnly, ""}));
    for (const auto& line : spy.log) EXPECT_EQ(line.find("status"), std::string::npos) << line;
    ExpectWindowRestored(spy);
    EXPECT_TRUE(Table_Exists("Bad_E"));  // the repair is kept
    EXPECT_EQ(Cur("SELECT COUNT(*) FROM E WHERE SeqNum = 27;"), Currency::FromInt(1));
    EXPECT_EQ(Cur("SELECT Expenses FROM B WHERE LineNum = 100;"), Currency{});
    EXPECT_FALSE(Table_Exists("Error"));
}

// A step that fails with an error is told by name, its half-done changes are
// undone, and every later step, the edit checks and the commit still happen.
TEST_F(CalcAll, FailingStepsAreToldAndTheRunGoesOn) {
    Exec("UPDATE B SET Expenses = 1000 WHERE LineNum = 11;");
    Exec("UPDATE C SET Amount = 555 WHERE LineNum = 15;");
    Exec("INSERT INTO DpB (SeqNum, LineNum, ExpAcct, Amount, AmtAllowable) VALUES (1, 12, 'Wages', 300, 100);");
    Exec("UPDATE J SET Col_1 = 40 WHERE LineNum = 1;");
    Exec("UPDATE J SET Col_1 = 777 WHERE LineNum = 10;");
    Exec("CREATE TRIGGER c_locked BEFORE UPDATE ON C WHEN NEW.LineNum = 28 BEGIN SELECT RAISE(ABORT, 'C total is locked'); END;");
    Exec("CREATE TRIGGER j_locked BEFORE UPDATE ON J WHEN NEW.LineNum = 66 BEGIN SELECT RAISE(ABORT, 'J total is locked'); END;");
    ShellUi spy(ui);
    ui.ExpectMessage();
    ui.ExpectMessage();
    Calc_All();

    ASSERT_EQ(ui.Messages().size(), 2u);
    for (auto [i, part] : {std::pair{0, "Worksheet C"}, {0, "C total is locked"}, {1, "Worksheet J"}})
        EXPECT_NE(ui.Messages()[i].prompt.find(part), std::string::npos) << ui.Messages()[i].prompt;
    EXPECT_EQ(ui.Messages()[1].style, ui::kCritical);

    EXPECT_EQ(std::pair(Cur("SELECT Amount FROM C WHERE LineNum = 15;"), Cur("SELECT Col_1 FROM J WHERE LineNum = 10;")),
              std::pair(Currency::FromInt(555), Currency::FromInt(777)));
    // Steps before and after the failures did their work: D Part B, B (which
    // reads D Part B's adjustment), A Part V after H, and the checks.
    EXPECT_EQ(Cur("SELECT NetAdj FROM DpB WHERE SeqNum = 100;"), Currency::FromInt(200));
    EXPECT_EQ(Cur("SELECT NetExpenses FROM B WHERE LineNum = 100;"), Currency::FromInt(800));
    ExpectWindowRestored(spy);
    EXPECT_TRUE(Table_Exists("Error"));
    EXPECT_FALSE(db().InTransaction());
}

TEST_F(CalcAll, FailedCheckOfTheComponentSheetsIsToldAndNothingRuns) {
    db().DropTable("Fp1");
    ShellUi spy(ui);
    ui.ExpectMessage();
    Calc_All();
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_NE(ui.Messages()[0].prompt.find("component sheets"), std::string::npos) << ui.Messages()[0].prompt;
    ExpectWindowRestored(spy);
    EXPECT_FALSE(Table_Exists("Error"));
}

// A repair the user was told of is kept although the check of a later sheet
// fails and nothing is calculated.
TEST_F(CalcAll, ToldRepairStaysWhenALaterCheckFails) {
    Exec("DELETE FROM E WHERE SeqNum = 27;");
    db().DropTable("Fp1");
    ui.AllowMessages();
    Calc_All();

    ASSERT_EQ(ui.Messages().size(), 2u);
    EXPECT_NE(ui.Messages()[0].prompt.find("The table has been repaired"), std::string::npos);
    EXPECT_NE(ui.Messages()[1].prompt.find("component sheets"), std::string::npos) << ui.Messages()[1].prompt;
    EXPECT_TRUE(Table_Exists("Bad_E"));
    EXPECT_EQ(Cur("SELECT COUNT(*) FROM E WHERE SeqNum = 27;"), Currency::FromInt(1));
    EXPECT_FALSE(db().InTransaction());
}

// A full disk stops the run at its first failure: one message says so and
// why, and the file is exactly as it was before.
TEST_F(CalcAll, FullDiskStopsTheRunAndKeepsNothing) {
    Exec("UPDATE B SET Expenses = 1000 WHERE LineNum = 11;");
    const std::string before = ReadFile("TEST.CRF");
    const Value pages = db().Scalar("PRAGMA page_count;");
    ASSERT_EQ(sqlite3_exec(db().Handle(), ("PRAGMA max_page_count = " + pages.ToText()).c_str(), nullptr, nullptr,
                           nullptr),
              SQLITE_OK);
    ShellUi spy(ui);
    ui.AllowMessages();
    Calc_All();

    ASSERT_EQ(ui.Messages().size(), 1u);
    for (const char* part : {"the disk is full", "Nothing of this calculation has been kept"})
        EXPECT_NE(ui.Messages()[0].prompt.find(part), std::string::npos) << ui.Messages()[0].prompt;
    EXPECT_EQ(ui.Messages()[0].style, ui::kCritical);
    ExpectWindowRestored(spy);
    EXPECT_FALSE(db().InTransaction());
    EXPECT_TRUE(ReadFile("TEST.CRF") == before);
    EXPECT_EQ(Cur("SELECT NetExpenses FROM B WHERE LineNum = 100;"), Currency{});
}

TEST_F(CalcAll, SecondStartWhileRunningReturnsAtOnce) {
    ShellUi spy(ui);
    int starts = 0;
    spy.onEvents = [&] {
        if (starts++ == 0) Calc_All();
    };
    Calc_All();
    EXPECT_EQ(std::count(spy.log.begin(), spy.log.end(), "status [ Calculating Worksheet B-1 ]"), 1);
    EXPECT_EQ(std::count(spy.log.begin(), spy.log.end(), "menus off"), 1);
    EXPECT_EQ(spy.log.back(), "idle");
    // And a later start runs again.
    spy.log.clear();
    Calc_All();
    EXPECT_EQ(spy.log.front(), "busy");
    EXPECT_EQ(std::count(spy.log.begin(), spy.log.end(), "findings window"), 1);
}

TEST_F(CalcAll, WithoutAnOpenReportRestoresTheWindow) {
    CloseReport();
    ShellUi spy(ui);
    ui.ExpectMessage();
    Calc_All();
    ExpectWindowRestored(spy);
}

}  // namespace
}  // namespace vt::test
