// The report database: one SQLite file per cost report, with the field types,
// the lenient statements and the table operations the report code was written
// against.
//
// Rules every caller can rely on:
// - Currency is exact. Values bound or stored through this layer are rounded to
//   four decimals. Arithmetic written inside SQL is not: wrap it in CCur(...)
//   ("UPDATE B SET LineNum = CCur(LineNum+100) ...", "ON CCur(a.SeqNum+18) =
//   b.SeqNum"), as a Currency field rounds what is stored in it.
//   An amount past kLargestAmount is never written: AmountOverflow instead.
// - A value read from a number, money, date or Yes/No field that is not of its
//   type (text, a blob) raises DamagedValue naming table, field and line.
// - A strict write refused by a size or zero-length rule says which field and
//   which limit, not SQLite's constraint text.
// - Execute() is lenient: an INSERT or UPDATE row that breaks a unique index, a
//   Text size or a zero-length rule is dropped and the statement goes on. Any
//   other failure (syntax, unknown table or field) raises DbError.
// - Text literals are single-quoted or bound as parameters ("?"): a double
//   quoted word is a column name, never a string. User text is always bound.
// - Dates are stored as ISO text ("2005-12-31", "2005-12-31 13:05:00").
// - Text comparison and ordering ignore case (Text fields are COLLATE NOCASE).
// - Index names are per table: "CREATE UNIQUE INDEX
//   ndx ON B (LineNum)" may run on every table; renaming a table keeps them.
// - Registered SQL functions the statements use: Int(x) (round down),
//   Fix(x) (toward zero), CCur(x) (4 decimals, halves away from zero),
//   IIf(c, a, b), IsNull(x), Nz(x [, d]), Sgn(x), Val(text), Len(text).
//   IsNull gives 1 or 0, and SQLite's True is 1, so "IsNull(x) = True" holds.
// - "WITH DISALLOW NULL" after CREATE INDEX is kept: a row whose key would be
//   Null is skipped (Execute) or refused (recordset Update).
#pragma once

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "platform/value/value.h"

struct sqlite3;

namespace vt::db {

class DbError : public std::runtime_error {
public:
    explicit DbError(const std::string& msg, int code = 0) : std::runtime_error(msg), code_(code) {}
    int Code() const { return code_; }  // SQLite's result code, 0 when raised by this layer
private:
    int code_;
};

// A failure of the file or of the machine rather than of the statement: the
// disk is full, the file is in use by another program, read-only, damaged, or
// cannot be read or written. Nothing more can be done with the file in the
// command that met it.
bool IsEnvironmental(int code);
// Of those, a file that is damaged or not a database at all.
bool IsDamage(int code);
// Such a failure in plain words ("the disk is full"); "" for any other code.
std::string EnvironmentReason(int code);
// The code of such a failure when `e` is a DbError that reports one; 0 for
// any other exception.
int EnvironmentalCode(const std::exception& e);
// A refusal of the file system (moving or copying a file) in the same words;
// the system's own text for one these words do not cover. A refusal to write
// is the file's own where `path`, the file it was about, is there and this
// user may not write it or may not replace it; else, and when no path is
// given, its folder's.
std::string SystemReason(const std::error_code& ec, const std::string& path = "");
// The environmental code of such a refusal, for a DbError; 0 for one the
// words do not cover.
int SystemCode(const std::error_code& ec, const std::string& path = "");
// Whether the file at `path` is another user's in a folder that lets only a
// file's owner (or the folder's) remove or replace it: one with the sticky
// bit, as shared folders have. False when there is no such file.
bool KeptByItsOwner(const std::string& path);
// What the user is told when the file or the machine refused a change: what
// was not saved, why, and that the report is as it was.
std::string NotSavedMessage(const std::string& what, int code);
// A path the file system or SQLite cannot take: a name or the whole too long.
bool NameTooLong(const std::string& path);

// How long a statement waits for another program to let go of the file
// before it fails as busy.
inline constexpr int kBusyWaitMs = 2000;

// Amounts are stored as doubles, which keep every four-decimal amount exactly
// only up to 2^37 (about 137 billion), sums in SQL included. The report keeps
// its amounts within this limit either side of zero: an amount past it is
// refused where it would be written, or computed by CCur.
inline constexpr Currency kLargestAmount = Currency::FromScaled(999'999'999'999'999);
inline constexpr const char* kLargestAmountText = "99,999,999,999.9999";
inline bool IsStorableAmount(Currency c) {
    return c.scaled <= kLargestAmount.scaled && c.scaled >= -kLargestAmount.scaled;
}

// An amount past kLargestAmount. Names the amount when it is known, the table,
// and the line where the caller knows it.
class AmountOverflow : public DbError {
public:
    AmountOverflow(std::string amount, std::string table, std::string line = "");
    const std::string& Amount() const { return amount_; }
    const std::string& Table() const { return table_; }
    const std::string& Line() const { return line_; }
private:
    std::string amount_, table_, line_;
};

// Runs write(); an amount it cannot keep (AmountOverflow, or a sum of
// amounts that overflowed) is raised again as an AmountOverflow naming the
// table and line.
template <class F>
void AtLine(const std::string& table, const std::string& line, F&& write) {
    try {
        write();
    } catch (const AmountOverflow& e) {
        if (!e.Line().empty()) throw;  // an inner step knew the line better
        throw AmountOverflow(e.Amount(), table, line);
    } catch (const Overflow&) {
        throw AmountOverflow("", table, line);
    }
}

// A value read from a number, money, date or Yes/No field that is not of that
// type (text, a blob): named by table, field and line, never read as 0.
class DamagedValue : public DbError {
public:
    using DbError::DbError;
    // `what` is the value ("The value '12x'"), `line` "line 3", "row 7" or "".
    DamagedValue(std::string what, std::string table, std::string field, std::string line, std::string kind);
    // The same damage told under `shown` when it was read from `table`: a table
    // kept for a while under another name is the user's under its own.
    DamagedValue Renamed(const std::string& table, const std::string& shown) const;

private:
    std::string what_, table_, field_, line_, kind_;  // empty when raised with a whole message
};

enum class FieldType { Text, Integer, Long, Currency, Double, Date, Memo, YesNo };

struct FieldDef {
    std::string name;
    FieldType type = FieldType::Text;
    int size = 0;                 // Text only: most characters; 0 means 255
    bool allowZeroLength = false; // Text and Memo only: "" accepted; else "" is refused
};

// Shorthands for table definitions.
inline FieldDef TextField(std::string n, int size, bool zeroLength = false) { return {std::move(n), FieldType::Text, size, zeroLength}; }
inline FieldDef MemoField(std::string n, bool zeroLength = false) { return {std::move(n), FieldType::Memo, 0, zeroLength}; }
inline FieldDef CurrencyField(std::string n) { return {std::move(n), FieldType::Currency, 0, false}; }
inline FieldDef DoubleField(std::string n) { return {std::move(n), FieldType::Double, 0, false}; }
inline FieldDef IntegerField(std::string n) { return {std::move(n), FieldType::Integer, 0, false}; }
inline FieldDef LongField(std::string n) { return {std::move(n), FieldType::Long, 0, false}; }
inline FieldDef DateField(std::string n) { return {std::move(n), FieldType::Date, 0, false}; }
inline FieldDef YesNoField(std::string n) { return {std::move(n), FieldType::YesNo, 0, false}; }

enum class FindOp { Eq, Ne, Lt, Le, Gt, Ge };

class Database;

// The rows of a SELECT, read when opened: later changes to the tables are not
// seen (a snapshot). A recordset from Database::OpenTable() can also add, edit
// and delete rows; those changes go to the table at once (strictly: a refused
// row raises DbError) and show in this recordset.
class Recordset {
public:
    Recordset();
    Recordset(Recordset&&) noexcept;
    Recordset& operator=(Recordset&&) noexcept;
    ~Recordset();

    bool IsOpen() const;
    void Close();

    int RecordCount() const;
    bool Eof() const;
    bool Bof() const;
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    int Position() const;        // 0-based current row; -1 before the first
    void MoveTo(int row);

    int FieldCount() const;
    const std::string& FieldName(int i) const;
    int FieldIndex(const std::string& name) const;  // case-insensitive; -1 when absent
    // Fields of the current row; raises DbError at EOF/BOF or for an unknown name.
    Value Field(const std::string& name) const;
    Value Field(int i) const;
    Value operator[](const std::string& name) const { return Field(name); }

    // Search from the first row (FindFirst), from the row after the current one
    // (FindNext), from the last row backwards (FindLast), or from the row before
    // the current one (FindPrevious). The found row becomes current; without a
    // match the current row is unchanged and NoMatch() is true. Numbers compare
    // as numbers, texts without case; Null matches nothing.
    bool FindFirst(const std::string& field, FindOp op, const Value& v);
    bool FindNext(const std::string& field, FindOp op, const Value& v);
    bool FindLast(const std::string& field, FindOp op, const Value& v);
    bool FindPrevious(const std::string& field, FindOp op, const Value& v);
    bool NoMatch() const;

    // Updatable recordsets (Database::OpenTable) only.
    void AddNew();
    void Edit();
    void Set(const std::string& field, const Value& v);
    void Update();  // stores the new or edited row; raises DbError when refused
    void CancelUpdate();
    // Deletes the current row. No row is current then:
    // MoveNext() goes to the row that followed the deleted one.
    void Delete();

private:
    friend class Database;
    struct Impl;
    std::unique_ptr<Impl> d_;
};

class Database {
public:
    // A new, empty database file. Raises DbError when the file exists or cannot be made.
    // A file that is read-only, or in a folder that is, raises DbError with
    // code SQLITE_READONLY before anything is changed.
    static std::unique_ptr<Database> Create(const std::string& path);
    // An existing database file. A missing file, or one that is not a report
    // database, raises DbError with a clear message and creates nothing.
    static std::unique_ptr<Database> Open(const std::string& path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const std::string& Path() const { return path_; }
    void Close();
    bool IsOpen() const { return db_ != nullptr; }

    // Lenient (see above). Returns the number of rows changed.
    int Execute(const std::string& sql, const std::vector<Value>& params = {});
    // Strict: a refused row raises DbError.
    int ExecuteStrict(const std::string& sql, const std::vector<Value>& params = {});
    // A snapshot of the rows of a SELECT.
    Recordset OpenRecordset(const std::string& sql, const std::vector<Value>& params = {});
    // An updatable recordset over one table: "SELECT * FROM table [WHERE where] [ORDER BY orderBy]".
    Recordset OpenTable(const std::string& table, const std::string& where = "",
                        const std::string& orderBy = "", const std::vector<Value>& params = {});
    // The rows of a SELECT of numbers only, each cell a double or, for Null,
    // nothing: for reading the many amounts of a wide sheet at once. A cell
    // holding no number (text, a blob) raises DamagedValue as a read of it by
    // OpenRecordset does.
    using NumberRow = std::vector<std::optional<double>>;
    std::vector<NumberRow> Numbers(const std::string& sql, const std::vector<Value>& params = {});
    // The first field of the first row, or Null when there is no row.
    Value Scalar(const std::string& sql, const std::vector<Value>& params = {});

    // Table definitions.
    void CreateTable(const std::string& name, const std::vector<FieldDef>& fields);
    bool TableExists(const std::string& name) const;          // ignores case
    std::vector<std::string> TableNames() const;              // in creation order
    std::vector<FieldDef> Fields(const std::string& table) const;  // in field order
    void RenameTable(const std::string& from, const std::string& to);  // indexes go along
    void DropTable(const std::string& name);
    void AppendField(const std::string& table, const FieldDef& field);  // existing rows get Null
    void DropField(const std::string& table, const std::string& field);
    // A new table with the source's fields and types and a copy of its rows
    // (what SELECT ... INTO does). No indexes are copied.
    void CopyTable(const std::string& source, const std::string& target);

    // Transactions. Nested Begin()s count; only the outermost Commit() commits.
    // Rollback() undoes the whole outermost transaction. When SQLite itself
    // ends the transaction (disk full, I/O error), every later statement and
    // inner transaction raises DbError with the code of that failure until the
    // outermost Commit() or Rollback(): nothing runs on, outside the
    // transaction, on inputs that were rolled back.
    void Begin();
    void Commit();
    void Rollback();
    bool InTransaction() const { return txDepth_ > 0; }

    // Copies the whole database into a new file at path (the file is replaced).
    // Not during a transaction: raises DbError then.
    void BackupTo(const std::string& path);

    sqlite3* Handle() const { return db_; }

private:
    friend class Subtransaction;
    Database() = default;
    int Run(const std::string& sql, const std::vector<Value>& params, bool lenient);
    std::string Rewrite(const std::string& sql, bool lenient) const;
    void Configure();
    void RequireOpen() const;
    sqlite3* db_ = nullptr;
    std::string path_;
    int txDepth_ = 0;
    bool txFailed_ = false;
    int endedBy_ = 0;        // the code of the failure with which SQLite ended the transaction
    std::string endedWhy_;
    struct StatementCache;  // prepared statements by SQL text, finalized on Close()
    std::unique_ptr<StatementCache> cache_;
    class Use;              // one run of a prepared statement
};

// RAII transaction: commits in Commit(); rolls back when left without it.
class Transaction {
public:
    explicit Transaction(Database& db) : db_(db) { db_.Begin(); }
    ~Transaction() { if (!done_) { try { db_.Rollback(); } catch (...) {} } }
    void Commit() { db_.Commit(); done_ = true; }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
private:
    Database& db_;
    bool done_ = false;
};

// A part of the open transaction that can be undone alone (an SQL savepoint): Rollback() (or
// leaving without Release()) undoes what was done since the savepoint began,
// also the work of an inner Transaction that failed there, and the
// transaction around it stays usable and can still commit. Raises DbError
// when no transaction is open.
class Subtransaction {
public:
    explicit Subtransaction(Database& db);
    ~Subtransaction();
    void Release();
    void Rollback();
    Subtransaction(const Subtransaction&) = delete;
    Subtransaction& operator=(const Subtransaction&) = delete;
private:
    Database& db_;
    std::string name_;
    int depth_ = 0;
    bool failed_ = false;
    bool done_ = false;
};

// Tests only: the conditions of a full disk and of a write-protected file,
// which a test (running as root, on a roomy disk) cannot make for real.
namespace testing {
// Every database created or opened from now on refuses to grow past this
// many pages, as on a full disk; 0 lifts the limit.
void SetPageLimit(int pages);
// Every database opened from now on is opened read-only, as SQLite opens a
// file it may not write.
void SetOpenReadOnly(bool on);
// Every statement that would change a database fails from now on with this
// SQLite result code, before it changes anything (SQLITE_FULL: as on a full
// disk that the file may not grow on); 0 lifts it.
void SetWriteFailure(int code);
}  // namespace testing

}  // namespace vt::db
