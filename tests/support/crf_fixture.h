// The fixture of every test that needs a report: a fresh CRF, made by New_CRF
// in a temporary folder of its own, with the scripted user interface and the
// recording printer installed.
//
//   class CalcB : public vt::test::CrfTest {};
//   TEST_F(CalcB, ...) { Build_B(); db().Execute(...); ... ui.Messages() ... }
//
// The report: form "0287", provider "123456", fiscal year 01/01/2006 to
// 12/31/2006, facility "Test Home Office", file <folder>/TEST.CRF. SetUp clears
// what New_CRF showed, so ui starts with empty records.
// After each test every Currency value in the report must be exact; then the
// report is closed and the folder removed.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/db/db.h"
#include "report/whole_report.h"
#include "tests/support/recording_printer.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"

namespace vt::test {

class CrfTest : public ::testing::Test {
    TempFolder temp_;  // first made, last removed: the report lives in it

protected:
    static NewCrfEntries TestEntries();

    void SetUp() override;
    void TearDown() override;

    // Raw bytes of a file in the report's folder ("" when it does not exist).
    std::string ReadFile(const std::string& name) const;
    // Full path of a name in the report's folder.
    std::string PathOf(const std::string& name) const;
    vt::db::Database& db();

    ScriptedUi ui;
    RecordingPrinter printer;
    std::string folder = temp_.Path();  // the report's folder, without a trailing separator
};

}  // namespace vt::test
