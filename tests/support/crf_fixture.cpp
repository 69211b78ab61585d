#include "tests/support/crf_fixture.h"

#include <fstream>
#include <sstream>

#include "store/report.h"
#include "tests/support/db_checks.h"

namespace vt::test {

NewCrfEntries CrfTest::TestEntries() {
    return {"0287", "123456", "01/01/2006", "12/31/2006", "Test Home Office"};
}

void CrfTest::SetUp() {
    ui.QueueSaveFile(ui::FileChoice{PathOf("TEST.CRF"), "TEST.CRF"});
    ASSERT_TRUE(NewReport(TestEntries())) << "the test report could not be made";
    ui.ClearRecords();
}

void CrfTest::TearDown() {
    if (Report().CRF_Database && Report().CRF_Database->IsOpen()) ExpectAllCurrencyExact(Db());
    CloseReport();
    Report().Message_Mode.clear();
}

std::string CrfTest::PathOf(const std::string& name) const { return temp_.PathOf(name); }

std::string CrfTest::ReadFile(const std::string& name) const {
    std::ifstream in(PathOf(name), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

vt::db::Database& CrfTest::db() { return Db(); }

}  // namespace vt::test
