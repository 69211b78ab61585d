// The editor family's own helpers on a small member over a scratch table:
// lines added and deleted with renumbering, a pick list, locks by row, and
// the text and code checks.
#include <gtest/gtest.h>

#include <QMenu>

#include "editors/edit_form.h"
#include "engine/general/renumber.h"
#include "store/report.h"
#include "tests/gui_support/gui_test.h"

namespace vt::test {
namespace {

const Currency kOne = Currency::FromInt(1);

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
    void grd_RowColChange(int, int) override {
        cmdAdd->setEnabled(true);
        cmdDelete->setEnabled(Current("LineNum").ToCurrency() > kOne);
    }
    void AddLine() override {
        ChangeLines("LineNum", [this]() -> std::optional<Landing> {
            const Currency at = Current("LineNum").ToCurrency();
            Shift_Lines("T", {"LineNum"}, "LineNum > ?", {Value(at)}, kOne, Currency::FromInt(1000));
            Db().Execute("INSERT INTO T (LineNum, Amount) VALUES (?, 0)", {Value(at + kOne)});
            return Landing{db::FindOp::Eq, Value(at + kOne), false, 1, true};
        });
    }
    void DeleteLine() override {
        ChangeLines("LineNum", [this]() -> std::optional<Landing> {
            const Currency at = Current("LineNum").ToCurrency();
            Db().Execute("DELETE FROM T WHERE LineNum = ?", {Value(at)});
            Shift_Lines("T", {"LineNum"}, "LineNum > ?", {Value(at)}, -kOne, Currency::FromInt(1000));
            return Landing{db::FindOp::Le, Value(at), true};
        });
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
    std::string Names() {
        std::string all;
        auto rs = db().OpenRecordset("SELECT Name FROM T ORDER BY LineNum");
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) all += rs.Field(0).ToText() + ",";
        return all;
    }
    Value TopLine() { return e->Field(e->grd->FirstRow(), "LineNum"); }
    LinesEditor* e;
    TestSheetWindow* viewer;
};

TEST_F(EditForm, AddAndDeleteRenumberKeepTheTopLineAndLandOnTheChangedLine) {
    const std::string before = Names();
    e->grd->SetFirstRow(9);
    e->grd->SetCurrentCell(e->grd->FirstRow() + 2, 3);
    const Value top = TopLine();
    const int at = static_cast<int>(e->Current("LineNum").ToLong());
    ASSERT_GT(top.ToCurrency(), kOne);
    const int refreshes = viewer->setGrdCalls;
    e->cmdAdd->click();
    EXPECT_EQ(TopLine(), top);
    EXPECT_EQ(e->Current("LineNum"), Value(Currency::FromInt(at + 1)));
    EXPECT_EQ(e->grd->Col(), 1);
    EXPECT_TRUE(e->grd->EditActive());
    EXPECT_EQ(db().Scalar("SELECT Name FROM T WHERE LineNum = ?", {Value(at + 2)}),
              Value("Line " + std::to_string(at + 1)));
    EXPECT_EQ(viewer->setGrdCalls, refreshes + 1);
    e->cmdDelete->click();
    EXPECT_EQ(Names(), before);
    EXPECT_EQ(e->Current("LineNum"), Value(Currency::FromInt(at + 1)));
    EXPECT_EQ(TopLine(), top);
    e->grd->SetRow(0);
    EXPECT_FALSE(e->cmdDelete->isEnabled());
}

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
