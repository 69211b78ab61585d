// The editor family's pop-up pick list on a small member over a scratch
// table. Its other helpers (lines added and deleted, locks by row, text and
// code checks) are shown by the members that use them.
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
        if (u.column == 2) CheckCodeCell(u, {"YES", "NO"}, "Yes or No.", ui::kCritical, "Error: Invalid Entry");
    }
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

TEST_F(EditForm, APickIsWrittenAsIfTyped) {
    e->grd->SetCurrentCell(1, 2);
    EXPECT_TRUE(e->grd->ClickCellButton());
    EXPECT_TRUE(e->mnuYesNo->isVisible());
    const int refreshes = viewer->setGrdCalls;
    e->mnuYesNo->actions()[0]->trigger();
    EXPECT_EQ(db().Scalar("SELECT Code FROM T WHERE LineNum = 2"), Value("YES"));
    EXPECT_EQ(viewer->setGrdCalls, refreshes + 1);
}

}  // namespace
}  // namespace vt::test
