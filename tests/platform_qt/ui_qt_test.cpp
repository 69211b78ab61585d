// The Qt user interface: message boxes in the styles the report code asks
// for, file filters, and settings through QSettings.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "platform/settings/settings_qt.h"
#include "platform/ui/ui_qt.h"
#include "tests/platform_qt/answer_dialog.h"

namespace vt::test {
namespace {

using B = QMessageBox::StandardButton;

TEST(QtUiTest, MessageBoxesTakeTheStylesButtonsIconAndDefaultButton) {
    const struct {
        int style;
        std::vector<B> buttons;
        QMessageBox::Icon icon;
        B defaultButton;
        B escape;
    } cases[] = {
        {ui::kOkOnly, {B::Ok}, QMessageBox::NoIcon, B::Ok, B::Ok},
        {ui::kCritical, {B::Ok}, QMessageBox::Critical, B::Ok, B::Ok},
        {ui::kExclamation | ui::kOkCancel, {B::Ok, B::Cancel}, QMessageBox::Warning, B::Ok, B::Cancel},
        {ui::kQuestion | ui::kYesNo | ui::kDefaultButton2, {B::Yes, B::No}, QMessageBox::Question, B::No,
         B::NoButton},
        {ui::kInformation | ui::kYesNoCancel | ui::kDefaultButton3, {B::Yes, B::No, B::Cancel},
         QMessageBox::Information, B::Cancel, B::Cancel},
        {ui::kAbortRetryIgnore | ui::kDefaultButton2, {B::Abort, B::Retry, B::Ignore}, QMessageBox::NoIcon, B::Retry,
         B::NoButton},
        {ui::kRetryCancel | ui::kDefaultButton4, {B::Retry, B::Cancel}, QMessageBox::NoIcon, B::Retry, B::Cancel},
    };
    for (const auto& c : cases) {
        auto box = ui::BuildMessageBox("Text", c.style, "Title");
        std::vector<B> shown;
        for (QAbstractButton* b : box->buttons()) shown.push_back(box->standardButton(b));
        std::sort(shown.begin(), shown.end());
        auto want = c.buttons;
        std::sort(want.begin(), want.end());
        EXPECT_EQ(shown, want) << c.style;
        EXPECT_EQ(box->icon(), c.icon) << c.style;
        EXPECT_EQ(box->standardButton(box->defaultButton()), c.defaultButton) << c.style;
        EXPECT_EQ(box->escapeButton() ? box->standardButton(box->escapeButton()) : B::NoButton, c.escape) << c.style;
    }
    for (auto [button, answer] : {std::pair{B::Yes, ui::kYes}, {B::No, ui::kNo}, {B::Ignore, ui::kIgnore},
                                  {B::NoButton, ui::kCancel}})
        EXPECT_EQ(ui::AnswerOf(button), answer) << answer;
}

TEST(QtUiTest, AMessageWithoutTitleShowsTheProgramsTitleAndLineEndsBecomeNewlines) {
    auto box = ui::BuildMessageBox("First\rSecond\r\nThird", 0, "");
    EXPECT_EQ(box->windowTitle(), QCoreApplication::applicationName());
    EXPECT_EQ(box->text(), "First\nSecond\nThird");
}

// The window a box goes over is remembered while a box has the focus (the
// next box of one entry goes over it too), and forgotten once another window
// has had the focus.
TEST(QtUiTest, AMessageGoesOverTheWindowItsEntryCameFromButNotOverOneLeftSince) {
    const auto activate = [](QWidget& w) {
        w.show();
        w.activateWindow();
        return QTest::qWaitForWindowActive(&w);
    };
    QWidget editor, other;
    ASSERT_TRUE(activate(editor));
    EXPECT_EQ(ui::MessageOwner(), &editor);
    auto box = ui::BuildMessageBox("First", ui::kOkOnly, "", &editor);
    ASSERT_TRUE(activate(*box));
    EXPECT_EQ(ui::MessageOwner(), &editor);
    box->hide();

    ASSERT_TRUE(activate(other));
    other.hide();
    QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), nullptr);
    EXPECT_EQ(ui::MessageOwner(), nullptr);
}

TEST(QtUiTest, FiltersReadAsQtWritesThem) {
    EXPECT_EQ(ui::QtFilter("Cost Report Files (*.CRF)|*.CRF"), "Cost Report Files (*.CRF)");
    EXPECT_EQ(ui::QtFilter("Print Files|*.prt;*.txt|All Files (*.*)|*.*"),
              "Print Files (*.prt *.txt);;All Files (*.*)");
}

TEST(QtSettingsTest, KeepsValuesByApplicationSectionAndKeyInAFolder) {
    const auto dir = std::filesystem::temp_directory_path() / ("vt-qsettings-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    {
        settings::QtSettings s(dir.string());
        EXPECT_EQ(s.Get("Vantrel 287", "Startup", "CRFLoc", "None"), "None");
        s.Save("Vantrel 287", "Startup", "CRFLoc", "/home/user/Reports, 2006");
        s.Save("Vantrel", "Printing", "PrintQuality", "False");
        // The last is another application's key.
        EXPECT_EQ(std::tuple(s.Get("Vantrel 287", "Startup", "CRFLoc", "None"),
                             s.Get("Vantrel", "Printing", "PrintQuality", "True"), s.Get("Vantrel", "Startup", "CRFLoc", "None")),
                  std::tuple("/home/user/Reports, 2006", "False", "None"));
    }
    EXPECT_TRUE(std::filesystem::exists(dir / "Vantrel 287.ini") && std::filesystem::exists(dir / "Vantrel.ini"));
    // A value another writer left unquoted reads whole.
    std::ofstream(dir / "Vantrel 287.ini") << "[Startup]\nCRFLoc=/data/a, b\n";
    EXPECT_EQ(settings::QtSettings(dir.string()).Get("Vantrel 287", "Startup", "CRFLoc", ""), "/data/a, b");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace vt::test

namespace vt::test {
namespace {

struct RecordingSink : ui::MainWindowSink {
    std::vector<std::string> log;
    void ShowStatus(const std::string& text, bool visible) override {
        log.push_back("status " + text + (visible ? " shown" : " hidden"));
    }
    void ShowReportOpened(const std::string& path) override { log.push_back("opened " + path); }
    void ShowReportClosed() override { log.push_back("closed"); }
    void CloseReportWindows() override { log.push_back("close windows"); }
    void ReportFileReplaced() override { log.push_back("replaced"); }
    void HideNewReportDialog() override { log.push_back("hide dialog"); }
    void RefreshWorksheetWindows() override { log.push_back("refresh"); }
    void EnableMenus(bool on) override { log.push_back(on ? "menus on" : "menus off"); }
    void ShowEditCheckResults() override { log.push_back("findings"); }
    QWidget* DialogParent() override { return nullptr; }
};

TEST(QtUiTest, WhatTheReportCodeShowsGoesToTheMainWindowAndTheHourglassNests) {
    ui::QtUi qt;
    qt.SetStatus(" Calculating ", true);  // no main window yet: nothing happens
    RecordingSink sink;
    qt.SetMainWindow(&sink);
    qt.SetStatus(" Calculating ", true);
    qt.SetStatus("", false);
    qt.ShowReportOpened("ignored caption", "/r/TEST.CRF");
    qt.ReportFileReplaced();
    qt.CloseReportWindows();
    qt.ShowReportClosed("ignored");
    qt.HideNewReportDialog();
    qt.RefreshWorksheetWindows();
    qt.SetMenusEnabled(false);
    qt.ShowEditCheckResults();
    EXPECT_EQ(sink.log, (std::vector<std::string>{"status  Calculating  shown", "status  hidden", "opened /r/TEST.CRF",
                                                  "replaced", "close windows", "closed", "hide dialog", "refresh", "menus off", "findings"}));

    qt.SetBusy(true);
    qt.SetBusy(true);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    qt.SetBusy(false);
    EXPECT_TRUE(QApplication::overrideCursor());
    qt.SetBusy(false);
    qt.SetBusy(false);  // one too many changes nothing
    EXPECT_FALSE(QApplication::overrideCursor());
}

// The print server's question for a login, in a dialog over the window: the
// name proposed, the password hidden, a refused login said; Cancel gives none.
TEST(QtUiTest, APrintServerLoginIsAskedInADialog) {
    ui::QtUi qt;
    for (const bool refused : {false, true}) {
        AnswerDialog("PrintServerLogin", [&](QDialog& dialog) {
            EXPECT_EQ(dialog.findChild<QLabel*>("said")->text(),
                      QString("The print server printhost asks who prints on \"Office\".") +
                          (refused ? "\nThe name and password given were not accepted." : ""));
            auto* password = dialog.findChild<QLineEdit*>("password");
            EXPECT_EQ(password->echoMode(), QLineEdit::Password);
            QTest::keyClicks(password, "secret");
            if (refused) QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        const auto login = qt.AskLogin({"printhost", "Office", "clerk", refused});
        EXPECT_EQ(login ? login->user + "/" + login->password : "none", refused ? "none" : "clerk/secret");
    }
}

}  // namespace
}  // namespace vt::test
