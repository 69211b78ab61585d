// The cost-centre list operations, checked against every table of a report.
#include <algorithm>
#include <map>
#include <stdexcept>

#include "engine/chain/component_sheet.h"
#include "engine/chain/f1.h"
#include "report/calc_all.h"
#include "report/cost_centres.h"
#include "store/services.h"
#include "tests/report/shell_fixture.h"
#include "tests/support/db_checks.h"

namespace vt::test {
namespace {

Currency N(double n) { return Currency::FromDouble(n); }

class CostCentres : public ShellTest {
protected:
    void TearDown() override {
        SetCCStepHook(nullptr);
        ShellTest::TearDown();
    }
    std::string One(const std::string& sql, double key) { return Rows(sql, {Value(N(key))}).at(0).at(0); }
    // Row 0 of a component sheet, from its first value field.
    std::vector<std::string> Row0(const std::string& sheet, int first = 4) {
        auto row = Rows(SelectSheet(sheet, "WHERE SeqNum = 0;")).at(0);
        return {row.begin() + first, row.end()};
    }
    void Component() {
        Exec("INSERT INTO Ap3 (LineNum, Component, MedicareNo) VALUES (1, 'North Home', '123');");
        Insert_Component_Line(N(1), 3);
    }
};

TEST_F(CostCentres, AddThenDeleteLeavesEveryTableAsBefore) {
    Exec("UPDATE B SET Expenses = CCur(LineNum * 100);");
    Exec("UPDATE J SET Col_1 = CCur(LineNum * 10);");
    struct Case { double n; const char* sheet; std::vector<std::string> columns; };
    for (const Case& c : std::vector<Case>{{12.01, "B", {}},
                                           {212.01, "J", {}},
                                           {2.02, "B", {"E", "Fp1", "Fp2", "Gp1", "Gp2"}},
                                           {9.01, "B", {"E"}},
                                           {30.02, "B", {"Gp1", "Gp2"}},
                                           {33, "B", {}}}) {
        SCOPED_TRACE(c.n);
        const auto before = Everything();
        const CcChange added = AddCC(N(c.n));
        ASSERT_TRUE(added.done) << added.error;
        EXPECT_EQ(added.windows.close, c.columns);
        EXPECT_EQ(Rows(std::string("SELECT CCName FROM ") + c.sheet + " WHERE CCNum = ?;", {Value(N(c.n))}),
                  (Table{{"Null"}}));
        for (const auto& sheet : c.columns) {
            const auto row0 = Row0(sheet, sheet[0] == 'F' ? 3 : sheet[0] == 'G' ? 5 : 4);
            EXPECT_NE(std::find(row0.begin(), row0.end(), N(c.n).ToText()), row0.end()) << sheet;
        }
        const auto picker = SelectableCCEntries("E1");
        EXPECT_EQ(std::any_of(picker.begin(), picker.end(), [&](auto& e) { return e.number == N(c.n); }),
                  c.n >= 10 && c.n < 200);
        ASSERT_TRUE(DeleteCC(N(c.n)).done);
        EXPECT_EQ(Everything(), before);
    }
}

TEST_F(CostCentres, DeletedColumnGoesAndTheNextKeepsItsAmounts) {
    Component();
    for (double n : {12.01, 12.02}) ASSERT_TRUE(AddCC(N(n)).done);
    AddChosenCCColumn("E1", N(12.01));
    AddChosenCCColumn("E1", N(12.02));
    AddF1Column(N(12.02));
    Exec("UPDATE E1 SET Col_1 = 700, Col_2 = 300 WHERE SeqNum = 1;");
    Exec("UPDATE B SET Expenses = 5000 WHERE LineNum = 12.02;");
    Exec("INSERT INTO B1 (SeqNum, UpCCName, UpCCNum, UpAmount, DnCCName, DnCCNum, DnAmount) "
         "VALUES (1, 'a', 12.02, 50, 'b', 12.01, 50);");
    Exec("UPDATE C SET CCNum = 12.01, Amount = -40 WHERE LineNum = 1;");
    Exec("UPDATE C SET CCNum = 12.02, Amount = -60 WHERE LineNum = 2;");
    Exec("INSERT INTO DpB (SeqNum, LineNum, Amount, AmtAllowable) VALUES (1, 12.01, 10, 5), (2, 12.02, 20, 5);");

    const CcChange deleted = DeleteCC(N(12.01));
    ASSERT_TRUE(deleted.done) << deleted.error;
    EXPECT_EQ(deleted.windows.close, (std::vector<std::string>{"E1", "F1p2", "F1p1"}));
    for (const char* sheet : {"E1", "F1p2", "F1p1"}) EXPECT_EQ(Row0(sheet), (std::vector<std::string>{"12.01", "Null"})) << sheet;
    EXPECT_EQ(Rows("SELECT Col_1 FROM E1 WHERE SeqNum = 1;"), (Table{{"300"}}));
    EXPECT_EQ(Rows("SELECT LineNum, Expenses FROM B WHERE Int(LineNum) = 12 ORDER BY LineNum;"),
              (Table{{"12", "0"}, {"12.01", "5000"}}));
    EXPECT_EQ(Rows("SELECT UpCCNum, UpAmount, DnCCNum, DnAmount FROM B1 WHERE SeqNum = 1;"),
              (Table{{"12.01", "50", "Null", "0"}}));
    EXPECT_EQ(Rows("SELECT CCNum, Amount FROM C WHERE LineNum IN (1, 2) ORDER BY LineNum;"),
              (Table{{"Null", "0"}, {"12.01", "-60"}}));
    EXPECT_EQ(Rows("SELECT SeqNum, LineNum FROM DpB WHERE SeqNum < 100;"), (Table{{"2", "12.01"}}));

    ui.AllowMessages();
    Calc_All();
    EXPECT_EQ(One("SELECT DirectAlloc FROM B WHERE LineNum = ?;", 12.01), "300");
}

TEST_F(CostCentres, RestoreMovesTheGroupUpEverywhere) {
    ASSERT_TRUE(DeleteCC(N(30.01)).done);  // saved as restorable
    ASSERT_TRUE(AddCC(N(30.01)).done);
    ASSERT_TRUE(RenameCC(N(30.01), "Bank Interest").done);
    AddChosenCCColumn("E1", N(30.01));
    Exec("UPDATE B SET Expenses = 900 WHERE LineNum = 30.01;");
    Exec("INSERT INTO B1 (SeqNum, UpCCNum, UpAmount) VALUES (1, 30.01, 50);");
    Exec("UPDATE C SET CCNum = 30.01, Amount = -40 WHERE LineNum = 1;");
    Exec("INSERT INTO DpB (SeqNum, LineNum) VALUES (1, 30.01);");
    ASSERT_EQ(DeletedCCEntries().size(), 1u);
    EXPECT_EQ(DeletedCCEntries()[0].text, "30.01  -  Interest Income");

    const CcChange restored = RestoreCC(N(30.01));
    ASSERT_TRUE(restored.done) << restored.error;
    EXPECT_EQ(restored.windows.close, (std::vector<std::string>{"Gp1", "Gp2", "E1"}));
    EXPECT_EQ(Rows("SELECT CCNum, CCName FROM CostCenters WHERE Int(CCNum) = 30 ORDER BY CCNum;"),
              (Table{{"30", "Interest Expense"}, {"30.01", "Interest Income"}, {"30.02", "Bank Interest"}}));
    EXPECT_EQ(Rows("SELECT LineNum, CCName, Expenses FROM B WHERE Int(LineNum) = 30 ORDER BY LineNum;"),
              (Table{{"30", "Interest Expense", "0"},
                     {"30.01", "Interest Income", "0"},
                     {"30.02", "Bank Interest", "900"}}));
    for (const char* g : {"Gp1", "Gp2"}) {
        const auto row0 = Row0(g, 5);
        EXPECT_EQ(std::vector<std::string>(row0.end() - 4, row0.end()),
                  (std::vector<std::string>{"0", "30", "30.01", "30.02"}))
            << g;
    }
    EXPECT_EQ(Row0("E1"), (std::vector<std::string>{"30.02", "Null"}));
    EXPECT_EQ(Rows("SELECT UpCCNum, (SELECT CCNum FROM C WHERE LineNum = 1), (SELECT LineNum FROM DpB WHERE SeqNum = 1) "
                   "FROM B1 WHERE SeqNum = 1;"),
              (Table{{"30.02", "30.02", "30.02"}}));
    EXPECT_TRUE(DeletedCCEntries().empty());
}

TEST(CostCentreNumbers, LockedProtectedAndRestorableSets) {
    int locked = 0;
    for (std::int64_t cents = 1; cents <= 30000; ++cents) locked += IsCCNameLocked(Currency{cents * 100});
    EXPECT_EQ(locked, 84);
    struct Case { double n; bool locked, protectedNumber, restorable; };
    for (const Case& c : std::vector<Case>{{1, true, true, false},       {1.01, true, false, false},
                                           {2.01, true, false, true},    {7, true, false, true},
                                           {10, false, false, false},    {12, true, false, true},
                                           {30, true, true, true},       {30.01, true, false, true},
                                           {32, false, false, true},     {205, false, true, true},
                                           {205.01, false, false, false}, {266, false, false, false},
                                           {238, false, false, false}}) {
        EXPECT_EQ(std::tuple(IsCCNameLocked(N(c.n)), IsCCProtected(N(c.n)), IsCCRestorable(N(c.n))),
                  std::tuple(c.locked, c.protectedNumber, c.restorable)) << c.n;
    }
}

// B's total lines (3, 6, 10, 36 and everything from 36 to 200, 100 among
// them) take no cost centre; the lines beside them do.
TEST(CostCentreNumbers, NoneOnALineOfBThatTotals) {
    const std::string total = " of Worksheet B is a total line.";
    struct Case { double n; bool refused; };
    for (const Case& c : std::vector<Case>{{2, false}, {3, true}, {4, false}, {5, false}, {6, true}, {9, false},
                                           {10, true}, {11, false}, {35, false}, {36, true}, {37, true},
                                           {100, true}, {200, true}, {201, false}}) {
        const std::string refusal = CCNumberRefusal(N(c.n));
        EXPECT_EQ(refusal, c.refused ? "Cost center " + N(c.n).ToText() + " cannot be added: line " + N(c.n).ToText() + total
                                     : "")
            << c.n;
    }
}

TEST_F(CostCentres, OffersNoNumberOnATotalLine) {
    struct Case { double row, sub, whole; bool subOffered, wholeOffered; };
    for (const Case& c : std::vector<Case>{{209, 209.01, 210, true, false}, {265, 265.01, 266, false, false},
                                           {228, 228.01, 229, true, false}, {2, 2.01, 3, false, false},
                                           {9, 9.01, 10, true, false},      {35, 35.01, 36, true, false},
                                           {30.01, 30.02, 31, true, true},  {237, 237.01, 238, true, false},
                                           {11.99, 12, 13, false, false}}) {
        SCOPED_TRACE(c.row);
        const CcAddChoices offer = OfferedCCNumbers(N(c.row));
        EXPECT_EQ(std::tuple(offer.buttons[0].caption, offer.buttons[1].number, offer.buttons[0].offered, offer.buttons[1].offered),
                  std::tuple("Add new Cost Center number " + N(c.sub).ToText(), N(c.whole), c.subOffered, c.wholeOffered));
    }
    const auto before = Everything();
    for (double n : {210.0, 266.0, 265.01, 263.0, 36.0, 12.02}) {
        ui.ExpectMessage();
        EXPECT_FALSE(AddCC(N(n)).done) << n;
    }
    EXPECT_EQ(Everything(), before);
}

TEST_F(CostCentres, RenameReachesEverySheetThatShowsTheName) {
    Exec("INSERT INTO B1 (SeqNum, UpCCName, UpCCNum, DnCCName, DnCCNum) VALUES (1, 'x', 32, 'y', 32);");
    Exec("UPDATE C SET CCNum = 32, CCName = 'x' WHERE LineNum = 1;");
    Exec("INSERT INTO DpB (SeqNum, LineNum, ExpAcct) VALUES (1, 32, 'x');");
    ASSERT_TRUE(RenameCC(N(32), "Consulting Fees").done);
    EXPECT_EQ(Rows("SELECT (SELECT CCName FROM B WHERE CCNum = 32), UpCCName, DnCCName, (SELECT CCName FROM C WHERE "
                   "LineNum = 1), (SELECT ExpAcct FROM DpB WHERE SeqNum = 1) FROM B1 WHERE SeqNum = 1;"),
              (Table{{"Consulting Fees", "Consulting Fees", "Consulting Fees", "Consulting Fees", "Consulting Fees"}}));
    EXPECT_EQ(Get_CC_Name(Value(N(32))), "Consulting Fees");
    ASSERT_TRUE(RenameCC(N(232), "Due from Partners").done);
    EXPECT_EQ(One("SELECT CCName FROM J WHERE CCNum = ?;", 232), "Due from Partners");

    ASSERT_TRUE(SetCCLabel(N(32), 1, "Consulting").done);
    EXPECT_EQ(Get_CC_Label(N(32), 1, 0), "Consulting");
    for (auto [n, label] : std::vector<std::pair<double, std::string>>{{32, std::string(17, 'x')}, {232, "x"}}) {
        ui.ExpectMessage();
        EXPECT_FALSE(SetCCLabel(N(n), 2, label).done) << n;
    }

    const auto before = Everything();
    struct Case { double n; std::string name; std::vector<std::string> messages; };
    const std::string dup = "This cost center name has already been used, please enter a unique cost center title.";
    for (const Case& c : std::vector<Case>{
             {205, "new cap. rel costs - movable equipment", {dup}},  // cost centre 5's, on the same line
             {232, "consulting FEES", {dup}},
             {32, "   ", {"A cost center may not be blank, please enter a cost center title."}},
             {32, std::string(41, 'a') + "\"", {"Cost Center names cannot be more than 40 characters in length",
                                                "Cost Center names cannot contain double quote characters"}},
             {32, "Tab\there",
              {"The cost center name may not contain control characters (such as tabs or line breaks)."}},
         }) {
        ui.ClearRecords();
        for (std::size_t i = 0; i < c.messages.size(); ++i) ui.ExpectMessage();
        EXPECT_FALSE(RenameCC(N(c.n), c.name).done) << c.name;
        EXPECT_EQ(ui.Prompts(), c.messages);
    }
    EXPECT_EQ(Everything(), before);
}

TEST_F(CostCentres, AFailureHalfwayLeavesEveryTableAsBefore) {
    ASSERT_TRUE(AddCC(N(2.02)).done);
    AddChosenCCColumn("E1", N(12));
    Exec("INSERT INTO B1 (SeqNum, UpCCNum, UpAmount) VALUES (1, 2.02, 50);");
    const auto before = Everything();
    for (const char* step : {"the list of deleted cost centers", "the cost-center list", "Worksheet B", "Worksheet E",
                             "Worksheet Fp2", "Worksheet Gp2", "the columns of Worksheets E-1 and F-1",
                             "Worksheets B-1, C and D Part B"}) {
        SCOPED_TRACE(step);
        SetCCStepHook([&](const std::string& s) { if (s == step) throw std::runtime_error("disk full"); });
        ui.ClearRecords();
        ui.ExpectMessage();
        const CcChange failed = DeleteCC(N(2.01));
        EXPECT_FALSE(failed.done);
        EXPECT_NE(failed.error.find(step + std::string(" could not be changed (disk full)")), std::string::npos)
            << failed.error;
        EXPECT_EQ(Everything(), before);
        EXPECT_EQ(Get_CC_Name(Value(N(2.02))), "");  // the list is read afresh
    }
    SetCCStepHook(nullptr);
    EXPECT_TRUE(DeleteCC(N(2.01)).done);
    ui.ClearRecords();
    Calc_All();  // worksheet B's capital lines and E's columns still pair up
    EXPECT_TRUE(ui.Messages().empty());
}

}  // namespace
}  // namespace vt::test
