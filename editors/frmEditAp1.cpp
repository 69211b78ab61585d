#include "editors/frmEditAp1.h"

#include "report/provider_info.h"
#include "shell/forms.h"
#include "shell/frmCRFEditKey.h"
#include "shell/guard.h"

namespace vt::gui {
namespace {

const Currency kAudited = Currency::FromInt(7);
const Currency kType = Currency::FromInt(8);

}  // namespace

frmEditAp1::frmEditAp1() : AEditForm("Ap1", "SeqNum") {
    // The answers of rows 7 and 8 are locked: their lists write past the lock.
    const auto pick = [this](int, const std::string& item) {
        if (const auto seq = CurrentLine(); seq && PickList(*seq)) grd->Data().StoreCell(grd->Row(), 2, Value(item));
    };
    mnuYesNo = AddPopupMenu("mnuYesNo", Ap1PickList(kAudited), pick);
    mnuType = AddPopupMenu("mnuType", Ap1PickList(kType), pick);
    grd->ButtonClick = [this](int) {
        if (const auto seq = CurrentLine())
            if (QMenu* list = PickList(*seq)) PopupMenu(list);
    };
    grd->BeforeColEdit = [this](int col, int key, bool& cancel) {
        RunGuarded([&] { grd_BeforeColEdit(col, key, cancel); });
    };
}

void frmEditAp1::LayoutGrid() {
    const double widths[] = {600, 4000, 5000};
    for (int col = 0; col < grd->ColumnCount() && col < 3; ++col) grd->Columns(col).SetWidth(widths[col]);
    grd->SetHeadLines(1);
}

void frmEditAp1::SetGrd() {
    EditForm::SetGrd();
    if (grd->ColumnCount() > 2) grd->SetCol(2);
}

void frmEditAp1::FormSetup() {
    EditForm::FormSetup();
    cmdAdd->setEnabled(true);  // a key officer can always be added
}

QMenu* frmEditAp1::PickList(Currency seq) const {
    if (seq == kAudited) return mnuYesNo;
    if (seq == kType) return mnuType;
    return nullptr;
}

bool frmEditAp1::CellLocked(int row, int col) const {
    const Currency seq = Line(row);
    // An edit of an identity line opens the provider information instead.
    if (IsAp1IdentityRow(seq)) return false;
    switch (col) {
    case 1: return !Ap1OfficerRow(seq);
    case 2: return !Ap1InfoEditable(seq);
    default: return true;  // the line number: the provider information writes its lines by it
    }
}

void frmEditAp1::grd_BeforeColEdit(int col, int key, bool& cancel) {
    const std::optional<Currency> seq = CurrentLine();
    if (!seq) return;
    (void)col;
    if (IsAp1IdentityRow(*seq)) {
        cancel = true;
        OpenProviderInformation(*seq, key);
    }
}

void frmEditAp1::OpenProviderInformation(Currency seq, int key) {
    QWidget* open = nullptr;
    if (Is_Form_Loaded("frmCRFEditKey", &open)) {
        open->raise();
        open->activateWindow();
        return;
    }
    // Modal, without waiting here: its Save sets this window up again.
    auto* dialog = new frmCRFEditKey(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    const QChar typed(key);
    dialog->TypeInto(Ap1IdentityField(seq), key && typed.isPrint() ? QString(typed).toStdString() : std::string());
}

void frmEditAp1::grd_RowColChange(int, int) {
    const std::optional<Currency> seq = CurrentLine();
    cmdAdd->setEnabled(true);
    cmdDelete->setEnabled(seq && Ap1OfficerRow(*seq));
    grd->Columns(2).SetButton(seq && PickList(*seq));
}

void frmEditAp1::grd_AfterColUpdate(int col) {
    // A type of organisation other than the "other" ones empties the line below.
    if (col == 2 && CurrentLine() == kType && grd->Row() + 1 < grd->Data().RecordCount())
        grd->Data().ReloadRow(grd->Row() + 1);
    RefreshOwnViewer();
}

void frmEditAp1::AddLine() { ChangeLinesBy([] { return AddAp1Officer(); }, 2, true); }

void frmEditAp1::DeleteLine() {
    if (const std::optional<Currency> seq = CurrentLine())
        ChangeLinesBy([&] { return DeleteAp1Officer(*seq); }, 2, false);
}

AChange frmEditAp1::StoreField(int row, int col, const std::string& text) {
    const Currency seq = Line(row);
    if (col == 1) return SetAp1Legend(seq, text);
    if (col == 2) return SetAp1Info(seq, text);
    return {};
}

}  // namespace vt::gui
