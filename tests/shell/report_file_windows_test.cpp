// The Report File commands as the user meets them: the new-report dialog,
// Close, Open, Calculate with its findings, Save As and Move, and what the
// main window shows after each, refusals included.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <fstream>

#include "platform/settings/settings.h"
#include "report/identity_checks.h"
#include "shell/forms.h"
#include "shell/frmCreateNewCRF.h"
#include "shell/frmViewError.h"
#include "shell/version.h"
#include "shell/worksheet_windows.h"
#include "store/report.h"
#include "store/services.h"
#include "tests/shell/dialog_fixture.h"
#include "tests/support/calc_all_steps.h"
#include "tests/support/db_checks.h"

namespace vt::test {
namespace {

namespace fs = std::filesystem;
using gui::frmCreateNewCRF;

// The kinds of message the new-report dialog refuses with, by their titles.
struct Expected {
    const char* title;
    const char* promptStart;
};

class ReportFileWindows : public DialogTest {
protected:
    // Create pressed with a refusal expected: its message and the box the
    // focus goes back to.
    void CreateRefused(frmCreateNewCRF& d, const Expected& e, QLineEdit* back, int answer = ui::kOk) {
        const size_t before = ui.script.Messages().size();
        ui.script.ExpectMessage(answer);
        QTest::mouseClick(d.cmdCreate, Qt::LeftButton);
        ASSERT_EQ(ui.script.Messages().size(), before + 1) << e.promptStart;
        const ShownMessage& m = ui.script.Messages().back();
        EXPECT_EQ(std::pair(m.title, m.prompt.substr(0, strlen(e.promptStart))), std::pair(std::string(e.title), std::string(e.promptStart)));
        EXPECT_EQ(d.focusWidget(), back) << e.promptStart;
        EXPECT_TRUE(d.isVisible());
        EXPECT_FALSE(Report().CRF_Database) << "nothing is made before every box is accepted";
    }

    // Level|message of every row the findings window shows.
    static std::vector<std::string> FindingsRows(gui::frmViewError& view) {
        std::vector<std::string> rows;
        auto& data = view.grdError->Data();
        for (int r = 0; r < data.RecordCount(); ++r)
            rows.push_back(Nz_Str(data.FieldValue(r, 0)).ToText() + "|" + Nz_Str(data.FieldValue(r, 1)).ToText());
        return rows;
    }

    void ExpectReportOpen(const std::string& title) {
        ASSERT_TRUE(Report().CRF_Database && Report().CRF_Database->IsOpen());
        EXPECT_EQ(Report().CRF_Title, title);
        EXPECT_EQ(main->windowTitle().toStdString(), gui::OpenCRFCaption(title));
        EXPECT_EQ(main->lblCRFName->text().toStdString(), Report().CRF_Path);
        EXPECT_FALSE(main->lblCRFName->isHidden());
        EXPECT_TRUE(main->fraWelcome->isHidden());
        EXPECT_TRUE(main->isVisible());
        for (const char* on : {"mnuReportClose", "mnuReportSaveAs", "mnuReportCalculate", "mnuReportPrint",
                               "mnuReportUtilitiesMove", "mnuEdit", "mnuView"})
            EXPECT_TRUE(Action(on)->isEnabled()) << on;
    }
};

const Expected kProvider{"", "You have entered an invalid Provider Number!\rProvider number must be 2 characters, "
                             "followed by three or four characters!"};
const Expected kStart{"Error: Invalid Fiscal Year Start Date", "Fiscal Year Start date is not a valid date."};
const Expected kEnd{"Error: Invalid Fiscal Year End Date", "Fiscal Year End date is not a valid date."};
const Expected kOrder{"Error: Invalid Dates", "Invalid sequence of dates -- FY End preceeds FY Start."};
const Expected kSpan{"Warning: Dates Span More Than One Fiscal Year", "The F/Y Start and F/Y End dates entered span"};
const Expected kShortName{"Error: Invalid Facility Name", "Facility Name must be at least 8 characters."};
const Expected kLongName{"Error: Invalid Facility Name", "Facility Name may be at most 36 characters long."};
const Expected kQuote{"", "The Facility Name cannot contain double quote characters"};
const Expected kCutOff{"Incorrect Vantrel Version", "This version of Vantrel 287 (QSI Version 1.0.0) supports CMS"};

TEST_F(ReportFileWindows, MainRoad) {
    const std::string first = PathOf("FIRST.CRF");
    RunNew([&](frmCreateNewCRF& d) {
        EXPECT_EQ(d.windowTitle(), "Create A New Cost Report File [\"CRF\"]");
        EXPECT_FALSE(main->isVisible());
        EXPECT_EQ(d.txtFormNum->text(), "0287");

        // Each box's rule as the focus leaves it, and each check of Create once.
        Type(d.txtProviderNum, "abcdefg");
        Type(d.txtFYStart, "13/45/2005");
        EXPECT_EQ(d.txtProviderNum->text(), "AB-CDEFG");
        CreateRefused(d, kProvider, d.txtProviderNum);
        Type(d.txtProviderNum, "12345");
        CreateRefused(d, kStart, d.txtFYStart);
        EXPECT_EQ(d.txtProviderNum->text(), "12-345");
        Type(d.txtFYStart, "10/1/2005");
        Type(d.txtFacilityName, "");
        EXPECT_EQ(d.txtFYStart->text(), "10/01/2005");
        EXPECT_EQ(d.txtFYEnd->text(), "09/30/2006");
        Type(d.txtFYEnd, "June");
        CreateRefused(d, kEnd, d.txtFYEnd);
        Type(d.txtFYEnd, "9/30/2005");
        CreateRefused(d, kOrder, d.txtFYStart);
        EXPECT_EQ(d.txtFYEnd->text(), "09/30/2005");
        Type(d.txtFYEnd, "10/15/2006");
        CreateRefused(d, kSpan, d.txtFYStart, ui::kNo);
        Type(d.txtFYEnd, "09/30/2006");
        Type(d.txtFacilityName, "Short");
        CreateRefused(d, kShortName, d.txtFacilityName);
        Type(d.txtFacilityName, std::string(37, 'N'));
        CreateRefused(d, kLongName, d.txtFacilityName);
        Type(d.txtFacilityName, "The \"Best\" Office");
        CreateRefused(d, kQuote, d.txtFacilityName);
        // An end the start filled in was never left, and Create tests it too.
        Type(d.txtFYEnd, "");
        Type(d.txtFYStart, "9/1/2004");
        Type(d.txtFacilityName, "Test Home Office");
        EXPECT_EQ(d.txtFYEnd->text(), "08/31/2005");
        CreateRefused(d, kCutOff, d.txtFYEnd);

        // The file chooser cancelled: the dialog stays with what was typed.
        Type(d.txtFYEnd, "");
        Type(d.txtFYStart, "10/1/2005");
        Type(d.txtFacilityName, "Test Home Office");
        ui.script.QueueSaveFile(std::nullopt);
        QTest::mouseClick(d.cmdCreate, Qt::LeftButton);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.txtFacilityName->text(), "Test Home Office");
        ASSERT_EQ(ui.script.FileRequests().size(), 1u);

        d.grab().save(QString(VT_BUILD_DIR) + "/new_crf_dialog.png");
        ui.script.QueueSaveFile(ui::FileChoice{first, "FIRST.CRF"});
        QTest::mouseClick(d.cmdCreate, Qt::LeftButton);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(ui.script.Beeps(), 9);  // each refusal, the span question too
    ExpectReportOpen("FIRST.CRF");
    EXPECT_FALSE(gui::Is_Form_Loaded("frmCreateNewCRF"));

    // On disk with the identity as accepted (what else a new report holds is the store's business).
    EXPECT_EQ(Rows("SELECT ProviderNumber, ProviderName FROM Master"), (Table{{"12-345", "Test Home Office"}}));

    Action("mnuReportClose")->trigger();
    ExpectNoReport();

    ui.script.QueueOpenFile(ui::FileChoice{first, "FIRST.CRF"});
    Action("mnuReportOpen")->trigger();
    ExpectReportOpen("FIRST.CRF");

    // Calculate from F4: the menus off and the hourglass up while the status
    // line tells each sheet in turn, then the findings.
    ASSERT_TRUE(WaitActive(main));
    std::vector<std::string> texts;
    bool allBusy = true;
    ui.onStatus = [&](const std::string& text, bool visible) {
        if (!visible) return;
        texts.push_back(text);
        EXPECT_EQ(main->txtCalcMsg->text().toStdString(), text);
        EXPECT_FALSE(main->txtCalcMsg->isHidden());
        allBusy = allBusy && !Action("mnuReportCalculate")->isEnabled() && !Action("mnuHelpAbout")->isEnabled() &&
                  QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    };
    QTest::keyClick(main, Qt::Key_F4);
    ui.onStatus = nullptr;
    std::vector<std::string> expected = CalcAllStatusTexts();
    expected.insert(expected.end(), {" Calculations completed.", " Performing Edit Checks"});
    EXPECT_EQ(texts, expected);
    EXPECT_TRUE(allBusy);
    EXPECT_TRUE(main->txtCalcMsg->isHidden());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    gui::frmViewError* findings = Findings();
    ASSERT_NE(findings, nullptr);
    EXPECT_TRUE(findings->isVisible());
    EXPECT_EQ(findings->windowTitle(), "Edit Check Results");
    // A fresh report has nothing to warn of.
    const std::vector<std::string> rows = FindingsRows(*findings);
    EXPECT_EQ(rows, std::vector<std::string>{" |No errors found"});
    findings->grab().save(QString(VT_BUILD_DIR) + "/findings_window.png");

    // Save As: the copy is the open report, and the findings window reads it.
    ui.script.QueueSaveFile(ui::FileChoice{PathOf("SECOND.CRF"), "SECOND.CRF"});
    Action("mnuReportSaveAs")->trigger();
    ExpectReportOpen("SECOND.CRF");
    ASSERT_EQ(Findings(), findings);
    EXPECT_EQ(findings->grdError->Data().Connection(), &Db());

    // Move to another folder: the file goes there and stays open.
    fs::create_directories(PathOf("elsewhere"));
    const std::string moved = (fs::path(PathOf("elsewhere")) / "MOVED.CRF").string();
    ui.script.QueueSaveFile(ui::FileChoice{moved, "MOVED.CRF"});
    Action("mnuReportUtilitiesMove")->trigger();
    ExpectReportOpen("MOVED.CRF");
    EXPECT_EQ(findings->grdError->Data().Connection(), &Db());
    EXPECT_EQ(FindingsRows(*findings), rows);
    EXPECT_EQ(ui.script.Messages().size(), 9u) << "no message beyond the refusals";
}


// Cancel ends the dialog and the program starts over without a report; each
// New brings a fresh one. An end before the cut-off left in its box is told
// and the dialog stays with what was typed.
TEST_F(ReportFileWindows, NewThatEndsWithoutAReportStartsOver) {
    MakeReport("OPEN.CRF");
    gui::Open_Worksheet_Form("view", "B");
    RunNew([&](frmCreateNewCRF& d) {
        EXPECT_FALSE(Report().CRF_Database) << "New closes the open report first";
        EXPECT_FALSE(gui::Is_Form_Loaded("frmViewB"));
        Type(d.txtProviderNum, "12-3456");
        Type(d.txtFacilityName, "Typed Then Cancelled");
        QTest::mouseClick(d.cmdCancel, Qt::LeftButton);
    });
    ExpectNoReport();
    EXPECT_TRUE(main->isVisible());

    RunNew([&](frmCreateNewCRF& d) {
        EXPECT_EQ(d.txtProviderNum->text() + d.txtFacilityName->text(), "");
        Type(d.txtProviderNum, "12-3456");
        ui.script.ExpectMessage();
        Type(d.txtFYEnd, "9/29/2005");
        Type(d.txtFacilityName, "Test Home Office");
        EXPECT_EQ(ui.script.Messages(), (Shown{{FYCutoffMessage(), ui::kInformation, kCutOff.title}}));
        EXPECT_TRUE(d.isVisible() && d.txtFYEnd->hasFocus());
        EXPECT_EQ((std::vector{d.txtFYEnd->text(), d.txtProviderNum->text(), d.txtFacilityName->text()}),
                  (std::vector<QString>{"09/29/2005", "12-3456", "Test Home Office"}));
        // Create with the box still refused says it once, and stays.
        ui.script.ExpectMessage();
        QTest::mouseClick(d.cmdCreate, Qt::LeftButton);
        EXPECT_EQ(ui.script.Messages().size(), 2u);
        EXPECT_TRUE(d.isVisible());
        QTest::mouseClick(d.cmdCancel, Qt::LeftButton);
    });
    ExpectNoReport();
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(ui.script.FileRequests().empty());
}

// A file that is no report, or a report this program must not open, ends
// with its message and the main window without a report, whatever was open.
TEST_F(ReportFileWindows, OpenRefusalsLeaveNoReportHalfOpen) {
    std::ofstream(PathOf("NOTES.CRF")) << "Not a database, only a text file.\n";
    MakeReport("EARLY.CRF");
    Db().Execute("UPDATE Master SET FYEnd = ?", {Value(*DateTime::FromParts(2005, 9, 29))});
    MakeReport("GOOD.CRF");

    const struct {
        const char* file;
        const char* title;
    } refusals[] = {
        {"NOTES.CRF", "Error opening CRF"},
        {"EARLY.CRF", kCutOff.title},
    };
    for (const auto& r : refusals) {
        ui.script.QueueOpenFile(ui::FileChoice{PathOf("GOOD.CRF"), "GOOD.CRF"});
        Action("mnuReportOpen")->trigger();
        ExpectReportOpen("GOOD.CRF");
        gui::Open_Worksheet_Form("view", "B");
        ASSERT_TRUE(gui::Is_Form_Loaded("frmViewB"));

        ui.script.ClearRecords();
        ui.script.ExpectMessage();
        ui.script.QueueOpenFile(ui::FileChoice{PathOf(r.file), r.file});
        Action("mnuReportOpen")->trigger();
        ASSERT_EQ(ui.script.Messages().size(), 1u) << r.file;
        EXPECT_EQ(ui.script.Messages()[0].title, r.title);
        ExpectNoReport();
    }
}

}  // namespace
}  // namespace vt::test
