// What the window tests share: a report with the scripted user interface and
// recording printer (CrfTest), settings in the test's own folder, headings
// measured with a fixed-width font, a fixed screen scale and working area,
// and no window left behind after a test.
#pragma once

#include <memory>
#include <string>

#include "platform/settings/settings_qt.h"
#include "shell/headings.h"
#include "shell/worksheet_window.h"
#include "tests/support/crf_fixture.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"

class QWidget;

namespace vt::test {

// Every character 100 twips wide: a blank is 100, the quarter 25.
inline constexpr double kCharTwips = 100;

// The window-side settings of every test.
class GuiEnvironment {
public:
    explicit GuiEnvironment(const std::string& folder);
    ~GuiEnvironment();

private:
    gui::FixedMeasurer measurer_{kCharTwips};
    std::unique_ptr<settings::QtSettings> settings_;
};

// Closes and deletes every loaded window, the main window too.
void UnloadAllForms();
// Lets deferred deletions and pending events run.
void Settle();

// Registers every worksheet code in the register of the open report, so that
// next and previous walk all of them (tables or not).
void RegisterAllWorksheets();

class WindowTest : public CrfTest {
protected:
    void SetUp() override;
    void TearDown() override;
    std::unique_ptr<GuiEnvironment> env;
};

// Without a report: the scripted user interface and settings in a folder.
class NoReportTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    ScriptedUi ui;
    TempFolder temp_{"vt-gui"};
    std::string folder = temp_.Path();
    std::unique_ptr<GuiEnvironment> env;
};

}  // namespace vt::test

namespace vt::test {

// A worksheet window for the bookkeeping tests: its name and caption as
// given, a grid bound to `source` when one is given, and a count of SetGrd.
class TestSheetWindow : public gui::WorksheetWindow {
public:
    TestSheetWindow(const std::string& formName, const std::string& caption, std::string source = "",
                    bool hasSetGrd = true);
    void Form_Load() override { FormSetup(); }
    void FormSetup() override;
    bool HasSetGrd() const override { return hasSetGrd_; }
    void SetGrd() override;
    int setGrdCalls = 0;

private:
    std::string caption_, source_;
    bool hasSetGrd_;
};

}  // namespace vt::test
