// Opening and closing report files, running statements, transactions and backups.
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <unordered_map>

#include "platform/db/db_internal.h"
#include "platform/db/working_files.h"

namespace fs = std::filesystem;

namespace vt::db {

using detail::IsWordChar;
using detail::ReadColumn;
using detail::SkipBlanks;
using detail::WordAt;

namespace {

// A failure every changing statement meets before it runs (testing only).
int writeFailure = 0;

// "IsNull" is a postfix operator in SQLite, so the function of that name is
// registered under another one and calls are renamed outside quotes.
std::string RenameIsNullCalls(const std::string& s) {
    static const std::string kWord = "ISNULL";
    std::string out;
    out.reserve(s.size() + 8);
    size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (s.compare(i, 2, "--") == 0 || s.compare(i, 2, "/*") == 0) {
            const size_t e = SkipBlanks(s, i);
            out.append(s, i, e - i);
            i = e;
            continue;
        }
        if (c == '\'' || c == '"' || c == '`' || c == '[') {
            const char close = c == '[' ? ']' : c;
            size_t e = i + 1;
            while (e < s.size() && s[e] != close) ++e;
            e = e < s.size() ? e + 1 : e;
            out.append(s, i, e - i);
            i = e;
            continue;
        }
        if (IsWordChar(c) && (i == 0 || !IsWordChar(s[i - 1]))) {
            size_t e = i;
            while (e < s.size() && IsWordChar(s[e])) ++e;
            const size_t next = SkipBlanks(s, e);
            if (e - i == kWord.size() && Upper(s.substr(i, e - i)) == kWord && next < s.size() &&
                s[next] == '(') {
                out += "vt_IsNull";
            } else {
                out.append(s, i, e - i);
            }
            i = e;
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

bool OnlyBlanksLeft(const char* tail) {
    if (!tail) return true;
    const std::string rest(tail);
    size_t i = SkipBlanks(rest, 0);
    while (i < rest.size() && rest[i] == ';') i = SkipBlanks(rest, i + 1);
    return i >= rest.size();
}

// Statements worth keeping prepared: the ones report code runs again and again.
bool Cacheable(const std::string& sql) {
    const std::string w = WordAt(sql, SkipBlanks(sql, 0));
    return w == "SELECT" || w == "INSERT" || w == "UPDATE" || w == "DELETE" || w == "WITH" || w == "REPLACE";
}

}  // namespace

// ---- Prepared statements ----

struct Database::StatementCache {
    static constexpr size_t kCapacity = 300;
    struct Entry {
        sqlite3_stmt* st;
        std::uint64_t lastUse;
    };
    std::unordered_map<std::string, Entry> byText[2];  // [lenient]
    std::uint64_t tick = 0;

    sqlite3_stmt* Find(const std::string& sql, bool lenient) {
        auto& m = byText[lenient ? 1 : 0];
        auto it = m.find(sql);
        if (it == m.end()) return nullptr;
        it->second.lastUse = ++tick;
        return it->second.st;
    }
    void Add(const std::string& sql, bool lenient, sqlite3_stmt* st) {
        auto& m = byText[lenient ? 1 : 0];
        if (m.size() >= kCapacity) {
            auto oldest = m.begin();
            for (auto it = m.begin(); it != m.end(); ++it)
                if (it->second.lastUse < oldest->second.lastUse) oldest = it;
            sqlite3_finalize(oldest->second.st);
            m.erase(oldest);
        }
        m.emplace(sql, Entry{st, ++tick});
    }
    void Clear() {
        for (auto& m : byText) {
            for (auto& [sql, e] : m) sqlite3_finalize(e.st);
            m.clear();
        }
    }
    ~StatementCache() { Clear(); }
};

class Database::Use {
public:
    Use(Database& db, const std::string& sql, bool lenient) : db_(db), sql_(sql) {
        db.RequireOpen();
        st_ = db.cache_->Find(sql, lenient);
        if (st_ && !sqlite3_stmt_busy(st_)) {
            cached_ = true;
            return;
        }
        const std::string text = db.Rewrite(sql, lenient);
        const bool keep = !st_ && Cacheable(text);
        st_ = nullptr;
        const char* tail = nullptr;
        const int rc = sqlite3_prepare_v3(db.db_, text.c_str(), static_cast<int>(text.size()),
                                          keep ? SQLITE_PREPARE_PERSISTENT : 0, &st_, &tail);
        if (rc != SQLITE_OK) throw DbError(sqlite3_errmsg(db.db_), rc);
        if (!st_) throw DbError("The statement is empty");
        if (!OnlyBlanksLeft(tail)) {
            sqlite3_finalize(st_);
            st_ = nullptr;
            throw DbError("Characters found after end of SQL statement");
        }
        if (keep) {
            db.cache_->Add(sql, lenient, st_);
            cached_ = true;
        }
    }
    ~Use() {
        sqlite3_reset(st_);
        sqlite3_clear_bindings(st_);
        if (!cached_) sqlite3_finalize(st_);
    }
    Use(const Use&) = delete;
    Use& operator=(const Use&) = delete;

    sqlite3_stmt* Get() const { return st_; }

    void Bind(const std::vector<Value>& params) {
        const int n = sqlite3_bind_parameter_count(st_);
        if (n != static_cast<int>(params.size()))
            throw DbError("The statement has " + std::to_string(n) + " parameters, " +
                          std::to_string(params.size()) + " given");
        for (int i = 0; i < n; ++i) detail::BindValue(st_, i + 1, params[static_cast<size_t>(i)]);
    }

    // True while there is a row.
    bool Step() {
        const int rc = writeFailure && !sqlite3_stmt_readonly(st_) ? writeFailure : sqlite3_step(st_);
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) return false;
        std::string msg = writeFailure && rc == writeFailure ? sqlite3_errstr(rc) : sqlite3_errmsg(db_.db_);
        // Some failures (disk full, I/O) end the whole transaction in SQLite;
        // the outermost Commit() must then report it instead of committing.
        if (db_.txDepth_ > 0 && sqlite3_get_autocommit(db_.db_)) {
            db_.txFailed_ = true;
            if (!db_.endedBy_) {
                db_.endedBy_ = rc;
                db_.endedWhy_ = msg;
            }
        }
        detail::ThrowExplained(msg, rc, sql_);
    }

private:
    Database& db_;
    const std::string& sql_;
    sqlite3_stmt* st_ = nullptr;
    bool cached_ = false;
};

// ---- Files ----

namespace {

int pageLimit = 0;
bool openReadOnly = false;

// SQLite's "unable to open database file" told apart by what the system said,
// so that the user reads the cause.
constexpr int kNameTooLongCode = SQLITE_CANTOPEN | (100 << 8);
constexpr int kNoFolderCode = SQLITE_CANTOPEN | (101 << 8);
constexpr int kNoReadCode = SQLITE_CANTOPEN | (102 << 8);
constexpr int kFolderNotWritableCode = SQLITE_CANTOPEN | (103 << 8);
constexpr int kFileNotWritableCode = SQLITE_CANTOPEN | (104 << 8);

// A refusal to write `path` that the file itself stands behind: it is there,
// and this user may not write it or may not put another in its place. Any
// other refusal is its folder's.
bool FileRefuses(const std::string& path) {
    std::error_code ec;
    if (path.empty() || !fs::exists(fs::symlink_status(path, ec))) return false;
    return (::access(path.c_str(), W_OK) != 0 && errno == EACCES) || KeptByItsOwner(path);
}

int OpenFailureCode(int rc, int sysErrno, const std::string& path, int flags) {
    if (sysErrno == ENAMETOOLONG || NameTooLong(path)) return kNameTooLongCode;
    if ((rc & 0xff) != SQLITE_CANTOPEN) return rc;
    // SQLite, refused the file, tries it once more read-only and reports that
    // try's error ("no such file" for a new file in a folder it may not write
    // in): the file and its folder say what really stands in the way.
    std::error_code ec;
    const bool exists = fs::exists(path, ec);
    if (exists && ::access(path.c_str(), R_OK) != 0) return errno == EROFS ? SQLITE_READONLY : kNoReadCode;
    if (!exists && (flags & SQLITE_OPEN_CREATE)) {
        fs::path folder = fs::path(path).parent_path();
        if (folder.empty()) folder = ".";
        if (!fs::is_directory(folder, ec)) return kNoFolderCode;
        if (::access(folder.c_str(), W_OK) != 0) return errno == EROFS ? SQLITE_READONLY : kFolderNotWritableCode;
    }
    if (sysErrno == EACCES || sysErrno == EPERM)
        return exists && FileRefuses(path) ? kFileNotWritableCode : SQLITE_PERM;
    if (sysErrno == EROFS) return SQLITE_READONLY;
    if (sysErrno == ENOENT && (flags & SQLITE_OPEN_CREATE)) return kNoFolderCode;
    return rc;
}

sqlite3* OpenHandle(const std::string& path, int flags, const std::string& what) {
    sqlite3* h = nullptr;
    // One thread uses a connection: SQLite need not lock it on every call.
    const int rc = sqlite3_open_v2(path.c_str(), &h, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        std::string msg = h ? sqlite3_errmsg(h) : sqlite3_errstr(rc);
        const int code = OpenFailureCode(rc, h ? sqlite3_system_errno(h) : 0, path, flags);
        if (code != rc) msg = EnvironmentReason(code);
        sqlite3_close(h);
        throw DbError("Cannot " + what + " " + path + ": " + msg, code);
    }
    // Another program holding the file is waited for a little, then told.
    sqlite3_busy_timeout(h, kBusyWaitMs);
    if (pageLimit > 0)
        sqlite3_exec(h, ("PRAGMA max_page_count = " + std::to_string(pageLimit)).c_str(), nullptr, nullptr, nullptr);
    return h;
}

// SQLite writes its journal beside the file: a folder it may not write in
// makes every change fail, however writable the file itself is.
bool FolderWritable(const std::string& path) {
    fs::path folder = fs::path(path).parent_path();
    if (folder.empty()) folder = ".";
    return ::access(folder.c_str(), W_OK) == 0;
}

}  // namespace

bool NameTooLong(const std::string& path) {
    // SQLite takes no full path of 512 bytes or more, whatever the system does.
    constexpr size_t kLongestPath = 511, kLongestName = 255;
    if (path.size() > kLongestPath) return true;
    for (const auto& part : fs::path(path))
        if (part.native().size() > kLongestName) return true;
    return false;
}

bool IsEnvironmental(int code) { return !EnvironmentReason(code).empty(); }

bool IsDamage(int code) { return (code & 0xff) == SQLITE_CORRUPT || (code & 0xff) == SQLITE_NOTADB; }

std::string EnvironmentReason(int code) {
    if (code == kNameTooLongCode) return "the file name is too long";
    if (code == kNoFolderCode) return "the folder does not exist";
    if (code == kNoReadCode) return "there is no permission to read the file";
    if (code == kFolderNotWritableCode) return "there is no permission to write in its folder";
    if (code == kFileNotWritableCode) return "there is no permission to write the file";
    switch (code & 0xff) {
    case SQLITE_FULL: return "the disk is full";
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return "the file is in use by another program";
    case SQLITE_READONLY: return "the file or its folder is read-only";
    case SQLITE_PERM: return "there is no permission to write the file or its folder";
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN: return "the file could not be read or written";
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return "the file is damaged";
    case SQLITE_NOMEM: return "the computer ran out of memory";
    default: return code == SQLITE_ABORT_ROLLBACK ? "the database ended the change after a failure" : "";
    }
}

int EnvironmentalCode(const std::exception& e) {
    const auto* failure = dynamic_cast<const DbError*>(&e);
    return failure && IsEnvironmental(failure->Code()) ? failure->Code() : 0;
}

int SystemCode(const std::error_code& ec, const std::string& path) {
    if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted)
        return FileRefuses(path) ? kFileNotWritableCode : kFolderNotWritableCode;
    if (ec == std::errc::read_only_file_system) return SQLITE_READONLY;
    if (ec == std::errc::no_space_on_device) return SQLITE_FULL;
    if (ec == std::errc::no_such_file_or_directory) return kNoFolderCode;
    if (ec == std::errc::filename_too_long) return kNameTooLongCode;
    if (ec == std::errc::device_or_resource_busy || ec == std::errc::text_file_busy) return SQLITE_BUSY;
    return 0;
}

std::string SystemReason(const std::error_code& ec, const std::string& path) {
    const int code = SystemCode(ec, path);
    return code ? EnvironmentReason(code) : ec.message();
}

bool KeptByItsOwner(const std::string& path) {
    struct stat file {}, folder {};
    if (::lstat(path.c_str(), &file) != 0) return false;
    const std::string parent = fs::path(path).parent_path().string();
    if (::stat(parent.empty() ? "." : parent.c_str(), &folder) != 0 || !(folder.st_mode & S_ISVTX)) return false;
    // Root passes the rule as it passes every other.
    const uid_t me = ::geteuid();
    return me != 0 && file.st_uid != me && folder.st_uid != me;
}

std::string NotSavedMessage(const std::string& what, int code) {
    return what + " was not saved: " + EnvironmentReason(code) + ". The report is unchanged.";
}

namespace testing {
void SetPageLimit(int pages) { pageLimit = pages; }
void SetOpenReadOnly(bool on) { openReadOnly = on; }
void SetWriteFailure(int code) { writeFailure = code; }
}  // namespace testing

std::unique_ptr<Database> Database::Create(const std::string& path) {
    std::error_code ec;
    if (fs::exists(path, ec)) throw DbError("File already exists: " + path);
    std::unique_ptr<Database> db(new Database());
    db->db_ = OpenHandle(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, "create");
    db->path_ = path;
    db->Configure();
    return db;
}

std::unique_ptr<Database> Database::Open(const std::string& path) {
    std::error_code ec;
    if (!fs::exists(path, ec)) throw DbError("File not found: " + path);
    if (!fs::is_regular_file(path, ec)) throw DbError(path + " is not a Cost Report File");
    // Without SQLITE_OPEN_CREATE: a file that vanished meanwhile is not made anew.
    sqlite3* h = OpenHandle(path, openReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE, "open");
    // SQLite reads the file only when first asked; ask now so that a file of
    // another kind is refused here and not by the first statement.
    const int rc = sqlite3_exec(h, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        std::string msg = sqlite3_errmsg(h);
        sqlite3_close(h);
        if (rc == SQLITE_NOTADB || rc == SQLITE_CORRUPT) throw DbError(path + " is not a Cost Report File", rc);
        throw DbError("Cannot open " + path + ": " + msg, rc);
    }
    // SQLite opens a file it may not write read-only without a word, and
    // the first change would fail; a report is opened to be changed.
    const bool fileReadOnly = sqlite3_db_readonly(h, "main") == 1;
    if (fileReadOnly || !FolderWritable(path)) {
        sqlite3_close(h);
        throw DbError(std::string(fileReadOnly ? "The file " : "The folder of ") + path + " is read-only",
                      SQLITE_READONLY);
    }
    std::unique_ptr<Database> db(new Database());
    db->db_ = h;
    db->path_ = path;
    db->Configure();
    return db;
}

void Database::Configure() {
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    detail::RegisterFunctions(db_);
    cache_ = std::make_unique<StatementCache>();
}

Database::~Database() { Close(); }

void Database::Close() {
    if (!db_) return;
    cache_.reset();
    if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close_v2(db_);
    db_ = nullptr;
    txDepth_ = 0;
    txFailed_ = false;
    endedBy_ = 0;
    endedWhy_.clear();
}

void Database::RequireOpen() const {
    if (!db_) throw DbError("The database is closed");
    if (txDepth_ > 0 && sqlite3_get_autocommit(db_)) {
        // The failure that ended it was met by a statement of our own, or
        // else is the connection's last error.
        int code = endedBy_ ? endedBy_ : sqlite3_errcode(db_);
        std::string why = endedBy_ ? endedWhy_ : sqlite3_errmsg(db_);
        if (!IsEnvironmental(code)) {
            code = SQLITE_ABORT_ROLLBACK;
            why = "an earlier step failed";
        }
        throw DbError("The change was stopped and undone: " + why, code);
    }
}

// ---- Statements ----

std::string Database::Rewrite(const std::string& sql, bool lenient) const {
    std::string s = sql;
    const size_t start = SkipBlanks(s, 0);
    const std::string first = WordAt(s, start);
    const size_t afterFirst = start + first.size();
    if (lenient && (first == "INSERT" || first == "UPDATE")) {
        if (WordAt(s, SkipBlanks(s, afterFirst)) != "OR") s.insert(afterFirst, " OR IGNORE");
    } else if (first == "DELETE") {
        const size_t star = SkipBlanks(s, afterFirst);
        if (star < s.size() && s[star] == '*') s.erase(star, 1);
    }
    return RenameIsNullCalls(s);
}

int Database::Run(const std::string& sql, const std::vector<Value>& params, bool lenient) {
    RequireOpen();
    const size_t start = SkipBlanks(sql, 0);
    if (start < sql.size() && (sql[start] == 'C' || sql[start] == 'c')) {
        if (auto ix = detail::ParseCreateIndex(sql)) {
            if (!params.empty()) throw DbError("CREATE INDEX takes no parameters");
            detail::CreateIndex(db_, *ix);
            return 0;
        }
    }
    // Refused before anything is written: an amount the file cannot keep exactly.
    for (const Value& p : params) {
        if (p.Type() == VType::Currency && !IsStorableAmount(p.ToCurrency())) {
            if (const std::string table = detail::TargetTable(sql); !table.empty())
                throw AmountOverflow(Format(p, "#,##0.00"), table);
        }
    }
    Use use(*this, sql, lenient);
    use.Bind(params);
    const auto before = sqlite3_total_changes64(db_);
    while (use.Step()) {
    }
    return static_cast<int>(sqlite3_total_changes64(db_) - before);
}

int Database::Execute(const std::string& sql, const std::vector<Value>& params) { return Run(sql, params, true); }

int Database::ExecuteStrict(const std::string& sql, const std::vector<Value>& params) {
    return Run(sql, params, false);
}

Recordset Database::OpenRecordset(const std::string& sql, const std::vector<Value>& params) {
    Use use(*this, sql, false);
    use.Bind(params);
    auto d = std::make_unique<Recordset::Impl>();
    d->db = this;
    sqlite3_stmt* st = use.Get();
    // A cached statement is prepared again by its first step when the schema
    // changed (a field appended or dropped), so the columns are read after it.
    bool more = use.Step();
    const int n = sqlite3_column_count(st);
    for (int i = 0; i < n; ++i) d->names.emplace_back(sqlite3_column_name(st, i));
    const auto kinds = detail::ColumnKinds(st);
    for (; more; more = use.Step()) {
        std::vector<Value> row;
        row.reserve(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) row.push_back(ReadColumn(st, i, kinds[static_cast<size_t>(i)]));
        d->rows.push_back(std::move(row));
    }
    Recordset rs;
    rs.d_ = std::move(d);
    return rs;
}

std::vector<Database::NumberRow> Database::Numbers(const std::string& sql, const std::vector<Value>& params) {
    Use use(*this, sql, false);
    use.Bind(params);
    sqlite3_stmt* st = use.Get();
    bool more = use.Step();  // columns after the first step, as above
    const auto kinds = detail::ColumnKinds(st);
    const int n = static_cast<int>(kinds.size());
    std::vector<NumberRow> rows;
    for (; more; more = use.Step()) {
        NumberRow row(kinds.size());
        for (int i = 0; i < n; ++i) row[static_cast<size_t>(i)] = detail::ReadNumber(st, i, kinds[static_cast<size_t>(i)]);
        rows.push_back(std::move(row));
    }
    return rows;
}

Recordset Database::OpenTable(const std::string& table, const std::string& where, const std::string& orderBy,
                              const std::vector<Value>& params) {
    RequireOpen();
    const auto found = detail::TableName(db_, table);
    if (!found) throw DbError("no such table: " + table, SQLITE_ERROR);
    const std::string& name = *found;
    std::string sql = "SELECT rowid, * FROM " + detail::Quote(name);
    if (!where.empty()) sql += " WHERE " + where;
    sql += " ORDER BY " + (orderBy.empty() ? std::string("rowid") : orderBy);

    auto d = std::make_unique<Recordset::Impl>();
    d->db = this;
    d->table = name;
    for (const auto& f : Fields(name)) d->types.push_back(f.type);
    Use use(*this, sql, false);
    use.Bind(params);
    sqlite3_stmt* st = use.Get();
    bool more = use.Step();  // columns after the first step, as above
    const int n = sqlite3_column_count(st);
    for (int i = 1; i < n; ++i) d->names.emplace_back(sqlite3_column_name(st, i));
    const auto kinds = detail::ColumnKinds(st);
    for (; more; more = use.Step()) {
        d->rowids.push_back(sqlite3_column_int64(st, 0));
        std::vector<Value> row;
        row.reserve(static_cast<size_t>(n - 1));
        for (int i = 1; i < n; ++i) row.push_back(ReadColumn(st, i, kinds[static_cast<size_t>(i)]));
        d->rows.push_back(std::move(row));
    }
    Recordset rs;
    rs.d_ = std::move(d);
    return rs;
}

Value Database::Scalar(const std::string& sql, const std::vector<Value>& params) {
    Use use(*this, sql, false);
    use.Bind(params);
    if (!use.Step() || sqlite3_column_count(use.Get()) == 0) return Value::Null();
    return ReadColumn(use.Get(), 0);
}

// ---- Transactions ----

void Database::Begin() {
    RequireOpen();
    if (txDepth_ == 0) {
        detail::ExecRaw(db_, "BEGIN");
        txFailed_ = false;
        endedBy_ = 0;
        endedWhy_.clear();
    }
    ++txDepth_;
}

void Database::Commit() {
    if (!db_) throw DbError("The database is closed");
    if (txDepth_ == 0) throw DbError("Commit without a transaction");
    if (--txDepth_ > 0) return;
    const bool active = !sqlite3_get_autocommit(db_);
    if (txFailed_ || !active) {
        const int code = endedBy_ ? endedBy_ : (active ? 0 : SQLITE_ABORT_ROLLBACK);
        const std::string why = endedWhy_;
        txFailed_ = false;
        endedBy_ = 0;
        endedWhy_.clear();
        if (active) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw DbError("Commit failed: " + (why.empty() ? std::string() : why + "; ") + "the change was rolled back",
                      code);
    }
    const int rc = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        std::string msg = sqlite3_errmsg(db_);
        if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw DbError("Commit failed: " + msg + "; the change was rolled back", rc);
    }
}

void Database::Rollback() {
    if (!db_) throw DbError("The database is closed");
    if (txDepth_ == 0) throw DbError("Rollback without a transaction");
    if (--txDepth_ > 0) {
        txFailed_ = true;  // undone by the outermost Commit() or Rollback()
        return;
    }
    txFailed_ = false;
    endedBy_ = 0;
    endedWhy_.clear();
    if (!sqlite3_get_autocommit(db_)) detail::ExecRaw(db_, "ROLLBACK");
}

// ---- Subtransactions ----

Subtransaction::Subtransaction(Database& db) : db_(db) {
    db_.RequireOpen();
    if (db_.txDepth_ == 0) throw DbError("Subtransaction without a transaction");
    static unsigned serial = 0;
    name_ = "vt_sub" + std::to_string(++serial);
    depth_ = db_.txDepth_;
    failed_ = db_.txFailed_;
    detail::ExecRaw(db_.db_, "SAVEPOINT " + name_);
}

Subtransaction::~Subtransaction() {
    if (!done_) {
        try {
            Rollback();
        } catch (...) {
        }
    }
}

void Subtransaction::Release() {
    if (done_) return;
    done_ = true;
    detail::ExecRaw(db_.db_, "RELEASE " + name_);
}

void Subtransaction::Rollback() {
    if (done_) return;
    done_ = true;
    // Inner transactions that failed inside the savepoint have counted
    // themselves out and marked the outer one failed; undoing their work
    // here takes that mark back. When SQLite itself ended the transaction
    // (disk full, I/O) there is nothing to return to and the mark stays.
    db_.txDepth_ = depth_;
    if (!db_.db_ || sqlite3_get_autocommit(db_.db_)) {
        db_.txFailed_ = true;
        return;
    }
    detail::ExecRaw(db_.db_, "ROLLBACK TO " + name_);
    detail::ExecRaw(db_.db_, "RELEASE " + name_);
    db_.txFailed_ = failed_;
}

// ---- Backup ----

void Database::BackupTo(const std::string& path) {
    RequireOpen();
    // SQLite cannot copy from a connection in the middle of writing; say so
    // plainly rather than with "database is locked".
    if (!sqlite3_get_autocommit(db_)) throw DbError("The database cannot be copied during a transaction");
    std::error_code ec;
    if (fs::exists(path, ec) && fs::equivalent(path, path_, ec))
        throw DbError("Cannot copy a database onto itself: " + path);
    // Copy into a working file beside the target, of a name no other process
    // or user takes, and move it over at the end, so that a failed copy leaves
    // the old file as it was.
    struct Working {  // gone unless it took the target's place
        std::string name;
        bool placed = false;
        ~Working() {
            std::error_code ignored;
            if (!placed) fs::remove(name, ignored);
            WorkingFileDone(name);
        }
    } copy;
    const int fd = CreateWorkingFile(path, kReportCopy, copy.name);
    if (fd < 0) {
        const std::error_code failed(errno, std::generic_category());
        throw DbError("Cannot copy the database to " + path + ": " + SystemReason(failed, path),
                      SystemCode(failed, path));
    }
    ::close(fd);
    sqlite3* dest = OpenHandle(copy.name, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, "create");
    sqlite3_backup* b = sqlite3_backup_init(dest, "main", db_, "main");
    int rc = SQLITE_ERROR;
    if (b) {
        rc = sqlite3_backup_step(b, -1);
        sqlite3_backup_finish(b);
    }
    const std::string msg = b ? sqlite3_errstr(rc) : sqlite3_errmsg(dest);
    sqlite3_close(dest);
    if (rc != SQLITE_DONE) throw DbError("Cannot copy the database to " + path + ": " + msg, rc);
    fs::rename(copy.name, path, ec);
    if (ec) throw DbError("Cannot replace " + path + ": " + ec.message(), SystemCode(ec, path));
    copy.placed = true;
}

}  // namespace vt::db
