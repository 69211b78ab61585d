// Worksheet A: its identity lines, the texts its tables take, and what a
// rebuilt part does to the component sheets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/general/a.h"
#include "store/report.h"
#include "tests/support/crf_fixture.h"
#include "tests/support/db_checks.h"

namespace vt::test {
namespace {

class BuildAp1 : public CrfTest {};
class BuildA : public CrfTest {};

// A provider number or facility name holding quotes is stored as typed, and
// the new report is made all the same.
TEST_F(BuildAp1, QuotesInTheIdentityAreStoredAsTyped) {
    NewCrfEntries entries = TestEntries();
    entries.txtProviderNum = "12\"34'5";
    entries.txtFacilityName = "O'Neill \"North\" Office";
    ui.QueueSaveFile(ui::FileChoice{PathOf("QUOTES.CRF"), "QUOTES.CRF"});
    ASSERT_TRUE(NewReport(entries));
    EXPECT_EQ(Rows("SELECT Info FROM Ap1 WHERE SeqNum IN (1, 2.02) ORDER BY SeqNum"),
              (Table{{"O'Neill \"North\" Office"}, {"12\"34'5"}}));
    EXPECT_EQ(db().Scalar("SELECT COUNT(*) FROM Ap1").ToLong(), 18);
}

// The identity dialog rewrites the same four lines from the report's new identity.
TEST_F(BuildAp1, IdentityRewriteTakesTheReportsNewValues) {
    Report().CRF_ProviderNumber = "65'4\"321";
    Report().CRF_FYEnd = *DateTime::FromParts(2007, 9, 30);
    WriteAp1Identity();
    EXPECT_EQ(Rows("SELECT Info FROM Ap1 WHERE SeqNum IN (1, 2.02, 6.02) ORDER BY SeqNum"),
              (Table{{"Test Home Office"}, {"65'4\"321"}, {"9/30/2007"}}));
}

// Which text fields take an empty string: a refused row is dropped, so the
// count of stored rows tells.
TEST_F(BuildA, EmptyTextIsRefusedOnlyInTheLegendOfPartI) {
    struct Case {
        const char* insert;
        bool stored;
    };
    const Case cases[] = {
        {"INSERT INTO Ap1 (SeqNum, Legend) VALUES (9.03, '')", false},
        {"INSERT INTO Ap1 (SeqNum, Legend, Info) VALUES (9.04, 'Treasurer', '')", true},
        {"INSERT INTO Ap3 (LineNum, Component, MedicareNo, MedicaidPart, ReimburseType, MedicareInt, Medicaid) "
         "VALUES (1, '', '', '', '', '', '')",
         true},
        {"INSERT INTO Ap4 (LineNum, Component) VALUES (1, '')", true},
        {"INSERT INTO Ap5 (LineNum, Col1, Col2, Col3, Col5, Col6, Col7) VALUES (1, '', '', '', '', '', '')", true},
    };
    for (const Case& c : cases) EXPECT_EQ(db().Execute(c.insert), c.stored ? 1 : 0) << c.insert;
}

// A rebuilt part starts empty, and so does its band in the component sheets;
// the other bands and the total rows stay.
TEST_F(BuildA, RebuildEmptiesThePartsBandInTheComponentSheets) {
    struct Case {
        const char* code;
        void (*build)();
        const char* band;  // a component row of the part
    };
    const Case cases[] = {{"Ap3", Build_Ap3, "1.01"}, {"Ap4", Build_Ap4, "19"}, {"Ap5", Build_Ap5, "32.99"}};
    for (const Case& c : cases) {
        for (const Case& row : cases)
            db().Execute("INSERT INTO E (SeqNum, LineNum, Component) VALUES (?, 1, 'X')",
                         {Value(Value(row.band).ToCurrency())});
        const Table before = Rows("SELECT SeqNum FROM E ORDER BY SeqNum");
        db().DropTable(c.code);
        c.build();
        Table expected;
        for (const auto& row : before)
            if (row[0] != c.band) expected.push_back(row);
        EXPECT_EQ(Rows("SELECT SeqNum FROM E ORDER BY SeqNum"), expected) << c.code;
    }
}

}  // namespace
}  // namespace vt::test
