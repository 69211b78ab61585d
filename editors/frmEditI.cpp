#include "editors/frmEditI.h"

#include "engine/general/renumber.h"
#include "platform/ui/ui.h"
#include "store/report.h"
#include "store/services.h"

namespace vt::gui {
namespace {

const Currency kStep = Currency::FromScaled(Currency::kScale / 100);
const Currency kOffset = Currency::FromInt(1000);
const Currency kIncomeFirst = Currency::FromScaled(40800);  // 4.08
const Currency kIncomeEnd = Currency::FromInt(5);
const Currency kExpenseFirst = Currency::FromInt(6);

// Lines that take user lines after them (and may be renamed).
bool InBand(Currency s) { return (s >= kIncomeFirst && s < kIncomeEnd) || s >= kExpenseFirst; }
// The user lines themselves.
bool Deletable(Currency s) { return (s > kIncomeFirst && s < kIncomeEnd) || s > kExpenseFirst; }

}  // namespace

frmEditI::frmEditI() : EditForm("I") {
    grd->SelChange = [this](bool&) { grd_SelChange(); };
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
    return col == 1 && !InBand(Field(row, "SeqNum").ToCurrency());
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
    cmdAdd->setEnabled(InBand(s));
    cmdDelete->setEnabled(Deletable(s));
}

void frmEditI::grd_BeforeColUpdate(grid::CellUpdate& u) {
    if (u.column == 1) CheckTextCell(u, {40, "Description", "", ""});
    else if (u.column == 2) CheckAmountCell(u);
}

void frmEditI::grd_AfterColUpdate(int) { RefreshOwnViewer(); }

void frmEditI::AddLine() {
    ChangeLines("SeqNum", [this]() -> std::optional<Landing> {
        const int selected = SelectedRow();
        Currency s;
        if (selected >= 0) {
            s = Field(selected, "SeqNum").ToCurrency();
            if (!InBand(s)) return std::nullopt;
        } else if (const int rows = grd->Data().RecordCount(); rows > 0) {
            s = Nz_Num(Field(rows - 1, "SeqNum")).ToCurrency();
        }
        // A band holds the sub-lines of one whole line; the next whole line is a total.
        const Currency whole = s.Floor(), end = whole + Currency::FromInt(1);
        const Currency highest =
            Nz_Num(Db().Scalar("SELECT Max(SeqNum) FROM I WHERE SeqNum >= ? AND SeqNum < ?", {Value(whole), Value(end)}))
                .ToCurrency();
        if (std::max(highest, s) + kStep >= end) {
            Show_Message("No line can be added after line " + SqlNumber(s) + ": line " + SqlNumber(whole) +
                             " already has its last sub-line, " + SqlNumber(end - kStep) + ".",
                         ui::kOkOnly);
            return std::nullopt;
        }
        if (selected >= 0)
            Shift_Lines("I", {"SeqNum"}, "SeqNum > ? AND SeqNum < ?", {Value(s), Value(end)}, kStep, kOffset);
        const Currency n = s + kStep;
        Db().Execute("INSERT INTO I (SeqNum,Description,Col_1) VALUES (?,?,0);",
                     {Value(n), Value(n < kExpenseFirst ? "Other income" : "Other expense")});
        return Landing{db::FindOp::Eq, Value(n), false, 1, true};
    });
    cmdDelete->setEnabled(false);
}

void frmEditI::DeleteLine() {
    const int selected = SelectedRow();
    if (selected < 0 || !Deletable(Field(selected, "SeqNum").ToCurrency())) return;
    const Value s = Field(selected, "SeqNum");
    ChangeLines("SeqNum", [&]() -> std::optional<Landing> {
        Db().Execute("DELETE FROM I WHERE SeqNum = ?", {s});
        const Currency end = s.ToCurrency().Floor() + Currency::FromInt(1);
        Shift_Lines("I", {"SeqNum"}, "SeqNum > ? AND SeqNum < ?", {s, Value(end)}, -kStep, kOffset);
        return Landing{db::FindOp::Ge, s};
    });
    cmdDelete->setEnabled(false);
}

}  // namespace vt::gui
