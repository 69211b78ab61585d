#include "viewers/view_form.h"

#include "shell/calculation.h"
#include "shell/forms.h"
#include "shell/guard.h"
#include "shell/worksheet_windows.h"
#include "store/report.h"

namespace vt::gui {

ViewForm::ViewForm(const std::string& code) : SheetForm("frmView", code) {
    cmdPrevious = ArrowButton("cmdPrevious", false, 2);
    cmdRecalculate = StripButton("cmdRecalculate", "&ReCalculate", 1335, 3);
    cmdPrint = StripButton("cmdPrint", "&Print", 1335, 4);
    cmdOpenEdit = StripButton("cmdOpenEdit", "&Open Edit", 1335, 5);
    cmdClose = StripButton("cmdClose", "&Close", 1335, 6);
    cmdClose->setDefault(true);
    cmdNext = ArrowButton("cmdNext", true, 7);
    setTabOrder(cmdPrevious, cmdRecalculate);
    setTabOrder(cmdRecalculate, cmdPrint);
    setTabOrder(cmdPrint, cmdOpenEdit);
    setTabOrder(cmdOpenEdit, cmdClose);
    setTabOrder(cmdClose, cmdNext);

    connect(cmdNext, &QPushButton::clicked, this, &ViewForm::cmdNext_Click);
    connect(cmdPrevious, &QPushButton::clicked, this, &ViewForm::cmdPrevious_Click);
    connect(cmdRecalculate, &QPushButton::clicked, this, &ViewForm::cmdRecalculate_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &ViewForm::cmdPrint_Click);
    connect(cmdOpenEdit, &QPushButton::clicked, this, &ViewForm::cmdOpenEdit_Click);
    connect(cmdClose, &QPushButton::clicked, this, &ViewForm::cmdClose_Click);
}

void ViewForm::FormSetup() {
    SetCaption("View Worksheet " + SheetTitle());
    SetGrd();
    SetUpArrows();
    if (!HasEditor()) cmdOpenEdit->setEnabled(false);
}

void ViewForm::SetGrd() {
    // Rows read again keep the layout (and, when the same rows, repaint only
    // those that changed): a stored cell refreshes every open window.
    if (grd->Reread(Db(), RecordSource())) {
        HeadColumns();
        CaptionColumns();
        return;
    }
    grd->Bind(Db(), RecordSource());
    LayoutGrid();
    for (int i = 0; i < grd->ColumnCount(); ++i) grd->Columns(i).SetLocked(true).SetWrapText(true);
    CaptionColumns();
}

void ViewForm::Form_Resize() {
    Resize_View_Form(this, grd, picButtons, cmdRecalculate, cmdPrint, cmdOpenEdit, cmdClose, cmdPrevious, cmdNext);
}

void ViewForm::cmdNext_Click() { OpenAdjacent(false); }
void ViewForm::cmdPrevious_Click() { OpenAdjacent(true); }

void ViewForm::cmdOpenEdit_Click() {
    BusyFrame busy(this);
    RunGuarded([this] { Open_Worksheet_Form("edit", Code()); });
}

void ViewForm::cmdPrint_Click() {
    BusyFrame busy(this);
    RunGuarded([this] { PrintWorksheet(); });
}

void ViewForm::cmdRecalculate_Click() {
    BusyFrame busy(this);
    RunGuarded([] { RunCalculation(); });
}

void ViewForm::cmdClose_Click() { UnloadForm(this); }

long TopLine(grid::Grid& grd, const std::string& key) {
    if (!grd.Data().IsBound()) return -1;
    const int top = grd.FirstRow();
    if (top < 0) return -1;
    const Value v = grd.Data().FieldValue(top, key);
    if (!IsNumeric(v) || v.IsEmpty()) return -1;
    return static_cast<long>(v.ToLong());
}

void ScrollToLine(grid::Grid& grd, const std::string& key, const Value& line, bool last) {
    const bool found = last ? grd.FindLast(key, db::FindOp::Eq, line) : grd.FindFirst(key, db::FindOp::Eq, line);
    if (found) grd.SetFirstRow(grd.Row());
}

}  // namespace vt::gui
