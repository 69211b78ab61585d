// The main window: start-up, its menu states and commands, and ending the
// program without losing a row.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLockFile>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "engine/general/b.h"
#include "platform/settings/settings.h"
#include "shell/calculation.h"
#include "shell/forms.h"
#include "shell/frmMain.h"
#include "shell/single_copy.h"
#include "shell/version.h"
#include "shell/worksheet_window.h"
#include "shell/worksheet_windows.h"
#include "store/report.h"
#include "store/services.h"
#include "tests/gui_support/gui_test.h"
#include "tests/support/plain_user.h"

namespace vt::test {
namespace {

using namespace std::chrono_literals;
using gui::frmMain;

std::string UniqueKey() {
    return "vt-test-" + std::to_string(QCoreApplication::applicationPid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

gui::StartOptions Quick(int* quits = nullptr) {
    gui::StartOptions o;
    o.splashTime = 0ms;
    o.instanceKey = UniqueKey();
    o.quit = [quits] {
        if (quits) ++*quits;
    };
    return o;
}

QAction* Action(frmMain* main, const char* name) {
    auto* a = main->findChild<QAction*>(name);
    if (!a) ADD_FAILURE() << "no item " << name;
    return a;
}

std::vector<QAction*> Leaves(QMenu* menu) {
    std::vector<QAction*> out;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) continue;
        if (a->menu()) {
            auto more = Leaves(a->menu());
            out.insert(out.end(), more.begin(), more.end());
        } else {
            out.push_back(a);
        }
    }
    return out;
}

class StartUp : public NoReportTest {};

TEST_F(StartUp, ShowsTheSplashForItsTimeThenTheWelcomeWithOnlyNewAndOpen) {
    // A clock that jumps 1.5 seconds at every reading: the wait ends at the
    // reading that shows three seconds gone, with the splash up all along.
    std::chrono::steady_clock::time_point now{};
    std::vector<bool> splashUp;
    auto options = Quick();
    options.splashTime = 3s;
    options.clock = [&] {
        QWidget* splash = nullptr;
        splashUp.push_back(gui::Is_Form_Loaded("frmSplash", &splash) && splash->isVisible());
        const auto t = now;
        now += 1500ms;
        return t;
    };
    auto* main = new frmMain(options);
    ASSERT_TRUE(main->Form_Load());
    EXPECT_EQ(splashUp, (std::vector<bool>{true, true, true}));
    EXPECT_FALSE(gui::Is_Form_Loaded("frmSplash"));

    EXPECT_TRUE(!main->fraWelcome->isHidden() && main->lblCRFName->isHidden() && main->imgQuelldorn->isHidden() &&
                main->lblHelp->isHidden());
    EXPECT_EQ(main->windowTitle().toStdString(), "Quelldorn System Inc.'s Vantrel 287 (version 1.0.0)");
    // No display name is set: the windowing system would show it after every caption.
    const QString name = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName("renamed");
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), "renamed");
    QCoreApplication::setApplicationName(name);
    EXPECT_EQ(main->pos(), QPoint(0, 0));

    for (const char* on : {"mnuReportNew", "mnuReportOpen", "mnuReportPrinterSetup", "mnuReportPrintSelect",
                           "mnuReportUtilitiesReBuild", "mnuReportUtilitiesHQ", "mnuReportUtilitiesValidate",
                           "mnuHeaderLines", "mnuReportExit", "mnuHelpReference", "mnuHelpAbout"})
        EXPECT_TRUE(Action(main, on)->isEnabled()) << on;
    for (const char* off : {"mnuReportClose", "mnuReportSaveAs", "mnuReportCalculate", "mnuReportPrint",
                            "mnuReportUtilitiesMove", "mnuEdit", "mnuView"})
        EXPECT_FALSE(Action(main, off)->isEnabled()) << off;
    // Every item of a disabled menu is off itself, so no shortcut reaches it.
    for (QMenu* m : {main->mnuEdit, main->mnuView})
        for (QAction* a : Leaves(m)) EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
}

TEST_F(StartUp, TheSplashWaitsOnTheRealClockToo) {
    auto options = Quick();
    options.splashTime = 40ms;
    EXPECT_EQ(gui::StartOptions{}.splashTime, 3000ms);
    auto* main = new frmMain(options);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(main->Form_Load());
    EXPECT_GE(std::chrono::steady_clock::now() - start, 40ms);
}

TEST_F(StartUp, ASecondCopyIsRefusedWithItsMessageAndTouchesNoFile) {
    auto options = Quick();
    QLockFile running(QString::fromStdString(gui::SingleCopyLock(options.instanceKey).Path()));
    ASSERT_TRUE(running.tryLock(0));
    auto* main = new frmMain(options);
    ui.ExpectMessage();
    EXPECT_FALSE(main->Form_Load());
    ASSERT_EQ(ui.Messages().size(), 1u);
    const auto& m = ui.Messages()[0];
    EXPECT_EQ(std::tie(m.style, m.title), std::tuple(ui::kCritical, "Attempt to Run Multiple Copies of Vantrel 287"));
    EXPECT_EQ(m.prompt.rfind("A copy of Vantrel 287 is already running.  Only one copy may be run at a time.", 0), 0u);
    EXPECT_TRUE(std::filesystem::is_empty(folder));

    // Once the first copy is gone, a start goes through.
    running.unlock();
    auto* again = new frmMain(options);
    EXPECT_TRUE(again->Form_Load());
}

// A copy started from a desktop (with a runtime folder) and one started from a
// terminal (without, or with su's or sudo's environment) are one user's two
// copies: the second is refused, whatever either's environment says.
TEST_F(StartUp, ThisUsersCopiesFindOneAnotherHoweverStarted) {
    struct Restore {  // a null value: not set
        const char* name;
        QByteArray value = qgetenv(name);
        ~Restore() { value.isNull() ? qunsetenv(name) : qputenv(name, value); }
    } restore[] = {{"XDG_RUNTIME_DIR"}, {"HOME"}, {"XDG_CACHE_HOME"}, {"TMPDIR"}};
    const std::string runtime = folder + "/run", elsewhere = folder + "/elsewhere";
    std::filesystem::create_directories(elsewhere);
    std::filesystem::create_directory(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    const auto options = Quick();
    const struct { const char* variable; std::string value; } terminals[] = {
        {"XDG_RUNTIME_DIR", ""}, {"HOME", elsewhere}, {"XDG_CACHE_HOME", elsewhere}, {"TMPDIR", elsewhere}};
    for (const auto& terminal : terminals) {
        SCOPED_TRACE(terminal.variable);
        qputenv("XDG_RUNTIME_DIR", runtime.c_str());
        auto* desktops = new frmMain(options);
        ASSERT_TRUE(desktops->Form_Load());
        terminal.value.empty() ? qunsetenv(terminal.variable) : qputenv(terminal.variable, terminal.value.c_str());
        ui.ClearRecords();
        ui.ExpectMessage();
        auto* terminals = new frmMain(options);
        EXPECT_FALSE(terminals->Form_Load());
        EXPECT_EQ(ui.Messages().size(), 1u);
        delete terminals;
        delete desktops;
        for (const Restore& r : restore) r.value.isNull() ? qunsetenv(r.name) : qputenv(r.name, r.value);
    }
}

// Another user's copy runs (root's), and another user's file holds the first
// name of this user's lock in the shared temporary folder, where it is kept by
// a user with no home folder (nobody): this user's first copy starts past it,
// and a second one is still refused.
TEST_F(StartUp, AnotherUsersCopyOrFileNeverDecidesAStart) {
    if (::geteuid() != 0) GTEST_SKIP() << "becoming another user takes root";
    const auto options = Quick();
    auto* roots = new frmMain(options);
    ASSERT_TRUE(roots->Form_Load());
    const std::string stem = std::string(P_tmpdir) + "/" + options.instanceKey + "-65534";
    std::ofstream(stem + ".lock") << "root's";
    EXPECT_EQ(AsPlainUser([&] {
                  gui::SingleCopyLock first(options.instanceKey), second(options.instanceKey);
                  const bool started = first.Acquire(), again = second.Acquire();
                  return std::to_string(started) + std::to_string(again) + " " + first.Path();
              }),
              "10 " + stem + "-1.lock");
    std::filesystem::remove(stem + ".lock");
}

TEST_F(StartUp, PrintQualityToggleNamesWhatTheNextClickDoes) {
    settings::UserSettings().Save("Vantrel", "Printing", "PrintQuality", "False");
    auto* main = new frmMain(Quick());
    ASSERT_TRUE(main->Form_Load());
    QAction* hq = Action(main, "mnuReportUtilitiesHQ");
    const auto state = [&] {
        return settings::UserSettings().Get("Vantrel", "Printing", "PrintQuality", "") + " " + hq->text().toStdString();
    };
    EXPECT_EQ(state(), "False Turn High Quality Printing On");
    hq->trigger();
    EXPECT_EQ(state(), "True Turn High Quality Printing Off");
    hq->trigger();
    EXPECT_EQ(state(), "False Turn High Quality Printing On");
}

TEST_F(StartUp, ItemsLeftOnWithoutAReportOnlySaySoAndHelpIsNotAvailable) {
    auto* main = new frmMain(Quick());
    ASSERT_TRUE(main->Form_Load());
    for (const char* name : {"mnuReportPrintSelect", "mnuReportUtilitiesReBuild", "mnuReportUtilitiesValidate",
                             "mnuHeaderLines"}) {
        ui.ExpectMessage();
        Action(main, name)->trigger();
    }
    ui.ExpectMessage();
    gui::RunCalculation();
    ui.ExpectMessage();
    Action(main, "mnuHelpReference")->trigger();
    const auto prompts = ui.Prompts();
    ASSERT_EQ(prompts.size(), 6u);
    EXPECT_EQ(std::vector(prompts.begin(), prompts.begin() + 4), std::vector<std::string>(4, "Please open a Cost Report File first."));
    EXPECT_EQ(prompts[5], "Help is not available in this version of Vantrel 287.");
    for (const auto& m : ui.Messages()) EXPECT_EQ(m.style, ui::kInformation);
    EXPECT_EQ(gui::FormCount(), 1);

    // Close All Views with none open only brings the main window up.
    Action(main, "mnuViewCloseAll")->setEnabled(true);
    Action(main, "mnuViewCloseAll")->trigger();
    EXPECT_TRUE(main->isVisible());

    Action(main, "mnuHelpAbout")->trigger();
    QWidget* about = nullptr;
    ASSERT_TRUE(gui::Is_Form_Loaded("frmHelpAbout", &about));
    EXPECT_EQ(about->windowTitle(), "About Quelldorn System's Vantrel 287");
    EXPECT_EQ(about->findChild<QLabel*>("lblHelpAboutVersion")->text(),
              "QSI Version 1.0.0\nCMS Version 287-05 Transmittal #1");
    QTest::mouseClick(about->findChild<QWidget*>("cmdHelpAboutOK"), Qt::LeftButton);
    EXPECT_FALSE(gui::Is_Form_Loaded("frmHelpAbout"));
}

TEST_F(StartUp, TheUsageHintRisesInFourteenStepsThenStandsStill) {
    auto* main = new frmMain(Quick());
    ASSERT_TRUE(main->Form_Load());
    const QString hint = main->lblHelp->text();
    main->tmrMain->start(100);
    main->tmrMain_Timer();
    EXPECT_TRUE(main->lblHelp->isHidden());
    EXPECT_EQ(main->lblHelp->text(), QString(14, '\n') + hint);
    for (int step = 1; step <= 14; ++step) {
        main->tmrMain_Timer();
        EXPECT_FALSE(main->lblHelp->isHidden());
        EXPECT_EQ(main->lblHelp->text(), QString(14 - step, '\n') + hint);
    }
    EXPECT_TRUE(main->tmrMain->isActive());
    main->tmrMain_Timer();
    EXPECT_FALSE(main->tmrMain->isActive());
    EXPECT_EQ(std::pair(main->tmrMainTag, main->lblHelp->text()), std::pair(std::string(), hint));
}

class MainWithReport : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        if (!Table_Exists("B")) Build_B();
        main = new frmMain(Quick(&quits));
        ASSERT_TRUE(main->Form_Load());
        main->ShowReportOpened(Report().CRF_Path);
    }
    Value Expenses(db::Database& d, int line) {
        return d.Scalar("SELECT Expenses FROM B WHERE LineNum = ?", {Value(line)});
    }
    // An editor of B with a row typed into but not stored.
    TestSheetWindow* PendingEdit(const std::string& text) {
        auto* w = new TestSheetWindow("frmEditB", "Edit Worksheet B", "SELECT * FROM B ORDER BY LineNum");
        w->Form_Load();
        w->show();
        const int row = w->grd->Data().FindFirst("LineNum", db::FindOp::Eq, Value(1));
        w->grd->TypeIntoCell(row, w->grd->Data().FieldIndex("Expenses"), text, false);
        EXPECT_TRUE(w->grd->DataChanged());
        return w;
    }
    frmMain* main = nullptr;
    int quits = 0;
};

// The menus and caption an open report brings are checked on the dialog road;
// here the sheet items inside the menus and the commands that need a report.
TEST_F(MainWithReport, AReportOpenEnablesTheSheetItemsAndItsCommands) {
    EXPECT_TRUE(main->tmrMain->isActive());
    for (const char* on : {"mnuViewCloseAll", "mnuViewOpenB", "mnuEditOpenB", "mnuViewOpenDpb", "mnuEditOpenF1p2"})
        EXPECT_TRUE(Action(main, on)->isEnabled()) << on;

    ui.ExpectMessage();
    Action(main, "mnuViewOpenEditChecks")->trigger();
    EXPECT_EQ(ui.Messages(), (Shown{{"Please run a \"Calculate Entire CRF\".", ui::kInformation, "Calc All Must Be Run"}}));

    // A sheet item opens its worksheet's window.
    Action(main, "mnuEditOpenAp3")->trigger();
    EXPECT_TRUE(gui::Is_Form_Loaded("frmEditAp3"));
    ui.ClearRecords();

    ui.ExpectMessage();
    Action(main, "mnuReportUtilitiesValidate")->trigger();
    EXPECT_EQ(ui.Messages(), (Shown{{"No errors were detected in the database", ui::kOkOnly, ""}}));
}

TEST_F(MainWithReport, ExitStoresTheOpenRowThenClosesTheReport) {
    const std::string path = Report().CRF_Path;
    PendingEdit("777");
    EXPECT_TRUE(main->ExitProgram());
    EXPECT_EQ(std::pair(quits, gui::FormCount()), std::pair(1, 1));
    EXPECT_FALSE(Report().CRF_Database);
    EXPECT_EQ(Expenses(*db::Database::Open(path), 1), Value(Currency::FromInt(777)));
}

TEST_F(MainWithReport, ARowThatCannotBeStoredKeepsTheProgramAndTheReportOpen) {
    auto* w = PendingEdit("888");
    w->grd->Data().BeforeColUpdate = [](grid::CellUpdate& u) { u.cancel = true; };
    main->close();
    EXPECT_EQ(quits, 0);
    EXPECT_TRUE(gui::Is_Form_Loaded("frmEditB"));
    EXPECT_TRUE(Report().CRF_Database && Report().CRF_Database->IsOpen());
    // With nothing pending the second attempt ends the program.
    EXPECT_TRUE(main->ExitProgram());
    EXPECT_EQ(quits, 1);
}

TEST_F(MainWithReport, CloseStoresOpenRowsThenClosesEveryWindowAndTheReport) {
    const std::string path = Report().CRF_Path;
    PendingEdit("555");
    gui::Open_Worksheet_Form("view", "B");
    ASSERT_TRUE(gui::Is_Form_Loaded("frmViewB"));
    Action(main, "mnuReportClose")->trigger();
    Settle();
    EXPECT_EQ(gui::FormCount(), 1);
    EXPECT_FALSE(Report().CRF_Database);
    EXPECT_EQ(Expenses(*db::Database::Open(path), 1), Value(Currency::FromInt(555)));
}

TEST_F(MainWithReport, SaveAsStoresOpenRowsAndRebindsTheWindowsToTheCopy) {
    PendingEdit("444");
    gui::Open_Worksheet_Form("view", "B");
    QWidget* viewer = nullptr;
    ASSERT_TRUE(gui::Is_Form_Loaded("frmViewB", &viewer));
    ui.QueueSaveFile(ui::FileChoice{PathOf("COPY.CRF"), "COPY.CRF"});
    Action(main, "mnuReportSaveAs")->trigger();
    EXPECT_EQ(Report().CRF_Title, "COPY.CRF");
    EXPECT_EQ(Expenses(db(), 1), Value(Currency::FromInt(444)));
    for (const char* name : {"frmViewB", "frmEditB"}) {
        QWidget* w = nullptr;
        ASSERT_TRUE(gui::Is_Form_Loaded(name, &w)) << name;
        EXPECT_EQ(static_cast<gui::WorksheetWindow*>(w)->grd->Data().Connection(), &db()) << name;
    }
}

TEST_F(MainWithReport, OneCalculationAtATimeWithTheMenusAndTheirShortcutsOff) {
    main->show();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main));
    int runs = 0;
    bool menusOffInside = false, shortcutInside = false;
    gui::SetCalculation([&] {
        ++runs;
        menusOffInside = !Action(main, "mnuReportCalculate")->isEnabled() && !Action(main, "mnuViewOpenB")->isEnabled() &&
                         !Action(main, "mnuHelpAbout")->isEnabled();
        gui::RunCalculation();  // a second start returns at once
        const int before = runs;
        QTest::keyClick(main, Qt::Key_F4);
        shortcutInside = runs != before;
    });
    QTest::keyClick(main, Qt::Key_F4);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(menusOffInside && !shortcutInside && !gui::CalculationRunning());
    for (const char* on : {"mnuReportCalculate", "mnuHelpAbout", "mnuViewCloseAll"}) EXPECT_TRUE(Action(main, on)->isEnabled()) << on;

    // With no report the shortcut is dead as the menu item is.
    main->SetMenuState(0);
    QTest::keyClick(main, Qt::Key_F4);
    EXPECT_EQ(runs, 1);

    // A calculation that fails is told, and the menus come back.
    main->SetMenuState(1);
    gui::SetCalculation([] { throw std::runtime_error("Calculation broke"); });
    ui.ExpectMessage();
    gui::RunCalculation();
    EXPECT_EQ(ui.Prompts().back(), "Calculation broke");
    EXPECT_TRUE(Action(main, "mnuReportCalculate")->isEnabled());
}

}  // namespace
}  // namespace vt::test
