// The editor family: the rows of one worksheet table that the user may change,
// in a grid above seven buttons: previous worksheet, Add, Delete, Open View,
// Recalculate (the whole report, then the viewer), Close, next worksheet. A
// member gives its code, record source, headings, column layout and cell
// rules, and, where it has them, its locks by row and its Add and Delete;
// everything else is here.
//
// Each accepted cell is stored at once (only that field), before any other
// window is refreshed. An entry a rule refuses is never written: the cell
// shows the stored value again. A cell that cannot be stored stops Open View,
// Recalculate, Next, Previous, Add, Delete and Close (the window stays open);
// the rule that refused it has told the user why.
#pragma once

#include <QMenu>
#include <QPushButton>

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/db/db.h"
#include "platform/grid/grid_qt.h"
#include "report/cost_centres.h"
#include "report/sheet_lines.h"
#include "shell/sheet_form.h"

namespace vt::gui {

class EditForm : public SheetForm {
    Q_OBJECT
public:
    void FormSetup() override;
    void SetGrd() override;

    QPushButton* cmdAdd;
    QPushButton* cmdDelete;
    QPushButton* cmdOpenView;
    QPushButton* cmdRecalculate;
    QPushButton* cmdClose;

    // A field of a shown row, and of the current row.
    Value Field(int row, const std::string& name) const { return grd->Data().FieldValue(row, name); }
    Value Current(const std::string& name) const { return Field(grd->Row(), name); }

public slots:
    void cmdNext_Click();
    void cmdPrevious_Click();
    void cmdAdd_Click();
    void cmdDelete_Click();
    void cmdOpenView_Click();
    void cmdRecalculate_Click();
    void cmdClose_Click();

protected:
    explicit EditForm(const std::string& code);

    // ---- What a member has of its own ----
    // FillHeadings, RecordSource, LayoutGrid (HeadLines is 4 unless it sets
    // another) and HasPrevious (A Part I is first) as in SheetForm; then:
    // The check of a typed cell (u.column, u.oldValue, u.newValue): may
    // rewrite u.newValue or set u.cancel. Use the Check...Cell helpers below.
    virtual void grd_BeforeColUpdate(grid::CellUpdate& u) { (void)u; }
    // After a cell was stored (also called after Add and Delete, col -1): by
    // default every other open worksheet window rebinds.
    virtual void grd_AfterColUpdate(int col);
    // The current cell moved (after a rebind too): set cmdAdd/cmdDelete here.
    virtual void grd_RowColChange(int lastRow, int lastCol) { (void)lastRow, (void)lastCol; }
    // A cell locked by its row, beside the columns' locks; asked whenever an
    // edit would start, so it never lags behind the cursor.
    virtual bool CellLocked(int row, int col) const { return (void)row, (void)col, false; }
    // The commands behind Add and Delete; run through ChangeLines.
    virtual void AddLine() {}
    virtual void DeleteLine() {}

    void Form_Resize() override;

    // ---- Cell checks, for grd_BeforeColUpdate ----
    // An amount through Check_Amount (sign 1: positive, -1: negative): the
    // corrected value is what is stored; a refusal cancels.
    void CheckAmountCell(grid::CellUpdate& u, int sign = 0);
    // Typed text for a Text field of `maxLength` characters. `tooLong` (the
    // member's own message) is shown when the trimmed text is longer; with
    // `cut` the text is then cut to the field and stands. `quote`, when given,
    // refuses a double quote (with a beep when `quoteBeep`). Control
    // characters and text longer than the field are always refused
    // (CheckText, naming `fieldName`). Each failing test shows its message;
    // any refusal cancels.
    struct TextRule {
        std::size_t maxLength;
        std::string fieldName;
        std::string tooLong;
        std::string quote;
        bool cut = false;
        bool quoteBeep = false;
    };
    void CheckTextCell(grid::CellUpdate& u, const TextRule& rule);
    // A code: upper-cased into the cell, then one of `allowed` or refused with
    // a beep and the message (icon and title as given).
    void CheckCodeCell(grid::CellUpdate& u, const std::set<std::string>& allowed, const std::string& message,
                       int style, const std::string& title = "");
    // A typed cost-centre number (ReadCCNumber): none (empty or 0), one of
    // the list (with its name), or neither.
    using CostCentreEntry = CcTyped;
    static CostCentreEntry ReadCostCentreCell(const Value& typed);
    // A Line # cell naming any cost centre of the list: the number and its
    // name (cut to a name field of 40) written in one write, or neither;
    // none (blank or 0) stores 0 with `noName`. Anything else is refused with
    // "Invalid Cost Center number".
    void CheckCostCentreCell(grid::CellUpdate& u, const std::string& numberField, const std::string& nameField,
                             const std::string& noName);

    // ---- Pop-up pick lists ----
    // A hidden menu (objectName `name`) whose items, when chosen, are written
    // into the current cell as if typed: the cell's checks and after-update run.
    // `chosen` replaces that, when a member does more with the choice.
    QMenu* AddPopupMenu(const char* name, const std::vector<std::string>& items,
                        std::function<void(int index, const std::string& item)> chosen = {});
    // Shows it at the pointer (from grd->ButtonClick).
    void PopupMenu(QMenu* menu);

    // ---- Adding and deleting lines ----
    // Where the cursor lands after a change of the lines: the first (or last)
    // row whose key field meets the test; `col` -1 keeps the column.
    struct Landing {
        db::FindOp op = db::FindOp::Eq;
        Value key;
        bool fromLast = false;
        int col = -1;
        bool edit = false;  // open the landing cell for typing (after an add)
    };
    // Runs a change of the line list, keyed by `keyField` (the unique line
    // number): the open cell is stored first (nothing happens when it cannot
    // be), the window is busy meanwhile and `change` runs in one transaction
    // (renumber with ShiftLines of engine/general/renumber.h). Then
    // FormSetup, the line number that was at the top is at the top again, the
    // cursor lands where `change` says, and grd_AfterColUpdate(-1) runs.
    // `change` returns nothing when it changed nothing. With `ownTransaction`
    // the change is an operation that runs, and undoes, its own transaction.
    void ChangeLines(const std::string& keyField, const std::function<std::optional<Landing>()>& change,
                     bool ownTransaction = false);
    // ChangeLines for a line operation of the report core: when it was done,
    // the cursor lands as `landing` says, keyed by the line it returns.
    void RunLineChange(const std::string& keyField, const std::function<LineChange()>& operation, Landing landing);

    // ---- Storing ----
    // Stores the open cell; false (the user told why) when it cannot be.
    bool StoreOpenCell();
    // SetGrd of every other open worksheet window, this one busy meanwhile.
    void RefreshOtherWindows();
    // SetGrd of this worksheet's open viewer alone (the members that keep
    // their refresh to it).
    void RefreshOwnViewer();

private:
    void OpenViewer();
};

}  // namespace vt::gui
