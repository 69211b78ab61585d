#include "engine/general/a.h"

#include <array>
#include <map>
#include <string>
#include <utility>
#include <vector>

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
    Build_Table("Ap1", {CurrencyField("SeqNum"), TextField("Legend", 50), TextField("Info", 40, true)}, seeds,
                "CREATE UNIQUE INDEX ndx ON Ap1 (SeqNum);");
}

void Write_Ap1_Identity() {
    for (const Seed& statement : IdentityStatements()) Db().Execute(statement.sql, statement.params);
}

void Build_Ap3() {
    Build_Table("Ap3",
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
    Build_Table("Ap4",
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
    Build_Table("Ap5",
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
    d.Execute("UPDATE Ap5 SET Col4 = H.Col_20 FROM H "
              "WHERE H.LineNum = Ap5.LineNum AND H.SeqNum > 28 AND H.SeqNum < 33");
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

    sp.NewPage();
    print::Out o = sp.out();
    o.Line();
    o.Line();
    o.Tab(0) << "Part I - General Information";
    o.Line();
    o.Line();
    o << "1.  Home Office Name:";
    o.Tab(97) << "2A  No. Assigned by Designated Intermediary:";
    o.Line();
    o.Tab(5) << at(100);
    o.Tab(101) << at(201);
    o.Line();
    o.Line();
    o.Tab(97) << "2B. No. Assigned by CMS:";
    o.Line();
    o.Tab(101) << at(202);
    o.Line();
    o.Line();
    o << "3.  Home Office Address:";
    o.Tab(97) << "4.  Chain Operations Started On:";
    o.Line();
    o.Tab(5) << at(300);
    o.Tab(101) << at(400);
    o.Line();
    for (int line : {301, 302, 303}) {
        o.Tab(5) << at(line);
        o.Line();
    }
    o.Line();
    o.Tab(1) << "5.  Contact Person";
    o.Tab(97) << "6.  Cost Statement Period:";
    o.Line();
    o.Tab(7) << "Name:   " + at(500);
    o.Tab(103) << "From:  " + at(601);
    o.Line();
    o.Tab(7) << "Title:  " + at(501);
    o.Tab(103) << "To:    " + at(602);
    o.Line();
    o.Line();
    o.Tab(7) << "Phone:  " + at(502);
    o.Tab(97) << "7.  Was Audited Financial Data used on";
    o.Line();
    o.Tab(101) << "Schedule B?  ";
    o.Line();
    std::string boxes = "[ ] Yes    [ ] No";
    if (at(700) == "Yes")
        boxes[1] = 'X';
    else if (at(700) == "No")
        boxes[12] = 'X';
    o.Tab(103) << boxes;
    o.Line();
    o.Line();
    o << "8.  Type of Chain Organization:";
    o.Line();
    o.Tab(5) << at(800);
    if (!Is_Blank(Value(at(801)))) o << ": " + at(801);
    o.Line();
    o.Line();
    o << "9.  Key Officers of Home Office:";
    o.Line();
    for (const auto& [legend, officer] : officers) {
        o.Tab(5) << Text(legend);
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

// Opens a page of one landscape part: header, the part's title and its
// five-line heading block.
using Heading = void (*)(print::Out&);

void StartPartPage(print::SheetPrint& sp, const char* title, Heading heading) {
    sp.NewPage();
    print::Out o = sp.out();
    o.Tab(0) << title;
    o.Line();
    o.Line();
    heading(o);
    o.Line();
    sp.lines += 2 + 6;
}

void PrintPartIII(print::SheetPrint& sp) {
    Heading firstHalfHeading = [](print::Out& o) {
        o.Tab(68) << "Period Ending During";
        o.Tab(96) << "Date Acquired";
        o.Tab(115) << "Date Sold/Closed";
        o.Tab(135) << "Medicaid";
        o.Tab(146) << "Component";
        o.Line();
        o.Tab(23) << "Component Name";
        o.Tab(67) << "Home Office Fiscal Year";
        o.Tab(95) << "During the Home";
        o.Tab(115) << "During the Home";
        o.Tab(135) << "Partic-";
        o.Tab(148) << "Cost";
        o.Line();
        o.Tab(19) << "Health Care Facilities";
        o.Tab(52) << "Medicare No";
        o.Tab(70) << "From:";
        o.Tab(84) << "To:";
        o.Tab(93) << "Office Fiscal Year";
        o.Tab(114) << "Office Fiscal Year";
        o.Tab(135) << "ipation";
        o.Tab(147) << "Reimb.";
        o.Line();
        o.Tab(28) << "1";
        o.Tab(57) << "2";
        o.Tab(72) << "3";
        o.Tab(85) << "4";
        o.Tab(102) << "5";
        o.Tab(123) << "6";
        o.Tab(138) << "7";
        o.Tab(149) << "8";
        o.Line();
        o.Tab(9) << Underscores(40);
        o.Tab(52) << Underscores(11);
        o.Tab(67) << Underscores(10);
        o.Tab(80) << Underscores(10);
        o.Tab(93) << Underscores(19);
        o.Tab(114) << Underscores(19);
        o.Tab(135) << Underscores(8);
        o.Tab(146) << Underscores(8);
        o.Line();
    };
    Heading secondHalfHeading = [](print::Out& o) {
        o.Line();
        o.Tab(23) << "Component Name";
        o.Tab(60) << "Medicare";
        o.Tab(87) << "Medicaid";
        o.Line();
        o.Tab(19) << "Health Care Facilities";
        o.Tab(57) << "Intermediaries";
        o.Tab(84) << "Intermediaries";
        o.Line();
        o.Tab(18) << "1";
        o.Tab(64) << "9";
        o.Tab(91) << "10";
        o.Line();
        o.Tab(9) << Underscores(40);
        o.Tab(52) << Underscores(25);
        o.Tab(79) << Underscores(25);
        o.Line();
    };
    const char* title = "Part III - Listing of Chain Healthcare Facility Components";

    // The ten columns need two page widths: every page of columns 1-8 is
    // followed by a page of columns 1, 9 and 10 for the same components.
    db::Recordset rs = Db().OpenRecordset("SELECT * FROM Ap3 ORDER BY LineNum");
    bool secondHalf = true;
    int groupStart = 0;
    sp.lines = 999;
    for (;;) {
        if (rs.Eof()) {
            if (secondHalf) break;
            sp.lines = 999;
        }
        if (sp.PageFull()) {
            if (secondHalf) {
                secondHalf = false;
                groupStart = rs.Position();
            } else {
                secondHalf = true;
                rs.MoveTo(groupStart);
            }
            StartPartPage(sp, title, secondHalf ? secondHalfHeading : firstHalfHeading);
        }
        print::Out o = sp.out();
        o.Tab(1) << print::Format_Amount(rs["LineNum"], 5);
        o.Tab(9) << Text(rs["Component"]);
        if (!secondHalf) {
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
        o.Line();
        sp.lines += 1;
        rs.MoveNext();
    }
}

void PrintPartIV(print::SheetPrint& sp) {
    const char* sql = "SELECT * FROM Ap4 ORDER BY LineNum";
    Heading heading = [](print::Out& o) {
        o.Tab(53) << "Period Ending During";
        o.Tab(81) << "Date Acquired";
        o.Tab(100) << "Date Sold/Closed";
        o.Line();
        o.Tab(23) << "Component Name";
        o.Tab(52) << "Home Office Fiscal Year";
        o.Tab(80) << "During the Home";
        o.Tab(100) << "During the Home";
        o.Line();
        o.Tab(22) << "Other Components";
        o.Tab(55) << "From:";
        o.Tab(69) << "To:";
        o.Tab(78) << "Office Fiscal Year";
        o.Tab(99) << "Office Fiscal Year";
        o.Line();
        o.Tab(28) << "1";
        o.Tab(57) << "2";
        o.Tab(70) << "3";
        o.Tab(87) << "4";
        o.Tab(108) << "5";
        o.Line();
        o.Tab(9) << Underscores(40);
        o.Tab(52) << Underscores(10);
        o.Tab(65) << Underscores(10);
        o.Tab(82) << Underscores(10);
        o.Tab(103) << Underscores(10);
        o.Line();
    };
    db::Recordset rs = Db().OpenRecordset(sql);
    sp.lines = 999;
    for (; !rs.Eof(); rs.MoveNext()) {
        if (sp.PageFull()) StartPartPage(sp, "Part IV - Listing of Other Chain Components", heading);
        print::Out o = sp.out();
        o.Tab(1) << print::Format_Amount(rs["LineNum"], 5);
        o.Tab(9) << Text(rs["Component"]);
        o.Tab(52) << print::Format_Date(rs["PeriodFrom"]);
        o.Tab(65) << print::Format_Date(rs["PeriodTo"]);
        o.Tab(82) << print::Format_Date(rs["DateAcquired"]);
        o.Tab(103) << print::Format_Date(rs["DateSold"]);
        o.Line();
        sp.lines += 1;
    }
}

void PrintPartV(print::SheetPrint& sp) {
    const char* sql = "SELECT * FROM Ap5 ORDER BY LineNum";
    Heading heading = [](print::Out& o) {
        o.Tab(82) << "Cost & Equity Included";
        o.Tab(108) << "Separate Cost";
        o.Tab(130) << "Designated";
        o.Line();
        o.Tab(23) << "Component Name";
        o.Tab(65) << "Location";
        o.Tab(82) << "in this Cost Statement";
        o.Tab(107) << "Statement Filed";
        o.Tab(128) << "Region/Division";
        o.Line();
        o.Tab(22) << "Other Components";
        o.Tab(60) << "City";
        o.Tab(74) << "State";
        o.Tab(91) << "Amount";
        o.Tab(111) << "Yes";
        o.Tab(117) << "No";
        o.Tab(129) << "Intermediary";
        o.Line();
        o.Tab(28) << "1";
        o.Tab(61) << "2";
        o.Tab(76) << "3";
        o.Tab(94) << "4";
        o.Tab(112) << "5";
        o.Tab(117) << "6";
        o.Tab(134) << "7";
        o.Line();
        o.Tab(9) << Underscores(40);
        o.Tab(52) << Underscores(20);
        o.Tab(74) << Underscores(5);
        o.Tab(87) << Underscores(13);
        o.Tab(111) << Underscores(3);
        o.Tab(116) << Underscores(3);
        o.Tab(125) << Underscores(20);
        o.Line();
    };
    db::Recordset rs = Db().OpenRecordset(sql);
    sp.lines = 999;
    for (; !rs.Eof(); rs.MoveNext()) {
        if (sp.PageFull()) StartPartPage(sp, "Part V - Listing of Regions/Divisions", heading);
        print::Out o = sp.out();
        o.Tab(1) << print::Format_Amount(rs["LineNum"], 5);
        o.Tab(9) << Text(rs["Col1"]);
        o.Tab(52) << Text(rs["Col2"]);
        o.Tab(76) << Text(rs["Col3"]);
        o.Tab(87) << print::Pad_Left(Value(Format(Nz_Num(rs["Col4"]), "#,##0")), 13);
        o.Tab(112) << Text(rs["Col5"]);
        o.Tab(117) << Text(rs["Col6"]);
        o.Tab(125) << Text(rs["Col7"]);
        o.Line();
        sp.lines += 1;
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
