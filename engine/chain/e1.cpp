#include "engine/chain/e1.h"

#include "engine/chain/component_rows.h"
#include "engine/chain/component_sheet.h"
#include "engine/chain/functional_allocation.h"
#include "engine/chain/sheet_image.h"
#include "engine/chain/wide_print.h"
#include "store/report.h"
#include "store/services.h"

namespace vt {

void Build_E1() {
    ComponentSheetLayout l;
    l.table = "E1";
    l.index = "ndxE";
    l.row0 = {Value::Null()};  // the total column alone
    l.componentValue = Value::Null();
    BuildComponentSheet(l);
}

void Calc_E1() {
    auto& db = Db();
    db::Transaction tx(db);
    // The cost-centre columns, the row total left out.
    WriteBandTotals("E1", ValueFieldNames("E1", LeadingFields(ShapeOf("E1")), 1), RowTotals::NullMakesNull);
    tx.Commit();
}

void Print_E1(int& fileNum) {
    print::SheetPrint sp(fileNum, "E1", "E-1", true);
    auto rs = Db().OpenRecordset(SelectSheet("E1", "ORDER BY SeqNum;"));
    WideSheetLayout l;
    l.title = "Direct Allocation of Home Office Non-Capital Costs to Chain Components";
    l.medicareNo = true;
    l.labelCol = 61;
    l.valueCol = 59;
    l.numberCol = 65;
    l.firstValueField = LeadingFields(ShapeOf("E1"));
    if (!rs.Eof()) {
        const int m = rs.FieldCount() - l.firstValueField;
        for (int k = 1; k < m; ++k) {
            const Currency cc = rs.Field(k + l.firstValueField - 1).ToCurrency();
            l.columns.push_back({cc, false, cc.ToText()});
        }
        if (m > 0) l.columns.push_back({Currency{}, true, "36"});
        rs.MoveNext();
    }
    PrintWideSheet(sp, l, rs);
    sp.Finish(2);
}

}  // namespace vt
