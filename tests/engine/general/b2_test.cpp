// Worksheet B-2: the roll-forward of Parts I and II and the allocation of Part
// III, on the sheet's worked cases.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "engine/general/b2.h"
#include "platform/db/db.h"
#include "store/services.h"
#include "tests/support/crf_fixture.h"
#include "tests/support/db_checks.h"

namespace vt::test {
namespace {

class CalcB2p1 : public CrfTest {};
class CalcB2p3 : public CrfTest {};

Value Cur(const std::string& text) { return Value(Value(text).ToCurrency()); }

// One field of one row, as text.
std::string At(const std::string& table, const std::string& field, const std::string& seq) {
    return Rows("SELECT " + field + " FROM " + table + " WHERE SeqNum = ?", {Cur(seq)}).at(0).at(0);
}

const std::array<const char*, 8> kCentres{"1", "1.01", "2", "2.01", "3", "3.01", "4", "4.01"};

// Parts I and II follow one procedure over their own table.
struct RollForward {
    const char* table;
    const char* other;
    void (*calc)();
};
const RollForward kRollForwards[] = {{"B2p1", "B2p2", Calc_B2p1}, {"B2p2", "B2p1", Calc_B2p2}};

TEST_F(CalcB2p1, RollsTheAssetRowsForwardAndTotalsEveryColumn) {
    for (const RollForward& p : kRollForwards) {
        const std::string t = p.table;
        db().Execute("UPDATE " + t + " SET BegBalance = 1000, Purchases = 100.1, Donation = 19.9, "
                                     "Disposals = 30, DepAssets = 5 WHERE SeqNum = 1");
        const Table twin = Rows("SELECT * FROM " + std::string(p.other) + " ORDER BY SeqNum");
        p.calc();
        EXPECT_EQ(Rows("SELECT * FROM " + std::string(p.other) + " ORDER BY SeqNum"), twin)
            << t << " changed its twin";
        EXPECT_EQ(Rows("SELECT TotAcquisitions, EndBalance FROM " + t + " WHERE SeqNum = 1"), (Table{{"120", "1090"}}));
        const std::string columns = "BegBalance, Purchases, Donation, TotAcquisitions, Disposals, EndBalance, DepAssets";
        const Table row1 = Rows("SELECT " + columns + " FROM " + t + " WHERE SeqNum = 1");
        EXPECT_EQ(Rows("SELECT " + columns + " FROM " + t + " WHERE SeqNum = 7"), row1) << t;
        EXPECT_EQ(Rows("SELECT " + columns + " FROM " + t + " WHERE SeqNum = 9"), row1) << t;

        // Reconciling items come off the subtotal; their ending balance is
        // rolled forward like any asset row's.
        db().Execute("UPDATE " + t + " SET BegBalance = 90 WHERE SeqNum = 8");
        p.calc();
        EXPECT_EQ(Rows("SELECT BegBalance, EndBalance FROM " + t + " WHERE SeqNum IN (8, 9) ORDER BY SeqNum"),
                  (Table{{"90", "90"}, {"910", "1000"}})) << t;
    }
}

TEST_F(CalcB2p1, NullInputsCountAsZero) {
    for (const RollForward& p : kRollForwards) {
        const std::string t = p.table;
        db().Execute("UPDATE " + t + " SET BegBalance = NULL, Purchases = NULL, Donation = 5, Disposals = NULL "
                                     "WHERE SeqNum = 2");
        db().Execute("UPDATE " + t + " SET Disposals = NULL, BegBalance = 40 WHERE SeqNum = 3");
        p.calc();
        EXPECT_EQ(Rows("SELECT SeqNum, BegBalance, TotAcquisitions, Disposals, EndBalance FROM " + t +
                       " WHERE SeqNum IN (2, 3, 7, 9) ORDER BY SeqNum"),
                  (Table{{"2", "Null", "5", "Null", "5"}, {"3", "40", "0", "Null", "40"}, {"7", "40", "5", "0", "45"},
                         {"9", "40", "5", "0", "45"}})) << t;
    }
}

// Part III: gross assets of the eight cost-centre rows and the three amounts
// of row 5, against the ratios, the whole-dollar shares and row 5's Total1.
struct Allocation {
    const char* name;
    std::array<int, 8> gross;
    std::array<int, 3> toAllocate;  // insurance, taxes, other capital-related
    std::array<double, 8> ratios;
    std::array<std::array<int, 8>, 3> shares;
    int total1;
};

// Each case: gross assets; to allocate; ratios; insurance, taxes and other
// capital-related shares; row 5's Total1.
const Allocation kAllocations[] = {
    {"ratios 0.6, 0.3 and 0.1 leave no remainder", {600, 0, 300, 0, 100, 0, 0, 0}, {1000, 10, 0},
     {0.6, 0, 0.3, 0, 0.1, 0, 0, 0}, {{{600, 0, 300, 0, 100}, {6, 0, 3, 0, 1}, {}}}, 1010},
    // Taxes: shares of 1 each overshoot by 1, taken back from row 1.
    {"thirds: the remainder goes to the first row with a share", {100, 0, 100, 0, 100, 0, 0, 0}, {100, 2, 0},
     {0.333333, 0, 0.333333, 0, 0.333333, 0, 0, 0}, {{{34, 0, 33, 0, 33}, {0, 0, 1, 0, 1}, {}}}, 102},
    {"a remainder larger than the rows with a share stays unallocated", {44, 8, 8, 8, 8, 8, 8, 8}, {0, 0, 3},
     {0.44, 0.08, 0.08, 0.08, 0.08, 0.08, 0.08, 0.08}, {{{}, {}, {2}}}, 2},
    {"all gross assets zero: nothing is allocated", {}, {500, 300, 200}, {}, {}, 0},
    // Only rows with a positive share take a remainder step, so the rounding
    // remainder of a negative amount is never placed.
    {"a negative amount is shared out and its remainder stays", {100, 0, 100, 0, 100, 0, 0, 0}, {-100, 0, 0},
     {0.333333, 0, 0.333333, 0, 0.333333, 0, 0, 0}, {{{-33, 0, -33, 0, -33}, {}, {}}}, -99},
};

TEST_F(CalcB2p3, AllocatesRowFiveByTheRatioOfGrossAssets) {
    const char* kShareColumns[] = {"Insurance", "Taxes", "CapRelated"};
    const char* kCopyColumns[] = {"Insurance2", "Taxes2", "CapRelated2"};
    for (const Allocation& a : kAllocations) {
        SCOPED_TRACE(a.name);
        for (size_t i = 0; i < kCentres.size(); ++i)
            db().Execute("UPDATE B2p3 SET GrossAssets = ? WHERE SeqNum = ?", {Value(a.gross[i]), Cur(kCentres[i])});
        db().Execute("UPDATE B2p3 SET Insurance = ?, Taxes = ?, CapRelated = ? WHERE SeqNum = 5",
                     {Value(a.toAllocate[0]), Value(a.toAllocate[1]), Value(a.toAllocate[2])});
        Calc_B2p3();
        for (size_t i = 0; i < kCentres.size(); ++i) {
            const std::string seq = kCentres[i];
            EXPECT_DOUBLE_EQ(db().Scalar("SELECT Ratio FROM B2p3 WHERE SeqNum = ?", {Cur(seq)}).ToDouble(),
                             a.ratios[i])
                << "row " << seq;
            int total1 = 0;
            for (int k = 0; k < 3; ++k) {
                EXPECT_EQ(At("B2p3", kShareColumns[k], seq), std::to_string(a.shares[k][i]))
                    << kShareColumns[k] << " of row " << seq;
                EXPECT_EQ(At("B2p3", kCopyColumns[k], seq), std::to_string(a.shares[k][i]))
                    << kCopyColumns[k] << " of row " << seq;
                total1 += a.shares[k][i];
            }
            EXPECT_EQ(At("B2p3", "Total1", seq), std::to_string(total1)) << "row " << seq;
        }
        // Row 5 keeps the amounts it asked for and shows them in the summary.
        EXPECT_EQ(Rows("SELECT Ratio, Insurance, Taxes, CapRelated, Insurance2, Taxes2, CapRelated2, Total1 "
                             "FROM B2p3 WHERE SeqNum = 5"),
                  (Table{{"1", std::to_string(a.toAllocate[0]), std::to_string(a.toAllocate[1]),
                          std::to_string(a.toAllocate[2]), std::to_string(a.toAllocate[0]),
                          std::to_string(a.toAllocate[1]), std::to_string(a.toAllocate[2]),
                          std::to_string(a.total1)}}));
    }
}

TEST_F(CalcB2p3, TotalsBothHalvesOfTheSheet) {
    // row, gross assets, capitalised leases, depreciation, lease, interest
    const char* rows[][6] = {
        {"1", "700", "100", "50", "10", "0"}, {"1.01", "0", "0", "0", "0", "25.5"},
        {"2", "300", "0", "20", "0", "0"},    {"2.01", "0", "0", "0", "0", "4.5"},
        {"3", "150", "50", "0", "5", "0"},
    };
    for (auto& r : rows)
        db().Execute("UPDATE B2p3 SET GrossAssets = ?, CapLeases = ?, Depreciation = ?, Lease = ?, Interest = ? "
                     "WHERE SeqNum = ?",
                     {Cur(r[1]), Cur(r[2]), Cur(r[3]), Cur(r[4]), Cur(r[5]), Cur(r[0])});
    db().Execute("UPDATE B2p3 SET GrossAssets = NULL, Depreciation = NULL WHERE SeqNum = 4");
    db().Execute("UPDATE B2p3 SET Insurance = 1000, Taxes = 0, CapRelated = 0 WHERE SeqNum = 5");
    Calc_B2p3();

    // Gross assets for the ratio: 600 + 300 + 100 = 1000; a Null counts as 0.
    EXPECT_EQ(Rows("SELECT SeqNum, RatioAssets, Insurance, Total1, Total2 FROM B2p3 ORDER BY SeqNum"),
              (Table{{"1", "600", "600", "600", "660"}, {"1.01", "0", "0", "0", "25.5"}, {"2", "300", "300", "300", "320"},
                     {"2.01", "0", "0", "0", "4.5"}, {"3", "100", "100", "100", "105"}, {"3.01", "0", "0", "0", "0"},
                     {"4", "0", "0", "0", "0"}, {"4.01", "0", "0", "0", "0"}, {"5", "1000", "1000", "1000", "1115"}}));
    EXPECT_EQ(Rows("SELECT GrossAssets, CapLeases, Depreciation, Lease, Interest FROM B2p3 WHERE SeqNum = 5"),
              (Table{{"1150", "150", "70", "15", "30"}}));
}

}  // namespace
}  // namespace vt::test
