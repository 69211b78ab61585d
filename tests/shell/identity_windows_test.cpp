// The provider-information dialog and the header-lines window on an open
// report: what they write, where it shows, and what they refuse.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "engine/general/b.h"
#include "shell/forms.h"
#include "shell/frmCRFEditKey.h"
#include "shell/frmCreateNewCRF.h"
#include "shell/frmHeaderLines.h"
#include "shell/version.h"
#include "shell/worksheet_windows.h"
#include "store/report.h"
#include "store/services.h"
#include "tests/shell/dialog_fixture.h"

namespace vt::test {
namespace {

using gui::frmCRFEditKey;

class IdentityWindows : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        MakeReport("ID.CRF");
    }
    std::unique_ptr<frmCRFEditKey> ShowDialog() {
        auto d = std::make_unique<frmCRFEditKey>(main);
        d->show();
        EXPECT_TRUE(WaitActive(d.get()));
        return d;
    }
    static std::string Ap1(std::int64_t scaledSeq) {
        return Nz_Str(Db().Scalar("SELECT Info FROM Ap1 WHERE SeqNum = ?", {Value(Currency::FromScaled(scaledSeq))}))
            .ToText();
    }
    // Save pressed with a refusal expected: nothing written, the buttons
    // back, the focus in the box to fix.
    void SaveRefused(frmCRFEditKey& d, const std::string& title, QLineEdit* back) {
        ui.script.ClearRecords();
        ui.script.ExpectMessage();
        QTest::mouseClick(d.cmdSave, Qt::LeftButton);
        ASSERT_EQ(ui.script.Messages().size(), 1u);
        EXPECT_EQ(ui.script.Messages()[0].title, title);
        EXPECT_EQ(d.focusWidget(), back);
        EXPECT_TRUE(d.isVisible() && d.cmdSave->isEnabled() && d.cmdSaveAs->isEnabled());
        EXPECT_EQ(std::pair(Db().Scalar("SELECT ProviderNumber FROM Master").ToText(), Ap1(10000)),
                  std::pair(std::string("12-3456"), std::string("Test Home Office")));
    }
};

// The window manager cuts a caption the window is too narrow for: the two
// identity dialogs leave room for theirs in bold beside the title bar's icon
// and buttons.
TEST_F(IdentityWindows, TheIdentityDialogsAreWideEnoughForTheirCaptions) {
    const auto fits = [](QWidget& d) {
        QFont bold = d.font();
        bold.setBold(true);
        const QFontMetrics m(bold);
        return d.width() >= m.horizontalAdvance(d.windowTitle()) + 4 * m.height();
    };
    auto d = ShowDialog();
    EXPECT_TRUE(fits(*d)) << d->width();
    QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
    RunNew([&](gui::frmCreateNewCRF& n) {
        EXPECT_TRUE(fits(n)) << n.width();
        QTest::mouseClick(n.cmdCancel, Qt::LeftButton);
    });
}

TEST_F(IdentityWindows, SaveRewritesMasterTheFourLinesAndTheOpenSheetWindows) {
    auto* viewer = new TestSheetWindow("frmViewAp1", "View Worksheet Ap1", "SELECT * FROM Ap1 ORDER BY SeqNum");
    viewer->Form_Load();
    viewer->setGrdCalls = 0;

    auto d = ShowDialog();
    EXPECT_EQ(d->windowTitle(), "Change Provider Information For A Cost Report File [\"CRF\"]");
    EXPECT_EQ((std::vector{d->txtProviderNum->text(), d->txtFYStart->text(), d->txtFYEnd->text(), d->txtFacilityName->text()}),
              (std::vector<QString>{"12-3456", "01/01/2006", "12/31/2006", "Test Home Office"}));

    // This dialog wants the hyphen and four characters, is not normalised on
    // leaving, and tests the cut-off only on Save.
    Type(d->txtProviderNum, "12-345");
    Type(d->txtFYStart, "01/01/2006");
    EXPECT_EQ(d->txtProviderNum->text(), "12-345");
    SaveRefused(*d, "", d->txtProviderNum);
    Type(d->txtProviderNum, "98-7654");
    Type(d->txtFYEnd, "9/29/2005");
    Type(d->txtFYStart, "1/1/2005");
    EXPECT_EQ(d->txtFYEnd->text(), "09/29/2005");
    SaveRefused(*d, "Incorrect Vantrel Version", d->txtFYEnd);
    Type(d->txtFYEnd, "");
    Type(d->txtFYStart, "10/1/2005");
    Type(d->txtFacilityName, std::string(37, 'N'));
    EXPECT_EQ(d->txtFYEnd->text(), "09/30/2006");
    SaveRefused(*d, "Error: Invalid Facility Name", d->txtFacilityName);

    const std::string name = "Changed \xC3\x84rzte Office";  // 20 characters, not bytes
    Type(d->txtFacilityName, name);
    QTest::mouseClick(d->cmdSave, Qt::LeftButton);
    EXPECT_FALSE(d->isVisible() || gui::Is_Form_Loaded("frmCRFEditKey"));

    // What Save writes is the identity operation's, checked with it; here that
    // the dialog hands it what was typed.
    EXPECT_EQ(Db().Scalar("SELECT ProviderName FROM Master").ToText(), name);
    EXPECT_EQ(Ap1(20200), "98-7654");
    EXPECT_EQ(To_Date(Db().Scalar("SELECT FYStart FROM Master")), *DateTime::FromParts(2005, 10, 1));
    EXPECT_GE(viewer->setGrdCalls, 1) << "the open A Part I window shows the new lines";
}

class HeaderLinesWindow : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        MakeReport("HL.CRF");
        if (!Table_Exists("B")) Build_B();
    }
    static std::string Stored(int lineNum) {
        return Nz_Str(Db().Scalar("SELECT Line FROM HeaderLines WHERE LineNum = ?", {Value(lineNum)})).ToText();
    }
    // Prints worksheet B from its viewer: true when a page carries the text.
    bool PrintedWith(const std::string& text) {
        printer.pages.clear();
        gui::Open_Worksheet_Form("view", "B");
        QWidget* viewer = nullptr;
        EXPECT_TRUE(gui::Is_Form_Loaded("frmViewB", &viewer));
        QTest::mouseClick(viewer->findChild<QPushButton*>("cmdPrint"), Qt::LeftButton);
        EXPECT_FALSE(printer.pages.empty());
        for (const auto& page : printer.pages)
            for (const auto& line : page.lines)
                if (line.find(text) != std::string::npos) return true;
        return false;
    }
};

TEST_F(HeaderLinesWindow, EachLineIsStoredAtOnceAndPrintedUnderThePageHeader) {
    QAction* item = Action("mnuHeaderLines");
    EXPECT_TRUE(main->mnuReport->actions().contains(item)) << "an item of the Report File menu itself";
    item->trigger();
    QWidget* w = nullptr;
    ASSERT_TRUE(gui::Is_Form_Loaded("frmHeaderLines", &w));
    auto* form = static_cast<gui::frmHeaderLines*>(w);
    EXPECT_EQ(form->windowTitle(), "Header Lines");
    grid::Grid& grd = *form->grdHeaderLines;
    ASSERT_EQ(grd.Data().RecordCount(), 3);
    EXPECT_TRUE(grd.Columns(0).Locked());
    EXPECT_EQ(grd.Col(), 1);

    const std::string sixty = "Prepared for the Home Office of the Chain " + std::string(18, '-');
    ASSERT_EQ(sixty.size(), 60u);
    const auto line2 = [&] {
        return std::vector{Stored(2), Report().CRF_HeaderLines[1], grd.Data().FieldValue(1, 1).ToText()};
    };
    grd.TypeIntoCell(1, 1, sixty);
    EXPECT_EQ(line2(), std::vector(3, sixty));
    EXPECT_TRUE(PrintedWith(sixty)) << "the next print has it, the window still open";

    ui.script.ExpectMessage();
    grd.TypeIntoCell(1, 1, sixty + "!");
    EXPECT_EQ(ui.script.Messages(), (Shown{{"The maximum length of a custom OldHeader line is 60 characters", ui::kOkOnly, ""}}));
    EXPECT_EQ(ui.script.Beeps(), 1);
    EXPECT_EQ(line2(), std::vector(3, sixty));

    // After Save As the window edits the copy.
    ui.script.QueueSaveFile(ui::FileChoice{PathOf("HL2.CRF"), "HL2.CRF"});
    Action("mnuReportSaveAs")->trigger();
    ASSERT_TRUE(gui::Is_Form_Loaded("frmHeaderLines"));
    EXPECT_EQ(grd.Data().Connection(), &Db());
    grd.TypeIntoCell(1, 1, "");
    EXPECT_EQ(line2(), std::vector<std::string>(3, ""));
    EXPECT_FALSE(PrintedWith(sixty));
    EXPECT_EQ(db::Database::Open(PathOf("HL.CRF"))->Scalar("SELECT Line FROM HeaderLines WHERE LineNum = 2").ToText(),
              sixty);
}

}  // namespace
}  // namespace vt::test
