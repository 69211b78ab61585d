#include "editors/frmEditB.h"

namespace vt::gui {

void frmEditB::FillHeadings() {
    ColHeadings = {
        {"", ""},
        {"", "Cost Center"},
        {"1", "Expenses per Home Office Books"},
    };
}

void frmEditB::LayoutGrid() {
    grd->Columns(0).SetWidth(600).SetLocked(true);
    grd->Columns(1).SetWidth(3500).SetLocked(true);
    grd->Columns(2).SetWidth(1300);
}

}  // namespace vt::gui
