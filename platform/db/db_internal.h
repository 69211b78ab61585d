// Shared by the database layer's own source files only.
#pragma once

#include <sqlite3.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/db/db.h"
#include "platform/value/text.h"

namespace vt::db::detail {

// How a column's declared type is read back.
enum class ColumnKind { Other, Text, Integer, Long, Currency, Double, Date, YesNo };
ColumnKind KindOfDecltype(const char* decltype_);

Value ReadColumn(sqlite3_stmt* st, int i);
// The same with the column's kind worked out beforehand: once per read, not per cell.
Value ReadColumn(sqlite3_stmt* st, int i, ColumnKind kind);
std::vector<ColumnKind> ColumnKinds(sqlite3_stmt* st);
// A number or Null; anything else in column i is damage, raised as ReadColumn raises it.
std::optional<double> ReadNumber(sqlite3_stmt* st, int i, ColumnKind kind);
void BindValue(sqlite3_stmt* st, int index, const Value& v);

// A little SQL scanning: blanks include comments; a word is letters, digits and '_'.
bool IsWordChar(char c);
size_t SkipBlanks(const std::string& s, size_t i);
std::string WordAt(const std::string& s, size_t i);  // upper case; "" when none

std::string Quote(const std::string& name);  // "name" with inner quotes doubled

// Rows of a statement prepared for this one run (schema look-ups, not hot paths).
std::vector<std::vector<Value>> Query(sqlite3* h, const std::string& sql, const std::vector<Value>& params = {});
// The stored spelling of a table name matched without case, or nullopt.
std::optional<std::string> TableName(sqlite3* h, const std::string& name);

// Runs generated SQL that needs none of Execute's rewriting; raises DbError.
void ExecRaw(sqlite3* h, const std::string& sql);

// Groups a few generated statements so that they take effect together or
// not at all, inside or outside a caller's transaction.
class Savepoint {
public:
    explicit Savepoint(sqlite3* h);
    ~Savepoint();
    void Release();
    Savepoint(const Savepoint&) = delete;
    Savepoint& operator=(const Savepoint&) = delete;
private:
    sqlite3* h_;
    bool done_ = false;
};

// CREATE [UNIQUE] INDEX [IF NOT EXISTS] name ON table (columns) [WITH DISALLOW NULL]
struct IndexStatement {
    bool unique = false;
    bool ifNotExists = false;
    bool disallowNull = false;
    std::string name;     // as written (unquoted)
    std::string table;    // as written (unquoted)
    std::string columns;  // the text between the parentheses
};
std::optional<IndexStatement> ParseCreateIndex(const std::string& sql);
// Creates the index (and its Null-refusing triggers) under a name of its table.
void CreateIndex(sqlite3* h, const IndexStatement& ix);

void RegisterFunctions(sqlite3* h);
// How CCur reports an amount past kLargestAmount: this mark, then the amount.
inline constexpr const char* kOverflowMark = "vt overflow: ";
// The table an INSERT, UPDATE or REPLACE writes to; "" for other statements.
std::string TargetTable(const std::string& sql);
// A failure of a statement as the user is to read it: an amount CCur could not
// keep, or a refused size or zero-length rule, named by its table and field.
[[noreturn]] void ThrowExplained(const std::string& message, int code, const std::string& sql);

// Rows read by a SELECT, with the names of its columns.
struct Rows {
    std::vector<std::string> names;
    std::vector<std::vector<Value>> rows;
};

}  // namespace vt::db::detail

namespace vt::db::detail {

struct RecordsetData {
    Database* db = nullptr;
    std::string table;                // empty: read-only
    std::vector<std::string> names;
    std::vector<FieldType> types;     // updatable only: the table's field types
    std::vector<std::vector<Value>> rows;
    std::vector<sqlite3_int64> rowids;  // updatable only
    int pos = 0;
    bool onDeleted = false;           // the current row was just deleted
    bool noMatch = false;
    enum class Mode { None, Add, Edit } mode = Mode::None;
    std::vector<Value> buffer;
    std::vector<bool> dirty;
};

}  // namespace vt::db::detail

namespace vt::db {

struct Recordset::Impl : detail::RecordsetData {};

}  // namespace vt::db
