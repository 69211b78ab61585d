// Worksheet A: the tables a new report holds, their rebuild, and the Part V
// amounts taken from worksheet H.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/general/a.h"
#include "platform/db/db.h"
#include "store/report.h"
#include "store/services.h"
#include "tests/support/crf_fixture.h"
#include "tests/support/db_checks.h"

namespace vt::test {
namespace {

class BuildAp1 : public CrfTest {};
class BuildA : public CrfTest {};
class CalcAp5 : public CrfTest {};

const Table kFreshAp1{
    {"1", "Home Office Name", "Test Home Office"},
    {"2.01", "No. Assigned by Designated Intermediary", "Null"},
    {"2.02", "No. Assigned by CMS", "123456"},
    {"3", "Home Office Address", "Null"},
    {"3.01", "Address #2", "Null"},
    {"3.02", "City", "Null"},
    {"3.03", "State", "Null"},
    {"4", "Chain Operations Start Date", "Null"},
    {"5", "Contact Name", "Null"},
    {"5.01", "Contact Title", "Null"},
    {"5.02", "Contact Phone", "Null"},
    {"6.01", "Cost Statement Period Start Date", "1/1/2006"},
    {"6.02", "Cost Statement Period End Date", "12/31/2006"},
    {"7", "Was Audited Financial Data used on Sched B?", "Null"},
    {"8", "Type of Organization", "Null"},
    {"8.01", "    (specify other type):", "Null"},
    {"9.01", "President", "Null"},
    {"9.02", "Vice President", "Null"},
};

TEST_F(BuildAp1, NewReportHoldsTheEighteenLinesWithItsIdentity) {
    EXPECT_EQ(Rows("SELECT SeqNum, Legend, Info FROM Ap1 ORDER BY SeqNum"), kFreshAp1);
}

// A provider number or facility name holding quotes is stored as typed, and
// the new report is made all the same.
TEST_F(BuildAp1, QuotesInTheIdentityAreStoredAsTyped) {
    NewCrfEntries entries = TestEntries();
    entries.txtProviderNum = "12\"34'5";
    entries.txtFacilityName = "O'Neill \"North\" Office";
    ui.QueueSaveFile(ui::FileChoice{PathOf("QUOTES.CRF"), "QUOTES.CRF"});
    ASSERT_TRUE(New_CRF(entries));
    EXPECT_EQ(Rows("SELECT Info FROM Ap1 WHERE SeqNum IN (1, 2.02) ORDER BY SeqNum"),
              (Table{{"O'Neill \"North\" Office"}, {"12\"34'5"}}));
    EXPECT_EQ(db().Scalar("SELECT COUNT(*) FROM Ap1").ToLong(), 18);
}

// The identity dialog rewrites the same four lines from the report's new identity.
TEST_F(BuildAp1, IdentityRewriteTakesTheReportsNewValues) {
    Report().CRF_ProviderNumber = "65'4\"321";
    Report().CRF_FYEnd = *DateTime::FromParts(2007, 9, 30);
    Write_Ap1_Identity();
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

// The rebuild command drops the table and runs its builder again: the part
// is as new (Part IV with its line 9 alone), and the register keeps its one row.
TEST_F(BuildA, RebuildRestoresThePartAndKeepsOneRegisterRow) {
    struct Case {
        const char* code;
        void (*build)();
        int rows;
    };
    const Case cases[] = {{"Ap1", Build_Ap1, 18}, {"Ap3", Build_Ap3, 0}, {"Ap4", Build_Ap4, 1}, {"Ap5", Build_Ap5, 0}};
    db().Execute("INSERT INTO Ap3 (LineNum, Component) VALUES (1, 'North Clinic')");
    db().Execute("INSERT INTO Ap4 (LineNum, Component) VALUES (1, 'Laundry')");
    db().Execute("INSERT INTO Ap5 (LineNum, Col1) VALUES (1, 'West Region')");
    db().Execute("INSERT INTO Ap1 (SeqNum, Legend) VALUES (9.03, 'Treasurer')");
    for (const Case& c : cases) {
        db().DropTable(c.code);
        c.build();
        EXPECT_EQ(db().Scalar("SELECT COUNT(*) FROM " + std::string(c.code)).ToLong(), c.rows) << c.code;
        db::Recordset reg = db().OpenRecordset("SELECT Calc_Lvl, ItemName FROM Worksheets WHERE Item = ?",
                                               {Value(c.code)});
        ASSERT_EQ(reg.RecordCount(), 1) << c.code;
        EXPECT_EQ(reg["Calc_Lvl"].ToLong(), 0);
        EXPECT_EQ(reg["ItemName"].ToText(), Get_Worksheet_Name(c.code));
    }
    EXPECT_EQ(Rows("SELECT SeqNum, Legend, Info FROM Ap1 ORDER BY SeqNum"), kFreshAp1);
    EXPECT_EQ(Rows("SELECT * FROM Ap4"),
              (Table{{"9", "Other Managed Facilities", "Null", "Null", "Null", "Null"}}));
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

// H reduced to what Part V reads of it: each component line's band, line and
// total of all costs.
void MakeMinimalH(db::Database& d) {
    if (d.TableExists("H")) d.DropTable("H");
    d.CreateTable("H", {db::CurrencyField("SeqNum"), db::CurrencyField("LineNum"), db::CurrencyField("Col_20")});
    const char* rows[][3] = {
        {"1", "1", "111"},         // Part III line 1
        {"19", "1", "222"},        // Part IV line 1
        {"29", "1", "1500.5"},     // Part V line 1
        {"31.01", "3.01", "-40"},  // Part V line 3.01
        {"33", "0", "1460.5"},     // Part V total
    };
    for (auto& r : rows)
        d.Execute("INSERT INTO H (SeqNum, LineNum, Col_20) VALUES (?, ?, ?)",
                  {Value(Value(r[0]).ToCurrency()), Value(Value(r[1]).ToCurrency()), Value(Value(r[2]).ToCurrency())});
}

TEST_F(CalcAp5, PartVLinesTakeTheLineTotalOfTheirRegionalOfficeInH) {
    MakeMinimalH(db());
    db().Execute("INSERT INTO Ap5 (LineNum, Col1, Col4) VALUES (1, 'West', NULL)");
    db().Execute("INSERT INTO Ap5 (LineNum, Col1, Col4) VALUES (2, 'East', 77)");
    db().Execute("INSERT INTO Ap5 (LineNum, Col1, Col4) VALUES (3.01, 'South', 5)");
    Calc_Ap5();
    // Line 2 has no regional-office line in H and keeps its amount.
    EXPECT_EQ(Rows("SELECT LineNum, Col4 FROM Ap5 ORDER BY LineNum"),
              (Table{{"1", "1500.5"}, {"2", "77"}, {"3.01", "-40"}}));
}

}  // namespace
}  // namespace vt::test
