#include "editors/frmEditDpB.h"

#include "platform/ui/ui.h"
#include "store/report.h"
#include "store/services.h"

namespace vt::gui {

frmEditDpB::frmEditDpB()
    : NumberedLinesForm("DpB", "DpB", 99, "INSERT INTO DpB (SeqNum,LineNum,Amount,AmtAllowable,NetAdj) VALUES (?,0,0,0,0);") {}

void frmEditDpB::FillHeadings() {
    ColHeadings = {
        {"", ""},
        {"1", "Line #"},
        {"2", "Expense Account"},
        {"3", "Amount"},
        {"4", "Amount Allowable in Cost"},
        {"5", "Net Adjustment"},
    };
}

void frmEditDpB::LayoutGrid() {
    grd->Columns(0).SetWidth(600).SetLocked(true);
    grd->Columns(1).SetWidth(600);
    grd->Columns(2).SetWidth(4300).SetLocked(true);
    for (int c = 3; c < grd->ColumnCount(); ++c) grd->Columns(c).SetWidth(1100);
    grd->Columns(5).SetVisible(false);
}

void frmEditDpB::grd_BeforeColUpdate(grid::CellUpdate& u) {
    switch (u.column) {
    case 1: {
        // The cost centre's name follows its number in the same write; none (0) names none.
        const CostCentreEntry cc = ReadCostCentreCell(u.newValue);
        if (cc.kind == CostCentreEntry::Invalid) {
            Show_Message("Invalid Cost Center number", ui::kOkOnly);
            u.cancel = true;
            return;
        }
        u.newValue = Value(cc.number);
        const std::string name = cc.kind == CostCentreEntry::Found ? Fit_To_Field(cc.name, 40) : "";
        if (!grd->Data().SetFields(u.row, {{"LineNum", u.newValue}, {"ExpAcct", Value(name)}})) u.cancel = true;
        break;
    }
    case 3:
    case 4:
        CheckAmountCell(u);
        break;
    default:
        break;
    }
}

}  // namespace vt::gui
