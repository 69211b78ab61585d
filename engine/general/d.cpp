#include "engine/general/d.h"

#include "platform/db/db.h"
#include "print/print.h"
#include "store/builder.h"
#include "store/report.h"
#include "store/services.h"

namespace vt {

using db::CurrencyField;
using db::TextField;

namespace {

const char* const kTitle = "Statement of Costs of Services from Related Organizations";

// The sheet's title, at the top of every page.
const print::Heading kTitleLines = {{{1, kTitle}}, {}};

// The title and column headings of Parts B and C; the page's line count
// takes them as ten lines.
const print::Heading kPartBHeading = {
    {{1, "Part B - Costs incurred and adjustment required as a result of transactions "
         "with related organizations"}},
    {},
    {},
    {{26, "Account and Amount"}, {75, "Amount"}},
    {{8, std::string(62, '-')}, {73, "Allowable"}, {89, "Net"}},
    {{30, "Explanation"}, {62, "Amount"}, {74, "in Cost"}, {86, "Adjustment"}},
    {{10, "1"}, {35, "2"}, {64, "3"}, {77, "4"}, {90, "5"}},
    {{8, std::string(5, '_')}, {16, std::string(40, '_')}, {58, std::string(12, '_')}, {71, std::string(12, '_')},
     {84, std::string(12, '_')}},
};

const print::Heading kPartCHeading = {
    {{1, "Part C - Inter-relationship of Chain Home Office to Related Organization"}},
    {},
    {},
    {{84, "Related Through"}},
    {{87, "Ownership"}},
    {{13, "Name of Related Organization"}, {59, "Type of Business"}, {87, "or Control"},
     {119, "Explanation of Relationship"}},
    {{26, "1"}, {65, "2"}, {91, "3"}, {131, "4"}},
    {{9, std::string(36, '_')}, {48, std::string(36, '_')}, {87, std::string(10, '_')},
     {100, std::string(64, '_')}},
};

// The rules over the three amounts before Part B's total line.
const print::Heading kTotalRules = {
    {{58, std::string(12, '-')}, {71, std::string(12, '-')}, {84, std::string(12, '-')}},
};

}  // namespace

void Build_DpA() {
    BuildTable("DpA", {TextField("Question", 128), TextField("Answer", 3)},
                {"INSERT INTO DpA (Question, Answer) VALUES ('Are there any costs included in Worksheet B "
                 "which resulted from transactions with related organizations?', 'N');"});
}

void Build_DpB() {
    BuildTable("DpB",
                {CurrencyField("SeqNum"), CurrencyField("LineNum"), TextField("ExpAcct", 40, true),
                 CurrencyField("Amount"), CurrencyField("AmtAllowable"), CurrencyField("NetAdj")},
                {"INSERT INTO DpB (SeqNum,ExpAcct,Amount,AmtAllowable,NetAdj) VALUES (100,'TOTALS',0,0,0);"},
                "CREATE UNIQUE INDEX ndxDpB ON DpB (SeqNum);");
}

void Build_DpC() {
    BuildTable("DpC", {CurrencyField("SeqNum"), TextField("RelatedOrg", 36, true), TextField("Type", 36, true),
                        TextField("OwnCntl", 10, true), TextField("Explanation", 64, true)});
}

void Calc_DpB() {
    db::Transaction tx(Db());
    Currency a, b;
    {
        auto rs = Db().OpenRecordset(
            "SELECT SUM(Amount) AS Amt1, SUM(AmtAllowable) AS Amt2 FROM DpB WHERE SeqNum < 100;");
        a = Nz_Num(rs["Amt1"]).ToCurrency();
        b = Nz_Num(rs["Amt2"]).ToCurrency();
    }
    Db().Execute("UPDATE DpB SET Amount=? WHERE SeqNum = 100;", {Value(a)});
    Db().Execute("UPDATE DpB SET AmtAllowable=? WHERE SeqNum = 100;", {Value(b)});
    // As the sheet has always worked: a line with an empty amount gets a Null
    // adjustment (printed blank) while its other amount still counts in the
    // totals row.
    Db().Execute("UPDATE DpB SET NetAdj=CCur(Amount-AmtAllowable);");
    tx.Commit();
}

void Print_D(int& fileNum) {
    print::SheetPrint sp(fileNum, "D", "D", true);
    print::Out o = sp.out();

    // Part A
    sp.NewPage();
    sp.lines += print::WriteHeading(o, kTitleLines);
    sp.lines += print::WriteHeading(o, {{}, {{1, "Part A"}}, {}});
    {
        // A report whose question row went missing still prints, with the
        // question left blank.
        auto rs = Db().OpenRecordset("Select * From DpA;");
        if (!rs.Eof()) {
            o.Tab(8) << Nz_Str(rs["Question"]).ToText();
            o.Tab(114) << Nz_Str(rs["Answer"]).ToText();
        }
        o.Line();
    }
    for (int i = 0; i < 4; ++i) o.Line();
    sp.lines += 5;

    // Part B
    {
        auto rs = Db().OpenRecordset("Select * From DpB Order by SeqNum;");
        bool first = true;
        for (; !rs.Eof(); rs.MoveNext()) {
            if (first || sp.PageFull()) {
                // Under Part A the block counts as the ten lines it takes
                // with the title on later pages.
                sp.lines += first ? 2 : 0;
                if (!first) {
                    sp.NewPage();
                    sp.lines += print::WriteHeading(o, kTitleLines);
                }
                first = false;
                sp.lines += print::WriteHeading(o, kPartBHeading);
            }
            const Value seq = rs["SeqNum"];
            if (!seq.IsNull() && seq.ToCurrency() == Currency::FromInt(100))
                sp.lines += print::WriteHeading(o, kTotalRules);
            o.Figure(1, 6, print::AmountText(seq));
            o.Figure(8, 5, print::AmountText(rs["LineNum"]));
            o.Text(16, print::Out::WidthBefore(16, 57), Nz_Str(rs["ExpAcct"]).ToText());
            o.Figure(57, 13, print::WholeAmountText(rs["Amount"]));
            o.Figure(70, 13, print::WholeAmountText(rs["AmtAllowable"]));
            o.Figure(83, 13, print::WholeAmountText(rs["NetAdj"]));
            sp.lines += o.Line();
        }
    }

    // Part C always opens a page of its own.
    sp.lines = 999;
    {
        auto rs = Db().OpenRecordset("Select * From DpC Order by SeqNum;");
        for (; !rs.Eof(); rs.MoveNext()) {
            if (sp.PageFull()) {
                sp.NewPage();
                sp.lines += print::WriteHeading(o, kTitleLines);
                sp.lines += print::WriteHeading(o, kPartCHeading);
            }
            o.Figure(1, 6, print::AmountText(rs["SeqNum"]));
            o.Text(9, 38, Nz_Str(rs["RelatedOrg"]).ToText());
            o.Text(48, 38, Nz_Str(rs["Type"]).ToText());
            o.Text(87, 12, Nz_Str(rs["OwnCntl"]).ToText());
            o.Tab(100) << Nz_Str(rs["Explanation"]).ToText();
            sp.lines += o.Line();
        }
    }
    sp.Finish(2);
}

}  // namespace vt
