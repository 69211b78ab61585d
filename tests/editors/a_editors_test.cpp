// The editors of worksheet A driven as a user types and clicks: lines added
// and deleted in A and every component sheet, a failed add, the full bands,
// typed cells reaching H, and Part I's pick lists, provider lines and officers.
#include <QMenu>
#include <QTest>

#include <stdexcept>

#include "editors/frmEditAp1.h"
#include "engine/chain/component_sheet.h"
#include "tests/editors/sheet_editor_test.h"

namespace vt::test {
namespace {

Currency N(double n) { return Currency::FromDouble(n); }
const std::vector<std::string> kSheets = {"E", "E1", "Fp1", "Fp2", "F1p1", "F1p2", "H", "Gp2"};

class EditA : public SheetEditorTest {
protected:
    void TearDown() override {
        SetAStepHook(nullptr);
        SheetEditorTest::TearDown();
    }
    static int RowOf(gui::EditForm* e, double line) {
        return SheetEditorTest::RowOf(e, e->Code() == "Ap1" ? "SeqNum" : "LineNum", line);
    }
    // Lines "L<line>" of a part in A and the sheets; in Part III's band each
    // sheet's last column holds 100 times the line.
    void Lines(int part, const std::vector<double>& lines) {
        for (double l : lines) {
            db().Execute("INSERT INTO Ap" + std::to_string(part) + " (LineNum) VALUES (?);", {Value(N(l))});
            Insert_Component_Line(N(l), part);
            ASSERT_TRUE(SetAField(part, N(l), part == 5 ? "Col1" : "Component", "L" + N(l).ToText()).done);
        }
        for (const auto& s : kSheets)
            db().Execute("UPDATE " + s + " SET " + db().Fields(s).back().name +
                         " = CCur(LineNum * 100) WHERE SeqNum > 0 AND SeqNum < 18;");
    }
};

TEST_F(EditA, PartThreeLinesMoveInEverySheetWithTheirAmountsAndAFailedAddChangesNothing) {
    Lines(3, {1, 1.01, 1.02});
    const auto before = All_Tables();
    auto* e = Edit("Ap3");
    e->grd->SetCurrentCell(RowOf(e, 1), 4);
    SetAStepHook([](const std::string& step) {
        if (step == "the component sheets") throw std::runtime_error("disk full");
    });
    ui.ExpectMessage();
    QTest::mouseClick(e->cmdAdd, Qt::LeftButton);
    EXPECT_NE(ui.Prompts().at(0).find("disk full"), std::string::npos);
    EXPECT_EQ(All_Tables(), before);
    EXPECT_EQ(e->grd->Data().RecordCount(), 3);

    // Every sheet's lines moving with A's is the operation's, checked with it.
    SetAStepHook(nullptr);
    QTest::mouseClick(e->cmdAdd, Qt::LeftButton);
    EXPECT_EQ(Rows("SELECT LineNum, Component FROM Ap3 ORDER BY LineNum;"),
              (Table{{"1", "L1"}, {"1.01", "Null"}, {"1.02", "L1.01"}, {"1.03", "L1.02"}}));
    // On the new line's name, open for typing: the name reaches the sheets.
    EXPECT_EQ(e->Current("LineNum"), Value(N(1.01)));
    ASSERT_TRUE(e->grd->EditActive() && e->grd->Col() == 1);
    e->grd->SetEditText("North Home");
    EXPECT_TRUE(e->grd->UpdateRecord());
    EXPECT_EQ(Rows("SELECT Component FROM H WHERE SeqNum = 1.01;"), (Table{{"North Home"}}));

    QTest::mouseClick(e->cmdDelete, Qt::LeftButton);
    EXPECT_EQ(All_Tables(), before);
    EXPECT_TRUE(Check_Component_Sheets());
    EXPECT_EQ(e->Current("Component"), Value("L1.01"));
}

TEST_F(EditA, AddIsRefusedWhileABandIsFullWithTheReasonOnTheButton) {
    for (const auto& [part, last] : std::vector<std::pair<int, double>>{{3, 17.99}, {5, 4.99}, {4, 8.99}}) {
        SCOPED_TRACE(part);
        Lines(part, {1, last});
        const auto before = All_Tables();
        auto* e = Edit("Ap" + std::to_string(part));
        for (int row = 0; row < e->grd->Data().RecordCount(); ++row) {  // Part IV's line 9 too
            e->grd->SetCurrentCell(row, 1);
            EXPECT_FALSE(e->cmdAdd->isEnabled());
            const std::string reason = e->cmdAdd->toolTip().toStdString();
            EXPECT_NE(reason.find("reach " + N(last).ToText()), std::string::npos) << reason;
            ui.ClearRecords();
            ui.ExpectMessage();
            e->cmdAdd_Click();  // reached all the same: told why, nothing changes
            EXPECT_EQ(ui.Prompts(), std::vector<std::string>{reason});
        }
        EXPECT_EQ(All_Tables(), before);
    }
}

TEST_F(EditA, TypedCellsAreStoredAsTheChecksSayAndPeriodEndsReachH) {
    Lines(3, {1});
    auto* e = Edit("Ap3");
    const char* badDate = "Invalid date. Please enter dates in the form mm/dd/yyyy";
    // Which entries each field takes is the operation's, checked with it; here
    // that a typed cell goes through it and a refusal keeps the stored value.
    struct Case { int col; std::string typed, stored, fye; const char* message; };
    for (const Case& c : std::vector<Case>{{7, "yes please", "Null", "Null", "Please enter Y or N."},
                                           {4, "2007-06-30", "6/30/2007", "6/30/2007", nullptr},
                                           {4, "2/30/2007", "6/30/2007", "6/30/2007", badDate}}) {
        const std::string field = e->grd->Data().FieldName(c.col);
        SCOPED_TRACE(field + ": " + c.typed);
        if (c.message) ui.ExpectMessage();
        e->grd->TypeIntoCell(0, c.col, c.typed);
        if (c.message) {
            EXPECT_EQ(ui.Prompts().back(), c.message);
        }
        EXPECT_EQ(Rows("SELECT " + field + " FROM Ap3;"), (Table{{c.stored}}));
        EXPECT_EQ(e->Field(0, field).IsNull() ? "Null" : e->Field(0, field).ToText(), c.stored);
        EXPECT_EQ(Rows("SELECT FYE FROM H WHERE SeqNum = 1;"), (Table{{c.fye}}));
    }
    e->grd->SetCurrentCell(0, 8);
    ASSERT_TRUE(e->grd->ClickCellButton());
    e->findChild<QMenu*>("mnuYesNo")->actions()[1]->trigger();
    EXPECT_EQ(Rows("SELECT ReimburseType FROM Ap3;"), (Table{{"No"}}));
}

TEST_F(EditA, PartOneTypesProviderLinesAndOfficers) {
    auto* e = Edit<gui::frmEditAp1>("Ap1");
    auto info = [](double seq) { return Rows("SELECT Info FROM Ap1 WHERE SeqNum = ?;", {Value(N(seq))}); };
    // The answers of 7 and 8 are locked; only their lists set them.
    const Table answers = Rows("SELECT IFNULL(Info, 'null') FROM Ap1 WHERE SeqNum IN (7, 8) ORDER BY SeqNum;");
    for (auto [seq, typed] : {std::pair{7.0, "y"}, {8.0, "Church"}, {8.0, ""}}) {
        EXPECT_TRUE(e->grd->CellLocked(RowOf(e, seq), 2)) << seq;
        EXPECT_FALSE(e->grd->TypeIntoCell(RowOf(e, seq), 2, typed)) << seq;
    }
    EXPECT_EQ(Rows("SELECT IFNULL(Info, 'null') FROM Ap1 WHERE SeqNum IN (7, 8) ORDER BY SeqNum;"), answers);
    e->grd->SetCurrentCell(RowOf(e, 7), 2);
    e->mnuYesNo->actions()[0]->trigger();
    EXPECT_EQ(info(7), (Table{{"Yes"}}));
    e->grd->SetCurrentCell(RowOf(e, 8), 2);
    e->mnuType->actions()[4]->trigger();
    EXPECT_TRUE(e->grd->TypeIntoCell(RowOf(e, 8.01), 2, "Cooperative"));
    e->grd->SetCurrentCell(RowOf(e, 8), 2);
    ASSERT_TRUE(e->grd->ClickCellButton());
    e->mnuType->actions()[9]->trigger();
    EXPECT_EQ(info(8), (Table{{"10 - Governmental, Federal"}}));
    EXPECT_EQ(info(8.01), (Table{{""}}));
    EXPECT_EQ(e->Field(RowOf(e, 8.01), "Info"), Value(""));
    EXPECT_FALSE(e->grd->TypeIntoCell(RowOf(e, 8.01), 2, "Cooperative"));

    // An identity line opens the provider information instead.
    const auto before = All_Tables();
    EXPECT_FALSE(e->grd->TypeIntoCell(RowOf(e, 2.02), 2, "999999"));
    EXPECT_EQ(All_Tables(), before);
    QWidget* dialog = nullptr;
    ASSERT_TRUE(gui::Is_Form_Loaded("frmCRFEditKey", &dialog));
    dialog->close();

    // With every officer deleted, Add makes 9.01 again.
    e->grd->SetCurrentCell(RowOf(e, 9.01), 2);
    for (int i = 0; i < 2; ++i) QTest::mouseClick(e->cmdDelete, Qt::LeftButton);
    EXPECT_FALSE(e->cmdDelete->isEnabled());
    QTest::mouseClick(e->cmdAdd, Qt::LeftButton);
    EXPECT_EQ(e->Current("SeqNum"), Value(N(9.01)));
    EXPECT_EQ(Rows("SELECT SeqNum FROM Ap1 WHERE SeqNum >= 8.02;"), (Table{{"9.01"}}));
}

TEST_F(EditA, PicturesOfTheEditors) {
    Lines(3, {1, 1.01, 2});
    db().Execute("UPDATE Ap3 SET MedicareNo = '123456', PeriodFrom = '2006-01-01', MedicaidPart = 'Yes';");
    Lines(5, {1, 2});
    Pictures({"Ap1", "Ap3", "Ap4", "Ap5"});
}

}  // namespace
}  // namespace vt::test
