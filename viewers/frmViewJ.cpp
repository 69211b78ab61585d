#include "viewers/frmViewJ.h"

#include "engine/general/j.h"
#include "shell/forms.h"
#include "shell/guard.h"
#include "shell/worksheet_windows.h"
#include "store/report.h"
#include "viewers/view_form.h"

namespace vt::gui {

namespace {
const char* const kRecordSource = "SELECT * FROM J ORDER BY LineNum;";
}  // namespace

frmViewJ::frmViewJ() : JForm("frmViewJ", "VIEW: Worksheet J") {
    cmdCalc = JButton("cmdCalc", "&Recalculate", 0);
    cmdPrint = JButton("cmdPrint", "&Print", 1);
    cmdOpenEdit = JButton("cmdOpenEdit", "&Open Edit", 2);
    cmdClose = JButton("cmdClose", "&Close", 3);
    setTabOrder(cmdOpenEdit, cmdCalc);
    setTabOrder(cmdCalc, cmdPrint);
    setTabOrder(cmdPrint, cmdClose);
    connect(cmdCalc, &QPushButton::clicked, this, &frmViewJ::cmdCalc_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmViewJ::cmdPrint_Click);
    connect(cmdOpenEdit, &QPushButton::clicked, this, &frmViewJ::cmdOpenEdit_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmViewJ::cmdClose_Click);
}

// Binds J again and lays it out, bringing back the line that was at the top
// (by its whole line number).
void frmViewJ::FormSetup() {
    const long top = TopLine(*grd, "LineNum");
    grd->Bind(Db(), kRecordSource);
    grd->SetHeadLines(4);
    CaptionJColumns(0, 2, 3);
    grd->AddSplit();
    grd->Splits(1).SetRecordSelectors(false);
    grid::Split left = grd->Splits(0), right = grd->Splits(1);
    left.Columns(0).SetWidth(kLineWidth);
    left.Columns(2).SetWidth(kNameWidth);
    left.Columns(3).SetVisible(false);
    right.Columns(0).SetVisible(false);
    right.Columns(2).SetVisible(false);
    right.Columns(3).SetWidth(kAmountWidth);
    // CCNum is not shown anywhere.
    grd->Columns(1).SetVisible(false);
    for (int c = 0; c < grd->ColumnCount(); ++c) grd->Columns(c).SetLocked(true);
    if (top >= 0) ScrollToLine(*grd, "LineNum", Value(Currency::FromInt(top)), true);
}

// Totals J and shows it again with the exact line (a sub-line too) at the top.
void frmViewJ::cmdCalc_Click() {
    RunGuarded([this] {
        Value saved;
        if (grd->FirstRow() >= 0) saved = grd->Data().FieldValue(grd->FirstRow(), "LineNum");
        Calc_J();
        FormSetup();
        if (IsNumeric(saved) && !saved.IsEmpty() && saved.ToCurrency() > Currency{})
            ScrollToLine(*grd, "LineNum", saved, false);
    });
}

void frmViewJ::cmdPrint_Click() {
    RunGuarded([] {
        int fileNum = 0;
        Print_J(fileNum);
    });
}

void frmViewJ::cmdOpenEdit_Click() {
    RunGuarded([] { Open_Worksheet_Form("edit", "J"); });
}

void frmViewJ::cmdClose_Click() { UnloadForm(this); }

}  // namespace vt::gui
