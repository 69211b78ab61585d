// Shared ground of the tests of worksheets D, I and J: reading values back,
// print files split into lines, and golden print files.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "print/print.h"
#include "tests/support/crf_fixture.h"

namespace vt::test {

inline Currency Money(double d) { return Currency::FromDouble(d); }

// The lines of a print file without their CR LF ends.
inline std::vector<std::string> SplitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t end = bytes.find("\r\n", at);
        if (end == std::string::npos) end = bytes.size();
        lines.push_back(bytes.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

inline int CountLines(const std::vector<std::string>& lines, const std::string& part) {
    int n = 0;
    for (const auto& l : lines)
        if (l.find(part) != std::string::npos) ++n;
    return n;
}

inline int PageCount(const std::vector<std::string>& lines) {
    int n = 0;
    for (const auto& l : lines)
        if (!l.empty() && l[0] == '\f') ++n;
    return n;
}

// A report fixture whose page headers carry a fixed moment, so print files
// compare byte for byte.
class SheetPrintTest : public CrfTest {
protected:
    void SetUp() override {
        CrfTest::SetUp();
        print::SetPrintClock([] { return *DateTime::FromParts(2007, 3, 15, 14, 30); });
    }
    void TearDown() override {
        print::SetPrintClock(nullptr);
        CrfTest::TearDown();
    }

    // Compares a print file of the report's folder with golden/<name>;
    // VT_WRITE_GOLDEN=1 rewrites the golden file from it.
    void ExpectGolden(const std::string& file, const std::string& name) const {
        const std::string actual = ReadFile(file);
        ASSERT_FALSE(actual.empty()) << file << " was not written";
        const auto golden = std::filesystem::path(__FILE__).parent_path() / "golden" / name;
        if (std::getenv("VT_WRITE_GOLDEN")) std::ofstream(golden, std::ios::binary) << actual;
        std::ifstream in(golden, std::ios::binary);
        ASSERT_TRUE(in) << "no golden file " << golden;
        std::ostringstream expected;
        expected << in.rdbuf();
        if (expected.str() == actual) return;
        const auto want = SplitLines(expected.str()), got = SplitLines(actual);
        std::size_t i = 0;
        while (i < want.size() && i < got.size() && want[i] == got[i]) ++i;
        ADD_FAILURE() << file << " differs from golden/" << name << " at line " << i + 1 << ":\n  golden: "
                      << (i < want.size() ? want[i] : "<end>") << "\n  actual: " << (i < got.size() ? got[i] : "<end>");
    }
};

}  // namespace vt::test
