#include "editors/frmEditDpA.h"

#include "shell/text.h"
#include "shell/worksheet_windows.h"

namespace vt::gui {

frmEditDpA::frmEditDpA() : EditForm("DpA") {
    mnuYesNo = AddPopupMenu("mnuYesNo", {"Yes", "No"});
    grd->ButtonClick = [this](int) { PopupMenu(mnuYesNo); };
}

void frmEditDpA::LayoutGrid() {
    grd->Columns(0).SetWidth(5000).SetLocked(true).SetWrapText(true);
    grd->Columns(1).SetWidth(800).SetButton(true);
    grd->SetHeadLines(1);
    FitRowsToWrappedText(*grd, 0);  // the whole question shows
}

// Whatever reaches the answer (typed or picked) is stored as Yes or No.
void frmEditDpA::grd_BeforeColUpdate(grid::CellUpdate& u) {
    if (u.column != 1) return;
    const std::string text = u.newValue.IsNull() ? std::string() : u.newValue.ToText();
    u.newValue = Value(Upper(Left(text, 1)) == "Y" ? "Yes" : "No");
}

}  // namespace vt::gui
