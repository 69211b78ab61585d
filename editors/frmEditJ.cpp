#include "editors/frmEditJ.h"

#include "shell/forms.h"
#include "shell/guard.h"
#include "shell/open_form.h"
#include "shell/worksheet_windows.h"
#include "store/report.h"
#include "store/services.h"

namespace vt::gui {

frmEditJ::frmEditJ() : JForm("frmEditJ", "EDIT: Worksheet J") {
    cmdAdd = JButton("cmdAdd", "&Add", 0);
    cmdDelete = JButton("cmdDelete", "&Delete", 1);
    cmdOpenView = JButton("cmdOpenView", "&Open View", 2);
    cmdClose = JButton("cmdClose", "&Close", 3);
    cmdAdd->setEnabled(false);
    cmdDelete->setEnabled(false);
    connect(cmdOpenView, &QPushButton::clicked, this, &frmEditJ::cmdOpenView_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmEditJ::cmdClose_Click);

    // A rule that fails unexpectedly refuses the entry rather than store it unchecked.
    grd->Data().BeforeColUpdate = [](grid::CellUpdate& u) {
        if (u.column != 2) return;
        bool checked = false;
        RunGuarded([&] {
            Value v = u.newValue;
            if (Check_Amount(v)) u.newValue = v;
            else u.cancel = true;
            checked = true;
        });
        if (!checked) u.cancel = true;
    };
    grd->Data().AfterColUpdate = [](int, int, const Value&) {
        RunGuarded([] { Refresh_Worksheet_Form("view", "J"); });
    };
}

void frmEditJ::FormSetup() {
    grd->Bind(Db(),
              "SELECT LineNum,CCName,Col_1 FROM J WHERE Linenum NOT IN(10,29,38,39,49,55,56,62,63,66) ORDER BY "
              "LineNum;");
    grd->SetHeadLines(4);
    CaptionJColumns(0, 1, 2);
    grd->Columns(0).SetWidth(kLineWidth).SetLocked(true);
    grd->Columns(1).SetWidth(kNameWidth).SetLocked(true);
    grd->Columns(2).SetWidth(kAmountWidth);
}

void frmEditJ::cmdOpenView_Click() {
    bool cancel = false;
    RunGuarded([&] { Save_Grid_Row(*grd, cancel); });
    if (!cancel) RunGuarded([] { Open_Worksheet_Form("View", "J"); });
}

void frmEditJ::cmdClose_Click() { UnloadForm(this); }

}  // namespace vt::gui
