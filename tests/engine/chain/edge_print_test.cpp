// Prints at the edges of what the program accepts: every amount column of
// every sheet holding the largest and smallest amounts, texts as long as their
// fields hold and labels of 16 characters. Each figure must read back from
// the print as the stored value, on its row's line, and no page may hold more
// lines than its length.
#include <cmath>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>

#include "engine/chain/component_sheet.h"
#include "engine/chain/e.h"
#include "engine/chain/e1.h"
#include "engine/chain/f.h"
#include "engine/chain/f1.h"
#include "engine/chain/g.h"
#include "engine/chain/h.h"
#include "engine/general/a.h"
#include "engine/general/b.h"
#include "engine/general/b1.h"
#include "engine/general/b2.h"
#include "engine/general/c.h"
#include "engine/general/d.h"
#include "engine/general/i.h"
#include "engine/general/j.h"
#include "print/print.h"
#include "store/services.h"
#include "tests/engine/chain/chain_fixture.h"

namespace vt::test {
namespace {

// The largest and smallest amounts a cell accepts, and the first amounts too
// wide for a 13-character field each way.
constexpr double kEdgeAmounts[] = {99999999999.9999, -99999999999.9999, -1000000000, 10000000000};

// A row's line in a sheet's print: the text found on it, and the rows (table,
// condition) whose amounts all print under that text.
struct SheetCase {
    void (*print)(int&);
    const char* file;
    std::string name;
    std::vector<std::pair<const char*, const char*>> rows;
    bool grouped = true;  // digits grouped and cents rounded off, or the plain amount (J)
};

class EdgePrint : public SeededChainTest {
protected:
    // Sets every amount field of the case's rows to `amount` (a ratio, which
    // prints as a ratio, to Null); returns how many fields that set.
    int SetAmounts(const SheetCase& c, double amount) {
        static const std::set<std::string> notAmounts = {
            "SeqNum", "LineNum", "CCNum", "Component", "MedicareNo", "FYE", "CCName", "Description", "Explanation",
            "Code", "UpCCName", "UpCCNum", "DnCCName", "DnCCNum", "ExpAcct", "Basis", "Col1", "Col2", "Col3",
            "Col5", "Col6", "Col7"};
        int count = 0;
        for (const auto& [table, where] : c.rows) {
            std::string sets;
            std::vector<Value> values;
            for (const auto& f : FieldNames(table)) {
                if (notAmounts.count(f)) continue;
                sets += (sets.empty() ? "" : ", ") + f + (f == "Ratio" ? " = NULL" : " = ?");
                if (f != "Ratio") values.emplace_back(C(amount));
            }
            EXPECT_EQ(db().Execute(std::string("UPDATE ") + table + " SET " + sets + " WHERE " + where, values), 1)
                << table;
            count += static_cast<int>(values.size());
        }
        return count;
    }
};

// The figures printed after `name` on each line that holds it and on the
// lines that carry its row on (nothing in the line number's place); dates
// and rules left out.
std::vector<std::string> FiguresAfter(const std::vector<std::string>& lines, const std::string& name) {
    std::vector<std::string> figures;
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto at = lines[i].find(name);
        if (at == std::string::npos) continue;
        std::string row = lines[i].substr(at + name.size());
        for (size_t k = i + 1; k < lines.size() && !lines[k].empty() && lines[k].find_first_not_of(' ') > 7; ++k)
            row += " " + lines[k];
        std::istringstream rest(row);
        for (std::string token; rest >> token;)
            if (token.find('/') == std::string::npos && token.find_first_of("0123456789") != std::string::npos)
                figures.push_back(token);
    }
    return figures;
}

TEST_F(EdgePrint, EveryAmountColumnOfEverySheetPrintsTheStoredAmountWhole) {
    for (int cc = 11; cc <= 13; ++cc) AddChosenCCColumn("E1", Currency::FromInt(cc));
    for (int cc = 11; cc <= 13; ++cc) AddF1Column(Currency::FromInt(cc));
    const std::string mercy = "Mercy East";
    const char* where = "Component = 'Mercy East'";
    const SheetCase cases[] = {
        {Print_B, "B.prt", "Salaries of Officers", {{"B", "LineNum = 11"}}},
        {Print_B1, "B1.prt", "Total Reclassifications", {{"B1", "SeqNum = 100"}}},
        {Print_B2, "B2.prt", "Land Improvements",
         {{"B2p1", "Description = 'Land Improvements'"}, {"B2p2", "Description = 'Land Improvements'"}}},
        {Print_B2, "B2.prt", "Old Cap. Rel Costs-Bldgs and Fixtures",
         {{"B2p3", "Description = 'Old Cap. Rel Costs-Bldgs and Fixtures'"}}},
        {Print_C, "C.prt", "Total", {{"C", "LineNum = 28"}}},
        {Print_D, "D.prt", "TOTALS", {{"DpB", "SeqNum = 100"}}},
        {Print_I, "I.prt", "Contributions, donations", {{"I", "SeqNum = 4.01"}}},
        {Print_J, "J.prt", "Notes & Loans Payable to Related", {{"J", "LineNum = 47"}}, false},
        {Print_A, "A.prt", "Region One", {{"Ap5", "Col1 = 'Region One'"}}},
        {Print_E, "E.prt", mercy, {{"E", where}}},
        {Print_E1, "E1.prt", mercy, {{"E1", where}}},
        {Print_F, "F.prt", mercy, {{"Fp1", where}, {"Fp2", where}}},
        {Print_F1, "F1.prt", mercy, {{"F1p1", where}, {"F1p2", where}}},
        {Print_G, "G.prt", mercy, {{"Gp2", where}}},
        {Print_G, "G.prt", "  1    Health Care Facilities", {{"Gp1", "SeqNum = 1"}}},
        {Print_H, "H.prt", mercy, {{"H", where}}},
    };
    for (const SheetCase& c : cases) {
        for (double amount : kEdgeAmounts) {
            const int count = SetAmounts(c, amount);
            int fn = 0;
            c.print(fn);
            const auto figures = FiguresAfter(PrintLines(ReadFile(c.file)), c.name);
            EXPECT_EQ(static_cast<int>(figures.size()), count) << c.file << " " << c.name << " " << amount;
            for (std::string figure : figures) {
                std::erase(figure, ',');
                const double printed = std::stod(figure);
                const double stored = c.grouped ? std::round(amount) : amount;
                EXPECT_NEAR(printed, stored, 0.001) << c.file << " printed " << figure << " for " << amount;
            }
        }
    }
}


// Lines written on each page of a print file, the page-feed line included.
std::vector<int> PageLengths(const std::string& bytes) {
    std::vector<int> lengths;
    for (const auto& page : PrintPages(bytes)) lengths.push_back(static_cast<int>(PrintLines(page).size()));
    return lengths;
}

// The line holding `text`, and the lines after it.
std::vector<std::string> LinesFrom(const std::vector<std::string>& lines, const std::string& text, size_t count) {
    for (auto it = lines.begin(); it != lines.end(); ++it)
        if (it->find(text) != std::string::npos)
            return {it, it + static_cast<long>(std::min<size_t>(count, static_cast<size_t>(lines.end() - it)))};
    return {};
}

TEST_F(EdgePrint, LongTextsWrapInTheirColumnsWithTheFiguresOnTheirLine) {
    // J line 47's standard name, longer than its column.
    db().Execute("UPDATE J SET Col_1 = 47000 WHERE LineNum = 47;");
    int fn = 0;
    Print_J(fn);
    EXPECT_EQ(LinesFrom(PrintLines(ReadFile("J.prt")), "Notes & Loans", 2),
              (std::vector<std::string>{"47     Notes & Loans Payable to Related                 47000",
                                        "       Organizations"}));

    // A key officer's title, a region's city and state as long as they may be.
    const std::string title = "Executive Vice President and Chief Operating Offic";
    db().Execute("UPDATE Ap1 SET Legend = ?, Info = 'Jane Officer' WHERE SeqNum = (SELECT MAX(SeqNum) FROM Ap1);",
                 {Value(title)});
    db().Execute("UPDATE Ap5 SET Col2 = 'Rancho Santa Margarita Valley Heights', Col3 = 'Massachusetts Commonwlth', "
                 "Col4 = 95597 WHERE Col1 = 'Region One';");
    Print_A(fn);
    const auto a = PrintLines(ReadFile("A.prt"));
    EXPECT_EQ(LinesFrom(a, "Jane Officer", 3),
              (std::vector<std::string>{"    Executive Vice          Jane Officer", "    President and Chief",
                                        "    Operating Offic"}));
    const auto region = LinesFrom(a, "Region One", 3);
    ASSERT_EQ(region.size(), 3u);
    EXPECT_EQ(region[0].substr(0, 99),
              " 1      Region One" + std::string(33, ' ') + "Rancho Santa Margarita  Massachuse        95,597");
    EXPECT_EQ(region[1], std::string(51, ' ') + "Valley Heights          tts");
    EXPECT_EQ(region[2], std::string(75, ' ') + "Commonwlth");

    // F Part II's statistics total keeps to its 40 columns, a blank clear of
    // the field of the figure beside it, even of one that fills the field.
    for (const auto& [amount, line] : {std::pair{-512246920.0, "     -512,246,920"}, {1234567890.0, "    1,234,567,890"}}) {
        db().Execute("UPDATE Fp2 SET Col_1 = ? WHERE SeqNum = 34;", {Value(amount)});
        Print_F(fn);
        const auto total = LinesFrom(PrintLines(ReadFile("F.prt")), "Total statistics", 2);
        ASSERT_EQ(total.size(), 2u);
        EXPECT_EQ(total[0].substr(0, 61), " 34    Total statistics (sum of lines 18, 28" + std::string(line));
        EXPECT_EQ(total[1], "       and 33)  (A)");
    }
}

// Every line a wrapped row adds is counted, and a row that would run past the
// page's length starts the next page: no page holds more lines than its length.
TEST_F(EdgePrint, PagesOfWrappedRowsHoldNoMoreLinesThanCounted) {
    const std::string name = "Accounts Receivable from Related Organizations and Other Affiliates Held in Trust";
    db().Execute("UPDATE J SET CCName = ? WHERE CCNum > 0;", {Value(name)});
    int fn = 0;
    Print_J(fn);
    const auto lengths = PageLengths(ReadFile("J.prt"));
    ASSERT_GE(lengths.size(), 3u);  // each half now needs more than a page
    for (int length : lengths) EXPECT_LE(length, 100) << "portrait page of 100 lines";
}

// A label of 16 characters wraps within its column, a blank clear of the next
// column's label (which starts at once beside "Administrati"): its words stay
// under its column, the heading grows by the lines it needs and every figure
// keeps its column under it.
TEST_F(EdgePrint, SixteenCharacterLabelsWrapWithinTheirColumns) {
    db().Execute("UPDATE CostCenters SET ColLabel1 = 'Administrative G', ColLabel2 = 'Occupational Thy', "
                 "ColLabel3 = 'SpeechPathologys' WHERE CCNum = 11;");
    Close_CC_Recordset();
    AddChosenCCColumn("E1", Currency::FromInt(11));
    AddChosenCCColumn("E1", Currency::FromInt(12));
    SetCell("E1", 1, "Col_1", Value(C(1234567)));
    int fn = 0;
    Print_E1(fn);
    const auto printed = PrintLines(ReadFile("E1.prt"));
    const auto lines = LinesFrom(printed, "Direct Allocation", 11);
    ASSERT_EQ(lines.size(), 11u);
    // Label by label: the line, the text and its column, centred in 11 as ever.
    const std::tuple<size_t, const char*, size_t> placed[] = {
        {3, "Administrati", 61},  {3, "Salaries &", 74},   {4, "ve G", 64},
        {5, "Medicare", 50},      {5, "Occupational", 61}, {6, "Thy", 65},
        {7, "Chain Components", 20}, {7, "SpeechPatholo", 61}, {7, "Total", 90},
        {8, "gys", 65},           {9, "11", 65},           {9, "12", 78},
    };
    for (const auto& [line, text, col] : placed) EXPECT_EQ(lines[line].find(text), col - 1) << text;
    EXPECT_EQ(lines[10].substr(60, 11), std::string(11, '_'));
    // The figures keep their columns under the taller heading.
    const auto row = LinesFrom(printed, "Mercy North", 1);
    ASSERT_EQ(row.size(), 1u);
    EXPECT_EQ(row[0].find("1,234,567"), 71u - 9u);
}

// A page of a sheet wider than the paper, as read back: its title, its column
// numbers, each row's line number and the figures on the lines it takes.
struct WidePage {
    std::string title, numbers;
    std::vector<std::pair<std::string, std::vector<double>>> rows;
};

WidePage ReadWidePage(const std::vector<std::string>& lines) {
    static const std::regex figure("-?[0-9][0-9,]*(\\.[0-9]+)?");
    WidePage p;
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

// A row of figures too wide for their fields goes on on further lines in a
// block of nine columns but not in a narrower one; still every column page of
// a set holds the same rows, with their stored figures, within the page.
TEST_F(EdgePrint, EveryColumnPageOfAWideSheetHoldsTheSameRowsWithinThePage) {
    for (int i = 1; i < 60; ++i) {
        const std::string name =
            "Regional Medical Center of the Valley " + std::string{char('a' + i / 26), char('a' + i % 26)};
        AddA(3, 1 + i / 100.0, name);
        if (i < 15) AddA(4, 1 + i / 100.0, name);
        if (i < 8) AddA(5, 1 + i / 100.0, name);
    }
    db().Execute("UPDATE Ap3 SET MedicareNo = NULL;");
    db().Execute("UPDATE CostCenters SET ColLabel1 = 'Administrative G', ColLabel2 = 'Occupational', "
                 "ColLabel3 = 'SpeechPathologys';");
    RebuildAll();
    Close_CC_Recordset();
    for (int cc = 11; cc <= 32; ++cc) {
        AddChosenCCColumn("E1", Currency::FromInt(cc));
        AddF1Column(Currency::FromInt(cc));
    }
    const double wide[] = {-1000000000, 10000000000, -99999999999, 99999999999};  // column k holds wide[k % 4]
    for (const char* sheet : {"E", "E1", "F1p1", "F1p2"})
        for (size_t k = 4; k < FieldNames(sheet).size(); ++k)
            db().Execute(std::string("UPDATE ") + sheet + " SET " + FieldNames(sheet)[k] + " = ? WHERE SeqNum > 0",
                         {Value(C(wide[(k - 3) % 4]))});
    // The print, its file, the title of the pages read, the rows each block holds, whether it prints figures.
    const std::tuple<void (*)(int&), std::string, std::string, size_t, bool> cases[] = {
        {Print_E, "E.prt", "Direct Allocation of Home Office Capital", SeqNums("E").size() - 1, true},
        {Print_E1, "E1.prt", "Direct Allocation of Home Office Non-", SeqNums("E1").size() - 1, true},
        {Print_F1, "F1.prt", "Part I -", SeqNums("F1p1").size() - 1, true},
        {Print_F1, "F1.prt", "Part II -", SeqNums("F1p2").size() - 1, true},
        {Print_A, "A.prt", "Part III -", 5 + 59, false},  // the seeded components and those added
    };
    for (const auto& [print, file, title, count, figures] : cases) {
        int fn = 0;
        print(fn);
        std::vector<std::string> setRows;
        size_t total = 0;
        std::string firstNumbers;
        size_t block = 0;
        for (const auto& page : PrintPages(ReadFile(file))) {
            const auto lines = PrintLines(page);
            const WidePage p = ReadWidePage(lines);
            if (p.title.rfind(title, 0) != 0) continue;
            EXPECT_LE(lines.size(), 70u) << file << ": " << p.numbers;
            for (const auto& l : lines) EXPECT_LE(l.size(), 176u) << file << ": " << l;
            block = firstNumbers.empty() || p.numbers == firstNumbers ? 0 : block + 1;
            if (firstNumbers.empty()) firstNumbers = p.numbers;
            std::istringstream numbers(p.numbers);
            std::vector<double> want(figures ? std::distance(std::istream_iterator<std::string>(numbers), {}) : 0);
            for (size_t k = 0; k < want.size(); ++k) want[k] = wide[(9 * block + k + 1) % 4];
            std::vector<std::string> rows;
            for (const auto& [row, printed] : p.rows) {
                rows.push_back(row);
                EXPECT_EQ(printed, want) << file << " block " << block + 1 << " row " << row;
            }
            if (block == 0) setRows = rows, total += rows.size();
            EXPECT_EQ(rows, setRows) << file << " block " << block + 1;
        }
        EXPECT_EQ(total, count) << file << " " << title;
    }
}

// G and H print each block of columns through all the rows: their pages keep
// their length too, a row's group caption and carried-on lines counted with
// it, wherever the page breaks fall as components are added.
TEST_F(EdgePrint, GAndHPagesKeepTheirLengthWithWideFigures) {
    const double wide[] = {-1000000000, 10000000000, -99999999999, 99999999999};
    using Tall = std::tuple<const char*, void (*)(int&), const char*>;
    for (int i = 1; i <= 9; ++i) {
        AddA(3, 1 + i / 100.0, "Regional Medical Center of the Valley " + std::to_string(i));
        if (i % 3 == 0) AddA(4, 1 + i / 100.0, "Other Place " + std::to_string(i));
        RebuildAll();
        for (const auto& [sheet, print, file] : {Tall{"Gp2", Print_G, "G.prt"}, Tall{"H", Print_H, "H.prt"}}) {
            for (size_t k = 5; k < FieldNames(sheet).size(); ++k)
                db().Execute(std::string("UPDATE ") + sheet + " SET " + FieldNames(sheet)[k] +
                                 " = ? WHERE SeqNum > 0",
                             {Value(C(wide[k % 4]))});
            int fn = 0;
            print(fn);
            for (const int length : PageLengths(ReadFile(file))) EXPECT_LE(length, 70) << file << " with " << i;
        }
    }
}

}  // namespace
}  // namespace vt::test
