#include "editors/frmEditI.h"

#include "platform/ui/ui.h"
#include "store/report.h"
#include "store/services.h"

namespace vt::gui {

frmEditI::frmEditI() : EditForm("I") {
    grd->SelChange = [this](bool&) { grd_SelChange(); };
    grd->SetKeySelectsRow(true);
}

// Add and Delete keep the state the last selection gave them (both enabled
// when the window opens).
void frmEditI::FormSetup() {
    const bool add = cmdAdd->isEnabledTo(this), del = cmdDelete->isEnabledTo(this);
    EditForm::FormSetup();
    cmdAdd->setEnabled(add);
    cmdDelete->setEnabled(del);
}

void frmEditI::LayoutGrid() {
    grd->Columns(0).SetWidth(600).SetLocked(true);
    grd->Columns(1).SetWidth(3400);
}

bool frmEditI::CellLocked(int row, int col) const {
    return col == 1 && !ILineTakesLines(Field(row, "SeqNum").ToCurrency());
}

int frmEditI::SelectedRow() const {
    const std::vector<int> rows = grd->SelectedRows();
    return rows.size() == 1 ? rows.front() : -1;
}

void frmEditI::grd_SelChange() {
    cmdDelete->setEnabled(false);
    const int row = SelectedRow();
    if (row < 0) {
        cmdAdd->setEnabled(true);
        return;
    }
    const Currency s = Field(row, "SeqNum").ToCurrency();
    cmdAdd->setEnabled(ILineTakesLines(s));
    cmdDelete->setEnabled(ILineDeletable(s));
}

void frmEditI::grd_BeforeColUpdate(grid::CellUpdate& u) {
    if (u.column == 1) CheckTextCell(u, {40, "Description", "", ""});
    else if (u.column == 2) CheckAmountCell(u);
}

void frmEditI::grd_AfterColUpdate(int) { RefreshOwnViewer(); }

void frmEditI::AddLine() {
    const int selected = SelectedRow();
    const int row = selected >= 0 ? selected : grd->Data().RecordCount() - 1;
    const Currency after = row >= 0 ? Nz_Num(Field(row, "SeqNum")).ToCurrency() : Currency();
    RunLineChange("SeqNum", [&] { return AddILine(after); }, {db::FindOp::Eq, {}, false, 1, true});
    cmdDelete->setEnabled(false);
}

void frmEditI::DeleteLine() {
    const int selected = SelectedRow();
    if (selected < 0 || !ILineDeletable(Field(selected, "SeqNum").ToCurrency())) return;
    const Currency line = Field(selected, "SeqNum").ToCurrency();
    RunLineChange("SeqNum", [&] { return DeleteILine(line); }, {db::FindOp::Ge, {}});
    cmdDelete->setEnabled(false);
}

}  // namespace vt::gui
