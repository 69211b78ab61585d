#include "costcentres/frmViewCCs.h"

namespace vt::gui {

void frmViewCCs::FormSetup() {
    ViewForm::FormSetup();
    cmdPrint->setEnabled(false);
    cmdRecalculate->setEnabled(false);
}

void frmViewCCs::FillHeadings() {
    ColHeadings = {
        {"", "Line #"},
        {"", "CC #"},
        {"", "Cost Center Name"},
        {"1", "Col Label"},
        {"2", "Col Label"},
        {"3", "Col Label"},
    };
}

void frmViewCCs::LayoutGrid() {
    grd->Columns(0).SetVisible(false);
    grd->Columns(1).SetWidth(800);
    grd->Columns(2).SetWidth(4000);
    for (int c = 3; c <= 5; ++c) grd->Columns(c).SetWidth(1300);
    grd->SetHeadLines(4);
}

}  // namespace vt::gui
