// A report keyed from paper, window by window, with the keyboard alone but
// for the clicks a clerk makes on Add: A Parts I, III and IV, B, B-1, C,
// F Part II's statistics, E-1 with a column added, G Part I. Every typed
// value must land in the row and field where it was typed, and no other row
// may change: the tables are compared whole with what the keys should make.
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>

#include "costcentres/frmSelectCC.h"
#include "editors/chain_edit_form.h"
#include "editors/frmEditAp1.h"
#include "engine/chain/component_sheet.h"
#include "shell/frmCRFEditKey.h"
#include "platform/ui/twips_qt.h"
#include "report/edit_checks.h"
#include "shell/frmHeaderLines.h"
#include "shell/frmMain.h"
#include "shell/frmReBuild_A_Worksheet.h"
#include "shell/frmSelectivePrints.h"
#include "shell/frmViewError.h"
#include "shell/worksheet_windows.h"
#include "report/worksheet_catalogue.h"
#include "engine/general/b.h"
#include "engine/general/b1.h"
#include "engine/general/c.h"
#include "tests/keyboard/keyboard_test.h"

namespace vt::test {
namespace {

using Cell = std::pair<std::string, int>;

// Once the cost-centre picker has the keyboard: notes the entry it shows
// as current (with its highlight) and sends `key` to the widget that has it.
void AnswerPicker(int key, std::string* current) {
    QWidget* f = QApplication::focusWidget();
    auto* picker = f ? qobject_cast<gui::frmSelectCC*>(f->window()) : nullptr;
    if (!picker) {
        QTimer::singleShot(10, [key, current] { AnswerPicker(key, current); });
        return;
    }
    if (const QListWidgetItem* item = picker->CcList->currentItem()) *current = item->text().toStdString();
    QTest::keyClick(f, static_cast<Qt::Key>(key));
}

class ReportKeys : public KeyboardTest {
protected:
    void SetUp() override {
        KeyboardTest::SetUp();
        RegisterAllWorksheets();
    }
    void TearDown() override {
        gui::SetCCChooser(nullptr);
        KeyboardTest::TearDown();
    }
    static Table Without(Table t, const std::string& key) {
        std::erase_if(t, [&](const std::vector<std::string>& row) { return row[0] == key; });
        return t;
    }
};

// Every worksheet window as first shown: its strip below the grid, each
// button whole inside the window.
TEST_F(ReportKeys, EveryWindowOpensWithItsButtonsBelowTheGrid) {
    for (const Worksheet& sheet : WorksheetCatalogue()) {
        for (const char* mode : {"edit", "view"}) {
            if (std::string(mode) == "edit" && !sheet.editor) continue;
            SCOPED_TRACE(std::string(mode) + " " + sheet.code);
            if (!Table_Exists(sheet.code)) sheet.build();
            auto* w = Open(mode, sheet.code);
            ASSERT_NE(w, nullptr);
            Activate(w);
            for (QPushButton* b : w->findChildren<QPushButton*>()) {
                if (b->window() != w) continue;
                SCOPED_TRACE(b->objectName().toStdString());
                const QRect place(b->mapTo(w, QPoint(0, 0)), b->size());
                EXPECT_TRUE(b->isVisible() && w->rect().contains(place));
                EXPECT_FALSE(place.intersects(w->grd->geometry()));
            }
            UnloadAllForms();
            Settle();
        }
    }
}

// On the screen's own measures (ctest runs this again on a 1920x1080 screen
// at scale factors 1.5 and 2 and on a 1600x1000 one at 1 and 1.5, the
// latter also on a real X server), with a window manager where there is one:
// every editor and viewer, the cost-centre list and the windows of the menus
// open wholly inside the working area, title bar and frame included, and a
// worksheet window shows every row and column of its grid unless it already
// takes the working area's whole height or width.
TEST_F(ReportKeys, EveryWindowOpensWhollyOnTheWorkingAreaAtItsGridsSize) {
    ui::SetTwipsPerPixel(0);
    gui::CurrentFormMetrics() = {};
    gui::frmMain main;
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    const auto onArea = [](QWidget* w) {
        // A window manager frames a window a moment after it shows.
        const bool framed = QGuiApplication::platformName() != "xcb" ||
                            QTest::qWaitFor([w] { return w->frameGeometry() != w->geometry(); }, 2000);
        const QRect area = w->screen()->availableGeometry();
        return framed && QTest::qWaitFor([&] { return area.contains(w->frameGeometry()); }, 1000);
    };
    std::vector<std::pair<std::string, std::string>> windows = {{"edit", "CCs"}, {"view", "CCs"}};
    for (const Worksheet& sheet : WorksheetCatalogue()) {
        if (!Table_Exists(sheet.code)) sheet.build();
        if (sheet.editor) windows.emplace_back("edit", sheet.code);
        windows.emplace_back("view", sheet.code);
    }
    for (const auto& [mode, code] : windows) {
        SCOPED_TRACE(mode + " " + code);
        auto* w = Open(mode, code);
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(onArea(w));
        const QRect area = w->screen()->availableGeometry(), frame = w->frameGeometry();
        const QTableView* pane = w->grd->Pane(w->grd->SplitCount() - 1);
        const int rows = w->grd->Data().RecordCount();
        int whole = 0;
        for (int r = 0; r < rows; ++r)
            whole += pane->rowViewportPosition(r) >= 0 &&
                     pane->rowViewportPosition(r) + pane->rowHeight(r) <= pane->viewport()->height();
        EXPECT_TRUE(whole == rows || frame.bottom() + pane->rowHeight(0) > area.bottom()) << whole << " of " << rows;
        EXPECT_TRUE(pane->horizontalScrollBar()->maximum() == 0 || frame.width() >= area.width() - 2);
        gui::UnloadForm(w);
        Settle();
    }
    Create_Error_Table();
    const std::pair<const char*, void (*)()> menus[] = {{"frmViewError", gui::ShowEditCheckViewer},
                                                        {"frmImportMDI", gui::ShowSelectivePrints},
                                                        {"frmHeaderLines", gui::ShowHeaderLines},
                                                        {"frmReBuild_A_Worksheet", gui::ShowReBuildAWorksheet}};
    for (auto [name, show] : menus) {
        show();
        QWidget* w = nullptr;
        ASSERT_TRUE(gui::Is_Form_Loaded(name, &w)) << name;
        EXPECT_TRUE(onArea(w->window())) << name;
    }
}

TEST_F(ReportKeys, PartThreeFacilitiesKeyedAcrossBothPanesOneAddedBetweenTwo) {
    auto* e = Show("Ap3");
    const Table sheetsBefore = Rows("SELECT SeqNum, Component FROM E ORDER BY SeqNum;");
    // name, Medicare number, period from and to, acquired, across the panes by Tab.
    auto keyFacility = [&](const std::string& name, const std::string& number) {
        Click(e->cmdAdd);
        ASSERT_TRUE(e->grd->EditActive()) << name;
        ASSERT_EQ(e->grd->Col(), 1) << name;
        for (const std::string& typed : {name, number, std::string("01/01/2006"), std::string("12/31/2006")})
            Enter(typed, Qt::Key_Tab);
        EXPECT_TRUE(InGrid(e)) << name;
        EXPECT_EQ(e->grd->Col(), 5) << name;  // Date Acquired, in the right pane
    };
    keyFacility("Alder Court", "123456");
    keyFacility("Cedar Hall", "223344");
    // Back to line 1 by the keyboard: Up, and Left across into the name.
    for (int i = 0; i < 4; ++i) Press(Qt::Key_Left);
    EXPECT_EQ(Cursor(e, "LineNum"), Cell("1.01", 1));
    Press(Qt::Key_Up);
    EXPECT_EQ(Cursor(e, "LineNum"), Cell("1", 1));
    keyFacility("Birch House", "334455");
    EXPECT_EQ(Keyed("SELECT LineNum, Component, MedicareNo, PeriodFrom, PeriodTo, DateAcquired FROM Ap3 ORDER BY LineNum;"),
              "1:Alder Court,123456,1/1/2006,12/31/2006,;"
              "1.01:Birch House,334455,1/1/2006,12/31/2006,;"
              "1.02:Cedar Hall,223344,1/1/2006,12/31/2006,;");
    EXPECT_EQ(Keyed("SELECT SeqNum, Component, MedicareNo FROM E WHERE SeqNum > 0 AND SeqNum < 18 ORDER BY SeqNum;"),
              "1:Alder Court,123456;1.01:Birch House,334455;1.02:Cedar Hall,223344;");
    EXPECT_EQ(Without(Without(Without(Rows("SELECT SeqNum, Component FROM E ORDER BY SeqNum;"), "1"), "1.01"), "1.02"),
              sheetsBefore);
}

TEST_F(ReportKeys, EOneAddColumnFromTheKeyboardThenFiguresIntoTheNewColumn) {
    auto* a = Show("Ap3");
    Click(a->cmdAdd);
    Enter("Alder Court");
    // Every button inside the window, below the grid, on first show.
    for (const char* code : {"F1p2", "E1"}) {
        auto* w = Show<gui::ChainEditForm>(code);
        for (QPushButton* b : {w->cmdPrevious, w->cmdAdd, w->cmdDelete, w->cmdOpenView, w->cmdRecalculate,
                               w->cmdClose, w->cmdNext}) {
            SCOPED_TRACE(code + (" " + b->objectName().toStdString()));
            const QRect place(b->mapTo(w, QPoint(0, 0)), b->size());
            EXPECT_TRUE(w->rect().contains(place));
            EXPECT_FALSE(place.intersects(w->grd->geometry()));
            EXPECT_TRUE(b->isVisible());
        }
    }
    auto* e = Loaded<gui::ChainEditForm>("frmEditE1");
    const double cc = db().Scalar("SELECT MIN(CCNum) FROM CostCenters WHERE CCNum >= 4 AND CCNum < 200").ToDouble();
    gui::SetCCChooser([cc](const std::string&) { return std::optional(Currency::FromDouble(cc)); });
    // Tab leaves E-1's grid; on along the strip to Add Column, and Space presses it.
    ASSERT_TRUE(InGrid(e));
    for (int i = 0; i < 8 && QApplication::focusWidget() != e->cmdAdd; ++i) Press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), e->cmdAdd);
    Press(Qt::Key_Space);
    Settle();
    auto* reopened = Loaded<gui::ChainEditForm>("frmEditE1");
    ASSERT_NE(reopened, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(reopened));  // a window manager activates it a moment later
    EXPECT_TRUE(reopened->grd->EditActive() && InGrid(reopened));
    Enter("4500");
    Press(Qt::Key_Down);
    EXPECT_TRUE(InGrid(reopened));
    EXPECT_EQ(Keyed("SELECT SeqNum, Col_1 FROM E1 WHERE SeqNum = 1;"), "1:4500;");
}

// E and F Part II, and E-1 and F-1 Part II opened again after a column was
// added: a figure typed as the window opens lands in the first line's first
// value column; the arrows cross between the panes on that line; Tab out to
// the buttons and Shift+Tab come back to the same cell.
TEST_F(ReportKeys, ChainEditorsOpenReadyForFiguresAndTheArrowsCrossThePanes) {
    auto* a = Show("Ap3");
    Click(a->cmdAdd);
    Enter("Alder Court");
    const Currency cc = db().Scalar("SELECT MIN(CCNum) FROM CostCenters WHERE CCNum >= 10 AND CCNum < 200").ToCurrency();
    {
        db::Transaction tx(db());
        for (const char* t : {"E1", "F1p1", "F1p2"}) AddChosenCCColumn(t, cc);
        tx.Commit();
    }
    const struct {
        const char* code;
        int first;          // the grid column of the first value field
        bool tabLeaves;     // Tab leaves the grid for the buttons
        const char* typed;  // at once, then again after the moves
        const char* again;
    } cases[] = {{"E", 4, true, "777", "778"},
                 {"Fp2", 3, false, "40", "41"},
                 {"E1", 4, true, "4500", "4501"},
                 {"F1p2", 4, true, "1275000", "1275001"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        const std::string others = "SELECT * FROM " + std::string(c.code) + " WHERE SeqNum <> 1 ORDER BY SeqNum;";
        const Table before = Rows(others);
        auto* e = Show<gui::ChainEditForm>(c.code);
        ASSERT_NE(e, nullptr);
        const std::string line1 =
            "SELECT " + e->grd->Data().FieldName(c.first) + " FROM " + c.code + " WHERE SeqNum = 1;";
        EXPECT_TRUE(InGrid(e));
        EXPECT_EQ(Cursor(e, "SeqNum"), Cell("1", c.first));
        Enter(c.typed);
        EXPECT_EQ(Rows(line1), (Table{{c.typed}}));
        // Left to "Seq" in the frozen pane and as many Rights back again.
        const size_t frozen = Shown(*e->grd, 0).size();
        for (size_t i = 0; i < frozen; ++i) Press(Qt::Key_Left);
        EXPECT_EQ(Cursor(e, "SeqNum"), Cell("1", 0));
        EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(e->grd->Pane(0)));
        for (size_t i = 0; i < frozen; ++i) Press(Qt::Key_Right);
        EXPECT_EQ(Cursor(e, "SeqNum"), Cell("1", c.first));
        EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(e->grd->Pane(1)));
        if (c.tabLeaves) {
            Press(Qt::Key_Tab);
            EXPECT_FALSE(InGrid(e));
            Press(Qt::Key_Tab, Qt::ShiftModifier);
            EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(e->grd->Pane(1)));
            EXPECT_EQ(Cursor(e, "SeqNum"), Cell("1", c.first));
        }
        Enter(c.again);
        EXPECT_EQ(Rows(line1), (Table{{c.again}}));
        EXPECT_EQ(Rows(others), before);
        EXPECT_TRUE(InGrid(e));
        UnloadAllForms();
        Settle();
    }
}

// A Part I's identity lines typed from the grid: the first key opens the
// provider information on the typed line's own box, holding that key; the
// rest follows it there and Enter saves the line and the report's identity.
TEST_F(ReportKeys, APartOneIdentityLinesAreTypedWholeIntoTheirOwnBoxes) {
    auto* p = Show<gui::frmEditAp1>("Ap1");
    const struct {
        double line;
        const char* box;
        std::string typed;
    } cases[] = {{2.02, "txtProviderNum", "12-3456"},
                 {1, "txtFacilityName", "100 Main Street Office"},
                 {6.01, "txtFYStart", "07/01/2006"},
                 {6.02, "txtFYEnd", "06/30/2007"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        ClickCell(p, "SeqNum", c.line, 2);
        Type(c.typed.substr(0, 1));
        auto* dialog = qobject_cast<gui::frmCRFEditKey*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        // A window manager activates it a moment after it shows.
        ASSERT_TRUE(QTest::qWaitFor([dialog] { return QApplication::activeWindow() == dialog; }));
        auto* box = dialog->findChild<QLineEdit*>(c.box);
        EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(box));
        Type(c.typed.substr(1));
        EXPECT_EQ(box->text().toStdString(), c.typed);
        Press(Qt::Key_Return);
        Settle();
        EXPECT_FALSE(gui::Is_Form_Loaded("frmCRFEditKey"));
        EXPECT_EQ(Rows("SELECT Info FROM Ap1 WHERE SeqNum = ?;", {Value(Currency::FromDouble(c.line))}),
                  (Table{{c.typed}}));
        Activate(p);
    }
    EXPECT_EQ(Rows("SELECT ProviderNumber, ProviderName FROM Master;"),
              (Table{{"12-3456", "100 Main Street Office"}}));
}

// Lines 7 and 8 answer from their pick lists by the keyboard alone: F4 or
// Alt+Down opens the list on the answer held (the first when none), the
// arrows and Enter choose, Escape leaves the answer as it was.
TEST_F(ReportKeys, APartOnePickListsOpenWithF4OrAltDownAndChooseWithTheArrows) {
    auto* p = Show<gui::frmEditAp1>("Ap1");
    const std::string specify = "SELECT Info FROM Ap1 WHERE SeqNum = 8.01;";
    const Table other = Rows(specify);
    const struct {
        double line;
        Qt::KeyboardModifiers mods;  // with Down (Alt) or F4 (none)
        std::vector<int> keys;       // in the open list
        std::string stored;
    } cases[] = {{7, Qt::NoModifier, {Qt::Key_Down, Qt::Key_Return}, "No"},
                 {7, Qt::AltModifier, {Qt::Key_Up, Qt::Key_Escape}, "No"},
                 {8, Qt::AltModifier, {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return},
                  "5 - Voluntary Non-profit, Other(specify)"},
                 {8, Qt::NoModifier, {Qt::Key_Down, Qt::Key_Escape}, "5 - Voluntary Non-profit, Other(specify)"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored + (c.mods ? " Alt+Down" : " F4"));
        ClickCell(p, "SeqNum", c.line, 2);
        Press(c.mods == Qt::AltModifier ? Qt::Key_Down : Qt::Key_F4, c.mods);
        QMenu* list = c.line == 7 ? p->mnuYesNo : p->mnuType;
        ASSERT_TRUE(list->isVisible());
        for (int key : c.keys) Press(key);
        EXPECT_FALSE(list->isVisible());
        EXPECT_TRUE(InGrid(p));
        EXPECT_EQ(Rows("SELECT Info FROM Ap1 WHERE SeqNum = ?;", {Value(Currency::FromDouble(c.line))}),
                  (Table{{c.stored}}));
    }
    EXPECT_EQ(Rows(specify), other);
}

// The picker of E-1's and F-1 Part II's Add Column answered by Enter alone:
// the entry shown highlighted is taken, as a click on it and OK would take
// it, and the figure typed next lands in the new column.
TEST_F(ReportKeys, ThePickerTakesItsHighlightedEntryByEnter) {
    auto* a = Show("Ap3");
    Click(a->cmdAdd);
    Enter("Alder Court");
    gui::SetCCChooser(gui::SelectCC);
    for (const char* code : {"E1", "F1p2"}) {
        SCOPED_TRACE(code);
        auto* e = Show<gui::ChainEditForm>(code);
        std::string highlighted;
        QTimer::singleShot(0, [&] { AnswerPicker(Qt::Key_Return, &highlighted); });
        Click(e->cmdAdd);
        Settle();
        ASSERT_FALSE(highlighted.empty());
        // "11.00  -  Name" is cost centre 11.
        const std::string cc = Value(Currency::FromDouble(std::stod(highlighted))).ToText();
        EXPECT_EQ(Keyed("SELECT SeqNum, Col_1 FROM " + std::string(code) + " WHERE SeqNum = 0;"), "0:" + cc + ";");
        auto* reopened = Loaded<gui::ChainEditForm>("frmEdit" + std::string(code));
        ASSERT_TRUE(reopened && QTest::qWaitForWindowActive(reopened));
        Enter("250");
        EXPECT_EQ(Keyed("SELECT SeqNum, Col_1 FROM " + std::string(code) + " WHERE SeqNum = 1;"), "1:250;");
    }
}

TEST_F(ReportKeys, CFStatisticsGBasesAndAPartOneKeyedWhereTyped) {
    Need("C", Build_C);
    const std::string cc = db().Scalar("SELECT MIN(CCNum) FROM CostCenters WHERE CCNum >= 4 AND CCNum < 200").ToText();
    // Two facilities, so that the chain sheets have rows to key.
    auto* a = Show("Ap3");
    for (const char* name : {"Alder Court", "Birch House"}) {
        Click(a->cmdAdd);
        Enter(name);
    }

    // C: a new line keyed across with Tab, then amounts down the fixed lines.
    auto* c = Show("C");
    ClickCell(c, "LineNum", 13, 1);
    Click(c->cmdAdd);
    for (const std::string& typed : {std::string("Copier lease"), std::string("a"), std::string("-1200")})
        Enter(typed, Qt::Key_Tab);
    Enter(cc);
    EXPECT_EQ(Cursor(c, "LineNum"), Cell("13.01", 4));
    ClickCell(c, "LineNum", 1, 3);
    for (const char* amount : {"100", "200", "300"}) {
        Enter(amount);
        Press(Qt::Key_Down);
    }
    EXPECT_EQ(Keyed("SELECT LineNum, Description, Basis, Amount, CCNum FROM C WHERE Amount <> 0 ORDER BY LineNum;"),
              "1:" + Rows("SELECT Description FROM C WHERE LineNum = 1;")[0][0] + ",,100,;"
              "2:" + Rows("SELECT Description FROM C WHERE LineNum = 2;")[0][0] + ",,200,;"
              "3:" + Rows("SELECT Description FROM C WHERE LineNum = 3;")[0][0] + ",,300,;"
              "13.01:Copier lease,A,-1200," + cc + ";");

    // F Part II: statistics across the row with Tab, on to the next row.
    auto* f = Show("Fp2");
    const int values = static_cast<int>(db().Fields("Fp2").size()) - 3;
    ASSERT_GE(values, 1);
    ClickCell(f, "SeqNum", 1, 3);
    const Table before = Rows("SELECT * FROM Fp2 WHERE SeqNum NOT IN (1, 1.01) ORDER BY SeqNum;");
    for (int k = 0; k < 2 * values; ++k) Enter(std::to_string(10 + k), Qt::Key_Tab);
    EXPECT_TRUE(InGrid(f));
    for (int k = 0; k < 2 * values; ++k) {
        const std::string field = db().Fields("Fp2")[static_cast<size_t>(3 + k % values)].name;
        EXPECT_EQ(Rows("SELECT " + field + " FROM Fp2 WHERE SeqNum = ?;", {Value::Cur(k < values ? 1 : 1.01)}),
                  (Table{{std::to_string(10 + k)}}))
            << field;
    }
    EXPECT_EQ(Rows("SELECT * FROM Fp2 WHERE SeqNum NOT IN (1, 1.01) ORDER BY SeqNum;"), before);

    // G Part I: the three bases down the one open column.
    auto* g = Show("Gp1");
    ClickCell(g, "SeqNum", 1, 2);
    for (const char* base : {"5000", "3000", "2000"}) Enter(base, Qt::Key_Down);
    EXPECT_EQ(Keyed("SELECT SeqNum, TotalCost FROM Gp1 WHERE SeqNum > 0 AND SeqNum < 4 ORDER BY SeqNum;"),
              "1:5000;2:3000;3:2000;");

    // A Part I: a letter on a pick-list line types nothing; on an identity
    // line it opens the provider information and types nothing.
    auto* p = Show<gui::frmEditAp1>("Ap1");
    const auto all = All_Tables();
    ClickCell(p, "SeqNum", 8, 2);
    Type("G");
    p->mnuType->close();
    Activate(p);
    ClickCell(p, "SeqNum", 2.02, 2);
    Type("9");
    QWidget* dialog = nullptr;
    ASSERT_TRUE(gui::Is_Form_Loaded("frmCRFEditKey", &dialog));
    dialog->close();
    Settle();
    EXPECT_EQ(All_Tables(), all);
}

}  // namespace
}  // namespace vt::test
