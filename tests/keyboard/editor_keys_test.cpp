// The editors keyed as a clerk keys a report from paper: figures down a
// column with Enter and Down, rows across with Tab, a new line typed straight
// after Add, locked cells that take no key, and a refused entry answered in a
// real message box; after each step the keyboard is still in the grid, on the
// cell where the next key belongs.
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include <set>

#include "costcentres/frmAddCC.h"
#include "editors/frmEditI.h"
#include "engine/general/b.h"
#include "engine/general/b1.h"
#include "engine/general/c.h"
#include "engine/general/d.h"
#include "engine/general/i.h"
#include "shell/frmMain.h"
#include "tests/keyboard/keyboard_test.h"

namespace vt::test {
namespace {

using Cell = std::pair<std::string, int>;

class EditorKeys : public KeyboardTest {
protected:
    // Two expense cost centres of the list, by number.
    std::pair<std::string, std::string> TwoCostCentres() {
        auto rs = db().OpenRecordset("SELECT CCNum FROM CostCenters WHERE CCNum < 200 ORDER BY CCNum;");
        rs.MoveFirst();
        const std::string first = rs.Field(0).ToText();
        rs.MoveNext();
        return {first, rs.Field(0).ToText()};
    }
    // The cells shown selected, as (row, column).
    static std::set<std::pair<int, int>> Selected(const gui::WorksheetWindow* w) {
        std::set<std::pair<int, int>> cells;
        for (const QModelIndex& i : w->grd->Pane(0)->selectionModel()->selectedIndexes())
            cells.emplace(i.row(), i.column());
        return cells;
    }
    static std::set<std::pair<int, int>> CurrentOnly(const gui::WorksheetWindow* w) {
        return {{w->grd->Row(), w->grd->Col()}};
    }
};

TEST_F(EditorKeys, FiguresDownAColumnWithEnterAndDownThenOnWithTab) {
    Need("B", Build_B);
    auto* e = Show("B");
    const Table before = Rows("SELECT LineNum, Expenses FROM B ORDER BY LineNum;");
    const int first = e->grd->Row();
    Press(Qt::Key_Right);
    ASSERT_EQ(e->grd->Col(), 2);
    std::vector<std::string> keyed;
    for (int i = 0; i < 10; ++i) {
        keyed.push_back(e->Current("LineNum").ToText());
        Enter(std::to_string(1000 * (i + 1)));
        EXPECT_TRUE(InGrid(e)) << i;
        EXPECT_EQ(Cursor(e, "LineNum"), Cell(keyed.back(), 2)) << "Enter keeps the cell";
        Press(Qt::Key_Down);
    }
    // Tab moves on from cell to cell; in B the only open column is on the next row.
    const int tabbedFrom = e->grd->Row();
    for (int i = 0; i < 3; ++i) {
        keyed.push_back(e->Current("LineNum").ToText());
        Enter(std::to_string(50 * (i + 1)), Qt::Key_Tab);
        EXPECT_TRUE(InGrid(e));
        EXPECT_EQ(std::pair(e->grd->Row(), e->grd->Col()), std::pair(tabbedFrom + i + 1, 2));
    }
    Table expected = before;
    for (auto& row : expected) {
        const auto at = std::find(keyed.begin(), keyed.end(), row[0]);
        if (at == keyed.end()) continue;
        const auto i = at - keyed.begin();
        row[1] = std::to_string(i < 10 ? 1000 * (i + 1) : 50 * (i - 9));
    }
    EXPECT_EQ(Rows("SELECT LineNum, Expenses FROM B ORDER BY LineNum;"), expected);
    EXPECT_EQ(first, 0);
}

TEST_F(EditorKeys, ARefusedAmountAnsweredInAMessageBoxLeavesTheKeyboardOnTheCell) {
    Need("B", Build_B);
    RealMessageBoxes();
    auto* e = Show("B");
    Press(Qt::Key_Right);
    const Cell start = Cursor(e, "LineNum");
    ui.ExpectMessage();
    Enter("12abc");
    EXPECT_EQ(ui.Prompts(), std::vector<std::string>{"This field may only contain numeric values"});
    EXPECT_TRUE(InGrid(e));
    EXPECT_EQ(Cursor(e, "LineNum"), start);
    // The next figure lands in the same cell, and the one after on the next row.
    Enter("700");
    Press(Qt::Key_Down);
    Enter("800");
    EXPECT_EQ(Rows("SELECT Expenses FROM B WHERE LineNum = ?;", {Value(Currency::FromDouble(std::stod(start.first)))}),
              (Table{{"700"}}));
    EXPECT_TRUE(InGrid(e));
}

// Tab, Enter and Add move the cursor by the program's hand: the cell left
// behind must not stay highlighted beside the new one.
TEST_F(EditorKeys, OnlyTheCurrentCellShowsAsCurrentAfterTabEnterAndAdd) {
    Need("B", Build_B);
    Need("B1", Build_B1);
    auto* b = Show("B");
    Press(Qt::Key_Right);
    EXPECT_EQ(Selected(b), CurrentOnly(b));
    Enter("100", Qt::Key_Tab);
    EXPECT_EQ(Selected(b), CurrentOnly(b)) << "Tab";
    Enter("200");
    EXPECT_EQ(Selected(b), CurrentOnly(b)) << "Enter";
    auto* b1 = Show("B1");
    Click(b1->cmdAdd);
    EXPECT_EQ(Selected(b1), CurrentOnly(b1)) << "Add";
    Enter("Rent moved", Qt::Key_Tab);
    EXPECT_EQ(Selected(b1), CurrentOnly(b1)) << "Tab after Add";
}

// One entry that brings two messages, each answered in a real message box:
// the keyboard comes back to the cell after both, never to the main window,
// whose keys choose its menus; the next word typed lands in the cell.
TEST_F(EditorKeys, AfterTwoMessagesForOneEntryTheNextWordLandsInTheCell) {
    Need("B", Build_B);
    Need("DpC", Build_DpC);
    auto* main = new gui::frmMain();
    main->SetMenuState(1);
    Activate(main);
    RealMessageBoxes();
    Show("B");
    auto* e = Show("DpC");
    Click(e->cmdAdd);
    const Value line = e->Current("SeqNum");
    const int windows = gui::FormCount();
    ui.ExpectMessage();
    ui.ExpectMessage();
    Enter("Quelldorn \"North\" Supply Company Ltd.");  // 37 characters and a quote
    EXPECT_EQ(ui.Prompts(), (std::vector<std::string>{
                                "The Related Organization cannot be more than 36 characters in length",
                                "The Related Organization cannot contain double quote characters"}));
    EXPECT_EQ(QApplication::activeWindow(), static_cast<QWidget*>(e));
    EXPECT_TRUE(InGrid(e));
    Enter("Zeta");
    EXPECT_EQ(Rows("SELECT RelatedOrg FROM DpC WHERE SeqNum = ?;", {line}), (Table{{"Zeta"}}));
    EXPECT_EQ(gui::FormCount(), windows);
    EXPECT_TRUE(InGrid(e));
}

// I's Add and Delete follow the selected row: Shift+Space selects the
// current one from the keyboard.
TEST_F(EditorKeys, ShiftSpaceSelectsTheLineThatIsAddAndDeleteFollow) {
    Need("I", Build_I);
    auto* e = Show<gui::frmEditI>("I");
    const std::string all = "SELECT SeqNum, Description, Col_1 FROM I ORDER BY SeqNum;";
    const std::string before = Keyed(all);
    ClickCell(e, "SeqNum", 4.08, 2);
    Press(Qt::Key_Space, Qt::ShiftModifier);
    EXPECT_EQ(e->grd->SelectedRows(), std::vector<int>{e->grd->Row()});
    Click(e->cmdAdd);
    EXPECT_EQ(Cursor(e, "SeqNum"), Cell("4.09", 1));
    Enter("Gift shop sales", Qt::Key_Tab);
    Enter("1200");
    EXPECT_EQ(Keyed("SELECT SeqNum, Description, Col_1 FROM I WHERE SeqNum > 4.08 AND SeqNum < 5 OR SeqNum > 6 AND SeqNum < 7;"),
              "4.09:Gift shop sales,1200;");
    Press(Qt::Key_Space, Qt::ShiftModifier);
    Click(e->cmdDelete);
    EXPECT_EQ(Keyed(all), before);
    EXPECT_TRUE(InGrid(e));
}

TEST_F(EditorKeys, BOneAddIsReadyForTheExplanationAndTabKeysTheLineAcross) {
    Need("B1", Build_B1);
    const auto [up, down] = TwoCostCentres();
    auto* e = Show("B1");
    Click(e->cmdAdd);
    EXPECT_EQ(Cursor(e, "SeqNum"), Cell("1", 1));
    EXPECT_TRUE(e->grd->EditActive() && InGrid(e));
    for (const std::string& typed : {std::string("Rent moved"), std::string("a"), up, std::string("300"), down})
        Enter(typed, Qt::Key_Tab);
    Enter("300");
    EXPECT_TRUE(InGrid(e));
    // Shift+Tab steps back through the decrease line number, over the hidden
    // name, to the increase amount.
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(Cursor(e, "SeqNum"), Cell("1", 5));
    // A second line, deleted again: the cursor back on line 1, the keyboard in the grid.
    Click(e->cmdAdd);
    Enter("Wrong line");
    Click(e->cmdDelete);
    EXPECT_EQ(Cursor(e, "SeqNum").first, "1");
    EXPECT_TRUE(InGrid(e));
    EXPECT_EQ(Keyed("SELECT SeqNum, Explanation, Code, UpCCNum, UpAmount, DnCCNum, DnAmount FROM B1 WHERE SeqNum < 100;"),
              "1:Rent moved,A," + up + ",300," + down + ",300;");
}

TEST_F(EditorKeys, KeysOnLockedCellsChangeNoRow) {
    // A Part IV: a line whose name begins with the letter typed on line 9's
    // locked name, which a search by typing would jump to.
    auto* e = Show("Ap4");
    Click(e->cmdAdd);
    Enter("Cascade Manor");
    const Table before = Rows("SELECT LineNum, Component FROM Ap4 ORDER BY LineNum;");
    ASSERT_EQ(before.size(), 2u);
    ClickCell(e, "LineNum", 9, 1);
    Enter("Cxyz Partners");
    EXPECT_EQ(Rows("SELECT LineNum, Component FROM Ap4 ORDER BY LineNum;"), before);
    EXPECT_EQ(Cursor(e, "LineNum"), Cell("9", 1));
    EXPECT_TRUE(InGrid(e));

    // A Part I: the locked line numbers and legends of the provider lines.
    auto* a = Show("Ap1");
    const auto all = All_Tables();
    for (double line : {8.01, 3.01}) {
        for (int col : {0, 1}) {
            ClickCell(a, "SeqNum", line, col);
            if (a->grd->CellLocked(a->grd->Row(), col)) Enter("Cxyz");
        }
    }
    EXPECT_EQ(All_Tables(), all);

    // A viewer: every cell locked, and no letter moves its cursor.
    auto* v = View("Ap4");
    Activate(v);
    const Cell shown = Cursor(v, "LineNum");
    Type("Cxyz");
    EXPECT_EQ(Cursor(v, "LineNum"), shown);
}

TEST_F(EditorKeys, AfterAddTheNewLinesCellTakesWhatIsTypedNext) {
    Need("B1", Build_B1);
    Need("C", Build_C);
    Need("DpB", Build_DpB);
    Need("DpC", Build_DpC);
    Need("I", Build_I);
    const std::string costCentre = TwoCostCentres().first;
    // The cost-centre list asks for the new number first: its first offer, by a click.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (auto* d = qobject_cast<gui::frmAddCC*>(QApplication::activeModalWidget()))
            QTest::mouseClick(d->cmdButton[0], Qt::LeftButton);
    });
    answer.start(10);
    const struct {
        const char* code;
        const char* key;
        double from;  // the line the cursor is on at the click; 0: where the window opens
        int col;      // the new line's cell that takes the typing
        std::string typed;
    } cases[] = {
        {"Ap1", "SeqNum", 0, 2, "Treasurer"},   {"Ap3", "LineNum", 0, 1, "Alder Court"},
        {"Ap4", "LineNum", 0, 1, "Pharmacy"},   {"Ap5", "LineNum", 0, 1, "East Clinic"},
        {"B1", "SeqNum", 0, 1, "Rent moved"},   {"C", "LineNum", 13, 1, "Copier lease"},
        {"DpB", "SeqNum", 0, 1, costCentre},    {"DpC", "SeqNum", 0, 1, "Quelldorn Supply"},
        {"I", "SeqNum", 0, 1, "Vending"},       {"CCs", "CCNum", 12, 2, "Courier Services"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        auto* e = Show(c.code);
        ASSERT_NE(e, nullptr);
        if (c.from) ClickCell(e, c.key, c.from, 1);
        Click(e->cmdAdd);
        EXPECT_TRUE(e->grd->EditActive() && InGrid(e));
        EXPECT_EQ(e->grd->Col(), c.col);
        const Value line = e->Current(c.key);
        const std::string field = e->grd->Data().FieldName(c.col);
        Enter(c.typed);
        const std::string table = std::string(c.code) == "CCs" ? "CostCenters" : c.code;
        EXPECT_EQ(Rows("SELECT " + field + " FROM " + table + " WHERE " + c.key + " = ?;", {line}),
                  (Table{{c.typed}}));
        EXPECT_TRUE(InGrid(e));
        UnloadAllForms();
        Settle();
    }
}

}  // namespace
}  // namespace vt::test
