// Recordsets: the rows of a SELECT held in memory, and for one table the
// strict writes of added, edited and deleted rows.
#include <cctype>
#include <cstdint>
#include <limits>

#include "platform/db/db_internal.h"

namespace vt::db {

using namespace detail;

namespace {

[[noreturn]] void NoCurrentRecord() { throw DbError("No current record"); }

int Compare3(double a, double b) { return a < b ? -1 : (a > b ? 1 : 0); }

int CompareText(const std::string& a, const std::string& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const int x = std::tolower(static_cast<unsigned char>(a[i]));
        const int y = std::tolower(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

bool IsNumberLike(const Value& v) { return v.IsNumberType() || v.IsEmpty(); }

// -1, 0 or 1; nullopt when the two cannot be compared (Null, or text that is
// no number against a number).
std::optional<int> CompareValues(const Value& a, const Value& b) {
    if (a.IsNull() || b.IsNull()) return std::nullopt;
    try {
        if (a.IsDateType() || b.IsDateType()) return Compare3(a.ToDate().serial, b.ToDate().serial);
        if (a.Type() == VType::Currency && b.Type() == VType::Currency) {
            const auto x = a.ToCurrency(), y = b.ToCurrency();
            return x < y ? -1 : (x > y ? 1 : 0);
        }
        if (IsNumberLike(a) || IsNumberLike(b)) {
            if (!IsNumeric(a) || !IsNumeric(b)) return std::nullopt;
            return Compare3(a.ToDouble(), b.ToDouble());
        }
        return CompareText(a.ToText(), b.ToText());
    } catch (const TypeMismatch&) {
        return std::nullopt;
    }
}

bool Matches(const Value& field, FindOp op, const Value& v) {
    const auto c = CompareValues(field, v);
    if (!c) return false;
    switch (op) {
    case FindOp::Eq: return *c == 0;
    case FindOp::Ne: return *c != 0;
    case FindOp::Lt: return *c < 0;
    case FindOp::Le: return *c <= 0;
    case FindOp::Gt: return *c > 0;
    case FindOp::Ge: return *c >= 0;
    }
    return false;
}

// A value as the field of that type keeps it: assignment converts to the field's type.
Value ForField(FieldType type, const Value& v) {
    if (v.IsNull() || v.IsEmpty()) return Value::Null();
    try {
        switch (type) {
        case FieldType::Text:
        case FieldType::Memo: return v.IsString() ? v : Value(v.ToText());
        case FieldType::Integer: {
            const auto n = v.ToLong();
            if (n < std::numeric_limits<std::int16_t>::min() || n > std::numeric_limits<std::int16_t>::max())
                throw DbError("Overflow");
            return Value::Integer(static_cast<std::int16_t>(n));
        }
        case FieldType::Long: {
            const auto n = v.ToLong();
            if (n < std::numeric_limits<std::int32_t>::min() || n > std::numeric_limits<std::int32_t>::max())
                throw DbError("Overflow");
            return Value::Long(static_cast<std::int32_t>(n));
        }
        case FieldType::Currency: return Value(v.ToCurrency());
        case FieldType::Double: return Value(v.ToDouble());
        case FieldType::Date: return v.IsDateType() ? v : Value(v.ToDate());
        case FieldType::YesNo: return Value::Bool(v.ToBool());
        }
    } catch (const Overflow&) {
        throw AmountOverflow(Format(v, "#,##0.00"), "");
    } catch (const TypeMismatch& e) {
        throw DbError(e.what());
    }
    return v;
}

// The line of the row being added or edited, for a message: its LineNum.
std::string LineOf(const RecordsetData& d) {
    for (size_t i = 0; i < d.names.size() && i < d.buffer.size(); ++i)
        if (EqualsNoCase(d.names[i], "LineNum") && !d.buffer[i].IsNull()) return d.buffer[i].ToText();
    return "";
}

}  // namespace

Recordset::Recordset() = default;
Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&&) noexcept = default;
Recordset::~Recordset() = default;

bool Recordset::IsOpen() const { return d_ != nullptr; }
void Recordset::Close() { d_.reset(); }

namespace {

RecordsetData& Open(RecordsetData* d) {
    if (!d) throw DbError("The recordset is closed");
    return *d;
}

}  // namespace

int Recordset::RecordCount() const { return static_cast<int>(Open(d_.get()).rows.size()); }

bool Recordset::Eof() const {
    const auto& d = Open(d_.get());
    return !d.onDeleted && d.pos >= static_cast<int>(d.rows.size());
}

bool Recordset::Bof() const {
    const auto& d = Open(d_.get());
    return !d.onDeleted && (d.pos < 0 || d.rows.empty());
}

namespace {

void Leave(RecordsetData& d) {
    d.mode = RecordsetData::Mode::None;
    d.onDeleted = false;
}

}  // namespace

void Recordset::MoveFirst() {
    auto& d = Open(d_.get());
    if (d.rows.empty()) NoCurrentRecord();
    Leave(d);
    d.pos = 0;
}

void Recordset::MoveLast() {
    auto& d = Open(d_.get());
    if (d.rows.empty()) NoCurrentRecord();
    Leave(d);
    d.pos = static_cast<int>(d.rows.size()) - 1;
}

void Recordset::MoveNext() {
    auto& d = Open(d_.get());
    if (d.onDeleted) {  // already on the row that followed the deleted one
        Leave(d);
        return;
    }
    if (Eof()) NoCurrentRecord();
    Leave(d);
    ++d.pos;
}

void Recordset::MovePrevious() {
    auto& d = Open(d_.get());
    if (!d.onDeleted && Bof()) NoCurrentRecord();
    Leave(d);
    --d.pos;
}

int Recordset::Position() const { return Open(d_.get()).pos; }

void Recordset::MoveTo(int row) {
    auto& d = Open(d_.get());
    if (row < 0 || row >= static_cast<int>(d.rows.size())) NoCurrentRecord();
    Leave(d);
    d.pos = row;
}

int Recordset::FieldCount() const { return static_cast<int>(Open(d_.get()).names.size()); }

const std::string& Recordset::FieldName(int i) const {
    const auto& d = Open(d_.get());
    if (i < 0 || i >= static_cast<int>(d.names.size())) throw DbError("Item not found in this collection");
    return d.names[static_cast<size_t>(i)];
}

int Recordset::FieldIndex(const std::string& name) const {
    const auto& d = Open(d_.get());
    for (size_t i = 0; i < d.names.size(); ++i)
        if (EqualsNoCase(d.names[i], name)) return static_cast<int>(i);
    return -1;
}

Value Recordset::Field(const std::string& name) const {
    const int i = FieldIndex(name);
    if (i < 0) throw DbError("Item not found in this collection: " + name);
    return Field(i);
}

Value Recordset::Field(int i) const {
    const auto& d = Open(d_.get());
    if (i < 0 || i >= static_cast<int>(d.names.size())) throw DbError("Item not found in this collection");
    if (d.mode != RecordsetData::Mode::None) return d.buffer[static_cast<size_t>(i)];
    if (d.onDeleted) throw DbError("Record is deleted");
    if (d.pos < 0 || d.pos >= static_cast<int>(d.rows.size())) NoCurrentRecord();
    return d.rows[static_cast<size_t>(d.pos)][static_cast<size_t>(i)];
}

// ---- Find ----

namespace {

bool Find(Recordset& rs, RecordsetData& d, const std::string& field, FindOp op, const Value& v, int from,
          int step) {
    const int f = rs.FieldIndex(field);
    if (f < 0) throw DbError("Item not found in this collection: " + field);
    const int n = static_cast<int>(d.rows.size());
    for (int r = from; r >= 0 && r < n; r += step) {
        if (Matches(d.rows[static_cast<size_t>(r)][static_cast<size_t>(f)], op, v)) {
            Leave(d);
            d.pos = r;
            d.noMatch = false;
            return true;
        }
    }
    d.noMatch = true;
    return false;
}

}  // namespace

bool Recordset::FindFirst(const std::string& field, FindOp op, const Value& v) {
    return Find(*this, Open(d_.get()), field, op, v, 0, 1);
}

bool Recordset::FindNext(const std::string& field, FindOp op, const Value& v) {
    auto& d = Open(d_.get());
    return Find(*this, d, field, op, v, d.onDeleted ? d.pos : std::max(d.pos + 1, 0), 1);
}

bool Recordset::FindLast(const std::string& field, FindOp op, const Value& v) {
    auto& d = Open(d_.get());
    return Find(*this, d, field, op, v, static_cast<int>(d.rows.size()) - 1, -1);
}

bool Recordset::FindPrevious(const std::string& field, FindOp op, const Value& v) {
    auto& d = Open(d_.get());
    return Find(*this, d, field, op, v, std::min(d.pos, static_cast<int>(d.rows.size())) - 1, -1);
}

bool Recordset::NoMatch() const { return Open(d_.get()).noMatch; }

// ---- Changes ----

namespace {

RecordsetData& Updatable(RecordsetData* p) {
    auto& d = Open(p);
    if (d.table.empty()) throw DbError("The recordset is not updatable");
    return d;
}

bool HasCurrentRow(const RecordsetData& d) {
    return !d.onDeleted && d.pos >= 0 && d.pos < static_cast<int>(d.rows.size());
}

// The row as the table now holds it (stored types, affinity conversions).
std::vector<Value> ReadBack(RecordsetData& d, sqlite3_int64 rowid) {
    auto rs = d.db->OpenRecordset("SELECT * FROM " + Quote(d.table) + " WHERE rowid = ?",
                                  {Value(static_cast<std::int64_t>(rowid))});
    if (rs.RecordCount() != 1) throw DbError("The row was not found after it was stored");
    std::vector<Value> row;
    for (int i = 0; i < rs.FieldCount(); ++i) row.push_back(rs.Field(i));
    return row;
}

}  // namespace

void Recordset::AddNew() {
    auto& d = Updatable(d_.get());
    d.onDeleted = false;
    d.mode = RecordsetData::Mode::Add;
    d.buffer.assign(d.names.size(), Value::Null());
    d.dirty.assign(d.names.size(), false);
}

void Recordset::Edit() {
    auto& d = Updatable(d_.get());
    if (!HasCurrentRow(d)) NoCurrentRecord();
    d.mode = RecordsetData::Mode::Edit;
    d.buffer = d.rows[static_cast<size_t>(d.pos)];
    d.dirty.assign(d.names.size(), false);
}

void Recordset::Set(const std::string& field, const Value& v) {
    auto& d = Updatable(d_.get());
    if (d.mode == RecordsetData::Mode::None) throw DbError("Update or CancelUpdate without AddNew or Edit");
    const int i = FieldIndex(field);
    if (i < 0) throw DbError("Item not found in this collection: " + field);
    const auto k = static_cast<size_t>(i);
    db::AtLine(d.table, LineOf(d), [&] { d.buffer[k] = k < d.types.size() ? ForField(d.types[k], v) : v; });
    d.dirty[k] = true;
}

void Recordset::Update() {
    auto& d = Updatable(d_.get());
    if (d.mode == RecordsetData::Mode::None) throw DbError("Update or CancelUpdate without AddNew or Edit");
    std::vector<Value> params;
    std::string cols, marks;
    for (size_t i = 0; i < d.names.size(); ++i) {
        if (!d.dirty[i]) continue;
        params.push_back(d.buffer[i]);
        if (d.mode == RecordsetData::Mode::Add) {
            cols += (cols.empty() ? "" : ", ") + Quote(d.names[i]);
            marks += marks.empty() ? "?" : ", ?";
        } else {
            cols += (cols.empty() ? "" : ", ") + Quote(d.names[i]) + " = ?";
        }
    }
    if (d.mode == RecordsetData::Mode::Add) {
        const std::string sql = "INSERT INTO " + Quote(d.table) +
                                (cols.empty() ? " DEFAULT VALUES" : " (" + cols + ") VALUES (" + marks + ")");
        // Refusals by a constraint raise; a row skipped by a Null-key trigger
        // only shows as no change, and must raise too.
        int added = 0;
        db::AtLine(d.table, LineOf(d), [&] { added = d.db->ExecuteStrict(sql, params); });
        if (added != 1) throw DbError("The row was refused: " + d.table);
        const sqlite3_int64 rowid = sqlite3_last_insert_rowid(d.db->Handle());
        d.rows.push_back(ReadBack(d, rowid));
        d.rowids.push_back(rowid);
        d.pos = static_cast<int>(d.rows.size()) - 1;
    } else {
        const auto k = static_cast<size_t>(d.pos);
        if (!cols.empty()) {
            params.push_back(Value(static_cast<std::int64_t>(d.rowids[k])));
            const std::string sql = "UPDATE " + Quote(d.table) + " SET " + cols + " WHERE rowid = ?";
            int changed = 0;
            db::AtLine(d.table, LineOf(d), [&] { changed = d.db->ExecuteStrict(sql, params); });
            if (changed != 1) throw DbError("The row was refused: " + d.table);
            d.rows[k] = ReadBack(d, d.rowids[k]);
        }
    }
    d.mode = RecordsetData::Mode::None;
}

void Recordset::CancelUpdate() {
    auto& d = Updatable(d_.get());
    d.mode = RecordsetData::Mode::None;
}

void Recordset::Delete() {
    auto& d = Updatable(d_.get());
    if (!HasCurrentRow(d)) NoCurrentRecord();
    d.mode = RecordsetData::Mode::None;
    const auto k = static_cast<size_t>(d.pos);
    d.db->ExecuteStrict("DELETE FROM " + Quote(d.table) + " WHERE rowid = ?",
                        {Value(static_cast<std::int64_t>(d.rowids[k]))});
    d.rows.erase(d.rows.begin() + d.pos);
    d.rowids.erase(d.rowids.begin() + d.pos);
    d.onDeleted = true;  // pos now names the row that followed
}

}  // namespace vt::db
