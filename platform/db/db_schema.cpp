// Table definitions: typed fields with their size and zero-length rules kept in
// the table's own CREATE statement, and indexes named per table.
#include <cstdlib>

#include "platform/db/db_internal.h"

namespace vt::db {

using namespace detail;

namespace {

// An identifier at i ("quoted", [bracketed], `ticked` or bare); i moves past it.
std::optional<std::string> ReadIdentifier(const std::string& s, size_t& i) {
    if (i >= s.size()) return std::nullopt;
    const char c = s[i];
    if (c == '"' || c == '[' || c == '`') {
        const char close = c == '[' ? ']' : c;
        std::string out;
        size_t j = i + 1;
        for (; j < s.size(); ++j) {
            if (s[j] == close) {
                if (close != ']' && j + 1 < s.size() && s[j + 1] == close) {
                    out += close;
                    ++j;
                    continue;
                }
                break;
            }
            out += s[j];
        }
        if (j >= s.size()) return std::nullopt;
        i = j + 1;
        return out;
    }
    size_t e = i;
    while (e < s.size() && IsWordChar(s[e])) ++e;
    if (e == i) return std::nullopt;
    std::string out = s.substr(i, e - i);
    i = e;
    return out;
}

// Index just past the parenthesis that closes the one at open, skipping quotes.
size_t PastClosingParen(const std::string& s, size_t open) {
    int depth = 0;
    for (size_t i = open; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\'' || c == '"' || c == '`' || c == '[') {
            const char close = c == '[' ? ']' : c;
            i = s.find(close, i + 1);
            if (i == std::string::npos) return std::string::npos;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')' && --depth == 0) {
            return i + 1;
        }
    }
    return std::string::npos;
}

// The items between the parentheses, split at top-level commas.
std::vector<std::string> SplitList(const std::string& inner) {
    std::vector<std::string> items;
    std::string cur;
    int depth = 0;
    for (size_t i = 0; i < inner.size(); ++i) {
        const char c = inner[i];
        if (c == '\'' || c == '"' || c == '`' || c == '[') {
            const char close = c == '[' ? ']' : c;
            size_t e = inner.find(close, i + 1);
            if (e == std::string::npos) e = inner.size() - 1;
            cur.append(inner, i, e - i + 1);
            i = e;
            continue;
        }
        if (c == '(') ++depth;
        if (c == ')') --depth;
        if (c == ',' && depth == 0) {
            items.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    items.push_back(cur);
    return items;
}

std::string ColumnDef(const FieldDef& f) {
    const std::string q = Quote(f.name);
    const std::string notEmpty = f.allowZeroLength ? "" : " CHECK (" + q + " <> '')";
    switch (f.type) {
    case FieldType::Text: {
        const std::string n = std::to_string(f.size > 0 ? f.size : 255);
        return q + " TEXT(" + n + ") COLLATE NOCASE CHECK (length(" + q + ") <= " + n + ")" + notEmpty;
    }
    case FieldType::Memo: return q + " LONGTEXT COLLATE NOCASE" + notEmpty;
    case FieldType::Integer: return q + " SMALLINT";
    case FieldType::Long: return q + " INT";
    case FieldType::Currency: return q + " REAL CURRENCY";
    case FieldType::Double: return q + " DOUBLE";
    case FieldType::Date: return q + " DATETIME";
    case FieldType::YesNo: return q + " BOOLEAN";
    }
    throw DbError("Unknown field type of " + f.name);
}

// Our own declared types first; a table made by other SQL gets the nearest.
FieldType FieldTypeOf(const std::string& decl, int& size) {
    const std::string d = Upper(decl);
    size = 0;
    switch (KindOfDecltype(decl.c_str())) {
    case ColumnKind::Currency: return FieldType::Currency;
    case ColumnKind::Double: return FieldType::Double;
    case ColumnKind::Date: return FieldType::Date;
    case ColumnKind::Integer: return FieldType::Integer;
    case ColumnKind::Long: return FieldType::Long;
    case ColumnKind::YesNo: return FieldType::YesNo;
    case ColumnKind::Text:
        if (d == "LONGTEXT") return FieldType::Memo;
        size = d.size() > 5 && d[4] == '(' ? std::atoi(d.c_str() + 5) : 255;
        return FieldType::Text;
    case ColumnKind::Other: break;
    }
    if (d.find("INT") != std::string::npos) return FieldType::Long;
    if (d.find("CHAR") != std::string::npos || d.find("CLOB") != std::string::npos || d.empty()) {
        size = 255;
        return FieldType::Text;
    }
    if (d.find("DATE") != std::string::npos || d.find("TIME") != std::string::npos) return FieldType::Date;
    if (d.find("BOOL") != std::string::npos) return FieldType::YesNo;
    return FieldType::Double;
}

std::string RequireTable(sqlite3* h, const std::string& name) {
    if (auto t = TableName(h, name)) return *t;
    throw DbError("no such table: " + name, SQLITE_ERROR);
}

// Names of the triggers that refuse a Null key of an index WITH DISALLOW NULL.
std::string InsertTrigger(const std::string& index) { return index + "__nn_i"; }
std::string UpdateTrigger(const std::string& index) { return index + "__nn_u"; }

}  // namespace

// ---- Indexes ----

namespace detail {

std::optional<IndexStatement> ParseCreateIndex(const std::string& sql) {
    size_t i = SkipBlanks(sql, 0);
    auto word = [&]() {
        i = SkipBlanks(sql, i);
        std::string w = WordAt(sql, i);
        return w;
    };
    auto take = [&](const char* expected) {
        std::string w = word();
        if (w != expected) return false;
        i += w.size();
        return true;
    };
    if (!take("CREATE")) return std::nullopt;
    IndexStatement ix;
    ix.unique = take("UNIQUE");
    if (!take("INDEX")) return std::nullopt;
    const DbError bad("syntax error in CREATE INDEX: " + sql, SQLITE_ERROR);
    if (take("IF")) {
        if (!take("NOT") || !take("EXISTS")) throw bad;
        ix.ifNotExists = true;
    }
    i = SkipBlanks(sql, i);
    auto name = ReadIdentifier(sql, i);
    if (!name || !take("ON")) throw bad;
    i = SkipBlanks(sql, i);
    auto table = ReadIdentifier(sql, i);
    i = SkipBlanks(sql, i);
    if (!table || i >= sql.size() || sql[i] != '(') throw bad;
    const size_t end = PastClosingParen(sql, i);
    if (end == std::string::npos) throw bad;
    ix.name = *name;
    ix.table = *table;
    ix.columns = sql.substr(i + 1, end - i - 2);
    i = end;
    if (take("WITH")) {
        if (!take("DISALLOW") || !take("NULL")) throw DbError("unsupported index option in: " + sql, SQLITE_ERROR);
        ix.disallowNull = true;
    }
    i = SkipBlanks(sql, i);
    while (i < sql.size() && sql[i] == ';') i = SkipBlanks(sql, i + 1);
    if (i < sql.size()) throw bad;
    return ix;
}

void CreateIndex(sqlite3* h, const IndexStatement& ix) {
    const std::string table = RequireTable(h, ix.table);
    // SQLite names indexes per database; the report's names are per table.
    const std::string physical = table + "__" + ix.name;
    const std::string ifNot = ix.ifNotExists ? "IF NOT EXISTS " : "";
    Savepoint sp(h);
    ExecRaw(h, std::string("CREATE ") + (ix.unique ? "UNIQUE " : "") + "INDEX " + ifNot + Quote(physical) + " ON " +
                   Quote(table) + " (" + ix.columns + ")");
    if (ix.disallowNull) {
        // A row with a Null key is skipped, not refused with an error, so
        // lenient statements go on as they do after any other refused row.
        std::string when, cols;
        for (const auto& item : SplitList(ix.columns)) {
            size_t p = SkipBlanks(item, 0);
            auto col = ReadIdentifier(item, p);
            if (!col) throw DbError("syntax error in index columns: " + ix.columns, SQLITE_ERROR);
            when += (when.empty() ? "" : " OR ") + std::string("NEW.") + Quote(*col) + " IS NULL";
            cols += (cols.empty() ? "" : ", ") + Quote(*col);
        }
        const std::string body = " WHEN " + when + " BEGIN SELECT RAISE(IGNORE); END";
        ExecRaw(h, "CREATE TRIGGER " + ifNot + Quote(InsertTrigger(physical)) + " BEFORE INSERT ON " + Quote(table) +
                       body);
        ExecRaw(h, "CREATE TRIGGER " + ifNot + Quote(UpdateTrigger(physical)) + " BEFORE UPDATE OF " + cols +
                       " ON " + Quote(table) + body);
    }
    sp.Release();
}

}  // namespace detail

// ---- Tables ----

void Database::CreateTable(const std::string& name, const std::vector<FieldDef>& fields) {
    RequireOpen();
    if (fields.empty()) throw DbError("The table " + name + " has no fields");
    std::string sql = "CREATE TABLE " + Quote(name) + " (";
    for (size_t i = 0; i < fields.size(); ++i) sql += (i ? ", " : "") + ColumnDef(fields[i]);
    ExecRaw(db_, sql + ")");
}

bool Database::TableExists(const std::string& name) const {
    RequireOpen();
    return TableName(db_, name).has_value();
}

std::vector<std::string> Database::TableNames() const {
    RequireOpen();
    std::vector<std::string> names;
    for (const auto& row : Query(db_, "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE "
                                      "'sqlite\\_%' ESCAPE '\\' ORDER BY rowid"))
        names.push_back(row[0].Str());
    return names;
}

std::vector<FieldDef> Database::Fields(const std::string& table) const {
    RequireOpen();
    const std::string name = RequireTable(db_, table);
    const auto sqlRows = Query(db_, "SELECT sql FROM sqlite_master WHERE type = 'table' AND name = ?", {Value(name)});
    // The zero-length rule lives only in the column's CHECK; find each column's
    // definition in the CREATE statement as SQLite keeps it (ALTER TABLE edits it).
    std::vector<std::pair<std::string, std::string>> defs;
    const std::string sql = sqlRows.at(0).at(0).Str();
    const size_t open = sql.find('(');
    const size_t close = open == std::string::npos ? open : PastClosingParen(sql, open);
    if (close != std::string::npos) {
        for (const auto& item : SplitList(sql.substr(open + 1, close - open - 2))) {
            size_t p = SkipBlanks(item, 0);
            if (auto col = ReadIdentifier(item, p)) defs.emplace_back(*col, item.substr(p));
        }
    }
    std::vector<FieldDef> fields;
    for (const auto& row : Query(db_, "SELECT name, type FROM pragma_table_info(?) ORDER BY cid", {Value(name)})) {
        FieldDef f;
        f.name = row[0].Str();
        f.type = FieldTypeOf(row[1].IsNull() ? std::string() : row[1].Str(), f.size);
        if (f.type == FieldType::Text || f.type == FieldType::Memo) {
            f.allowZeroLength = true;
            for (const auto& [col, def] : defs)
                if (EqualsNoCase(col, f.name)) f.allowZeroLength = def.find("<> '')") == std::string::npos;
        }
        fields.push_back(f);
    }
    return fields;
}

void Database::RenameTable(const std::string& from, const std::string& to) {
    RequireOpen();
    const std::string table = RequireTable(db_, from);
    struct Kept {
        std::string physical;
        IndexStatement ix;
    };
    std::vector<Kept> kept;
    const auto triggers = Query(db_, "SELECT name FROM sqlite_master WHERE type = 'trigger' AND tbl_name = ?",
                                {Value(table)});
    auto hasTrigger = [&](const std::string& n) {
        for (const auto& t : triggers)
            if (t[0].Str() == n) return true;
        return false;
    };
    for (const auto& row : Query(db_, "SELECT name, sql FROM sqlite_master WHERE type = 'index' AND tbl_name = ? "
                                      "AND sql IS NOT NULL ORDER BY rowid",
                                 {Value(table)})) {
        std::optional<IndexStatement> ix;
        try {
            ix = ParseCreateIndex(row[1].Str());
        } catch (const DbError&) {
        }
        if (!ix) continue;  // not one of ours: SQLite carries it along as it is
        Kept k{row[0].Str(), *ix};
        const std::string prefix = table + "__";
        if (k.physical.size() > prefix.size() && EqualsNoCase(k.physical.substr(0, prefix.size()), prefix))
            k.ix.name = k.physical.substr(prefix.size());
        k.ix.disallowNull = hasTrigger(InsertTrigger(k.physical));
        k.ix.ifNotExists = false;
        k.ix.table = to;
        kept.push_back(std::move(k));
    }
    // The indexes are made again under the new table's names, so that a new
    // table of the old name can have indexes of the same names once more.
    Savepoint sp(db_);
    for (const auto& k : kept) {
        if (k.ix.disallowNull) {
            ExecRaw(db_, "DROP TRIGGER IF EXISTS " + Quote(InsertTrigger(k.physical)));
            ExecRaw(db_, "DROP TRIGGER IF EXISTS " + Quote(UpdateTrigger(k.physical)));
        }
        ExecRaw(db_, "DROP INDEX " + Quote(k.physical));
    }
    ExecRaw(db_, "ALTER TABLE " + Quote(table) + " RENAME TO " + Quote(to));
    for (const auto& k : kept) CreateIndex(db_, k.ix);
    sp.Release();
}

void Database::DropTable(const std::string& name) {
    RequireOpen();
    ExecRaw(db_, "DROP TABLE " + Quote(RequireTable(db_, name)));  // its indexes and triggers go with it
}

void Database::AppendField(const std::string& table, const FieldDef& field) {
    RequireOpen();
    ExecRaw(db_, "ALTER TABLE " + Quote(RequireTable(db_, table)) + " ADD COLUMN " + ColumnDef(field));
}

void Database::DropField(const std::string& table, const std::string& field) {
    RequireOpen();
    ExecRaw(db_, "ALTER TABLE " + Quote(RequireTable(db_, table)) + " DROP COLUMN " + Quote(field));
}

void Database::CopyTable(const std::string& source, const std::string& target) {
    RequireOpen();
    const std::string from = RequireTable(db_, source);
    const auto fields = Fields(from);
    std::string cols;
    for (const auto& f : fields) cols += (cols.empty() ? "" : ", ") + Quote(f.name);
    Savepoint sp(db_);
    CreateTable(target, fields);
    ExecRaw(db_, "INSERT INTO " + Quote(target) + " (" + cols + ") SELECT " + cols + " FROM " + Quote(from) +
                     " ORDER BY rowid");
    sp.Release();
}

}  // namespace vt::db
