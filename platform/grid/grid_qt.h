// The grid of every editor and viewer: the rows of its data control (a
// GridModel) in one pane, or in two with a frozen left pane, with per-pane
// column layouts in twips, multi-line headings, one row height for all rows,
// a cursor, finds, and the events the windows hang their rules on.
//
// Rows come and go only through the windows' own buttons: the grid never adds
// or deletes a row. Every change of a cell goes through the data control's
// cell path, whatever started it: typing, a popup choice, a handler.
#pragma once

#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/grid/grid_model_qt.h"

class QTableView;

namespace vt::grid {

enum Alignment : int { kAlignLeft = 0, kAlignRight = 1, kAlignCenter = 2, kAlignGeneral = 3 };

// What Tab does in the grid: move from one editable cell to the next, on to
// the next row (and out of the grid after the last), or leave the grid at once.
enum TabAction : int { kTabLeavesGrid = 0, kTabCellToCell = 2 };

// Rows are never lower than this.
inline constexpr double kMinRowHeight = 230;

struct ColumnLayout {
    double width = -1;  // twips; below 0: the grid's default width
    bool visible = true;
    bool locked = false;
    bool wrapText = false;
    int alignment = kAlignGeneral;  // general: numbers right, text left
    std::string numberFormat;       // a format of vt::Format; "" shows the value as it is
    bool button = false;            // a button on the current cell of this column
};

class Grid;

// One column of one pane. A column taken from the grid itself (Grid::Columns)
// stands for every pane: its setters change all of them, its getters read the
// first pane that shows the column (the first pane when none does).
class Column {
public:
    Column(Grid* grid, int split, int col) : g_(grid), split_(split), col_(col) {}
    int Index() const { return col_; }

    double Width() const;
    Column& SetWidth(double twips);
    bool Visible() const;
    Column& SetVisible(bool v);
    bool Locked() const;
    Column& SetLocked(bool v);
    bool WrapText() const;
    Column& SetWrapText(bool v);
    int Alignment() const;
    Column& SetAlignment(int a);
    std::string NumberFormat() const;
    Column& SetNumberFormat(const std::string& f);
    bool Button() const;
    Column& SetButton(bool v);
    std::string Caption() const;
    Column& SetCaption(const std::string& caption);

    // Of the current row. SetValue writes the field at once, without the cell
    // events (as code that sets a field and stores the row).
    Value GetValue() const;
    std::string Text() const;
    bool SetValue(const Value& v);

private:
    const ColumnLayout& Read() const;
    template <class F> Column& Write(F f);
    Grid* g_;
    int split_;  // -1: every pane
    int col_;
};

class Split {
public:
    Split(Grid* grid, int split) : g_(grid), s_(split) {}
    Column Columns(int col) { return Column(g_, s_, col); }
    int ColumnCount() const;
    void SetRecordSelectors(bool on);
    // First and last selected column shown in this pane; -1 when none.
    int SelStartCol() const;
    int SelEndCol() const;
    void SetSelCols(int first, int last);

private:
    Grid* g_;
    int s_;
};

class Grid : public QWidget {
    Q_OBJECT
public:
    explicit Grid(QWidget* parent = nullptr);
    ~Grid() override;

    // The data control.
    GridModel& Data() { return *model_; }
    const GridModel& Data() const { return *model_; }
    // Binds to a SELECT: one pane, one default column per field, the first
    // row current. Refresh reads the same SELECT again and keeps the layout.
    void Bind(db::Database& db, const std::string& recordSource);
    void Refresh();
    // The rows read again with the panes and their layout kept, when the
    // same source still gives the same fields (GridModel::Reread); false,
    // with nothing changed, when it must be bound again.
    bool Reread(db::Database& db, const std::string& recordSource);

    // Layout.
    int ColumnCount() const { return model_->FieldCount(); }
    Column Columns(int col) { return Column(this, -1, col); }
    int SplitCount() const { return static_cast<int>(splits_.size()); }
    Split Splits(int split) { return Split(this, split); }
    // Adds the frozen left pane (split 0) with a copy of the layout; the
    // existing pane becomes split 1. A grid has two panes at most.
    void AddSplit();
    int HeadLines() const { return headLines_; }
    void SetHeadLines(int lines);
    double RowHeight() const { return rowHeight_; }
    void SetRowHeight(double twips);  // never below kMinRowHeight
    double HeaderHeight() const;      // twips
    double DefaultColumnWidth() const { return 1440; }
    const ColumnLayout& Layout(int split, int col) const;

    void SetTabAction(int action) { tabAction_ = action; }
    // Shift+Space selects the current row: for the windows whose commands
    // follow a selected row, which the row headers alone select otherwise.
    void SetKeySelectsRow(bool on) { keySelectsRow_ = on; }

    // A rule that locks single cells, beside the columns' locks.
    std::function<bool(int row, int col)> CellLockRule;
    bool CellLocked(int row, int col) const;

    // Cursor and view.
    int Row() const;  // -1 when no row is current
    int Col() const;
    void SetRow(int row) { SetCurrentCell(row, Col() < 0 ? 0 : Col()); }
    void SetCol(int col) { SetCurrentCell(Row() < 0 ? 0 : Row(), col); }
    void SetCurrentCell(int row, int col);
    // The first cell that takes typing, row by row in the order a person
    // reads them (the frozen pane's columns first); the first shown cell
    // when none does.
    void SetFirstEditableCell();
    // The current cell's place on the screen (empty when none is shown).
    QRect CurrentCellRect() const;
    int FirstRow() const;  // the top visible row; -1 when there are none
    void SetFirstRow(int row);
    void MakeCurrentVisible();
    bool StartEdit();  // opens the current cell's editor; false when locked or refused
    bool EditActive() const { return activeEditor_ != nullptr; }
    // Finds a row from the first (or the last) by a key and makes it current.
    bool FindFirst(const std::string& field, db::FindOp op, const Value& key);
    bool FindLast(const std::string& field, db::FindOp op, const Value& key);
    std::vector<int> SelectedRows() const;

    // The keyboard: whether it is in this grid (its window's focus, active or
    // not), and putting it there, in the open cell editor or else in the pane
    // that shows the current cell.
    bool HasKeyboard() const;
    void TakeKeyboard();

    // The row being typed into: unstored text in the open cell editor.
    bool DataChanged() const;
    // Stores the open cell now; false when it was refused or cancelled.
    bool UpdateRecord();
    // The text of the open cell editor, and replacing it (with a selection).
    std::string EditText() const;
    void SetEditText(const std::string& text, int selStart = -1, int selLength = 0);
    // Writes into the current cell through the cell path (popup choices).
    bool WriteCurrentCell(const Value& v);

    // Events of the view (the stores' events are the data control's).
    std::function<void(int lastRow, int lastCol)> RowColChange;
    std::function<void(bool& cancel)> SelChange;
    std::function<void()> Change;  // the text of the open cell editor changed
    std::function<void(int col, int key, bool& cancel)> BeforeColEdit;
    std::function<void(int col, std::string& text)> AfterColEdit;  // before the value goes to the store
    std::function<void(int col)> ButtonClick;
    std::function<void(int col, bool& cancel)> ColResize;  // the new width is in the layout already
    std::function<void(bool& cancel)> RowResize;

    // What a person does. TypeIntoCell opens the cell's editor, types and,
    // unless told to keep it open, stores it; false when nothing was stored.
    bool TypeIntoCell(int row, int col, const std::string& text, bool store = true);
    void UserResizeColumn(int col, double twips, int split = -1);
    void UserResizeRows(double twips);
    bool ClickCellButton();

    QTableView* Pane(int split) const;

private:
    friend class Column;
    friend class Split;
    friend class CellDelegate;
    friend class PaneView;
    struct Impl;

    ColumnLayout& LayoutRef(int split, int col);
    void ApplyColumn(int split, int col);
    void ApplyAll();
    void ApplyRowHeight();
    void UpdateFrozenWidth();
    void UpdateCellButtons();
    int PaneOfColumn(int col) const;  // first pane that shows it, else 0
    void OnColumnResized(int split, int col, int oldPx, int newPx);
    void OnRowResized(int oldPx, int newPx);
    void OnCurrentChanged(int row, int col, int lastRow, int lastCol);
    void OnSelectionChanged();
    void OnEditorOpened(QWidget* editor, int row, int col);
    void OnEditorClosed(QWidget* editor);
    void OnEditorEdited();
    void MakePane();
    // The columns in the order a person sees them: the frozen pane's, then the others.
    std::vector<int> ShownColumns() const;
    // The column beside `col` (step -1 or 1) across both panes; -1 at an end.
    int ColumnBeside(int col, int step) const;
    // The next (or previous) cell from (row, col) that takes typing, across
    // the panes and on to the next row; false at the end of the rows. A
    // column shown nowhere starts before the first column (after the last).
    bool NextEditableCell(int& row, int& col, bool forward) const;
    // Tab (or Shift+Tab) from a cell, as the tab action says.
    void TabFrom(int row, int col, bool forward);
    void FocusOutside(bool forward);
    // Keeps the keyboard, when it is in a pane, in the pane of the current cell.
    void FollowCurrentPane();

    GridModel* model_;
    std::vector<std::vector<ColumnLayout>> splits_;
    std::vector<bool> recordSelectors_;
    std::unique_ptr<Impl> d_;
    int headLines_ = 1;
    double rowHeight_ = 0;
    QWidget* activeEditor_ = nullptr;
    bool editorDirty_ = false;
    bool storeRefused_ = false;  // the last entry typed was refused
    int editedRow_ = -1, editedCol_ = -1;  // the cell the open editor belongs to
    int tabAction_ = kTabCellToCell;
    bool keySelectsRow_ = false;
    int applying_ = 0;  // layout being applied by code: no resize events
};

}  // namespace vt::grid
