// Print of worksheet G: Part I, then Part II, each block of nine print columns
// through all of a part's rows before the next block.
#include "engine/chain/g.h"
#include "store/report.h"
#include "tests/engine/chain/chain_fixture.h"

namespace vt::test {
namespace {

class PrintG : public ChainTest {
protected:
    void Pooled(double line, double amount) {
        db().Execute("UPDATE B SET PooledAlloc = ? WHERE LineNum = ?", {Value(C(amount)), Value(C(line))});
    }
    void Calculate() {
        const std::pair<double, double> part1[] = {{1, 5}, {2, 3}, {3, 2}};
        for (const auto& [seq, cost] : part1) SetCell("Gp1", seq, "TotalCost", Value(C(cost)));
        const std::pair<double, double> pooled[] = {{1, 1003}, {1.01, 250}, {5.01, 75}, {11, 500}, {30, 120}, {30.01, -40}};
        for (const auto& [line, amount] : pooled) Pooled(line, amount);
        Calc_Gp1();
        for (const Currency seq : SeqNums("Gp2"))
            if (seq > C(0) && seq < C(34) && seq != C(18) && seq != C(28) && seq != C(33))
                SetCell("Gp2", seq.ToDouble(), "TotalCost", Value(seq + C(10)));
        Calc_Gp2();
    }
    static bool Has(const std::string& page, const std::string& text) { return page.find(text) != std::string::npos; }
};

TEST_F(PrintG, TheStandardColumnsPrintAsTwoBlocksPerPart) {
    SeedComponents();
    Calculate();
    int fn = 0;
    Print_G(fn);
    EXPECT_EQ(fn, 0);
    ExpectGolden("G.prt", "G_two_blocks.prt");
    EXPECT_EQ(printer.documents.size(), 1u);
}

TEST_F(PrintG, APartLongerThanAPagePrintsEachBlockThroughAllItsRows) {
    for (int i = 0; i < 60; ++i) AddA(3, 1 + i / 100.0, "Home " + std::to_string(i));
    RebuildAll();
    int fn = 0;
    Print_G(fn);
    const auto pages = Pages("G.prt");
    ASSERT_EQ(pages.size(), 6u);
    // Part II: block 1 on pages 3-4, block 2 on pages 5-6, each from the first row.
    for (size_t p : {2u, 4u}) {
        EXPECT_TRUE(Has(pages[p], "Health Care Facilities:")) << "page " << p + 1;
        EXPECT_FALSE(Has(pages[p], "Grand Total")) << "page " << p + 1;
        EXPECT_TRUE(Has(pages[p + 1], "Grand Total")) << "page " << p + 2;
    }
    EXPECT_TRUE(Has(pages[3], "Allocation Statistics"));
    EXPECT_FALSE(Has(pages[5], "Allocation Statistics"));
}

}  // namespace
}  // namespace vt::test
