// The editors of worksheet D Parts A, B and C on a real report, driven as a
// user types and clicks: the answer normalised, lines added and deleted at
// the band edges with every other line kept, the cost-centre and amount
// checks, the locked line numbers and the Type's field size.
#include <QMenu>

#include "editors/frmEditDpA.h"
#include "editors/frmEditDpB.h"
#include "editors/frmEditDpC.h"
#include "engine/general/d.h"
#include "store/services.h"
#include "tests/editors/sheet_editor_test.h"

namespace vt::test {
namespace {

using gui::frmEditDpA;
using gui::frmEditDpB;
using gui::frmEditDpC;

class EditD : public SheetEditorTest {
protected:
    void SetUp() override {
        SheetEditorTest::SetUp();
        Need("DpA", Build_DpA);
        Need("DpB", Build_DpB);
        Need("DpC", Build_DpC);
    }
    // Lines 1 to `last`, then 99.01 ... (or 8.01 ...) up to `subs` sub-lines; each line's values name it.
    void SeedB(int last, int subs = 0) {
        db::Transaction tx(db());
        auto add = [&](Currency n) {
            db().Execute("INSERT INTO DpB VALUES (?, 1, 'Acct', ?, 0, 0)", {Value(n), Value(n)});
        };
        for (int i = 1; i <= last; ++i) add(Currency::FromInt(i));
        for (int i = 1; i <= subs; ++i) add(Currency::FromInt(99) + Currency::FromScaled(i * 100));
        tx.Commit();
    }
    void SeedC(int last, int subs = 0) {
        for (int i = 1; i <= last + subs; ++i) {
            const Currency n = i <= last ? Currency::FromInt(i) : Currency::FromInt(8) + Currency::FromScaled((i - last) * 100);
            db().Execute("INSERT INTO DpC (SeqNum, RelatedOrg) VALUES (?, ?)", {Value(n), Value("Org " + std::to_string(i))});
        }
    }
    std::string LinesB() { return Rows("SELECT SeqNum, Amount FROM DpB ORDER BY SeqNum"); }
    std::string LinesC() { return Rows("SELECT SeqNum, RelatedOrg FROM DpC ORDER BY SeqNum"); }
};

TEST_F(EditD, PartAStoresYesOrNoHoweverTheAnswerIsGiven) {
    auto* e = Open<frmEditDpA>("edit", "DpA", "frmEditDpA");
    grid::Grid& g = *e->grd;
    EXPECT_EQ(e->Caption(), "Edit Worksheet DpA");
    EXPECT_EQ(g.HeadLines(), 1);
    EXPECT_EQ(g.Col(), 1);
    EXPECT_TRUE(g.Columns(0).Locked() && g.Columns(0).WrapText());
    EXPECT_TRUE(g.Columns(1).Button());
    EXPECT_FALSE(e->cmdAdd->isEnabled() || e->cmdDelete->isEnabled());
    EXPECT_EQ(e->Field(0, "Answer"), Value("N"));
    EXPECT_FALSE(g.TypeIntoCell(0, 0, "Another question"));
    auto answer = [&] { return db().Scalar("SELECT Answer FROM DpA"); };
    g.SetCurrentCell(0, 1);
    ASSERT_TRUE(g.ClickCellButton());
    e->mnuYesNo->actions()[0]->trigger();
    EXPECT_EQ(answer(), Value("Yes"));
    for (auto [typed, stored] : {std::pair{"no", "No"}, {"yes", "Yes"}, {"x", "No"}, {"Yep", "Yes"}, {"", "No"}}) {
        EXPECT_TRUE(g.TypeIntoCell(0, 1, typed)) << typed;
        EXPECT_EQ(answer(), Value(stored)) << typed;
    }
}

TEST_F(EditD, PartBAddsAndDeletesAtTheBandEdgesKeepingEveryOtherLine) {
    auto* e = Open<frmEditDpB>("edit", "DpB", "frmEditDpB");
    grid::Grid& g = *e->grd;
    // An empty worksheet takes its first line, and has nothing to delete.
    EXPECT_TRUE(e->cmdAdd->isEnabled());
    EXPECT_FALSE(e->cmdDelete->isEnabled());
    e->cmdAdd->click();
    EXPECT_EQ(Rows("SELECT SeqNum, LineNum, Amount, AmtAllowable FROM DpB WHERE SeqNum < 100"), "1:0,0,0;");
    db().Execute("DELETE FROM DpB WHERE SeqNum < 100");
    SeedB(98);
    e->FormSetup();
    const std::string before = LinesB();
    g.SetCurrentCell(RowOf(e, "SeqNum", 98), 3);
    e->cmdAdd->click();  // 98 -> 99
    EXPECT_EQ(e->Current("SeqNum"), Value(Currency::FromInt(99)));
    EXPECT_EQ(g.Col(), 1);
    e->cmdAdd->click();  // 99 -> 99.01
    EXPECT_EQ(e->Current("SeqNum"), Value::Cur(99.01));
    g.SetCurrentCell(RowOf(e, "SeqNum", 50), 3);
    e->cmdAdd->click();  // 51 new; 51..98 -> 52..99, 99 -> 99.01, 99.01 -> 99.02
    EXPECT_EQ(Rows("SELECT SeqNum, Amount FROM DpB WHERE SeqNum IN (50, 51, 52, 99, 99.01, 99.02)"),
              "50:50;51:0;52:51;99:98;99.01:0;99.02:0;");
    for (double gone : {51.0, 99.01, 99.0}) {
        g.SetCurrentCell(RowOf(e, "SeqNum", gone), 1);
        e->cmdDelete->click();
    }
    EXPECT_EQ(LinesB(), before);
    EXPECT_EQ(db().Scalar("SELECT ExpAcct FROM DpB WHERE SeqNum = 100"), Value("TOTALS"));
}

TEST_F(EditD, PartBStopsAddingAtTheLastSubLine) {
    SeedB(99, 99);
    auto* e = Open<frmEditDpB>("edit", "DpB", "frmEditDpB");
    e->grd->SetCurrentCell(RowOf(e, "SeqNum", 10), 1);
    EXPECT_FALSE(e->cmdAdd->isEnabled());
    EXPECT_TRUE(e->cmdDelete->isEnabled());
    e->cmdDelete->click();
    EXPECT_EQ(db().Scalar("SELECT Max(SeqNum) FROM DpB WHERE SeqNum < 100"), Value::Cur(99.98));
    EXPECT_TRUE(e->cmdAdd->isEnabled());
}

TEST_F(EditD, PartBChecksTheCostCentreAndBothAmounts) {
    SeedB(2);
    auto* v = Open("view", "DpB", "frmViewDpB");
    auto* e = Open<frmEditDpB>("edit", "DpB", "frmEditDpB");
    grid::Grid& g = *e->grd;
    EXPECT_TRUE(g.Columns(0).Locked() && g.Columns(2).Locked());
    EXPECT_FALSE(g.Columns(5).Visible());
    EXPECT_EQ(g.Columns(1).Width(), 600);
    auto field = [&](const char* name) { return db().Scalar(std::string("SELECT ") + name + " FROM DpB WHERE SeqNum = 1"); };
    EXPECT_TRUE(g.TypeIntoCell(0, 1, "2"));
    EXPECT_EQ(field("ExpAcct"), Value(Get_CC_Name(Value(2))));
    ui.ExpectMessage();
    EXPECT_FALSE(g.TypeIntoCell(0, 1, "777"));
    EXPECT_EQ(ui.Prompts().back(), "Invalid Cost Center number");
    EXPECT_EQ(field("LineNum"), Value(Currency::FromInt(2)));
    EXPECT_TRUE(g.TypeIntoCell(0, 1, ""));
    EXPECT_EQ(field("LineNum").ToText() + "/" + field("ExpAcct").ToText(), "0/");
    for (int col : {3, 4}) {
        const char* name = col == 3 ? "Amount" : "AmtAllowable";
        ui.ExpectMessage();
        EXPECT_FALSE(g.TypeIntoCell(0, col, "abc"));
        ui.ExpectMessage();
        EXPECT_TRUE(g.TypeIntoCell(0, col, "12.5"));
        EXPECT_EQ(field(name), Value(Currency::FromInt(13))) << name;
        EXPECT_EQ(v->grd->Data().FieldValue(0, name), Value(Currency::FromInt(13))) << name;
    }
}

TEST_F(EditD, PartCRenumbersAroundLineEightAndGuardsItsTexts) {
    SeedC(7);
    auto* e = Open<frmEditDpC>("edit", "DpC", "frmEditDpC");
    grid::Grid& g = *e->grd;
    const std::string before = LinesC();
    EXPECT_FALSE(g.TypeIntoCell(0, 0, "5"));  // the line numbers are the renumbering's
    g.SetCurrentCell(RowOf(e, "SeqNum", 7), 2);
    e->cmdAdd->click();  // 7 -> 8
    EXPECT_EQ(e->Current("SeqNum"), Value(Currency::FromInt(8)));
    e->cmdAdd->click();  // 8 -> 8.01
    EXPECT_EQ(e->Current("SeqNum"), Value::Cur(8.01));
    g.SetCurrentCell(RowOf(e, "SeqNum", 5), 1);
    e->cmdAdd->click();  // 6 new; old 6, 7 -> 7, 8; old 8 -> 8.01, old 8.01 -> 8.02
    EXPECT_EQ(db().Scalar("SELECT RelatedOrg FROM DpC WHERE SeqNum = 8"), Value("Org 7"));
    EXPECT_EQ(Rows("SELECT SeqNum FROM DpC WHERE SeqNum > 8"), "8.01;8.02;");
    for (double gone : {6.0, 8.01, 8.0}) {
        g.SetCurrentCell(RowOf(e, "SeqNum", gone), 1);
        e->cmdDelete->click();
    }
    EXPECT_EQ(LinesC(), before);

    const std::string type37(37, 't');
    ui.ExpectMessage();
    EXPECT_FALSE(g.TypeIntoCell(0, 2, type37));
    EXPECT_EQ(ui.Prompts().back(), "The Type cannot be more than 36 characters in length");
    EXPECT_TRUE(g.TypeIntoCell(0, 2, type37.substr(1)));
    ui.ExpectMessage();
    ui.ExpectMessage();
    EXPECT_FALSE(g.TypeIntoCell(0, 1, std::string(36, 'o') + "\""));
    EXPECT_EQ(ui.Prompts().size(), 3u);
    for (auto [typed, stored] : {std::pair{"own", "Ownership"}, {"x", "Control"}, {"O", "Ownership"}, {"", "Control"}}) {
        EXPECT_TRUE(g.TypeIntoCell(0, 3, typed)) << typed;
        EXPECT_EQ(db().Scalar("SELECT OwnCntl FROM DpC WHERE SeqNum = 1"), Value(stored)) << typed;
    }
}

TEST_F(EditD, PartCStopsAddingAtTheLastSubLine) {
    SeedC(8, 99);
    auto* e = Open<frmEditDpC>("edit", "DpC", "frmEditDpC");
    e->grd->SetCurrentCell(0, 1);
    EXPECT_FALSE(e->cmdAdd->isEnabled());
}

TEST_F(EditD, Pictures) {
    SeedB(5);
    SeedC(3);
    Picture("DpA", "frmEditDpA");
    Picture("DpB", "frmEditDpB");
    Picture("DpC", "frmEditDpC");
}

}  // namespace
}  // namespace vt::test
