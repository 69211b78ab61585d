// Sheets whose columns need several page widths print each set of rows once
// per block of columns. A row of figures too wide for their fields goes on on
// a further line in a full block but not in a narrow one; still every column
// page of a set holds the same rows, every row is printed in every block with
// its stored figures, and no page runs past its length or its width.
#include <iterator>
#include <regex>
#include <sstream>

#include "engine/chain/component_sheet.h"
#include "engine/chain/e.h"
#include "engine/chain/e1.h"
#include "engine/chain/f1.h"
#include "engine/general/a.h"
#include "store/services.h"
#include "tests/engine/chain/chain_fixture.h"

namespace vt::test {
namespace {

// A page as read back: its title, its column numbers, each row's line number
// with the figures on its line and on the lines carrying it on.
struct PrintedPage {
    std::string title, numbers;
    std::vector<std::pair<std::string, std::vector<double>>> rows;
};

PrintedPage ReadPage(const std::vector<std::string>& lines) {
    static const std::regex figure("-?[0-9][0-9,]*(\\.[0-9]+)?");
    PrintedPage p;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::istringstream words(lines[i]);
        std::string w;
        if (lines[i].rfind("Worksheet ", 0) == 0 && i + 2 < lines.size()) p.title = lines[i + 2];
        if (p.numbers.empty() && lines[i].find(std::string(40, '_')) < 9) p.numbers = lines[i - 1];
        else if (!p.numbers.empty() && lines[i].find_first_not_of(' ') < 6 && words >> w) p.rows.push_back({w, {}});
        while (!p.rows.empty() && words >> w)
            if (std::regex_match(w, figure))
                p.rows.back().second.push_back(std::stod(std::regex_replace(w, std::regex(","), "")));
    }
    return p;
}

class WidePrint : public ChainTest {};

TEST_F(WidePrint, EveryColumnPageOfASetHoldsTheSameRowsWithinThePage) {
    // Names of 40 characters, labels of 16, 22 chosen columns, adjacent figures of 14 characters and more.
    for (int i = 0; i < 60; ++i) {
        const std::string name =
            "Regional Medical Center of the Valley " + std::string{char('a' + i / 26), char('a' + i % 26)};
        AddA(3, 1 + i / 100.0, name);
        if (i < 15) AddA(4, 1 + i / 100.0, name);
        if (i < 8) AddA(5, 1 + i / 100.0, name);
    }
    RebuildAll();
    db().Execute("UPDATE CostCenters SET ColLabel1 = 'Administrative G', ColLabel2 = 'Occupational', "
                 "ColLabel3 = 'SpeechPathologys';");
    Close_CC_Recordset();
    for (int cc = 11; cc <= 32; ++cc) {
        AddChosenCCColumn("E1", Currency::FromInt(cc));
        AddF1Column(Currency::FromInt(cc));
    }
    const double wide[] = {-1000000000, 10000000000, -99999999999.9999, 99999999999.9999};  // column k: wide[k % 4]
    for (const char* sheet : {"E", "E1", "F1p1", "F1p2"}) {
        const auto names = FieldNames(sheet);
        for (size_t k = 4; k < names.size(); ++k)
            db().Execute(std::string("UPDATE ") + sheet + " SET " + names[k] + " = ? WHERE SeqNum > 0",
                         {Value(C(wide[(k - 3) % 4]))});
    }
    // The print, its file, the title of the pages read, the rows each block holds, whether they hold figures.
    const std::tuple<void (*)(int&), std::string, std::string, size_t, bool> cases[] = {
        {Print_E, "E.prt", "Direct Allocation of Home Office Capital", SeqNums("E").size() - 1, true},
        {Print_E1, "E1.prt", "Direct Allocation of Home Office Non-", SeqNums("E1").size() - 1, true},
        {Print_F1, "F1.prt", "Part I -", SeqNums("F1p1").size() - 1, true},
        {Print_F1, "F1.prt", "Part II -", SeqNums("F1p2").size() - 1, true},
        {Print_A, "A.prt", "Part III -", 60, false},
    };
    for (const auto& [print, file, title, count, figures] : cases) {
        int fn = 0;
        print(fn);
        std::vector<std::string> setRows, allRows;
        std::string firstNumbers;
        size_t block = 0;
        for (const auto& page : PrintPages(ReadFile(file))) {
            const auto lines = PrintLines(page);
            const PrintedPage p = ReadPage(lines);
            if (p.title.rfind(title, 0) != 0) continue;
            EXPECT_LE(lines.size(), 70u) << file << ": " << p.numbers;
            for (const auto& l : lines) EXPECT_LE(l.size(), 176u) << file << ": " << l;
            if (firstNumbers.empty()) firstNumbers = p.numbers;
            block = p.numbers == firstNumbers ? 0 : block + 1;
            std::istringstream numbers(p.numbers);
            const auto columns = static_cast<size_t>(std::distance(std::istream_iterator<std::string>(numbers), {}));
            std::vector<std::string> rows;
            for (const auto& [row, printed] : p.rows) {
                rows.push_back(row);
                EXPECT_EQ(printed.size(), figures ? columns : 0) << file << " block " << block + 1 << " row " << row;
                for (size_t k = 0; k < printed.size(); ++k)
                    EXPECT_NEAR(printed[k], wide[(9 * block + k + 1) % 4], 0.5) << file << " row " << row;
            }
            if (block == 0) setRows = rows, allRows.insert(allRows.end(), rows.begin(), rows.end());
            EXPECT_EQ(rows, setRows) << file << " block " << block + 1;
        }
        EXPECT_EQ(allRows.size(), count) << file << " " << title;
    }
}

}  // namespace
}  // namespace vt::test
