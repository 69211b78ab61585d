// The print of worksheet B-2, before and after calculation, against golden
// print files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/general/b2.h"
#include "platform/db/db.h"
#include "print/print.h"
#include "tests/support/crf_fixture.h"

namespace vt {
namespace {

namespace fs = std::filesystem;

// Compares print-file bytes with golden/<name>; VT_WRITE_GOLDEN=1 rewrites the golden file.
void ExpectGolden(const std::string& actual, const std::string& name) {
    const fs::path golden = fs::path(__FILE__).parent_path() / "golden" / name;
    if (std::getenv("VT_WRITE_GOLDEN")) std::ofstream(golden, std::ios::binary) << actual;
    std::ifstream in(golden, std::ios::binary);
    if (!in) {
        ADD_FAILURE() << "no golden file " << golden;
        return;
    }
    std::ostringstream expected;
    expected << in.rdbuf();
    if (expected.str() == actual) return;
    std::istringstream e(expected.str()), a(actual);
    std::string el, al;
    int line = 1;
    while (std::getline(e, el) && std::getline(a, al) && el == al) ++line;
    ADD_FAILURE() << name << " differs at line " << line << "\n  golden: [" << el << "]\n  actual: [" << al << "]";
}

class PrintB2 : public test::CrfTest {
protected:
    void SetUp() override {
        test::CrfTest::SetUp();
        print::SetPrintClock([] { return *DateTime::FromParts(2007, 3, 15, 9, 30); });
    }
    void TearDown() override {
        print::SetPrintClock(nullptr);
        test::CrfTest::TearDown();
    }
    std::string PrintOwnFile() {
        int fileNum = 0;
        Print_B2(fileNum);
        return ReadFile("B2.prt");
    }
};

// Before any calculation the computed columns print blank.
TEST_F(PrintB2, FreshWorksheetMatchesGolden) { ExpectGolden(PrintOwnFile(), "B2_fresh.prt"); }

TEST_F(PrintB2, CalculatedWorksheetMatchesGolden) {
    for (const char* t : {"B2p1", "B2p2"}) {
        const std::string table = t;
        db().Execute("UPDATE " + table + " SET BegBalance = 250000, Purchases = 12500, Donation = 0, "
                                         "Disposals = 1200, DepAssets = 800 WHERE SeqNum = 1");
        db().Execute("UPDATE " + table + " SET BegBalance = 1480000, Purchases = 64000, Donation = 2500, "
                                         "Disposals = 18000, DepAssets = 9000 WHERE SeqNum = 3");
        db().Execute("UPDATE " + table + " SET BegBalance = -5000, Disposals = 125 WHERE SeqNum = 8");
    }
    db().Execute("UPDATE B2p3 SET GrossAssets = 1730000, CapLeases = 30000, Depreciation = 42000, Lease = 3000 "
                 "WHERE SeqNum = 1");
    db().Execute("UPDATE B2p3 SET Interest = 18250 WHERE SeqNum = 1.01");
    db().Execute("UPDATE B2p3 SET GrossAssets = 410000, Depreciation = 15500 WHERE SeqNum = 2");
    db().Execute("UPDATE B2p3 SET GrossAssets = 95000, Depreciation = 2100 WHERE SeqNum = 4");
    db().Execute("UPDATE B2p3 SET Insurance = 12345, Taxes = 6789, CapRelated = 1001 WHERE SeqNum = 5");
    Calc_B2p1();
    Calc_B2p2();
    Calc_B2p3();

    ExpectGolden(PrintOwnFile(), "B2.prt");
    ASSERT_EQ(printer.pages.size(), 2u);
    EXPECT_EQ(printer.pages[0].orientation, 2);
}

}  // namespace
}  // namespace vt
