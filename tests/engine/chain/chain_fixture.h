// A report with several components in every part of worksheet A and the
// component sheets built from them.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/value/value.h"
#include "tests/support/crf_fixture.h"
#include "tests/support/print_files.h"

namespace vt {
inline void PrintTo(const Currency& c, std::ostream* os) { *os << c.ToText(); }
}  // namespace vt

namespace vt::test {

inline Currency C(double d) { return Currency::FromDouble(d); }
inline std::vector<Currency> Currencies(std::initializer_list<double> ds) {
    std::vector<Currency> out;
    for (double d : ds) out.push_back(C(d));
    return out;
}

class ChainTest : public CrfTest {
protected:
    // Worksheet A lines. Part III: 1, 2, 3, 3.01, 17; Part IV: 1, 2, 8 and its
    // own line 9; Part V: 1, 2, 4, 4.01. Then every component sheet is rebuilt.
    void SeedComponents();
    void AddA(int part, double line, const std::string& name, const std::string& medicareNo = "");
    // The A editors: their own renumbering of Ap3/Ap4/Ap5, then the line operation.
    void EditorInsert(int part, double line);
    void EditorDelete(int part, double line);

    void Rebuild(const std::string& sheet);
    void RebuildAll();
    // The component sheets of this report (every one whose table exists).
    std::vector<std::string> Sheets();

    Value Cell(const std::string& sheet, double seq, const std::string& field);
    void SetCell(const std::string& sheet, double seq, const std::string& field, const Value& v);
    std::vector<std::string> FieldNames(const std::string& sheet);
    std::vector<Currency> SeqNums(const std::string& sheet);
    // Row 0 of the value columns from field `first` on (Null as -1).
    std::vector<Currency> Row0(const std::string& sheet, int first = 4);
    // Every value cell of the rows above 0, from field `first` on, gets
    // k * 1000 + SeqNum for its k-th column: each cell says where it came from.
    void Stamp(const std::string& sheet, int first = 4);
    // Every field of the rows `where` picks, a row a text, in SeqNum order.
    std::vector<std::string> Snapshot(const std::string& sheet, const std::string& where = "");

    // A print file of the report's folder against golden/<golden>.
    void ExpectGolden(const std::string& file, const std::string& golden) {
        test::ExpectGolden(ReadFile(file), "engine/chain/golden/" + golden);
    }
    std::vector<std::string> Pages(const std::string& file) { return PrintPages(ReadFile(file)); }

    FixedPrintClock clock{*DateTime::FromParts(2007, 3, 15, 9, 30)};
};

// For suites whose every test starts from the seeded components.
class SeededChainTest : public ChainTest {
protected:
    void SetUp() override {
        ChainTest::SetUp();
        SeedComponents();
    }
};

}  // namespace vt::test
