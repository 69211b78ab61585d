// Worksheet J's editor on a real report: its reduced window, an amount seen
// at once in the J viewer, and stale rows (its own, or another window's)
// never undoing what was stored since they were read.
#include "editors/edit_form.h"
#include "editors/frmEditJ.h"
#include "engine/general/d.h"
#include "engine/general/i.h"
#include "engine/general/j.h"
#include "shell/text.h"
#include "tests/editors/sheet_editor_test.h"
#include "viewers/frmViewJ.h"
#include "viewers/view_form.h"

namespace vt::test {
namespace {

using gui::frmEditJ;

class EditJ : public SheetEditorTest {
protected:
    void SetUp() override {
        SheetEditorTest::SetUp();
        Need("J", Build_J);
    }
    frmEditJ* Editor() { return Open<frmEditJ>("edit", "J", "frmEditJ"); }
    Value Stored(const char* field, int line) {
        return db().Scalar(std::string("SELECT ") + field + " FROM J WHERE LineNum = ?", {Value(line)});
    }
};

TEST_F(EditJ, ShowsTheAccountLinesWithOnlyTheAmountOpenToTyping) {
    frmEditJ* e = Editor();
    grid::Grid& g = *e->grd;
    EXPECT_EQ(e->Caption(), "EDIT: Worksheet J");
    EXPECT_FALSE(e->HasSetGrd());
    EXPECT_EQ(e->findChild<QPushButton*>("cmdNext"), nullptr);
    EXPECT_EQ(e->findChild<QPushButton*>("cmdRecalculate"), nullptr);
    EXPECT_FALSE(e->cmdAdd->isEnabled() || e->cmdDelete->isEnabled());
    for (int total : {10, 29, 38, 39, 49, 55, 56, 62, 63, 66}) EXPECT_LT(RowOf(e, "LineNum", total), 0) << total;
    EXPECT_EQ(g.Data().FieldValue(RowOf(e, "LineNum", 6), "CCName").ToText().rfind("Less:", 0), 0u);
    ASSERT_EQ(g.ColumnCount(), 3);
    const double widths[] = {600, 4300, 1250};
    for (int c = 0; c < 3; ++c) EXPECT_EQ(g.Columns(c).Width(), widths[c]) << c;
    EXPECT_FALSE(g.TypeIntoCell(0, 0, "7"));
    EXPECT_FALSE(g.TypeIntoCell(0, 1, "Renamed"));
    const std::string amount = g.Columns(2).Caption();
    EXPECT_EQ(gui::Trim(amount.substr(amount.rfind('\r') + 1)), "1");
}

TEST_F(EditJ, AnAmountReachesTheViewerAndNoStaleRowUndoesIt) {
    auto* v = Open("view", "J", "frmViewJ");
    frmEditJ* e = Editor();
    // Read before anything below is stored.
    grid::Grid other;
    other.Bind(db(), "SELECT * FROM J ORDER BY LineNum;");
    other.show();
    ui.ExpectMessage();
    EXPECT_TRUE(e->grd->TypeIntoCell(RowOf(e, "LineNum", 1), 2, "12.5"));
    EXPECT_EQ(Stored("Col_1", 1), Value(Currency::FromInt(13)));
    EXPECT_EQ(v->grd->Data().FieldValue(RowOf(v, "LineNum", 1), "Col_1"), Value(Currency::FromInt(13)));
    ui.ExpectMessage();
    EXPECT_FALSE(e->grd->TypeIntoCell(RowOf(e, "LineNum", 1), 2, "abc"));
    EXPECT_EQ(Stored("Col_1", 1), Value(Currency::FromInt(13)));

    // Another window's stale row of line 1 writes only what is typed there.
    const int line1 = other.Data().FindFirst("LineNum", db::FindOp::Eq, Value(1));
    EXPECT_TRUE(other.TypeIntoCell(line1, other.Data().FieldIndex("CCName"), "Cash renamed"));
    EXPECT_EQ(Stored("Col_1", 1), Value(Currency::FromInt(13)));

    // The editor itself is passed by the general refresh: its row of line 1
    // still shows the old name, and storing an amount there keeps the new one.
    gui::Refresh_Grids(-1);
    EXPECT_NE(e->grd->Data().FieldValue(RowOf(e, "LineNum", 1), "CCName"), Value("Cash renamed"));
    EXPECT_TRUE(e->grd->TypeIntoCell(RowOf(e, "LineNum", 1), 2, "40"));
    EXPECT_EQ(Stored("CCName", 1), Value("Cash renamed"));
    EXPECT_EQ(Stored("Col_1", 1), Value(Currency::FromInt(40)));
}

TEST_F(EditJ, TheNeighboursAndTheViewersOpenTheEditors) {
    RegisterAllWorksheets();
    Need("I", Build_I);
    Need("DpB", Build_DpB);
    auto* i = Open<gui::EditForm>("edit", "I", "frmEditI");
    EXPECT_EQ(i->cmdNext->toolTip().toStdString(), "Open J For Edit");
    i->cmdNext->click();
    EXPECT_TRUE(gui::Is_Form_Loaded("frmEditJ"));
    auto* j = Open<gui::frmViewJ>("view", "J", "frmViewJ");
    gui::Unload_Form(Editor());
    j->cmdOpenEdit->click();
    EXPECT_TRUE(gui::Is_Form_Loaded("frmEditJ"));
    Open<gui::ViewForm>("view", "DpB", "frmViewDpB")->cmdOpenEdit->click();
    EXPECT_TRUE(gui::Is_Form_Loaded("frmEditDpB"));
}

TEST_F(EditJ, Picture) {
    db().Execute("UPDATE J SET Col_1 = CCur(LineNum * 1000) WHERE CCNum > 0");
    Picture("J", "frmEditJ");
}

}  // namespace
}  // namespace vt::test
