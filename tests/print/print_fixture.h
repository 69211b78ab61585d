// Shared set-up of the print tests: an open-report state with a known
// identity, a temporary report folder, a fixed clock, settings in a temporary
// folder, the scripted user interface and the recording printer.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/settings/settings.h"
#include "tests/support/print_files.h"
#include "tests/support/recording_printer.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"

namespace vt::test {

class PrintTest : public ::testing::Test {
    TempFolder temp_{"vt-print"};

protected:
    void SetUp() override;
    void TearDown() override;

    std::string PathIn(const std::string& name) const { return temp_.PathOf(name); }
    static std::vector<std::string> ReadLines(const std::string& path) { return PrintLines(ReadBytes(path)); }
    static void ExpectGolden(const std::string& path, const std::string& golden) {
        test::ExpectGolden(ReadBytes(path), "print/golden/" + golden);
    }

    std::unique_ptr<settings::IniSettings> settings_;
    ScriptedUi ui_;
    RecordingPrinter printer_;
    FixedPrintClock clock_{*DateTime::FromParts(2005, 12, 1, 13, 5)};
};

}  // namespace vt::test
