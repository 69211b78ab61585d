// The bookkeeping of worksheet windows: finding, opening once, stepping in
// display-name order, refreshing, the loader's refusals, and sizes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QStyle>
#include <QTableView>

#include "engine/general/b.h"
#include "platform/ui/twips_qt.h"
#include "shell/forms.h"
#include "shell/frmHelpAbout.h"
#include "shell/frmMain.h"
#include "shell/open_form.h"
#include "shell/worksheet_windows.h"
#include "store/report.h"
#include "store/services.h"
#include "tests/gui_support/gui_test.h"
#include "viewers/frmViewB.h"

namespace vt::test {
namespace {

using gui::Find_Worksheet_Form;
using gui::Open_Adjacent_Worksheet;

class WorksheetWindows : public WindowTest {
protected:
    TestSheetWindow* Window(const std::string& name, const std::string& caption, const std::string& source = "",
                            bool hasSetGrd = true) {
        auto* w = new TestSheetWindow(name, caption, source, hasSetGrd);
        w->Form_Load();
        return w;
    }
    int Find(std::string mode, const std::string& code) { return Find_Worksheet_Form(mode, code); }
};

TEST_F(WorksheetWindows, NextAndPreviousFollowTheDisplayNamesAndEditorsSkipSheetsWithoutOne) {
    RegisterAllWorksheets();
    const struct {
        const char* caption;
        bool previous;
        const char* code;
    } steps[] = {
        {"View Worksheet B", false, "B1"},     {"View Worksheet B", true, "Ap5"},
        {"View Worksheet Ap1", true, ""},      {"View Worksheet Ap1", false, "Ap3"},
        {"View Worksheet E1", false, "Fp1"},   {"Edit Worksheet E1", false, "Fp2"},
        {"Edit Worksheet Fp2", false, "F1p2"}, {"Edit Worksheet F1p2", true, "Fp2"},
        {"Edit Worksheet Gp2", false, "I"},    {"View Worksheet Gp2", false, "H"},
        {"edit Worksheet I", true, "Gp2"},     {"View Worksheet I", false, "J"},
        {"View Worksheet J", false, ""},       {"View Worksheet DpC", false, "E"},
    };
    for (const auto& s : steps)
        EXPECT_EQ(Open_Adjacent_Worksheet(s.caption, s.previous, false), s.code) << s.caption << " " << s.previous;
    EXPECT_EQ(gui::FormCount(), 1);  // nothing was opened
}

TEST_F(WorksheetWindows, FindsByCaptionOrByFormNameLastLoadedFirst) {
    Window("frmViewB", "View Worksheet B");
    Window("frmEditB1", "Edit Worksheet B1");
    auto* helper = new gui::frmHelpAbout();
    const int viewB = gui::FormIndex(gui::FormAt(1));
    EXPECT_EQ(Find("edit", "B"), 0);
    EXPECT_EQ(Find("view", "b"), viewB);
    EXPECT_EQ(Find("EDIT", "B1"), 2);
    EXPECT_EQ(Find("edit", "frmViewB"), viewB);  // a form name finds its window whatever the mode
    EXPECT_EQ(Find("view", "frmhelpabout"), gui::FormIndex(helper));
    std::string mode = "view";
    Find_Worksheet_Form(mode, "B");
    EXPECT_EQ(mode, "VIEW");
    EXPECT_TRUE(gui::Is_Form_Loaded("FRMEDITB1"));
    EXPECT_FALSE(gui::Is_Form_Loaded("frmEditB"));
}

TEST_F(WorksheetWindows, RefreshRebindsEveryOtherWorksheetWindowAndPassesOverThoseWithout) {
    auto* view = Window("frmViewB", "View Worksheet B");
    auto* edit = Window("frmEditB", "Edit Worksheet B");
    auto* j = Window("frmViewJ", "VIEW: Worksheet J", "", false);
    auto* other = Window("frmSomething", "View Worksheet C");
    view->setGrdCalls = edit->setGrdCalls = j->setGrdCalls = other->setGrdCalls = 0;
    const auto calls = [&] { return std::vector{view->setGrdCalls, edit->setGrdCalls, j->setGrdCalls, other->setGrdCalls}; };
    gui::Refresh_Grids(gui::FormIndex(edit));
    EXPECT_EQ(calls(), (std::vector{1, 0, 0, 0}));  // the last is no worksheet window by its name
    gui::Refresh_Grids(-1);
    EXPECT_EQ(calls(), (std::vector{2, 1, 0, 0}));
    gui::Refresh_Worksheet_Form("View", "B");
    gui::Refresh_Worksheet_Form("edit", "C");  // none open: nothing happens
    EXPECT_EQ(calls(), (std::vector{3, 1, 0, 0}));
}

TEST_F(WorksheetWindows, OpeningAnOpenWindowBringsItUpAndRebindsItInsteadOfASecond) {
    if (!Table_Exists("B")) Build_B();
    gui::Open_Worksheet_Form("view", "B");
    QWidget* first = nullptr;
    ASSERT_TRUE(gui::Is_Form_Loaded("frmViewB", &first));
    auto* viewer = static_cast<gui::frmViewB*>(first);
    db().Execute("UPDATE B SET Expenses = 4321 WHERE LineNum = 1");
    viewer->showMinimized();
    const int forms = gui::FormCount();
    gui::Open_Worksheet_Form("VIEW", "B");
    EXPECT_EQ(gui::FormCount(), forms);
    EXPECT_FALSE(viewer->isMinimized());
    const int row = viewer->grd->Data().FindFirst("LineNum", db::FindOp::Eq, Value(1));
    EXPECT_EQ(viewer->grd->Data().FieldValue(row, "Expenses"), Value(Currency::FromInt(4321)));
}

TEST_F(WorksheetWindows, TheLoaderRefusesMissingTablesFirstThenUnknownWindows) {
    if (!Table_Exists("H")) db().CreateTable("H", {db::CurrencyField("SeqNum")});
    db().DropTable("CostCenters");
    for (auto [mode, code] : {std::pair{"edit", "CCs"}, {"edit", "H"}, {"View", "Zz"}, {"view", "h"}}) {  // codes match exactly
        ui.ExpectMessage();
        gui::Open_Worksheet_Form(mode, code);
    }
    EXPECT_EQ(ui.Messages(), (Shown{{"Unable to open edit of CCs because the table does not exist.", ui::kCritical, "Error"},
                                    {"Unknown worksheet requested (H) for edit.", ui::kCritical, ""},
                                    {"Unable to open View of Zz because the table does not exist.", ui::kCritical, "Error"},
                                    {"Unknown worksheet requested (h) for view.", ui::kCritical, ""}}));
    EXPECT_EQ(gui::FormCount(), 1);
}

TEST_F(WorksheetWindows, TheModeChoosesTheEditorOrTheViewerAndEachTakesTheMainIcon) {
    auto* main = new gui::frmMain();
    db().CreateTable("T1", {db::CurrencyField("LineNum")});
    auto& table = gui::WorksheetWindowTable();
    table["T1"] = {"T1", [] { return new TestSheetWindow("frmEditT1", "Edit Worksheet T1", "SELECT * FROM T1"); },
                   [] { return new TestSheetWindow("frmViewT1", "View Worksheet T1", "SELECT * FROM T1"); }};
    gui::Open_Worksheet_Form("EDIT", "T1");
    gui::Open_Worksheet_Form("Edit", "T1");
    gui::Open_Worksheet_Form("whatever", "T1");
    table.erase("T1");
    QWidget *edit = nullptr, *view = nullptr;
    ASSERT_TRUE(gui::Is_Form_Loaded("frmEditT1", &edit));
    ASSERT_TRUE(gui::Is_Form_Loaded("frmViewT1", &view));
    EXPECT_EQ(gui::FormCount(), 3);
    EXPECT_EQ(std::pair(edit->windowIcon().cacheKey(), view->windowIcon().cacheKey()),
              std::pair(main->windowIcon().cacheKey(), main->windowIcon().cacheKey()));
    // Editors sit 700 twips below the main window's top, viewers 1100.
    EXPECT_EQ(std::pair(edit->y(), view->y()), std::pair(ui::Px(700), ui::Px(1100)));
}

// Measured on the screen's and the application font's own scale, with a
// desktop font larger than the forms were designed for: a line number still
// fits the B viewer's 600-twip line column whole.
TEST_F(WorksheetWindows, TheBViewersLineColumnHoldsALineNumberInTheFontInUse) {
    const QFont before = QApplication::font();
    QApplication::setFont(QFont("DejaVu Sans", 11));
    ui::SetTwipsPerPixel(0);
    if (!Table_Exists("B")) Build_B();
    gui::Open_Worksheet_Form("view", "B");
    QWidget* w = nullptr;
    ASSERT_TRUE(gui::Is_Form_Loaded("frmViewB", &w));
    QTableView* pane = static_cast<gui::frmViewB*>(w)->grd->Pane(0);
    const int margins = 2 * (pane->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, pane) + 1);
    EXPECT_GE(pane->columnWidth(0), QFontMetrics(pane->font()).horizontalAdvance("30.01") + margins);
    ui::SetTwipsPerPixel(15);
    QApplication::setFont(before);
}

TEST_F(WorksheetWindows, AWindowIsAsHighAsItsRowsAtLeastFourAndNoHigherThanTheScreen) {
    db().CreateTable("T2", {db::CurrencyField("LineNum"), db::CurrencyField("A"), db::CurrencyField("B")});
    db().Execute("INSERT INTO T2 (LineNum) VALUES (1), (2)");
    auto* w = Window("frmViewT2", "View Worksheet T2", "SELECT * FROM T2");
    w->grd->setGeometry(0, 0, 300, 200);
    auto fit = [&](int rows) {
        w->resize(400, 300);
        gui::Fit_Form_Height(*w, 4, rows);
        return w->height();
    };
    EXPECT_EQ(fit(2), fit(4));
    EXPECT_GT(fit(6), fit(4));
    EXPECT_EQ(fit(500), fit(5000));
    EXPECT_LE(ui::Twips(fit(500)), gui::CurrentFormMetrics().Max_Form_Height - 1100 + 15);
}

// Whatever room the screen leaves below a viewer's top, a window with more
// rows than fit ends within it: its rows are cut to those that fit whole.
TEST_F(WorksheetWindows, AWindowCutToTheScreenEndsWithinIt) {
    db().CreateTable("T3", {db::CurrencyField("LineNum"), db::CurrencyField("A")});
    auto* w = Window("frmViewT3", "View Worksheet T3", "SELECT * FROM T3");
    w->grd->setGeometry(0, 0, 300, 200);
    for (double room = 6000; room < 6000 + 2 * w->grd->RowHeight(); room += 15) {
        gui::CurrentFormMetrics().Max_Form_Height = room;
        w->resize(400, 300);
        gui::Fit_Form_Height(*w, 4, 500);
        EXPECT_LE(ui::Twips(w->height()), room - 1100 + 7.5) << room;
    }
}

TEST_F(WorksheetWindows, AGridWiderThanTheScreenGivesAWindowAsWideAsTheScreenAtTheLeftEdge) {
    std::vector<db::FieldDef> fields;
    for (int i = 0; i < 12; ++i) fields.push_back(db::CurrencyField("C" + std::to_string(i)));
    db().CreateTable("Wide", fields);
    auto& table = gui::WorksheetWindowTable();
    table["Wide"] = {"Wide", nullptr,
                     [] { return new TestSheetWindow("frmViewWide", "View Worksheet Wide", "SELECT * FROM Wide"); }};
    gui::Open_Worksheet_Form("view", "Wide");
    table.erase("Wide");
    QWidget* w = nullptr;
    ASSERT_TRUE(gui::Is_Form_Loaded("frmViewWide", &w));
    // As wide as the screen with its frame, which stays on the screen.
    EXPECT_EQ(std::pair(w->frameGeometry().width(), w->frameGeometry().x()),
              std::pair(ui::Px(gui::CurrentFormMetrics().Max_Form_Width), 0));
}

class WindowLayouts : public NoReportTest {};

QPushButton* Button(QWidget* parent, double width) {
    auto* b = new QPushButton(parent);
    b->setGeometry(0, ui::Px(60), ui::Px(width), ui::Px(375));
    return b;
}

TEST_F(WindowLayouts, EditorsSpreadFiveButtonsAndKeepTheirSmallestSize) {
    QWidget form;
    grid::Grid grd(&form);
    QWidget strip(&form);
    strip.resize(10, ui::Px(495));
    QPushButton* b[5];
    for (auto*& x : b) x = Button(&strip, 1572);
    QPushButton* previous = Button(&strip, 615);
    QPushButton* next = Button(&strip, 615);
    auto layout = [&](double minHeight = 0, double minWidth = 0) {
        gui::Resize_Edit_Form(&form, &grd, &strip, b[0], b[1], b[2], b[3], b[4], previous, next, minHeight, minWidth);
    };
    form.resize(ui::Px(6000), ui::Px(3000));
    layout();
    EXPECT_EQ(form.width(), ui::Px(7620 + 2 * 615));
    form.resize(ui::Px(12000), ui::Px(500));
    layout();
    EXPECT_EQ(form.height(), ui::Px(1210));
    form.resize(ui::Px(12000), ui::Px(3000));
    layout(2000, 13000);
    EXPECT_EQ(form.width(), ui::Px(13000));

    form.resize(ui::Px(12000), ui::Px(3000));
    layout();
    // Five buttons of 1962 twips, 120 apart, between Previous and Next.
    EXPECT_EQ((std::vector{b[0]->x(), b[4]->x(), b[4]->width(), next->x(), strip.y(), grd.height(), grd.width()}),
              (std::vector{ui::Px(855), ui::Px(855 + 4 * 2082), ui::Px(1962), ui::Px(12000 - 615), ui::Px(3000 - 495),
                           ui::Px(3000 - 495 - 160), form.width()}));
}

TEST_F(WindowLayouts, TheJWindowsPutFourButtonsUnderTheGrid) {
    QWidget form;
    grid::Grid grd(&form);
    grd.setGeometry(0, 0, ui::Px(3000), ui::Px(1000));
    QPushButton* b[4];
    for (auto*& x : b) x = Button(&form, 1000);
    form.resize(ui::Px(9700), ui::Px(4000));
    gui::Resize_J_Form(&form, &grd, b[0], b[1], b[2], b[3]);
    // Four buttons of 2000 twips, 400 apart; the grid's width is the window's own business.
    EXPECT_EQ((std::vector{b[0]->x(), b[3]->x(), b[3]->width(), grd.height(), grd.width()}),
              (std::vector{ui::Px(250), ui::Px(250 + 3 * 2400), ui::Px(2000), ui::Px(4000 - 2 * 375), ui::Px(3000)}));
}

}  // namespace
}  // namespace vt::test
