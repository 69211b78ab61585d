// Opening what is not a sound report that the program may write: damaged
// files, files another program holds, read-only files and folders. Each
// gives one clear message, leaves no report open and the file as it was.
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/db/db.h"
#include "report/report_file.h"
#include "store/report.h"
#include "tests/report/report_file_fixture.h"

namespace vt::test {
namespace {

namespace fs = std::filesystem;

class DamagedFile : public ReportFileTest {
protected:
    std::string Bytes(const std::string& name) const {
        std::ostringstream out;
        out << std::ifstream(PathOf(name), std::ios::binary).rdbuf();
        return out.str();
    }
    // Opens the file expecting a refusal: one message holding `expected`,
    // no report open, the file's bytes untouched.
    void ExpectRefused(const std::string& name, const std::string& expected) {
        SCOPED_TRACE(name);
        const std::string before = Bytes(name);
        ClearUi();
        ui.AllowMessages();
        EXPECT_FALSE(OpenReport(name));
        ASSERT_EQ(ui.Messages().size(), 1u);
        EXPECT_EQ(ui.Messages()[0].title, "Error opening CRF");
        EXPECT_NE(ui.Messages()[0].prompt.find(expected), std::string::npos) << ui.Messages()[0].prompt;
        EXPECT_TRUE(!(Report().CRF_Database && Report().CRF_Database->IsOpen()) && ui.LastState() == "closed");
        EXPECT_TRUE(Bytes(name) == before);
    }
    // A sound report, closed, then changed on disk by `sql` through SQLite itself.
    void MakeDamaged(const std::string& name, const std::string& sql) {
        MakeReport(name);
        CloseCRF();
        sqlite3* h = nullptr;
        ASSERT_EQ(sqlite3_open(PathOf(name).c_str(), &h), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(h, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(h);
        sqlite3_close(h);
    }
};

const char* const kInvalid = "Invalid CRF, please rebuild this CRF";

TEST_F(DamagedFile, DamagedBytesAreAnInvalidReport) {
    MakeReport("SOUND.CRF");
    const int64_t rootOfMaster = Db().Scalar("SELECT rootpage FROM sqlite_master WHERE name = 'Master'").ToLong();
    CloseCRF();
    const std::string sound = Bytes("SOUND.CRF");
    const size_t page = 4096;
    ASSERT_EQ(sound.size() % page, 0u);
    for (size_t size : {size_t{100}, page, sound.size() / 2, sound.size() - page}) {
        std::ofstream(PathOf("CUT.CRF"), std::ios::binary | std::ios::trunc) << sound.substr(0, size);
        ExpectRefused("CUT.CRF", kInvalid);
    }
    std::string overwritten = sound;
    overwritten.replace(static_cast<size_t>(rootOfMaster - 1) * page, page, std::string(page, '\xff'));
    std::ofstream(PathOf("PAGE.CRF"), std::ios::binary) << overwritten;
    ExpectRefused("PAGE.CRF", kInvalid);
}

// Tables and fields missing, and values of the wrong kind where the report's
// identity is kept: the reason is named, and no fiscal year of 100 is read.
TEST_F(DamagedFile, DamagedContentsAreAnInvalidReportWithTheReason) {
    const struct {
        const char* name;
        const char* sql;
        const char* reason;
    } cases[] = {
        {"NOHEADER.CRF", "DROP TABLE HeaderLines", "HeaderLines"},
        {"NOEND.CRF", "ALTER TABLE Master DROP COLUMN FYEnd", "FYEnd"},
        {"NULLEND.CRF", "UPDATE Master SET FYEnd = NULL", "fiscal year end (Master, field FYEnd) is missing"},
        {"TEXTEND.CRF", "UPDATE Master SET FYEnd = 'soon'", "table Master, field FYEnd"},
        {"BLOBSTART.CRF", "UPDATE Master SET FYStart = x'00ff'", "table Master, field FYStart"},
    };
    for (const auto& c : cases) {
        MakeDamaged(c.name, c.sql);
        ExpectRefused(c.name, kInvalid);
        EXPECT_NE(ui.Messages().at(0).prompt.find(c.reason), std::string::npos) << ui.Messages().at(0).prompt;
    }
}

// Another program reading or writing the report: Open waits a little, then
// says the file is in use.
TEST_F(DamagedFile, FileInUseIsSaidToBeInUse) {
    MakeReport("BUSY.CRF");
    CloseCRF();
    for (const char* hold : {"BEGIN EXCLUSIVE", "BEGIN; SELECT COUNT(*) FROM Master;"}) {
        SCOPED_TRACE(hold);
        sqlite3* other = nullptr;
        ASSERT_EQ(sqlite3_open(PathOf("BUSY.CRF").c_str(), &other), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(other, hold, nullptr, nullptr, nullptr), SQLITE_OK);
        ExpectRefused("BUSY.CRF", "The Cost Report File " + PathOf("BUSY.CRF") +
                                      " cannot be opened: the file is in use by another program");
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
    }
    EXPECT_TRUE(OpenReport("BUSY.CRF"));  // and once let go, it opens
}

// A file SQLite may only read, and a folder it may not write its journal in.
// Root may write any file, so there the file is opened as SQLite opens a
// write-protected one, and the folder case cannot be made.
TEST_F(DamagedFile, ReadOnlyFileOrFolderIsSaidToBeReadOnly) {
    fs::create_directory(PathOf("locked"));
    MakeReport("locked/RO.CRF");
    CloseCRF();
    const bool root = ::geteuid() == 0;
    db::testing::SetOpenReadOnly(root);
    const auto locked = root ? PathOf("locked/RO.CRF") : PathOf("locked");
    fs::permissions(locked, fs::perms::owner_write, fs::perm_options::remove);
    ExpectRefused("locked/RO.CRF", "The Cost Report File " + PathOf("locked/RO.CRF") +
                                       " cannot be opened: the file or its folder is read-only");
    db::testing::SetOpenReadOnly(false);
    fs::permissions(locked, fs::perms::owner_write, fs::perm_options::add);
}

}  // namespace
}  // namespace vt::test
