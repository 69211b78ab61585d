// The editor of worksheet B on a real report, driven as a user types: what it
// shows and locks, amounts stored and seen at once in the viewer, refused
// entries, and the commands that a cell which cannot be stored stops.
#include <QTest>

#include "editors/frmEditB.h"
#include "engine/general/b.h"
#include "shell/calculation.h"
#include "tests/editors/sheet_editor_test.h"
#include "viewers/frmViewB.h"

namespace vt::test {
namespace {

using gui::frmEditB;
const char* const kNotNumeric = "This field may only contain numeric values";

class EditB : public SheetEditorTest {
protected:
    void SetUp() override {
        SheetEditorTest::SetUp();
        Need("B", Build_B);
    }
    frmEditB* Editor() { return Edit<frmEditB>("B"); }
    static int RowOf(gui::WorksheetWindow* w, double line) { return SheetEditorTest::RowOf(w, "LineNum", line); }
    Value Expenses(double line) { return db().Scalar("SELECT Expenses FROM B WHERE LineNum = ?", {Value(line)}); }
};

TEST_F(EditB, ShowsTheCostCentreLinesWithOnlyTheExpensesOpenToTyping) {
    RegisterAllWorksheets();
    frmEditB* e = Editor();
    grid::Grid& g = *e->grd;
    EXPECT_EQ(e->Caption(), "Edit Worksheet B");
    EXPECT_EQ(g.Data().RecordCount(), db().Scalar("SELECT COUNT(*) FROM CostCenters WHERE CCNum < 200").ToLong());
    for (double total : {3, 6, 10, 36, 100}) EXPECT_LT(RowOf(e, total), 0) << total;
    EXPECT_EQ(std::tuple(g.ColumnCount(), g.Col(), g.HeadLines()), std::tuple(3, 1, 4));
    EXPECT_EQ((std::vector{g.Columns(0).Width(), g.Columns(1).Width(), g.Columns(2).Width()}), (std::vector<double>{600, 3500, 1300}));
    EXPECT_FALSE(g.TypeIntoCell(0, 0, "7") || g.TypeIntoCell(0, 1, "Renamed"));
    EXPECT_EQ(g.Columns(2).Caption(), "  Expenses\r  per Home\r  Office\r   Books\r     1");
    EXPECT_FALSE(e->cmdAdd->isEnabled() || e->cmdDelete->isEnabled());
    EXPECT_EQ(e->cmdPrevious->toolTip() + " / " + e->cmdNext->toolTip(), "Open A  Part-5 For Edit / Open B-1 For Edit");
}

TEST_F(EditB, ATypedAmountIsStoredAndShownAtOnceInTheOpenViewerAndARefusedOneNever) {
    gui::WorksheetWindow* v = View("B");
    frmEditB* e = Editor();
    db().Execute("UPDATE B SET Reclassifications = 55 WHERE LineNum = 1");
    const struct {
        const char* typed;
        Value stored;  // Null: refused, the stored amount kept
        const char* message;
    } cases[] = {
        {"12.50", Value(Currency::FromInt(13)), "This field may only contain full dollar amounts. The value has been rounded"},
        {"-100", Value(Currency::FromInt(-100)), nullptr},
        {"12abc", Value::Null(), kNotNumeric},
        // Copied from the printed form, with its US thousands separators.
        {"1,234", Value(Currency::FromInt(1234)), nullptr},
        {"12,345,678", Value(Currency::FromInt(12345678)), nullptr},
        {" -1,234 ", Value(Currency::FromInt(-1234)), nullptr},
        {"1,234.50", Value(Currency::FromInt(1235)), "This field may only contain full dollar amounts. The value has been rounded"},
        {"999,999", Value(Currency::FromInt(999999)), nullptr},
        // Anything else with a comma is no number.
        {"1,2", Value::Null(), kNotNumeric},
        {"12,34", Value::Null(), kNotNumeric},
        {"1,,234", Value::Null(), kNotNumeric},
        {"1.234,56", Value::Null(), kNotNumeric},
        {"1234,567", Value::Null(), kNotNumeric},
        {",123", Value::Null(), kNotNumeric},
        {"1,234,56", Value::Null(), kNotNumeric},
        {"1,234.5,6", Value::Null(), kNotNumeric},
        // A first group beginning with 0 is a decimal comma, never a separator.
        {"0,500", Value::Null(), kNotNumeric},
        {"-0,250", Value::Null(), kNotNumeric},
        {"00,123", Value::Null(), kNotNumeric},
        {"1,234", Value(Currency::FromInt(1234)), nullptr},
    };
    Value kept = Expenses(1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        ui.ClearRecords();
        if (c.message) ui.ExpectMessage();
        EXPECT_EQ(e->grd->TypeIntoCell(RowOf(e, 1), 2, c.typed), !c.stored.IsNull());
        if (!c.stored.IsNull()) kept = c.stored;
        EXPECT_EQ(Expenses(1), kept);
        EXPECT_EQ(e->Field(RowOf(e, 1), "Expenses"), kept);
        EXPECT_EQ(v->grd->Data().FieldValue(RowOf(v, 1), "Expenses"), kept);
        EXPECT_EQ(ui.Prompts(), c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
    }
    EXPECT_EQ(db().Scalar("SELECT Reclassifications FROM B WHERE LineNum = 1"), Value(Currency::FromInt(55)));
}

TEST_F(EditB, ACellThatCannotBeStoredStopsTheCommandsThatNeedIt) {
    frmEditB* e = Editor();
    int calculations = 0;
    gui::SetCalculation([&] { ++calculations; });
    const int row = RowOf(e, 2);
    for (QPushButton* button : {e->cmdClose, e->cmdOpenView, e->cmdRecalculate, e->cmdNext}) {
        SCOPED_TRACE(button->objectName().toStdString());
        ui.ClearRecords();
        e->grd->TypeIntoCell(row, 2, "abc", /*store=*/false);
        ui.ExpectMessage();
        QTest::mouseClick(button, Qt::LeftButton);
        Settle();
        ASSERT_TRUE(gui::Is_Form_Loaded("frmEditB"));
        EXPECT_EQ(ui.Prompts(), std::vector<std::string>{kNotNumeric});
        EXPECT_FALSE(gui::Is_Form_Loaded("frmViewB") || calculations);
        EXPECT_EQ(e->Field(row, "Expenses"), Expenses(2));
    }
    // A good entry pending in the cell is stored before the window goes.
    e->grd->TypeIntoCell(row, 2, "77", false);
    QTest::mouseClick(e->cmdClose, Qt::LeftButton);
    Settle();
    EXPECT_FALSE(gui::Is_Form_Loaded("frmEditB"));
    EXPECT_EQ(Expenses(2), Value(Currency::FromInt(77)));
}

TEST_F(EditB, RecalculateRunsTheWholeReportAndOpensTheViewer) {
    db().Execute("UPDATE B SET Expenses = 0 WHERE LineNum IN (1, 2, 2.01)");
    frmEditB* e = Editor();
    ui.AllowMessages();
    e->grd->TypeIntoCell(RowOf(e, 1), 2, "1000", false);
    QTest::mouseClick(e->cmdRecalculate, Qt::LeftButton);
    for (const auto& p : ui.Prompts()) ADD_FAILURE() << p;
    EXPECT_EQ(Expenses(3), Value(Currency::FromInt(1000)));
    auto* v = Loaded<gui::frmViewB>("frmViewB");
    ASSERT_TRUE(v);
    EXPECT_EQ(v->grd->Data().FieldValue(RowOf(v, 3), "Expenses"), Value(Currency::FromInt(1000)));
    EXPECT_TRUE(e->isEnabled());
}

TEST_F(EditB, PictureOfTheEditor) {
    db().Execute("UPDATE B SET Expenses = CCur(LineNum * 12345) WHERE LineNum < 100");
    Pictures({"B"});
}

}  // namespace
}  // namespace vt::test
