#include "engine/chain/e.h"

#include "engine/chain/component_rows.h"
#include "engine/chain/component_sheet.h"
#include "engine/chain/functional_allocation.h"
#include "engine/chain/sheet_image.h"
#include "engine/chain/wide_print.h"
#include "store/report.h"
#include "store/services.h"

namespace vt {

namespace {
// Row 0 marks the total column with this number instead of a cost centre's.
const Currency kTotalMark = Currency::FromInt(999);
}  // namespace

void Build_E() {
    ComponentSheetLayout l;
    l.table = "E";
    l.index = "ndx";
    l.componentValue = Value(Currency{});
    auto cc = Db().OpenRecordset("SELECT CCNum FROM CostCenters WHERE CCNum < 10 ORDER BY CCNum;");
    for (; !cc.Eof(); cc.MoveNext()) l.row0.emplace_back(cc["CCNum"].ToCurrency());
    l.row0.emplace_back(kTotalMark);
    BuildComponentSheet(l);
}

void Calc_E() {
    auto& db = Db();
    db::Transaction tx(db);
    // The cost-centre columns, the row total left out.
    WriteBandTotals("E", ValueFieldNames("E", LeadingFields(ShapeOf("E")), 1), RowTotals::NullAsZero);
    tx.Commit();
}

void Print_E(int& fileNum) {
    print::SheetPrint sp(fileNum, "E", "E", true);
    auto rs = Db().OpenRecordset(SelectSheet("E", "ORDER BY SeqNum;"));
    WideSheetLayout l;
    l.title = "Direct Allocation of Home Office Capital Costs to Chain Components";
    l.medicareNo = true;
    l.labelCol = 61;
    l.valueCol = 59;
    l.numberCol = 66;
    l.firstValueField = LeadingFields(ShapeOf("E"));
    if (!rs.Eof()) {
        for (int i = l.firstValueField; i < rs.FieldCount(); ++i) {
            const Currency cc = rs.Field(i).ToCurrency();
            const bool total = cc == kTotalMark;
            l.columns.push_back({cc, total, total ? "10" : cc.ToText()});
        }
        rs.MoveNext();
    }
    PrintWideSheet(sp, l, rs);
    sp.Finish(2);
}

void FixETotalLabels() { FixBandTotalLabels("E"); }

}  // namespace vt
