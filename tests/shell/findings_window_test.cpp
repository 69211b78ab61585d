// The findings window: the findings of the latest run every time the checks
// bring it up, its print, and rows as high as the longest message needs.
#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <QTest>

#include "platform/ui/twips_qt.h"
#include "shell/forms.h"
#include "shell/frmViewError.h"
#include "store/report.h"
#include "store/services.h"
#include "tests/shell/dialog_fixture.h"

namespace vt::test {
namespace {

using ui::Px;

class FindingsWindow : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        MakeReport("FW.CRF");
    }
    std::vector<std::string> Messages() const {
        std::vector<std::string> out;
        auto& data = Findings()->grdError->Data();
        for (int r = 0; r < data.RecordCount(); ++r) out.push_back(Nz_Str(data.FieldValue(r, 1)).ToText());
        return out;
    }
};

TEST_F(FindingsWindow, EveryRunShowsItsOwnFindingsInTheWindowAlreadyOpen) {
    Db().Execute("UPDATE DpA SET Answer = 'Yes'");
    Action("mnuReportCalculate")->trigger();
    gui::frmViewError* view = Findings();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Messages(), (std::vector<std::string>{
                              "Worksheet D Part B: This worksheet must be completed when the answer to Worksheet D "
                              "Part A is Yes",
                              "Worksheet D Part C: This worksheet must be completed when the answer to Worksheet D "
                              "Part A is Yes"}));
    QTest::mouseClick(view->cmdPrint, Qt::LeftButton);
    EXPECT_EQ(printer.documents, std::vector{PathOf("CalcErrors.prt")});

    Db().Execute("UPDATE DpA SET Answer = 'No'");
    Action("mnuReportCalculate")->trigger();
    EXPECT_EQ(Findings(), view) << "one findings window";
    EXPECT_EQ(Messages(), std::vector<std::string>{"No errors found"});

    // Edit Checks brings up what table Error holds now, also rows logged
    // there by other work.
    Db().Execute("INSERT INTO Error (Level, Message) VALUES (Null, 'Logged while printing')");
    Action("mnuViewOpenEditChecks")->trigger();
    EXPECT_EQ(Messages(), (std::vector<std::string>{"No errors found", "Logged while printing"}));

    Action("mnuViewCloseAll")->trigger();
    EXPECT_EQ(Findings(), nullptr);
}

TEST_F(FindingsWindow, RowsAreAsHighAsTheLongestMessageNeedsAtTheWindowsWidth) {
    Db().Execute("CREATE TABLE Error (Level TEXT, Message TEXT)");
    Db().Execute("INSERT INTO Error (Level, Message) VALUES ('Warning', ?)", {Value(std::string(200, 'x'))});
    Action("mnuViewOpenEditChecks")->trigger();
    gui::frmViewError* view = Findings();
    ASSERT_NE(view, nullptr);
    grid::Grid& grd = *view->grdError;
    EXPECT_EQ(grd.Columns(0).Width(), 1400);

    // 1400 for the level, 265 beside: a message column of 2700 twips holds
    // 30 characters a line, and 200 characters want 200/30 + 1 = 7.67 lines.
    view->resize(Px(1400 + 265 + 2700), Px(5000));
    EXPECT_EQ(std::tuple(grd.Columns(1).Width(), view->CharsPerLine(), view->LinesPerRow()), std::tuple(2700, 30, 8));
    EXPECT_DOUBLE_EQ(grd.RowHeight(), grid::Grid().RowHeight() * 8);
    const QRect print = view->cmdPrint->geometry(), close = view->cmdClose->geometry();
    EXPECT_EQ(std::tuple(print.width(), print.left(), close.left()),
              std::tuple(close.width(), Px(500), Px(500) + print.width() + Px(500)));

    // Narrower, the column keeps its 2700; wider, the rows need fewer lines.
    view->resize(Px(2000), Px(5000));
    EXPECT_EQ(grd.Columns(1).Width(), 2700);
    view->resize(Px(1400 + 265 + 9000), Px(5000));
    EXPECT_EQ(std::pair(view->CharsPerLine(), view->LinesPerRow()), std::pair(100, 3));

    // A short finding still gets two lines.
    Db().Execute("DELETE FROM Error");
    Db().Execute("INSERT INTO Error (Level, Message) VALUES ('Warning', 'Short')");
    Action("mnuViewOpenEditChecks")->trigger();
    EXPECT_EQ(view->LinesPerRow(), 2);
}

}  // namespace
}  // namespace vt::test
