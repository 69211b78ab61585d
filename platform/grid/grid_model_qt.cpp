#include "platform/grid/grid_model_qt.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <optional>

#include "platform/ui/ui.h"
#include "platform/value/text.h"

namespace vt::grid {
namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

bool WordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The word (letters, digits, '_') at i, upper-cased; "" when none.
std::string WordAt(const std::string& s, size_t i) {
    size_t e = i;
    while (e < s.size() && WordChar(s[e])) ++e;
    return Upper(s.substr(i, e - i));
}

size_t SkipBlanks(const std::string& s, size_t i) {
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    return i;
}

// A SELECT over one table, rewritten to carry each row's rowid first.
struct Updatable {
    std::string sql;
    std::string table;
};

// Only "SELECT <fields> FROM <table> [WHERE ...] [ORDER BY ...]" qualifies:
// joins, groups and DISTINCT have no row of a table behind each line.
std::optional<Updatable> WithRowid(const std::string& sql) {
    size_t i = SkipBlanks(sql, 0);
    if (WordAt(sql, i) != "SELECT") return std::nullopt;
    const size_t afterSelect = i + 6;
    if (WordAt(sql, SkipBlanks(sql, afterSelect)) == "DISTINCT") return std::nullopt;
    // FROM at the top level, outside quotes and parentheses.
    int depth = 0;
    char quote = 0;
    size_t from = std::string::npos;
    for (size_t k = afterSelect; k < sql.size(); ++k) {
        const char c = sql[k];
        if (quote) {
            if (c == quote) quote = 0;
            continue;
        }
        if (c == '\'' || c == '"' || c == '`') quote = c;
        else if (c == '[') quote = ']';
        else if (c == '(') ++depth;
        else if (c == ')') --depth;
        else if (depth == 0 && (k == 0 || !WordChar(sql[k - 1])) && WordAt(sql, k) == "FROM") {
            from = k;
            break;
        }
    }
    if (from == std::string::npos) return std::nullopt;
    size_t t = SkipBlanks(sql, from + 4);
    std::string table;
    size_t end = t;
    if (t < sql.size() && (sql[t] == '[' || sql[t] == '"' || sql[t] == '`')) {
        const char close = sql[t] == '[' ? ']' : sql[t];
        end = sql.find(close, t + 1);
        if (end == std::string::npos) return std::nullopt;
        table = sql.substr(t + 1, end - t - 1);
        ++end;
    } else {
        while (end < sql.size() && WordChar(sql[end])) ++end;
        table = sql.substr(t, end - t);
    }
    if (table.empty()) return std::nullopt;
    const size_t next = SkipBlanks(sql, end);
    const std::string word = WordAt(sql, next);
    const bool ends = next >= sql.size() || sql[next] == ';';
    if (!ends && word != "WHERE" && word != "ORDER" && word != "LIMIT") return std::nullopt;
    return Updatable{sql.substr(0, afterSelect) + " rowid AS vt_rowid_," + sql.substr(afterSelect), table};
}

// Comparison of a field with a key as the finds of the data control make it:
// numbers as numbers, dates as dates, text without case; Null meets nothing.
std::optional<int> Compare(const Value& a, const Value& b) {
    if (a.IsNull() || b.IsNull()) return std::nullopt;
    try {
        if (a.IsDateType() || b.IsDateType()) {
            const double x = a.ToDate().serial, y = b.ToDate().serial;
            return x < y ? -1 : (x > y ? 1 : 0);
        }
        if ((a.IsNumberType() || b.IsNumberType()) && IsNumeric(a) && IsNumeric(b)) {
            const Currency x = a.ToCurrency(), y = b.ToCurrency();
            if (x != y) return x < y ? -1 : 1;
            const double dx = a.ToDouble(), dy = b.ToDouble();
            return dx < dy ? -1 : (dx > dy ? 1 : 0);
        }
        if (a.IsNumberType() || b.IsNumberType()) return std::nullopt;
        const std::string x = Upper(a.ToText()), y = Upper(b.ToText());
        return x < y ? -1 : (x > y ? 1 : 0);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

bool Meets(const Value& field, db::FindOp op, const Value& key) {
    const auto c = Compare(field, key);
    if (!c) return false;
    switch (op) {
    case db::FindOp::Eq: return *c == 0;
    case db::FindOp::Ne: return *c != 0;
    case db::FindOp::Lt: return *c < 0;
    case db::FindOp::Le: return *c <= 0;
    case db::FindOp::Gt: return *c > 0;
    case db::FindOp::Ge: return *c >= 0;
    }
    return false;
}

const Value kNull = Value::Null();

}  // namespace

GridModel::GridModel(QObject* parent) : QAbstractTableModel(parent) { setObjectName("dat"); }

void GridModel::Bind(db::Database& db, const std::string& recordSource) {
    beginResetModel();
    db_ = &db;
    source_ = recordSource;
    Load();
    captions_ = names_;
    endResetModel();
}

void GridModel::Refresh() {
    if (!db_) return;
    const auto oldNames = names_;
    beginResetModel();
    Load();
    if (names_ != oldNames) captions_ = names_;
    endResetModel();
}

GridModel::RereadResult GridModel::Reread(db::Database& db, const std::string& recordSource) {
    if (db_ != &db || source_ != recordSource || !db.IsOpen() || table_.empty()) return RereadResult::Rebind;
    // Load fills the members; the shown rows stay aside until the new ones are known to fit.
    auto names = std::move(names_);
    auto fields = std::move(fields_);
    auto rows = std::move(rows_);
    auto rowids = std::move(rowids_);
    const std::string table = table_;
    const auto swapShown = [&] {
        std::swap(names_, names), std::swap(fields_, fields), std::swap(rows_, rows), std::swap(rowids_, rowids);
    };
    try {
        const Known known{table, names, fields};
        Load(&known);
    } catch (...) {
        swapShown();
        table_ = table;
        throw;
    }
    if (names_ != names || table_ != table) {
        swapShown();
        table_ = table;
        return RereadResult::Rebind;
    }
    if (rowids_ != rowids) {
        swapShown();
        beginResetModel();
        swapShown();
        endResetModel();
        return RereadResult::RowsChanged;
    }
    const auto same = [](const std::vector<Value>& a, const std::vector<Value>& b) {
        for (size_t c = 0; c < a.size(); ++c)
            if (a[c].Type() != b[c].Type() || !(a[c] == b[c])) return false;
        return true;
    };
    for (size_t r = 0; r < rows_.size();) {
        if (same(rows_[r], rows[r])) {
            ++r;
            continue;
        }
        size_t end = r + 1;
        while (end < rows_.size() && !same(rows_[end], rows[end])) ++end;
        emit dataChanged(index(static_cast<int>(r), 0), index(static_cast<int>(end) - 1, FieldCount() - 1));
        r = end;
    }
    return RereadResult::InPlace;
}

void GridModel::Load(const Known* known) {
    names_.clear();
    fields_.clear();
    rows_.clear();
    rowids_.clear();
    table_.clear();
    if (!db_ || !db_->IsOpen()) return;

    std::optional<db::Recordset> opened;
    int first = 0;
    if (auto u = WithRowid(source_); u && db_->TableExists(u->table)) {
        try {
            opened.emplace(db_->OpenRecordset(u->sql));
            table_ = u->table;
            first = 1;
        } catch (const db::DbError&) {
            // Not a plain table after all (a view, a field list it cannot
            // take): shown read-only below.
        }
    }
    if (!opened) opened.emplace(db_->OpenRecordset(source_));
    db::Recordset& rs = *opened;

    for (int i = first; i < rs.FieldCount(); ++i) names_.push_back(rs.FieldName(i));
    if (known && known->table == table_ && known->names == names_) {
        // Read again: the same fields of the same table are what they were.
        fields_ = known->fields;
    } else {
        std::vector<db::FieldDef> defs;
        if (!table_.empty()) defs = db_->Fields(table_);
        for (const std::string& name : names_) {
            Field f;
            for (const auto& d : defs) {
                if (Upper(d.name) == Upper(name)) {
                    f.inTable = true;
                    f.type = d.type;
                    f.allowZeroLength = d.allowZeroLength;
                }
            }
            fields_.push_back(f);
        }
    }
    rows_.reserve(static_cast<size_t>(rs.RecordCount()));
    if (rs.RecordCount() > 0) rs.MoveFirst();
    for (; rs.RecordCount() > 0 && !rs.Eof(); rs.MoveNext()) {
        if (first) rowids_.push_back(rs.Field(0).ToLong());
        std::vector<Value> row;
        row.reserve(names_.size());
        for (int i = first; i < rs.FieldCount(); ++i) row.push_back(rs.Field(i));
        rows_.push_back(std::move(row));
    }
}

int GridModel::FieldIndex(const std::string& name) const {
    const std::string u = Upper(name);
    for (size_t i = 0; i < names_.size(); ++i)
        if (Upper(names_[i]) == u) return static_cast<int>(i);
    return -1;
}

const Value& GridModel::FieldValue(int row, int col) const {
    if (row < 0 || row >= RecordCount() || col < 0 || col >= FieldCount()) return kNull;
    return rows_[static_cast<size_t>(row)][static_cast<size_t>(col)];
}

Value GridModel::FieldValue(int row, const std::string& name) const {
    const int col = FieldIndex(name);
    if (col < 0) throw db::DbError("Item not found in this collection: " + name);
    return FieldValue(row, col);
}

int GridModel::FindFirst(const std::string& field, db::FindOp op, const Value& v, int from) const {
    const int col = FieldIndex(field);
    if (col < 0) throw db::DbError("Item not found in this collection: " + field);
    for (int r = std::max(from, 0); r < RecordCount(); ++r)
        if (Meets(FieldValue(r, col), op, v)) return r;
    return -1;
}

int GridModel::FindLast(const std::string& field, db::FindOp op, const Value& v, int from) const {
    const int col = FieldIndex(field);
    if (col < 0) throw db::DbError("Item not found in this collection: " + field);
    for (int r = (from < 0 || from >= RecordCount()) ? RecordCount() - 1 : from; r >= 0; --r)
        if (Meets(FieldValue(r, col), op, v)) return r;
    return -1;
}

int GridModel::RowOfRowId(std::int64_t rowid) const {
    for (size_t r = 0; r < rowids_.size(); ++r)
        if (rowids_[r] == rowid) return static_cast<int>(r);
    return -1;
}

Value GridModel::ForStore(int col, const Value& v) const {
    const Field& f = fields_.at(static_cast<size_t>(col));
    if (!v.IsString() && !v.IsEmpty()) return v;
    const std::string text = v.IsEmpty() ? std::string() : v.Str();
    switch (f.type) {
    case db::FieldType::Text:
    case db::FieldType::Memo:
        if (!text.empty()) return v;
        return f.allowZeroLength ? Value("") : Value::Null();
    case db::FieldType::Date: {
        if (Trim(text, kWhiteSpace).empty()) return Value::Null();
        if (auto d = ParseDate(Trim(text, kWhiteSpace))) return Value(*d);
        throw TypeMismatch("\"" + text + "\" is not a date.");
    }
    default:
        if (Trim(text, kWhiteSpace).empty()) return Value::Null();
        // One plain decimal syntax in every cell, whatever the desktop's language.
        if (!IsPlainNumber(text)) throw TypeMismatch("\"" + text + "\" is not a number.");
        return Value(text);
    }
}

void GridModel::WriteRow(int row, const FieldValues& fields) {
    auto rs = db_->OpenTable(table_, "rowid = ?", "", {Value(RowId(row))});
    if (rs.RecordCount() == 0) throw db::DbError("The row is no longer in table " + table_ + ".");
    rs.MoveFirst();
    rs.Edit();
    for (const auto& [name, value] : fields) {
        const int col = FieldIndex(name);
        rs.Set(name, col >= 0 && fields_[static_cast<size_t>(col)].inTable ? ForStore(col, value) : value);
    }
    rs.Update();
    auto& cells = rows_[static_cast<size_t>(row)];
    for (size_t c = 0; c < names_.size(); ++c)
        if (fields_[c].inTable) cells[c] = rs.Field(names_[c]);
    emit dataChanged(index(row, 0), index(row, FieldCount() - 1));
}

void GridModel::ReloadRow(int row) {
    if (!db_ || !db_->IsOpen() || table_.empty() || row < 0 || row >= RecordCount()) return;
    try {
        auto rs = db_->OpenTable(table_, "rowid = ?", "", {Value(RowId(row))});
        if (rs.RecordCount() == 0) return;
        rs.MoveFirst();
        auto& cells = rows_[static_cast<size_t>(row)];
        for (size_t c = 0; c < names_.size(); ++c)
            if (fields_[c].inTable) cells[c] = rs.Field(names_[c]);
    } catch (const std::exception&) {
        return;  // the cells keep what they showed
    }
    emit dataChanged(index(row, 0), index(row, FieldCount() - 1));
}

void GridModel::Fail(const std::string& message, const std::exception& e, const std::string& what) {
    // The file or the machine refused the write (a full disk): what was not
    // saved and that the report is as it was, not the database's own words.
    const int environmental = db::EnvironmentalCode(e);
    const std::string told = environmental ? db::NotSavedMessage(what, environmental) : message + "\n" + e.what();
    if (WriteFailed) {
        WriteFailed(told);
        return;
    }
    ui::Ui().Beep();
    ui::Ui().MessageBox(told, ui::kCritical, environmental ? "Error: Not Saved" : "Error");
}

bool GridModel::StoreCell(int row, int col, Value value) {
    if (!Updatable() || row < 0 || row >= RecordCount() || col < 0 || col >= FieldCount() ||
        !fields_[static_cast<size_t>(col)].inTable)
        return false;
    CellUpdate u{row, col, FieldValue(row, col), std::move(value), false};
    const std::int64_t rowid = RowId(row);
    if (BeforeColUpdate) BeforeColUpdate(u);
    // A handler may have read the rows again; the row is found by its rowid.
    row = RowOfRowId(rowid);
    if (row < 0) return false;
    if (!u.cancel && !u.storedByHandler && BeforeUpdate) BeforeUpdate(row, u.cancel);
    row = RowOfRowId(rowid);
    if (row < 0) return false;
    if (u.cancel || u.storedByHandler) {
        ReloadRow(row);
        if (u.cancel) return false;
    } else {
        try {
            WriteRow(row, {{names_[static_cast<size_t>(col)], u.newValue}});
        } catch (const std::exception& e) {
            ReloadRow(row);
            // The heading's words, without the blanks and line breaks that
            // centre them in the heading.
            const std::string heading = Q(Caption(col)).simplified().toUtf8().toStdString();
            Fail("The value entered in " + names_[static_cast<size_t>(col)] + " cannot be stored.", e,
                 "The value entered in column \"" + heading + "\"");
            return false;
        }
    }
    if (AfterUpdate) AfterUpdate(row);
    if (AfterColUpdate) AfterColUpdate(row, col, u.oldValue);
    return true;
}

bool GridModel::SetFields(int row, const FieldValues& fields) {
    if (!Updatable() || row < 0 || row >= RecordCount()) return false;
    try {
        WriteRow(row, fields);
        return true;
    } catch (const std::exception& e) {
        ReloadRow(row);
        Fail("The row cannot be stored.", e, "The row");
        return false;
    }
}

int GridModel::AddRow(const FieldValues& fields) {
    if (!Updatable()) return -1;
    std::int64_t rowid = 0;
    try {
        auto rs = db_->OpenTable(table_, "0 = 1");
        rs.AddNew();
        for (const auto& [name, value] : fields) {
            const int col = FieldIndex(name);
            rs.Set(name, col >= 0 && fields_[static_cast<size_t>(col)].inTable ? ForStore(col, value) : value);
        }
        rs.Update();
        rowid = static_cast<std::int64_t>(db_->Scalar("SELECT last_insert_rowid()").ToLong());
    } catch (const std::exception& e) {
        Fail("The row cannot be added.", e, "The new row");
        return -1;
    }
    Refresh();
    return RowOfRowId(rowid);
}

std::string GridModel::Caption(int col) const {
    return col >= 0 && col < static_cast<int>(captions_.size()) ? captions_[static_cast<size_t>(col)] : "";
}

void GridModel::SetCaption(int col, const std::string& caption) {
    if (col < 0 || col >= static_cast<int>(captions_.size())) return;
    // The same caption again would have the header laid out and painted anew.
    if (captions_[static_cast<size_t>(col)] == caption) return;
    captions_[static_cast<size_t>(col)] = caption;
    emit headerDataChanged(Qt::Horizontal, col, col);
}

int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : RecordCount(); }
int GridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : FieldCount(); }

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= RecordCount() || index.column() >= FieldCount()) return {};
    const Value& v = FieldValue(index.row(), index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return Q(v.ToText());
    case ValueRole: return QVariant::fromValue(v);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(
            Qt::Alignment((v.IsNumberType() ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    default: return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    QString caption = Q(Caption(section));
    caption.replace("\r\n", "\n").replace('\r', '\n');
    return caption;
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const size_t col = static_cast<size_t>(index.column());
    if (Updatable() && col < fields_.size() && fields_[col].inTable &&
        !(CellLocked && CellLocked(index.row(), index.column())))
        f |= Qt::ItemIsEditable;
    return f;
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || storing_) return false;
    if (!(flags(index) & Qt::ItemIsEditable)) return lastStoreOk_ = false;
    Value v = value.canConvert<Value>() && value.metaType() == QMetaType::fromType<Value>()
                  ? value.value<Value>()
                  : Value(value.toString().toUtf8().toStdString());
    storing_ = true;
    lastStoreOk_ = StoreCell(index.row(), index.column(), std::move(v));
    storing_ = false;
    return lastStoreOk_;
}

}  // namespace vt::grid
