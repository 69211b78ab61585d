#include "engine/general/b1.h"

#include <string>

#include "platform/db/db.h"
#include "print/print.h"
#include "store/builder.h"
#include "store/report.h"
#include "store/services.h"

namespace vt {

namespace {

using print::Out;

const print::Heading kHeadings = {
    {{1, "Reclassification of Home Office Expenses"}},
    {},
    {},
    {{56, "------------------------- Increase --------------------------"},
     {120, "------------------------ Decrease ---------------------------"}},
    {{22, "Explanation"}, {49, "Code"}, {70, "Cost Center"}, {97, "Line #"}, {109, "Amount"}, {134, "Cost Center"},
     {161, "Line #"}, {173, "Amount"}},
    {{51, "1"}, {75, "2"}, {100, "3"}, {111, "4"}, {139, "5"}, {164, "6"}, {175, "7"}},
    {{8, std::string(40, '_')}, {50, std::string(3, '_')}, {56, std::string(39, '_')}, {98, std::string(5, '_')},
     {106, std::string(11, '_')}, {120, std::string(39, '_')}, {162, std::string(5, '_')},
     {170, std::string(11, '_')}},
};

// The rules over the two amounts before the total line.
const print::Heading kTotalRules = {{{106, std::string(11, '-')}, {170, std::string(11, '-')}}};

}  // namespace

void Build_B1() {
    BuildTable("B1",
                {
                    db::CurrencyField("SeqNum"),
                    db::TextField("Explanation", 40, true),
                    db::TextField("Code", 1, true),
                    db::TextField("UpCCName", 40, true),
                    db::CurrencyField("UpCCNum"),
                    db::CurrencyField("UpAmount"),
                    db::TextField("DnCCName", 40, true),
                    db::CurrencyField("DnCCNum"),
                    db::CurrencyField("DnAmount"),
                },
                {"INSERT INTO B1 (SeqNum,Explanation,UpAmount,DnAmount) VALUES (100,'Total Reclassifications',0,0);"},
                "CREATE UNIQUE INDEX ndxB1 ON B1 (SeqNum);");
}

void Calc_B1() {
    db::Database& db = Db();
    db::Transaction tx(db);
    db::Recordset sums =
        db.OpenRecordset("SELECT SUM(UpAmount) AS UpSum, SUM(DnAmount) AS DnSum FROM B1 WHERE SeqNum < 100;");
    const Value up(Nz_Num(sums["UpSum"]).ToCurrency());
    const Value dn(Nz_Num(sums["DnSum"]).ToCurrency());
    sums.Close();
    db.Execute("UPDATE B1 SET UpAmount=?, DnAmount=? WHERE SeqNum = 100;", {up, dn});
    tx.Commit();
}

void Print_B1(int& fileNum) {
    print::SheetPrint sheet(fileNum, "B1", "B-1", true);
    Out out = sheet.out();
    db::Recordset rs = Db().OpenRecordset("Select * From B1 Order by SeqNum;");
    for (; !rs.Eof(); rs.MoveNext()) {
        if (sheet.PageFull()) {
            sheet.NewPage();
            sheet.lines += print::WriteHeading(out, kHeadings);
        }
        if (Nz_Num(rs["SeqNum"]).ToCurrency() == Currency::FromInt(100))
            sheet.lines += print::WriteHeading(out, kTotalRules);
        out.Figure(1, 6, print::AmountText(rs["SeqNum"]));
        out.Text(8, 42, Nz_Str(rs["Explanation"]).ToText());
        out.Text(51, 4, Nz_Str(rs["Code"]).ToText());
        out.Text(56, print::Out::WidthBefore(56, 98), Nz_Str(rs["UpCCName"]).ToText());
        out.Figure(98, 5, print::AmountText(rs["UpCCNum"]));
        out.Figure(104, 13, print::WholeAmountText(rs["UpAmount"]));
        out.Text(120, print::Out::WidthBefore(120, 162), Nz_Str(rs["DnCCName"]).ToText());
        out.Figure(162, 5, print::AmountText(rs["DnCCNum"]));
        out.Figure(168, 13, print::WholeAmountText(rs["DnAmount"]));
        sheet.lines += out.Line();
    }
    rs.Close();
    sheet.Finish(2);
}

}  // namespace vt
