#include "editors/frmEditDpB.h"

namespace vt::gui {

frmEditDpB::frmEditDpB()
    : NumberedLinesForm("DpB") {}

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
    case 1:
        CheckCostCentreCell(u, "LineNum", "ExpAcct", "");
        break;
    case 3:
    case 4:
        CheckAmountCell(u);
        break;
    default:
        break;
    }
}

}  // namespace vt::gui
