#include "platform/grid/grid_qt.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>

#include <algorithm>
#include <set>

#include "platform/ui/twips_qt.h"

namespace vt::grid {

namespace {
QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
std::string S(const QString& s) { return s.toUtf8().toStdString(); }
}  // namespace

// Draws and edits the cells of one pane with that pane's formats,
// alignments and wrapping.
class CellDelegate : public QStyledItemDelegate {
public:
    CellDelegate(Grid* grid, int split, QObject* parent) : QStyledItemDelegate(parent), grid_(grid), split_(split) {}
    void SetSplit(int s) { split_ = s; }

    QString Display(const QModelIndex& index) const {
        const Value v = index.data(GridModel::ValueRole).value<Value>();
        const ColumnLayout& c = grid_->Layout(split_, index.column());
        return Q(c.numberFormat.empty() ? v.ToText() : Format(v, c.numberFormat));
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        QObject::connect(editor, &QLineEdit::textEdited, grid_, [g = grid_] { g->OnEditorEdited(); });
        grid_->OnEditorOpened(editor, index.row(), index.column());
        return editor;
    }

    void destroyEditor(QWidget* editor, const QModelIndex& index) const override {
        grid_->OnEditorClosed(editor);
        QStyledItemDelegate::destroyEditor(editor, index);
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        // An editor already typed into keeps its text when the row is redrawn.
        if (editor == grid_->activeEditor_ && grid_->editorDirty_) return;
        static_cast<QLineEdit*>(editor)->setText(Display(index));
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
        if (editor != grid_->activeEditor_ || !grid_->editorDirty_) return;  // nothing typed
        std::string text = S(static_cast<QLineEdit*>(editor)->text());
        if (grid_->AfterColEdit) grid_->AfterColEdit(index.column(), text);
        grid_->editorDirty_ = false;
        model->setData(index, Q(text), Qt::EditRole);
        grid_->storeRefused_ = !grid_->model_->LastStoreSucceeded();
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const ColumnLayout& c = grid_->Layout(split_, index.column());
        option->text = Display(index);
        Qt::Alignment h;
        switch (c.alignment) {
        case kAlignLeft: h = Qt::AlignLeft; break;
        case kAlignRight: h = Qt::AlignRight; break;
        case kAlignCenter: h = Qt::AlignHCenter; break;
        default: h = index.data(GridModel::ValueRole).value<Value>().IsNumberType() ? Qt::AlignRight : Qt::AlignLeft;
        }
        // Wrapping shows only in rows with room for a second line; in lower
        // rows a cut-off second line would hide the first one's end.
        const bool wrap = c.wrapText && option->rect.height() >= 2 * option->fontMetrics.lineSpacing();
        option->displayAlignment = h | (wrap ? Qt::AlignTop : Qt::AlignVCenter);
        if (wrap) option->features |= QStyleOptionViewItem::WrapText;
        else option->features &= ~QStyleOptionViewItem::WrapText;
    }

private:
    Grid* grid_;
    int split_;
};

// One pane: asks the grid before an edit starts.
class PaneView : public QTableView {
public:
    PaneView(Grid* grid, QWidget* parent) : QTableView(parent), grid_(grid) {}
    int split = 0;
    QToolButton* cellButton = nullptr;

    bool OpenEditor(const QModelIndex& index) { return edit(index, AllEditTriggers, nullptr); }

protected:
    // Tab is the grid's, never the focus chain's: the next editable cell or out of the grid.
    bool event(QEvent* e) override {
        if (e->type() == QEvent::KeyPress) {
            const auto* k = static_cast<QKeyEvent*>(e);
            const bool tab = k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab;
            if (tab && !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
                const bool forward = k->key() == Qt::Key_Tab && !(k->modifiers() & Qt::ShiftModifier);
                grid_->TabFrom(currentIndex().row(), currentIndex().column(), forward);
                return true;
            }
        }
        return QTableView::event(e);
    }

    // Typing never searches the rows: on a cell that cannot be edited, the
    // first letter would move the cursor to another row and the rest of the
    // typing would land there.
    void keyboardSearch(const QString&) override {
        const QModelIndex current = currentIndex();
        if (current.isValid() && grid_->CellLocked(current.row(), current.column())) QApplication::beep();
    }

    // An arrow past the first or last row moves nowhere, but still stores the
    // open cell, as every arrow out of a cell does. F4 and Alt+Down open a
    // cell's pick list, as they open a combo box's.
    void keyPressEvent(QKeyEvent* e) override {
        const bool pick = (e->key() == Qt::Key_F4 && e->modifiers() == Qt::NoModifier) ||
                          (e->key() == Qt::Key_Down && e->modifiers() == Qt::AltModifier);
        if (pick && grid_->ClickCellButton()) return;
        if (e->key() == Qt::Key_Space && e->modifiers() == Qt::ShiftModifier && grid_->keySelectsRow_) {
            const QModelIndex current = currentIndex();
            if (current.isValid())
                selectionModel()->select(current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            return;
        }
        const bool vertical = (e->key() == Qt::Key_Up || e->key() == Qt::Key_Down) && e->modifiers() == Qt::NoModifier;
        const QModelIndex before = currentIndex();
        QTableView::keyPressEvent(e);
        if (vertical && grid_->EditActive() && currentIndex() == before) grid_->UpdateRecord();
    }

    // Left and Right cross from one pane into the other on the same row.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
        const QModelIndex current = currentIndex();
        if ((action == MoveLeft || action == MoveRight) && current.isValid()) {
            const int col = grid_->ColumnBeside(current.column(), action == MoveRight ? 1 : -1);
            return col < 0 ? current : model()->index(current.row(), col);
        }
        return QTableView::moveCursor(action, modifiers);
    }

    // Tab out of an open cell goes on from that cell, even when storing it
    // bound the rows again; a refused entry keeps the cursor where it was.
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override {
        const bool forward = hint == QAbstractItemDelegate::EditNextItem;
        const bool tab = forward || hint == QAbstractItemDelegate::EditPreviousItem;
        const int row = grid_->editedRow_, col = grid_->editedCol_;
        QTableView::closeEditor(editor, tab ? QAbstractItemDelegate::NoHint : hint);
        if (!tab) return;
        if (grid_->storeRefused_) grid_->TakeKeyboard();
        else grid_->TabFrom(row, col, forward);
    }

    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override {
        const bool starts = index.isValid() && state() != EditingState &&
                            (model()->flags(index) & Qt::ItemIsEditable) &&
                            (trigger == AllEditTriggers || (trigger & editTriggers()));
        if (starts && grid_->BeforeColEdit) {
            int key = 0;
            if (event && event->type() == QEvent::KeyPress) {
                const QString text = static_cast<QKeyEvent*>(event)->text();
                key = text.isEmpty() ? 0 : text.front().unicode();
            }
            bool cancel = false;
            grid_->BeforeColEdit(index.column(), key, cancel);
            if (cancel) return false;
        }
        return QTableView::edit(index, trigger, event);
    }

    // The keyboard coming into the grid (Shift+Tab from the buttons, a
    // window activated) lands in the pane that shows the current cell.
    void focusInEvent(QFocusEvent* e) override {
        QTableView::focusInEvent(e);
        grid_->FollowCurrentPane();
    }

    void updateGeometries() override {
        QTableView::updateGeometries();
        grid_->UpdateCellButtons();
    }

    // A pane shown before its window was sized has scrolled to the current
    // cell; once it is wide enough to show every column from the first up to
    // that one, it shows them from the first again.
    void resizeEvent(QResizeEvent* event) override {
        QTableView::resizeEvent(event);
        const QModelIndex current = currentIndex();
        QScrollBar* bar = horizontalScrollBar();
        if (bar->value() == 0 || !current.isValid() || isColumnHidden(current.column())) return;
        const int right = horizontalHeader()->sectionPosition(current.column()) + columnWidth(current.column());
        if (right <= viewport()->width()) bar->setValue(0);
    }

private:
    Grid* grid_;
};

struct Grid::Impl {
    QHBoxLayout* box = nullptr;
    std::vector<PaneView*> panes;  // by split
    QItemSelectionModel* selection = nullptr;
    QItemSelection lastSelection;
    bool revertingSelection = false;
};

Grid::Grid(QWidget* parent) : QWidget(parent), model_(new GridModel(this)), d_(std::make_unique<Impl>()) {
    setObjectName("grd");
    model_->CellLocked = [this](int row, int col) { return CellLocked(row, col); };
    d_->box = new QHBoxLayout(this);
    d_->box->setContentsMargins(0, 0, 0, 0);
    d_->box->setSpacing(0);
    d_->selection = new QItemSelectionModel(model_, this);
    connect(d_->selection, &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& now, const QModelIndex& before) {
                OnCurrentChanged(now.row(), now.column(), before.row(), before.column());
            });
    connect(d_->selection, &QItemSelectionModel::selectionChanged, this, [this] { OnSelectionChanged(); });
    splits_.emplace_back();
    recordSelectors_.push_back(true);
    MakePane();
    rowHeight_ = std::max(kMinRowHeight, ui::Twips(fontMetrics().lineSpacing() + 6));
    SetHeadLines(1);
    ApplyRowHeight();
}

Grid::~Grid() {
    // The panes go first, while everything their signals reach still exists.
    d_->selection->disconnect(this);
    for (PaneView* view : d_->panes) {
        view->disconnect();
        view->horizontalHeader()->disconnect(this);
        view->verticalHeader()->disconnect(this);
        delete view;
    }
    d_->panes.clear();
}

void Grid::MakePane() {
    auto* view = new PaneView(this, this);
    view->setModel(model_);
    view->setSelectionModel(d_->selection);
    view->setItemDelegate(new CellDelegate(this, 0, view));
    view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    view->setTabKeyNavigation(false);
    view->setWordWrap(true);
    view->setCornerButtonEnabled(false);
    QHeaderView* h = view->horizontalHeader();
    h->setDefaultAlignment(Qt::AlignLeft | Qt::AlignBottom);
    h->setTextElideMode(Qt::ElideNone);
    h->setHighlightSections(false);
    h->setSectionResizeMode(QHeaderView::Interactive);
    h->setMinimumSectionSize(2);
    QHeaderView* v = view->verticalHeader();
    v->setSectionResizeMode(QHeaderView::Interactive);
    v->setMinimumSectionSize(2);
    v->setDefaultAlignment(Qt::AlignCenter);
    v->setMinimumWidth(ui::Px(200));

    view->cellButton = new QToolButton(view->viewport());
    view->cellButton->setText("...");
    view->cellButton->setObjectName("cellButton");
    view->cellButton->hide();
    connect(view->cellButton, &QToolButton::clicked, this, [this] { ClickCellButton(); });

    connect(h, &QHeaderView::sectionResized, this, [this, view](int col, int oldPx, int newPx) {
        OnColumnResized(view->split, col, oldPx, newPx);
    });
    connect(v, &QHeaderView::sectionResized, this,
            [this](int, int oldPx, int newPx) { OnRowResized(oldPx, newPx); });
    // The panes scroll their rows together.
    for (PaneView* other : d_->panes) {
        connect(view->verticalScrollBar(), &QScrollBar::valueChanged, other->verticalScrollBar(),
                &QScrollBar::setValue);
        connect(other->verticalScrollBar(), &QScrollBar::valueChanged, view->verticalScrollBar(),
                &QScrollBar::setValue);
    }
    d_->panes.insert(d_->panes.begin(), view);
    d_->box->insertWidget(0, view, 0);
    for (size_t i = 0; i < d_->panes.size(); ++i) {
        d_->panes[i]->split = static_cast<int>(i);
        static_cast<CellDelegate*>(d_->panes[i]->itemDelegate())->SetSplit(static_cast<int>(i));
        d_->box->setStretch(static_cast<int>(i), i + 1 == d_->panes.size() ? 1 : 0);
    }
}

QTableView* Grid::Pane(int split) const {
    return split >= 0 && split < static_cast<int>(d_->panes.size()) ? d_->panes[static_cast<size_t>(split)] : nullptr;
}

// ---- Binding ----

void Grid::Bind(db::Database& db, const std::string& recordSource) {
    if (activeEditor_) UpdateRecord();
    // The frozen pane goes: a keyboard in it would otherwise leave the grid.
    const bool keyboard = HasKeyboard();
    if (keyboard) d_->panes.back()->setFocus(Qt::OtherFocusReason);
    ++applying_;
    while (d_->panes.size() > 1) {
        PaneView* frozen = d_->panes.front();
        d_->panes.erase(d_->panes.begin());
        frozen->deleteLater();
        frozen->hide();
    }
    d_->panes[0]->split = 0;
    static_cast<CellDelegate*>(d_->panes[0]->itemDelegate())->SetSplit(0);
    splits_.assign(1, {});
    recordSelectors_.assign(1, true);
    model_->Bind(db, recordSource);
    splits_[0].assign(static_cast<size_t>(model_->FieldCount()), ColumnLayout{});
    --applying_;
    ApplyAll();
    if (model_->RecordCount() > 0) SetCurrentCell(0, 0);
    else OnCurrentChanged(-1, -1, -1, -1);
    if (keyboard) TakeKeyboard();
}

void Grid::Refresh() {
    if (activeEditor_) UpdateRecord();
    const int col = Col();
    model_->Refresh();
    for (auto& s : splits_) s.resize(static_cast<size_t>(model_->FieldCount()));
    ApplyAll();
    if (model_->RecordCount() > 0) SetCurrentCell(0, std::max(col, 0));
}

bool Grid::Reread(db::Database& db, const std::string& recordSource) {
    if (activeEditor_) UpdateRecord();
    const int row = Row(), col = Col();
    switch (model_->Reread(db, recordSource)) {
    case GridModel::RereadResult::Rebind: return false;
    case GridModel::RereadResult::InPlace: return true;
    case GridModel::RereadResult::RowsChanged: break;
    }
    // A reset lays the header sections out afresh.
    ApplyAll();
    if (model_->RecordCount() > 0) SetCurrentCell(std::clamp(row, 0, model_->RecordCount() - 1), std::max(col, 0));
    else OnCurrentChanged(-1, -1, -1, -1);
    return true;
}

// ---- Layout ----

const ColumnLayout& Grid::Layout(int split, int col) const {
    static const ColumnLayout none;
    if (split < 0 || split >= SplitCount()) return none;
    const auto& s = splits_[static_cast<size_t>(split)];
    return col >= 0 && col < static_cast<int>(s.size()) ? s[static_cast<size_t>(col)] : none;
}

ColumnLayout& Grid::LayoutRef(int split, int col) {
    auto& s = splits_.at(static_cast<size_t>(split));
    if (col < 0 || col >= static_cast<int>(s.size())) throw std::out_of_range("no grid column " + std::to_string(col));
    return s[static_cast<size_t>(col)];
}

void Grid::AddSplit() {
    if (SplitCount() >= 2) return;
    splits_.insert(splits_.begin(), splits_.front());
    recordSelectors_.insert(recordSelectors_.begin(), true);
    MakePane();
    ApplyAll();
    if (Row() >= 0) d_->panes[0]->setCurrentIndex(model_->index(Row(), std::max(Col(), 0)));
    FollowCurrentPane();
}

void Grid::ApplyColumn(int split, int col) {
    PaneView* view = d_->panes.at(static_cast<size_t>(split));
    const ColumnLayout& c = Layout(split, col);
    ++applying_;
    view->setColumnHidden(col, !c.visible);
    if (c.visible) view->setColumnWidth(col, ui::Px(c.width < 0 ? DefaultColumnWidth() : c.width));
    --applying_;
    view->viewport()->update();
}

void Grid::ApplyAll() {
    for (int s = 0; s < SplitCount(); ++s) {
        PaneView* view = d_->panes[static_cast<size_t>(s)];
        const bool frozen = SplitCount() == 2 && s == 0;
        view->setHorizontalScrollBarPolicy(frozen ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
        view->setVerticalScrollBarPolicy(frozen ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
        view->verticalHeader()->setVisible(recordSelectors_[static_cast<size_t>(s)]);
        for (int c = 0; c < ColumnCount(); ++c) ApplyColumn(s, c);
    }
    SetHeadLines(headLines_);
    ApplyRowHeight();
    UpdateFrozenWidth();
    UpdateCellButtons();
}

void Grid::UpdateFrozenWidth() {
    if (SplitCount() < 2) return;
    PaneView* frozen = d_->panes[0];
    int w = 2 * frozen->frameWidth();
    for (int c = 0; c < ColumnCount(); ++c)
        if (!frozen->isColumnHidden(c)) w += frozen->columnWidth(c);
    // As wide as the view lays the record selectors out, so that the pane
    // never has to scroll sideways to show its current cell.
    if (const QHeaderView* selectors = frozen->verticalHeader(); !selectors->isHidden())
        w += std::max(selectors->minimumWidth(), selectors->sizeHint().width());
    frozen->setFixedWidth(w);
}

void Grid::SetHeadLines(int lines) {
    headLines_ = std::max(lines, 1);
    for (PaneView* view : d_->panes) {
        const QFontMetrics fm(view->horizontalHeader()->font());
        view->horizontalHeader()->setFixedHeight(fm.lineSpacing() * headLines_ + 8);
    }
}

double Grid::HeaderHeight() const { return ui::Twips(d_->panes.back()->horizontalHeader()->height()); }

void Grid::SetRowHeight(double twips) {
    rowHeight_ = std::max(twips, kMinRowHeight);
    ApplyRowHeight();
}

void Grid::ApplyRowHeight() {
    const int px = ui::Px(rowHeight_);
    ++applying_;
    for (PaneView* view : d_->panes) {
        QHeaderView* v = view->verticalHeader();
        v->setDefaultSectionSize(px);
        for (int r = 0; r < v->count(); ++r)
            if (v->sectionSize(r) != px) v->resizeSection(r, px);
    }
    --applying_;
}

int Grid::PaneOfColumn(int col) const {
    for (int s = 0; s < SplitCount(); ++s)
        if (Layout(s, col).visible) return s;
    return 0;
}

bool Grid::CellLocked(int row, int col) const {
    if (Layout(PaneOfColumn(col), col).locked) return true;
    return CellLockRule && CellLockRule(row, col);
}

// ---- Cursor ----

int Grid::Row() const { return d_->selection->currentIndex().isValid() ? d_->selection->currentIndex().row() : -1; }
int Grid::Col() const {
    return d_->selection->currentIndex().isValid() ? d_->selection->currentIndex().column() : -1;
}

void Grid::SetCurrentCell(int row, int col) {
    if (row < 0 || row >= model_->RecordCount() || col < 0 || col >= ColumnCount()) return;
    if (activeEditor_) UpdateRecord();
    // Shown as an arrow's move shows: the new cell alone selected, so that
    // no cell left behind still looks current.
    d_->selection->setCurrentIndex(model_->index(row, col), QItemSelectionModel::ClearAndSelect);
}

void Grid::SetFirstEditableCell() {
    if (model_->RecordCount() == 0) return;
    int row = 0, col = -1;
    if (!NextEditableCell(row, col, true)) {
        const std::vector<int> shown = ShownColumns();
        row = 0;
        col = shown.empty() ? 0 : shown.front();
    }
    SetCurrentCell(row, col);
    MakeCurrentVisible();
}

QRect Grid::CurrentCellRect() const {
    const QModelIndex current = d_->selection->currentIndex();
    if (!current.isValid()) return {};
    const PaneView* view = d_->panes[static_cast<size_t>(PaneOfColumn(current.column()))];
    const QRect cell = view->visualRect(current);
    return cell.isValid() ? QRect(view->viewport()->mapToGlobal(cell.topLeft()), cell.size()) : QRect();
}

int Grid::FirstRow() const {
    if (model_->RecordCount() == 0) return -1;
    const int r = d_->panes.back()->verticalScrollBar()->value();
    return std::clamp(r, 0, model_->RecordCount() - 1);
}

void Grid::SetFirstRow(int row) {
    if (row < 0 || row >= model_->RecordCount()) return;
    PaneView* view = d_->panes.back();
    view->scrollTo(model_->index(row, std::max(Col(), 0)), QAbstractItemView::PositionAtTop);
    view->verticalScrollBar()->setValue(row);
}

void Grid::MakeCurrentVisible() {
    if (Row() < 0) return;
    d_->panes[static_cast<size_t>(PaneOfColumn(Col()))]->scrollTo(d_->selection->currentIndex());
}

bool Grid::StartEdit() {
    if (Row() < 0 || Col() < 0) return false;
    PaneView* view = d_->panes[static_cast<size_t>(PaneOfColumn(Col()))];
    return view->OpenEditor(d_->selection->currentIndex()) && activeEditor_;
}

bool Grid::FindFirst(const std::string& field, db::FindOp op, const Value& key) {
    const int r = model_->FindFirst(field, op, key);
    if (r >= 0) SetRow(r);
    return r >= 0;
}

bool Grid::FindLast(const std::string& field, db::FindOp op, const Value& key) {
    const int r = model_->FindLast(field, op, key);
    if (r >= 0) SetRow(r);
    return r >= 0;
}

std::vector<int> Grid::SelectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& i : d_->selection->selectedRows()) rows.push_back(i.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

// ---- The open cell ----

bool Grid::DataChanged() const { return activeEditor_ && editorDirty_; }

bool Grid::UpdateRecord() {
    QWidget* editor = activeEditor_;
    if (!editor) return true;
    auto* view = qobject_cast<QAbstractItemView*>(editor->parentWidget() ? editor->parentWidget()->parentWidget()
                                                                           : nullptr);
    auto* delegate = view ? qobject_cast<QStyledItemDelegate*>(view->itemDelegate()) : nullptr;
    if (!delegate) return true;
    const bool typed = editorDirty_;
    if (typed) emit delegate->commitData(editor);
    const bool ok = !typed || model_->LastStoreSucceeded();
    if (activeEditor_ == editor) emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
    return ok;
}

std::string Grid::EditText() const {
    auto* line = qobject_cast<QLineEdit*>(activeEditor_);
    return line ? S(line->text()) : Column(const_cast<Grid*>(this), -1, Col()).Text();
}

void Grid::SetEditText(const std::string& text, int selStart, int selLength) {
    auto* line = qobject_cast<QLineEdit*>(activeEditor_);
    if (!line) return;
    line->setText(Q(text));
    if (selStart >= 0) line->setSelection(selStart, selLength);
    editorDirty_ = true;
}

bool Grid::WriteCurrentCell(const Value& v) {
    if (Row() < 0 || Col() < 0 || CellLocked(Row(), Col())) return false;
    if (activeEditor_) {
        editorDirty_ = false;  // the choice replaces what was typed
        UpdateRecord();
    }
    return model_->StoreCell(Row(), Col(), v);
}

void Grid::OnEditorOpened(QWidget* editor, int row, int col) {
    activeEditor_ = editor;
    editorDirty_ = false;
    storeRefused_ = false;
    editedRow_ = row;
    editedCol_ = col;
}

void Grid::OnEditorClosed(QWidget* editor) {
    if (activeEditor_ == editor) {
        activeEditor_ = nullptr;
        editorDirty_ = false;
    }
}

void Grid::OnEditorEdited() {
    editorDirty_ = true;
    if (Change) Change();
}

bool Grid::TypeIntoCell(int row, int col, const std::string& text, bool store) {
    SetCurrentCell(row, col);
    if (Row() != row || Col() != col || !StartEdit()) return false;
    SetEditText(text);
    if (Change) Change();
    return store ? UpdateRecord() : false;
}

// ---- Events from the panes ----

void Grid::OnCurrentChanged(int, int, int lastRow, int lastCol) {
    // The panes store an open cell themselves when the user moves off it;
    // moves by code store it first (SetCurrentCell).
    UpdateCellButtons();
    FollowCurrentPane();
    if (RowColChange) RowColChange(lastRow, lastCol);
}

// ---- The keyboard ----

bool Grid::HasKeyboard() const {
    const QWidget* f = window()->focusWidget();
    return f && (f == this || isAncestorOf(f));
}

void Grid::TakeKeyboard() {
    if (activeEditor_ && activeEditor_->isVisible()) {
        activeEditor_->setFocus(Qt::OtherFocusReason);
        return;
    }
    d_->panes[static_cast<size_t>(PaneOfColumn(std::max(Col(), 0)))]->setFocus(Qt::OtherFocusReason);
}

void Grid::FollowCurrentPane() {
    if (SplitCount() < 2 || Col() < 0) return;
    const QWidget* f = window()->focusWidget();
    PaneView* want = d_->panes[static_cast<size_t>(PaneOfColumn(Col()))];
    for (PaneView* view : d_->panes)
        if (f == view && view != want) want->setFocus(Qt::OtherFocusReason);
}

std::vector<int> Grid::ShownColumns() const {
    std::vector<int> shown;
    for (int s = 0; s < SplitCount(); ++s)
        for (int c = 0; c < ColumnCount(); ++c)
            if (Layout(s, c).visible && PaneOfColumn(c) == s) shown.push_back(c);
    return shown;
}

int Grid::ColumnBeside(int col, int step) const {
    const std::vector<int> shown = ShownColumns();
    const auto at = std::find(shown.begin(), shown.end(), col);
    if (at == shown.end()) return -1;
    const auto i = (at - shown.begin()) + step;
    return i >= 0 && i < static_cast<std::ptrdiff_t>(shown.size()) ? shown[static_cast<size_t>(i)] : -1;
}

bool Grid::NextEditableCell(int& row, int& col, bool forward) const {
    const int rows = model_->RecordCount();
    if (rows == 0) return false;
    const std::vector<int> shown = ShownColumns();
    const auto n = static_cast<std::ptrdiff_t>(shown.size());
    const auto at = std::find(shown.begin(), shown.end(), col);
    std::ptrdiff_t i = at != shown.end() ? at - shown.begin() : forward ? -1 : n;
    int r = std::clamp(row, 0, rows - 1);
    while (n > 0) {
        i += forward ? 1 : -1;
        if (i >= n) {
            if (++r >= rows) return false;
            i = 0;
        } else if (i < 0) {
            if (--r < 0) return false;
            i = n - 1;
        }
        const int c = shown[static_cast<size_t>(i)];
        if (CellLocked(r, c)) continue;
        row = r;
        col = c;
        return true;
    }
    return false;
}

void Grid::TabFrom(int row, int col, bool forward) {
    if (tabAction_ == kTabCellToCell && NextEditableCell(row, col, forward)) {
        SetCurrentCell(row, col);
        MakeCurrentVisible();
        TakeKeyboard();
        return;
    }
    FocusOutside(forward);
}

void Grid::FocusOutside(bool forward) {
    QWidget* w = this;
    for (int guard = 0; guard < 1000; ++guard) {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == this) return;
        if (isAncestorOf(w) || w->window() != window()) continue;
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled()) {
            w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    }
}

void Grid::OnSelectionChanged() {
    if (d_->revertingSelection) return;
    bool cancel = false;
    if (SelChange) SelChange(cancel);
    if (cancel) {
        d_->revertingSelection = true;
        d_->selection->select(d_->lastSelection, QItemSelectionModel::ClearAndSelect);
        d_->revertingSelection = false;
        return;
    }
    d_->lastSelection = d_->selection->selection();
}

void Grid::OnColumnResized(int split, int col, int oldPx, int newPx) {
    if (applying_ || newPx == 0 || split >= SplitCount()) return;
    ColumnLayout& c = LayoutRef(split, col);
    const double before = c.width;
    c.width = ui::Twips(newPx);
    bool cancel = false;
    if (ColResize) ColResize(col, cancel);
    if (cancel) {
        c.width = before;
        ApplyColumn(split, col);
    }
    UpdateFrozenWidth();
    UpdateCellButtons();
    (void)oldPx;
}

void Grid::OnRowResized(int oldPx, int newPx) {
    if (applying_) return;
    const double before = rowHeight_;
    bool cancel = false;
    rowHeight_ = ui::Twips(newPx);
    if (RowResize) RowResize(cancel);
    SetRowHeight(cancel ? before : rowHeight_);
    (void)oldPx;
}

void Grid::UpdateCellButtons() {
    const QModelIndex current = d_->selection->currentIndex();
    for (PaneView* view : d_->panes) {
        if (!view->cellButton) continue;
        const bool show = current.isValid() && Layout(view->split, current.column()).button &&
                          Layout(view->split, current.column()).visible;
        if (!show) {
            view->cellButton->hide();
            continue;
        }
        const QRect cell = view->visualRect(current);
        const int side = std::max(cell.height(), 8);
        view->cellButton->setGeometry(cell.right() - side + 1, cell.top(), side, side);
        view->cellButton->setVisible(cell.isValid() && view->viewport()->rect().intersects(cell));
    }
}

bool Grid::ClickCellButton() {
    if (Col() < 0 || !Layout(PaneOfColumn(Col()), Col()).button) return false;
    if (ButtonClick) ButtonClick(Col());
    return true;
}

void Grid::UserResizeColumn(int col, double twips, int split) {
    const int s = split < 0 ? PaneOfColumn(col) : split;
    d_->panes.at(static_cast<size_t>(s))->horizontalHeader()->resizeSection(col, ui::Px(twips));
}

void Grid::UserResizeRows(double twips) {
    if (model_->RecordCount() == 0) return;
    d_->panes.back()->verticalHeader()->resizeSection(0, ui::Px(twips));
}

// ---- Column and Split ----

const ColumnLayout& Column::Read() const {
    return g_->Layout(split_ < 0 ? g_->PaneOfColumn(col_) : split_, col_);
}

template <class F>
Column& Column::Write(F f) {
    for (int s = 0; s < g_->SplitCount(); ++s) {
        if (split_ >= 0 && s != split_) continue;
        f(g_->LayoutRef(s, col_));
        g_->ApplyColumn(s, col_);
    }
    g_->UpdateFrozenWidth();
    g_->FollowCurrentPane();
    return *this;
}

double Column::Width() const {
    const double w = Read().width;
    return w < 0 ? g_->DefaultColumnWidth() : w;
}
Column& Column::SetWidth(double twips) { return Write([&](ColumnLayout& c) { c.width = twips; }); }
bool Column::Visible() const { return Read().visible; }
Column& Column::SetVisible(bool v) { return Write([&](ColumnLayout& c) { c.visible = v; }); }
bool Column::Locked() const { return Read().locked; }
Column& Column::SetLocked(bool v) { return Write([&](ColumnLayout& c) { c.locked = v; }); }
bool Column::WrapText() const { return Read().wrapText; }
Column& Column::SetWrapText(bool v) { return Write([&](ColumnLayout& c) { c.wrapText = v; }); }
int Column::Alignment() const { return Read().alignment; }
Column& Column::SetAlignment(int a) { return Write([&](ColumnLayout& c) { c.alignment = a; }); }
std::string Column::NumberFormat() const { return Read().numberFormat; }
Column& Column::SetNumberFormat(const std::string& f) { return Write([&](ColumnLayout& c) { c.numberFormat = f; }); }
bool Column::Button() const { return Read().button; }
Column& Column::SetButton(bool v) {
    Write([&](ColumnLayout& c) { c.button = v; });
    g_->UpdateCellButtons();
    return *this;
}
std::string Column::Caption() const { return g_->Data().Caption(col_); }
Column& Column::SetCaption(const std::string& caption) {
    g_->Data().SetCaption(col_, caption);
    return *this;
}

Value Column::GetValue() const { return g_->Data().FieldValue(g_->Row(), col_); }

std::string Column::Text() const {
    const Value v = GetValue();
    const std::string& f = Read().numberFormat;
    return f.empty() ? v.ToText() : Format(v, f);
}

bool Column::SetValue(const Value& v) {
    if (g_->Row() < 0) return false;
    return g_->Data().SetFields(g_->Row(), {{g_->Data().FieldName(col_), v}});
}

int Split::ColumnCount() const { return g_->ColumnCount(); }
void Split::SetRecordSelectors(bool on) {
    g_->recordSelectors_.at(static_cast<size_t>(s_)) = on;
    g_->d_->panes.at(static_cast<size_t>(s_))->verticalHeader()->setVisible(on);
    g_->UpdateFrozenWidth();
}

int Split::SelStartCol() const {
    int first = -1;
    for (const QModelIndex& i : g_->d_->selection->selectedColumns())
        if (g_->Layout(s_, i.column()).visible && (first < 0 || i.column() < first)) first = i.column();
    return first;
}

int Split::SelEndCol() const {
    int last = -1;
    for (const QModelIndex& i : g_->d_->selection->selectedColumns())
        if (g_->Layout(s_, i.column()).visible && i.column() > last) last = i.column();
    return last;
}

void Split::SetSelCols(int first, int last) {
    QItemSelection sel;
    const int rows = g_->Data().RecordCount();
    if (first >= 0 && last >= first && rows > 0)
        sel.select(g_->Data().index(0, first), g_->Data().index(rows - 1, last));
    g_->d_->selection->select(sel, QItemSelectionModel::ClearAndSelect);
}

}  // namespace vt::grid
