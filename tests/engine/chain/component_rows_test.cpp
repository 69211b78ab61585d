// The description of the component sheets against the sheets the builders
// make: a table that drifted from them would misplace every total and column.
#include "engine/chain/component_rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "tests/engine/chain/chain_fixture.h"

namespace vt::test {
namespace {

TEST(ComponentRows, ClassifiesRows) {
    struct Case { double seq; bool component, bandTotal, total; size_t band; };
    const Case cases[] = {
        {1, true, false, false, 0},      {17.99, true, false, false, 0}, {18, false, true, true, 0},
        {19, true, false, false, 1},     {27, true, false, false, 1},    {28, false, true, true, 1},
        {32.99, true, false, false, 2},  {33, false, true, true, 2},     {34, false, false, true, 2},
        {0, false, false, false, 0},     {35, false, false, false, 2},   {36, false, false, false, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seq);
        EXPECT_EQ(IsComponentRow(C(c.seq)), c.component);
        EXPECT_EQ(IsBandTotalRow(C(c.seq)), c.bandTotal);
        EXPECT_EQ(IsTotalRow(C(c.seq)), c.total);
        if (c.seq > 0 && c.seq <= 34) {
            EXPECT_EQ(BandIndexOf(C(c.seq)), c.band);
        }
    }
    EXPECT_EQ(TotalRowList(true), "18,28,33,34");
    EXPECT_EQ(EditorHiddenRows(ShapeOf("Fp2")), "0,18,28,33,34,36");
    EXPECT_EQ(EditorHiddenRows(ShapeOf("E")), "0,18,28,33,34");
    EXPECT_THROW(BandOfPart(2), std::invalid_argument);
    EXPECT_THROW(ShapeOf("J"), std::invalid_argument);
}

using ComponentRowsBuilt = SeededChainTest;

// Each built sheet carries the table's total rows with their captions, its
// Medicare number where the table says so, and rows 35/36 only where it says so.
TEST_F(ComponentRowsBuilt, BuiltSheetsMatchTheTable) {
    const auto sheets = Sheets();
    ASSERT_FALSE(sheets.empty());
    for (const auto& sheet : sheets) {
        SCOPED_TRACE(sheet);
        const ComponentSheetShape& shape = ShapeOf(sheet);
        EXPECT_TRUE(shape.componentRows);
        const auto names = FieldNames(sheet);
        ASSERT_GT(names.size(), 3u);
        EXPECT_EQ(names[3] == "MedicareNo", shape.medicareNo);
        for (const auto& b : kComponentBands)
            EXPECT_EQ(Cell(sheet, b.totalRow, "Component").ToText(), b.totalCaption);
        const auto seqs = SeqNums(sheet);
        const bool has36 = std::find(seqs.begin(), seqs.end(), C(kUnitCostRow)) != seqs.end();
        EXPECT_EQ(has36, shape.costRows);
        EXPECT_NE(std::find(seqs.begin(), seqs.end(), C(kFixedLineRow)), seqs.end());
    }
}

}  // namespace
}  // namespace vt::test
