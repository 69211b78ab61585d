// The print of worksheet D: Parts A, B and C.
#include <string>
#include <vector>

#include "engine/general/d.h"
#include "tests/engine/general/dij_support.h"

namespace vt::test {
namespace {

class PrintD : public SheetPrintTest {
protected:
    std::vector<std::string> Printed() {
        int fn = 0;
        Print_D(fn);
        return SplitLines(ReadFile("D.prt"));
    }
};

TEST_F(PrintD, AllThreeParts) {
    db().Execute("INSERT INTO DpB (SeqNum, LineNum, ExpAcct, Amount, AmtAllowable) VALUES "
                 "(1, 4, 'Employee Benefits', 125000, 98500.4), (2, 30.01, 'Interest Income', 4500, NULL), "
                 "(3, 12, 'Data Processing', -1200, -1200)");
    Calc_DpB();
    db().Execute("UPDATE DpA SET Answer = 'Y'");
    db().Execute("INSERT INTO DpC (SeqNum, RelatedOrg, Type, OwnCntl, Explanation) VALUES "
                 "(1, 'Northfield Supply Co.', 'Medical supplies', 'Ownership', 'Owned 60% by the chain'), "
                 "(2, 'Harbor Leasing', NULL, 'Control', NULL)");
    int fn = 0;
    Print_D(fn);
    ExpectGolden("D.prt", "D_full.prt");
    EXPECT_EQ(printer.endDocs, 1);
}

TEST_F(PrintD, NewReportPrintsPartsAAndBOnly) {
    const auto lines = Printed();
    EXPECT_EQ(PageCount(lines), 1);
    EXPECT_EQ(CountLines(lines, "Part B - Costs incurred"), 1);
    EXPECT_EQ(CountLines(lines, "Part C"), 0);
    // The totals row follows the dash line and has no line number.
    ASSERT_GE(lines.size(), 2u);
    const std::string& totals = lines[lines.size() - 1];
    const std::string& dashes = lines[lines.size() - 2];
    EXPECT_EQ(dashes, std::string(57, ' ') + std::string(12, '-') + " " + std::string(12, '-') + " " +
                          std::string(12, '-'));
    EXPECT_EQ(totals.substr(0, 15), "100" + std::string(12, ' ')) << totals;
    EXPECT_EQ(totals.substr(15, 6), "TOTALS");
}

TEST_F(PrintD, MissingQuestionRowPrintsPartABlank) {
    const auto full = Printed();
    db().Execute("DELETE FROM DpA");
    const auto blank = Printed();
    ASSERT_EQ(blank.size(), full.size());
    int differing = 0;
    for (std::size_t i = 0; i < full.size(); ++i) {
        if (full[i] == blank[i]) continue;
        ++differing;
        EXPECT_NE(full[i].find("Are there any costs"), std::string::npos);
        EXPECT_EQ(blank[i], "");
    }
    EXPECT_EQ(differing, 1);
}

TEST_F(PrintD, LongPartBContinuesWithItsHeadingOnANewPage) {
    for (int i = 1; i <= 60; ++i)
        db().Execute("INSERT INTO DpB (SeqNum, LineNum, ExpAcct, Amount, AmtAllowable) VALUES (?, 5, ?, 10, 5)",
                     {Value(i), Value("Account " + std::to_string(i))});
    Calc_DpB();
    const auto lines = Printed();
    EXPECT_EQ(PageCount(lines), 2);
    EXPECT_EQ(CountLines(lines, ", continued"), 1);
    EXPECT_EQ(CountLines(lines, "Statement of Costs of Services from Related Organizations"), 2);
    EXPECT_EQ(CountLines(lines, "Part B - Costs incurred"), 2);
    EXPECT_EQ(CountLines(lines, "Account and Amount"), 2);
    // On the second page the title, a blank line and the heading come right
    // after the page header.
    std::size_t second = 0;
    for (std::size_t i = 1; i < lines.size(); ++i)
        if (!lines[i].empty() && lines[i][0] == '\f') second = i;
    std::size_t title = second;
    while (title < lines.size() && lines[title].rfind("Statement of Costs", 0) != 0) ++title;
    ASSERT_LT(title + 2, lines.size());
    EXPECT_EQ(lines[title + 1], "");
    EXPECT_EQ(lines[title + 2].rfind("Part B - Costs incurred", 0), 0u);
    EXPECT_EQ(CountLines(lines, "Account 60"), 1);
}

}  // namespace
}  // namespace vt::test
