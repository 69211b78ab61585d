#include "engine/general/j.h"

#include <array>
#include <span>

#include "engine/general/renumber.h"
#include "platform/db/db.h"
#include "platform/ui/ui.h"
#include "print/print.h"
#include "store/builder.h"
#include "store/report.h"
#include "store/services.h"

namespace vt {

namespace {

struct TotalLine {
    int line;
    const char* caption;
};
constexpr std::array<TotalLine, 10> kTotals{{
    {10, "Total Current Assets"},
    {29, "Total Fixed Assets"},
    {38, "Total Other Assets"},
    {39, "Total Assets"},
    {49, "Total Current Liabilities"},
    {55, "Total Long-term Liabilities"},
    {56, "Total Liabilities"},
    {62, "Total Capital"},
    {63, "Total Liabilities and Capital"},
    {66, "Total Equity Capital"},
}};

const Currency kOffset = Currency::FromInt(10000);
const Currency kStep = Currency::FromScaled(100);  // .01

Currency Amount(const Value& v) { return Nz_Num(v).ToCurrency(); }

// The lines of account n's whole number from n up (at = true) or after n.
void ShiftSubAccounts(Currency n, bool at, Currency step) {
    ShiftLines("J", {"LineNum", "CCNum"}, std::string(at ? "CCNum>=?" : "CCNum>?") + " AND CCNum<?",
                {Value(n), Value(n.Floor() + Currency::FromInt(1))}, step, kOffset);
}

// Sum of Col_1 over the lines strictly between two lines, Null counting as 0.
Currency SumBetween(int above, int below) {
    return Amount(Db().Scalar("SELECT SUM(Col_1) AS Sum1 FROM J WHERE (LineNum > ?) AND (LineNum < ?);",
                              {Value(above), Value(below)}));
}

void SetTotal(int line, Currency value) {
    Db().Execute("UPDATE J SET Col_1=? WHERE LineNum = ?;", {Value(value), Value(line)});
}

// "10,29,...": the total lines, for statements that pass over them.
std::string TotalLineList() {
    std::string list;
    for (const auto& t : kTotals) list += (list.empty() ? "" : ",") + std::to_string(t.line);
    return list;
}

// Of a row of Line, Account and Caption (the total line's).
std::string LineTaken(const db::Recordset& rs) {
    return "Line " + rs["Line"].ToText() + " of Worksheet J is taken by \"" + Nz_Str(rs["Caption"]).ToText() +
           "\", so account " + rs["Account"].ToText() + " was not added to Worksheet J.";
}

// An account whose line is a total line (older reports could hold one) has no
// line of its own; the user is told of all such accounts at once.
void TellAccountsOnTotalLines() {
    auto rs = Db().OpenRecordset(
        "SELECT CostCenters.LineNum AS Line, CostCenters.CCNum AS Account, J.CCName AS Caption FROM CostCenters "
        "INNER JOIN J ON J.LineNum = CostCenters.LineNum WHERE CostCenters.CCNum > 200 AND CostCenters.LineNum IN (" +
        TotalLineList() + ") ORDER BY CostCenters.LineNum, CostCenters.CCNum;");
    std::string text;
    for (; !rs.Eof(); rs.MoveNext()) text += (text.empty() ? "" : "\r\n") + LineTaken(rs);
    if (!text.empty()) Show_Message(text, ui::kExclamation, "Warning: Worksheet J");
}

}  // namespace

void Build_J() {
    std::vector<Seed> seeds = {
        "INSERT INTO J (LineNum, CCNum, CCName) SELECT LineNum, CCNum, CCName FROM CostCenters "
        "WHERE CCNum > 200 AND LineNum NOT IN (" + TotalLineList() + ") ORDER BY LineNum;",
        // The allowance and accumulated-depreciation accounts are contra lines.
        "UPDATE J SET CCName = 'Less:' || IFNULL(CCName, '') WHERE LineNum In (6,13,15,17,19,21,23,25);",
        "UPDATE J SET Col_1=0;",
    };
    for (const auto& t : kTotals)
        seeds.emplace_back("INSERT INTO J (LineNum,CCNum,CCName) VALUES(?,0,?);",
                           std::vector<Value>{Value(t.line), Value(t.caption)});
    BuildTable("J",
                {db::CurrencyField("LineNum"), db::CurrencyField("CCNum"), db::TextField("CCName", 250, true),
                 db::CurrencyField("Col_1")},
                seeds, "CREATE UNIQUE INDEX ndx ON J (LineNum);");
    TellAccountsOnTotalLines();
}

void Insert_CC_J(Currency& n) {
    db::Transaction tx(Db());
    if (!n.IsWhole()) ShiftSubAccounts(n, true, kStep);
    const int added = Db().Execute(
        "INSERT INTO J (LineNum, CCNum, CCName) SELECT LineNum, CCNum, CCName FROM CostCenters WHERE CCNum=?;",
        {Value(n)});
    if (added > 0) {
        Db().Execute("UPDATE J SET Col_1=0 WHERE CCNum=?;", {Value(n)});
    } else {
        // The only row the unique line number refuses is one whose line is
        // held already, in practice a total line such as 10 or 66.
        auto rs = Db().OpenRecordset(
            "SELECT CostCenters.LineNum AS Line, CostCenters.CCNum AS Account, J.CCName AS Caption FROM CostCenters "
            "INNER JOIN J ON J.LineNum = CostCenters.LineNum WHERE CostCenters.CCNum=?;",
            {Value(n)});
        if (!rs.Eof()) Show_Message(LineTaken(rs), ui::kExclamation, "Warning: Worksheet J");
    }
    tx.Commit();
}

void Delete_CC_J(Currency& n) {
    db::Transaction tx(Db());
    Db().Execute("DELETE FROM J WHERE CCNum = ?;", {Value(n)});
    if (!n.IsWhole()) ShiftSubAccounts(n, false, -kStep);
    tx.Commit();
}

void Calc_J() {
    db::Transaction tx(Db());
    const Currency s10 = Amount(Db().Scalar("SELECT SUM(Col_1) AS Sum1 FROM J WHERE LineNum < 10;"));
    SetTotal(10, s10);
    const Currency s29 = SumBetween(10, 29);
    SetTotal(29, s29);
    const Currency s38 = SumBetween(29, 38);
    SetTotal(38, s38);
    const Currency s39 = s10 + s29 + s38;
    SetTotal(39, s39);
    const Currency s49 = SumBetween(39, 49);
    SetTotal(49, s49);
    const Currency s55 = SumBetween(49, 55);
    SetTotal(55, s55);
    const Currency s56 = s49 + s55;
    SetTotal(56, s56);
    const Currency s62 = SumBetween(56, 62);
    SetTotal(62, s62);
    SetTotal(63, s56 + s62);
    SetTotal(66, s62 + SumBetween(63, 66));
    tx.Commit();
}

void Print_J(int& fileNum) {
    print::SheetPrint sp(fileNum, "J", "J", false);
    print::Out o = sp.out();
    struct Group {
        int line;
        const char* heading;
        bool blankBefore;
    };
    static constexpr std::array<Group, 6> kGroups{{
        {1, "Current Assets:", false},
        {11, "Fixed Assets:", true},
        {30, "Other Assets:", true},
        {40, "Current Liabilities:", false},
        {50, "Long Term Liabilities:", true},
        {57, "Capital:", true},
    }};
    // A rule line goes before the totals, a blank line before these others.
    static constexpr std::array<int, 7> kRuled{10, 29, 38, 49, 55, 63, 66};
    static constexpr std::array<int, 4> kSpaced{39, 56, 64, 65};
    auto is = [](Currency line, std::span<const int> lines) {
        for (int l : lines)
            if (line == Currency::FromInt(l)) return true;
        return false;
    };

    // The name keeps to the columns before the amount's field.
    constexpr int kAmountCol = 51;
    constexpr int kNameWidth = print::Out::WidthBefore(8, kAmountCol);
    auto rs = Db().OpenRecordset("Select * From J Order by LineNum;");
    for (; !rs.Eof(); rs.MoveNext()) {
        const Value lineValue = rs["LineNum"];
        const Currency line = Amount(lineValue);
        const std::string name = Nz_Str(rs["CCName"]).ToText();
        // What the row writes before itself: its group's heading, a rule or
        // a blank line.
        print::Heading before;
        for (const auto& g : kGroups) {
            if (line != Currency::FromInt(g.line)) continue;
            if (g.blankBefore) before.emplace_back();
            const std::string heading = g.heading;
            before.push_back({{11, heading}});
            before.push_back({{8, std::string(heading.size() + 6, '-')}});
        }
        if (is(line, kRuled))
            before.push_back({{51, std::string(11, '-')}});
        else if (is(line, kSpaced))
            before.emplace_back();
        // All of its lines, so that it starts the next page rather than run
        // past this one's length.
        if (sp.PageFull(static_cast<int>(before.size() + print::WrapText(name, kNameWidth).size()))) {
            sp.NewPage();
            int center = 0;
            print::Print_Centered(sp.FileNum(), "Balance Sheet For Home Office", center);
            o.Line();
            o.Line();
            sp.lines += 3;
            const bool assets = line < Currency::FromInt(40);
            sp.lines += print::WriteHeading(o, {
                {{53, "Balance"}},
                {{54, "Sheet"}},
                {assets ? print::HeadingItem{25, "Assets"} : print::HeadingItem{17, "Liabilities and Capital"}},
                {{52, "Per Books"}},
                {{56, line <= Currency::FromInt(39) ? "1" : "6"}},
                {{8, std::string(40, '_')}, {51, std::string(11, '_')}},
            });
        }
        sp.lines += print::WriteHeading(o, before);
        o.Figure(1, 5, print::AmountText(lineValue));
        o.Text(8, kNameWidth, name);
        o.Figure(kAmountCol, 11, rs["Col_1"].ToText());
        const int written = o.Line();
        // The liabilities and capital half always starts on a page of its own.
        if (line == Currency::FromInt(39))
            sp.lines = 999;
        else
            sp.lines += written;
    }
    rs.Close();
    sp.Finish(2);
}

}  // namespace vt
