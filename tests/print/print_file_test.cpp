// Sending print files to the printer, on the recording printer.
#include "print/print.h"
#include "store/report.h"
#include "tests/print/print_fixture.h"

namespace vt::test {
namespace {

using namespace vt::print;
using Lines = std::vector<std::string>;

class PrintFile : public PrintTest {
protected:
    // Three pages: landscape, landscape again (bare feed), then portrait.
    std::string WriteThreePages(const std::string& name = "three.prt") {
        const std::string path = PathIn(name);
        WriteBytes(path, "\f\x02\r\nfirst\r\n\f\r\nsecond\r\n\f\x01\r\nthird\r\n");
        return path;
    }
    int Print(const std::string& path, int orientation = 2) { return Print_File(path, orientation); }
};

TEST_F(PrintFile, PageFeedsBecomePagesWithoutABlankFirstPage) {
    PrintLayout().Last_Orientation = 2;
    const std::string path = WriteThreePages();
    EXPECT_EQ(Print(path, 1), 0);

    std::vector<std::pair<int, Lines>> pages;
    for (const auto& p : printer_.pages) pages.emplace_back(p.orientation, p.lines);
    EXPECT_EQ(pages, (std::vector<std::pair<int, Lines>>{{2, {"", "first"}}, {2, {"", "second"}}, {1, {"", "third"}}}));
    EXPECT_EQ(printer_.log, (Lines{"Orientation 1", "BeginDocument", "Orientation 2", "NewPage", "NewPage",
                                   "Orientation 1", "EndDoc"}));
    EXPECT_EQ(printer_.documents, Lines{path});
    EXPECT_EQ(PrintLayout().Last_Orientation, 0);
    EXPECT_FALSE(ui_.Busy());

    // Two feeds before any text still make one page.
    WriteBytes(path, "\f\x02\r\n\f\x01\r\ntext\r\n");
    printer_.pages.clear();
    EXPECT_EQ(Print(path), 0);
    ASSERT_EQ(printer_.pages.size(), 1u);
    EXPECT_EQ(printer_.pages[0].lines, (Lines{"", "", "text"}));
}

// Courier New bold in 7 points, 9.5 for a listing with the upper-case
// extension; the quality is set high unless the setting says False.
TEST_F(PrintFile, FontSizeAndQuality) {
    const struct {
        const char* file;
        const char* setting;  // nullptr: as the fixture leaves it
        double size;
        int quality;
    } cases[] = {
        {"three.prt", nullptr, 7, -4},  {"ERRORS.LST", nullptr, 9.5, -4}, {"errors.lst", nullptr, 7, -4},
        {"three.prt", "False", 7, 300}, {"three.prt", "True", 7, -4},
    };
    for (const auto& c : cases) {
        if (c.setting) settings_->Save("Vantrel", "Printing", "PrintQuality", c.setting);
        printer_.quality = 300;
        EXPECT_EQ(Print(WriteThreePages(c.file)), 0) << c.file;
        EXPECT_EQ(std::tuple(printer_.fontName, printer_.bold, printer_.fontSize, printer_.quality),
                  std::tuple("Courier New", true, c.size, c.quality)) << c.file << " " << (c.setting ? c.setting : "");
    }
    // A printer without Courier New keeps the font it has.
    printer_.fonts = {"Arial", "Liberation Mono"};
    printer_.fontName = "Liberation Mono";
    EXPECT_EQ(Print(WriteThreePages()), 0);
    EXPECT_EQ(printer_.fontName, "Liberation Mono");
}

TEST_F(PrintFile, OrientationArgumentOutsideOneAndTwoBecomesTwo) {
    const std::string path = WriteThreePages();
    int orientation = 0;
    EXPECT_EQ(std::pair(Print_File(path, orientation), orientation), std::pair(0, 2));
    EXPECT_EQ(printer_.log.front(), "Orientation 2");
    orientation = 1;
    EXPECT_EQ(std::pair(Print_File(path, orientation), orientation), std::pair(0, 1));
}

TEST_F(PrintFile, NoUsablePrinterIsToldAndNothingIsTouched) {
    printer_.orientation = 0;
    PrintLayout().Last_Orientation = 2;
    ui_.ExpectMessage();
    int orientation = 7;
    EXPECT_EQ(std::pair(Print_File(WriteThreePages(), orientation), orientation), std::pair(1, 7));
    EXPECT_TRUE(printer_.log.empty());
    EXPECT_EQ(std::pair(printer_.fontName, PrintLayout().Last_Orientation), std::pair(std::string("Arial"), 2));
    ASSERT_EQ(ui_.Messages().size(), 1u);
    EXPECT_NE(ui_.Messages()[0].prompt.find("no printer"), std::string::npos);
    EXPECT_EQ(ui_.Messages()[0].title, "Printing Error");
}

TEST_F(PrintFile, UnreadableFileIsToldAndNothingIsPrinted) {
    PrintLayout().Last_Orientation = 2;
    ui_.ExpectMessage();
    EXPECT_EQ(Print(PathIn("none.prt")), 2);
    EXPECT_TRUE(printer_.documents.empty() && printer_.pages.empty());
    // The font was chosen before the file was opened.
    EXPECT_EQ(std::pair(printer_.fontName, PrintLayout().Last_Orientation), std::pair(std::string("Courier New"), 2));
    ASSERT_EQ(ui_.Messages().size(), 1u);
    EXPECT_NE(ui_.Messages()[0].prompt.find(PathIn("none.prt")), std::string::npos);
}

TEST_F(PrintFile, FailureAbortsTheDocumentAndTheNextPrintStartsClean) {
    const std::string path = WriteThreePages();
    printer_.failAtLine = 3;
    PrintLayout().Last_Orientation = 2;
    ui_.ExpectMessage();
    EXPECT_EQ(Print(path), kPrinterError);
    EXPECT_EQ(ui_.Messages(), (std::vector<ShownMessage>{{"The following error occurred during print of document:"
                                                          "\n\r\rPrinter out of paper", 16, "Printing Error"}}));
    EXPECT_EQ(std::tuple(printer_.aborts, printer_.endDocs, PrintLayout().Last_Orientation), std::tuple(1, 0, 0));
    EXPECT_FALSE(ui_.Busy());

    printer_.failAtLine = -1;
    printer_.pages.clear();
    EXPECT_EQ(Print(path), 0);
    ASSERT_EQ(printer_.pages.size(), 3u);
    EXPECT_EQ(printer_.pages[0].lines, (Lines{"", "first"}));
    // The file was closed after the failure: it can be replaced.
    WriteBytes(path, "again\r\n");
    EXPECT_EQ(ReadBytes(path), "again\r\n");
}

TEST_F(PrintFile, TextComesBackFromTheWindowsCodePage) {
    const std::string path = PathIn("text.prt");
    int fn = OpenPrintFile(path);
    Out(fn).Line("Caf\xC3\xA9 \xE2\x82\xAC" "12");
    ClosePrintFile(fn);
    EXPECT_EQ(ReadBytes(path), "Caf\xE9 \x80" "12\r\n");
    EXPECT_EQ(Print(path), 0);
    EXPECT_EQ(printer_.pages.at(0).lines, Lines{"Caf\xC3\xA9 \xE2\x82\xAC" "12"});
}

}  // namespace
}  // namespace vt::test
