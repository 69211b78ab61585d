#include "costcentres/frmEditCCs.h"

#include <utility>

#include "costcentres/frmAddCC.h"
#include "platform/ui/ui.h"
#include "platform/ui/ui_qt.h"
#include "shell/guard.h"
#include "shell/worksheet_windows.h"
#include "store/report.h"

namespace vt::gui {

void frmEditCCs::FormSetup() {
    EditForm::FormSetup();
    cmdRecalculate->setEnabled(false);  // nothing to calculate in the list
    cmdAdd->setEnabled(true);
}

void frmEditCCs::FillHeadings() {
    ColHeadings = {
        {"", ""},
        {"", "#"},
        {"", "Cost Center Name"},
        {"1", "Col Label"},
        {"2", "Col Label"},
        {"3", "Col Label"},
    };
}

void frmEditCCs::LayoutGrid() {
    grd->Columns(0).SetVisible(false).SetLocked(true);
    grd->Columns(1).SetWidth(800).SetLocked(true);
    grd->Columns(2).SetWidth(4300);
    for (int c = 3; c <= 5; ++c) grd->Columns(c).SetWidth(1150);
}

Currency frmEditCCs::Number(int row) const {
    const Value v = Field(row, "CCNum");
    return IsNumeric(v) && !v.IsEmpty() ? v.ToCurrency() : Currency{};
}

bool frmEditCCs::CellLocked(int row, int col) const {
    if (col == 2) return IsCCNameLocked(Number(row));
    if (col >= 3 && col <= 5) return !CCLabelsEditable(Number(row));
    return false;
}

void frmEditCCs::grd_RowColChange(int, int) {
    cmdAdd->setEnabled(true);
    cmdDelete->setEnabled(grd->Row() >= 0 && !IsCCProtected(Number(grd->Row())));
}

// A name or label goes everywhere it shows in one operation, in place of the
// grid's own write: the cell shows what was stored (a name without the blanks
// around it); a refusal keeps the stored one.
void frmEditCCs::grd_BeforeColUpdate(grid::CellUpdate& u) {
    const Currency n = Number(u.row);
    const std::string text = u.newValue.IsNull() ? std::string() : u.newValue.ToText();
    CcChange change;
    if (u.column == 2) change = RenameCC(n, text);
    else if (u.column >= 3 && u.column <= 5) change = SetCCLabel(n, u.column - 2, text);
    if (!change.done) {
        u.cancel = true;
        return;
    }
    u.storedByHandler = true;
    pending_ = change.windows;
}

void frmEditCCs::grd_AfterColUpdate(int) {
    const CcWindows windows = std::exchange(pending_, {});
    SetUpWorksheetWindows(windows.setUp);
    RefreshOtherWindows();
}

void frmEditCCs::AddLine() {
    if (!StoreOpenCell()) return;
    Currency n = Currency::FromInt(-1);
    bool restore = false;
    RunGuarded([&] {
        frmAddCC dialog(this);
        if (!dialog.Form_Setup(grd->Row() >= 0 ? Number(grd->Row()) : Currency{})) {
            Show_Message("New cost centers cannot be added at this position.", ui::kExclamation);
            return;
        }
        dialog.exec();
        n = dialog.NewCCNum;
        restore = dialog.RestoreChosen;
    });
    if (n <= Currency{}) return;
    // A new cost centre has no name yet: the cursor waits in its name.
    Landing landing{db::FindOp::Eq, Value(n), false, 2, !restore && !IsCCNameLocked(n)};
    ChangeList(n, restore ? RestoreCC : AddCC, landing);
}

void frmEditCCs::DeleteLine() {
    if (grd->Row() < 0 || !StoreOpenCell()) return;
    const Currency n = Number(grd->Row());
    // What it carries goes with it for good: the user says so first, and a
    // stray Enter keeps it.
    bool go = false;
    RunGuarded([&] {
        const std::string question = CCDeleteQuestion(n);
        go = question.empty() || Show_Message(question, ui::kYesNo | ui::kQuestion | ui::kDefaultButton2,
                                                     "Delete Cost Center") == ui::kYes;
    });
    if (!go) return;
    // The cursor goes to the line before, or to the one that took the number.
    ChangeList(n, DeleteCC, Landing{db::FindOp::Le, Value(n), true});
}

void frmEditCCs::ChangeList(Currency n, CcChange (*op)(Currency), const Landing& landing) {
    bool closed = false;
    RunGuarded([&] { closed = CloseWorksheetWindows(CCWindowsAffected(n).close); });
    if (!closed) return;
    ChangeLines(
        "CCNum",
        [&]() -> std::optional<Landing> {
            const CcChange change = op(n);
            if (!change.done) return std::nullopt;
            pending_ = change.windows;
            return landing;
        },
        /*ownTransaction=*/true);
}

}  // namespace vt::gui
