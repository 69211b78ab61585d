// What the editors of B-1, B-2 and C share: each opens from its viewer's Open
// Edit and from its neighbours' arrows, whose tooltips name the neighbours;
// and a picture of each for a person to look at.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTest>

#include "editors/edit_form.h"
#include "engine/general/b1.h"
#include "engine/general/b2.h"
#include "engine/general/c.h"
#include "shell/forms.h"
#include "shell/headings.h"
#include "shell/worksheet_windows.h"
#include "store/services.h"
#include "tests/editors/editor_test.h"
#include "tests/gui_support/gui_test.h"
#include "viewers/view_form.h"

namespace vt::test {
namespace {

class SheetEditors : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        const std::pair<const char*, void (*)()> tables[] = {
            {"B1", Build_B1}, {"B2p1", Build_B2p1}, {"B2p2", Build_B2p2}, {"B2p3", Build_B2p3}, {"C", Build_C}};
        for (const auto& [table, build] : tables)
            if (!Table_Exists(table)) build();
        RegisterAllWorksheets();
    }
};

const struct {
    const char* code;
    const char* previousCode;
    const char* previous;  // tooltips of the arrows
    const char* next;
} kEditors[] = {
    {"B1", "B", "Open B For Edit", "Open B-2  Part-1 For Edit"},
    {"B2p1", "B1", "Open B-1 For Edit", "Open B-2  Part-2 For Edit"},
    {"B2p2", "B2p1", "Open B-2  Part-1 For Edit", "Open B-2  Part-3 For Edit"},
    {"B2p3", "B2p2", "Open B-2  Part-2 For Edit", "Open C For Edit"},
    {"C", "B2p3", "Open B-2  Part-3 For Edit", "Open D  Part-A For Edit"},
};

TEST_F(SheetEditors, EachOpensFromItsViewerAndItsNeighboursArrowsAndIsPictured) {
    gui::Install_Heading_Measurer(nullptr);
    db().Execute("INSERT INTO B1 (SeqNum, Explanation, Code, UpCCNum, UpCCName, UpAmount, DnCCNum, DnCCName, DnAmount) "
                 "VALUES (1, 'Rent of the records store', 'A', 2, ?, 12000, 1, ?, 12000)",
                 {Value(Get_CC_Name(Value(2))), Value(Get_CC_Name(Value(1)))});
    db().Execute("UPDATE B2p1 SET BegBalance = CCur(SeqNum * 150000), Purchases = 2500 WHERE SeqNum < 7");
    db().Execute("INSERT INTO C (LineNum, Description, Basis, Amount, CCNum, CCName) VALUES (13.01, 'Lobbying', 'A', "
                 "-4200, 1, ?)",
                 {Value(Get_CC_Name(Value(1)))});
    const QString dir = QDir(VT_BUILD_DIR).filePath("screenshots");
    QDir().mkpath(dir);
    for (const auto& s : kEditors) {
        SCOPED_TRACE(s.code);
        const std::string code = s.code;
        auto* viewer = OpenSheet<gui::ViewForm>("view", code);
        ASSERT_TRUE(viewer);
        QTest::mouseClick(viewer->cmdOpenEdit, Qt::LeftButton);
        QWidget* w = nullptr;
        ASSERT_TRUE(gui::Is_Form_Loaded("frmEdit" + code, &w));
        auto* e = dynamic_cast<gui::EditForm*>(w);
        ASSERT_TRUE(e);
        EXPECT_EQ(e->Caption(), "Edit Worksheet " + code);
        EXPECT_EQ(e->cmdPrevious->toolTip().toStdString(), s.previous);
        EXPECT_EQ(e->cmdNext->toolTip().toStdString(), s.next);
        QApplication::processEvents();
        EXPECT_TRUE(e->grab().save(QDir(dir).filePath(QString::fromStdString("frmEdit" + code + ".png"))));
        QTest::mouseClick(e->cmdPrevious, Qt::LeftButton);
        Settle();
        EXPECT_TRUE(gui::Is_Form_Loaded(std::string("frmEdit") + s.previousCode));
        UnloadAllForms();
        Settle();
    }
}

}  // namespace
}  // namespace vt::test
