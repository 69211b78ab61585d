// The fixture of the Report File command tests: a temporary folder with the
// user's settings in it, no report open at the start, and a scripted user
// interface that also records what the main window is told.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/settings/settings.h"
#include "platform/value/value.h"
#include "store/new_crf.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"

namespace vt::test {

class ReportFileUi : public ScriptedUi {
public:
    void CloseReportWindows() override { events.push_back("windows closed"); }
    void ShowReportClosed(const std::string& caption) override {
        events.push_back("closed");
        closedCaption = caption;
    }
    void ReportFileReplaced() override { events.push_back("replaced"); }
    void ShowReportOpened(const std::string& caption, const std::string& path) override {
        ScriptedUi::ShowReportOpened(caption, path);
        events.push_back("opened");
    }
    // What the main window shows last: "opened", "closed" or "" (nothing yet).
    std::string LastState() const;

    std::vector<std::string> events;
    std::string closedCaption;
};

class ReportFileTest : public ::testing::Test {
    TempFolder temp_{"vt-rf"};

protected:
    // Entries every check accepts.
    static NewCrfEntries ValidEntries();

    void SetUp() override;
    void TearDown() override;

    std::string PathOf(const std::string& name) const { return temp_.PathOf(name); }
    // A new report made through the Create command and left open.
    void MakeReport(const std::string& name, NewCrfEntries entries = ValidEntries());
    // The Open command with the file chosen.
    bool OpenReport(const std::string& name);
    // A report on disk with Master changed by the statement (bound values), closed again.
    void MakeReportWith(const std::string& name, const std::string& sql, const std::vector<Value>& params);
    std::string Setting() const;
    void ClearUi();

    ReportFileUi ui;
    std::string folder = temp_.Path();  // without a trailing separator
    std::unique_ptr<settings::IniSettings> userSettings;
};

}  // namespace vt::test
