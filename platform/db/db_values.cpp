// Values in and out of statements, and small helpers the layer's files share.
#include <cctype>
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/db/db_internal.h"
#include "platform/value/text.h"

namespace vt::db::detail {

ColumnKind KindOfDecltype(const char* decl) {
    if (!decl) return ColumnKind::Other;
    const std::string d = Upper(decl);
    if (d == "REAL CURRENCY") return ColumnKind::Currency;
    if (d == "DOUBLE") return ColumnKind::Double;
    if (d == "DATETIME") return ColumnKind::Date;
    if (d == "SMALLINT") return ColumnKind::Integer;
    if (d == "INT") return ColumnKind::Long;
    if (d == "BOOLEAN") return ColumnKind::YesNo;
    if (d == "LONGTEXT" || d.rfind("TEXT", 0) == 0) return ColumnKind::Text;
    return ColumnKind::Other;
}

namespace {

std::string ColumnText(sqlite3_stmt* st, int i) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
    return p ? std::string(p, static_cast<size_t>(sqlite3_column_bytes(st, i))) : std::string();
}

}  // namespace

namespace {

// Whether the value in column i fits the declared type of its field. Numbers
// fit the numeric types (SQLite keeps a fraction in an INT column as it is)
// as long as money is within the Currency range; dates are ISO text. Text and
// blobs in a number or date field, written by another program or left by
// damage, do not.
bool Fits(ColumnKind kind, sqlite3_stmt* st, int i) {
    const int type = sqlite3_column_type(st, i);
    switch (kind) {
    case ColumnKind::Currency:
        if (type == SQLITE_FLOAT) return std::fabs(sqlite3_column_double(st, i)) < 922337203685477.5;
        return type == SQLITE_INTEGER || type == SQLITE_NULL;
    case ColumnKind::Double:
    case ColumnKind::Integer:
    case ColumnKind::Long:
    case ColumnKind::YesNo: return type == SQLITE_INTEGER || type == SQLITE_FLOAT || type == SQLITE_NULL;
    case ColumnKind::Date: return type == SQLITE_NULL || (type == SQLITE_TEXT && DateTime::FromIso(ColumnText(st, i)));
    default: return true;
    }
}

const char* KindName(ColumnKind kind) {
    switch (kind) {
    case ColumnKind::Currency: return "an amount";
    case ColumnKind::Date: return "a date";
    case ColumnKind::YesNo: return "a Yes/No value";
    case ColumnKind::Integer:
    case ColumnKind::Long: return "a whole number";
    default: return "a number";
    }
}

// The first row of the table whose field holds a value that does not fit, by
// its LineNum (or SeqNum) where the table has one, else by its place.
std::string DamagedLine(sqlite3* h, const std::string& table, const std::string& field, ColumnKind kind) {
    std::string key = "rowid";
    for (const char* k : {"LineNum", "SeqNum"}) {
        if (sqlite3_table_column_metadata(h, nullptr, table.c_str(), k, nullptr, nullptr, nullptr, nullptr,
                                          nullptr) == SQLITE_OK) {
            key = k;
            break;
        }
    }
    const std::string sql = "SELECT " + Quote(key) + ", " + Quote(field) + " FROM " + Quote(table) + " ORDER BY rowid";
    sqlite3_stmt* st = nullptr;
    std::string line;
    if (sqlite3_prepare_v2(h, sql.c_str(), -1, &st, nullptr) == SQLITE_OK) {
        while (sqlite3_step(st) == SQLITE_ROW) {
            if (Fits(kind, st, 1)) continue;
            if (key == "rowid") line = "row " + ColumnText(st, 0);
            else if (const double d = sqlite3_column_double(st, 0); std::isfinite(d)) line = "line " + SqlNumber(d);
            break;
        }
    }
    sqlite3_finalize(st);
    return line;
}

[[noreturn]] void Damaged(sqlite3_stmt* st, int i, ColumnKind kind, int type) {
    const char* t = sqlite3_column_table_name(st, i);
    const char* f = sqlite3_column_origin_name(st, i);
    const std::string table = t ? t : "", field = f ? f : sqlite3_column_name(st, i);
    std::string what = type == SQLITE_BLOB ? "A binary value" : "The value '" + ColumnText(st, i) + "'";
    std::string line = table.empty() ? "" : DamagedLine(sqlite3_db_handle(st), table, field, kind);
    throw DamagedValue(std::move(what), table, field, std::move(line), KindName(kind));
}

}  // namespace

Value ReadColumn(sqlite3_stmt* st, int i) { return ReadColumn(st, i, KindOfDecltype(sqlite3_column_decltype(st, i))); }

std::vector<ColumnKind> ColumnKinds(sqlite3_stmt* st) {
    std::vector<ColumnKind> kinds;
    for (int i = 0, n = sqlite3_column_count(st); i < n; ++i)
        kinds.push_back(KindOfDecltype(sqlite3_column_decltype(st, i)));
    return kinds;
}

Value ReadColumn(sqlite3_stmt* st, int i, ColumnKind kind) {
    const int t = sqlite3_column_type(st, i);
    if (t == SQLITE_NULL) return Value::Null();
    // The cells met most, a number in a money or number field, with one look at the value.
    if (t == SQLITE_FLOAT && kind == ColumnKind::Double) return Value(sqlite3_column_double(st, i));
    if (t == SQLITE_FLOAT && kind == ColumnKind::Currency) {
        const double d = sqlite3_column_double(st, i);
        if (!(std::fabs(d) < 922337203685477.5)) Damaged(st, i, kind, t);
        try {
            return Value(Currency::FromDouble(d));
        } catch (const TypeMismatch&) {
            return Value(d);
        }
    }
    const bool number = t == SQLITE_INTEGER || t == SQLITE_FLOAT;
    if (!Fits(kind, st, i)) Damaged(st, i, kind, t);
    // The declared type decides, as long as what is stored fits it; anything
    // else (an expression, or a value SQLite kept in another class) is read
    // by what is stored.
    switch (kind) {
    case ColumnKind::Currency:
        if (number) {
            try {
                return Value(Currency::FromDouble(sqlite3_column_double(st, i)));
            } catch (const TypeMismatch&) {
            }
        }
        break;
    case ColumnKind::Double:
        if (number) return Value(sqlite3_column_double(st, i));
        break;
    case ColumnKind::Date:
        if (t == SQLITE_TEXT) {
            if (auto d = DateTime::FromIso(ColumnText(st, i))) return Value(*d);
        }
        break;
    case ColumnKind::Integer:
        if (t == SQLITE_INTEGER) {
            const auto v = sqlite3_column_int64(st, i);
            if (v >= std::numeric_limits<std::int16_t>::min() && v <= std::numeric_limits<std::int16_t>::max())
                return Value::Integer(static_cast<std::int16_t>(v));
        }
        break;
    case ColumnKind::Long:
        if (t == SQLITE_INTEGER) {
            const auto v = sqlite3_column_int64(st, i);
            if (v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max())
                return Value::Long(static_cast<std::int32_t>(v));
        }
        break;
    case ColumnKind::Text:
        return Value(ColumnText(st, i));
    case ColumnKind::YesNo:
        if (number) return Value::Bool(sqlite3_column_double(st, i) != 0);
        break;
    case ColumnKind::Other:
        break;
    }
    switch (t) {
    case SQLITE_INTEGER: return Value(static_cast<std::int64_t>(sqlite3_column_int64(st, i)));
    case SQLITE_FLOAT: return Value(sqlite3_column_double(st, i));
    default: return Value(ColumnText(st, i));
    }
}

std::optional<double> ReadNumber(sqlite3_stmt* st, int i, ColumnKind kind) {
    // One look at the column for both its type and its number.
    sqlite3_value* v = sqlite3_column_value(st, i);
    const int t = sqlite3_value_type(v);
    if (t == SQLITE_NULL) return std::nullopt;
    if (t != SQLITE_FLOAT && t != SQLITE_INTEGER) Damaged(st, i, kind == ColumnKind::Other ? ColumnKind::Double : kind, t);
    const double d = sqlite3_value_double(v);
    if (kind == ColumnKind::Currency && !(std::fabs(d) < 922337203685477.5)) Damaged(st, i, kind, t);
    return d;
}

void BindValue(sqlite3_stmt* st, int index, const Value& v) {
    int rc = SQLITE_OK;
    switch (v.Type()) {
    case VType::Empty:
    case VType::Null: rc = sqlite3_bind_null(st, index); break;
    case VType::Integer:
    case VType::Long:
    case VType::Boolean: rc = sqlite3_bind_int64(st, index, v.ToLong()); break;
    case VType::Currency: rc = sqlite3_bind_double(st, index, v.ToCurrency().ToDouble()); break;
    case VType::Double: rc = sqlite3_bind_double(st, index, v.ToDouble()); break;
    case VType::Date: {
        const std::string iso = v.AsDate().ToIso();
        rc = sqlite3_bind_text(st, index, iso.data(), static_cast<int>(iso.size()), SQLITE_TRANSIENT);
        break;
    }
    case VType::String:
        // The caller's Value outlives the run, and bindings are cleared after it.
        rc = sqlite3_bind_text(st, index, v.Str().data(), static_cast<int>(v.Str().size()), SQLITE_STATIC);
        break;
    }
    if (rc != SQLITE_OK) throw DbError(sqlite3_errstr(rc), rc);
}

}  // namespace vt::db::detail

namespace vt::db {

namespace {

std::string DamagedMessage(const std::string& what, const std::string& table, const std::string& field,
                           const std::string& line, const std::string& kind) {
    const std::string where = table.empty()
                                  ? " in field " + field
                                  : " in table " + table + ", field " + field + (line.empty() ? "" : ", " + line);
    return what + where + " is not " + kind + ": the file is damaged or was written by another program.";
}

std::string OverflowMessage(const std::string& amount, const std::string& table, const std::string& line) {
    std::string where;
    if (!table.empty()) where = " in table " + table + (line.empty() ? "" : ", line " + line);
    return "Overflow" + where + ": " + (amount.empty() ? "an amount" : "the amount " + amount) +
           " is past " + kLargestAmountText +
           ", the largest amount (either side of zero) that a report keeps exactly.";
}

}  // namespace

DamagedValue::DamagedValue(std::string what, std::string table, std::string field, std::string line, std::string kind)
    : DbError(DamagedMessage(what, table, field, line, kind)), what_(std::move(what)), table_(std::move(table)),
      field_(std::move(field)), line_(std::move(line)), kind_(std::move(kind)) {}

DamagedValue DamagedValue::Renamed(const std::string& table, const std::string& shown) const {
    if (what_.empty() || table_ != table) return *this;
    return DamagedValue(what_, shown, field_, line_, kind_);
}

AmountOverflow::AmountOverflow(std::string amount, std::string table, std::string line)
    : DbError(OverflowMessage(amount, table, line)),
      amount_(std::move(amount)),
      table_(std::move(table)),
      line_(std::move(line)) {}

}  // namespace vt::db

namespace vt::db::detail {

bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

size_t SkipBlanks(const std::string& s, size_t i) {
    for (;;) {
        while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
        if (s.compare(i, 2, "--") == 0) {
            while (i < s.size() && s[i] != '\n') ++i;
        } else if (s.compare(i, 2, "/*") == 0) {
            const size_t e = s.find("*/", i + 2);
            i = e == std::string::npos ? s.size() : e + 2;
        } else {
            return i;
        }
    }
}

std::string WordAt(const std::string& s, size_t i) {
    size_t e = i;
    while (e < s.size() && IsWordChar(s[e])) ++e;
    return Upper(s.substr(i, e - i));
}

namespace {

// A name as written in a statement: "quoted", [bracketed] or a plain word.
std::string NameAt(const std::string& s, size_t i) {
    if (i < s.size() && (s[i] == '"' || s[i] == '[' || s[i] == '`')) {
        const char close = s[i] == '[' ? ']' : s[i];
        std::string name;
        for (size_t j = i + 1; j < s.size(); ++j) {
            if (s[j] == close) {
                if (close != '"' || j + 1 >= s.size() || s[j + 1] != '"') break;
                ++j;
            }
            name += s[j];
        }
        return name;
    }
    size_t e = i;
    while (e < s.size() && IsWordChar(s[e])) ++e;
    return s.substr(i, e - i);
}

// The quoted name after `mark` in a constraint message, or "".
std::string QuotedAfter(const std::string& text, const std::string& mark) {
    const size_t at = text.find(mark);
    if (at == std::string::npos) return "";
    return NameAt(text, at + mark.size());
}

}  // namespace

std::string TargetTable(const std::string& sql) {
    size_t i = SkipBlanks(sql, 0);
    const std::string first = WordAt(sql, i);
    if (first != "INSERT" && first != "UPDATE" && first != "REPLACE") return "";
    i = SkipBlanks(sql, i + first.size());
    if (WordAt(sql, i) == "OR") {
        i = SkipBlanks(sql, i + 2);
        i = SkipBlanks(sql, i + WordAt(sql, i).size());
    }
    if (WordAt(sql, i) == "INTO") i = SkipBlanks(sql, i + 4);
    return NameAt(sql, i);
}

void ThrowExplained(const std::string& message, int code, const std::string& sql) {
    const std::string mark = kOverflowMark;
    const size_t at = message.find(mark);
    if (at != std::string::npos) throw AmountOverflow(message.substr(at + mark.size()), TargetTable(sql));
    if ((code & 0xff) == SQLITE_CONSTRAINT) {
        // The rules this layer declares: CHECK (length("F") <= n) and CHECK ("F" <> '').
        const std::string table = TargetTable(sql);
        const std::string where = table.empty() ? "" : " of table " + table;
        if (const std::string f = QuotedAfter(message, "length("); !f.empty()) {
            const size_t le = message.find("<=");
            const std::string limit = le == std::string::npos ? "" : message.substr(SkipBlanks(message, le + 2));
            throw DbError("The field " + f + where + " may hold at most " + limit + " characters.", code);
        }
        // SQLite names the zero-length rule by its expression or by its column alone.
        if (const std::string f = QuotedAfter(message, "CHECK constraint failed: "); !f.empty())
            throw DbError("The field " + f + where + " may not be empty.", code);
    }
    throw DbError(message, code);
}

std::vector<std::vector<Value>> Query(sqlite3* h, const std::string& sql, const std::vector<Value>& params) {
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(h, sql.c_str(), static_cast<int>(sql.size()), &st, nullptr);
    if (rc != SQLITE_OK) throw DbError(sqlite3_errmsg(h), rc);
    std::vector<std::vector<Value>> rows;
    try {
        for (size_t i = 0; i < params.size(); ++i) BindValue(st, static_cast<int>(i) + 1, params[i]);
        const int n = sqlite3_column_count(st);
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            std::vector<Value> row;
            for (int i = 0; i < n; ++i) row.push_back(ReadColumn(st, i));
            rows.push_back(std::move(row));
        }
        if (rc != SQLITE_DONE) throw DbError(sqlite3_errmsg(h), rc);
    } catch (...) {
        sqlite3_finalize(st);
        throw;
    }
    sqlite3_finalize(st);
    return rows;
}

std::optional<std::string> TableName(sqlite3* h, const std::string& name) {
    auto rows = Query(h, "SELECT name FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE",
                      {Value(name)});
    if (rows.empty()) return std::nullopt;
    return rows[0][0].Str();
}

std::string Quote(const std::string& name) {
    std::string q = "\"";
    for (char c : name) {
        if (c == '"') q += '"';
        q += c;
    }
    return q + '"';
}

void ExecRaw(sqlite3* h, const std::string& sql) {
    char* err = nullptr;
    const int rc = sqlite3_exec(h, sql.c_str(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        std::string msg = err ? err : sqlite3_errstr(rc);
        sqlite3_free(err);
        throw DbError(msg, rc);
    }
}

Savepoint::Savepoint(sqlite3* h) : h_(h) { ExecRaw(h_, "SAVEPOINT vt_layer"); }

Savepoint::~Savepoint() {
    if (done_) return;
    sqlite3_exec(h_, "ROLLBACK TO vt_layer", nullptr, nullptr, nullptr);
    sqlite3_exec(h_, "RELEASE vt_layer", nullptr, nullptr, nullptr);
}

void Savepoint::Release() {
    ExecRaw(h_, "RELEASE vt_layer");
    done_ = true;
}

}  // namespace vt::db::detail
