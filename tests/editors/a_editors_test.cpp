// The editors of worksheet A on a real report, driven as a user types and
// clicks: lines added and deleted in A and in every component sheet, the full
// bands, the checks of typed cells, Part I's pick lists, provider lines and
// key officers, and a failure in the middle of an add.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <stdexcept>

#include "editors/a_edit_form.h"
#include "editors/frmEditAp1.h"
#include "engine/chain/component_sheet.h"
#include "shell/core/components.h"
#include "shell/forms.h"
#include "shell/frmCRFEditKey.h"
#include "shell/worksheet_windows.h"
#include "store/services.h"
#include "tests/gui_support/gui_test.h"
#include "tests/support/db_checks.h"

namespace vt::test {
namespace {

Currency N(double n) { return Currency::FromDouble(n); }
Value Day(int y, int m, int d) { return Value(*DateTime::FromParts(y, m, d)); }

const std::vector<std::string> kSheets = {"E", "E1", "Fp1", "Fp2", "F1p1", "F1p2", "H", "Gp2"};

struct Part {
    int part;
    const char* code;
    const char* name;  // the name field
    double offset;     // of the part's rows in the sheets
};
const Part kAp3{3, "Ap3", "Component", 0}, kAp4{4, "Ap4", "Component", 18}, kAp5{5, "Ap5", "Col1", 28};

class EditA : public WindowTest {
protected:
    void TearDown() override {
        Set_A_Step_Hook(nullptr);
        WindowTest::TearDown();
    }
    gui::EditForm* Open(const std::string& code) {
        gui::Open_Worksheet_Form("edit", code);
        QWidget* w = nullptr;
        EXPECT_TRUE(gui::Is_Form_Loaded("frmEdit" + code, &w));
        return static_cast<gui::EditForm*>(w);
    }
    static int RowOf(gui::EditForm* e, double line) {
        const char* key = e->Code() == "Ap1" ? "SeqNum" : "LineNum";
        return e->grd->Data().FindFirst(key, db::FindOp::Eq, Value(N(line)));
    }
    static QMenu* Menu(QWidget* e, const char* name) { return e->findChild<QMenu*>(name); }
    // Lines named "L<line>" in A and its rows in the sheets, each sheet's last
    // value column holding 100 times the line.
    void Lines(const Part& p, const std::vector<double>& lines) {
        for (double l : lines) {
            db().Execute(std::string("INSERT INTO ") + p.code + " (LineNum) VALUES (?);", {Value(N(l))});
            Insert_Component_Line(N(l), p.part);
            ASSERT_TRUE(Set_A_Field(p.part, N(l), p.name, "L" + N(l).ToText()).done);
        }
        for (const auto& s : kSheets)
            db().Execute("UPDATE " + s + " SET " + db().Fields(s).back().name +
                         " = CCur(LineNum * 100) WHERE SeqNum > ? AND SeqNum < ?;",
                         {Value(N(p.offset)), Value(N(p.offset + 9))});
    }
    Table SheetRows(const std::string& sheet, const Part& p) {
        return Rows("SELECT LineNum, Component, " + db().Fields(sheet).back().name + " FROM " + sheet +
                        " WHERE SeqNum > ? AND SeqNum < ? AND CCur(SeqNum - LineNum) = ? ORDER BY SeqNum;",
                    {Value(N(p.offset)), Value(N(p.offset + 9)), Value(N(p.offset))});
    }
};

TEST_F(EditA, AddOnAPartThreeLineMovesEveryLaterLineInEverySheetAndDeleteMovesThemBack) {
    Lines(kAp3, {1, 1.01, 1.02});
    const auto before = All_Tables();
    gui::EditForm* e = Open("Ap3");
    e->grd->SetCurrentCell(RowOf(e, 1), 4);
    ASSERT_TRUE(e->cmdAdd->isEnabled());
    QTest::mouseClick(e->cmdAdd, Qt::LeftButton);

    EXPECT_EQ(Rows("SELECT LineNum, Component FROM Ap3 ORDER BY LineNum;"),
              (Table{{"1", "L1"}, {"1.01", "Null"}, {"1.02", "L1.01"}, {"1.03", "L1.02"}}));
    for (const auto& s : kSheets)
        EXPECT_EQ(SheetRows(s, kAp3),
                  (Table{{"1", "L1", "100"}, {"1.01", "Null", "0"}, {"1.02", "L1.01", "101"}, {"1.03", "L1.02", "102"}}))
            << s;
    // The new line's name cell is open for typing; the name reaches every sheet.
    EXPECT_EQ(e->Current("LineNum"), Value(N(1.01)));
    EXPECT_EQ(e->grd->Col(), 1);
    ASSERT_TRUE(e->grd->EditActive());
    e->grd->SetEditText("North Home");
    EXPECT_TRUE(e->grd->UpdateRecord());
    for (const auto& s : kSheets)
        EXPECT_EQ(Rows("SELECT Component FROM " + s + " WHERE SeqNum = 1.01;"), (Table{{"North Home"}})) << s;
    EXPECT_EQ(e->Current("Component"), Value("North Home"));

    QTest::mouseClick(e->cmdDelete, Qt::LeftButton);
    EXPECT_EQ(All_Tables(), before);
    EXPECT_TRUE(Check_Component_Sheets());
    EXPECT_EQ(e->Current("Component"), Value("L1.01"));
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(EditA, AddIsRefusedWhileABandIsFullWithTheReasonOnTheButton) {
    struct Case { Part p; std::vector<double> lines; };
    for (const Case& c : {Case{kAp3, {1, 17.99}}, Case{kAp5, {1, 4.99}}, Case{kAp4, {1, 8.99}}}) {
        SCOPED_TRACE(c.p.code);
        Lines(c.p, c.lines);
        const auto before = All_Tables();
        gui::EditForm* e = Open(c.p.code);
        for (int row = 0; row < e->grd->Data().RecordCount(); ++row) {
            e->grd->SetCurrentCell(row, 1);
            EXPECT_FALSE(e->cmdAdd->isEnabled()) << row;
            const std::string reason = e->cmdAdd->toolTip().toStdString();
            EXPECT_NE(reason.find("reach " + N(c.lines.back()).ToText()), std::string::npos) << reason;
            // A click that reaches Add all the same is told the reason and changes nothing.
            ui.ClearRecords();
            ui.ExpectMessage();
            e->cmdAdd_Click();
            EXPECT_EQ(ui.Prompts(), std::vector<std::string>{reason});
        }
        EXPECT_EQ(All_Tables(), before);
        e->grd->SetCurrentCell(RowOf(e, c.lines.back()), 1);
        QTest::mouseClick(e->cmdDelete, Qt::LeftButton);
        EXPECT_TRUE(e->cmdAdd->isEnabled());
        EXPECT_EQ(e->cmdAdd->toolTip().toStdString(), "");
    }
}

TEST_F(EditA, TypedCellsAreCheckedStoredAndCarriedIntoTheSheets) {
    Lines(kAp3, {1});
    db().Execute("UPDATE Ap3 SET PeriodTo = ? WHERE LineNum = 1;", {Day(2006, 12, 31)});
    db().Execute("UPDATE H SET FYE = ? WHERE SeqNum = 1;", {Day(2006, 12, 31)});
    gui::EditForm* e = Open("Ap3");
    const std::string yesOrNo = "Please enter Y or N.";
    const std::string badDate = "Invalid date. Please enter dates in the form mm/dd/yyyy";
    struct Case { int col; std::string typed; std::string stored; const char* message; };
    for (const Case& c : std::vector<Case>{
             {7, "YES", "Yes", nullptr},
             {7, "yes please", "Yes", yesOrNo.c_str()},
             {8, "n", "No", nullptr},
             {4, "2/30/2006", "12/31/2006", badDate.c_str()},
             {4, "", "Null", nullptr},
             {4, "2007-06-30", "6/30/2007", nullptr},
             {2, "12345678", "Null", "The Medicare No. may hold at most 7 characters."},
             {9, std::string(26, 'm'), "Null",
              "Medicare and Medicaid Intermediary names cannot be more than 25 characters in length"},
         }) {
        const std::string field = e->grd->Data().FieldName(c.col);
        SCOPED_TRACE(field + ": " + c.typed);
        ui.ClearRecords();
        if (c.message) ui.ExpectMessage();
        e->grd->TypeIntoCell(0, c.col, c.typed);
        EXPECT_EQ(ui.Prompts(), c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
        EXPECT_EQ(Rows("SELECT " + field + " FROM Ap3;"), (Table{{c.stored}}));
        const Value shown = e->Field(0, field);
        EXPECT_EQ(shown.IsNull() ? "Null" : shown.ToText(), c.stored);
        // The period end is the component's year end in H, kept when a date is refused.
        if (field == "PeriodTo") EXPECT_EQ(Rows("SELECT FYE FROM H WHERE SeqNum = 1;"), (Table{{c.stored}}));
    }
    // The pick list writes as if typed.
    e->grd->SetCurrentCell(0, 7);
    ASSERT_TRUE(e->grd->ClickCellButton());
    Menu(e, "mnuYesNo")->actions()[1]->trigger();
    EXPECT_EQ(Rows("SELECT MedicaidPart FROM Ap3;"), (Table{{"No"}}));
}

TEST_F(EditA, PartFourKeepsLineNineAndPartFiveMarksItsStatementColumns) {
    gui::EditForm* e4 = Open("Ap4");
    ASSERT_EQ(e4->grd->Data().RecordCount(), 1);
    EXPECT_FALSE(e4->grd->TypeIntoCell(0, 1, "Renamed"));
    EXPECT_FALSE(e4->cmdDelete->isEnabled());
    QTest::mouseClick(e4->cmdAdd, Qt::LeftButton);
    EXPECT_EQ(Rows("SELECT LineNum, Component FROM Ap4 ORDER BY LineNum;"),
              (Table{{"1", "Null"}, {"9", "Other Managed Facilities"}}));
    EXPECT_EQ(Rows("SELECT LineNum FROM H WHERE SeqNum IN (19, 27) ORDER BY SeqNum;"), (Table{{"1"}, {"9"}}));

    Lines(kAp5, {1});
    gui::EditForm* e5 = Open("Ap5");
    EXPECT_FALSE(e5->grd->Columns(4).Visible());
    EXPECT_TRUE(e5->grd->TypeIntoCell(0, 5, "maybe"));
    EXPECT_EQ(Rows("SELECT Col5 FROM Ap5;"), (Table{{"X"}}));
}

TEST_F(EditA, PartOneTypesIdentityLinesAndOfficers) {
    auto* e = static_cast<gui::frmEditAp1*>(Open("Ap1"));
    EXPECT_FALSE(e->cmdPrevious->isEnabled());
    auto info = [](double seq) { return Rows("SELECT Info FROM Ap1 WHERE SeqNum = ?;", {Value(N(seq))}); };

    // Type 5 asks to specify, type 10 does not: 8.01 is emptied and locked.
    e->grd->SetCurrentCell(RowOf(e, 8), 2);
    EXPECT_FALSE(e->grd->TypeIntoCell(RowOf(e, 8), 2, "Church"));  // typing opens the list instead
    EXPECT_TRUE(e->mnuType->isVisible());
    e->mnuType->actions()[4]->trigger();
    EXPECT_TRUE(e->grd->TypeIntoCell(RowOf(e, 8.01), 2, "Cooperative"));
    EXPECT_EQ(info(8.01), (Table{{"Cooperative"}}));
    e->grd->SetCurrentCell(RowOf(e, 8), 2);
    ASSERT_TRUE(e->grd->ClickCellButton());
    e->mnuType->actions()[9]->trigger();
    EXPECT_EQ(info(8), (Table{{"10 - Governmental, Federal"}}));
    EXPECT_EQ(info(8.01), (Table{{""}}));
    EXPECT_EQ(e->Field(RowOf(e, 8.01), "Info"), Value(""));
    EXPECT_FALSE(e->grd->TypeIntoCell(RowOf(e, 8.01), 2, "Cooperative"));

    // The chain start date is stored as text in one form.
    EXPECT_TRUE(e->grd->TypeIntoCell(RowOf(e, 4), 2, "2/3/2004"));
    EXPECT_EQ(info(4), (Table{{"02/03/2004"}}));

    // An identity line opens the provider information, whose Save the grid shows.
    const auto before = All_Tables();
    EXPECT_FALSE(e->grd->TypeIntoCell(RowOf(e, 2.02), 2, "999999"));
    EXPECT_FALSE(e->grd->TypeIntoCell(RowOf(e, 1), 0, "7"));
    EXPECT_EQ(All_Tables(), before);
    QWidget* w = nullptr;
    ASSERT_TRUE(gui::Is_Form_Loaded("frmCRFEditKey", &w));
    auto* dialog = static_cast<gui::frmCRFEditKey*>(w);
    dialog->txtProviderNum->setText("12-3456");
    dialog->txtFacilityName->setText("North Office");
    QTest::mouseClick(dialog->cmdSave, Qt::LeftButton);
    Settle();
    EXPECT_FALSE(gui::Is_Form_Loaded("frmCRFEditKey"));
    EXPECT_EQ(e->Field(RowOf(e, 1), "Info"), Value("North Office"));

    // Every officer deleted, Add makes 9.01 again, its answer open for typing.
    e->grd->SetCurrentCell(RowOf(e, 9.01), 2);
    for (int i = 0; i < 2; ++i) QTest::mouseClick(e->cmdDelete, Qt::LeftButton);
    EXPECT_EQ(e->Current("SeqNum"), Value(N(8.01)));
    EXPECT_FALSE(e->cmdDelete->isEnabled());
    QTest::mouseClick(e->cmdAdd, Qt::LeftButton);
    EXPECT_EQ(e->Current("SeqNum"), Value(N(9.01)));
    ASSERT_TRUE(e->grd->EditActive());
    e->grd->SetEditText("Jane Roe");
    EXPECT_TRUE(e->grd->UpdateRecord());
    EXPECT_TRUE(e->grd->TypeIntoCell(RowOf(e, 9.01), 1, "Treasurer"));
    EXPECT_EQ(Rows("SELECT SeqNum, Legend, Info FROM Ap1 WHERE SeqNum >= 9;"),
              (Table{{"9.01", "Treasurer", "Jane Roe"}}));
}

TEST_F(EditA, AFailedAddIsToldAndLeavesTheWindowAndEverySheetAsBefore) {
    Lines(kAp3, {1, 1.01});
    const auto before = All_Tables();
    gui::EditForm* e = Open("Ap3");
    e->grd->SetCurrentCell(RowOf(e, 1), 1);
    Set_A_Step_Hook([](const std::string& step) {
        if (step == "the component sheets") throw std::runtime_error("disk full");
    });
    ui.ExpectMessage();
    QTest::mouseClick(e->cmdAdd, Qt::LeftButton);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_NE(ui.Messages()[0].prompt.find("disk full"), std::string::npos);
    EXPECT_EQ(All_Tables(), before);
    EXPECT_EQ(e->grd->Data().RecordCount(), 2);
    EXPECT_EQ(e->Current("LineNum"), Value(N(1)));
}

TEST_F(EditA, PicturesOfTheEditors) {
    gui::Install_Heading_Measurer(nullptr);
    Lines(kAp3, {1, 1.01, 2});
    Lines(kAp4, {1});
    Lines(kAp5, {1, 2});
    db().Execute("UPDATE Ap3 SET MedicareNo = '123456', PeriodFrom = ?, PeriodTo = ?, MedicaidPart = 'Yes';",
                 {Day(2006, 1, 1), Day(2006, 12, 31)});
    const QString dir = QDir(VT_BUILD_DIR).filePath("screenshots");
    QDir().mkpath(dir);
    for (const char* code : {"Ap1", "Ap3", "Ap4", "Ap5"}) {
        gui::EditForm* e = Open(code);
        QApplication::processEvents();
        EXPECT_TRUE(e->grab().save(QDir(dir).filePath(QString("frmEdit%1.png").arg(code))));
    }
}

}  // namespace
}  // namespace vt::test
