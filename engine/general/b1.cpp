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

std::string Dollars(const Value& v) { return print::Pad_Left(Value(Format(v, "#,##0")), 13); }

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
            print::WriteHeading(out, kHeadings);
            sheet.lines += 7;
        }
        if (Nz_Num(rs["SeqNum"]).ToCurrency() == Currency::FromInt(100)) {
            out.Tab(106) << "-----------";
            out.Tab(170) << "-----------";
            out.Line();
            sheet.lines += 1;
        }
        out.Tab(1) << print::Format_Amount(rs["SeqNum"], 6);
        out.Tab(8) << Nz_Str(rs["Explanation"]).ToText();
        out.Tab(51) << Nz_Str(rs["Code"]).ToText();
        out.Tab(56) << Nz_Str(rs["UpCCName"]).ToText();
        out.Tab(98) << print::Format_Amount(rs["UpCCNum"], 5);
        out.Tab(104) << Dollars(rs["UpAmount"]);
        out.Tab(120) << Nz_Str(rs["DnCCName"]).ToText();
        out.Tab(162) << print::Format_Amount(rs["DnCCNum"], 5);
        out.Tab(168) << Dollars(rs["DnAmount"]);
        out.Line();
        sheet.lines += 1;
    }
    rs.Close();
    sheet.Finish(2);
}

}  // namespace vt
