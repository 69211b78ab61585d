// The page header and the sheet frame, checked against golden print files and
// by the rules the golden files must keep.
#include <stdexcept>

#include "print/print.h"
#include "store/report.h"
#include "tests/print/print_fixture.h"

namespace vt::test {
namespace {

using namespace vt::print;

// A worksheet print as the sheets write them: title and headings after each
// page header, one row per line, a new page when the counter runs over.
void PrintSampleSheet(int& fileNum, const std::string& file, const std::string& sheet, bool landscape, int rows) {
    SheetPrint sp(fileNum, file, sheet, landscape);
    for (int row = 1; row <= rows; ++row) {
        if (sp.PageFull()) {
            sp.NewPage();
            int center = 0;
            Print_Centered(sp.FileNum(), "SAMPLE OF " + sheet, center);
            sp.out().Tab(1) << "Line";
            sp.out().Tab(10) << "Description";
            sp.out().Tab(50) << Pad_Left(Value("Amount"), 13);
            sp.out().Line();
            sp.lines += 2;
        }
        sp.out().Tab(1) << Format_Amount(Value(row), 5);
        sp.out().Tab(10) << "Row " + std::to_string(row);
        sp.out().Tab(50) << Format_Amount(Value::Cur(row * 1000.5), 13);
        sp.out().Line();
        ++sp.lines;
    }
    sp.Finish();
}

std::vector<std::string> FeedLines(const std::vector<std::string>& lines) {
    std::vector<std::string> feeds;
    for (const auto& l : lines)
        if (!l.empty() && l[0] == '\f') feeds.push_back(l);
    return feeds;
}

TEST_F(PrintTest, HeaderOfFirstAndLaterPages) {
    const std::string path = PathIn("two.prt");
    int fn = OpenPrintFile(path);
    int page = 0, lines = 0;
    Print_Page_Header(fn, "B-1", page, lines);
    EXPECT_EQ(std::pair(page, lines), std::pair(1, 12));
    Out(fn).Line("body of page one");
    Print_Page_Header(fn, "B-1", page, lines);
    EXPECT_EQ(std::pair(page, lines), std::pair(2, 12));
    ClosePrintFile(fn);
    ExpectGolden(path, "header_pages.prt");

    // The stamp starts at Page_Width minus its length.
    const auto text = ReadLines(path);
    ASSERT_EQ(text.size(), 23u);
    const std::string stamp = "December 1, 2005 at 01:05 PM";
    const std::string& dated = text[9];
    EXPECT_EQ(dated.rfind("Worksheet B-1 ", 0), 0u);
    EXPECT_EQ(dated.find(stamp), static_cast<std::size_t>(176 - stamp.size() - 1));
    EXPECT_EQ(dated.size(), 175u);
}

TEST_F(PrintTest, OnlyTheThirdCustomLineAddsOneBlankAndTheLine) {
    Report().CRF_HeaderLines = {"", "", "Consolidated for the chain"};
    Set_Portrait();
    const std::string path = PathIn("custom.prt");
    int fn = OpenPrintFile(path);
    int page = 0, lines = 0;
    Print_Page_Header(fn, "J", page, lines);
    ClosePrintFile(fn);
    EXPECT_EQ(lines, 14);
    ExpectGolden(path, "header_custom.prt");

    // Centred on the portrait page.
    const auto text = ReadLines(path);
    ASSERT_EQ(text.size(), 13u);
    EXPECT_EQ(text[9], std::string(69 - 13 - 1, ' ') + "Consolidated for the chain");
    EXPECT_EQ(text[11].size(), 137u);

    Report().CRF_HeaderLines = {"First", "", "Third"};
    fn = OpenPrintFile(path);
    Print_Page_Header(fn, "J", page, lines);
    ClosePrintFile(fn);
    EXPECT_EQ(lines, 15);
}

// Stored text cannot add pages or switch orientation: its control characters
// print as blanks, and the page-feed lines stay the header's own.
TEST_F(PrintTest, ControlCharactersInStoredTextPrintAsBlanks) {
    Report().CRF_HeaderLines = {"Split\r\nline", "Feed\f\x02here", ""};
    Report().CRF_ProviderName = "Tab\tName\x7F";
    const std::string path = PathIn("control.prt");
    int fn = OpenPrintFile(path);
    int page = 0, lines = 0;
    Print_Page_Header(fn, "B", page, lines);
    Out(fn).Line("row\fwith a feed");
    ClosePrintFile(fn);

    const auto text = ReadLines(path);
    ASSERT_EQ(text.size(), 15u);
    EXPECT_EQ(FeedLines(text), std::vector<std::string>{"\f\x02"});
    for (const std::string expected : {"Split  line", "Feed  here", "TAB NAME ", "row with a feed"}) {
        bool found = false;
        for (const auto& l : text) found = found || l.find(expected) != std::string::npos;
        EXPECT_TRUE(found) << expected;
    }
}

TEST_F(PrintTest, SheetsSharingOneFileMarkOrientationOnlyWhenItChanges) {
    const std::string path = PathIn("report.prt");
    int fn = OpenPrintFile(path);
    PrintSampleSheet(fn, "one", "One", true, 70);
    PrintSampleSheet(fn, "two", "Two", true, 5);
    PrintSampleSheet(fn, "three", "Three", false, 5);
    ClosePrintFile(fn);
    ExpectGolden(path, "three_sheets.prt");

    const auto feeds = FeedLines(ReadLines(path));
    EXPECT_EQ(feeds, (std::vector<std::string>{"\f\x02", "\f", "\f", "\f\x01"}));
    // Writing into the caller's file neither prints it nor makes files of its own.
    EXPECT_TRUE(printer_.documents.empty());
    EXPECT_FALSE(std::filesystem::exists(PathIn("one.prt")));
}

TEST_F(PrintTest, SheetAloneWritesItsOwnFileAndPrintsIt) {
    int fn = 0;
    PrintSampleSheet(fn, "I", "I", true, 3);
    EXPECT_EQ(fn, 0);
    EXPECT_FALSE(IsPrintFileOpen(1));
    ASSERT_EQ(printer_.documents, std::vector<std::string>{PathIn("I.prt")});
    ASSERT_EQ(printer_.pages.size(), 1u);
    EXPECT_EQ(std::pair(printer_.pages[0].orientation, printer_.pages[0].lines.back()),
              std::pair(2, " 3   " + std::string(4, ' ') + "Row 3" + std::string(35, ' ') + "     3,001.50"));
    // The same variable serves the next sheet, which again starts marked.
    PrintSampleSheet(fn, "J", "J", false, 3);
    EXPECT_EQ(ReadLines(PathIn("J.prt")).front(), "\f\x01");
    PrintSampleSheet(fn, "I", "I", true, 3);
    EXPECT_EQ(ReadLines(PathIn("I.prt")).front(), "\f\x02");
}

TEST_F(PrintTest, FileBegunAfterAFailedSheetStillCarriesItsOrientation) {
    int fn = 0;
    EXPECT_THROW(
        {
            SheetPrint sp(fn, "B", "B", true);
            sp.NewPage();
            throw std::runtime_error("table B is missing");
        },
        std::runtime_error);
    EXPECT_FALSE(IsPrintFileOpen(1));
    EXPECT_TRUE(printer_.documents.empty());

    PrintSampleSheet(fn, "C", "C", true, 2);
    EXPECT_EQ(ReadLines(PathIn("C.prt")).front(), "\f\x02");
}

TEST_F(PrintTest, SheetInAFolderThatIsGoneRaises) {
    Report().CRF_Folder = PathIn("missing");
    int fn = 0;
    EXPECT_THROW(PrintSampleSheet(fn, "C", "C", true, 2), PrintFileError);
    EXPECT_TRUE(printer_.documents.empty());
}

}  // namespace
}  // namespace vt::test
