// Headings wrapped into the grid's heading lines, measured with a font in
// which every character is 100 twips wide (a blank 100, the quarter 25).
#include <gtest/gtest.h>

#include "platform/grid/grid_qt.h"
#include "shell/headings.h"
#include "store/report.h"
#include "tests/gui_support/gui_test.h"

namespace vt::test {
namespace {

class Headings : public NoReportTest {};

struct HeadingCase {
    const char* name;
    const char* colNum;
    const char* text;
    double width;
    int headLines;
    bool right;
    const char* caption;
};

TEST_F(Headings, WrapAtBlanksCentredPushedDownNumberLast) {
    const HeadingCase cases[] = {
        // Room 1100: words up to the last blank that fits, each line centred
        // (three blanks to share: two before); more lines than heading lines
        // are kept; the number centred on the last line.
        {"four lines", "1", "Expenses per Home Office Books", 1300, 4, false,
         "  Expenses\r  per Home\r  Office\r   Books\r     1"},
        // A word wider than the room is cut after the character that reaches it.
        {"word cut", "2", "Medicare Adjustments", 1200, 4, false, " Medicare\rAdjustment\r    s\r    2"},
        // One line of text is pushed down to just above the number line.
        {"padded", "8", "Pooled Allocations", 2400, 4, false, "\r\r  Pooled Allocations\r          8"},
        // A right-aligned column takes its blanks after the text; text that
        // fills every heading line has no empty number line below it.
        {"right aligned", "", "Cost Center", 1200, 2, true, "Cost      \rCenter    "},
        {"one line", "", "Question", 5000, 1, false, "                    Question"},
        // Nothing to show: empty heading lines only.
        {"empty", "", "", 1200, 4, false, "\r\r\r"},
        // A carriage return in the text forces a break; blanks around the text go.
        {"forced break", "", "  Line\rTwo  ", 1200, 3, false, "   Line\r    Two\r"},
        // A one-character heading is kept.
        {"one character", "", "X", 1200, 2, false, "    X\r"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(gui::WrapHeading(c.colNum, c.text, c.width, c.headLines, c.right), c.caption) << c.name;
}

TEST_F(Headings, WrapTextCentresBothSidesAndStopsAtItsLines) {
    std::string text = " Total Current Assets ";
    EXPECT_EQ(gui::Wrap_Text(Value(1), text, 1200), "  Total   \r  Current \r  Assets  \r    1     ");
    EXPECT_EQ(text, "Total Current Assets");  // trimmed in the caller's variable

    // Nothing; room for one character a line on two lines, the rest left out;
    // fewer lines than asked for, pushed down.
    for (auto [typed, width, lines, caption] : {std::tuple{"", 1200, 0, " "}, {"a b c d e", 300, 2, "a\rb\r"},
                                                {"Cash", 1200, 4, "\r\r   Cash   \r"}}) {
        std::string t = typed;
        EXPECT_EQ(lines ? gui::Wrap_Text(Value(0), t, width, lines) : gui::Wrap_Text(Value(0), t, width), caption) << typed;
    }
}

TEST_F(Headings, CaptionOfAGridColumnFollowsItsWidthInTheFirstPaneShowingIt) {
    auto db = db::Database::Create(folder + "/h.db");
    db->CreateTable("T", {db::CurrencyField("A"), db::CurrencyField("B")});
    grid::Grid grid;
    grid.Bind(*db, "SELECT * FROM T");
    grid.SetHeadLines(3);
    grid.Columns(1).SetWidth(1200);
    std::string text = " Cost Center ";
    gui::Set_Column_Caption(grid, 1, "5", text);
    EXPECT_EQ(text, "Cost Center");
    EXPECT_EQ(grid.Columns(1).Caption(), "   Cost\r  Center\r    5");

    // Hidden in the first pane, shown in the second: the second pane's width counts.
    grid.AddSplit();
    grid.Splits(0).Columns(1).SetVisible(false).SetWidth(600);
    grid.Splits(1).Columns(1).SetWidth(2400);
    gui::Set_Column_Caption(grid, 1, "5", text);
    EXPECT_EQ(grid.Columns(1).Caption(), "\r      Cost Center\r          5");
}

}  // namespace
}  // namespace vt::test
