// The provider-information dialog's saves and the custom header lines: what
// lands in the file, in the open-report state and on the printed page.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "print/print.h"
#include "report/header_lines.h"
#include "report/provider_info.h"
#include "report/report_file.h"
#include "store/report.h"
#include "store/services.h"
#include "tests/report/report_file_fixture.h"

namespace vt::test {
namespace {

namespace fs = std::filesystem;

class Identity : public ReportFileTest {
protected:
    void SetUp() override {
        ReportFileTest::SetUp();
        MakeReport("ID.CRF");
        ClearUi();
    }

    std::vector<std::string> Ap1Identity() {
        std::vector<std::string> out;
        auto rs = Db().OpenRecordset("SELECT Info FROM Ap1 WHERE SeqNum IN (1, 2.02, 6.01, 6.02) ORDER BY SeqNum");
        for (; !rs.Eof(); rs.MoveNext()) out.push_back(rs["Info"].ToText());
        return out;
    }
    std::vector<std::string> MasterIdentity(db::Database& db) {
        auto m = db.OpenRecordset("SELECT * FROM Master");
        return {m["FormNum"].ToText(), m["ProviderNumber"].ToText(), Format(m["FYStart"], "mm/dd/yyyy"),
                Format(m["FYEnd"], "mm/dd/yyyy"), m["ProviderName"].ToText()};
    }
};

TEST_F(Identity, SaveWritesMasterTheFourLinesAndTheState) {
    Db().Execute("UPDATE Master SET BuildDate = ?", {Value(*DateTime::FromParts(2006, 2, 1))});
    IdentityEntries e{"65-4321", "7/1/2006", "", "O'Brien; DROP TABLE Master"};
    const SaveIdentityResult saved = SaveIdentity(e);
    ASSERT_TRUE(saved.saved);
    EXPECT_EQ(std::tie(e.txtFYStart, e.txtFYEnd), std::tuple("07/01/2006", "06/30/2007"));

    EXPECT_EQ(MasterIdentity(Db()),
              (std::vector<std::string>{"0287", "65-4321", "07/01/2006", "06/30/2007", "O'Brien; DROP TABLE Master"}));
    EXPECT_LT(std::abs(Db().Scalar("SELECT BuildDate FROM Master").ToDate().serial - DateTime::Now().serial), 1.0 / 24);
    EXPECT_EQ(Ap1Identity(),
              (std::vector<std::string>{"O'Brien; DROP TABLE Master", "65-4321", "07/01/2006", "06/30/2007"}));

    EXPECT_EQ(Report().CRF_FYStart, *DateTime::FromParts(2006, 7, 1));

    // Opened again, the report has the new identity throughout.
    CloseCRF();
    ASSERT_TRUE(OpenReport("ID.CRF"));
    EXPECT_EQ(std::tie(Report().CRF_ProviderName, Report().CRF_FYEnd),
              std::tuple("O'Brien; DROP TABLE Master", *DateTime::FromParts(2007, 6, 30)));
}

TEST_F(Identity, SaveAsSavesIntoTheCopyOnly) {
    IdentityEntries e{"77-7777", "01/01/2008", "12/31/2008", "Copied Home Office"};
    ui.QueueSaveFile(ui::FileChoice{PathOf("COPY.CRF"), "COPY.CRF"});
    ASSERT_TRUE(SaveIdentityAs(e).saved);
    ASSERT_EQ(ui.FileRequests().size(), 1u);
    const auto& asked = ui.FileRequests()[0];  // starting where the open report is
    EXPECT_EQ(std::tie(asked.title, asked.confirmOverwrite, asked.initialDir), std::tuple("Save Cost Report File As ...", true, folder));
    EXPECT_EQ(std::tuple(Db().Path(), Report().CRF_Title, MasterIdentity(Db())[4], Ap1Identity()[1]),
              std::tuple(PathOf("COPY.CRF"), "COPY.CRF", "Copied Home Office", "77-7777"));
    EXPECT_EQ(MasterIdentity(*db::Database::Open(PathOf("ID.CRF"))),
              (std::vector<std::string>{"0287", "12-3456", "01/01/2006", "12/31/2006", "Test Home Office"}));
}

TEST_F(Identity, SaveAsCancelledStillSavesIntoTheOpenReport) {
    IdentityEntries e{"77-7777", "01/01/2008", "12/31/2008", "Kept Home Office"};
    ui.QueueSaveFile(std::nullopt);
    ASSERT_TRUE(SaveIdentityAs(e).saved);
    EXPECT_EQ(std::tuple(Db().Path(), MasterIdentity(Db())[4]), std::tuple(PathOf("ID.CRF"), "Kept Home Office"));
    EXPECT_TRUE(ui.Messages().empty()) << "the entries are checked once, not again after the copy";

    // Refused entries ask for no file.
    e.txtProviderNum = "77-777";
    ui.ExpectMessage();
    EXPECT_EQ(SaveIdentityAs(e).refused, IdentityField::ProviderNum);
    EXPECT_EQ(ui.FileRequests().size(), 1u);
}

// A disk that takes no more: each save says what was not saved, and the file
// and the open-report state stay as they were.
class FullDisk {
public:
    FullDisk() { db::testing::SetWriteFailure(SQLITE_FULL); }
    ~FullDisk() { db::testing::SetWriteFailure(0); }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;
};

const char* const kNotSavedTitle = "Error: Not Saved";

TEST_F(Identity, SaveOnAFullDiskSaysWhatWasNotSaved) {
    const auto master = MasterIdentity(Db());
    const auto ap1 = Ap1Identity();
    for (bool saveAs : {false, true}) {
        SCOPED_TRACE(saveAs ? "Save As, cancelled" : "Save");
        ClearUi();
        IdentityEntries e{"77-7777", "01/01/2008", "12/31/2008", "Never Stored"};
        if (saveAs) ui.QueueSaveFile(std::nullopt);
        ui.ExpectMessage();
        SaveIdentityResult result;
        {
            FullDisk full;
            result = saveAs ? SaveIdentityAs(e) : SaveIdentity(e);
        }
        EXPECT_TRUE(!result.saved && result.refused == IdentityField::None);
        EXPECT_EQ(ui.Messages(), (Shown{{"The provider's identity was not saved: the disk is full. The report is "
                                         "unchanged.",
                                         ui::kCritical, kNotSavedTitle}}));
        EXPECT_EQ(std::tuple(MasterIdentity(Db()), Ap1Identity(), Report().CRF_ProviderName),
                  std::tuple(master, ap1, "Test Home Office"));
    }
}

// ---- Header lines ----

class HeaderLines : public ReportFileTest {
protected:
    void SetUp() override {
        ReportFileTest::SetUp();
        MakeReport("HL.CRF");
        ClearUi();
    }
    // The page header as a sheet print writes it now, line by line.
    std::vector<std::string> PageHeader() {
        const std::string path = PathOf("header.prt");
        const int fn = print::OpenPrintFile(path);
        int page = 0, lines = 0;
        print::Print_Page_Header(fn, "A", page, lines);
        print::ClosePrintFile(fn);
        std::ifstream in(path, std::ios::binary);
        std::vector<std::string> out;
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            const auto first = line.find_first_not_of(' ');
            out.push_back(first == std::string::npos ? "" : line.substr(first));
        }
        return out;
    }
    static bool Has(const std::vector<std::string>& lines, const std::string& text) {
        return std::find(lines.begin(), lines.end(), text) != lines.end();
    }
};

TEST_F(HeaderLines, AnEditedLineIsOnTheNextPageWithoutReopening) {
    const auto before = PageHeader();
    ASSERT_TRUE(SaveHeaderLine(2, "Consolidated for the board"));
    EXPECT_EQ(std::tuple(Report().CRF_HeaderLines[1], Db().Scalar("SELECT Line FROM HeaderLines WHERE LineNum = 2").ToText()),
              std::tuple("Consolidated for the board", "Consolidated for the board"));
    EXPECT_TRUE(Has(PageHeader(), "Consolidated for the board") && !Has(before, "Consolidated for the board"));

    // Cleared again: stored empty and left off the page.
    ASSERT_TRUE(SaveHeaderLine(2, ""));
    EXPECT_EQ(Db().Scalar("SELECT Line FROM HeaderLines WHERE LineNum = 2").ToText(), "");
    EXPECT_EQ(PageHeader(), before);

    // A line break, page feed or orientation mark would add pages to every print.
    ui.ExpectMessage();
    EXPECT_FALSE(SaveHeaderLine(1, "Split\r\nfeed\f\x02"));
    EXPECT_EQ(ui.Messages().back().prompt,
              "The custom header line may not contain control characters (such as tabs or line breaks).");
    EXPECT_EQ(Db().Scalar("SELECT Line FROM HeaderLines WHERE LineNum = 1").ToText() + Report().CRF_HeaderLines[0], "");

    // Stored lines come back with the report.
    ASSERT_TRUE(SaveHeaderLine(3, "Line 'three'"));
    ASSERT_TRUE(OpenReport("HL.CRF"));
    EXPECT_TRUE(Has(PageHeader(), "Line 'three'"));
}

TEST_F(HeaderLines, ALineSavedOnAFullDiskIsSaidNotSaved) {
    ASSERT_TRUE(SaveHeaderLine(2, "Kept"));
    ui.ExpectMessage();
    {
        FullDisk full;
        EXPECT_FALSE(SaveHeaderLine(2, "Lost"));
    }
    EXPECT_EQ(ui.Messages(), (Shown{{"Header line 2 was not saved: the disk is full. The report is unchanged.",
                                     ui::kCritical, kNotSavedTitle}}));
    EXPECT_EQ(std::tuple(Report().CRF_HeaderLines[1], Db().Scalar("SELECT Line FROM HeaderLines WHERE LineNum = 2").ToText()),
              std::tuple("Kept", "Kept"));
}

}  // namespace
}  // namespace vt::test
