#include "editors/frmEditC.h"

#include "platform/ui/ui.h"
#include "shell/text.h"
#include "shell/worksheet_windows.h"
#include "store/report.h"
#include "store/services.h"

namespace vt::gui {

void frmEditC::FillHeadings() {
    ColHeadings = {
        {"", ""}, {"1", "Description"}, {"2", "Basis"}, {"3", "Amount"}, {"4", "Line #"}, {},
    };
}

void frmEditC::LayoutGrid() {
    grd->SetHeadLines(2);
    grd->Columns(0).SetWidth(600).SetLocked(true);
    grd->Columns(1).SetWidth(4300);
    FitColumnToText(*grd, 1);
    grd->Columns(2).SetWidth(600);
    grd->Columns(4).SetWidth(800);
    grd->Columns(5).SetVisible(false);
}

bool frmEditC::CellLocked(int row, int col) const {
    // Only the "Other" lines take a description of the user's.
    return col == 1 && !CUserLine(Field(row, "LineNum").ToCurrency());
}

void frmEditC::grd_RowColChange(int, int) {
    cmdAdd->setEnabled(false);
    cmdDelete->setEnabled(false);
    if (grd->Row() < 0) return;
    const LineRoom room = CLineRoom(Current("LineNum").ToCurrency());
    cmdDelete->setEnabled(room.del);
    cmdAdd->setEnabled(room.add);
}

void frmEditC::grd_BeforeColUpdate(grid::CellUpdate& u) {
    switch (u.column) {
    case 1:
        CheckTextCell(u, {40, "description",
                          "The description cannot be more than 40 characters in length. The description has been "
                          "truncated.",
                          "The description cannot contain double quote characters", true, true});
        break;
    case 2: {
        const std::string typed = u.newValue.IsNull() ? std::string() : u.newValue.ToText();
        u.newValue = Value(typed.substr(0, 1));
        CheckCodeCell(u, {"", " ", "A", "B"}, "This field may only contain the letters 'A' or 'B\"", ui::kOkOnly);
        break;
    }
    case 4:
        // Any cost centre of the list may be adjusted; none leaves a blank name.
        CheckCostCentreCell(u, "CCNum", "CCName", " ");
        break;
    default:
        CheckAmountCell(u);
        break;
    }
}

void frmEditC::AddLine() {
    if (grd->Row() < 0) return;
    const Currency at = Current("LineNum").ToCurrency();
    RunLineChange("LineNum", [at] { return AddCLine(at); }, {db::FindOp::Eq, {}, false, 1, true});
}

void frmEditC::DeleteLine() {
    if (grd->Row() < 0) return;
    const Currency at = Current("LineNum").ToCurrency();
    RunLineChange("LineNum", [at] { return DeleteCLine(at); }, {db::FindOp::Le, {}, true});
}

}  // namespace vt::gui
