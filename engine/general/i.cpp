#include "engine/general/i.h"

#include "platform/db/db.h"
#include "print/print.h"
#include "store/builder.h"
#include "store/report.h"
#include "store/services.h"

namespace vt {

namespace {

Currency Amount(const Value& v) { return Nz_Num(v).ToCurrency(); }

// Writes Col_2 of the current row.
void SetCol2(db::Recordset& rs, Currency value) {
    rs.Edit();
    rs.Set("Col_2", Value(value));
    rs.Update();
}

}  // namespace

void Build_I() {
    const std::string input = "INSERT INTO I (SeqNum,Description,Col_1) VALUES(";
    const std::string computed = "INSERT INTO I (SeqNum,Description) VALUES(";
    BuildTable("I",
                {db::CurrencyField("SeqNum"), db::TextField("Description", 40, true), db::CurrencyField("Col_1"),
                 db::CurrencyField("Col_2")},
                {input + "1,'Total operating revenue',0);",
                 computed + "2,'Less Operating expenses');",
                 computed + "3,'Operating profit (loss)');",
                 input + "4.01,'Contributions, donations',0);",
                 input + "4.02,'Income from investments',0);",
                 input + "4.03,'Interest income',0);",
                 input + "4.04,'Purchase discounts',0);",
                 input + "4.05,'Rebates and refunds of expenses',0);",
                 input + "4.06,'Parking lot receipts',0);",
                 input + "4.07,'Rental income',0);",
                 input + "4.08,'Other income (specify)',0);",
                 computed + "5,'Total other income');",
                 input + "6,'Other expenses (specify)',0);",
                 computed + "7,'Total other expenses');",
                 computed + "8,'Net income(loss) for period');"},
                "CREATE UNIQUE INDEX ndxE ON I (SeqNum);");
}

void Calc_I() {
    db::Transaction tx(Db());
    const Currency five = Currency::FromInt(5), seven = Currency::FromInt(7);
    auto rs = Db().OpenTable("I", "", "SeqNum");
    // The walk follows the sheet's fixed order: lines 1 to 3, the items of
    // line 4 (however many), 5, the items of 6, 7 and 8.
    const Currency revenue = Amount(rs["Col_1"]);
    // A worksheet B without its total line counts as no expenses.
    const Currency expenses = Amount(Db().Scalar("SELECT Expenses FROM B WHERE LineNum = 100;"));
    rs.MoveNext();
    SetCol2(rs, expenses);
    rs.MoveNext();
    SetCol2(rs, revenue - expenses);

    Currency otherIncome;
    for (rs.MoveNext(); Amount(rs["SeqNum"]) < five; rs.MoveNext()) otherIncome += Amount(rs["Col_1"]);
    SetCol2(rs, otherIncome);

    Currency otherExpenses;
    for (rs.MoveNext(); Amount(rs["SeqNum"]) < seven; rs.MoveNext()) otherExpenses += Amount(rs["Col_1"]);
    SetCol2(rs, otherExpenses);

    rs.MoveNext();
    SetCol2(rs, revenue - expenses + otherIncome - otherExpenses);
    rs.Close();
    tx.Commit();
}

void Print_I(int& fileNum) {
    print::SheetPrint sp(fileNum, "I", "I", true);
    print::Out o = sp.out();
    // One page: the sheet is short enough never to need a second.
    sp.NewPage();
    print::WriteHeading(o, {{{1, "Statement of Revenue and Expenses"}}, {}, {}});

    const Currency line1 = Currency::FromInt(1), item1 = Currency::FromScaled(40100);
    auto rs = Db().OpenRecordset("Select * From I Order by SeqNum;");
    for (; !rs.Eof(); rs.MoveNext()) {
        // Items sit three columns in, under whichever whole line they follow.
        int indent = 3;
        const Value seq = rs["SeqNum"];
        const Currency n = Amount(seq);
        if (n == item1) {
            print::WriteHeading(o, {{}, {{1, print::Format_Amount(Value(4), 5)}, {8, "Other income"}}});
        } else if (n.IsWhole()) {
            o.Line();
            indent = 0;
        }
        o.Figure(1, 5, print::AmountText(seq));
        o.Text(8 + indent, print::Out::WidthBefore(8 + indent, 54), Nz_Str(rs["Description"]).ToText());
        if (n == line1) {
            o.Figure(70, 13, print::WholeAmountText(rs["Col_1"]));
        } else {
            o.Figure(54, 13, print::WholeAmountText(rs["Col_1"]));
            o.Figure(70, 13, print::WholeAmountText(rs["Col_2"]));
        }
        o.Line();
    }
    rs.Close();
    sp.Finish(2);
}

}  // namespace vt
