// Worksheet I's editor on a real report: what may be typed where, Add and
// Delete by the selected row inside its band with every other line kept, and
// a full band (.99) refusing Add without moving a line.
#include <QTableView>

#include "editors/frmEditI.h"
#include "engine/general/i.h"
#include "tests/editors/sheet_editor_test.h"

namespace vt::test {
namespace {

using gui::frmEditI;

class EditI : public SheetEditorTest {
protected:
    void SetUp() override {
        SheetEditorTest::SetUp();
        Need("I", Build_I);
    }
    // User lines after `after`, up to `last` sub-lines, each named by its number.
    void Seed(double after, int last) {
        for (int k = 1; k <= last; ++k) {
            const Currency n = Currency::FromDouble(after).Floor() + Currency::FromScaled(k * 100);
            if (n > Currency::FromDouble(after))
                db().Execute("INSERT INTO I (SeqNum, Description, Col_1) VALUES (?, ?, ?)", {Value(n), Value(SqlNumber(n)), Value(n)});
        }
    }
    frmEditI* Editor() { return Open<frmEditI>("edit", "I", "frmEditI"); }
    void Select(frmEditI* e, std::initializer_list<double> lines) {
        QTableView* pane = e->grd->Pane(0);
        pane->clearSelection();
        for (double line : lines)
            pane->selectionModel()->select(pane->model()->index(RowOf(e, "SeqNum", line), 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    std::string Lines() { return Rows("SELECT SeqNum, Description, Col_1 FROM I ORDER BY SeqNum"); }
};

TEST_F(EditI, LocksAndButtonsFollowTheLineAndTheSelection) {
    frmEditI* e = Editor();
    grid::Grid& g = *e->grd;
    EXPECT_EQ(e->Caption(), "Edit Worksheet I");
    EXPECT_EQ(g.Data().RecordCount(), 10);
    EXPECT_TRUE(g.Columns(0).Locked());
    EXPECT_EQ(g.Columns(1).Width(), 3400);
    EXPECT_TRUE(e->cmdAdd->isEnabled() && e->cmdDelete->isEnabled());
    for (auto [line, open] : {std::pair{1.0, false}, {4.01, false}, {4.08, true}, {6.0, true}})
        EXPECT_EQ(g.TypeIntoCell(RowOf(e, "SeqNum", line), 1, "Renamed"), open) << line;
    Seed(4.08, 9);
    e->FormSetup();
    const struct {
        std::initializer_list<double> selected;
        bool add, del;
    } cases[] = {{{4.01}, false, false}, {{4.08}, true, false}, {{4.09}, true, true},
                 {{6.0}, true, false},   {{1.0, 4.09}, true, false}};
    for (const auto& c : cases) {
        Select(e, c.selected);
        EXPECT_EQ(e->cmdAdd->isEnabled(), c.add) << *c.selected.begin();
        EXPECT_EQ(e->cmdDelete->isEnabled(), c.del) << *c.selected.begin();
    }
}

TEST_F(EditI, AddAndDeleteInsideTheBandKeepEveryOtherLine) {
    Seed(4.08, 10);
    auto* v = Open("view", "I", "frmViewI");
    frmEditI* e = Editor();
    const std::string before = Lines();
    Select(e, {4.08});
    e->cmdAdd->click();
    EXPECT_EQ(Rows("SELECT SeqNum, Description, Col_1 FROM I WHERE SeqNum > 4.08 AND SeqNum < 4.12"),
              "4.09:Other income,0;4.1:4.09,4.09;4.11:4.1,4.1;");
    EXPECT_EQ(e->Current("SeqNum"), Value::Cur(4.09));
    EXPECT_EQ(e->grd->Col(), 1);
    EXPECT_FALSE(e->cmdDelete->isEnabled());
    EXPECT_TRUE(e->grd->TypeIntoCell(RowOf(e, "SeqNum", 4.09), 2, "250"));
    EXPECT_EQ(v->grd->Data().FieldValue(RowOf(v, "SeqNum", 4.09), "Col_1"), Value(Currency::FromInt(250)));
    Select(e, {4.09});
    e->cmdDelete->click();
    EXPECT_EQ(Lines(), before);
    EXPECT_EQ(e->Current("SeqNum"), Value::Cur(4.09));
    // With nothing selected Add appends after the last line.
    Select(e, {});
    e->cmdAdd->click();
    EXPECT_EQ(Rows("SELECT SeqNum, Description FROM I WHERE SeqNum > 6"), "6.01:Other expense;7:Total other expenses;8:Net income(loss) for period;");
}

TEST_F(EditI, AFullBandRefusesAddAndKeepsEveryLine) {
    Seed(4.08, 99);
    Seed(6, 99);
    frmEditI* e = Editor();
    const std::string before = Lines();
    for (std::initializer_list<double> selected : {std::initializer_list<double>{4.08}, {4.5}, {}}) {
        Select(e, selected);
        ui.ExpectMessage();
        e->cmdAdd->click();
        EXPECT_EQ(Lines(), before);
    }
    EXPECT_EQ(ui.Prompts().size(), 3u);
    Picture("I", "frmEditI");
}

}  // namespace
}  // namespace vt::test
