// The editor family's own helpers on a small member over a scratch table: a
// pick list, locks by row, and the text and code checks. Adding and deleting
// lines is shown by the members that do it (B-1, C).
#include <gtest/gtest.h>

#include <QMenu>

#include "editors/edit_form.h"
#include "store/report.h"
#include "tests/gui_support/gui_test.h"

namespace vt::test {
namespace {

class LinesEditor : public gui::EditForm {
public:
    LinesEditor() : EditForm("T") {
        mnuYesNo = AddPopupMenu("mnuYesNo", {"Yes", "No"});
        grd->ButtonClick = [this](int) { PopupMenu(mnuYesNo); };
    }
    QMenu* mnuYesNo;

protected:
    void FillHeadings() override { ColHeadings = {{"", ""}, {"", "Name"}, {"1", "Code"}, {"2", "Amount"}}; }
    std::string RecordSource() const override { return "SELECT LineNum, Name, Code, Amount FROM T ORDER BY LineNum;"; }
    void LayoutGrid() override {
        grd->Columns(0).SetLocked(true);
        grd->Columns(2).SetButton(true);
    }
    void grd_BeforeColUpdate(grid::CellUpdate& u) override {
        if (u.column == 1) CheckTextCell(u, {10, "name", "The name is too long; it has been cut.", "No quotes.", true});
        else if (u.column == 2) CheckCodeCell(u, {"YES", "NO"}, "Yes or No.", ui::kCritical, "Error: Invalid Entry");
    }
    bool CellLocked(int row, int) const override { return Field(row, "LineNum") == Value(Currency::FromInt(5)); }
};

class EditForm : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        db().CreateTable("T", {db::CurrencyField("LineNum"), db::TextField("Name", 10, true),
                               db::TextField("Code", 3, true), db::CurrencyField("Amount")});
        db().Execute("CREATE UNIQUE INDEX ndx ON T (LineNum)");
        db::Transaction tx(db());
        for (int i = 1; i <= 30; ++i)
            db().Execute("INSERT INTO T VALUES (?, ?, 'NO', ?)", {Value(i), Value("Line " + std::to_string(i)), Value(i)});
        tx.Commit();
        e = new LinesEditor();
        e->Form_Load();
        e->show();
        viewer = new TestSheetWindow("frmViewT", "View Worksheet T", "SELECT * FROM T");
        viewer->Form_Load();
    }
    LinesEditor* e;
    TestSheetWindow* viewer;
};

TEST_F(EditForm, PicksLocksAndChecksGoThroughTheCellPath) {
    e->grd->SetCurrentCell(1, 2);
    EXPECT_TRUE(e->grd->ClickCellButton());
    EXPECT_TRUE(e->mnuYesNo->isVisible());
    const int refreshes = viewer->setGrdCalls;
    e->mnuYesNo->actions()[0]->trigger();
    EXPECT_EQ(db().Scalar("SELECT Code FROM T WHERE LineNum = 2"), Value("YES"));
    EXPECT_EQ(viewer->setGrdCalls, refreshes + 1);

    EXPECT_FALSE(e->grd->TypeIntoCell(4, 1, "x"));  // line 5 is locked
    for (const char* refused : {"a\"b", "maybe"}) {
        ui.ExpectMessage();
        EXPECT_FALSE(e->grd->TypeIntoCell(3, refused[0] == 'a' ? 1 : 2, refused));
    }
    EXPECT_EQ(ui.Messages().back().title, "Error: Invalid Entry");
    ui.ExpectMessage();
    EXPECT_TRUE(e->grd->TypeIntoCell(3, 1, "Twelve chars"));
    EXPECT_EQ(db().Scalar("SELECT Name || '/' || Code FROM T WHERE LineNum = 4"), Value("Twelve cha/NO"));
}

}  // namespace
}  // namespace vt::test
