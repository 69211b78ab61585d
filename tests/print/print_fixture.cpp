#include "tests/print/print_fixture.h"

#include <unistd.h>

#include <fstream>
#include <iterator>

#include "print/print.h"
#include "store/report.h"

namespace vt::test {
namespace fs = std::filesystem;

void PrintTest::SetUp() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() /
              ("vt-print-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" + info->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    settings_ = std::make_unique<settings::IniSettings>((folder_ / "settings").string());
    settings::InstallSettings(settings_.get());

    auto& r = Report();
    r.CRF_Folder = folder_.string();
    r.CRF_Path = (folder_ / "Mercy.CRF").string();
    r.CRF_Title = "Mercy.CRF";
    r.CRF_FormNum = "0287";
    r.CRF_ProviderName = "Mercy Home Office";
    r.CRF_ProviderNumber = "05-1234";
    r.CRF_FYStart = *DateTime::FromParts(2004, 10, 1);
    r.CRF_FYEnd = *DateTime::FromParts(2005, 9, 30);
    r.CRF_HeaderLines = {"", "", ""};
    r.Message_Mode = "";

    print::SetPrintClock([] { return *DateTime::FromParts(2005, 12, 1, 13, 5); });
    print::Set_Landscape();
    print::PrintLayout().Last_Orientation = 0;
}

void PrintTest::TearDown() {
    print::SetPrintClock(nullptr);
    settings::InstallSettings(nullptr);
    for (int fn = 1; fn < 10; ++fn) print::Close_Print_File(fn);
    std::error_code ec;
    fs::remove_all(folder_, ec);
}

std::string PrintTest::ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.is_open()) << path;
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void PrintTest::WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::vector<std::string> PrintTest::ReadLines(const std::string& path) {
    const std::string bytes = ReadBytes(path);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const auto end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(start));
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

void PrintTest::ExpectGolden(const std::string& path, const std::string& goldenName) const {
    const fs::path golden = fs::path(__FILE__).parent_path() / "golden" / goldenName;
    const std::string actual = ReadBytes(path);
    if (std::getenv("VT_WRITE_GOLDEN")) WriteBytes(golden.string(), actual);
    const std::string expected = ReadBytes(golden.string());
    if (actual == expected) return;
    // Point at the first line that differs; the whole files are too long to show.
    std::size_t line = 1, at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at])
        if (actual[at++] == '\n') ++line;
    ADD_FAILURE() << goldenName << " differs from " << path << " at line " << line << ", byte " << at;
}

}  // namespace vt::test
