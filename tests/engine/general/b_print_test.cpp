#include <algorithm>
#include <string>
#include <vector>

#include "engine/general/b.h"
#include "print/print.h"
#include "store/report.h"
#include "tests/engine/general/b_sources.h"

namespace vt::test {
namespace {

class PrintB : public SheetPrintTest {};

// The standard list fills the first page up to line 32: line 36 opens the
// second page, after the header and the headings.
TEST_F(PrintB, SmallReportPrintedAlone) {
    SmallReport();
    Calc_B();
    db().Execute("UPDATE B SET MedicareAdj = -1234.56 WHERE LineNum = 29;");
    ExpectPrintedAlone(Print_B, "B.prt", "B.prt");
}

TEST_F(PrintB, IntoTheCallersFileLeavesItOpenAndUncomputedTotalsBlank) {
    int fileNum = print::OpenPrintFile(PathOf("ALL.PRT"));
    const int given = fileNum;
    Print_B(fileNum);
    EXPECT_EQ(fileNum, given);
    EXPECT_TRUE(print::IsPrintFileOpen(fileNum));
    EXPECT_EQ(printer.endDocs, 0);
    EXPECT_EQ(ReadFile("B.prt"), "");
    print::ClosePrintFile(fileNum);

    const std::vector<std::string> lines = PrintLines(ReadFile("ALL.PRT"));
    const std::string blanks(8 * 13, ' ');
    std::vector<std::string> totals;
    for (const std::string& l : lines)
        if (l.find("Sub-Total") != std::string::npos || l.find("Total Expenses") != std::string::npos) totals.push_back(l);
    ASSERT_EQ(totals.size(), 5u);
    EXPECT_EQ(totals[4], "100     Total Expenses" + std::string(50 - 22, ' ') + blanks);
    // A cost-centre line shows its expenses of 0 and blanks for the rest.
    const std::string line7 = "  7     Insurance Premiums" + std::string(50 - 26, ' ') + "            0" +
                              std::string(7 * 13, ' ');
    EXPECT_NE(std::find(lines.begin(), lines.end(), line7), lines.end());
}

}  // namespace
}  // namespace vt::test
