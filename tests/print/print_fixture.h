// Shared set-up of the print tests: an open-report state with a known
// identity, a temporary report folder, a fixed clock, settings in a temporary
// folder, the scripted user interface and the recording printer.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/settings/settings.h"
#include "tests/support/recording_printer.h"
#include "tests/support/scripted_ui.h"

namespace vt::test {

class PrintTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string PathIn(const std::string& name) const { return (folder_ / name).string(); }
    static std::string ReadBytes(const std::string& path);
    static void WriteBytes(const std::string& path, const std::string& bytes);
    // The lines of a print file without their CR LF ends.
    static std::vector<std::string> ReadLines(const std::string& path);
    // Compares a written print file with tests/print/golden/<name> byte for byte.
    void ExpectGolden(const std::string& path, const std::string& goldenName) const;

    std::filesystem::path folder_;
    std::unique_ptr<settings::IniSettings> settings_;
    ScriptedUi ui_;
    RecordingPrinter printer_;
};

}  // namespace vt::test
