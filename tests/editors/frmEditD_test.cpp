// The editors of worksheet D Parts A, B and C on a real report, driven as a
// user types and clicks: answers normalised, lines added and deleted at the
// band edges with every other line kept, the cost-centre, amount and text checks.
#include <QMenu>
#include <QTableView>

#include "editors/frmEditDpA.h"
#include "editors/frmEditDpB.h"
#include "editors/frmEditDpC.h"
#include "engine/general/d.h"
#include "tests/editors/sheet_editor_test.h"

namespace vt::test {
namespace {

class EditD : public SheetEditorTest {
protected:
    void SetUp() override {
        SheetEditorTest::SetUp();
        Need("DpA", Build_DpA);
        Need("DpB", Build_DpB);
        Need("DpC", Build_DpC);
    }
    // Lines 1 to `last`, then `subs` sub-lines of 99; each amount is its line.
    void SeedB(int last, int subs = 0) {
        db::Transaction tx(db());
        db().Execute("DELETE FROM DpB WHERE SeqNum < 100");
        for (int i = 1; i <= last + subs; ++i) {
            const Currency n = i <= last ? Currency::FromInt(i) : Currency::FromInt(99) + Currency::FromScaled((i - last) * 100);
            db().Execute("INSERT INTO DpB VALUES (?, 1, 'Acct', ?, 0, 0)", {Value(n), Value(n)});
        }
        tx.Commit();
    }
    Value B(const char* field) { return db().Scalar(std::string("SELECT ") + field + " FROM DpB WHERE SeqNum = 1"); }
    void Click(gui::EditForm* e, QPushButton* button, double line) {
        e->grd->SetCurrentCell(RowOf(e, "SeqNum", line), 2);
        button->click();
    }
};

TEST_F(EditD, PartAStoresYesOrNoHoweverTheAnswerIsGiven) {
    auto* e = Edit<gui::frmEditDpA>("DpA");
    grid::Grid& g = *e->grd;
    EXPECT_FALSE(g.TypeIntoCell(0, 0, "Another question"));
    g.SetCurrentCell(0, 1);
    ASSERT_TRUE(g.ClickCellButton());
    e->mnuYesNo->actions()[0]->trigger();
    EXPECT_EQ(db().Scalar("SELECT Answer FROM DpA"), Value("Yes"));
    for (auto [typed, stored] : {std::pair{"no", "No"}, {"yes", "Yes"}, {"x", "No"}, {"", "No"}}) {
        EXPECT_TRUE(g.TypeIntoCell(0, 1, typed)) << typed;
        EXPECT_EQ(db().Scalar("SELECT Answer FROM DpA"), Value(stored)) << typed;
    }
    Pictures({"DpA"});
}

TEST_F(EditD, PartBAddsAndDeletesAtTheBandEdgesKeepingEveryOtherLine) {
    auto* e = Edit<gui::frmEditDpB>("DpB");
    EXPECT_FALSE(e->cmdDelete->isEnabled());
    e->cmdAdd->click();  // the first line of an empty worksheet
    EXPECT_EQ(Keyed("SELECT SeqNum, LineNum, Amount, AmtAllowable FROM DpB WHERE SeqNum < 100"), "1:0,0,0;");
    SeedB(98);
    e->FormSetup();
    const std::string before = Keyed("SELECT SeqNum, Amount FROM DpB ORDER BY SeqNum");
    Click(e, e->cmdAdd, 98);
    Click(e, e->cmdAdd, 99);
    Click(e, e->cmdAdd, 50);
    EXPECT_EQ(Keyed("SELECT SeqNum, Amount FROM DpB WHERE SeqNum IN (50, 51, 52, 99, 99.01, 99.02)"),
              "50:50;51:0;52:51;99:98;99.01:0;99.02:0;");
    EXPECT_EQ(e->Current("SeqNum"), Value(51));
    for (double gone : {51.0, 99.01, 99.0}) Click(e, e->cmdDelete, gone);
    EXPECT_EQ(Keyed("SELECT SeqNum, Amount FROM DpB ORDER BY SeqNum"), before);
    SeedB(99, 99);  // the last sub-line stops Add until a line goes
    e->FormSetup();
    EXPECT_FALSE(e->cmdAdd->isEnabled());
    Click(e, e->cmdDelete, 10);
    EXPECT_TRUE(e->cmdAdd->isEnabled());
}

TEST_F(EditD, PartBChecksTheCostCentreAndBothAmounts) {
    SeedB(2);
    auto* v = View("DpB");
    grid::Grid& g = *Edit("DpB")->grd;
    EXPECT_TRUE(g.TypeIntoCell(0, 1, "2"));
    EXPECT_EQ(B("ExpAcct"), Value(Get_CC_Name(Value(2))));
    ui.ExpectMessage();
    EXPECT_FALSE(g.TypeIntoCell(0, 1, "777"));
    EXPECT_EQ(ui.Prompts(), std::vector<std::string>{"Invalid Cost Center number"});
    EXPECT_TRUE(g.TypeIntoCell(0, 1, ""));
    EXPECT_EQ(B("LineNum").ToText() + "/" + B("ExpAcct").ToText(), "0/");
    for (const char* field : {"Amount", "AmtAllowable"}) {
        ui.ExpectMessage();
        EXPECT_FALSE(g.TypeIntoCell(0, g.Data().FieldIndex(field), "abc"));
        ui.ExpectMessage();
        EXPECT_TRUE(g.TypeIntoCell(0, g.Data().FieldIndex(field), "12.5"));
        EXPECT_EQ(v->grd->Data().FieldValue(0, field), Value(Currency::FromInt(13))) << field;
    }
    Pictures({"DpB"});
}

// Line # takes every cost centre of the list, its name cut to Expense
// Account, and only digits as a number; number and name are stored together.
TEST_F(EditD, PartBTakesEveryListedCostCentreAndOnlyDigitsAsItsNumber) {
    SeedB(1);
    grid::Grid& g = *Edit("DpB")->grd;
    const std::string name = Get_CC_Name(Value(247));
    ASSERT_GT(CharCount(name), 40u);
    const auto line = [&] { return B("LineNum").ToText() + "/" + B("ExpAcct").ToText(); };
    EXPECT_TRUE(g.TypeIntoCell(0, 1, "247"));
    EXPECT_EQ(ui.Prompts(), std::vector<std::string>{});
    const std::string stored = "247/" + name.substr(0, 40);
    EXPECT_EQ(line(), stored);
    for (const char* typed : {"2,01", "1,2", "$2", "2e0", "+2"}) {
        ui.ClearRecords();
        ui.ExpectMessage();
        EXPECT_FALSE(g.TypeIntoCell(0, 1, typed)) << typed;
        EXPECT_EQ(ui.Prompts(), std::vector<std::string>{"Invalid Cost Center number"}) << typed;
        EXPECT_EQ(line(), stored) << typed;
    }
    // A row that cannot be written keeps its number with its name.
    db().Execute("CREATE TRIGGER NoName BEFORE UPDATE OF ExpAcct ON DpB BEGIN SELECT RAISE(ABORT, 'disk full'); END;");
    ui.ExpectMessage();
    EXPECT_FALSE(g.TypeIntoCell(0, 1, "2"));
    EXPECT_EQ(line(), stored);
}

// D Part C's texts refuse a double quote without a beep.
TEST_F(EditD, PartCRefusesADoubleQuoteWithoutABeep) {
    db().Execute("INSERT INTO DpC (SeqNum) VALUES (1)");
    grid::Grid& g = *Edit("DpC")->grd;
    for (int col : {1, 2, 4}) {
        ui.ClearRecords();
        ui.ExpectMessage();
        EXPECT_FALSE(g.TypeIntoCell(0, col, "a \"b\"")) << col;
        EXPECT_EQ(ui.Beeps(), 0) << col;
    }
}

// Long texts show whole in the font in use: D Part A's question wrapped in
// its row, D Part C's relationship and C's description in their width.
TEST_F(EditD, LongTextsShowWholeInTheFontInUse) {
    const std::string relationship(64, 'M'), description(40, 'W');
    db().Execute("INSERT INTO DpC (SeqNum, Explanation) VALUES (1, ?)", {Value(relationship)});
    db().Execute("UPDATE C SET Description = ? WHERE LineNum = 21", {Value(description)});
    for (auto [code, col, text] : {std::tuple{"DpC", 4, relationship}, {"C", 1, description}}) {
        const QTableView* pane = Edit(code)->grd->Pane(0);
        EXPECT_GT(pane->columnWidth(col), QFontMetrics(pane->font()).horizontalAdvance(QString::fromStdString(text)))
            << code;
    }
    grid::Grid& a = *Edit("DpA")->grd;
    const QTableView* pane = a.Pane(0);
    const QRect question = QFontMetrics(pane->font()).boundingRect(
        QRect(0, 0, pane->columnWidth(0) - 6, 1 << 20), Qt::TextWordWrap,
        QString::fromStdString(db().Scalar("SELECT Question FROM DpA").ToText()));
    EXPECT_GT(question.height(), QFontMetrics(pane->font()).lineSpacing());  // it does wrap
    EXPECT_GE(pane->rowHeight(0), question.height());
}

TEST_F(EditD, PartCRenumbersAroundLineEightAndGuardsItsTexts) {
    for (int i = 1; i <= 7; ++i) db().Execute("INSERT INTO DpC (SeqNum, RelatedOrg) VALUES (?, ?)", {Value(i), Value(i)});
    auto* e = Edit<gui::frmEditDpC>("DpC");
    grid::Grid& g = *e->grd;
    const std::string before = Keyed("SELECT SeqNum, RelatedOrg FROM DpC ORDER BY SeqNum");
    EXPECT_FALSE(g.TypeIntoCell(0, 0, "5"));
    Click(e, e->cmdAdd, 7);
    Click(e, e->cmdAdd, 8);
    Click(e, e->cmdAdd, 5);
    EXPECT_EQ(Keyed("SELECT SeqNum, RelatedOrg FROM DpC WHERE SeqNum >= 6 ORDER BY SeqNum"), "6:;7:6;8:7;8.01:;8.02:;");
    for (double gone : {6.0, 8.01, 8.0}) Click(e, e->cmdDelete, gone);
    EXPECT_EQ(Keyed("SELECT SeqNum, RelatedOrg FROM DpC ORDER BY SeqNum"), before);
    ui.ExpectMessage();
    EXPECT_FALSE(g.TypeIntoCell(0, 2, std::string(37, 't')));
    EXPECT_EQ(ui.Prompts().back(), "The Type cannot be more than 36 characters in length");
    EXPECT_TRUE(g.TypeIntoCell(0, 2, std::string(36, 't')));
    // The blanks around a text do not count towards its field's length.
    for (auto [col, field, size] : {std::tuple{1, "RelatedOrg", 36}, {2, "Type", 36}, {4, "Explanation", 64}}) {
        const std::string full(static_cast<size_t>(size), 'w');
        EXPECT_TRUE(g.TypeIntoCell(0, col, " " + full + " ")) << field;
        EXPECT_EQ(db().Scalar(std::string("SELECT ") + field + " FROM DpC WHERE SeqNum = 1"), Value(full)) << field;
    }
    for (auto [typed, stored] : {std::pair{"own", "Ownership"}, {"x", "Control"}, {"", "Control"}}) {
        EXPECT_TRUE(g.TypeIntoCell(0, 3, typed)) << typed;
        EXPECT_EQ(db().Scalar("SELECT OwnCntl FROM DpC WHERE SeqNum = 1"), Value(stored)) << typed;
    }
    Pictures({"DpC"});
}

}  // namespace
}  // namespace vt::test
