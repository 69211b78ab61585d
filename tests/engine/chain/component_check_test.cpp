// The check of the component sheets against worksheet A, and the repair of a
// sheet found out of step.
#include "engine/chain/component_sheet.h"
#include "engine/chain/e.h"
#include "engine/chain/e1.h"
#include "store/report.h"
#include "store/services.h"
#include "tests/engine/chain/chain_fixture.h"

namespace vt::test {
namespace {

std::string Repaired(const std::string& sheet, const std::string& finding) {
    return "Errors were found in table " + sheet +
           ".  The table has been repaired.  Please check that all data in the table is still correct.\r\n\r\n[ " +
           finding + " ]";
}

class ComponentCheck : public SeededChainTest {
protected:

    // After a repair of a stamped sheet: a component row that the damaged sheet
    // (now Bad_<sheet>) held for the same part and line carries its old
    // amounts; any other has zeros.
    void ExpectAmountsOnTheirComponents(const std::string& sheet) {
        const auto names = FieldNames(sheet);
        auto rs = db().OpenRecordset(SelectSheet(sheet, "WHERE SeqNum NOT IN (0, 18, 28) AND SeqNum < 33"));
        ASSERT_FALSE(rs.Eof());
        for (; !rs.Eof(); rs.MoveNext()) {
            const Currency seq = rs["SeqNum"].ToCurrency();
            const bool kept = db().Scalar("SELECT Count(*) FROM Bad_" + sheet + " WHERE SeqNum = ? AND LineNum = ?",
                                          {rs["SeqNum"], rs["LineNum"]})
                                  .ToLong() == 1;
            for (size_t i = 4; i < names.size(); ++i) {
                const Currency want = kept ? Currency::FromInt(static_cast<int>(i - 3) * 1000) + seq : Currency{};
                EXPECT_EQ(Nz_Num(rs.Field(static_cast<int>(i))).ToCurrency(), want)
                    << sheet << " row " << seq.ToText() << " " << names[i];
            }
        }
    }

    std::vector<std::string> Backups() {
        std::vector<std::string> found;
        for (const auto& t : db().TableNames())
            if (t.rfind("Bad_", 0) == 0) found.push_back(t);
        return found;
    }
};

TEST_F(ComponentCheck, AConsistentReportPassesAndKeepsNoBackup) {
    AddChosenCCColumn("E1", C(11));
    SetCell("E", 2, "Component", "Renamed in E only");
    SetCell("E1", 30, "Component", Value::Null());
    EXPECT_TRUE(Check_Component_Sheets());
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_TRUE(Backups().empty());
}

struct Damage {
    const char* name;
    bool partIVLine3;  // A Part IV gets a line 3 first
    const char* sql;
    const char* finding;
};

const Damage kDamages[] = {
    {"row of Part III line 3 missing", false, "DELETE FROM E WHERE SeqNum = 3",
     "Inconsistant Components at line 3.01:  'Mercy West' (3.01) in worksheet E and Mercy East(3) in worksheet A Part III"},
    {"row of an extra Part III line", false, "INSERT INTO E (SeqNum, LineNum, Component) VALUES (2.5, 2.5, 'Stray')",
     "Inconsistant Components at line 2.5:  'Stray' (2.5) in worksheet E and Mercy East(3) in worksheet A Part III"},
    {"row of Part IV line 2 missing", false, "DELETE FROM E WHERE SeqNum = 20", "Unmatched A Part IV record(s) in E"},
    {"row of Part V line 4.01 missing", false, "DELETE FROM E WHERE SeqNum = 32.01",
     "Unmatched A Part V record(s) in E"},
    {"row past the last Part III line", false, "INSERT INTO E (SeqNum, LineNum, Component) VALUES (17.99, 17.99, 'Stray')",
     "Unmatched E record(s) in worksheet A Part III"},
    {"row past the last Part IV line", false, "INSERT INTO E (SeqNum, LineNum, Component) VALUES (26.5, 8.5, 'Stray')",
     "Unmatched E record(s) in worksheet A Part IV"},
    {"row past the last Part V line", false, "INSERT INTO E (SeqNum, LineNum, Component) VALUES (32.99, 4.99, 'Stray')",
     "Unmatched E record(s) in worksheet A Part V"},
    {"Part III rows missing where Part IV has the same lines", true, "DELETE FROM E WHERE SeqNum IN (3, 3.01, 17)",
     "Inconsistant Components at line 19:  'Laundry' (1) in worksheet E and Mercy East(3) in worksheet A Part III"},
};

TEST_F(ComponentCheck, ADamagedSheetIsRebuiltWithTheUsersAmounts) {
    for (const auto& d : kDamages) {
        SCOPED_TRACE(d.name);
        db().Begin();
        ui.ClearRecords();
        if (d.partIVLine3) EditorInsert(4, 3);
        Stamp("E");
        const auto columns = FieldNames("E");
        const auto row0 = Row0("E");
        db().Execute(d.sql);

        ui.ExpectMessage();
        EXPECT_FALSE(Check_Component_Sheets());
        EXPECT_EQ(ui.Prompts(), std::vector<std::string>{Repaired("E", d.finding)});
        EXPECT_EQ(Backups(), std::vector<std::string>{"Bad_E"});
        EXPECT_EQ(FieldNames("E"), columns);
        EXPECT_EQ(Row0("E"), row0);
        ExpectAmountsOnTheirComponents("E");
        ui.ClearRecords();
        EXPECT_TRUE(Check_Component_Sheets());
        db().Rollback();
    }
}

TEST_F(ComponentCheck, E1GetsItsChosenColumnsBack) {
    AddChosenCCColumn("E1", C(12));
    AddChosenCCColumn("E1", C(11));
    Stamp("E1");
    db().Execute("INSERT INTO E1 (SeqNum, LineNum, Component) VALUES (1.5, 1.5, 'Stray')");
    ui.ExpectMessage();
    EXPECT_FALSE(Check_Component_Sheet("E1", Build_E1));
    EXPECT_EQ(Row0("E1"), Currencies({11, 12, -1}));
    ExpectAmountsOnTheirComponents("E1");
    EXPECT_TRUE(Check_Component_Sheets());
}

TEST_F(ComponentCheck, ARepairThatMatchesEveryRowSaysNothing) {
    Stamp("E");
    Repair_Component_Sheet("E", Build_E, "asked for");
    EXPECT_TRUE(ui.Messages().empty());
    ExpectAmountsOnTheirComponents("E");
}

TEST_F(ComponentCheck, EveryDamagedSheetIsRepairedInOneCheck) {
    db().Execute("DELETE FROM E WHERE SeqNum = 19");
    db().Execute("DELETE FROM E1 WHERE SeqNum = 29");
    ui.ExpectMessage();
    ui.ExpectMessage();
    EXPECT_FALSE(Check_Component_Sheets());
    EXPECT_EQ(ui.Prompts().size(), 2u);
    EXPECT_EQ(Backups().size(), 2u);
    EXPECT_TRUE(Check_Component_Sheets());
}

TEST_F(ComponentCheck, ASecondRepairReplacesTheFirstBackup) {
    db().Execute("DELETE FROM E WHERE SeqNum = 1");
    ui.ExpectMessage();
    EXPECT_FALSE(Check_Component_Sheet("E", Build_E));
    db().Execute("DELETE FROM E WHERE SeqNum = 2");
    ui.ExpectMessage();
    EXPECT_FALSE(Check_Component_Sheet("E", Build_E));
    const auto backup = SeqNums("Bad_E");
    EXPECT_EQ(std::count(backup.begin(), backup.end(), C(1)), 1);
    EXPECT_EQ(std::count(backup.begin(), backup.end(), C(2)), 0);
}

TEST_F(ComponentCheck, AFailedRepairLeavesTheSheetAndItsBackup) {
    db().Execute("DELETE FROM E WHERE SeqNum = 1");
    ui.ExpectMessage();
    EXPECT_FALSE(Check_Component_Sheet("E", Build_E));
    SetCell("E", 2, "Col_1", Value(C(123)));
    db().Execute("DELETE FROM E WHERE SeqNum = 3");
    const auto sheet = SeqNums("E");
    const auto backup = SeqNums("Bad_E");

    db().RenameTable("Ap5", "Ap5_away");  // the rebuild cannot read Part V
    EXPECT_THROW(Repair_Component_Sheet("E", Build_E, "test"), std::exception);
    db().RenameTable("Ap5_away", "Ap5");

    EXPECT_EQ(SeqNums("E"), sheet);
    EXPECT_EQ(SeqNums("Bad_E"), backup);
    EXPECT_EQ(Cell("E", 2, "Col_1").ToCurrency(), C(123));
    EXPECT_TRUE(ui.Messages().size() == 1);
}

TEST_F(ChainTest, ASheetThatRunsOutOfLinesIsAFinding) {
    AddA(3, 1, "Mercy North");
    AddA(3, 2, "Mercy South");
    RebuildAll();
    db().Execute("DELETE FROM E WHERE SeqNum IN (1, 2, 27)");
    ui.ExpectMessage();
    EXPECT_FALSE(Check_Component_Sheets());
    EXPECT_EQ(ui.Prompts(), std::vector<std::string>{Repaired(
                                "E", "Inconsistant Components: worksheet E has no line for Mercy North(1) in worksheet A Part III")});
    const auto seqs = SeqNums("E");
    for (double row : {1.0, 2.0, 27.0}) EXPECT_EQ(std::count(seqs.begin(), seqs.end(), C(row)), 1) << row;
}

}  // namespace
}  // namespace vt::test
