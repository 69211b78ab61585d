#include "engine/chain/f1.h"

#include "engine/chain/component_rows.h"
#include "engine/chain/component_sheet.h"
#include "engine/chain/functional_allocation.h"
#include "engine/chain/wide_print.h"
#include "store/builder.h"
#include "store/report.h"
#include "store/services.h"

namespace vt {

namespace {

const FunctionalSheet kSheet{"F-1", "F1p2", "F1p1"};
const int kFirstValueField = LeadingFields(ShapeOf(kSheet.statistics));

// The cost-centre columns of F1p2, its total column left out.
std::vector<std::string> CostCentreFields() { return ValueFieldNames("F1p2", kFirstValueField, 1); }

}  // namespace

void Build_F1p2() {
    ComponentSheetLayout l;
    l.table = "F1p2";
    l.index = "ndx";
    l.medicareNo = true;
    l.zeroLengthText = false;
    l.valueType = db::FieldType::Double;
    l.row0 = {Value::Null()};  // the total column alone
    l.componentValue = Value::Null();
    auto& db = Db();
    db::Transaction tx(db);
    BuildComponentSheet(l);
    for (const auto& [row, caption] : {std::pair{kCostRow, kCostRowCaption}, std::pair{kUnitCostRow, kUnitCostRowCaption}})
        db.Execute("INSERT INTO F1p2 (SeqNum, LineNum, Component) VALUES (" + std::to_string(row) + ", 0, ?);",
                   {Value(caption)});
    tx.Commit();
}

void Build_F1p1() {
    auto& db = Db();
    db::Transaction tx(db);
    if (db.TableExists("F1p1")) db.DropTable("F1p1");
    // Part I starts as Part II's twin: its fields with their types, row 0's
    // cost centres and the component rows.
    db.CopyTable("F1p2", "F1p1");
    db.Execute("DELETE FROM F1p1 WHERE SeqNum > " + std::to_string(kGrandTotalRow) + ";");
    std::string clear;
    for (const auto& f : ValueFieldNames("F1p1", kFirstValueField)) {
        if (!clear.empty()) clear += ", ";
        clear += f + "=NULL";
    }
    if (!clear.empty()) db.Execute("UPDATE F1p1 SET " + clear + " WHERE SeqNum > 0;");
    db.Execute("CREATE UNIQUE INDEX ndx ON F1p1 (SeqNum);");
    RegisterWorksheet("F1p1");
    tx.Commit();
}

void Calc_F1p2() { CalcUnitCostMultipliers(kSheet, CostCentreFields()); }

void Calc_F1p1() { AllocateColumns(kSheet, CostCentreFields()); }

void Print_F1(int& fileNum) {
    print::SheetPrint sp(fileNum, "F1", "F-1", true);
    const char* const titles[] = {
        "Part I - Functional Allocation of Home Office Non-Capital Related Expenses to Chain Components",
        "Part II - Functional Allocation of Home Office Non-Capital Related Expenses to Chain Components - "
        "Statistics",
    };
    for (int part = 1; part <= 2; ++part) {
        auto rs = Db().OpenRecordset(SelectSheet("F1p" + std::to_string(part), "ORDER BY SeqNum;"));
        WideSheetLayout l;
        l.title = titles[part - 1];
        l.medicareNo = true;
        l.labelCol = 61;
        l.valueCol = 59;
        l.numberCol = 66;
        l.firstValueField = kFirstValueField;
        if (!rs.Eof()) {
            const int m = rs.FieldCount() - kFirstValueField;
            for (int k = 1; k < m; ++k) {
                const Currency cc = rs.Field(k + kFirstValueField - 1).ToCurrency();
                l.columns.push_back({cc, false, cc.ToText()});
            }
            if (m > 0) l.columns.push_back({Currency{}, true, "36"});
            rs.MoveNext();
        }
        PrintWideSheet(sp, l, rs);
    }
    sp.Finish(2);
}

void AddF1Column(Currency ccnum) {
    db::Transaction tx(Db());
    AddChosenCCColumn("F1p2", ccnum);
    AddChosenCCColumn("F1p1", ccnum);
    tx.Commit();
}

bool DeleteF1Column(Currency ccnum) {
    db::Transaction tx(Db());
    const bool found = DeleteChosenCCColumn("F1p2", ccnum);
    if (found) DeleteChosenCCColumn("F1p1", ccnum);
    tx.Commit();
    return found;
}

void FixF1p1TotalLabels() { FixBandTotalLabels("F1p1"); }

}  // namespace vt
