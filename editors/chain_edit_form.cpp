#include "editors/chain_edit_form.h"

#include <QCoreApplication>
#include <QTableView>

#include "engine/chain/component_rows.h"
#include "engine/chain/component_sheet.h"
#include "platform/ui/ui.h"
#include "shell/cc_headings.h"
#include "shell/forms.h"
#include "shell/guard.h"
#include "shell/text.h"
#include "shell/worksheet_windows.h"
#include "store/report.h"
#include "store/services.h"

namespace vt::gui {
namespace {

const char* const kRounded = "This field may only contain full dollar amounts. The value has been rounded";

CCChooser& Chooser() {
    static CCChooser chooser;
    return chooser;
}

// A typed number that has a fraction, rounded to a whole one (halves away
// from zero) on its exact digits: "12.00001" is not whole, and "12.49999"
// rounds down, however few decimals the field's money type keeps; its
// thousands separators, if any, are read as the amount check reads them.
std::optional<Value> ExactWhole(const Value& typed) {
    if (!typed.IsString()) return std::nullopt;
    const std::optional<std::string> plain = PlainAmountText(typed.Str());
    if (!plain) return std::nullopt;
    const std::string s = Trim(*plain);
    const size_t point = s.find('.');
    if (point == std::string::npos || s.find_first_not_of('0', point + 1) == std::string::npos) return std::nullopt;
    const bool negative = s[0] == '-';
    const size_t first = (s[0] == '-' || s[0] == '+') ? 1 : 0;
    const std::string digits = s.substr(first, point - first);
    std::int64_t whole = digits.empty() ? 0 : std::stoll(digits);
    if (s[point + 1] >= '5') ++whole;
    return Value(Currency::FromInt(negative ? -whole : whole));
}

// A value column of a chosen-column sheet is out of step with the sheet
// named last when its fields or its row-0 numbers differ, or when either table
// is missing.
bool TablesInStep(const std::vector<std::string>& tables) {
    for (const std::string& t : tables)
        if (!Table_Exists(t)) return false;
    const std::string& model = tables.back();
    const auto fields = Db().Fields(model);
    const auto row0 = SheetRow0(model);
    const size_t first = LeadingFields(ShapeOf(model));
    for (const std::string& t : tables) {
        const auto f = Db().Fields(t);
        const auto r = SheetRow0(t);
        if (f.size() != fields.size() || r.size() != row0.size()) return false;
        for (size_t i = 0; i < f.size(); ++i) {
            if (Upper(f[i].name) != Upper(fields[i].name)) return false;
            if (i >= first && i + 1 < f.size() && Nz_Num(r[i]).ToCurrency() != Nz_Num(row0[i]).ToCurrency())
                return false;
        }
    }
    return true;
}

// The field index of cost centre c in the sheet's row 0; -1 when none.
int ColumnOf(const std::string& sheet, Currency c) {
    const auto row0 = SheetRow0(sheet);
    for (size_t i = LeadingFields(ShapeOf(sheet)); i + 1 < row0.size(); ++i)
        if (IsNumeric(row0[i]) && !row0[i].IsEmpty() && row0[i].ToCurrency() == c) return static_cast<int>(i);
    return -1;
}

// Where the editor stood before a column command.
struct Place {
    QRect geometry;
    Value topSeq;
};

// Opens the editor afresh for the sheet's new fields at its old place, with
// the same line at the top and, when given, the column `col` in view.
void Reopen(const std::string& code, const Place& place, int col) {
    Open_Worksheet_Form("edit", code);
    QWidget* w = nullptr;
    if (!Is_Form_Loaded("frmEdit" + code, &w)) return;
    auto* e = static_cast<EditForm*>(w);
    e->setGeometry(place.geometry);
    QCoreApplication::processEvents();  // the grid takes its new height before it scrolls
    grid::Grid& g = *e->grd;
    const int top = place.topSeq.IsNull() ? -1 : g.Data().FindFirst("SeqNum", db::FindOp::Eq, place.topSeq);
    if (col >= 0 && g.Data().RecordCount() > 0) {
        g.SetCurrentCell(top >= 0 ? top : 0, col);
        g.MakeCurrentVisible();
    }
    if (top >= 0) g.SetFirstRow(top);
    // The keyboard in the grid again, and after an add in the new column's cell.
    g.TakeKeyboard();
    if (col >= 0) g.StartEdit();
}

}  // namespace

void SetCCChooser(CCChooser chooser) { Chooser() = std::move(chooser); }

ChainEditForm::ChainEditForm(const ChainEditorDesign& design) : EditForm(design.code), d_(design) {
    if (ColumnCommands())
        grd->SelChange = [this](bool&) { RunGuarded([this] { grd_SelChange(); }); };
}

void ChainEditForm::FormSetup() {
    EditForm::FormSetup();
    if (!ColumnCommands()) return;
    cmdAdd->setText("Add Column");
    cmdAdd->setEnabled(true);
    cmdDelete->setText("Delete Column");
    cmdDelete->setEnabled(false);
    selColumn_ = -1;
}

void ChainEditForm::SetGrd() {
    EditForm::SetGrd();
    grd->SetFirstEditableCell();
}

void ChainEditForm::FillHeadings() {
    for (const ChainColumn& c : d_.columns) ColHeadings.emplace_back(c.colNum, c.headText);
    if (!d_.split) return;
    const size_t fields = Db().Fields(d_.code).size();
    // E and F are headed once, by the list as it stands when the window opens.
    if (d_.ccBelow > 0)
        for (ColHeading& h : CCHeadingsInListOrder(d_.ccBelow)) ColHeadings.push_back(std::move(h));
    ColHeadings.resize(fields);
}

bool ChainEditForm::IsValueColumn(int col) const {
    const int n = grd->ColumnCount();
    if (col < 0 || col >= n || (d_.totalColumn && col == n - 1)) return false;
    return col >= static_cast<int>(d_.columns.size()) || d_.columns[static_cast<size_t>(col)].editable;
}

void ChainEditForm::LayoutGrid() {
    const int n = grd->ColumnCount();
    const int designed = static_cast<int>(d_.columns.size());
    if (d_.split) {
        grd->AddSplit();
        grd->Splits(1).SetRecordSelectors(false);
    }
    for (int col = 0; col < n; ++col) {
        const bool fixed = col < designed;
        const double width = fixed ? d_.columns[static_cast<size_t>(col)].width : 1250;
        const bool shown = width >= 0 && (fixed || !d_.totalColumn || col < n - 1);
        grid::Column all = grd->Columns(col);
        if (width >= 0) all.SetWidth(width);
        all.SetLocked(!IsValueColumn(col));
        if (!d_.split) {
            all.SetVisible(shown);
            continue;
        }
        // The sequence and line numbers as numbers with two decimals.
        if (col < 2) all.SetNumberFormat("0.00");
        grd->Splits(0).Columns(col).SetVisible(shown && fixed);
        grd->Splits(1).Columns(col).SetVisible(shown && !fixed);
    }
    grd->SetTabAction(d_.tabInGrid ? grid::kTabCellToCell : grid::kTabLeavesGrid);

    if (!ColumnCommands()) return;
    // E-1 and F-1 read row 0 at every binding; a column whose cost centre is
    // not found keeps the heading it had.
    ColHeadings.resize(static_cast<size_t>(n));
    HeadColumnsByRow0(ColHeadings, d_.code, d_.columns.size());
    if (n > designed) ColHeadings.back() = ColHeading("", "Total");
}

void ChainEditForm::Form_Resize() {
    Resize_Edit_Form(this, grd, picButtons, cmdAdd, cmdDelete, cmdOpenView, cmdRecalculate, cmdClose, cmdPrevious,
                     cmdNext, 0, ColumnCommands() ? 9105 : 0);
}

// ---- Cells ----

void ChainEditForm::grd_BeforeColUpdate(grid::CellUpdate& u) {
    if (!IsValueColumn(u.column)) return;
    if (d_.statistics) CheckStatisticCell(u);
    else CheckAmountCell(u);
}

// A statistic is held as a Double: a fraction too small for money is still a
// fraction, and is rounded with the same message.
void ChainEditForm::CheckStatisticCell(grid::CellUpdate& u) {
    const Value typed = u.newValue;
    CheckAmountCell(u);
    if (u.cancel) return;
    const auto whole = ExactWhole(typed);
    if (!whole) return;
    if (u.newValue.IsString()) {  // not rounded by the amount check: its fraction lies below a cent's hundredth
        ui::Ui().Beep();
        Show_Message(kRounded, ui::kExclamation);
    }
    u.newValue = *whole;
}

// ---- Column commands ----

void ChainEditForm::grd_RowColChange(int, int) {
    if (ColumnCommands()) cmdDelete->setEnabled(false);
}

void ChainEditForm::grd_SelChange() {
    if (selecting_ || grd->SplitCount() < 2) return;
    selColumn_ = -1;
    grid::Split left = grd->Splits(0);
    const int start = left.SelStartCol();
    if (start >= 0) {
        // A selection in the frozen pane always covers all its columns.
        if (start <= 2 && left.SelEndCol() != 3) {
            selecting_ = true;
            left.SetSelCols(0, 3);
            selecting_ = false;
        }
    } else {
        grid::Split right = grd->Splits(1);
        const int col = right.SelStartCol();
        if (col >= 0 && col == right.SelEndCol() && IsValueColumn(col)) selColumn_ = col;
    }
    cmdDelete->setEnabled(selColumn_ >= 0);
}

// The open cell is stored and the tables checked before anything closes; the
// editor and the sheet's viewers close so that nothing holds the tables while
// their fields change; the change is all or nothing, and the editor opens
// again whatever came of it.
void ChainEditForm::RunColumnCommand(const std::string& failed, const std::function<int()>& change) {
    if (!StoreOpenCell()) return;
    if (!TablesInStep(d_.columnTables)) {
        Show_Message(Get_Worksheet_Name(d_.columnTables.front()) + " does not hold the cost-centre columns of " +
                         Get_Worksheet_Name(d_.columnTables.back()) +
                         ", so no column was changed. Validate the database to repair it.",
                     ui::kCritical);
        return;
    }
    const int topRow = grd->FirstRow();
    const Place place{geometry(), topRow >= 0 ? Field(topRow, "SeqNum") : Value::Null()};
    const ChainEditorDesign& d = d_;
    if (!UnloadForm(this)) return;
    // From here on this window is gone: only `d` and `place` are used.
    bool closed = true;
    for (const std::string& v : d.viewers) {
        QWidget* w = nullptr;
        if (Is_Form_Loaded("frmView" + v, &w)) closed = UnloadForm(w) && closed;
    }
    int col = -1;
    if (closed) {
        try {
            db::Transaction tx(Db());
            col = change();
            tx.Commit();
        } catch (const std::exception& e) {
            Show_Message(failed + ": " + e.what() + "\nNothing was changed.", ui::kCritical);
            col = -1;
        }
    }
    Reopen(d.code, place, col);
}

void ChainEditForm::AddLine() {
    if (!ColumnCommands() || !Chooser()) return;
    const std::optional<Currency> c = Chooser()(d_.code);
    if (!c) return;
    // A column is headed by a cost centre of the list that has none yet in
    // the sheet: a pick that names no such cost centre would give the sheet a
    // column that nothing heads, or a second one of the same cost centre.
    const bool listed = !Db().OpenRecordset("SELECT CCNum FROM CostCenters WHERE CCNum = ?;", {Value(*c)}).Eof();
    if (!listed || ColumnOf(d_.code, *c) >= 0) {
        Show_Message("No column was added: " +
                         (listed ? "cost center " + c->ToText() + " has its column in " + Get_Worksheet_Name(d_.code)
                                 : c->ToText() + " is no cost center of the list") +
                         ".",
                     ui::kExclamation);
        return;
    }
    const ChainEditorDesign& d = d_;
    RunColumnCommand("The column of cost center " + c->ToText() + " could not be added", [&d, c] {
        for (const std::string& t : d.columnTables) AddChosenCCColumn(t, *c);
        return ColumnOf(d.code, *c);
    });
}

void ChainEditForm::DeleteLine() {
    if (!ColumnCommands() || selColumn_ < 0) return;
    const auto row0 = SheetRow0(d_.code);
    const int sel = selColumn_;
    if (static_cast<size_t>(sel) >= row0.size()) return;
    const Value cc = row0[static_cast<size_t>(sel)];
    const ChainEditorDesign& d = d_;
    RunColumnCommand("The column could not be deleted", [&d, cc] {
        if (!IsNumeric(cc) || cc.IsEmpty()) throw db::DbError("its row 0 names no cost center");
        for (const std::string& t : d.columnTables)
            if (!DeleteChosenCCColumn(t, cc.ToCurrency()))
                throw db::DbError(Get_Worksheet_Name(t) + " has no column of cost center " + cc.ToCurrency().ToText());
        return -1;
    });
}

}  // namespace vt::gui
