// The viewer of worksheet B on a real report: what it shows, that it never
// writes, its buttons and layout, and pictures of it and the main window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTableView>
#include <QTest>

#include <unistd.h>

#include "engine/general/b.h"
#include "platform/ui/twips_qt.h"
#include "shell/calculation.h"
#include "shell/forms.h"
#include "shell/frmMain.h"
#include "shell/worksheet_windows.h"
#include "store/report.h"
#include "store/services.h"
#include "tests/gui_support/gui_test.h"
#include "viewers/frmViewB.h"

namespace vt::test {
namespace {

using gui::frmViewB;
using ui::Px;

class ViewB : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        if (!Table_Exists("B")) Build_B();
    }
    frmViewB* Open() {
        gui::Open_Worksheet_Form("view", "B");
        QWidget* w = nullptr;
        EXPECT_TRUE(gui::Is_Form_Loaded("frmViewB", &w));
        return static_cast<frmViewB*>(w);
    }
    int RowOfLine(frmViewB* v, double line) {
        return v->grd->Data().FindFirst("LineNum", db::FindOp::Eq, Value(line));
    }
};

TEST_F(ViewB, ShowsEveryLineOfBWithTheFormsHeadingsAndTakesNoTyping) {
    frmViewB* v = Open();
    ASSERT_TRUE(v);
    EXPECT_EQ(v->Caption(), "View Worksheet B");
    grid::Grid& g = *v->grd;
    EXPECT_EQ(g.Data().RecordCount(), db().Scalar("SELECT COUNT(*) FROM B").ToLong());
    EXPECT_GE(RowOfLine(v, 100), 0);  // the total lines too
    ASSERT_EQ(std::tuple(g.ColumnCount(), g.HeadLines(), g.SplitCount()), std::tuple(11, 4, 1));
    EXPECT_EQ(g.Data().FieldName(3), "Expenses");
    const double widths[] = {600, -1, 3500, 1300, 1200, 1200, 1200, 1200, 1200, 1200, 1200};
    for (int c = 0; c < 11; ++c) {
        EXPECT_EQ(g.Columns(c).Visible(), c != 1) << c;
        if (c != 1) {
            EXPECT_EQ(g.Columns(c).Width(), widths[c]) << c;
        }
        EXPECT_TRUE(g.Columns(c).Locked() && g.Columns(c).WrapText()) << c;
        EXPECT_FALSE(g.TypeIntoCell(0, c, "1")) << c;
    }
    EXPECT_EQ((std::vector{g.Columns(0).Caption(), g.Columns(2).Caption(), g.Columns(3).Caption(), g.Columns(4).Caption(),
                           g.Columns(10).Caption()}),
              (std::vector<std::string>{"\r\r\r", "\r\r           Cost Center\r", "  Expenses\r  per Home\r  Office\r   Books\r     1",
                                        "\rReclassi-\rfications\r    2", "  Pooled\rAllocation\r    s\r    8"}));
    EXPECT_FALSE(v->findChild<QWidget*>("dat"));  // no data-control bar to show
}

TEST_F(ViewB, NavigationButtonsNameTheWorksheetsTheyOpen) {
    RegisterAllWorksheets();
    frmViewB* v = Open();
    EXPECT_TRUE(v->cmdNext->isEnabled() && v->cmdPrevious->isEnabled());
    EXPECT_EQ(v->cmdPrevious->toolTip() + " / " + v->cmdNext->toolTip(), "Open A  Part-5 For View / Open B-1 For View");

    // Without a later worksheet Next is disabled; a later FormSetup never enables it.
    db().Execute("DELETE FROM Worksheets WHERE ItemName > 'B' AND Calc_Lvl < 900");
    v->FormSetup();
    EXPECT_FALSE(v->cmdNext->isEnabled());
    RegisterAllWorksheets();
    v->FormSetup();
    EXPECT_FALSE(v->cmdNext->isEnabled());
}

TEST_F(ViewB, ReCalculateShowsTheNewAmountsInPlace) {
    frmViewB* v = Open();
    gui::SetCalculation([this] {
        db().Execute("UPDATE B SET Expenses = 98765 WHERE LineNum = 1");
        gui::Refresh_Grids(-1);
    });
    const QPoint where = v->pos();
    QTest::mouseClick(v->cmdRecalculate, Qt::LeftButton);
    EXPECT_EQ(v->grd->Data().FieldValue(RowOfLine(v, 1), "Expenses"), Value(Currency::FromInt(98765)));
    v->grd->SetCurrentCell(RowOfLine(v, 1), 3);
    EXPECT_EQ(v->grd->Columns(3).Text(), "98,765");
    EXPECT_EQ(v->pos(), where);
}

TEST_F(ViewB, OpenEditOpensTheEditor) {
    frmViewB* v = Open();
    QTest::mouseClick(v->cmdOpenEdit, Qt::LeftButton);
    EXPECT_TRUE(gui::Is_Form_Loaded("frmEditB"));
    EXPECT_TRUE(ui.Prompts().empty() && v->isVisible() && v->isEnabled());
}

TEST_F(ViewB, ResizingKeepsTheSmallestSizeAndSpreadsTheButtons) {
    frmViewB* v = Open();
    v->resize(100, 40);
    QApplication::processEvents();
    EXPECT_EQ(std::pair(v->width(), v->height()), std::pair(Px(6810 + 2 * 615), Px(1210)));

    v->resize(Px(9000), Px(4000));
    QApplication::processEvents();
    // (9000 - 480 - 2 * 615 - 360) / 4 = 1732.5: buttons of 1732 (half to even), 120 apart.
    EXPECT_EQ((std::vector{v->cmdPrevious->x(), v->cmdNext->x(), v->cmdRecalculate->x(), v->cmdPrint->x(), v->cmdClose->x(),
                           v->cmdClose->width(), v->grd->height()}),
              (std::vector{0, Px(9000) - v->cmdNext->width(), Px(855), Px(2707), Px(6411), Px(1732),
                           Px(4000 - ui::Twips(v->picButtons->height()) - 160)}));
}

TEST_F(ViewB, AWiderColumnReWrapsItsHeadingAndRowsKeepTheirMinimum) {
    frmViewB* v = Open();
    v->grd->UserResizeColumn(4, 2400);
    EXPECT_EQ(v->grd->Columns(4).Caption(), "\r\r  Reclassi- fications\r          2");
    v->grd->UserResizeRows(120);
    EXPECT_EQ(v->grd->RowHeight(), grid::kMinRowHeight);
}

// The viewer's own picture is taken with every other viewer's.
TEST_F(ViewB, PictureOfTheMainWindow) {
    gui::InstallHeadingMeasurer(nullptr);
    db().Execute("UPDATE B SET Expenses = CCur(LineNum * 12345) WHERE LineNum < 100");
    // A key of this run's own: another run of the tests may hold a fixed one.
    const std::string key = "vt-test-shots-" + std::to_string(::getpid());
    auto* main = new gui::frmMain(gui::StartOptions{std::chrono::milliseconds(0), {}, key, [] {}});
    ASSERT_TRUE(main->Form_Load());
    main->ShowReportOpened(Report().CRF_Path);
    for (int i = 0; i < 15; ++i) main->tmrMain_Timer();
    main->show();
    Open()->show();
    QApplication::processEvents();
    const QString dir = QDir(VT_BUILD_DIR).filePath("screenshots");
    QDir().mkpath(dir);
    EXPECT_TRUE(main->grab().save(QDir(dir).filePath("frmMain.png")));
}

}  // namespace
}  // namespace vt::test
