// The Report File commands: creating, closing, opening, saving as and moving
// a report, with what the main window is told at each step and what each
// refusal leaves behind.
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <set>

#include "platform/db/working_files.h"
#include "print/print.h"
#include "report/captions.h"
#include "report/report_file.h"
#include "store/report.h"
#include "store/services.h"
#include "tests/report/report_file_fixture.h"
#include "tests/support/db_checks.h"
#include "tests/support/plain_user.h"

namespace vt::test {
namespace {

namespace fs = std::filesystem;

const char* const kSaveAsFailed =
    "PROBLEM Encountered: Your Save As request failed and was not able to be accomplished.  Your original CRF "
    "file has not been altered.  Hit OK to continue running Vantrel.";
const char* const kMoveFailed =
    "PROBLEM Encountered: Your Move/ReName request failed and was not able to be accomplished.  Your original "
    "CRF file has not been altered.  Hit OK to continue running Vantrel.";

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool ReportOpen() { return Report().CRF_Database && Report().CRF_Database->IsOpen(); }

std::string ProviderNameIn(const std::string& path) {
    auto db = db::Database::Open(path);
    return db->Scalar("SELECT ProviderName FROM Master").ToText();
}

class ReportFile : public ReportFileTest {
protected:
    // OPEN.CRF still the open report, whole.
    void ExpectStillOpen() {
        EXPECT_EQ(std::tie(Report().CRF_Path, Report().CRF_Title), std::tuple(PathOf("OPEN.CRF"), "OPEN.CRF"));
        EXPECT_EQ(Db().Path(), PathOf("OPEN.CRF"));
        EXPECT_EQ(Db().Scalar("SELECT ProviderName FROM Master").ToText(), "Test Home Office");
    }
};

// The rules of the first-day road the window test cannot see: the boxes
// rewritten, what each chooser asks, the report state, the main window's
// events, and the copy independent of its original.
TEST_F(ReportFile, MainRoad) {
    NewCrfEntries entries{"0287", "abcde", "1/1/2006", "", "Test Home Office"};
    ui.QueueSaveFile(ui::FileChoice{PathOf("FIRST.CRF"), "FIRST.CRF"});
    ASSERT_TRUE(CreateNewCRF(entries).created);
    EXPECT_EQ(std::tie(entries.txtProviderNum, entries.txtFYStart, entries.txtFYEnd),
              std::tuple("AB-CDE", "01/01/2006", "12/31/2006"));

    ClearUi();
    CloseCRF();
    EXPECT_FALSE(ReportOpen());
    EXPECT_EQ(ui.events, (std::vector<std::string>{"windows closed", "closed"}));
    EXPECT_EQ(std::tie(ui.closedCaption, Report().CRF_Path), std::tuple(NoCRFCaption(), ""));

    // Open: the chooser starts in the program's folder until a report was opened.
    ClearUi();
    ASSERT_TRUE(OpenReport("FIRST.CRF"));
    ASSERT_EQ(ui.FileRequests().size(), 1u);
    const ui::FileRequest& asked = ui.FileRequests()[0];
    EXPECT_EQ(std::tie(asked.title, asked.filter, asked.defaultExt, asked.initialDir),
              std::tuple("Open An Existing CRF", "Cost Report Files (*.CRF)|*.CRF", ".CRF", ProgramFolder()));
    EXPECT_EQ(Setting(), folder);
    const auto& r = Report();
    EXPECT_EQ(std::tie(r.CRF_Path, r.CRF_Folder, r.CRF_Title, r.CRF_FormNum, r.CRF_ProviderNumber, r.CRF_ProviderName),
              std::tuple(PathOf("FIRST.CRF"), folder, "FIRST.CRF", "0287", "AB-CDE", "Test Home Office"));
    EXPECT_EQ(std::tie(r.CRF_FYStart, r.CRF_FYEnd), std::tuple(*DateTime::FromParts(2006, 1, 1), *DateTime::FromParts(2006, 12, 31)));
    EXPECT_EQ(r.CRF_HeaderLines, (std::array<std::string, 3>{"", "", ""}));
    EXPECT_EQ(ui.LastState(), "opened");
    EXPECT_TRUE(ui.Messages().empty());

    // Save As: the copy is the open report from now on.
    ClearUi();
    ui.QueueSaveFile(ui::FileChoice{PathOf("SECOND.CRF"), "SECOND.CRF"});
    ASSERT_TRUE(SaveCRFAs());
    EXPECT_EQ(std::tie(ui.FileRequests()[0].title, ui.FileRequests()[0].initialDir, ui.FileRequests()[0].confirmOverwrite),
              std::tuple("Save Cost Report File As ...", folder, true));
    EXPECT_EQ(r.CRF_Path, PathOf("SECOND.CRF"));
    EXPECT_EQ(ui.events, (std::vector<std::string>{"opened", "replaced"}));
    Db().Execute("UPDATE Master SET ProviderName = 'Changed After Save As'");
    EXPECT_EQ(ProviderNameIn(PathOf("FIRST.CRF")), "Test Home Office");
    EXPECT_EQ(ProviderNameIn(PathOf("SECOND.CRF")), "Changed After Save As");

    // Move to another folder: the file goes, the report stays open there.
    fs::create_directories(PathOf("elsewhere"));
    const std::string moved = (fs::path(PathOf("elsewhere")) / "MOVED.CRF").string();
    ClearUi();
    ui.QueueSaveFile(ui::FileChoice{moved, "MOVED.CRF"});
    ASSERT_TRUE(MoveCRF());
    EXPECT_EQ(std::tie(ui.FileRequests()[0].title, ui.FileRequests()[0].initialDir),
              std::tuple("Move/Rename Cost Report File To ...", folder));
    EXPECT_FALSE(fs::exists(PathOf("SECOND.CRF")));
    EXPECT_EQ(r.CRF_Path, moved);
    EXPECT_EQ(Db().Scalar("SELECT ProviderName FROM Master").ToText(), "Changed After Save As");
    EXPECT_EQ(ui.events, (std::vector<std::string>{"opened", "replaced"}));
    // Neither copy nor move changes where print files go or where Open starts.
    EXPECT_EQ(std::tuple(r.CRF_Folder, Setting()), std::tuple(folder, folder));

    // Save As and Move start where the report now is; with no report open,
    // New and the next Open start in the folder remembered.
    ClearUi();
    ui.QueueSaveFile(std::nullopt);
    EXPECT_FALSE(SaveCRFAs());
    EXPECT_EQ(ui.FileRequests()[0].initialDir, PathOf("elsewhere"));
    ClearUi();
    ui.QueueOpenFile(std::nullopt);
    EXPECT_FALSE(OpenCRF());
    EXPECT_EQ(ui.FileRequests()[0].initialDir, folder);
    ui.QueueSaveFile(std::nullopt);
    EXPECT_FALSE(CreateNewCRF(entries).created);
    EXPECT_EQ(ui.FileRequests()[1].initialDir, folder);
    EXPECT_FALSE(ReportOpen());
    EXPECT_EQ(ui.LastState(), "closed");
}

// ---- Open's refusals ----

// A file that is no report of this program: one message, a beep where the
// report was read and refused, and no report left open.
TEST_F(ReportFile, OpenRefusesWhatIsNoReportOfThisProgram) {
    std::ofstream(PathOf("NOTES.CRF")) << "These are my notes, not a cost report.\n";
    std::ofstream(PathOf("ZERO.CRF"));  // an empty file is an empty SQLite database
    db::Database::Create(PathOf("EMPTY.CRF"))->Execute("CREATE TABLE Notes (Line TEXT)");  // SQLite, but no Master
    MakeReportWith("NOROW.CRF", "DELETE FROM Master", {});
    MakeReportWith("NOFIELD.CRF", "DROP TABLE Master", {});
    auto nofield = db::Database::Open(PathOf("NOFIELD.CRF"));
    nofield->Execute("CREATE TABLE Master (FormNum TEXT)");
    nofield->Execute("INSERT INTO Master VALUES ('0287')");
    nofield.reset();
    MakeReportWith("OTHER.CRF", "UPDATE Master SET FormNum = ?", {Value("0286")});
    MakeReportWith("EARLY.CRF", "UPDATE Master SET FYStart = ?, FYEnd = ?",
                   {Value(*DateTime::FromParts(2004, 9, 30)), Value(*DateTime::FromParts(2005, 9, 29))});

    const std::string invalid =
        "Invalid CRF, please rebuild this CRF or contact Quelldorn Systems, Inc. for further advice.";
    // A database with no report in it is not to be rebuilt: it is no report.
    const auto notAReport = [&](const char* file) {
        return "The file " + PathOf(file) + " is not a Cost Report File: it holds no report, so it cannot be opened.";
    };
    const std::string otherForm =
        "You are presently running " + NoCRFCaption() +
        ".  This program is for use only in producing CMS 287 Cost Reports.  You have just attempted to open a CRF "
        "file (OTHER.CRF) containing data for a CMS 0286 Cost Report.  Your request is being aborted.  Select OK to "
        "proceed.";
    const struct {
        const char* file;
        std::string title, prompt;
        int style, beeps;
    } cases[] = {
        {"NOTES.CRF", "Error opening CRF", invalid, ui::kCritical, 0},
        {"ZERO.CRF", "Error opening CRF", notAReport("ZERO.CRF"), ui::kCritical, 0},
        {"EMPTY.CRF", "Error opening CRF", notAReport("EMPTY.CRF"), ui::kCritical, 0},
        {"NOROW.CRF", "Error opening CRF", invalid, ui::kCritical, 0},
        {"NOFIELD.CRF", "Error opening CRF", invalid, ui::kCritical, 0},
        {"MISSING.CRF", "Error opening CRF", invalid, ui::kCritical, 0},
        {"OTHER.CRF", "Error: Attempting to Open Invalid CRF file", otherForm, ui::kCritical, 1},
        {"EARLY.CRF", "Incorrect Vantrel Version", FYCutoffMessage(), ui::kInformation, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        ClearUi();
        ui.ExpectMessage();
        EXPECT_FALSE(OpenReport(c.file));
        ASSERT_EQ(ui.Messages().size(), 1u);
        // A file that is no report also names what was found wrong.
        const auto& m = ui.Messages()[0];
        EXPECT_EQ(ShownMessage(m.prompt.substr(0, c.prompt.size()), m.style, m.title), ShownMessage(c.prompt, c.style, c.title));
        EXPECT_EQ(ui.Beeps(), c.beeps);
        EXPECT_FALSE(ReportOpen());
        EXPECT_EQ(std::tuple(ui.LastState(), ui.closedCaption, Report().CRF_Path), std::tuple("closed", NoCRFCaption(), ""));
    }
}

TEST_F(ReportFile, FiscalYearEndingOnTheCutOffOpens) {
    MakeReportWith("CUTOFF.CRF", "UPDATE Master SET FYStart = ?, FYEnd = ?",
                   {Value(*DateTime::FromParts(2004, 10, 1)), Value(*DateTime::FromParts(2005, 9, 30))});
    EXPECT_TRUE(OpenReport("CUTOFF.CRF"));
    EXPECT_EQ(Report().CRF_FYEnd, *DateTime::FromParts(2005, 9, 30));
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(ReportFile, OpeningClosesTheReportThatWasOpen) {
    MakeReport("A.CRF");
    MakeReport("B.CRF");
    ClearUi();
    ASSERT_TRUE(OpenReport("A.CRF"));
    EXPECT_EQ(ui.events.front(), "windows closed");
    EXPECT_EQ(Db().Path(), PathOf("A.CRF"));
    // A New that failed in that folder left its file and journal: Open removes them.
    const std::string left = UnfinishedReportPath(PathOf("C.CRF"));
    for (const std::string& name : {left, left + "-journal"}) std::ofstream(name) << "half";
    ASSERT_TRUE(OpenReport("A.CRF"));
    EXPECT_FALSE(fs::exists(left) || fs::exists(left + "-journal"));
    EXPECT_TRUE(fs::exists(PathOf("B.CRF")));
    // What the status line said was about the report closed: it goes with it.
    for (bool close : {true, false}) {
        ui.SetStatus(" Printed to " + PathOf("H.pdf"), true);
        if (close) CloseCRF();
        else ASSERT_TRUE(OpenReport("B.CRF"));
        EXPECT_FALSE(ui.StatusVisible()) << close;
    }
}

// ---- What Open puts right in the file ----

TEST_F(ReportFile, InterestIncomeIsAddedOnceAndNeverAgainstTheUsersDeletion) {
    const char* count = "SELECT COUNT(*) FROM CostCenters WHERE CCNum = 30.01";
    MakeReportWith("GONE.CRF", "DELETE FROM CostCenters WHERE CCNum = 30.01", {});
    ASSERT_TRUE(OpenReport("GONE.CRF"));
    EXPECT_EQ(Rows("SELECT LineNum, CCName, ColLabel1, ColLabel2, ColLabel3 FROM CostCenters WHERE CCNum = 30.01"),
              (Table{{"30.01", "Interest Income", "Interest", "Income", "Null"}}));
    const auto total = Db().Scalar("SELECT COUNT(*) FROM CostCenters").ToLong();

    // Opened again: already there, nothing changes.
    ASSERT_TRUE(OpenReport("GONE.CRF"));
    EXPECT_EQ(Db().Scalar("SELECT COUNT(*) FROM CostCenters").ToLong(), total);
    EXPECT_TRUE(ui.Messages().empty());

    // Deleted by the user (kept in DeletedCCs): it stays deleted.
    Build_DeletedCCs();
    Db().Execute("INSERT INTO DeletedCCs SELECT * FROM CostCenters WHERE CCNum = 30.01");
    Db().Execute("DELETE FROM CostCenters WHERE CCNum = 30.01");
    ASSERT_TRUE(OpenReport("GONE.CRF"));
    EXPECT_EQ(Db().Scalar(count).ToLong(), 0);
    EXPECT_EQ(Get_CC_Name(Value(Currency::FromScaled(300100))), "< Invalid CCNum >");
}

TEST_F(ReportFile, TotalCaptionsOfEAndF1PartIAreSetRight) {
    MakeReport("LABELS.CRF");
    for (const char* sheet : {"E", "F1p1"}) {
        Db().Execute(std::string("UPDATE ") + sheet + " SET Component = 'Total (lines 19-26)' WHERE SeqNum IN (28, 33)");
        Db().Execute(std::string("UPDATE ") + sheet + " SET Component = 'Mine' WHERE SeqNum = 27");
    }
    CloseCRF();
    ASSERT_TRUE(OpenReport("LABELS.CRF"));
    for (const char* sheet : {"E", "F1p1"}) {
        EXPECT_EQ(Rows(std::string("SELECT Component FROM ") + sheet + " WHERE SeqNum IN (18, 27, 28, 33) ORDER BY SeqNum"),
                  (Table{{"Total (lines 1-17)"}, {"Mine"}, {"Total (lines 19-27)"}, {"Total (lines 29-32)"}})) << sheet;
    }
}

TEST_F(ReportFile, ReportWithoutSheetsToFixStillOpens) {
    MakeReport("BARE.CRF");
    for (const char* t : {"E", "F1p1", "CostCenters"})
        if (Table_Exists(t)) Db().DropTable(t);
    CloseCRF();
    EXPECT_TRUE(OpenReport("BARE.CRF"));
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(ReportFile, HeaderLinesAreReadNullAsEmptyAndMissingRowsAsEmpty) {
    MakeReport("HEAD.CRF");
    Db().Execute("UPDATE HeaderLines SET Line = ? WHERE LineNum = 1", {Value("First line")});
    Db().Execute("UPDATE HeaderLines SET Line = ? WHERE LineNum = 3", {Value("Third line")});
    CloseCRF();
    ASSERT_TRUE(OpenReport("HEAD.CRF"));
    EXPECT_EQ(Report().CRF_HeaderLines, (std::array<std::string, 3>{"First line", "", "Third line"}));

    Db().Execute("DELETE FROM HeaderLines WHERE LineNum > 1");
    ASSERT_TRUE(OpenReport("HEAD.CRF"));
    EXPECT_EQ(Report().CRF_HeaderLines, (std::array<std::string, 3>{"First line", "", ""}));
}

// ---- Save As and Move/ReName ----

// Onto the open report itself, into a folder that is not there, under a name
// too long, onto a full disk or where the user may not write: told with the
// reason, and the old file stays open and whole; a file already at the target
// stays as it was.
TEST_F(ReportFile, SaveAsThatFailsKeepsTheOldFileOpenAndSaysWhy) {
    MakeReport("OPEN.CRF");
    fs::create_directory(PathOf("locked"));
    std::ofstream(PathOf("PROTECTED.CRF")) << "keep me";
    fs::permissions(PathOf("PROTECTED.CRF"), fs::perms::owner_write, fs::perm_options::remove);
    // Another user's file that anyone may write, in a shared folder that
    // keeps each file for its owner: it may not be replaced.
    fs::create_directory(PathOf("shared"));
    std::ofstream(PathOf("shared/THEIRS.CRF")) << "theirs";
    fs::permissions(PathOf("shared/THEIRS.CRF"), fs::perms(0666));
    fs::permissions(PathOf("shared"), fs::perms(01777));
    const struct {
        std::string target;
        const char* reason;
        int pageLimit = 0;  // pages the disk holds for the copy (0: no limit)
        bool asUser = false;  // root may write anywhere: only a user can meet the case
    } cases[] = {
        {PathOf("OPEN.CRF"), "the target is the open report"},
        {PathOf("no such folder/COPY.CRF"), "the folder does not exist"},
        {PathOf(std::string(300, 'N') + ".CRF"), "the file name is too long"},
        {PathOf("FULL.CRF"), "the disk is full", 5},
        {PathOf("locked/COPY.CRF"), "there is no permission to write in its folder", 0, true},
        {PathOf("PROTECTED.CRF"), "the target is write-protected", 0, true},
        {PathOf("shared/THEIRS.CRF"), "there is no permission to write the file", 0, true},
    };
    fs::permissions(PathOf("locked"), fs::perms::owner_write, fs::perm_options::remove);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        if (c.target == PathOf("shared/THEIRS.CRF") && ::geteuid() != 0) continue;  // another's file takes root
        if (c.asUser) {
            const std::string told = AsPlainUser([&] {
                ClearUi();
                ui.QueueSaveFile(ui::FileChoice{c.target, fs::path(c.target).filename().string()});
                ui.ExpectMessage();
                SaveCRFAs();
                return ui.Messages().empty() ? std::string() : ui.Messages()[0].prompt;
            });
            EXPECT_EQ(told, kSaveAsFailed + std::string("\r\n\r\nReason: ") + c.reason + ".");
            continue;
        }
        ClearUi();
        ui.QueueSaveFile(ui::FileChoice{c.target, fs::path(c.target).filename().string()});
        ui.ExpectMessage();
        db::testing::SetPageLimit(c.pageLimit);
        EXPECT_FALSE(SaveCRFAs());
        db::testing::SetPageLimit(0);
        EXPECT_EQ(ui.Messages(), (Shown{{kSaveAsFailed + std::string("\r\n\r\nReason: ") + c.reason + ".",
                                         ui::kCritical, "Error: Save As Request Failed"}}));
        EXPECT_EQ(ui.Beeps(), 1);
        EXPECT_TRUE(ui.events.empty());
        ExpectStillOpen();
        EXPECT_FALSE(fs::exists(PathOf("FULL.CRF")) || fs::exists(PathOf("locked/COPY.CRF")));
    }
    fs::permissions(PathOf("locked"), fs::perms::owner_write, fs::perm_options::add);
    std::error_code ec;
    EXPECT_FALSE(fs::exists(PathOf("FULL.CRF.vtcopy"), ec));
    EXPECT_EQ(ReadText(PathOf("PROTECTED.CRF")), "keep me");
    EXPECT_EQ(ReadText(PathOf("shared/THEIRS.CRF")), "theirs");
    EXPECT_FALSE(fs::exists(PathOf("shared/THEIRS.CRF.vtcopy"), ec));
    // Cancel: nothing at all.
    ui.QueueSaveFile(std::nullopt);
    EXPECT_FALSE(SaveCRFAs());
    EXPECT_EQ(ui.Messages().size(), 1u);
}

// What a Save As or a print killed half way left beside its target: the next
// such command in that folder removes this user's leftovers of a process of
// this machine that is gone, and keeps a running process's, another machine's
// and another user's, whose leftover in a shared folder never stops it. Run by
// root, the commands are a plain user's and root's files the other user's.
TEST_F(ReportFile, OnlyThisUsersLeftoversOfAGoneProcessGoAtTheNextSaveAsOrPrint) {
    MakeReport("OPEN.CRF");
    const pid_t gone = ::fork();
    if (gone == 0) ::_exit(0);
    ASSERT_EQ(::waitpid(gone, nullptr, 0), gone);
    fs::create_directory(PathOf("shared"));
    fs::permissions(PathOf("shared"), fs::perms(01777));
    const bool root = ::geteuid() == 0;
    const auto shared = [&](const char* name) { return PathOf(std::string("shared/") + name); };
    const auto working = [&](const char* name, const db::WorkingKind& kind, long pid, const char* host = "",
                             unsigned serial = 2) { return db::WorkingFileName(shared(name), kind, pid, host, serial); };
    enum Command { kSaveAs, kPrint };
    const struct {
        Command next;
        std::string file;
        bool others, removed;
    } leftovers[] = {
        {kSaveAs, shared("Y.CRF.vtcopy"), true, false},  // an earlier version's name
        {kSaveAs, working("Y.CRF", db::kReportCopy, gone, "", 1), true, false},
        {kSaveAs, working("Y.CRF", db::kReportCopy, gone), false, true},
        {kSaveAs, working("Y.CRF", db::kReportCopy, gone) + "-journal", false, true},
        {kSaveAs, UnfinishedReportPath(shared("N.CRF"), gone), false, true},
        {kPrint, working("F.prt", db::kPrintCopy, gone), false, true},
        {kPrint, working("F.pdf", db::kPrintCopy, gone), false, true},
        {kPrint, working("F.pdf", db::kPrintCopy, ::getppid()), false, false},
        {kPrint, working("F.pdf", db::kPrintCopy, gone, "far"), false, false},
        {kPrint, working("F.prt", db::kPrintCopy, gone, "", 1), true, false},
        {kPrint, shared(".F.prt.12345-2"), false, false},
    };
    for (Command command : {kSaveAs, kPrint}) {
        SCOPED_TRACE(command == kSaveAs ? "Save As" : "print");
        for (const auto& l : leftovers) {
            if (l.next != command || (l.others && !root)) continue;
            std::ofstream(l.file) << "half";
            // The same name in another's hands: the case of a dead process's
            // pid again, or another user's.
            if (root && !l.others) {
                ASSERT_EQ(::chown(l.file.c_str(), 65534, 65534), 0);
            }
        }
        const std::string told = AsPlainUser([&] {
            ClearUi();
            if (command == kSaveAs) {
                if (!SaveCRFTo(ui::FileChoice{shared("Y.CRF"), "Y.CRF"})) return ui.Prompts().back();
                return ProviderNameIn(shared("Y.CRF"));
            }
            const int file = print::OpenPrintFile(shared("F.prt"));
            print::Out(file) << "printed";
            print::ClosePrintFile(file);
            return ReadText(shared("F.prt"));
        });
        EXPECT_EQ(told, command == kSaveAs ? "Test Home Office" : "printed");
        for (const auto& l : leftovers) {
            if (l.next != command || (l.others && !root)) continue;
            EXPECT_NE(fs::exists(l.file), l.removed) << l.file;
        }
    }
    // Nothing of the commands' own is left beside what they wrote.
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(PathOf("shared"))) names.insert(entry.path().string());
    for (const auto& l : leftovers) names.erase(l.file);
    EXPECT_EQ(names, (std::set<std::string>{shared("Y.CRF"), shared("F.prt")}));
}

TEST_F(ReportFile, MoveNeverReplacesAFile) {
    MakeReport("OTHER.CRF", {"0287", "99-9999", "01/01/2007", "12/31/2007", "Another Facility"});
    MakeReport("OPEN.CRF");
    for (const char* target : {"OTHER.CRF", "OPEN.CRF"}) {
        ClearUi();
        ui.QueueSaveFile(ui::FileChoice{PathOf(target), target});
        ui.ExpectMessage();
        EXPECT_FALSE(MoveCRF()) << target;
        EXPECT_EQ(ui.Messages(), (Shown{{kMoveFailed + std::string("\r\n\r\nReason: a file of that name exists "
                                                                  "already."),
                                         ui::kCritical, "Error: Move/ReName Request Failed"}}));
        // The old file is open again; the other one untouched.
        ASSERT_TRUE(ReportOpen());
        ExpectStillOpen();
        EXPECT_EQ(ProviderNameIn(PathOf("OTHER.CRF")), "Another Facility");
        EXPECT_EQ(ui.events, (std::vector<std::string>{"opened", "replaced"}));
    }
    ClearUi();
    ui.QueueSaveFile(std::nullopt);
    EXPECT_FALSE(MoveCRF());
    EXPECT_TRUE(ui.events.empty());
    EXPECT_EQ(Db().Path(), PathOf("OPEN.CRF"));
}

// A move or an open the system refuses says why, as Save As does.
TEST_F(ReportFile, MoveAndOpenThatFailSayWhy) {
    MakeReport("OPEN.CRF");
    ClearUi();
    ui.QueueSaveFile(ui::FileChoice{PathOf("no such folder/MOVED.CRF"), "MOVED.CRF"});
    ui.ExpectMessage();
    EXPECT_FALSE(MoveCRF());
    EXPECT_EQ(ui.Prompts(), std::vector<std::string>{kMoveFailed + std::string("\r\n\r\nReason: the folder does "
                                                                                "not exist.")});
    ExpectStillOpen();

    // The plain user's own report, moved into a folder it may not write in.
    fs::create_directory(PathOf("mine"));
    MakeReport("mine/MINE.CRF");
    if (::geteuid() == 0) {
        for (const char* name : {"mine", "mine/MINE.CRF"}) ASSERT_EQ(::chown(PathOf(name).c_str(), 65534, 65534), 0);
    }
    fs::create_directory(PathOf("locked"));
    fs::permissions(PathOf("locked"), fs::perms::owner_write, fs::perm_options::remove);
    ClearUi();
    const auto movedAsPlainUser = [&](const std::string& target) {
        return AsPlainUser([&] {
            ClearUi();
            ui.QueueSaveFile(ui::FileChoice{PathOf(target), "MOVED.CRF"});
            ui.ExpectMessage();
            MoveCRF();
            return ui.Prompts().empty() ? std::string() : ui.Prompts().back();
        });
    };
    EXPECT_EQ(movedAsPlainUser("locked/MOVED.CRF"),
              kMoveFailed + std::string("\r\n\r\nReason: there is no permission to write in its folder."));
    fs::permissions(PathOf("locked"), fs::perms::owner_write, fs::perm_options::add);
    // Another user's report, which a shared folder keeps for its owner.
    if (::geteuid() == 0) {
        fs::create_directory(PathOf("shared"));
        MakeReport("shared/THEIRS.CRF");
        fs::permissions(PathOf("shared/THEIRS.CRF"), fs::perms(0666));
        fs::permissions(PathOf("shared"), fs::perms(01777));
        EXPECT_EQ(movedAsPlainUser("shared/MOVED.CRF"),
                  kMoveFailed + std::string("\r\n\r\nReason: there is no permission to write the file."));
    }

    CloseCRF();
    fs::permissions(PathOf("OPEN.CRF"), fs::perms::owner_write, fs::perm_options::replace);
    EXPECT_EQ(AsPlainUser([&] {
                  ClearUi();
                  ui.ExpectMessage();
                  OpenReport("OPEN.CRF");
                  return ui.Prompts().empty() ? std::string() : ui.Prompts().back();
              }),
              "The Cost Report File " + PathOf("OPEN.CRF") +
                  " cannot be opened: there is no permission to read the file.\r\n\r\n[ Cannot open " +
                  PathOf("OPEN.CRF") + ": there is no permission to read the file ]");
}

// New's chooser starts in the program's folder where the user may write
// there (root may), else at home, until a report was opened.
TEST_F(ReportFile, NewStartsWhereTheUserCanWrite) {
    if (::geteuid() != 0) GTEST_SKIP() << "the program's folder is the system's only to a user other than root";
    const std::string home = PathOf("home"), keptHome = std::getenv("HOME") ? std::getenv("HOME") : "/";
    ::setenv("HOME", home.c_str(), 1);
    const auto newStartsIn = [&] {
        ClearUi();
        ui.QueueSaveFile(std::nullopt);
        NewCrfEntries entries = ValidEntries();
        CreateNewCRF(entries);
        return ui.FileRequests().empty() ? std::string("no chooser") : ui.FileRequests()[0].initialDir;
    };
    EXPECT_EQ(newStartsIn(), ProgramFolder());
    EXPECT_EQ(AsPlainUser(newStartsIn), home);
    settings::UserSettings().Save("Vantrel 287", "Startup", "CRFLoc", folder);
    EXPECT_EQ(AsPlainUser(newStartsIn), folder);
    ::setenv("HOME", keptHome.c_str(), 1);
}

// A move onto a disk with too little room, whether the copy ends in a short
// write or finds no room at all, says that the disk is full.
TEST_F(ReportFile, MoveOntoAFullDiskSaysTheDiskIsFull) {
    MakeReport("OPEN.CRF");
    const auto size = fs::file_size(PathOf("OPEN.CRF"));
    const std::string disk = PathOf("small");
    fs::create_directory(disk);
    if (::mount("vt-small", disk.c_str(), "tmpfs", 0, ("size=" + std::to_string(size / 2)).c_str()) != 0)
        GTEST_SKIP() << "mounting a disk takes root";
    const struct Unmount { std::string at; ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); } } unmount{disk};
    for (const size_t room : {size / 2, size_t{0}}) {
        std::ofstream(disk + "/filler", std::ios::binary | std::ios::trunc) << std::string(size / 2 - room, 'x');
        ClearUi();
        ui.QueueSaveFile(ui::FileChoice{disk + "/MOVED.CRF", "MOVED.CRF"});
        ui.ExpectMessage();
        EXPECT_FALSE(MoveCRF());
        const std::string told = kMoveFailed + std::string("\r\n\r\nReason: the disk is full.");
        EXPECT_EQ(ui.Prompts(), std::vector<std::string>{told}) << room;
        EXPECT_FALSE(fs::exists(disk + "/MOVED.CRF"));
        ExpectStillOpen();
    }
}

}  // namespace
}  // namespace vt::test
