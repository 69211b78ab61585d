// The windows of the commands over the worksheets: the rebuild dialog, the
// selective-print window in its parent, and the Open menus the catalogue
// makes.
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "shell/forms.h"
#include "shell/frmReBuild_A_Worksheet.h"
#include "shell/frmSelectivePrints.h"
#include "store/report.h"
#include "tests/shell/dialog_fixture.h"
#include "tests/support/db_checks.h"

namespace vt::test {
namespace {

using Names = std::vector<std::string>;

template <class W>
W* Loaded(const char* name) {
    QWidget* w = nullptr;
    return gui::Is_Form_Loaded(name, &w) ? dynamic_cast<W*>(w) : nullptr;
}

class CommandWindows : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        MakeReport("TEST.CRF");
    }

    gui::frmReBuild_A_Worksheet* OpenRebuild() {
        Action("mnuReportUtilitiesReBuild")->trigger();
        return Loaded<gui::frmReBuild_A_Worksheet>("frmReBuild_A_Worksheet");
    }
    static void Choose(gui::frmReBuild_A_Worksheet& d, const std::string& code) {
        const int i = d.cboReBuild->findText(QString::fromStdString("Worksheet " + code));
        ASSERT_GE(i, 0) << code;
        d.cboReBuild->setCurrentIndex(i);
        emit d.cboReBuild->activated(i);
    }
    gui::frmSelectivePrints* OpenPrints() {
        Action("mnuReportPrintSelect")->trigger();
        return Loaded<gui::frmSelectivePrints>("frmSelectivePrints");
    }
    static void Tick(gui::frmSelectivePrints& w, const char* entry) {
        const auto found = w.lbWorksheets->findItems(entry, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << entry;
        found[0]->setSelected(true);
    }
    static int Ticked(const gui::frmSelectivePrints& w) { return static_cast<int>(w.lbWorksheets->selectedItems().size()); }
};

TEST_F(CommandWindows, RebuildAsksTwiceClosesTheSheetsWindowsAndRebuilds) {
    auto* d = OpenRebuild();
    ASSERT_TRUE(d);
    EXPECT_EQ(d->windowTitle(), "ReBuild A Worksheet");
    QStringList entries;
    for (int i = 0; i < d->cboReBuild->count(); ++i) entries << d->cboReBuild->itemText(i).mid(10);
    EXPECT_EQ(entries.join(" "), "Ap1 Ap3 Ap4 Ap5 B B1 B2p1 B2p2 B2p3 C DpA DpB DpC E E1 Fp1 Fp2 F1p1 F1p2 Gp1 Gp2 H I J");
    EXPECT_EQ(d->cboReBuild->itemText(0), "Worksheet Ap1");
    EXPECT_TRUE(!d->cmdExecute->isEnabled() && d->fraConfirm->isHidden());

    Db().Execute("UPDATE B SET Expenses = 5 WHERE LineNum = 1;");
    Action("mnuViewOpenB")->trigger();
    ASSERT_TRUE(gui::Is_Form_Loaded("frmViewB"));
    Choose(*d, "B");
    EXPECT_EQ(d->SheetCode, "B");
    ASSERT_TRUE(d->cmdExecute->isEnabled());

    // The first press only warns, and leaves Enter on Cancel.
    QTest::mouseClick(d->cmdExecute, Qt::LeftButton);
    EXPECT_EQ(ui.script.Beeps(), 1);
    EXPECT_TRUE(!d->cboReBuild->isEnabled() && !d->fraConfirm->isHidden() && gui::Is_Form_Loaded("frmViewB"));
    EXPECT_EQ(d->focusWidget(), d->cmdCancel);
    EXPECT_EQ(Rows("SELECT Expenses FROM B WHERE LineNum = 1"), Table{{"5"}});

    ui.script.ExpectMessage();
    QTest::mouseClick(d->cmdExecute, Qt::LeftButton);
    EXPECT_EQ(ui.script.Prompts(), Names{"Worksheet \"B\" has been successfully rebuilt."});
    EXPECT_FALSE(gui::Is_Form_Loaded("frmViewB"));
    EXPECT_EQ(Rows("SELECT Expenses FROM B WHERE LineNum = 1"), Table{{"0"}});
    EXPECT_TRUE(d->fraConfirm->isHidden() && d->cboReBuild->isEnabled());

    // Cancel after a first press changes nothing and closes the dialog.
    Db().Execute("UPDATE B SET Expenses = 7 WHERE LineNum = 1;");
    QTest::mouseClick(d->cmdExecute, Qt::LeftButton);
    QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
    EXPECT_FALSE(gui::Is_Form_Loaded("frmReBuild_A_Worksheet"));
    EXPECT_EQ(Rows("SELECT Expenses FROM B WHERE LineNum = 1"), Table{{"7"}});
    EXPECT_EQ(ui.script.Messages().size(), 1u);
}

TEST_F(CommandWindows, ChosenSheetsPrintInListOrderAndTheWindowStaysUsable) {
    auto* w = OpenPrints();
    ASSERT_TRUE(w);
    auto* parent = Loaded<gui::frmImportMDI>("frmImportMDI");
    ASSERT_TRUE(parent);
    EXPECT_EQ(parent->windowTitle() + "/" + w->windowTitle(), "Print Worksheets/Select Worksheets To Be Printed");
    QStringList entries;
    for (int i = 0; i < w->lbWorksheets->count(); ++i) entries << w->lbWorksheets->item(i)->text();
    EXPECT_EQ(entries.join(", "), "A (A), B (B), B-1 (B1), B-2 (B2), C (C), D (D), E (E), E-1 (E1), F (F), F-1 (F1), "
                                  "G (G), H (H), I (I), J (J)");
    EXPECT_EQ(Ticked(*w), 0);

    Tick(*w, "G (G)");
    Tick(*w, "B-2 (B2)");
    QTest::mouseClick(w->cmdPrint, Qt::LeftButton);
    EXPECT_EQ(printer.documents, (Names{PathOf("B2.prt"), PathOf("G.prt")}));

    EXPECT_EQ(Report().Message_Mode, "");
    EXPECT_TRUE(w->isEnabled() && !ui.script.Busy());

    QTest::mouseClick(w->cmdSelectAll, Qt::LeftButton);
    EXPECT_EQ(Ticked(*w), 14);
    EXPECT_EQ(w->lbWorksheets->currentRow(), 0);
    QTest::mouseClick(w->cmdClearAll, Qt::LeftButton);
    EXPECT_EQ(Ticked(*w), 0);
    QTest::mouseClick(w->cmdPrint, Qt::LeftButton);
    EXPECT_EQ(printer.documents.size(), 2u);
}

// The parent closes half a second after its child; a child opened again in
// the meantime keeps it, and closes as any other.
TEST_F(CommandWindows, ThePrintWindowAlwaysClosesAndItsParentFollows) {
    auto* w = OpenPrints();
    ASSERT_TRUE(w);
    QPointer<gui::frmImportMDI> parent = Loaded<gui::frmImportMDI>("frmImportMDI");
    ASSERT_TRUE(parent);
    EXPECT_TRUE(w->close());
    EXPECT_TRUE(parent->tmrMDIClose->isActive() && parent->tmrMDIClose->interval() == 500);

    w = OpenPrints();
    ASSERT_TRUE(w);
    EXPECT_EQ(Loaded<gui::frmImportMDI>("frmImportMDI"), parent.data());
    EXPECT_FALSE(parent->tmrMDIClose->isActive());
    EXPECT_TRUE(w->close());
    EXPECT_FALSE(gui::Is_Form_Loaded("frmSelectivePrints"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return parent.isNull(); }, 2000));
}

// The Open menus as designed: captions and item names, groups in braces.
std::string Describe(QMenu* menu) {
    std::string out;
    for (QAction* a : menu->actions()) {
        if (!out.empty()) out += " ";
        out += a->text().toStdString() + "=" + a->objectName().toStdString();
        if (a->menu()) out += "{" + Describe(a->menu()) + "}";
    }
    return out;
}

TEST_F(CommandWindows, TheOpenMenusListTheWorksheetsAsDesigned) {
    EXPECT_EQ(Describe(main->mnuViewOpen),
              "A=mnuViewOpenA{A Part I=mnuViewOpenAp1 A Part III=mnuViewOpenAp3 A Part IV=mnuViewOpenAp4 "
              "A Part V=mnuViewOpenAp5} B=mnuViewOpenB B-1=mnuViewOpenB1 B-2=mnuViewOpenB2{B-2 Part I=mnuViewOpenB2p1 "
              "B-2 Part II=mnuViewOpenB2p2 B-2 Part III=mnuViewOpenB2p3} C=mnuViewOpenC Cost Centers=mnuViewOpenCCs "
              "D=mnuViewOpenD{D Part A=mnuViewOpenDpA D Part B=mnuViewOpenDpb D Part C=mnuViewOpenDpC} E=mnuViewOpenE "
              "E-1=mnuViewOpenE1 F=mnuViewOpenF{F Part I=mnuViewOpenFp1 F Part II=mnuViewOpenFp2} "
              "F-1=mnuViewOpenF1{F-1 Part I=mnuViewOpenF1p1 F-1 Part II=mnuViewOpenF1p2} "
              "G=mnuViewOpenG{G Part I=mnuViewOpenGp1 G Part II=mnuViewOpenGp2} H=mnuViewOpenH I=mnuViewOpenI "
              "J=mnuViewOpenJ Edit Checks=mnuViewOpenEditChecks");
    EXPECT_EQ(Describe(main->mnuEditOpen),
              "A=mnuEditOpenA{A Part I=mnuEditOpenAp1 A Part III=mnuEditOpenAp3 A Part IV=mnuEditOpenAp4 "
              "A Part V=mnuEditOpenAp5} B=mnuEditOpenB B-1=mnuEditOpenB1 B2=mnuEditOpenB2{B-2 Part I=mnuEditOpenB2p1 "
              "B-2 Part II=mnuEditOpenB2p2 B-2 Part III=mnuEditOpenB2p3} C=mnuEditOpenC Cost Centers=mnuEditOpenCCs "
              "D=mnuEditOpenD{D Part A=mnuEditOpenDpA D Part B=mnuEditOpenDpB D Part C=mnuEditOpenDpC} E=mnuEditOpenE "
              "E1=mnuEditOpenE1 F Part II=mnuEditOpenFp2 F-1 Part II=mnuEditOpenF1p2 "
              "G=mnuEditOpenG{G Part I=mnuEditOpenGp1 G Part II=mnuEditOpenGp2} I=mnuEditOpenI J=mnuEditOpenJ");
}

}  // namespace
}  // namespace vt::test
