// The print of worksheet J, the portrait balance sheet.
#include <string>
#include <vector>

#include "engine/general/j.h"
#include "tests/engine/general/dij_support.h"

namespace vt::test {
namespace {

class PrintJ : public SheetPrintTest {};

TEST_F(PrintJ, CalculatedBalanceSheet) {
    db().Execute("UPDATE J SET Col_1 = CCur(LineNum * 1000) WHERE CCNum <> 0");
    db().Execute("UPDATE J SET Col_1 = -4000 WHERE LineNum IN (6, 13)");
    db().Execute("UPDATE J SET Col_1 = NULL WHERE LineNum = 65");
    Calc_J();
    int fn = 0;
    Print_J(fn);
    ExpectGolden("J.prt", "J_calculated.prt");
    ASSERT_FALSE(printer.pages.empty());
    EXPECT_EQ(printer.pages.front().orientation, 1);
}

TEST_F(PrintJ, LongAssetsContinueOnANewPageWithTheirHeadings) {
    for (int i = 1; i <= 50; ++i) {
        const Currency n = Currency::FromScaled(2130000 + i * 100);
        db().Execute("INSERT INTO CostCenters (LineNum, CCNum, CCName) VALUES (?, ?, ?)",
                     {Value(n - Currency::FromInt(200)), Value(n), Value("Sub-account " + std::to_string(i))});
        Currency arg = n;
        Insert_CC_J(arg);
    }
    int fn = 0;
    Print_J(fn);
    const auto lines = SplitLines(ReadFile("J.prt"));
    // Two pages of assets, then the liabilities and capital on a page of their own.
    EXPECT_EQ(PageCount(lines), 3);
    EXPECT_EQ(CountLines(lines, ", continued"), 2);
    EXPECT_EQ(CountLines(lines, "Balance Sheet For Home Office"), 3);
    EXPECT_EQ(CountLines(lines, std::string(24, ' ') + "Assets"), 2);
    EXPECT_EQ(CountLines(lines, "Liabilities and Capital"), 2);  // the heading and line 63
    int lastFeed = -1, liabilities = -1;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        if (!lines[i].empty() && lines[i][0] == '\f') lastFeed = i;
        if (lines[i].find("Current Liabilities:") != std::string::npos) liabilities = i;
    }
    EXPECT_GT(liabilities, lastFeed);
}

}  // namespace
}  // namespace vt::test
