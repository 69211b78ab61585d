#include "tests/support/crf_fixture.h"

#include <unistd.h>

#include <atomic>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "store/report.h"
#include "tests/support/db_checks.h"

namespace vt::test {

namespace fs = std::filesystem;

NewCrfEntries CrfTest::TestEntries() {
    return {"0287", "123456", "01/01/2006", "12/31/2006", "Test Home Office"};
}

void CrfTest::SetUp() {
    static std::atomic<int> serial{0};
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("vt-") + info->name() + "-" + std::to_string(::getpid()) + "-" +
                       std::to_string(serial++);
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-') c = '_';
    fs::path dir = fs::temp_directory_path() / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    folder = dir.string();

    ui.QueueSaveFile(ui::FileChoice{PathOf("TEST.CRF"), "TEST.CRF"});
    ASSERT_TRUE(New_CRF(TestEntries())) << "the test report could not be made";
    ui.ClearRecords();
}

void CrfTest::TearDown() {
    if (Report().CRF_Database && Report().CRF_Database->IsOpen()) ExpectAllCurrencyExact(Db());
    Close_Report();
    Report().Message_Mode.clear();
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

std::string CrfTest::PathOf(const std::string& name) const { return (fs::path(folder) / name).string(); }

std::string CrfTest::ReadFile(const std::string& name) const {
    std::ifstream in(PathOf(name), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

vt::db::Database& CrfTest::db() { return Db(); }

}  // namespace vt::test
