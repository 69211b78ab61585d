#include "engine/chain/f.h"

#include "engine/chain/component_rows.h"
#include "engine/chain/component_sheet.h"
#include "engine/chain/functional_allocation.h"
#include "engine/chain/wide_print.h"
#include "store/report.h"
#include "store/services.h"

namespace vt {

namespace {

const FunctionalSheet kSheet{"F", "Fp2", "Fp1"};
const int kFirstValueField = LeadingFields(ShapeOf(kSheet.statistics));

ComponentSheetLayout Layout(const char* table, db::FieldType type) {
    ComponentSheetLayout l;
    l.table = table;
    l.index = "ndxF";
    l.medicareNo = false;
    l.zeroLengthText = false;
    l.valueType = type;
    auto cc = Db().OpenRecordset("SELECT CCNum FROM CostCenters WHERE CCNum < 6 ORDER BY CCNum;");
    for (; !cc.Eof(); cc.MoveNext()) l.row0.emplace_back(cc["CCNum"].ToCurrency());
    return l;
}

}  // namespace

void Build_Fp1() {
    ComponentSheetLayout l = Layout("Fp1", db::FieldType::Currency);
    l.componentValue = Value::Null();
    BuildComponentSheet(l);
}

void Build_Fp2() {
    ComponentSheetLayout l = Layout("Fp2", db::FieldType::Double);
    l.componentValue = Value(0.0);
    l.grandTotalCaption = kStatisticsTotalCaption;
    auto& db = Db();
    db::Transaction tx(db);
    BuildComponentSheet(l);
    // The cost to be allocated is the user's to enter; it starts at 0.
    std::string cols, zeros;
    for (size_t k = 1; k <= l.row0.size(); ++k) {
        cols += ",Col_" + std::to_string(k);
        zeros += ",0";
    }
    db.Execute("INSERT INTO Fp2 (SeqNum, LineNum, Component" + cols + ") VALUES (" + std::to_string(kCostRow) +
                   ", 0, ?" + zeros + ");",
               {Value(kCostRowCaption)});
    db.Execute("INSERT INTO Fp2 (SeqNum, LineNum, Component) VALUES (" + std::to_string(kUnitCostRow) + ", 0, ?);",
               {Value(kUnitCostRowCaption)});
    tx.Commit();
}

void Calc_Fp2() { CalcUnitCostMultipliers(kSheet, ValueFieldNames("Fp2", kFirstValueField)); }

void Calc_Fp1() { AllocateColumns(kSheet, ValueFieldNames("Fp2", kFirstValueField)); }

void Print_F(int& fileNum) {
    print::SheetPrint sp(fileNum, "F", "F", true);
    const char* const titles[] = {
        "Part I - Functional Allocation of Home Office Capital Costs to Chain Components",
        "Part II - Functional Allocation of Home Office Capital Costs to Chain Components - Statistics",
    };
    for (int part = 1; part <= 2; ++part) {
        auto rs = Db().OpenRecordset(SelectSheet("Fp" + std::to_string(part), "ORDER BY SeqNum;"));
        WideSheetLayout l;
        l.title = titles[part - 1];
        l.medicareNo = false;
        l.labelCol = 51;
        l.valueCol = 49;
        l.numberCol = 56;
        l.firstValueField = kFirstValueField;
        if (!rs.Eof()) {
            for (int i = kFirstValueField; i < rs.FieldCount(); ++i) {
                const Currency cc = rs.Field(i).ToCurrency();
                l.columns.push_back({cc, false, cc.ToText()});
            }
            rs.MoveNext();
        }
        PrintWideSheet(sp, l, rs);
    }
    sp.Finish(2);
}

}  // namespace vt
