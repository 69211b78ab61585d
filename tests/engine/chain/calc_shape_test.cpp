// How much the chain calculations write: each row of a sheet a few times at
// most, whatever the number of columns, so that the work grows with the rows
// of the report and not with its rows times its columns.
#include <sqlite3.h>

#include "engine/chain/component_sheet.h"
#include "engine/chain/e1.h"
#include "engine/chain/f.h"
#include "engine/chain/f1.h"
#include "store/report.h"
#include "tests/engine/chain/chain_fixture.h"

namespace vt::test {
namespace {

class CalcShape : public ChainTest {
protected:
    struct Written {
        long long rows;     // rows of F-1 Part I below its row 35
        long long changes;  // rows the calculations wrote, each rewrite counted again
    };

    // A report with 12 components and 5 E-1 and F-1 columns per scale, every
    // statistic and cost filled.
    void Fill(int scale) {
        for (int i = 0; i < 8 * scale; ++i) AddA(3, 1 + i / 40 + (i % 40) * 0.01, "Facility " + std::to_string(i));
        for (int i = 0; i < 2 * scale; ++i) AddA(4, 1 + i * 0.01, "Service " + std::to_string(i));
        for (int i = 0; i < 2 * scale; ++i) AddA(5, 1 + i * 0.01, "Region " + std::to_string(i));
        RebuildAll();
        for (int k = 0; k < 5 * scale; ++k) {
            AddF1Column(C(11 + k));
            AddChosenCCColumn("E1", C(11 + k));
        }
        const char* const components = " WHERE SeqNum NOT IN (0,18,28,33,34,35,36);";
        for (const char* sheet : {"F1p2", "Fp2", "E1"}) {
            const auto fields = FieldNames(sheet);
            const size_t first = std::string(sheet) == "Fp2" ? 3 : 4;
            for (size_t k = first; k + 1 < fields.size(); ++k) {
                const std::string f = fields[k];
                db().Execute("UPDATE " + std::string(sheet) + " SET " + f + " = (CAST(SeqNum * 100 AS INTEGER) + " +
                             std::to_string(k) + ") % 13 + 1" + components);
                if (std::string(sheet) != "E1") SetCell(sheet, 35, f, Value(1000.0 + 3.37 * static_cast<double>(k)));
            }
        }
    }

    // Rows E-1, F and F-1 write, each rewrite counted again.
    long long Calculate() {
        const long long before = sqlite3_total_changes64(db().Handle());
        Calc_E1();
        Calc_Fp2();
        Calc_Fp1();
        Calc_F1p2();
        Calc_F1p1();
        return sqlite3_total_changes64(db().Handle()) - before;
    }

    // The report of that scale calculated. Undone after.
    Written At(int scale) {
        db().Begin();
        Fill(scale);
        const long long changes = Calculate();
        const Written w{static_cast<long long>(SeqNums("F1p1").size()) - 1, changes};
        db().Rollback();
        return w;
    }
};

TEST_F(CalcShape, RowsAreWrittenAFewTimesEachWhateverTheColumns) {
    const Written one = At(1), two = At(2);
    ASSERT_GT(two.rows, one.rows);
    for (const Written& w : {one, two}) {
        SCOPED_TRACE(w.rows);
        // Five sheets of about the same rows: each row written at most twice in each.
        EXPECT_LE(w.changes, 10 * w.rows);
    }
    // Twice the components and twice the columns: about twice the writes.
    const double rowsGrowth = static_cast<double>(two.rows) / static_cast<double>(one.rows);
    EXPECT_LE(static_cast<double>(two.changes) / static_cast<double>(one.changes), 1.1 * rowsGrowth);
}

// Calculating again what is already calculated rewrites no row, so that a
// recalculation after one typed figure costs only the rows that figure moves.
TEST_F(CalcShape, ASecondCalculationOfTheSameFiguresWritesNothing) {
    db().Begin();
    Fill(1);
    ASSERT_GT(Calculate(), 0);
    EXPECT_EQ(Calculate(), 0);
    SetCell("F1p2", 1, FieldNames("F1p2")[4], Value(100.0));
    const long long moved = Calculate();
    EXPECT_GT(moved, 0);
    // F-1's rows only; E-1 and F stay as they were.
    EXPECT_LE(moved, static_cast<long long>(SeqNums("F1p1").size() + SeqNums("F1p2").size()));
    db().Rollback();
}

}  // namespace
}  // namespace vt::test
