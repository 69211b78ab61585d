// The commands that reach every worksheet: rebuilding one, printing the whole
// report, printing chosen sheet prints with their messages logged.
#include <sqlite3.h>

#include <filesystem>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/chain/component_sheet.h"
#include "print/print.h"
#include "report/calc_all.h"
#include "report/whole_report.h"
#include "report/worksheet_catalogue.h"
#include "store/report.h"
#include "tests/report/shell_fixture.h"
#include "tests/support/db_checks.h"
#include "tests/support/print_files.h"

namespace vt::test {
namespace {

using namespace vt::print;
using Lines = std::vector<std::string>;
using Snapshot = std::map<std::string, Table>;

// A part of worksheet A with a component line, and the rows that follow it
// in the component sheets.
const struct {
    std::string table, name, band;
} kParts[] = {
    {"Ap3", "North Home", "SeqNum >= 1 AND SeqNum < 18"},
    {"Ap4", "Pharmacy", "SeqNum >= 19 AND SeqNum < 27"},
    {"Ap5", "East Region", "SeqNum >= 29 AND SeqNum < 33"},
};

class Commands : public ShellTest {
protected:
    void TearDown() override {
        RebuildTestHook() = nullptr;
        ShellTest::TearDown();
    }

    // Every table's rows in stored order, and every index.
    Snapshot Snap() {
        Snapshot s;
        for (const auto& t : db().TableNames()) s[t] = Rows("SELECT * FROM " + t + " ORDER BY rowid");
        s["(indexes)"] = Rows("SELECT name, tbl_name, sql FROM sqlite_master WHERE type = 'index' ORDER BY name");
        return s;
    }

    // Entries in every sheet that takes them (a component line in each part
    // of A reaches every component sheet), then the whole-report calculation.
    void FillAndCalculate() {
        for (const auto& [table, name, band] : kParts) {
            Exec("INSERT INTO " + table + " (LineNum) VALUES (1);");
            Insert_Component_Line(Currency::FromInt(1), table.back() - '0');
            Propagate_Component_Field(Currency::FromInt(1), table.back() - '0', "Component", name);
        }
        for (const char* sql :
             {"UPDATE Ap1 SET Info = '03/01/1998' WHERE SeqNum = 4;", "UPDATE B SET Expenses = 10000 WHERE LineNum < 30;",
              "INSERT INTO B1 (SeqNum, Code, UpCCNum, UpAmount, DnCCNum, DnAmount) VALUES (1, 'A', 11, 1000, 12, 1000);",
              "UPDATE B2p1 SET BegBalance = 100000 WHERE SeqNum = 3;", "UPDATE B2p2 SET BegBalance = 40000 WHERE SeqNum = 6;",
              "UPDATE B2p3 SET GrossAssets = 5000 WHERE SeqNum = 1;", "UPDATE C SET Amount = -500, CCNum = 11 WHERE LineNum = 1;",
              "UPDATE DpA SET Answer = 'Yes';", "INSERT INTO DpB (SeqNum, LineNum, Amount) VALUES (1, 12, 3000);",
              "INSERT INTO DpC (SeqNum, RelatedOrg) VALUES (1, 'Parent Holdings');",
              "UPDATE Gp1 SET TotalCost = 5000 WHERE SeqNum = 1;", "UPDATE I SET Col_1 = 150000 WHERE SeqNum = 1;",
              "UPDATE J SET Col_1 = 25000 WHERE LineNum = 1;"})
            Exec(sql);
        ui.AllowMessages();
        Calc_All();
        ui.AllowMessages(false);
        ui.ClearRecords();
    }
};

// Each worksheet of a filled, calculated report: a builder made to fail
// leaves every table as it was and says so; the real rebuild gives the table
// (and its copies) as a new report has them and leaves every other table,
// the register included, as it was, but that a part of worksheet A empties
// its rows in the component sheets and has the open windows refreshed.
TEST_F(Commands, EachWorksheetComesBackFreshOrNotAtAll) {
    const Snapshot fresh = Snap();
    FillAndCalculate();
    for (const Worksheet& w : WorksheetCatalogue()) {
        SCOPED_TRACE(w.code);
        const auto built = BuiltTogether(w);
        const Snapshot before = Snap();
        ASSERT_NE(before.at(w.code), fresh.at(w.code)) << "the fill leaves the sheet as new";
        Snapshot expected = before;
        for (const Worksheet* b : built) expected[b->code] = fresh.at(b->code);
        for (const auto& part : kParts) {
            if (part.table != w.code) continue;
            for (const Worksheet& c : WorksheetCatalogue())
                if (c.componentSheet)
                    expected[c.code] = Rows(std::string("SELECT * FROM ") + c.code + " WHERE NOT (" + part.band +
                                            ") ORDER BY rowid");
        }

        RebuildTestHook() = [&](const std::string& code) {
            if (code == built.back()->code) throw std::runtime_error("disk on fire");
        };
        ui.ExpectMessage();
        EXPECT_EQ(RebuildWorksheet(w.code), RebuildResult::Failed);
        RebuildTestHook() = nullptr;
        EXPECT_EQ(Snap(), before);
        EXPECT_EQ(ui.Prompts(), Lines{std::string("Worksheet \"") + w.code +
                                      "\" could not be rebuilt and has been left as it was.\r\n\r\ndisk on fire"});
        ui.ClearRecords();

        ui.ExpectMessage();
        EXPECT_EQ(RebuildWorksheet(w.code), RebuildResult::Rebuilt);
        EXPECT_EQ(ui.Prompts(), Lines{std::string("Worksheet \"") + w.code + "\" has been successfully rebuilt."});
        EXPECT_EQ(ui.Refreshes(), w.refreshesWindows ? 1 : 0);
        const Snapshot after = Snap();
        for (const auto& [table, rows] : expected) EXPECT_EQ(after.at(table), rows) << table;
        EXPECT_EQ(after.size(), expected.size());
        ui.ClearRecords();
    }
    EXPECT_FALSE(db().InTransaction());
}

TEST_F(Commands, ATableThatWillNotDropIsToldAndNothingIsBuilt) {
    Exec("UPDATE B SET Expenses = 5 WHERE LineNum = 1;");
    // A statement still reading the table keeps SQLite from dropping it.
    sqlite3_stmt* reading = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db().Handle(), "SELECT * FROM B", -1, &reading, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(reading), SQLITE_ROW);
    ui.ExpectMessage();
    EXPECT_EQ(RebuildWorksheet("B"), RebuildResult::NotDropped);
    sqlite3_finalize(reading);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(std::tie(ui.Messages()[0].prompt, ui.Messages()[0].title),
              std::tuple("Unable to drop worksheet B.  Please restart Vantrel 287 and try to rebuild this worksheet again.", "Sharing Violation"));
    EXPECT_EQ(Rows("SELECT Expenses FROM B WHERE LineNum = 1"), Table{{"5"}});
}

// The repair for a sheet whose table was lost is to rebuild it.
TEST_F(Commands, AMissingTableIsBuilt) {
    const Table rows = Rows("SELECT * FROM DpB ORDER BY rowid");
    db().DropTable("DpB");
    ui.ExpectMessage();
    EXPECT_EQ(RebuildWorksheet("DpB"), RebuildResult::Rebuilt);
    EXPECT_EQ(Rows("SELECT * FROM DpB ORDER BY rowid"), rows);
}

// ---- The whole report ----

TEST_F(Commands, WholeReportNamedByTheProviderNumberWithoutForbiddenCharacters) {
    Report().CRF_ProviderNumber = "05/12*34";
    Print_All();
    const std::string path = PathOf("051234.PRT");
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(WholeReportPath(), path);
    EXPECT_EQ(printer.documents, Lines{path});
    EXPECT_EQ(printer.log.front(), "Orientation 1");
    EXPECT_FALSE(ui.Busy() || IsPrintFileOpen(1));

    Report().CRF_ProviderNumber = "\\:?\"<>|";
    EXPECT_EQ(WholeReportPath(), PathOf(".PRT"));
}

TEST_F(Commands, AWholeReportPrintThatFailsIsToldClosesTheFileAndRestoresThePointer) {
    Report().CRF_Folder = PathOf("gone");
    ui.ExpectMessage();
    EXPECT_NO_THROW(Print_All());
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].title, "Printing Error");
    EXPECT_NE(ui.Messages()[0].prompt.find("gone"), std::string::npos);
    EXPECT_TRUE(printer.documents.empty());
    EXPECT_FALSE(ui.Busy() || IsPrintFileOpen(1));
}

// A print that fails part way, a sheet alone or the whole report: the file
// the last whole print wrote stays as it was, with nothing of this one beside it.
TEST_F(Commands, APrintThatFailsPartWayLeavesTheEarlierFileWhole) {
    db().DropTable("Gp1");
    const struct {
        const char* file;
        std::function<void()> print;
    } cases[] = {
        {"G.prt", [] { PrintWorksheets({"G"}); }},
        {"123456.PRT", [] { Print_All(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        WriteBytes(PathOf(c.file), "the last whole print");
        const auto before = std::pair(ReadFile(c.file), NamesIn(folder));
        ui.ExpectMessage();
        c.print();
        EXPECT_EQ(std::pair(ReadFile(c.file), NamesIn(folder)), before);
        EXPECT_TRUE(printer.documents.empty());
    }
}

// ---- Chosen sheet prints ----

// A sheet that fails (its table is gone) and a printer out of paper are rows
// of the findings, made for them; every sheet still gets its turn and
// messages are shown again afterwards; the closing one names the sheets not
// printed, and the status line says so.
TEST_F(Commands, FailuresWhileChosenSheetsPrintAreLoggedAndTheRestPrint) {
    ASSERT_FALSE(db().TableExists("Error"));
    db().DropTable("Gp1");
    printer.failAtLine = 3;
    ui.ExpectMessage();
    PrintWorksheets({"B2", "G", "I"});
    EXPECT_EQ(printer.documents, (Lines{PathOf("B2.prt"), PathOf("I.prt")}));
    const std::string outOfPaper = "<null>|The following error occurred during print of document:\n\r\rPrinter out of paper";
    EXPECT_EQ(ErrorRows(), (Lines{outOfPaper, "<null>|Worksheet G could not be printed:\n\r\rno such table: Gp1", outOfPaper}));
    EXPECT_EQ(ui.Messages(), (Shown{{"Worksheets B-2, G and I were not printed; the findings (View, Open A View, Edit "
                                     "Checks) say why.",
                                     ui::kExclamation, "Printing"}}));
    EXPECT_EQ(ui.StatusTexts().back(), " Printing failed: worksheets B-2, G and I were not printed");
    EXPECT_TRUE(Report().Message_Mode.empty() && !Printing());
}

// Without a printer every print says where its pages went, each time: the
// whole report in its own message, chosen sheets all in one, none logged.
TEST_F(Commands, PrintsWithoutAPrinterSayWhereThePagesWentEveryTime) {
    printer.toPdf = true;
    const auto told = [](const std::string& files) {
        return ShownMessage{"No printer is available: the pages were written to the " + files + ".",
                            ui::kInformation, "Printing"};
    };
    for (int i = 0; i < 2; ++i) {
        ui.ExpectMessage();
        Print_All();
    }
    ui.ExpectMessage();
    PrintWorksheets({"B2", "G", "I"});
    EXPECT_EQ(ui.Messages(), (Shown{told("file \"" + PathOf("123456.pdf") + "\""),
                                    told("file \"" + PathOf("123456.pdf") + "\""),
                                    told("files\n\"" + PathOf("B2.pdf") + "\",\n\"" + PathOf("G.pdf") + "\",\n\"" +
                                         PathOf("I.pdf") + "\"")}));
    EXPECT_FALSE(db().TableExists("Error"));
    // The status line says it first, and keeps saying it once the message is closed.
    const std::string notSent = " Not sent to a printer: written to ";
    EXPECT_EQ(ui.StatusUnderMessages(), (std::vector<std::string>{notSent + PathOf("123456.pdf"), notSent + PathOf("123456.pdf"),
                                                                  notSent + "3 files in " + Report().CRF_Folder}));
    EXPECT_EQ(ui.StatusTexts().back(), ui.StatusUnderMessages().back());
}

// A printer that did not take the pages is no missing printer: the batch's
// closing message says which it was, each failure being logged.
TEST_F(Commands, PagesAPrinterDidNotTakeAreToldAsSuchAtTheBatchsEnd) {
    printer.toPdf = true;
    printer.refuse = true;
    ui.ExpectMessage();
    PrintWorksheets({"B2", "I"});
    EXPECT_EQ(ui.Messages(), (Shown{{"The printer did not take the pages.\nThe pages were written to the files\n\"" +
                                         PathOf("B2.pdf") + "\",\n\"" + PathOf("I.pdf") + "\".",
                                     ui::kInformation, "Printing"}}));
    EXPECT_EQ(ErrorRows().size(), 2u);
}

}  // namespace
}  // namespace vt::test
