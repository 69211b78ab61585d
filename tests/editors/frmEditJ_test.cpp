// Worksheet J's editor on a real report: its reduced window, an amount seen
// at once in the J viewer, stale rows (its own or another window's) never
// undoing what was stored since they were read.
#include "editors/frmEditJ.h"
#include "engine/general/j.h"
#include "tests/editors/sheet_editor_test.h"
#include "viewers/frmViewJ.h"

namespace vt::test {
namespace {

class EditJ : public SheetEditorTest {
protected:
    void SetUp() override {
        SheetEditorTest::SetUp();
        Need("J", Build_J);
    }
    gui::frmEditJ* Editor() { return Edit<gui::frmEditJ>("J"); }
    Value Line1(const char* field) { return db().Scalar(std::string("SELECT ") + field + " FROM J WHERE LineNum = 1"); }
};

TEST_F(EditJ, AnAmountReachesTheViewerAndNoStaleRowUndoesIt) {
    auto* v = Open<gui::frmViewJ>("view", "J");
    v->cmdOpenEdit->click();
    gui::frmEditJ* e = Editor();
    const int row = RowOf(e, "LineNum", 1);
    for (int total : {10, 29, 38, 39, 49, 55, 56, 62, 63, 66}) EXPECT_LT(RowOf(e, "LineNum", total), 0) << total;
    EXPECT_FALSE(e->grd->TypeIntoCell(row, 1, "Renamed"));
    EXPECT_FALSE(e->cmdAdd->isEnabled() || e->cmdDelete->isEnabled());
    grid::Grid other;  // another window's rows, read before anything below
    other.Bind(db(), "SELECT * FROM J ORDER BY LineNum;");
    other.show();
    ui.ExpectMessage();
    EXPECT_TRUE(e->grd->TypeIntoCell(row, 2, "12.5"));
    EXPECT_EQ(Line1("Col_1"), Value(Currency::FromInt(13)));
    EXPECT_EQ(v->grd->Data().FieldValue(RowOf(v, "LineNum", 1), "Col_1"), Value(Currency::FromInt(13)));
    EXPECT_TRUE(other.TypeIntoCell(other.Data().FindFirst("LineNum", db::FindOp::Eq, Value(1)),
                                   other.Data().FieldIndex("CCName"), "Cash renamed"));
    EXPECT_EQ(Line1("Col_1"), Value(Currency::FromInt(13)));
    // The general refresh passes the editor by; its stale row keeps the new name.
    gui::Refresh_Grids(-1);
    EXPECT_NE(e->grd->Data().FieldValue(row, "CCName"), Value("Cash renamed"));
    EXPECT_TRUE(e->grd->TypeIntoCell(row, 2, "40"));
    EXPECT_EQ(Line1("CCName").ToText() + "/" + Line1("Col_1").ToText(), "Cash renamed/40");
}

TEST_F(EditJ, Picture) {
    db().Execute("UPDATE J SET Col_1 = CCur(LineNum * 1000) WHERE CCNum > 0");
    Pictures({"J"});
}

}  // namespace
}  // namespace vt::test
