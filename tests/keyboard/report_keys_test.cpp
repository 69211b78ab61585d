// A report keyed from paper, window by window, with the keyboard alone but
// for the clicks a clerk makes on Add: A Parts I, III and IV, B, B-1, C,
// F Part II's statistics, E-1 with a column added, G Part I. Every typed
// value must land in the row and field where it was typed, and no other row
// may change: the tables are compared whole with what the keys should make.
#include <QPushButton>

#include "editors/chain_edit_form.h"
#include "editors/frmEditAp1.h"
#include "engine/general/b.h"
#include "engine/general/b1.h"
#include "engine/general/c.h"
#include "tests/keyboard/keyboard_test.h"

namespace vt::test {
namespace {

using Cell = std::pair<std::string, int>;

class ReportKeys : public KeyboardTest {
protected:
    void SetUp() override {
        KeyboardTest::SetUp();
        RegisterAllWorksheets();
    }
    void TearDown() override {
        gui::Set_CC_Chooser(nullptr);
        KeyboardTest::TearDown();
    }
    static Table Without(Table t, const std::string& key) {
        std::erase_if(t, [&](const std::vector<std::string>& row) { return row[0] == key; });
        return t;
    }
};

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
    auto* e = Show<gui::ChainEditForm>("E1");
    // Every button inside the window, below the grid, on first show.
    for (QPushButton* b : {e->cmdPrevious, e->cmdAdd, e->cmdDelete, e->cmdOpenView, e->cmdRecalculate, e->cmdClose,
                           e->cmdNext}) {
        const QRect place(b->mapTo(e, QPoint(0, 0)), b->size());
        EXPECT_TRUE(e->rect().contains(place)) << b->objectName().toStdString();
        EXPECT_FALSE(place.intersects(e->grd->geometry())) << b->objectName().toStdString();
        EXPECT_TRUE(b->isVisible()) << b->objectName().toStdString();
    }
    const double cc = db().Scalar("SELECT MIN(CCNum) FROM CostCenters WHERE CCNum >= 4 AND CCNum < 200").ToDouble();
    gui::Set_CC_Chooser([cc](const std::string&) { return std::optional(Currency::FromDouble(cc)); });
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

}  // namespace
}  // namespace vt::test
