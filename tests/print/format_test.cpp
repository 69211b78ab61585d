// Column formatting and placement: the rules every worksheet's columns rest on.
#include "print/codepage.h"
#include "print/print.h"
#include "tests/print/print_fixture.h"

namespace vt::test {
namespace {

using namespace vt::print;

TEST(PrintFormat, AmountsRightJustifiedWithWholeAmountsUnderTheDigits) {
    struct Case { Value value; int width; std::string expected; };
    const Case cases[] = {
        {Value(1234), 13, "     1,234   "},          {Value(1234.5), 13, "     1,234.50"},
        {Value::Null(), 13, std::string(13, ' ')},   {Value::Cur(-1234.5), 13, "    -1,234.50"},
        {Value(-1234), 13, "    -1,234   "},         {Value(0), 13, std::string(9, ' ') + "0   "},
        {Value(0.25), 8, "    0.25"},                {Value("1234"), 13, "     1,234   "},
        {Value(1234567.89), 5, "1,234,567.89"},  // too long: kept whole
        {Value(3), 5, " 3   "},           // a line number
    };
    for (const auto& c : cases) EXPECT_EQ(Format_Amount(c.value, c.width), c.expected) << c.value.ToText();
    EXPECT_THROW(Format_Amount(Value("n/a"), 13), TypeMismatch);
}

TEST(PrintFormat, PadLeftKeepsALongerTextWhole) {
    // Width counts characters, not bytes.
    for (const auto& [v, width, padded] : {std::tuple{Value("123456"), 4, "123456"}, {Value(123456), 4, "123456"},
                                           {Value("ab"), 5, "   ab"}, {Value::Null(), 3, "   "}, {Value(""), 3, "   "},
                                           {Value("Caf\xC3\xA9"), 6, "  Caf\xC3\xA9"},
                                           {Value("\xC3\xA9t\xC3\xA9"), 2, "\xC3\xA9t\xC3\xA9"}})
        EXPECT_EQ(Pad_Left(v, width), padded) << v.ToText();
}

TEST(PrintFormat, DatesAsMonthDayYear) {
    EXPECT_EQ(Format_Date(Value::Null()), std::string(10, ' '));
    for (const Value& v : {Value(*DateTime::FromParts(2005, 9, 30)), Value(*DateTime::FromParts(2005, 9, 30, 14, 30)),
                           Value("9/30/2005")})
        EXPECT_EQ(Format_Date(v), "09/30/2005") << v.ToText();
}

TEST(PrintCodePage, WindowsCodePageBothWays) {
    const std::string utf8 = "Caf\xC3\xA9 \xE2\x80\x93 \xE2\x82\xAC" "5 \xC5\xA1";  // Café – €5 š
    const std::string cp = Utf8ToCp1252(utf8);
    EXPECT_EQ(cp, "Caf\xE9 \x96 \x80" "5 \x9A");
    EXPECT_EQ(Cp1252ToUtf8(cp), utf8);
    EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD|\xF0\x9F\x98\x80|\xC3"), "?|?|?");  // not in the code page, broken
    EXPECT_EQ(Utf8Length("\xE2\x82\xAC" "ab"), 3u);
}

class PrintPlacement : public PrintTest {};

TEST_F(PrintPlacement, CenteredTextStartsAtCentreLessHalfItsLength) {
    const std::string path = PathIn("centred.prt");
    int fn = OpenPrintFile(path);
    int center = 88;
    Print_Centered(fn, "0123456789", center);
    Print_Centered(fn, "0123456789A", center);
    center = 0;
    Set_Portrait();
    Print_Centered(fn, "ab", center);
    EXPECT_EQ(center, 69);  // the page centre is written back
    center = 3;
    Print_Centered(fn, "longer than six", center);
    ClosePrintFile(fn);
    EXPECT_EQ(ReadLines(path), (std::vector<std::string>{std::string(82, ' ') + "0123456789",
                                                         std::string(82, ' ') + "0123456789A",
                                                         std::string(67, ' ') + "ab", "longer than six"}));
}

TEST_F(PrintPlacement, TabsCountFromOneAndGoToANewLineWhenBehind) {
    const std::string path = PathIn("tabs.prt");
    int fn = OpenPrintFile(path);
    Out out(fn);
    out.Tab(0) << "a";
    EXPECT_EQ(out.Column(), 2);
    out.Tab(5) << "b";
    out.Tab(6) << "c";  // exactly the current column: same line
    out.Tab(3) << "d";  // behind: new line at column 3
    out.Line();
    out << "\xE2\x82\xAC";  // one character in the file
    EXPECT_EQ(out.Column(), 2);
    out.Line();
    out << "no line end";
    ClosePrintFile(fn);
    EXPECT_EQ(ReadBytes(path), "a   bc\r\n  d\r\n\x80\r\nno line end");
    EXPECT_THROW(Out(fn).Line(), PrintFileError);
}

// A figure is never cut: it keeps its field when it fits, takes the blanks
// before the field when it does not, and stays one blank clear of what the
// line already holds, the row growing only where it must.
TEST_F(PrintPlacement, FiguresKeepEveryCharacterAndABlankFromTheirNeighbours) {
    struct Item { int col, width; std::string text; };
    struct Case { const char* name; std::vector<Item> items; std::vector<std::string> lines; };
    const Case cases[] = {
        {"fits", {{1, 6, "3"}, {8, 13, "1,234   "}}, {"     3      1,234   "}},
        {"empty keeps its blanks", {{1, 4, "x"}, {5, 3, ""}}, {"   x   "}},
        {"wider takes the blanks before", {{1, 2, "ab"}, {10, 4, "-123456"}}, {"ab    -123456"}},
        {"adjacent fields run apart",
         {{1, 13, "1,500"}, {14, 13, "-1,234,567,890"}, {27, 13, "98,765,432,101"}, {40, 13, "7"}},
         {"        1,500 -1,234,567,890 98,765,432,101        7"}},
        {"full field after text", {{1, 3, "abc"}, {4, 3, "123"}}, {"abc 123"}},
        {"leading blanks are padding", {{1, 5, "   12"}}, {"   12"}},
        {"pushed past the page goes under",
         {{1, 170, std::string(170, '9')}, {171, 13, "-100,000,000,000"}, {184, 5, "7"}},
         {std::string(170, '9'), std::string(167, ' ') + "-100,000,000,000    7"}},
    };
    Set_Landscape();
    for (const auto& c : cases) {
        const std::string path = PathIn("figures.prt");
        int fn = OpenPrintFile(path);
        Out out(fn);
        for (const auto& item : c.items) out.Figure(item.col, item.width, item.text);
        EXPECT_EQ(out.Line(), static_cast<int>(c.lines.size())) << c.name;
        ClosePrintFile(fn);
        EXPECT_EQ(ReadLines(path), c.lines) << c.name;
    }
}

// Heading tables print as the Tab calls they replace: an item with no text
// still moves to its column, and one left of the last starts a new line.
TEST_F(PrintPlacement, HeadingLinesPlaceEachItemAtItsColumn) {
    const std::string path = PathIn("heading.prt");
    int fn = OpenPrintFile(path);
    // Every line written is counted, the one a step back starts included.
    EXPECT_EQ(WriteHeading(Out(fn), {
                  {{0, "Title"}},
                  {},
                  {{3, "ab"}, {8, "cd"}, {12, ""}},
                  {{5, "xyz"}, {6, "back"}},
              }),
              5);
    ClosePrintFile(fn);
    EXPECT_EQ(ReadBytes(path), "Title\r\n\r\n  ab   cd  \r\n    xyz\r\n     back\r\n");
}

// A row's height is counted with WrapText before the row is written: a count
// below the lines Text writes runs the page past its length.
TEST_F(PrintPlacement, WrapTextCountsTheLinesTextWrites) {
    struct Case { std::string text; int width; std::vector<std::string> lines; };
    const Case cases[] = {
        {"abc\tdefg\thi", 6, {"abc", "defg", "hi"}},  // broken only by tabs
        {"abc defg hi", 6, {"abc", "defg", "hi"}},
        {"ab\rcd", 2, {"ab", "cd"}},
        // Sheets' texts in their columns, a blank before the field that follows (F, A Part V).
        {"Total statistics (sum of lines 18, 28 and 33)  (A)", Out::WidthBefore(8, 49),
         {"Total statistics (sum of lines 18, 28", "and 33)  (A)"}},
        {"Massachusetts Commonwlth", Out::WidthBefore(76, 87), {"Massachuse", "tts", "Commonwlth"}},
    };
    for (const auto& c : cases) {
        const std::string path = PathIn("wrapped.prt");
        int fn = OpenPrintFile(path);
        const int written = Out(fn).Text(1, c.width, c.text).Line();
        ClosePrintFile(fn);
        EXPECT_EQ(ReadLines(path), c.lines) << c.text;
        EXPECT_EQ(static_cast<int>(WrapText(c.text, c.width).size()), written) << c.text;
        EXPECT_EQ(WrapText(c.text, c.width), c.lines) << c.text;
    }
}

}  // namespace
}  // namespace vt::test
