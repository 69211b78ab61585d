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

void PrintHeadings(Out out) {
    out.Tab(1) << "Trial Balance of Expenses, Reclassifications, Adjustments and Allocations";
    out.Line();
    out.Line();
    out.Line();
    out.Tab(53) << "Expenses per";
    out.Tab(78) << "Reclassified";
    out.Tab(109) << "Net";
    out.Tab(117) << "Direct Alloc";
    out.Tab(132) << "Func Alloc";
    out.Line();
    out.Tab(53) << "Home Office";
    out.Tab(68) << "Reclass-";
    out.Tab(82) << "Trial";
    out.Tab(94) << "Medicare";
    out.Tab(106) << "Allowable";
    out.Tab(120) << "To Chain";
    out.Tab(133) << "To Chain";
    out.Tab(147) << "Pooled";
    out.Line();
    out.Tab(17) << "Cost Center Description";
    out.Tab(56) << "Books";
    out.Tab(67) << "ifications";
    out.Tab(81) << "Balance";
    out.Tab(92) << "Adjustments";
    out.Tab(107) << "Expenses";
    out.Tab(119) << "Components";
    out.Tab(132) << "Components";
    out.Tab(145) << "Allocation";
    out.Line();
    for (int c = 0; c < 8; ++c) out.Tab(kAmountCols[c] + 5) << std::to_string(c + 1);
    out.Line();
    out.Tab(9) << std::string(40, '_');
    for (int col : kAmountCols) out.Tab(col) << std::string(11, '_');
    out.Line();
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

bool IsTotalLine(Currency line) {
    for (int t : {3, 6, 10, 36, 100})
        if (line == Currency::FromInt(t)) return true;
    return false;
}

}  // namespace

void Print_B(int& fileNum) {
    print::SheetPrint sheet(fileNum, "B", "B", true);
    Out out = sheet.out();
    db::Recordset rs = Db().OpenRecordset("Select * From B Order by LineNum;");
    for (; !rs.Eof(); rs.MoveNext()) {
        if (sheet.PageFull()) {
            sheet.NewPage();
            PrintHeadings(out);
            sheet.lines += 8;
        }
        const Value lineNum = rs["LineNum"];
        const Currency line = Nz_Num(lineNum).ToCurrency();
        if (const Caption* caption = GroupCaption(line)) {
            out.Line();
            out.Tab(9) << caption->text;
            out.Line();
            out.Tab(9) << caption->underline;
            out.Line();
            sheet.lines += 3;
        } else if (IsTotalLine(line)) {
            for (int col : kAmountCols) out.Tab(col) << std::string(11, '-');
            out.Line();
            sheet.lines += 1;
        }
        out.Tab(1) << print::Format_Amount(lineNum, 6);
        out.Tab(9) << Nz_Str(rs["CCName"]).ToText();
        out.Tab(51);
        for (const char* f : kAmountFields) out << print::Pad_Left(Value(Format(rs[f], "#,##0")), 13);
        out.Line();
        sheet.lines += 1;
    }
    rs.Close();
    sheet.Finish(2);
}

}  // namespace vt
