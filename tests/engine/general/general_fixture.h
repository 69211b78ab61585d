// Shared ground of the tests of the general worksheets: the cost-centre
// editor's list edits, sheet prints under a fixed clock, and print files and
// query results read back.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/report.h"
#include "tests/support/crf_fixture.h"
#include "tests/support/db_checks.h"
#include "tests/support/print_files.h"

namespace vt::test {

inline Currency Money(double d) { return Currency::FromDouble(d); }
inline Value Cur(double d) { return Value(Money(d)); }

// The cost-centre editor's Add and Delete, as far as the list goes: it is
// renumbered by its own offsets and the row added or removed; the caller then
// tells the worksheet. A restored number pushes the later ones of its group up.
inline void AddToCostCentreList(Currency cc, Currency line, const std::string& name) {
    const Value from(cc), to(cc.Floor() + Currency::FromInt(1));
    Db().Execute("UPDATE CostCenters SET LineNum = CCur(LineNum+10000.01), CCNum = CCur(CCNum+10000.01) "
                 "WHERE (CCNum>=? And CCNum<?);", {from, to});
    Db().Execute("UPDATE CostCenters SET LineNum = CCur(LineNum-10000), CCNum = CCur(CCNum-10000) "
                 "WHERE (CCNum>=10000);");
    Db().Execute("INSERT INTO CostCenters (LineNum, CCNum, CCName) VALUES (?, ?, ?);", {Value(line), from, Value(name)});
}

inline void DeleteFromCostCentreList(Currency cc) {
    const Value from(cc), to(cc.Floor() + Currency::FromInt(1));
    Db().Execute("DELETE FROM CostCenters WHERE CCNum = ?;", {from});
    Db().Execute("UPDATE CostCenters SET LineNum = CCur(LineNum+1000), CCNum = CCur(CCNum+1000) "
                 "WHERE CCNum > ? And CCNum < ?;", {from, to});
    Db().Execute("UPDATE CostCenters SET LineNum = CCur(LineNum-1000.01), CCNum = CCur(CCNum-1000.01) "
                 "WHERE CCNum > 1000;");
}

// The rows of a SELECT as text: fields joined by "=", rows by blanks.
inline std::string Join(const std::string& sql) {
    std::string out;
    for (const auto& row : Rows(sql)) {
        if (!out.empty()) out += ' ';
        for (size_t i = 0; i < row.size(); ++i) out += (i ? "=" : "") + row[i];
    }
    return out;
}

// How many lines hold the text; "\f" counts the pages.
inline int CountLines(const std::vector<std::string>& lines, const std::string& text) {
    int n = 0;
    for (const auto& l : lines) n += l.find(text) != std::string::npos;
    return n;
}

// The page headers carry the moment of printing, which the golden files keep.
class SheetPrintTest : public CrfTest {
protected:
    explicit SheetPrintTest(DateTime moment = *DateTime::FromParts(2007, 3, 15, 14, 5)) : clock_(moment) {}

    // Prints a sheet alone, into its own file, and gives that file's lines.
    std::vector<std::string> Printed(void (*print)(int&), const std::string& file) {
        int fileNum = 0;
        print(fileNum);
        return PrintLines(ReadFile(file));
    }
    void ExpectGolden(const std::string& file, const std::string& golden) {
        test::ExpectGolden(ReadFile(file), "engine/general/golden/" + golden);
    }
    // A sheet printed alone: its own file as golden, sent as one document of
    // landscape pages (the golden file holds the pages and their orientation).
    void ExpectPrintedAlone(void (*print)(int&), const std::string& file, const std::string& golden) {
        Printed(print, file);
        ExpectGolden(file, golden);
        EXPECT_EQ(printer.endDocs, 1);
    }

private:
    FixedPrintClock clock_;
};

// D, I and J keep golden files printed at another moment.
class LaterSheetPrintTest : public SheetPrintTest {
protected:
    LaterSheetPrintTest() : SheetPrintTest(*DateTime::FromParts(2007, 3, 15, 14, 30)) {}
};

}  // namespace vt::test
