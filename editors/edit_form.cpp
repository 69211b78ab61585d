#include "editors/edit_form.h"

#include <QCursor>

#include <algorithm>

#include "platform/ui/ui.h"
#include "shell/calculation.h"
#include "shell/forms.h"
#include "shell/guard.h"
#include "shell/open_form.h"
#include "shell/text.h"
#include "shell/worksheet_windows.h"
#include "store/report.h"
#include "store/services.h"

namespace vt::gui {

EditForm::EditForm(const std::string& code) : SheetForm("frmEdit", code) {
    cmdPrevious = ArrowButton("cmdPrevious", false, 1);
    cmdAdd = StripButton("cmdAdd", "&Add", 1572, 2);
    cmdDelete = StripButton("cmdDelete", "&Delete", 1572, 3);
    cmdOpenView = StripButton("cmdOpenView", "&Open View", 1572, 4);
    cmdRecalculate = StripButton("cmdRecalculate", "&Recalculate", 1572, 5);
    cmdClose = StripButton("cmdClose", "&Close", 1572, 6);
    cmdNext = ArrowButton("cmdNext", true, 7);
    QWidget* order[] = {cmdPrevious, cmdAdd, cmdDelete, cmdOpenView, cmdRecalculate, cmdClose, cmdNext};
    for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
    // A click leaves the focus in the cell being typed into, so that the
    // command itself stores the cell and stops when it cannot be stored.
    for (QWidget* b : order) b->setFocusPolicy(Qt::TabFocus);

    connect(cmdNext, &QPushButton::clicked, this, &EditForm::cmdNext_Click);
    connect(cmdPrevious, &QPushButton::clicked, this, &EditForm::cmdPrevious_Click);
    connect(cmdAdd, &QPushButton::clicked, this, &EditForm::cmdAdd_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &EditForm::cmdDelete_Click);
    connect(cmdOpenView, &QPushButton::clicked, this, &EditForm::cmdOpenView_Click);
    connect(cmdRecalculate, &QPushButton::clicked, this, &EditForm::cmdRecalculate_Click);
    connect(cmdClose, &QPushButton::clicked, this, &EditForm::cmdClose_Click);

    // A rule that fails unexpectedly refuses the entry rather than store it unchecked.
    grd->Data().BeforeColUpdate = [this](grid::CellUpdate& u) {
        bool checked = false;
        RunGuarded([&] {
            grd_BeforeColUpdate(u);
            checked = true;
        });
        if (!checked) u.cancel = true;
    };
    grd->Data().AfterColUpdate = [this](int, int col, const Value&) {
        RunGuarded([&] { grd_AfterColUpdate(col); });
    };
    grd->RowColChange = [this](int lastRow, int lastCol) {
        RunGuarded([&] { grd_RowColChange(lastRow, lastCol); });
    };
    grd->CellLockRule = [this](int row, int col) { return CellLocked(row, col); };
}

void EditForm::FormSetup() {
    SetCaption("Edit Worksheet " + SheetTitle());
    SetGrd();
    SetUpArrows();
    cmdAdd->setEnabled(false);
    cmdDelete->setEnabled(false);
    // Members that add or delete enable the buttons by the current line.
    if (grd->Row() >= 0) grd_RowColChange(-1, -1);
}

void EditForm::SetGrd() {
    grd->Bind(Db(), RecordSource());
    grd->SetHeadLines(4);
    LayoutGrid();
    if (grd->ColumnCount() > 1) grd->SetCol(1);
    CaptionColumns();
}

void EditForm::Form_Resize() {
    Resize_Edit_Form(this, grd, picButtons, cmdAdd, cmdDelete, cmdOpenView, cmdRecalculate, cmdClose, cmdPrevious,
                     cmdNext);
}

// ---- Commands ----

bool EditForm::StoreOpenCell() {
    bool cancel = false;
    RunGuarded([&] { Save_Grid_Row(*grd, cancel); });
    return !cancel;
}

void EditForm::cmdNext_Click() {
    if (StoreOpenCell()) OpenAdjacent(false);
}

void EditForm::cmdPrevious_Click() {
    if (StoreOpenCell()) OpenAdjacent(true);
}

void EditForm::cmdAdd_Click() { AddLine(); }
void EditForm::cmdDelete_Click() { DeleteLine(); }

void EditForm::OpenViewer() {
    RunGuarded([this] { Open_Worksheet_Form("view", Code()); });
}

void EditForm::cmdOpenView_Click() {
    if (!StoreOpenCell()) return;
    BusyFrame busy(this);
    OpenViewer();
}

void EditForm::cmdRecalculate_Click() {
    if (!StoreOpenCell()) return;
    BusyFrame busy(this);
    RunCalculation();
    OpenViewer();
}

void EditForm::cmdClose_Click() { UnloadForm(this); }

void EditForm::RefreshOtherWindows() {
    BusyFrame busy(this);
    Refresh_Grids(FormIndex(this));
}

void EditForm::RefreshOwnViewer() {
    BusyFrame busy(this);
    Refresh_Worksheet_Form("view", Code());
}

void EditForm::grd_AfterColUpdate(int) { RefreshOtherWindows(); }

// ---- Cell checks ----

void EditForm::CheckAmountCell(grid::CellUpdate& u, int sign) {
    Value v = u.newValue;
    if (!Check_Amount(v, sign)) {
        u.cancel = true;
        return;
    }
    u.newValue = v;
}

void EditForm::CheckTextCell(grid::CellUpdate& u, const TextRule& rule) {
    // Every test reads the text without the blanks that would not fit.
    std::string text =
        WithoutBlanksWhenTooLong(u.newValue.IsNull() ? std::string() : u.newValue.ToText(), rule.maxLength);
    bool ok = true;
    if (!rule.tooLong.empty() && CharCount(text) > rule.maxLength) {
        Show_Message(rule.tooLong, ui::kOkOnly);
        if (rule.cut) text = FitToField(text, rule.maxLength);
        else ok = false;
    }
    if (!rule.quote.empty() && text.find('"') != std::string::npos) {
        if (rule.quoteBeep) ui::Ui().Beep();
        Show_Message(rule.quote, ui::kOkOnly);
        ok = false;
    }
    if (ok && !CheckText(text, rule.maxLength, rule.fieldName)) ok = false;
    if (!ok) u.cancel = true;
    else u.newValue = Value(text);
}

void EditForm::CheckCodeCell(grid::CellUpdate& u, const std::set<std::string>& allowed, const std::string& message,
                             int style, const std::string& title) {
    const std::string code = Upper(u.newValue.IsNull() ? std::string() : u.newValue.ToText());
    u.newValue = Value(code);
    if (allowed.count(code)) return;
    ui::Ui().Beep();
    Show_Message(message, style, title);
    u.cancel = true;
}

EditForm::CostCentreEntry EditForm::ReadCostCentreCell(const Value& typed) {
    return ReadCCNumber(typed.IsNull() ? std::string() : typed.ToText());
}

void EditForm::CheckCostCentreCell(grid::CellUpdate& u, const std::string& numberField,
                                   const std::string& nameField, const std::string& noName) {
    const CostCentreEntry cc = ReadCostCentreCell(u.newValue);
    if (cc.kind == CostCentreEntry::Invalid) {
        Show_Message("Invalid Cost Center number", ui::kOkOnly);
        u.cancel = true;
        return;
    }
    u.newValue = Value(cc.number);
    const std::string name = cc.kind == CostCentreEntry::Found ? FitToField(cc.name, 40) : noName;
    if (!grd->Data().SetFields(u.row, {{numberField, u.newValue}, {nameField, Value(name)}})) u.cancel = true;
}

// ---- Pop-up pick lists ----

QMenu* EditForm::AddPopupMenu(const char* name, const std::vector<std::string>& items,
                              std::function<void(int, const std::string&)> chosen) {
    auto* menu = new QMenu(this);
    menu->setObjectName(name);
    for (size_t i = 0; i < items.size(); ++i) {
        QAction* item = menu->addAction(Q(items[i]));
        item->setObjectName(Q(std::string(name) + "_" + std::to_string(i)));
        connect(item, &QAction::triggered, this, [this, chosen, i, text = items[i]] {
            RunGuarded([&] {
                if (chosen) chosen(static_cast<int>(i), text);
                else grd->WriteCurrentCell(Value(text));
            });
        });
    }
    return menu;
}

void EditForm::PopupMenu(QMenu* menu) {
    // Opened by a key (F4, Alt+Down) the list drops below its cell, as a
    // combo box's does, on the answer the cell holds (else the first), so
    // that the arrows and Enter choose from there.
    const QRect cell = grd->CurrentCellRect();
    const QPoint at = cell.isEmpty() || cell.contains(QCursor::pos()) ? QCursor::pos() : cell.bottomLeft();
    menu->popup(at);
    const QString held = grd->Row() >= 0 && grd->Col() >= 0 ? Q(grd->Columns(grd->Col()).Text()) : QString();
    QAction* answer = menu->actions().isEmpty() ? nullptr : menu->actions().front();
    for (QAction* item : menu->actions())
        if (item->text() == held) answer = item;
    menu->setActiveAction(answer);
}

// ---- Adding and deleting lines ----

void EditForm::RunLineChange(const std::string& keyField, const std::function<LineChange()>& operation,
                             Landing landing) {
    ChangeLines(
        keyField,
        [&]() -> std::optional<Landing> {
            const LineChange change = operation();
            if (!change.done) return std::nullopt;
            landing.key = Value(change.line);
            return landing;
        },
        /*ownTransaction=*/true);
}

void EditForm::ChangeLines(const std::string& keyField, const std::function<std::optional<Landing>()>& change,
                           bool ownTransaction) {
    if (!StoreOpenCell()) return;
    std::optional<Landing> landing;
    {
        BusyFrame busy(this);
        RunGuarded([&] {
            const int topRow = grd->FirstRow();
            const Value top = topRow >= 0 ? Field(topRow, keyField) : Value::Null();
            const int col = std::max(grd->Col(), 0);
            if (ownTransaction) {
                landing = change();
            } else {
                db::Transaction tx(Db());
                landing = change();
                tx.Commit();
            }
            if (!landing) return;
            FormSetup();
            // The line number that was at the top (or the one before it, when
            // that line is gone) goes to the top again before the cursor moves.
            if (!top.IsNull()) {
                if (const int r = grd->Data().FindLast(keyField, db::FindOp::Le, top); r >= 0) grd->SetFirstRow(r);
            }
            const int row = landing->fromLast ? grd->Data().FindLast(keyField, landing->op, landing->key)
                                              : grd->Data().FindFirst(keyField, landing->op, landing->key);
            if (row >= 0) grd->SetCurrentCell(row, landing->col >= 0 ? landing->col : col);
            grd->MakeCurrentVisible();
            grd_AfterColUpdate(-1);
        });
    }
    // Once the window takes keys again: the next key goes into the grid, and
    // after an add straight into the new line. A dialog of the command (the
    // new cost centre's number) may have left no window active.
    if (!landing) return;
    if (!isActiveWindow()) activateWindow();
    grd->TakeKeyboard();
    if (landing->edit) grd->StartEdit();
}

}  // namespace vt::gui
