// The print of worksheet B: landscape, eight amount columns of 13 characters.
#include <string>

#include "engine/general/b.h"
#include "platform/db/db.h"
#include "print/print.h"
#include "store/report.h"
#include "store/services.h"

namespace vt {

namespace {

using print::Out;

constexpr int kAmountCols[] = {53, 66, 79, 92, 105, 118, 131, 144};  // where each column's rule starts
const char* const kAmountFields[] = {"Expenses",    "Reclassifications", "TrialBalance", "MedicareAdj",
                                     "NetExpenses", "DirectAlloc",       "FuncAlloc",    "PooledAlloc"};

// The headings above the column numbers and rules, which follow kAmountCols.
const print::Heading kHeadings = {
    {{1, "Trial Balance of Expenses, Reclassifications, Adjustments and Allocations"}},
    {},
    {},
    {{53, "Expenses per"}, {78, "Reclassified"}, {109, "Net"}, {117, "Direct Alloc"}, {132, "Func Alloc"}},
    {{53, "Home Office"}, {68, "Reclass-"}, {82, "Trial"}, {94, "Medicare"}, {106, "Allowable"}, {120, "To Chain"},
     {133, "To Chain"}, {147, "Pooled"}},
    {{17, "Cost Center Description"}, {56, "Books"}, {67, "ifications"}, {81, "Balance"}, {92, "Adjustments"},
     {107, "Expenses"}, {119, "Components"}, {132, "Components"}, {145, "Allocation"}},
};

// The headings with the column numbers and rules under them; the lines written.
int PrintHeadings(Out out) {
    static const print::Heading headings = [] {
        print::Heading h = kHeadings;
        print::HeadingLine numbers, rules{{9, std::string(40, '_')}};
        for (int c = 0; c < 8; ++c) {
            numbers.push_back({kAmountCols[c] + 5, std::to_string(c + 1)});
            rules.push_back({kAmountCols[c], std::string(11, '_')});
        }
        h.push_back(numbers);
        h.push_back(rules);
        return h;
    }();
    return print::WriteHeading(out, headings);
}

// The rules over every amount before a total line.
const print::Heading& TotalRules() {
    static const print::Heading rules = [] {
        print::HeadingLine line;
        for (int col : kAmountCols) line.push_back({col, std::string(11, '-')});
        return print::Heading{line};
    }();
    return rules;
}

struct Caption {
    int line;
    const char* text;
    const char* underline;
};
constexpr Caption kCaptions[] = {
    {1, "   Capital Related Costs - Old    ", "--------------------------------- "},
    {4, "   Capital Related Costs - New    ", "--------------------------------- "},
    {7, "   Other Capital Related Costs    ", "--------------------------------- "},
    {11, "   Non-Capital Related Costs    ", "------------------------------- "},
};

// The caption that opens the group starting at this line, if it opens one.
const Caption* GroupCaption(Currency line) {
    for (const Caption& c : kCaptions)
        if (line == Currency::FromInt(c.line)) return &c;
    return nullptr;
}

}  // namespace

void Print_B(int& fileNum) {
    print::SheetPrint sheet(fileNum, "B", "B", true);
    Out out = sheet.out();
    db::Recordset rs = Db().OpenRecordset("Select * From B Order by LineNum;");
    for (; !rs.Eof(); rs.MoveNext()) {
        if (sheet.PageFull()) {
            sheet.NewPage();
            sheet.lines += PrintHeadings(out);
        }
        const Value lineNum = rs["LineNum"];
        const Currency line = Nz_Num(lineNum).ToCurrency();
        if (const Caption* caption = GroupCaption(line))
            sheet.lines += print::WriteHeading(out, {{}, {{9, caption->text}}, {{9, caption->underline}}});
        else if (IsBTotalLine(line))
            sheet.lines += print::WriteHeading(out, TotalRules());
        out.Figure(1, 6, print::AmountText(lineNum));
        out.Text(9, print::Out::WidthBefore(9, kAmountCols[0] - 2), Nz_Str(rs["CCName"]).ToText());
        for (int c = 0; c < 8; ++c) out.Figure(kAmountCols[c] - 2, 13, print::WholeAmountText(rs[kAmountFields[c]]));
        sheet.lines += out.Line();
    }
    rs.Close();
    sheet.Finish(2);
}

}  // namespace vt
