// The data control of every worksheet window: the rows of one SELECT over the
// open report, shown through Qt's model/view, with each accepted cell written
// back at once to its table by SQLite's rowid (only the changed field).
//
// A cell is stored in this order, on the one path that typing, popup choices
// and code all take:
//   BeforeColUpdate (may rewrite the new value or cancel)
//   BeforeUpdate    (may cancel)
//   the write, then the row is read back from the table
//   AfterUpdate, AfterColUpdate
// A cancel, or a write the database refuses (told to the user), leaves the
// row as the table holds it, read again, and no after-event follows. A
// handler that stored the value itself (through an operation that changes
// more than this cell) says so: the grid writes nothing, reads the row again
// and raises the after-events.
#pragma once

#include <QAbstractTableModel>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/db/db.h"
#include "platform/value/value.h"

Q_DECLARE_METATYPE(vt::Value)

namespace vt::grid {

struct CellUpdate {
    int row = -1;
    int column = -1;
    Value oldValue;  // as the table holds it
    Value newValue;  // as typed (text) or as code passed it; a handler may rewrite it
    bool cancel = false;
    bool storedByHandler = false;  // the handler wrote it: no BeforeUpdate, no write of the grid's own
};

using FieldValues = std::vector<std::pair<std::string, Value>>;

class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The cell's Value, for delegates that format it themselves.
    static constexpr int ValueRole = Qt::UserRole + 1;

    explicit GridModel(QObject* parent = nullptr);

    // Binding. Bind takes the SELECT's fields as the columns (captions are
    // cleared); Refresh reads the rows of the same SELECT again. A SELECT over
    // one table is updatable; anything else is shown read-only.
    void Bind(db::Database& db, const std::string& recordSource);
    void Refresh();
    // Reads the rows of `recordSource` on `db` again, when that is what is
    // bound and the fields are the same. With the same rows (by rowid, in
    // order) only the rows whose values changed are announced, so views keep
    // their layout and repaint just those (InPlace); other rows reset the
    // model (RowsChanged). Rebind, with nothing changed, when the source or
    // the fields differ: the caller binds again.
    enum class RereadResult { Rebind, InPlace, RowsChanged };
    RereadResult Reread(db::Database& db, const std::string& recordSource);
    bool IsBound() const { return db_ != nullptr; }
    db::Database* Connection() const { return db_; }
    const std::string& RecordSource() const { return source_; }
    bool Updatable() const { return !table_.empty(); }

    // Rows and fields.
    int RecordCount() const { return static_cast<int>(rows_.size()); }
    int FieldCount() const { return static_cast<int>(names_.size()); }
    const std::string& FieldName(int col) const { return names_.at(static_cast<size_t>(col)); }
    int FieldIndex(const std::string& name) const;  // case ignored; -1 when absent
    const Value& FieldValue(int row, int col) const;
    Value FieldValue(int row, const std::string& name) const;
    // First / last row from `from` (-1: the end) whose field meets the test; -1 when none.
    int FindFirst(const std::string& field, db::FindOp op, const Value& v, int from = 0) const;
    int FindLast(const std::string& field, db::FindOp op, const Value& v, int from = -1) const;
    std::int64_t RowId(int row) const { return rowids_.at(static_cast<size_t>(row)); }
    int RowOfRowId(std::int64_t rowid) const;  // -1 when not shown

    // Writes. StoreCell is the cell path (events as above); SetFields and AddRow
    // bypass the cell events. Each returns false when nothing was stored.
    bool StoreCell(int row, int col, Value value);
    bool SetFields(int row, const FieldValues& fields);
    // Inserts a row, reads the SELECT again and returns the new row's index
    // (-1 when refused, or when the SELECT does not show it).
    int AddRow(const FieldValues& fields);
    // Reads one row back from its table (the cells show what is stored).
    void ReloadRow(int row);
    // The result of the last store through setData (the view ignores it).
    bool LastStoreSucceeded() const { return lastStoreOk_; }

    // Column captions: lines separated by carriage returns.
    std::string Caption(int col) const;
    void SetCaption(int col, const std::string& caption);

    // Events.
    std::function<void(CellUpdate&)> BeforeColUpdate;
    std::function<void(int row, int col, const Value& oldValue)> AfterColUpdate;
    std::function<void(int row, bool& cancel)> BeforeUpdate;
    std::function<void(int row)> AfterUpdate;
    // Whether a cell may be edited (the grid installs its column and cell locks).
    std::function<bool(int row, int col)> CellLocked;
    // How a refused write is told; by default a beep and a critical message box.
    std::function<void(const std::string& message)> WriteFailed;

    // QAbstractTableModel
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    struct Field {
        bool inTable = false;  // a field of the base table, so writable
        db::FieldType type = db::FieldType::Text;
        bool allowZeroLength = false;
    };
    // What a reading of the same source already knows of its fields.
    struct Known {
        const std::string& table;
        const std::vector<std::string>& names;
        const std::vector<Field>& fields;
    };
    void Load(const Known* known = nullptr);
    // The typed value a field of the table takes for what was entered.
    Value ForStore(int col, const Value& v) const;
    void WriteRow(int row, const FieldValues& fields);
    // Tells a failed write: `message` and the failure's own words, or, when
    // the file or the machine refused it, that `what` was not saved.
    void Fail(const std::string& message, const std::exception& e, const std::string& what);

    db::Database* db_ = nullptr;
    std::string source_, table_;
    std::vector<std::string> names_;
    std::vector<Field> fields_;
    std::vector<std::vector<Value>> rows_;
    std::vector<std::int64_t> rowids_;
    std::vector<std::string> captions_;
    bool lastStoreOk_ = true;
    bool storing_ = false;
};

}  // namespace vt::grid
