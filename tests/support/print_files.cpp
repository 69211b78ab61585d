#include "tests/support/print_files.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "print/print.h"

namespace vt::test {

namespace fs = std::filesystem;

std::optional<std::string> RunCommand(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen((command + " 2>/dev/null").c_str(), "r"), ::pclose);
    if (!pipe) return std::nullopt;
    std::string out;
    std::array<char, 4096> buffer{};
    while (auto n = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) out.append(buffer.data(), n);
    if (::pclose(pipe.release()) != 0) return std::nullopt;
    return out;
}

std::string Quote(const std::string& path) { return "'" + path + "'"; }

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.is_open()) << "cannot read " << path;
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::vector<std::string> PrintLines(const std::string& bytes) {
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; at < bytes.size(); at = end + 2) {
        end = bytes.find("\r\n", at);
        if (end == std::string::npos) end = bytes.size();
        lines.push_back(bytes.substr(at, end - at));
    }
    return lines;
}

std::vector<std::string> PrintPages(const std::string& bytes) {
    std::vector<std::string> pages;
    for (std::size_t at = bytes.find('\f'); at != std::string::npos;) {
        const std::size_t next = bytes.find('\f', at + 1);
        pages.push_back(bytes.substr(at, next == std::string::npos ? std::string::npos : next - at));
        at = next;
    }
    return pages;
}

void ExpectGolden(const std::string& actual, const std::string& golden) {
    // The golden folders sit under tests/, wherever the build runs from.
    const fs::path path = fs::path(VT_TESTS_DIR) / golden;
    ASSERT_FALSE(actual.empty()) << "nothing was printed for " << golden;
    // A rewritten golden file proves nothing: the test is skipped, not passed.
    if (std::getenv("VT_WRITE_GOLDEN")) {
        WriteBytes(path.string(), actual);
        GTEST_SKIP() << "rewrote the golden file " << path;
    }
    ASSERT_TRUE(fs::exists(path)) << "no golden file " << path;
    const std::string expected = ReadBytes(path.string());
    if (actual == expected) return;
    // The whole files are too long to show: point at the first line that differs.
    const auto got = PrintLines(actual), want = PrintLines(expected);
    std::size_t i = 0;
    while (i < got.size() && i < want.size() && got[i] == want[i]) ++i;
    ADD_FAILURE() << "the print differs from " << golden << " at line " << i + 1 << ":\n  printed: ["
                  << (i < got.size() ? got[i] : "<end>") << "]\n  golden:  [" << (i < want.size() ? want[i] : "<end>")
                  << "]";
}

FixedPrintClock::FixedPrintClock(DateTime moment) {
    print::SetPrintClock([moment] { return moment; });
}

FixedPrintClock::~FixedPrintClock() { print::SetPrintClock(nullptr); }

}  // namespace vt::test
