#include "engine/general/c.h"

#include <string>
#include <vector>

#include "platform/db/db.h"
#include "print/print.h"
#include "store/builder.h"
#include "store/report.h"
#include "store/services.h"

namespace vt {

namespace {

using print::Out;

struct SeedLine {
    int line;
    const char* description;
};
constexpr SeedLine kSeedLines[] = {
    {1, "Federal/state income tax"},
    {2, "Donations"},
    {3, "Stockholders servicing costs"},
    {4, "Acquisition expenses"},
    {5, "Disposal expenses"},
    {6, "Bad debts"},
    {7, "Life insurance premiums"},
    {8, "Stockholder meeting expenses"},
    {9, "Nonhealth care projects"},
    {10, "Noncompetition agreement expenses"},
    {11, "Fund-raising expenses"},
    {12, "Rebates/refunds on expenses"},
    {13, "Other"},
    {14, "Cost of ownership of leased assets"},
    {kCRelatedOrganizationsLine, "Related organizations"},
    {16, "Value of services of nonpaid workers"},
    // The form's caption "... home office ..." is one character longer than the
    // field; kept to the field's 40 so the line is not lost to the size rule.
    {17, "Interest on loans between home office .."},
    {18, "Costs of corporate acquisitions ..."},
    {19, "Interest on loans from owners"},
    {20, "Abandoned construction in progress cost"},
    {21, "Other"},
    {kCTotalLine, "Total"},
};

const print::Heading kHeadings = {
    {{1, "Medicare Adjustments to Home Office Expenses"}},
    {},
    {},
    {{79, "Cost Center to be Adjusted"}},
    {{68, std::string(48, '-')}},
    {{22, "Description"}, {49, "Code"}, {59, "Amount"}, {69, "Line #"}, {91, "Cost Center"}},
    {{61, "1"}, {71, "2"}, {96, "3"}},
    {{8, std::string(40, '_')}, {50, std::string(3, '_')}, {56, std::string(11, '_')}, {69, std::string(5, '_')},
     {77, std::string(39, '_')}},
};

// The rule over the amount before the total line.
const print::Heading kTotalRule = {{{56, std::string(11, '-')}}};

}  // namespace

void Build_C() {
    std::vector<Seed> seeds;
    for (const SeedLine& l : kSeedLines)
        seeds.emplace_back("INSERT INTO C (LineNum, Description) VALUES (" + std::to_string(l.line) + ",'" +
                           l.description + "');");
    seeds.emplace_back("UPDATE C SET Amount=0;");
    BuildTable("C",
                {
                    db::CurrencyField("LineNum"),
                    db::TextField("Description", 40, true),
                    db::TextField("Basis", 2, true),
                    db::CurrencyField("Amount"),
                    db::CurrencyField("CCNum"),
                    db::TextField("CCName", 40, true),
                },
                seeds, "CREATE UNIQUE INDEX ndxC ON C (LineNum);");
}

void Calc_C() {
    db::Database& db = Db();
    db::Transaction tx(db);
    // Related organisations: minus the total net adjustment of D Part B.
    const Currency netAdj = Nz_Num(db.Scalar("SELECT NetAdj FROM DpB WHERE SeqNum = 100;")).ToCurrency();
    const Value related(Currency::FromInt(kCRelatedOrganizationsLine)), total(Currency::FromInt(kCTotalLine));
    db.Execute("UPDATE C SET Amount=? WHERE LineNum = ?;", {Value(-netAdj), related});
    const Currency sum = Nz_Num(db.Scalar("SELECT SUM(Amount) AS Sum FROM C WHERE LineNum < ?;", {total})).ToCurrency();
    db.Execute("UPDATE C SET Amount=? WHERE LineNum = ?;", {Value(sum), total});
    tx.Commit();
}

void Print_C(int& fileNum) {
    print::SheetPrint sheet(fileNum, "C", "C", true);
    Out out = sheet.out();
    db::Recordset rs = Db().OpenRecordset("Select * From C Order by LineNum;");
    for (; !rs.Eof(); rs.MoveNext()) {
        if (sheet.PageFull()) {
            sheet.NewPage();
            sheet.lines += print::WriteHeading(out, kHeadings);
        }
        if (Nz_Num(rs["LineNum"]).ToCurrency() == Currency::FromInt(kCTotalLine))
            sheet.lines += print::WriteHeading(out, kTotalRule);
        out.Figure(1, 5, print::AmountText(rs["LineNum"]));
        out.Text(8, 42, Nz_Str(rs["Description"]).ToText());
        out.Text(51, print::Out::WidthBefore(51, 54), Nz_Str(rs["Basis"]).ToText());
        out.Figure(54, 13, print::WholeAmountText(rs["Amount"]));
        out.Figure(69, 5, print::AmountText(rs["CCNum"]));
        out.Tab(77) << Nz_Str(rs["CCName"]).ToText();
        sheet.lines += out.Line();
    }
    rs.Close();
    sheet.Finish(2);
}

}  // namespace vt
