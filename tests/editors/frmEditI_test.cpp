// Worksheet I's editor on a real report: what may be typed where, Add and
// Delete by the selected row inside its band with every other line kept, and
// a full band (.99) refusing Add without moving a line.
#include <QTableView>

#include "editors/frmEditI.h"
#include "engine/general/i.h"
#include "tests/editors/sheet_editor_test.h"

namespace vt::test {
namespace {

class EditI : public SheetEditorTest {
protected:
    void SetUp() override {
        SheetEditorTest::SetUp();
        Need("I", Build_I);
    }
    // Sub-lines .first to .last of `whole`, each named by its number.
    void Seed(int whole, int first, int last) {
        db::Transaction tx(db());
        for (int k = first; k <= last; ++k) {
            const Currency n = Currency::FromInt(whole) + Currency::FromScaled(k * 100);
            db().Execute("INSERT INTO I (SeqNum, Description, Col_1) VALUES (?, ?, ?)", {Value(n), Value(SqlNumber(n)), Value(n)});
        }
        tx.Commit();
    }
    gui::frmEditI* Editor() { return Edit<gui::frmEditI>("I"); }
    void Select(gui::frmEditI* e, const std::vector<double>& lines) {
        QTableView* pane = e->grd->Pane(0);
        pane->clearSelection();
        for (double line : lines)
            pane->selectionModel()->select(pane->model()->index(RowOf(e, "SeqNum", line), 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    std::string Lines() { return Keyed("SELECT SeqNum, Description, Col_1 FROM I ORDER BY SeqNum"); }
};

TEST_F(EditI, AddAndDeleteByTheSelectedLineKeepEveryOtherLine) {
    Seed(4, 9, 10);
    auto* v = View("I");
    gui::frmEditI* e = Editor();
    EXPECT_TRUE(e->cmdAdd->isEnabled() && e->cmdDelete->isEnabled());
    for (auto [line, open] : {std::pair{4.01, false}, {4.08, true}, {6.0, true}})
        EXPECT_EQ(e->grd->TypeIntoCell(RowOf(e, "SeqNum", line), 1, "Renamed"), open) << line;
    using Case = std::tuple<std::vector<double>, bool, bool>;  // selected; Add, Delete
    for (auto [selected, add, del] : {Case{{4.01}, false, false}, {{4.08}, true, false}, {{4.09}, true, true},
                                      {{1.0, 4.09}, true, false}}) {
        Select(e, selected);
        EXPECT_EQ(std::pair(e->cmdAdd->isEnabled(), e->cmdDelete->isEnabled()), std::pair(add, del)) << selected.front();
    }
    const std::string before = Lines();
    Select(e, {4.08});
    e->cmdAdd->click();
    EXPECT_EQ(Keyed("SELECT SeqNum, Description, Col_1 FROM I WHERE SeqNum > 4.08 AND SeqNum < 5"),
              "4.09:Other income,0;4.1:4.09,4.09;4.11:4.1,4.1;");
    EXPECT_EQ(e->Current("SeqNum"), Value::Cur(4.09));
    EXPECT_TRUE(e->grd->TypeIntoCell(RowOf(e, "SeqNum", 4.09), 2, "250"));
    // Forty characters and the blanks around them fit the description.
    const std::string forty(40, 'd');
    EXPECT_TRUE(e->grd->TypeIntoCell(RowOf(e, "SeqNum", 4.09), 1, forty + " "));
    EXPECT_EQ(db().Scalar("SELECT Description FROM I WHERE SeqNum = 4.09"), Value(forty));
    EXPECT_EQ(v->grd->Data().FieldValue(RowOf(v, "SeqNum", 4.09), "Col_1"), Value(Currency::FromInt(250)));
    Select(e, {4.09});
    e->cmdDelete->click();
    EXPECT_EQ(Lines(), before);
    Select(e, {});  // nothing selected: after the last line
    e->cmdAdd->click();
    EXPECT_EQ(Keyed("SELECT SeqNum, Description FROM I WHERE SeqNum > 6 AND SeqNum < 7"), "6.01:Other expense;");
}

TEST_F(EditI, AFullBandRefusesAddAndKeepsEveryLine) {
    Seed(4, 9, 99);
    Seed(6, 1, 99);
    gui::frmEditI* e = Editor();
    const std::string before = Lines();
    for (const std::vector<double>& selected : {std::vector<double>{4.08}, {4.5}, {}}) {
        Select(e, selected);
        ui.ExpectMessage();
        e->cmdAdd->click();
        EXPECT_EQ(Lines(), before);
    }
    EXPECT_EQ(ui.Prompts().size(), 3u);
    db().Execute("DELETE FROM I WHERE SeqNum > 4.12 AND SeqNum < 5 OR SeqNum > 6.03 AND SeqNum < 7");
    gui::UnloadForm(e);
    Pictures({"I"});
}

}  // namespace
}  // namespace vt::test
