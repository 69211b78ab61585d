// The findings print "CalcErrors.prt": header, the messages cut into pieces
// at blanks, pages of at most 110 lines, then the printer in portrait.
#include <algorithm>
#include <string>
#include <vector>

#include "print/print.h"
#include "report/edit_checks.h"
#include "tests/report/shell_fixture.h"
#include "tests/support/print_files.h"

namespace vt::test {
namespace {

std::string At(int col, const std::string& text) { return std::string(static_cast<size_t>(col - 1), ' ') + text; }

class FindingsPrint : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        Create_Error_Table();
    }
    std::vector<std::string> Printed() {
        PrintEditChecks();
        return PrintLines(ReadFile("CalcErrors.prt"));
    }
    std::vector<std::string> Header(bool feed) {
        const std::string path = PathOf("TEST.CRF");
        const std::string moment = "March 05, 2007 at 09:07";  // 23 characters: half 11.5 goes to 12
        return {(feed ? "\f" + std::string(30, ' ') : std::string(31, ' ')) + "Error Report For",
                At(36 - 16 / 2, "123456 Test Home Office"),
                At(std::max(1, 40 - static_cast<int>(path.size()) / 2), path),
                At(40 - 12, moment),
                "",
                "Level" + At(13, "Description"),
                std::string(8, '-') + At(10, std::string(63, '-')),
                ""};
    }
    FixedPrintClock clock{*DateTime::FromParts(2007, 3, 5, 9, 7)};
};

TEST_F(FindingsPrint, EmptyTablePrintsTheHeaderAlone) {
    EXPECT_EQ(Printed(), Header(false));
    EXPECT_EQ(printer.documents, std::vector{PathOf("CalcErrors.prt")});
    EXPECT_EQ(printer.orientation, 1);
}

TEST_F(FindingsPrint, MessagesAreCutAtTheLastBlankWithinSixtyTwo) {
    // 130 characters with blanks; 70 without.
    std::string words;
    while (words.size() < 130) words += "word" + std::to_string(words.size() % 10) + " ";
    words.resize(130);
    const std::string solid(70, 'x');
    Add_Edit_Check_Row("Warning", words);
    Add_Edit_Check_Row("Warning", solid);
    Db().Execute("INSERT INTO Error (Message) VALUES ('logged while printing');");
    Add_Edit_Check_Row(" ", "");
    Add_Edit_Check_Row(" ", "No errors found");

    std::vector<std::string> expected = Header(false);
    std::string rest = words;
    bool first = true;
    while (!rest.empty()) {
        const size_t cut = std::min(rest.size(), static_cast<size_t>(FindWrapPoint(rest, 62)));
        EXPECT_EQ(rest[cut - 1] == ' ' || cut == rest.size(), true) << "cut inside a word at " << cut;
        expected.push_back((first ? "Warning" + std::string(10, ' ') : std::string(17, ' ')) + rest.substr(0, cut));
        rest = rest.substr(cut);
        first = false;
    }
    expected.insert(expected.end(), {"Warning" + std::string(10, ' ') + solid.substr(0, 62), std::string(17, ' ') + solid.substr(62),
                                     "Null" + std::string(13, ' ') + "logged while printing", " ",
                                     std::string(17, ' ') + "No errors found"});
    EXPECT_EQ(Printed(), expected);
}

TEST_F(FindingsPrint, WrapPoint) {
    // The blank at place 10 itself is a wrap point.
    EXPECT_EQ((std::vector{FindWrapPoint("short", 62), FindWrapPoint(std::string(70, 'x'), 62),
                           FindWrapPoint("aaaa bbbb cccc", 10), FindWrapPoint("aaaa bbbbbb cccc", 10)}),
              (std::vector{62, 62, 10, 5}));
}

TEST_F(FindingsPrint, MoreThanAPageStartsANewPageWithAFormFeed) {
    for (int i = 1; i <= 120; ++i) Add_Edit_Check_Row("Warning", "finding " + std::to_string(i));
    const auto lines = Printed();
    int feeds = 0;
    for (const auto& l : lines) feeds += !l.empty() && l[0] == '\f';
    EXPECT_EQ(feeds, 1);
    // The first page: header and findings until its count passes 110.
    const auto second = Header(true);
    const size_t firstPage = 8 + 103;
    ASSERT_GT(lines.size(), firstPage + 8);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + firstPage, lines.begin() + firstPage + 8), second);
    EXPECT_EQ(lines[firstPage - 1], "Warning" + std::string(10, ' ') + "finding 103");
    EXPECT_EQ(lines.back(), "Warning" + std::string(10, ' ') + "finding 120");
}

TEST_F(FindingsPrint, FileThatCannotBeMadeIsTold) {
    Report().CRF_Folder = PathOf("no-such-folder");
    ui.ExpectMessage();
    PrintEditChecks();
    EXPECT_EQ(ui.Messages(), (Shown{{"Unable to allocate \"" + PathOf("no-such-folder") + "/CalcErrors.prt\".  Printing canceled.",
                                    ui::kCritical, "File allocation error"}}));
    EXPECT_TRUE(printer.documents.empty());
}

}  // namespace
}  // namespace vt::test
