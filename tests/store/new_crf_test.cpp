// A new report: its fixed tables as the form defines them, the open-report
// state and main window afterwards, and what Cancel and failures leave behind.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "store/builder.h"
#include "store/report.h"
#include "store/services.h"
#include "tests/support/crf_fixture.h"
#include "tests/support/db_checks.h"

namespace vt {
namespace {

namespace fs = std::filesystem;
using test::CrfTest;
using test::Rows;
using test::Table;

class NewCrf : public CrfTest {
protected:
    bool MakeReport(const std::string& name, const NewCrfEntries& entries = TestEntries()) {
        ui.QueueSaveFile(ui::FileChoice{PathOf(name), name});
        return NewReport(entries);
    }
    void WriteFile(const std::string& name, const std::string& bytes) {
        std::ofstream(PathOf(name), std::ios::binary) << bytes;
    }
};

TEST_F(NewCrf, RegistersFixedTablesWith999AndWorksheetsByDisplayName) {
    auto rs = db().OpenRecordset("SELECT Item, Calc_Lvl, ItemName FROM Worksheets ORDER BY Calc_Lvl DESC, rowid");
    std::vector<std::string> fixed;
    int worksheets = 0;
    for (; !rs.Eof(); rs.MoveNext()) {
        std::string item = rs["Item"].ToText();
        if (rs["Calc_Lvl"].ToLong() == 999) {
            fixed.push_back(item);
            EXPECT_TRUE(rs["ItemName"].IsNull()) << item;
        } else {
            ++worksheets;
            EXPECT_EQ(rs["Calc_Lvl"].ToLong(), 0) << item;
            EXPECT_EQ(rs["ItemName"].ToText(), Get_Worksheet_Name(item));
            EXPECT_TRUE(Table_Exists(item)) << item;
        }
    }
    EXPECT_EQ(fixed, (std::vector<std::string>{"Worksheets", "Master", "HeaderLines", "CostCenters"}));
    // Every table but the fixed ones is a registered worksheet.
    EXPECT_EQ(static_cast<int>(db().TableNames().size()), 4 + worksheets);
    // The register refuses a row without a name.
    EXPECT_EQ(db().Execute("INSERT INTO Worksheets (Calc_Lvl) VALUES (0)"), 0);
    EXPECT_TRUE(Table_Exists("costcenters"));
    EXPECT_FALSE(Table_Exists("DeletedCCs"));
    EXPECT_FALSE(Table_Exists("Error"));
}

TEST_F(NewCrf, MasterHoldsTheEntriesAndHeaderLinesAreEmpty) {
    EXPECT_EQ(Rows("SELECT FormNum, ProviderNumber, ProviderName, FYStart, FYEnd FROM Master"),
              (Table{{"0287", "123456", "Test Home Office", "1/1/2006", "12/31/2006"}}));
    EXPECT_LT(std::abs(db().Scalar("SELECT BuildDate FROM Master").ToDate().serial - DateTime::Now().serial), 1.0 / 24);
    EXPECT_EQ(Rows("SELECT LineNum, Line FROM HeaderLines ORDER BY LineNum"),
              (Table{{"1", "Null"}, {"2", "Null"}, {"3", "Null"}}));
}

// The names and labels themselves show in the golden prints and the label tests.
TEST_F(NewCrf, CostCentresAreTheStandardListInItsOrder) {
    EXPECT_EQ(db().Scalar("SELECT COUNT(*) FROM CostCenters").ToLong(), 88);
    EXPECT_EQ(db().Scalar("SELECT COUNT(*) FROM CostCenters WHERE CCNum < 200").ToLong(), 33);

    // Insertion order keeps the sub-centres of 1 and 2 ahead of 2.
    EXPECT_EQ(Rows("SELECT CCNum FROM CostCenters ORDER BY rowid LIMIT 5"),
              (Table{{"1"}, {"1.01"}, {"2.01"}, {"2"}, {"4"}}));
    EXPECT_EQ(Rows("SELECT CCNum FROM CostCenters WHERE LineNum <> IIf(CCNum < 200, CCNum, CCur(CCNum - 200))"), Table{});

    for (const char* absent : {"3", "6", "10", "31", "210", "228", "229", "238", "239", "249", "255", "256", "262", "263"})
        EXPECT_EQ(db().Scalar("SELECT COUNT(*) FROM CostCenters WHERE CCNum = " + std::string(absent)).ToLong(), 0)
            << absent;

    EXPECT_EQ(db().Execute("INSERT INTO CostCenters (LineNum, CCNum, CCName) VALUES (30.01, 30.01, 'Again')"), 0);
    EXPECT_EQ(db().Scalar("SELECT COUNT(*) FROM CostCenters").ToLong(), 88);
}

TEST_F(NewCrf, OpensTheNewReportAndShowsIt) {
    auto entries = TestEntries();
    entries.txtFormNum = "0287-05";
    entries.txtFacilityName = "Second Office";
    ASSERT_TRUE(MakeReport("SECOND.CRF", entries));

    const auto& r = Report();
    EXPECT_EQ(std::tie(r.CRF_Path, r.CRF_Folder, r.CRF_Title, r.CRF_FormNum, r.CRF_ProviderName, r.CRF_ProviderNumber),
              std::tuple(PathOf("SECOND.CRF"), folder, "SECOND.CRF", "0287-05", "Second Office", "123456"));
    EXPECT_EQ(r.CRF_FYEnd, *DateTime::FromParts(2006, 12, 31));
    EXPECT_EQ(r.CRF_HeaderLines, (std::array<std::string, 3>{"", "", ""}));
    EXPECT_EQ(Db().Path(), PathOf("SECOND.CRF"));
    EXPECT_EQ(db().Scalar("SELECT FormNum FROM Master").ToText(), "0287");

    ASSERT_EQ(ui.FileRequests().size(), 1u);
    const auto& req = ui.FileRequests()[0];
    EXPECT_EQ(std::tie(req.title, req.defaultExt, req.filter, req.confirmOverwrite),
              std::tuple("Name New Cost Report File (CRF)", ".CRF", "Cost Report Files (*.CRF)|*.CRF", true));
    EXPECT_EQ(ui.StatusTexts(), std::vector<std::string>{" Building New CRF file "});
    EXPECT_FALSE(ui.StatusVisible());
    EXPECT_TRUE(ui.DialogHidden());
    EXPECT_EQ(ui.Caption(), "Quelldorn System Inc.'s Vantrel 287 -- SECOND.CRF");
    EXPECT_EQ(ui.ShownPath(), PathOf("SECOND.CRF"));

    // Written through: another connection sees the whole report.
    auto other = db::Database::Open(PathOf("SECOND.CRF"));
    EXPECT_EQ(other->Scalar("SELECT COUNT(*) FROM CostCenters").ToLong(), 88);
}

TEST_F(NewCrf, ReplacesAnExistingFileTheUserChose) {
    WriteFile("OLD.CRF", "not a report");
    WriteFile("OLD.CRF-journal", "stale journal");
    ASSERT_TRUE(MakeReport("OLD.CRF"));
    EXPECT_FALSE(fs::exists(PathOf("OLD.CRF-journal")));
    EXPECT_EQ(db().Scalar("SELECT COUNT(*) FROM CostCenters").ToLong(), 88);
}

// A New killed half way left its file and journal: the next New in that
// folder removes them, and its own, but never the file of a New still at work
// (another user's, in a shared folder) or of another machine, nor other files.
TEST_F(NewCrf, OnlyLeftoversOfAGoneNewGoAtTheNextNew) {
    const pid_t gone = ::fork();
    if (gone == 0) ::_exit(0);
    ASSERT_EQ(::waitpid(gone, nullptr, 0), gone);
    const auto by = [&](long pid, const std::string& host = "") {
        return fs::path(UnfinishedReportPath(PathOf("GONE.CRF"), pid, host)).filename().string();
    };
    const std::pair<std::string, bool> goes[] = {
        {by(gone), true},         {by(gone) + "-journal", true}, {by(::getpid()) + "-wal", true},
        {by(::getppid()), false}, {by(gone, "far"), false},      {"GONE.CRF.vtnew", false}};
    for (const auto& file : goes) WriteFile(file.first, "half");
    ASSERT_TRUE(MakeReport("NEXT.CRF"));
    for (const auto& [name, removed] : goes) EXPECT_NE(fs::exists(PathOf(name)), removed) << name;
}

TEST_F(NewCrf, CancelChangesNothing) {
    WriteFile("KEEP.CRF", "keep me");
    ui.QueueSaveFile(std::nullopt);
    EXPECT_FALSE(NewReport(TestEntries()));
    EXPECT_EQ(ReadFile("KEEP.CRF"), "keep me");
    EXPECT_EQ(std::tie(Report().CRF_Path, Report().CRF_Title), std::tuple(PathOf("TEST.CRF"), "TEST.CRF"));
    EXPECT_EQ(db().Scalar("SELECT COUNT(*) FROM Master").ToLong(), 1);
    EXPECT_FALSE(ui.DialogHidden());
    EXPECT_FALSE(ui.StatusVisible());
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_TRUE(ui.Caption().empty());
}

// Whatever fails after the file was chosen: one message, no new file (an
// existing one is kept when the failure comes before it was replaced), and the
// report open before is still open and unchanged.
TEST_F(NewCrf, AFailureLeavesNoFileAndTheReportOpenBefore) {
    struct Case {
        const char* what;
        std::string name;            // relative to the folder
        NewCrfEntries entries;
        const char* existing;        // bytes of a file already at that path, or nullptr
        bool fileRemains;
        int pageLimit = 0;           // pages the disk holds for the new file (0: no limit)
        const char* says = nullptr;  // how the message ends, where it matters
    };
    auto longNumber = TestEntries();
    longNumber.txtProviderNum = "123456789";  // Master.ProviderNumber holds 8
    auto badDate = TestEntries();
    badDate.txtFYEnd = "13/45/2006";
    const Case cases[] = {
        {"identity does not fit Master", "BAD.CRF", longNumber, nullptr, false},
        {"folder does not exist", "missing/BAD.CRF", TestEntries(), nullptr, false},
        {"date entry is no date", "KEEP.CRF", badDate, "keep me", true},
        {"the open report's own file", "TEST.CRF", TestEntries(), nullptr, true},
        {"the disk fills during the build", "FULL.CRF", TestEntries(), "keep me", true, 20,
         " was not created: the disk is full. Nothing has been saved, and every report is as it was."},
        {"the name is too long", std::string(300, 'N') + ".CRF", TestEntries(), nullptr, false, 0,
         ": the file name is too long."},
    };
    const std::string before = ReadFile("TEST.CRF");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.existing) WriteFile(c.name, c.existing);
        ui.ClearRecords();
        ui.ExpectMessage();
        ui.QueueSaveFile(ui::FileChoice{PathOf(c.name), fs::path(c.name).filename().string()});
        db::testing::SetPageLimit(c.pageLimit);
        EXPECT_FALSE(NewReport(c.entries));
        db::testing::SetPageLimit(0);

        ASSERT_EQ(ui.Messages().size(), 1u);
        const auto& m = ui.Messages()[0];
        EXPECT_EQ(std::tie(m.title, m.style), std::tuple("Error: New CRF", ui::kCritical));
        // A failure of the disk or the folder is told in words, naming the file.
        EXPECT_TRUE(m.prompt.starts_with("The new Cost Report File could not be created:\n") ||
                    m.prompt.starts_with("The new Cost Report File " + PathOf(c.name) + " was not created: "))
            << m.prompt;
        if (c.says) {
            EXPECT_TRUE(m.prompt.ends_with(c.says)) << m.prompt;
        }
        EXPECT_FALSE(ui.StatusVisible());
        std::error_code ec;  // a name too long is no file, not a failure of the test
        EXPECT_EQ(fs::exists(PathOf(c.name), ec), c.fileRemains);
        if (c.existing) {
            EXPECT_EQ(ReadFile(c.name), c.existing);
        }
        EXPECT_FALSE(fs::exists(UnfinishedReportPath(PathOf(c.name)), ec));  // nothing half-built left beside it

        EXPECT_EQ(std::tie(Report().CRF_Path, Report().CRF_ProviderName),
                  std::tuple(PathOf("TEST.CRF"), "Test Home Office"));
        EXPECT_EQ(Db().Path(), PathOf("TEST.CRF"));
        EXPECT_EQ(db().Scalar("SELECT ProviderNumber FROM Master").ToText(), "123456");
        EXPECT_TRUE(ui.Caption().empty());
    }
    EXPECT_EQ(ReadFile("TEST.CRF"), before);
    EXPECT_EQ(Get_CC_Name(Value(7)), "Insurance Premiums");
}

TEST_F(NewCrf, RebuildingATableAddsNoSecondRegisterRowAndSaysNothing) {
    auto build = [] {
        BuildTable("B2p1", {db::CurrencyField("SeqNum"), db::TextField("Description", 40, true)},
                    {"INSERT INTO B2p1 (SeqNum) VALUES (1)", {"INSERT INTO B2p1 (SeqNum, Description) VALUES (2, ?)",
                                                                {Value("Owner's \"share\"")}}},
                    "CREATE UNIQUE INDEX ndx ON B2p1 (SeqNum);");
    };
    if (db().TableExists("B2p1")) db().DropTable("B2p1");
    build();
    db().DropTable("B2p1");
    build();
    db().DropTable("HeaderLines");
    Build_HeaderLines();

    EXPECT_EQ(Rows("SELECT Item, ItemName FROM Worksheets WHERE Item IN ('B2p1', 'HeaderLines') ORDER BY Item"),
              (Table{{"B2p1", "B-2  Part-1"}, {"HeaderLines", "Null"}}));
    EXPECT_EQ(db().Scalar("SELECT COUNT(*) FROM HeaderLines").ToLong(), 3);
    EXPECT_EQ(db().Scalar("SELECT Description FROM B2p1 WHERE SeqNum = 2").ToText(), "Owner's \"share\"");
    // The index was made after the seeds: a duplicate key is now dropped.
    EXPECT_EQ(db().Execute("INSERT INTO B2p1 (SeqNum) VALUES (1)"), 0);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(NewCrf, ABuilderFailureNamesItsTable) {
    try {
        Build_HeaderLines();
        FAIL() << "a second HeaderLines table was made";
    } catch (const db::DbError& e) {
        EXPECT_NE(std::string(e.what()).find("HeaderLines"), std::string::npos) << e.what();
    }
}

TEST_F(NewCrf, DeletedCostCentresTableMirrorsTheListAndIsNotRegistered) {
    Build_DeletedCCs();
    EXPECT_EQ(test::Layout(db().Fields("DeletedCCs")), test::Layout(db().Fields("CostCenters")));
    EXPECT_EQ(db().Scalar("SELECT COUNT(*) FROM DeletedCCs").ToLong(), 0);
    EXPECT_EQ(db().Scalar("SELECT COUNT(*) FROM Worksheets WHERE Item = 'DeletedCCs'").ToLong(), 0);
}

}  // namespace
}  // namespace vt
