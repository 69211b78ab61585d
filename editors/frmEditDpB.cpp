#include "editors/frmEditDpB.h"

#include "platform/ui/ui.h"
#include "shell/text.h"
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
        // The cost centre's name follows its number; 0 (or nothing) names none.
        Value number = u.newValue.IsNull() || Trim(u.newValue.ToText()).empty() ? Value(Currency{}) : u.newValue;
        std::string name;
        if (!IsNumeric(number) || number.ToCurrency() != Currency{}) {
            name = Get_CC_Name(number);
            if (name.rfind('<', 0) == 0) {
                Show_Message("Invalid Cost Center number", ui::kOkOnly);
                u.cancel = true;
                return;
            }
        }
        u.newValue = Value(number.ToCurrency());
        grd->Data().SetFields(u.row, {{"ExpAcct", Value(name)}});
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
