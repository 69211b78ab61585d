// Shared ground of the tests of worksheets D, I and J: print files split into
// lines, and golden print files written under a fixed clock.
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

// The rows of a SELECT as text: fields joined by "=", rows by blanks.
inline std::string Join(db::Database& db, const std::string& sql) {
    std::string out;
    for (auto rs = db.OpenRecordset(sql); !rs.Eof(); rs.MoveNext()) {
        if (!out.empty()) out += ' ';
        for (int i = 0; i < rs.FieldCount(); ++i) out += (i ? "=" : "") + rs.Field(i).ToText();
    }
    return out;
}

// The lines of a print file without their CR LF ends.
inline std::vector<std::string> SplitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; at < bytes.size(); at = end + 2) {
        end = bytes.find("\r\n", at);
        if (end == std::string::npos) end = bytes.size();
        lines.push_back(bytes.substr(at, end - at));
    }
    return lines;
}

// How many lines hold the text; "\f" counts the pages.
inline int CountLines(const std::vector<std::string>& lines, const std::string& text) {
    int n = 0;
    for (const auto& l : lines) n += l.find(text) != std::string::npos;
    return n;
}

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
    std::vector<std::string> Printed(void (*print)(int&), const std::string& file) {
        int fn = 0;
        print(fn);
        return SplitLines(ReadFile(file));
    }
    // Compares a print file of the report's folder with golden/<name> byte for
    // byte; VT_WRITE_GOLDEN=1 rewrites the golden file from it.
    void ExpectGolden(const std::string& file, const std::string& name) const {
        const std::string actual = ReadFile(file);
        const auto golden = std::filesystem::path(__FILE__).parent_path() / "golden" / name;
        if (std::getenv("VT_WRITE_GOLDEN")) std::ofstream(golden, std::ios::binary) << actual;
        std::ifstream in(golden, std::ios::binary);
        ASSERT_TRUE(in) << "no golden file " << golden;
        std::ostringstream expected;
        expected << in.rdbuf();
        if (actual == expected.str()) return;
        const auto got = SplitLines(actual), want = SplitLines(expected.str());
        std::size_t i = 0;
        while (i < got.size() && i < want.size() && got[i] == want[i]) ++i;
        ADD_FAILURE() << file << " differs from golden/" << name << " at line " << i + 1 << ":\n  "
                      << (i < got.size() ? got[i] : "<end>") << "\n  " << (i < want.size() ? want[i] : "<end>");
    }
};

}  // namespace vt::test
