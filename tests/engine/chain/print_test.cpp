// Prints of worksheets E and E-1: value columns in blocks of nine, each block
// of a group of rows on a page of its own.
#include "engine/chain/component_sheet.h"
#include "engine/chain/e.h"
#include "engine/chain/e1.h"
#include "store/report.h"
#include "tests/engine/chain/chain_fixture.h"

namespace vt::test {
namespace {

// The third heading line ("Chain Components"), or a line below it.
std::string HeadingLine(const std::vector<std::string>& lines, size_t below) {
    for (size_t i = 0; i + below < lines.size(); ++i)
        if (lines[i].rfind(std::string(19, ' ') + "Chain Components", 0) == 0) return lines[i + below];
    return "";
}

std::string HeadingLine(const std::string& page, size_t below) { return HeadingLine(PrintLines(page), below); }

class PrintE : public ChainTest {};
class PrintE1 : public ChainTest {};

TEST_F(PrintE, TwelveColumnsPrintAsTwoBlocks) {
    SeedComponents();
    SetCell("E", 1, "Col_1", Value(C(125000)));
    SetCell("E", 1, "Col_10", Value(C(-4500.5)));
    SetCell("E", 2, "Col_2", Value::Null());
    SetCell("E", 20, "Col_9", Value(C(1234567)));
    SetCell("E", 32.01, "Col_11", Value(C(88)));
    Calc_E();
    int fn = 0;
    Print_E(fn);
    EXPECT_EQ(fn, 0);
    ExpectGolden("E.prt", "E_two_blocks.prt");
    EXPECT_EQ(printer.documents.size(), 1u);
}

TEST_F(PrintE1, ElevenColumnsPrintAsTwoBlocksWithTheTotalInTheSecond) {
    SeedComponents();
    for (int cc = 11; cc <= 20; ++cc) AddChosenCCColumn("E1", Currency::FromInt(cc));
    SetCell("E1", 1, "Col_1", Value(C(1000)));
    SetCell("E1", 1, "Col_10", Value(C(2500.75)));
    SetCell("E1", 19, "Col_9", Value(C(300)));
    SetCell("E1", 29, "Col_2", Value::Null());
    Calc_E1();
    int fn = 0;
    Print_E1(fn);
    ExpectGolden("E1.prt", "E1_two_blocks.prt");
}

TEST_F(PrintE1, TheTotalColumnAloneSitsAtTheFirstPlace) {
    Calc_E1();
    int fn = 0;
    Print_E1(fn);
    const auto lines = PrintLines(ReadFile("E1.prt"));
    EXPECT_EQ(HeadingLine(lines, 0).find("Total"), 63u);          // column 64
    EXPECT_EQ(HeadingLine(lines, 1), std::string(64, ' ') + "36");  // column 65
    for (const auto& l : lines) {
        if (l.find("Grand Total") != std::string::npos) {
            EXPECT_EQ(l.substr(58), "            0");  // amounts from column 59
        }
    }
}

TEST_F(PrintE, MoreRowsThanAPageRunGroupByGroupAndBlockByBlock) {
    for (int i = 0; i < 80; ++i) AddA(3, 1 + i / 100.0, "Clinic " + std::to_string(i));
    RebuildAll();
    int fn = 0;
    Print_E(fn);
    const auto pages = Pages("E.prt");
    ASSERT_EQ(pages.size(), 4u);
    // The first row line of a page, and which block the page holds.
    auto firstRow = [](const std::string& page) {
        for (const auto& l : PrintLines(page))
            if (l.find("Clinic ") != std::string::npos || l.find("Total (lines") != std::string::npos) return l.substr(0, 30);
        return std::string();
    };
    auto secondBlock = [](const std::string& page) {
        return HeadingLine(page, 0).find("Total") != std::string::npos;
    };
    EXPECT_FALSE(secondBlock(pages[0]));
    EXPECT_TRUE(secondBlock(pages[1]));
    EXPECT_FALSE(secondBlock(pages[2]));
    EXPECT_TRUE(secondBlock(pages[3]));
    EXPECT_EQ(firstRow(pages[0]), firstRow(pages[1]));
    EXPECT_EQ(firstRow(pages[2]), firstRow(pages[3]));
    EXPECT_NE(firstRow(pages[0]), firstRow(pages[2]));
}

}  // namespace
}  // namespace vt::test
