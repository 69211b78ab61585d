#include "viewers/frmViewB.h"

#include "engine/general/b.h"

namespace vt::gui {

void frmViewB::FillHeadings() {
    ColHeadings = {
        {"", ""},
        {"", ""},
        {"", "Cost Center"},
        {"1", "Expenses per Home Office Books"},
        {"2", "Reclassi- fications"},
        {"3", "Reclassi- fied Trial Balance"},
        {"4", "Medicare Adjustments"},
        {"5", "Net Allowable Expenses"},
        {"6", "Direct Allocations"},
        {"7", "Functional Allocations"},
        {"8", "Pooled Allocations"},
    };
}

void frmViewB::LayoutGrid() {
    grd->Columns(0).SetWidth(600);
    grd->Columns(1).SetVisible(false);
    grd->Columns(2).SetWidth(3500);
    grd->Columns(3).SetWidth(1300);
    // Amounts are whole dollars; they read better grouped.
    for (int i = 3; i < grd->ColumnCount(); ++i) {
        if (i >= 4) grd->Columns(i).SetWidth(1200);
        grd->Columns(i).SetNumberFormat("#,##0");
    }
    grd->SetHeadLines(4);
}

void frmViewB::PrintWorksheet() {
    int fileNum = 0;
    Print_B(fileNum);
}

}  // namespace vt::gui
