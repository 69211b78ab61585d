// The cost-centre windows on a real report, driven as a user clicks, the
// dialogs answered while they are shown, and what the other open windows show.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QTest>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTimer>

#include <functional>
#include <stdexcept>

#include "costcentres/frmAddCC.h"
#include "costcentres/frmEditCCs.h"
#include "costcentres/frmSelectCC.h"
#include "costcentres/frmViewCCs.h"
#include "editors/chain_edit_form.h"
#include "engine/chain/component_sheet.h"
#include "engine/general/d.h"
#include "store/services.h"
#include "shell/forms.h"
#include "shell/frmMain.h"
#include "shell/worksheet_windows.h"
#include "tests/gui_support/gui_test.h"
#include "tests/support/db_checks.h"

namespace vt::test {
namespace {

using gui::frmAddCC;
using gui::frmEditCCs;

Value N(double n) { return Value(Currency::FromDouble(n)); }

// Answers the next modal dialog of that type once it shows; it must end it.
template <class Dialog>
void WhenShown(const std::function<void(Dialog&)>& drive) {
    QTimer::singleShot(0, [drive] {
        auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(d) << "no dialog shown";
        drive(*d);
        EXPECT_FALSE(d->isVisible());
        if (d->isVisible()) d->reject();
    });
}

void Click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }

void Picture(QWidget* w, const char* name) {
    const QString dir = QDir(VT_BUILD_DIR).filePath("screenshots");
    QDir().mkpath(dir);
    QApplication::processEvents();
    EXPECT_TRUE(w->grab().save(QDir(dir).filePath(QString(name) + ".png")));
}

// Each test starts with the editor opened from the main window's Edit menu.
class CcWindows : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        main = new gui::frmMain();
        main->findChild<QAction*>("mnuEditOpenCCs")->trigger();
        e = static_cast<frmEditCCs*>(Loaded("frmEditCCs"));
        ASSERT_TRUE(e);
    }
    void TearDown() override {
        SetCCStepHook(nullptr);
        gui::SetCCChooser(nullptr);
        WindowTest::TearDown();
    }
    static gui::WorksheetWindow* Loaded(const std::string& name) {
        QWidget* w = nullptr;
        return gui::Is_Form_Loaded(name, &w) ? dynamic_cast<gui::WorksheetWindow*>(w) : nullptr;
    }
    static gui::WorksheetWindow* Open(const std::string& mode, const std::string& code) {
        gui::Open_Worksheet_Form(mode, code);
        return Loaded((mode == "edit" ? "frmEdit" : "frmView") + code);
    }
    static int RowOf(gui::WorksheetWindow* w, double n) {
        return w->grd->Data().FindFirst("CCNum", db::FindOp::Eq, N(n));
    }
    static std::string Name(gui::WorksheetWindow* w, double n) {
        return w->grd->Data().FieldValue(RowOf(w, n), "CCName").ToText();
    }
    // Add on the row of `at`, the dialog answered by `drive`.
    void Add(double at, const std::function<void(frmAddCC&)>& drive) {
        e->grd->SetRow(RowOf(e, at));
        WhenShown(drive);
        Click(e->cmdAdd);
    }
    void Delete(double n) { e->grd->SetRow(RowOf(e, n)), Click(e->cmdDelete); }
    Table Sheets() {
        return Rows("SELECT 'CC', LineNum, CCNum, CCName FROM CostCenters UNION ALL SELECT 'B', LineNum, CCNum, CCName "
                    "FROM B UNION ALL SELECT 'J', LineNum, CCNum, CCName FROM J ORDER BY 1, 3;");
    }
    gui::frmMain* main = nullptr;
    frmEditCCs* e = nullptr;
};

TEST_F(CcWindows, TheMenusOpenTheEditorWithItsLocksAndTheViewerThatTakesNoTyping) {
    main->findChild<QAction*>("mnuViewOpenCCs")->trigger();
    auto* v = static_cast<gui::frmViewCCs*>(Loaded("frmViewCCs"));
    ASSERT_TRUE(v);
    EXPECT_EQ(e->Caption() + "|" + v->Caption(), "Edit Worksheet Cost Centers|View Worksheet CCs");
    for (int c = 0; c < 6; ++c) EXPECT_TRUE(v->grd->CellLocked(RowOf(v, 32), c)) << c;
    const struct { double n; bool nameOpen, labelsOpen, deletable; } rows[] = {
        {12, false, true, true}, {32, true, true, true}, {5, false, true, false},
        {205, true, false, false}, {212, false, false, false}};
    for (const auto& r : rows) {
        const int row = RowOf(e, r.n);
        EXPECT_TRUE(e->grd->CellLocked(row, 1)) << r.n;
        EXPECT_EQ(e->grd->CellLocked(row, 2), !r.nameOpen) << r.n;
        EXPECT_EQ(e->grd->CellLocked(row, 4), !r.labelsOpen) << r.n;
        e->grd->SetRow(row);
        EXPECT_EQ(e->cmdDelete->isEnabled(), r.deletable) << r.n;
    }
    EXPECT_FALSE(e->cmdNext->isEnabled() || v->cmdPrint->isEnabled());
    Picture(e, "frmEditCCs"), Picture(v, "frmViewCCs");
}

TEST_F(CcWindows, AnAddedCostCentreShowsInBJAndThePickerAndItsDeleteClosesItsColumnsWindows) {
    const Table before = Sheets();
    auto* b = Open("view", "B");
    auto* j = Open("view", "J");
    Add(12, [](frmAddCC& d) {
        EXPECT_EQ(d.cmdButton[0]->text().toStdString(), "Add new Cost Center number 12.01");
        EXPECT_FALSE(d.cmdButton[1]->isEnabled() || d.cmdDelList->isEnabled());  // 13 is taken, none deleted
        Picture(&d, "frmAddCC");
        // Every caption whole, with the style's margin clear on either side.
        for (QPushButton* b : {d.cmdButton[0], d.cmdButton[1], d.cmdDelList, d.cmdCancel}) {
            QStyleOptionButton o;
            o.initFrom(b);
            const int margin = b->style()->pixelMetric(QStyle::PM_ButtonMargin, &o, b);
            EXPECT_GE(b->style()->subElementRect(QStyle::SE_PushButtonContents, &o, b).width(),
                      b->fontMetrics().horizontalAdvance(b->text()) + 2 * margin)
                << b->text().toStdString();
        }
        Click(d.cmdButton[0]);
    });
    EXPECT_TRUE(e->Current("CCNum") == N(12.01) && e->grd->EditActive());  // waiting for its name
    EXPECT_GE(RowOf(b, 12.01), 0);
    Add(212, [](frmAddCC& d) { Click(d.cmdButton[0]); });
    EXPECT_GE(RowOf(j, 212.01), 0);

    // E-1's Add Column asks the picker, which lists the new cost centre.
    gui::SetCCChooser(gui::SelectCC);
    auto* e1 = static_cast<gui::EditForm*>(Open("edit", "E1"));
    WhenShown<gui::frmSelectCC>([](gui::frmSelectCC& d) {
        const auto found = d.CcList->findItems("12.01  -  ", Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        EXPECT_FALSE(d.cmdOk->isEnabled());
        d.CcList->setCurrentItem(found[0]);
        Picture(&d, "frmSelectCC");
        Click(d.cmdOk);
    });
    Click(e1->cmdAdd);
    EXPECT_EQ(Rows("SELECT Col_1 FROM E1 WHERE SeqNum = 0;"), (Table{{"12.01"}}));

    ASSERT_TRUE(Open("view", "E1"));
    Delete(12.01);
    EXPECT_FALSE(Loaded("frmViewE1") || Loaded("frmEditE1"));
    EXPECT_EQ(e->Current("CCNum"), N(12));
    Delete(212.01);
    EXPECT_TRUE(RowOf(b, 12.01) < 0 && RowOf(j, 212.01) < 0);
    EXPECT_EQ(Sheets(), before);
}

TEST_F(CcWindows, ARenameShowsInTheOpenViewersAndARefusedNameOrAFailedDeleteChangesNothing) {
    auto* b = Open("view", "B");
    auto* j = Open("view", "J");
    EXPECT_TRUE(e->grd->TypeIntoCell(RowOf(e, 32), 2, "Consulting Fees"));
    EXPECT_EQ(Name(b, 32), "Consulting Fees");
    EXPECT_TRUE(e->grd->TypeIntoCell(RowOf(e, 205), 2, "Due from Partners"));
    EXPECT_EQ(Name(j, 205), "Due from Partners");

    const Table before = Sheets();
    ui.ExpectMessage();
    EXPECT_FALSE(e->grd->TypeIntoCell(RowOf(e, 205), 2, Name(e, 5)));
    EXPECT_EQ(Name(e, 205), "Due from Partners");
    SetCCStepHook([](const std::string& step) {
        if (step == "Worksheet B") throw std::runtime_error("disk full");
    });
    ui.ExpectMessage();
    Delete(32);
    ASSERT_EQ(ui.Prompts().size(), 2u);
    EXPECT_EQ(ui.Prompts()[0], "This cost center name has already been used, please enter a unique cost center title.");
    EXPECT_NE(ui.Prompts()[1].find("Worksheet B could not be changed (disk full)"), std::string::npos);
    EXPECT_EQ(Sheets(), before);
    EXPECT_TRUE(RowOf(e, 32) >= 0 && RowOf(b, 32) >= 0);
}

// The list stores a name without the blanks around it, so every sheet takes it whole.
TEST_F(CcWindows, ANameIsStoredWithoutItsBlanksEverywhere) {
    const std::string name = "Consulting and Other Outside Services";  // 37 characters
    auto* b = Open("view", "B");
    EXPECT_TRUE(e->grd->TypeIntoCell(RowOf(e, 32), 2, "      " + name + "      "));
    EXPECT_EQ(Rows("SELECT CCName FROM CostCenters WHERE CCNum = 32 UNION ALL SELECT CCName FROM B WHERE CCNum = 32;"),
              (Table{{name}, {name}}));
    EXPECT_EQ(Name(e, 32) + "|" + Name(b, 32), name + "|" + name);
    auto* b1 = Open("edit", "B1");
    db().Execute("INSERT INTO B1 (SeqNum, UpAmount, DnAmount) VALUES (1, 0, 0);");
    b1->SetGrd();
    EXPECT_TRUE(b1->grd->TypeIntoCell(0, 4, "32"));
    EXPECT_EQ(Rows("SELECT UpCCName FROM B1 WHERE SeqNum = 1;"), (Table{{name}}));
}

// Deleting a cost centre that carries figures or lines asks first; No keeps everything.
TEST_F(CcWindows, DeletingACostCentreThatCarriesFiguresAsksFirst) {
    if (!Table_Exists("DpB")) Build_DpB();
    struct Case {
        const char* what;
        std::function<void()> give;
        std::string places;
    };
    const std::vector<Case> cases = {
        {"B's amount", [&] { db().Execute("UPDATE B SET Expenses = 1500 WHERE CCNum = 32;"); }, "Worksheet B"},
        {"lines",
         [&] {
             db().Execute("INSERT INTO B1 (SeqNum, UpCCNum, UpAmount, DnAmount) VALUES (1, 32, 5, 0);");
             db().Execute("INSERT INTO C (LineNum, CCNum, Amount) VALUES (22, 32, 0);");
             db().Execute("INSERT INTO DpB (SeqNum, LineNum, Amount) VALUES (1, 32, 0);");
         },
         "Worksheet B, Worksheet B-1, Worksheet C and Worksheet D Part B"},
        {"an E-1 column's figure",
         [&] {
             for (const char* undo : {"DELETE FROM B1;", "DELETE FROM C WHERE LineNum = 22;",
                                      "DELETE FROM DpB WHERE SeqNum = 1;", "UPDATE B SET Expenses = 0 WHERE CCNum = 32;"})
                 db().Execute(undo);
             AddChosenCCColumn("E1", Currency::FromInt(32));
             db().Execute("UPDATE E1 SET " + db().Fields("E1")[4].name + " = 7 WHERE SeqNum > 0;");
         },
         "Worksheet E-1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.give();
        const auto held = All_Tables();
        ui.ClearRecords();
        ui.ExpectMessage(ui::kNo);
        Delete(32);
        ASSERT_EQ(ui.Messages().size(), 1u);
        EXPECT_EQ(ui.Messages()[0].prompt, "Cost center 32 carries amounts or lines in " + c.places +
                                               ". Deleting it removes them; restoring it brings back only its "
                                               "name.\n\nDelete cost center 32?");
        EXPECT_EQ(ui.Messages()[0].style, ui::kYesNo | ui::kQuestion | ui::kDefaultButton2);
        EXPECT_EQ(All_Tables(), held);
        EXPECT_GE(RowOf(e, 32), 0);
    }
    // Yes deletes; a cost centre that carries nothing goes without a question.
    ui.ClearRecords();
    ui.ExpectMessage(ui::kYes);
    Delete(32);
    EXPECT_LT(RowOf(e, 32), 0);
    Delete(31);
    EXPECT_EQ(ui.Messages().size(), 1u);
    EXPECT_LT(RowOf(e, 31), 0);
}

// The columns the delete removes with the cost centre ask too: E's amounts,
// F Part II's statistics and its cost to be allocated; a figure only in the
// calculated rows (a stale total) asks nothing.
TEST_F(CcWindows, DeletingACostCentreWithFiguresInItsEOrFColumnsAsksFirst) {
    const auto field = [&](const std::string& sheet, double cc) {
        const auto fields = db().Fields(sheet);
        for (size_t i = 3; i < fields.size(); ++i)
            if (Nz_Num(db().Scalar("SELECT " + fields[i].name + " FROM " + sheet + " WHERE SeqNum = 0;")).ToDouble() ==
                cc)
                return fields[i].name;
        ADD_FAILURE() << sheet << " has no column " << cc;
        return std::string("Col_1");
    };
    const struct {
        double cc;
        const char* sheet;
        double row;
        const char* places;  // "" for no question
    } cases[] = {
        {7, "E", 27, "Worksheet E"},
        {2.01, "Fp2", 27, "Worksheet E and Worksheet F Part II"},  // and 5 in its E column
        {2, "Fp2", 35, "Worksheet F Part II"},
        {8, "E", 34, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cc);
        db().Execute("UPDATE " + std::string(c.sheet) + " SET " + field(c.sheet, c.cc) + " = 12345 WHERE SeqNum = ?;",
                     {Value(c.row)});
        if (c.cc == 2.01) db().Execute("UPDATE E SET " + field("E", 2.01) + " = 5 WHERE SeqNum = 27;");
        const auto held = All_Tables();
        ui.ClearRecords();
        if (*c.places) ui.ExpectMessage(ui::kNo);
        Delete(c.cc);
        if (!*c.places) {
            EXPECT_TRUE(ui.Messages().empty());
            EXPECT_LT(RowOf(e, c.cc), 0);
            continue;
        }
        EXPECT_EQ(ui.Prompts(), std::vector<std::string>{"Cost center " + Currency::FromDouble(c.cc).ToText() +
                                                         " carries amounts or lines in " + c.places +
                                                         ". Deleting it removes them; restoring it brings back "
                                                         "only its name.\n\nDelete cost center " +
                                                         Currency::FromDouble(c.cc).ToText() + "?"});
        EXPECT_EQ(All_Tables(), held);
        EXPECT_GE(RowOf(e, c.cc), 0);
    }
}

TEST_F(CcWindows, TheDialogOffersNoJTotalLineAndBringsBackADeletedCostCentre) {
    const Table before = Sheets();
    Add(209, [](frmAddCC& d) {
        EXPECT_EQ(d.cmdButton[1]->text().toStdString(), "Add new Cost Center number 210");
        EXPECT_TRUE(d.cmdButton[0]->isEnabled() && !d.cmdButton[1]->isEnabled());
        Click(d.cmdCancel);
    });
    // At 265 neither 265.01 nor 266 would have a J line: nothing to offer.
    e->grd->SetRow(RowOf(e, 265));
    ui.ExpectMessage();
    Click(e->cmdAdd);
    EXPECT_EQ(ui.Prompts(), std::vector<std::string>{"New cost centers cannot be added at this position."});
    EXPECT_EQ(Sheets(), before);

    Delete(32);
    for (bool choose : {false, true}) {
        Add(31, [choose](frmAddCC& d) {
            WhenShown<gui::frmDeletedCCs>([choose](gui::frmDeletedCCs& list) {
                ASSERT_EQ(list.CcList->count(), 1);
                EXPECT_FALSE(list.cmdOk->isEnabled());
                list.CcList->setCurrentRow(0);
                Picture(&list, "frmDeletedCCs");
                Click(choose ? list.cmdOk : list.cmdCancel);
            });
            Click(d.cmdDelList);
        });
        EXPECT_EQ(RowOf(e, 32) >= 0, choose);
    }
    EXPECT_EQ(e->Current("CCNum"), N(32));
    EXPECT_EQ(Sheets(), before);
}

}  // namespace
}  // namespace vt::test
