#include "engine/general/a.h"

#include <array>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engine/chain/component_rows.h"
#include "engine/chain/component_sheet.h"
#include "platform/db/db.h"
#include "platform/value/value.h"
#include "print/print.h"
#include "store/builder.h"
#include "store/report.h"
#include "store/services.h"

namespace vt {

namespace {

using db::CurrencyField;
using db::DateField;
using db::TextField;

// Line numbers of the form are written in hundredths: 202 is line 2.02.
constexpr Currency LineNo(int hundredths) { return Currency{hundredths * 100LL}; }

struct Ap1Seed {
    int line;  // hundredths
    const char* legend;
};

// Part I lines in the order a new report holds them. Only lines 1, 2.02, 6.01
// and 6.02 carry a value from the start: the report's identity.
constexpr std::array<Ap1Seed, 18> kAp1Seed{{
    {100, "Home Office Name"},
    {201, "No. Assigned by Designated Intermediary"},
    {202, "No. Assigned by CMS"},
    {300, "Home Office Address"},
    {301, "Address #2"},
    {302, "City"},
    {303, "State"},
    {400, "Chain Operations Start Date"},
    {500, "Contact Name"},
    {501, "Contact Title"},
    {502, "Contact Phone"},
    {601, "Cost Statement Period Start Date"},
    {602, "Cost Statement Period End Date"},
    {700, "Was Audited Financial Data used on Sched B?"},
    {800, "Type of Organization"},
    {801, "    (specify other type):"},
    {901, "President"},
    {902, "Vice President"},
}};

// The Part I lines the print captions itself (all seeded lines before the
// key officers); every other line of Ap1 is printed as a key officer.
constexpr std::array<int, 16> kAp1Captioned{100, 201, 202, 300, 301, 302, 303, 400,
                                            500, 501, 502, 601, 602, 700, 800, 801};

// The report's facility name, provider number and fiscal-year dates, bound
// into the Info of their Part I lines. The dates are written as the default
// date-to-text conversion gives them (10/1/2005): the edit checks read them
// back as dates.
std::vector<Seed> IdentityStatements() {
    const ReportState& r = Report();
    const std::array<std::pair<int, Value>, 4> identity{{
        {100, Value(r.CRF_ProviderName)},
        {202, Value(r.CRF_ProviderNumber)},
        {601, Value(Value(r.CRF_FYStart).ToText())},
        {602, Value(Value(r.CRF_FYEnd).ToText())},
    }};
    std::vector<Seed> statements;
    for (const auto& [line, info] : identity)
        statements.emplace_back("UPDATE Ap1 SET Info = ? WHERE SeqNum = ?",
                                std::vector<Value>{info, Value(LineNo(line))});
    return statements;
}

}  // namespace

void Build_Ap1() {
    std::vector<Seed> seeds;
    for (const Ap1Seed& s : kAp1Seed)
        seeds.emplace_back("INSERT INTO Ap1 (SeqNum,Legend) VALUES (?,?)",
                           std::vector<Value>{Value(LineNo(s.line)), Value(s.legend)});
    for (Seed& identity : IdentityStatements()) seeds.push_back(std::move(identity));
    BuildTable("Ap1", {CurrencyField("SeqNum"), TextField("Legend", 50), TextField("Info", 40, true)}, seeds,
                "CREATE UNIQUE INDEX ndx ON Ap1 (SeqNum);");
}

void WriteAp1Identity() {
    for (const Seed& statement : IdentityStatements()) Db().Execute(statement.sql, statement.params);
}

void Build_Ap3() {
    BuildTable("Ap3",
                {
                    CurrencyField("LineNum"),
                    TextField("Component", 40, true),
                    TextField("MedicareNo", 7, true),
                    DateField("PeriodFrom"),
                    DateField("PeriodTo"),
                    DateField("DateAcquired"),
                    DateField("DateSold"),
                    TextField("MedicaidPart", 3, true),
                    TextField("ReimburseType", 3, true),
                    TextField("MedicareInt", 25, true),
                    TextField("Medicaid", 25, true),
                },
                {}, "CREATE UNIQUE INDEX ndxAp3 ON Ap3 (LineNum);");
    Clear_Component_Band(3);
}

void Build_Ap4() {
    // Line 9 stays the last line of the part: the editor numbers new lines below it.
    BuildTable("Ap4",
                {
                    CurrencyField("LineNum"),
                    TextField("Component", 40, true),
                    DateField("PeriodFrom"),
                    DateField("PeriodTo"),
                    DateField("DateAcquired"),
                    DateField("DateSold"),
                },
                {"INSERT INTO Ap4 (LineNum, Component) VALUES (9, 'Other Managed Facilities');"},
                "CREATE UNIQUE INDEX ndxAp4 ON Ap4 (LineNum);");
    Clear_Component_Band(4);
}

void Build_Ap5() {
    BuildTable("Ap5",
                {
                    CurrencyField("LineNum"),
                    TextField("Col1", 40, true),
                    TextField("Col2", 40, true),
                    TextField("Col3", 25, true),
                    CurrencyField("Col4"),
                    TextField("Col5", 3, true),
                    TextField("Col6", 3, true),
                    TextField("Col7", 25, true),
                },
                {}, "CREATE UNIQUE INDEX ndxAp5 ON Ap5 (LineNum);");
    Clear_Component_Band(5);
}

void Calc_Ap5() {
    db::Database& d = Db();
    db::Transaction tx(d);
    const ComponentBand& band = BandOfPart(5);
    d.Execute("UPDATE Ap5 SET Col4 = H.Col_20 FROM H WHERE H.LineNum = Ap5.LineNum AND H.SeqNum > " +
              std::to_string(band.after) + " AND H.SeqNum < " + std::to_string(band.totalRow));
    tx.Commit();
}

// ---------------------------------------------------------------- Print_A

namespace {

std::string Text(const Value& v) { return Nz_Str(v).ToText(); }
std::string Underscores(int n) { return std::string(static_cast<size_t>(n), '_'); }

void PrintPartsIAndII(print::SheetPrint& sp) {
    // Lines are looked up by number, not by place, so a report whose Part I
    // lacks a line prints the others under their own captions.
    std::map<Currency, Value> info;
    std::vector<std::pair<Value, Value>> officers;
    {
        db::Recordset rs = Db().OpenRecordset("SELECT * FROM Ap1 ORDER BY SeqNum");
        for (; !rs.Eof(); rs.MoveNext()) {
            Value seq = rs["SeqNum"];
            bool captioned = false;
            if (!seq.IsNull()) {
                Currency c = seq.ToCurrency();
                for (int line : kAp1Captioned) captioned = captioned || c == LineNo(line);
                if (captioned) info[c] = rs["Info"];
            }
            if (!captioned) officers.emplace_back(rs["Legend"], rs["Info"]);
        }
    }
    auto at = [&](int line) {
        auto it = info.find(LineNo(line));
        return it == info.end() ? std::string() : Text(it->second);
    };

    std::string boxes = "[ ] Yes    [ ] No";
    if (at(700) == "Yes")
        boxes[1] = 'X';
    else if (at(700) == "No")
        boxes[12] = 'X';
    std::string type = at(800);
    if (!Is_Blank(Value(at(801)))) type += ": " + at(801);

    sp.NewPage();
    print::Out o = sp.out();
    print::WriteHeading(o, {
        {},
        {},
        {{0, "Part I - General Information"}},
        {},
        {{1, "1.  Home Office Name:"}, {97, "2A  No. Assigned by Designated Intermediary:"}},
        {{5, at(100)}, {101, at(201)}},
        {},
        {{97, "2B. No. Assigned by CMS:"}},
        {{101, at(202)}},
        {},
        {{1, "3.  Home Office Address:"}, {97, "4.  Chain Operations Started On:"}},
        {{5, at(300)}, {101, at(400)}},
        {{5, at(301)}},
        {{5, at(302)}},
        {{5, at(303)}},
        {},
        {{1, "5.  Contact Person"}, {97, "6.  Cost Statement Period:"}},
        {{7, "Name:   " + at(500)}, {103, "From:  " + at(601)}},
        {{7, "Title:  " + at(501)}, {103, "To:    " + at(602)}},
        {},
        {{7, "Phone:  " + at(502)}, {97, "7.  Was Audited Financial Data used on"}},
        {{101, "Schedule B?  "}},
        {{103, boxes}},
        {},
        {{1, "8.  Type of Chain Organization:"}},
        {{5, type}},
        {},
        {{1, "9.  Key Officers of Home Office:"}},
    });
    // A title keeps to the columns before the officer's name.
    for (const auto& [legend, officer] : officers) {
        o.Text(5, 23, Text(legend));
        o.Tab(29) << Text(officer);
        o.Line();
    }

    const ReportState& r = Report();
    for (int i = 0; i < 5; ++i) o.Line();
    o.Line("Part II - Certification of Officer of Home Office");
    o.Line();
    o.Line();
    o.Line("Intentional misrepresentation or falsification of any information contained in this Home Office");
    o.Line("cost statement may be punishable by fine and/or imprisonment under Federal Law.");
    o.Line();
    o.Line("I HEREBY CERTIFY that I have read the above statement and that I have examined the accompanying");
    o.Line("statement of allowable Home Office costs (and equity capital if applicable), the allocation thereof to the");
    o.Line("chain components, and the other supporting schedules for the period beginning " +
           Format(Value(r.CRF_FYStart), "mm/dd/yyyy") + ",");
    o.Line("and ending " + Format(Value(r.CRF_FYEnd), "mm/dd/yyyy") + ".");
    o.Line("To the best of my knowledge and belief, they are true and correct statements prepared from the books");
    o.Line("and records of the Home Office in accordance with applicable instructions, except as noted (attach");
    o.Line("statement with exceptions if necessary).");
    bool first = true;
    for (const char* word : {"(signed)", "(title)", "(date)"}) {
        for (int i = 0; i < (first ? 3 : 2); ++i) o.Line();
        first = false;
        o.Tab(67) << word + Underscores(71 - static_cast<int>(std::string(word).size()));
        o.Line();
    }
}

// The column headings of the landscape parts; Part III's come in two halves.
const print::Heading kPartIIIFirstHalf = {
    {{68, "Period Ending During"}, {96, "Date Acquired"}, {115, "Date Sold/Closed"}, {135, "Medicaid"},
     {146, "Component"}},
    {{23, "Component Name"}, {67, "Home Office Fiscal Year"}, {95, "During the Home"}, {115, "During the Home"},
     {135, "Partic-"}, {148, "Cost"}},
    {{19, "Health Care Facilities"}, {52, "Medicare No"}, {70, "From:"}, {84, "To:"}, {93, "Office Fiscal Year"},
     {114, "Office Fiscal Year"}, {135, "ipation"}, {147, "Reimb."}},
    {{28, "1"}, {57, "2"}, {72, "3"}, {85, "4"}, {102, "5"}, {123, "6"}, {138, "7"}, {149, "8"}},
    {{9, Underscores(40)}, {52, Underscores(11)}, {67, Underscores(10)}, {80, Underscores(10)},
     {93, Underscores(19)}, {114, Underscores(19)}, {135, Underscores(8)}, {146, Underscores(8)}},
};

const print::Heading kPartIIISecondHalf = {
    {},
    {{23, "Component Name"}, {60, "Medicare"}, {87, "Medicaid"}},
    {{19, "Health Care Facilities"}, {57, "Intermediaries"}, {84, "Intermediaries"}},
    {{18, "1"}, {64, "9"}, {91, "10"}},
    {{9, Underscores(40)}, {52, Underscores(25)}, {79, Underscores(25)}},
};

const print::Heading kPartIV = {
    {{53, "Period Ending During"}, {81, "Date Acquired"}, {100, "Date Sold/Closed"}},
    {{23, "Component Name"}, {52, "Home Office Fiscal Year"}, {80, "During the Home"}, {100, "During the Home"}},
    {{22, "Other Components"}, {55, "From:"}, {69, "To:"}, {78, "Office Fiscal Year"}, {99, "Office Fiscal Year"}},
    {{28, "1"}, {57, "2"}, {70, "3"}, {87, "4"}, {108, "5"}},
    {{9, Underscores(40)}, {52, Underscores(10)}, {65, Underscores(10)}, {82, Underscores(10)},
     {103, Underscores(10)}},
};

const print::Heading kPartV = {
    {{82, "Cost & Equity Included"}, {108, "Separate Cost"}, {130, "Designated"}},
    {{23, "Component Name"}, {65, "Location"}, {82, "in this Cost Statement"}, {107, "Statement Filed"},
     {128, "Region/Division"}},
    {{22, "Other Components"}, {60, "City"}, {74, "State"}, {91, "Amount"}, {111, "Yes"}, {117, "No"},
     {129, "Intermediary"}},
    {{28, "1"}, {61, "2"}, {76, "3"}, {94, "4"}, {112, "5"}, {117, "6"}, {134, "7"}},
    {{9, Underscores(40)}, {52, Underscores(20)}, {74, Underscores(5)}, {87, Underscores(13)},
     {111, Underscores(3)}, {116, Underscores(3)}, {125, Underscores(20)}},
};

// The part's title and its five-line heading block, under a page's header.
void PartHeading(print::SheetPrint& sp, const char* title, const print::Heading& heading) {
    print::Out o = sp.out();
    sp.lines += print::WriteHeading(o, {{{0, title}}, {}});
    sp.lines += print::WriteHeading(o, heading);
    sp.lines += o.Line();
}

// Opens a page of one landscape part: header, the part's title and headings.
void StartPartPage(print::SheetPrint& sp, const char* title, const print::Heading& heading) {
    sp.NewPage();
    PartHeading(sp, title, heading);
}

void PrintPartIII(print::SheetPrint& sp) {
    const char* title = "Part III - Listing of Chain Healthcare Facility Components";

    // The ten columns need two page widths: every page of columns 1-8 is
    // followed by a page of columns 1, 9 and 10 for the same components.
    db::Recordset rs = Db().OpenRecordset("SELECT * FROM Ap3 ORDER BY LineNum");
    print::ColumnPages pages;
    pages.blocks = 2;
    pages.heading = [&](print::SheetPrint& p, int half) {
        PartHeading(p, title, half == 1 ? kPartIIISecondHalf : kPartIIIFirstHalf);
    };
    pages.row = [&](print::SheetPrint& p, int half) {
        print::Out o = p.out();
        o.Figure(1, 5, print::AmountText(rs["LineNum"]));
        o.Text(9, half == 1 ? 42 : 44, Text(rs["Component"]));
        if (half == 0) {
            o.Tab(54) << Text(rs["MedicareNo"]);
            o.Tab(67) << print::Format_Date(rs["PeriodFrom"]);
            o.Tab(80) << print::Format_Date(rs["PeriodTo"]);
            o.Tab(97) << print::Format_Date(rs["DateAcquired"]);
            o.Tab(118) << print::Format_Date(rs["DateSold"]);
            o.Tab(138) << Text(rs["MedicaidPart"]);
            o.Tab(149) << Text(rs["ReimburseType"]);
        } else {
            o.Tab(52) << Text(rs["MedicareInt"]);
            o.Tab(79) << Text(rs["Medicaid"]);
        }
        p.lines += o.Line();
    };
    print::PrintColumnPages(sp, rs, pages);
}

void PrintPartIV(print::SheetPrint& sp) {
    const char* sql = "SELECT * FROM Ap4 ORDER BY LineNum";
    db::Recordset rs = Db().OpenRecordset(sql);
    sp.lines = 999;
    for (; !rs.Eof(); rs.MoveNext()) {
        if (sp.PageFull()) StartPartPage(sp, "Part IV - Listing of Other Chain Components", kPartIV);
        print::Out o = sp.out();
        o.Figure(1, 5, print::AmountText(rs["LineNum"]));
        o.Text(9, 42, Text(rs["Component"]));
        o.Tab(52) << print::Format_Date(rs["PeriodFrom"]);
        o.Tab(65) << print::Format_Date(rs["PeriodTo"]);
        o.Tab(82) << print::Format_Date(rs["DateAcquired"]);
        o.Tab(103) << print::Format_Date(rs["DateSold"]);
        sp.lines += o.Line();
    }
}

// Part V's texts before its last column: name, city, state and the two
// answers, each kept to its column and wrapped within it.
struct PartVText {
    const char* field;
    int col, width;
};
constexpr int kPartVAmountCol = 87;
constexpr PartVText kPartVTexts[] = {{"Col1", 9, 42},
                                     {"Col2", 52, 23},
                                     {"Col3", 76, print::Out::WidthBefore(76, kPartVAmountCol)},
                                     {"Col5", 112, 4},
                                     {"Col6", 117, 7}};

void PrintPartV(print::SheetPrint& sp) {
    const char* sql = "SELECT * FROM Ap5 ORDER BY LineNum";
    db::Recordset rs = Db().OpenRecordset(sql);
    sp.lines = 999;
    for (; !rs.Eof(); rs.MoveNext()) {
        // A row of wrapped names starts the next page rather than run past this one.
        std::size_t rowLines = 1;
        for (const PartVText& t : kPartVTexts)
            rowLines = std::max(rowLines, print::WrapText(Text(rs[t.field]), t.width).size());
        if (sp.PageFull(static_cast<int>(rowLines))) StartPartPage(sp, "Part V - Listing of Regions/Divisions", kPartV);
        print::Out o = sp.out();
        o.Figure(1, 5, print::AmountText(rs["LineNum"]));
        auto text = [&](const PartVText& t) { o.Text(t.col, t.width, Text(rs[t.field])); };
        text(kPartVTexts[0]);
        text(kPartVTexts[1]);
        text(kPartVTexts[2]);
        o.Figure(kPartVAmountCol, 13, print::WholeAmountText(Nz_Num(rs["Col4"])));
        text(kPartVTexts[3]);
        text(kPartVTexts[4]);
        o.Tab(125) << Text(rs["Col7"]);
        sp.lines += o.Line();
    }
}

}  // namespace

void Print_A(int& fileNum) {
    print::SheetPrint sp(fileNum, "A", "A", /*landscape=*/false);
    PrintPartsIAndII(sp);
    print::Set_Landscape();
    PrintPartIII(sp);
    PrintPartIV(sp);
    PrintPartV(sp);
    sp.Finish(1);
}

}  // namespace vt
