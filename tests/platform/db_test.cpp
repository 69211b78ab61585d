#include "platform/db/db.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>

#include "tests/support/db_checks.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;
using namespace vt;
using namespace vt::db;

namespace {

// Each test gets a folder of its own with a fresh database in it.
class DbFixture : public ::testing::Test {
protected:
    std::string PathOf(const std::string& name) const { return dir_.PathOf(name); }
    Database& db() { return *db_; }
    int Count(const std::string& table) {
        return static_cast<int>(db().Scalar("SELECT count(*) FROM " + table).ToLong());
    }

    vt::test::TempFolder dir_{"vt-db"};
    std::unique_ptr<Database> db_ = Database::Create(PathOf("report.crf"));
};

Value Date(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0) {
    return Value(*DateTime::FromParts(y, m, d, hh, mm, ss));
}

}  // namespace

// ---- Currency stays exact ----

using DbCurrency = DbFixture;

TEST_F(DbCurrency, RenumberingThroughCCurLeavesFindableLines) {
    db().CreateTable("B", {CurrencyField("LineNum"), TextField("Name", 20)});
    for (auto [line, name] : {std::pair{1.01, "first"}, {2.0, "second"}, {3.5, "third"}})
        db().Execute("INSERT INTO B (LineNum, Name) VALUES (?, ?)", {Value::Cur(line), Value(name)});
    db().Execute("CREATE UNIQUE INDEX ndx ON B (LineNum)");

    ASSERT_NE(1.01 + 100 - 99.99, 1.02);  // what the same arithmetic gives without CCur
    db().Execute("UPDATE B SET LineNum = CCur(LineNum+100) WHERE LineNum >= 1");
    db().Execute("UPDATE B SET LineNum = CCur(LineNum-99.99) WHERE LineNum >= 100");

    EXPECT_EQ(db().Scalar("SELECT Name FROM B WHERE LineNum = 1.02").ToText(), "first");
    EXPECT_EQ(db().Scalar("SELECT Name FROM B WHERE LineNum = ?", {Value(Currency::FromScaled(35100))}).ToText(),
              "third");
    ExpectAllCurrencyExact(db());
}

// Past the limit a stored double no longer holds the fourth decimal: such an
// amount is refused where it would be written, naming table, line and amount.
TEST_F(DbCurrency, AmountsPastTheLimitAreRefusedNamingWhereTheyWouldGo) {
    db().CreateTable("B", {CurrencyField("LineNum"), CurrencyField("Amount")});
    db().Execute("INSERT INTO B (LineNum, Amount) VALUES (7, 60000000000)");
    const Value limit(kLargestAmount);
    db().Execute("INSERT INTO B (LineNum, Amount) VALUES (8, ?)", {Value(-kLargestAmount)});
    EXPECT_EQ(db().Scalar("SELECT Amount FROM B WHERE LineNum = 8"), Value(-kLargestAmount));

    const auto message = [&](const std::function<void()>& write) -> std::string {
        try {
            write();
        } catch (const AmountOverflow& e) {
            return e.what();
        }
        return "nothing raised";
    };
    const std::string past = " is past 99,999,999,999.9999, the largest amount (either side of zero) that a "
                             "report keeps exactly.";
    EXPECT_EQ(message([&] { db().Execute("UPDATE B SET Amount = CCur(Amount * 2) WHERE LineNum = 7"); }),
              "Overflow in table B: the amount 120,000,000,000.00" + past);
    EXPECT_EQ(message([&] { db().Execute("UPDATE B SET Amount = ?", {Value(Currency::FromInt(100'000'000'000))}); }),
              "Overflow in table B: the amount 100,000,000,000.00" + past);
    EXPECT_EQ(message([&] {
                  auto rs = db().OpenTable("B", "LineNum = 7");
                  rs.Edit();
                  rs.Set("Amount", Value(1e20));
              }),
              "Overflow in table B, line 7: the amount 100,000,000,000,000,000,000.00" + past);
    EXPECT_EQ(message([&] {
                  auto rs = db().OpenTable("B", "LineNum = 7");
                  rs.Edit();
                  rs.Set("Amount", Value(Currency::FromScaled(kLargestAmount.scaled + 1)));
                  rs.Update();
              }),
              "Overflow in table B, line 7: the amount 100,000,000,000.00" + past);
    EXPECT_EQ(message([&] { AtLine("B", "100", [] { (void)(Currency{INT64_MAX} + Currency{1}); }); }),
              "Overflow in table B, line 100: an amount" + past);
    EXPECT_EQ(db().Scalar("SELECT Amount FROM B WHERE LineNum = 7"), Value(Currency::FromInt(60'000'000'000)));
    ExpectAllCurrencyExact(db());
}

// A number, money, date or Yes/No field holding text or a blob (a damaged file,
// or one written by another program) is reported when read, never read as 0
// or as the number its text starts with.
TEST_F(DbCurrency, DamagedValuesAreReportedByTableFieldAndLine) {
    db().CreateTable("T", {CurrencyField("LineNum"), CurrencyField("Amount"), DoubleField("Ratio"),
                           DateField("Day"), LongField("N"), YesNoField("Done")});
    db().Execute("INSERT INTO T (LineNum, Amount, Ratio, Day, N, Done) VALUES (10, 5, 0.5, '2005-12-31', 1, 1)");
    struct Case {
        const char* field;
        const char* stored;  // SQL literal
        const char* message;
    } const cases[] = {
        {"Amount", "'12abc'", "The value '12abc' in table T, field Amount, line 11.5 is not an amount"},
        {"Amount", "1e20", "The value '1.0e+20' in table T, field Amount, line 11.5 is not an amount"},
        {"Ratio", "X'0102'", "A binary value in table T, field Ratio, line 11.5 is not a number"},
        {"Day", "'12abc'", "The value '12abc' in table T, field Day, line 11.5 is not a date"},
        {"Day", "38717", "The value '38717' in table T, field Day, line 11.5 is not a date"},
        {"N", "'abc'", "The value 'abc' in table T, field N, line 11.5 is not a whole number"},
        {"Done", "'yes'", "The value 'yes' in table T, field Done, line 11.5 is not a Yes/No value"},
    };
    const std::string tail = ": the file is damaged or was written by another program.";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        db().Execute(std::string("INSERT INTO T (LineNum, ") + c.field + ") VALUES (11.5, " + c.stored + ")");
        const std::string one = "SELECT " + std::string(c.field) + " FROM T WHERE LineNum = 11.5";
        for (const std::string& sql : {std::string("SELECT * FROM T ORDER BY LineNum"), one}) {
            try {
                db().OpenRecordset(sql);
                ADD_FAILURE() << sql << " read the damaged value";
            } catch (const DamagedValue& e) {
                EXPECT_EQ(e.what(), c.message + tail);
                // A table read under a name it is kept by for a while is told
                // under its own; damage read from another table stays as found.
                std::string own = c.message + tail;
                own.replace(own.find("table T,"), 8, "table Own,");
                EXPECT_EQ(e.Renamed("T", "Own").what(), own);
                EXPECT_EQ(e.Renamed("U", "Own").what(), c.message + tail);
            }
        }
        EXPECT_THROW(db().OpenTable("T"), DamagedValue);
        // The wide sheets' read of numbers alone reports a number field's damage alike.
        if (std::string(c.field) != "Day") {
            try {
                db().Numbers(one);
                ADD_FAILURE() << "Numbers read the damaged value";
            } catch (const DamagedValue& e) {
                EXPECT_EQ(e.what(), c.message + tail);
            }
        }
        EXPECT_EQ(db().Scalar(std::string("SELECT ") + c.field + " FROM T WHERE LineNum = 10").IsNull(), false);
        db().Execute("DELETE FROM T WHERE LineNum = 11.5");
    }
}

TEST_F(DbCurrency, JoinOnCCurSumMatches) {
    db().CreateTable("A", {CurrencyField("X")});
    db().CreateTable("B", {CurrencyField("SeqNum")});
    db().Execute("INSERT INTO A (X) VALUES (2.01)");
    db().Execute("INSERT INTO B (SeqNum) VALUES (20.01)");  // 2.01 + 18 is not 20.01 as a double

    EXPECT_EQ(db().Scalar("SELECT count(*) FROM A a INNER JOIN B b ON CCur(a.X+18) = b.SeqNum").ToLong(), 1);
    EXPECT_EQ(db().Scalar("SELECT count(*) FROM A a INNER JOIN B b ON a.X+18 = b.SeqNum").ToLong(), 0);
}

TEST_F(DbCurrency, SumOfTenTenthsReadAsCurrencyIsOne) {
    db().CreateTable("T", {CurrencyField("Amount")});
    Transaction tx(db());
    for (int i = 0; i < 10; ++i) db().Execute("INSERT INTO T (Amount) VALUES (?)", {Value::Cur(0.1)});
    tx.Commit();

    EXPECT_EQ(db().Scalar("SELECT SUM(Amount) FROM T").ToCurrency(), Currency::FromInt(1));
    const Value one = db().Scalar("SELECT Amount FROM T");
    EXPECT_EQ(std::pair(one.Type(), one.ToCurrency()), std::pair(VType::Currency, Currency::FromScaled(1000)));
}

TEST_F(DbCurrency, RecordsetStoresFourDecimals) {
    db().CreateTable("T", {CurrencyField("Amount")});
    auto rs = db().OpenTable("T");
    rs.AddNew();
    rs.Set("Amount", Value(12.345678));
    rs.Update();
    EXPECT_EQ(rs["Amount"].ToCurrency(), Currency::FromScaled(123457));
    EXPECT_EQ(db().Scalar("SELECT Amount FROM T WHERE Amount = 12.3457").ToCurrency(), Currency::FromScaled(123457));
}

// Numbers read alone come back as the doubles the fields keep, Null as nothing.
TEST_F(DbCurrency, NumbersReadTheStoredDoubles) {
    db().CreateTable("T", {CurrencyField("Amount"), DoubleField("Ratio"), LongField("N")});
    db().Execute("INSERT INTO T (Amount, Ratio, N) VALUES (?, ?, ?)", {Value::Cur(0.1), Value(0.1 + 0.2), Value(7)});
    db().Execute("INSERT INTO T (Amount) VALUES (?)", {Value::Cur(-2.5)});
    const auto rows = db().Numbers("SELECT Amount, Ratio, N FROM T ORDER BY rowid");
    using Row = Database::NumberRow;
    EXPECT_EQ(rows, (std::vector<Row>{{0.1, 0.1 + 0.2, 7.0}, {-2.5, std::nullopt, std::nullopt}}));
}

// Values bound into fields come back with the field's type.
TEST_F(DbCurrency, ValuesComeBackByFieldType) {
    struct Case {
        FieldDef field;
        Value in;
        VType type;
        std::string stored;  // the column's text as SQLite keeps it
    };
    const Case cases[] = {
        {TextField("F", 20), Value("O'Brien \"x\""), VType::String, "O'Brien \"x\""},
        {MemoField("F"), Value(std::string(1000, 'm')), VType::String, std::string(1000, 'm')},
        {IntegerField("F"), Value::Integer(-7), VType::Integer, "-7"},
        {LongField("F"), Value(70000), VType::Long, "70000"},
        {CurrencyField("F"), Value(Currency::FromScaled(12345)), VType::Currency, "1.2345"},
        {DoubleField("F"), Value(0.1), VType::Double, "0.1"},
        {DateField("F"), Date(2005, 12, 31), VType::Date, "2005-12-31"},
        {DateField("F"), Date(2005, 12, 31, 13, 5, 0), VType::Date, "2005-12-31 13:05:00"},
        {YesNoField("F"), Value::Bool(true), VType::Boolean, "-1"},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string table = "T" + std::to_string(n++);
        SCOPED_TRACE(table + " stores " + c.stored);
        db().CreateTable(table, {c.field});
        db().Execute("INSERT INTO " + table + " (F) VALUES (?)", {c.in});
        const Value back = db().Scalar("SELECT F FROM " + table);
        EXPECT_EQ(back.Type(), c.type);
        EXPECT_EQ(back.ToText(), c.in.ToText());
        EXPECT_EQ(db().Scalar("SELECT F || '' FROM " + table).ToText(), c.stored);
        db().Execute("INSERT INTO " + table + " (F) VALUES (?)", {Value::Null()});
        EXPECT_TRUE(db().Scalar("SELECT F FROM " + table + " WHERE F IS NULL").IsNull());
    }
}

// ---- The shared check ----

using DbChecks = DbFixture;

TEST_F(DbChecks, CurrencyCheckFlagsOnlyDriftedAmounts) {
    db().CreateTable("T", {CurrencyField("Amount"), DoubleField("Ratio")});
    db().Execute("INSERT INTO T (Amount, Ratio) VALUES (1.02, 0.1 + 0.2)");
    db().Execute("INSERT INTO T (Amount, Ratio) VALUES (CCur(1.01 + 100 - 99.99), NULL)");
    ExpectAllCurrencyExact(db());  // Doubles may hold anything

    db().Execute("INSERT INTO T (Amount) VALUES (1.0200000000000102)");
    EXPECT_NONFATAL_FAILURE(ExpectAllCurrencyExact(db()), "T.Amount");
}

// ---- Lenient statements ----

using DbLenient = DbFixture;

TEST_F(DbLenient, InsertSelectSkipsTheDuplicateAndGoesOn) {
    db().CreateTable("Src", {LongField("K"), TextField("Name", 10)});
    db().CreateTable("Dst", {LongField("K"), TextField("Name", 10)});
    db().Execute("INSERT INTO Src (K, Name) VALUES (1, 'a'), (2, 'b'), (3, 'c')");
    db().Execute("INSERT INTO Dst (K, Name) VALUES (2, 'old')");
    db().Execute("CREATE UNIQUE INDEX ndx ON Dst (K)");

    EXPECT_EQ(db().Execute("INSERT INTO Dst (K, Name) SELECT K, Name FROM Src"), 2);
    EXPECT_EQ(Count("Dst"), 3);
    EXPECT_EQ(db().Scalar("SELECT Name FROM Dst WHERE K = 2").ToText(), "old");
    EXPECT_THROW(db().ExecuteStrict("INSERT INTO Dst (K) VALUES (1)"), DbError);

    // An UPDATE that would make a duplicate leaves that row as it was.
    EXPECT_EQ(db().Execute("UPDATE Dst SET K = 2 WHERE K = 1"), 0);
    EXPECT_EQ(db().Scalar("SELECT Name FROM Dst WHERE K = 1").ToText(), "a");
}

// Field rules: under Execute a refused row is dropped; strictly (a
// recordset, ExecuteStrict) it raises.
TEST_F(DbLenient, FieldRulesDropOrRefuseTheRow) {
    db().CreateTable("T", {TextField("Code", 8), TextField("Opt", 8, true), MemoField("Note"), LongField("K")});
    db().Execute("INSERT INTO T (K) VALUES (1), (2)");
    db().Execute("CREATE UNIQUE INDEX ndx ON T (K)");
    struct Case {
        const char* field;
        Value value;
        bool accepted;
        const char* message = nullptr;  // what a strict write says, where it is the layer's own rule
    } const cases[] = {
        {"Code", Value("123456789"), false, "The field Code of table T may hold at most 8 characters."},
        {"Code", Value(""), false, "The field Code of table T may not be empty."},
        {"Note", Value(""), false, "The field Note of table T may not be empty."},
        {"K", Value(1), false},
        {"Code", Value("12345678"), true},
        {"Opt", Value(""), true},
        {"Note", Value(std::string(70000, 'n')), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " = '" + c.value.ToText().substr(0, 20) + "'");
        const std::string insert = std::string("INSERT INTO T (") + c.field + ") VALUES (?)";
        const int before = Count("T");
        EXPECT_EQ(db().Execute(insert, {c.value}), c.accepted ? 1 : 0);
        EXPECT_EQ(Count("T"), before + (c.accepted ? 1 : 0));
        if (c.accepted) continue;
        EXPECT_THROW(db().ExecuteStrict(insert, {c.value}), DbError);
        if (c.message) {
            try {
                db().ExecuteStrict(insert, {c.value});
            } catch (const DbError& e) {
                EXPECT_EQ(std::string(e.what()), c.message);
            }
        }

        auto rs = db().OpenTable("T");
        rs.AddNew();
        rs.Set(c.field, c.value);
        EXPECT_THROW(rs.Update(), DbError);
        rs.CancelUpdate();
        rs.MoveLast();  // K = 2
        rs.Edit();
        rs.Set(c.field, c.value);
        EXPECT_THROW(rs.Update(), DbError);
        EXPECT_EQ(Count("T"), before);
    }
}

TEST_F(DbLenient, OtherFailuresRaise) {
    db().CreateTable("T", {LongField("K")});
    for (const char* sql : {
             "INSRT INTO T (K) VALUES (1)",
             "SELECT \"nosuchcolumn\"",
             "INSERT INTO T (K) VALUES (\"text\")",
             "INSERT INTO NoSuchTable (K) VALUES (1)",
             "UPDATE T SET NoField = 1",
             "INSERT INTO T (K) VALUES (1); DELETE FROM T",
             "SELECT Int('abc')",
         }) {
        SCOPED_TRACE(sql);
        EXPECT_THROW(db().Execute(sql), DbError);
    }
    EXPECT_THROW(db().Scalar("SELECT \"nosuchcolumn\""), DbError);
    EXPECT_THROW(db().Execute("INSERT INTO T (K) VALUES (?)"), DbError);  // a parameter short
    EXPECT_EQ(Count("T"), 0);
}

TEST_F(DbLenient, DeleteStarIsAccepted) {
    db().CreateTable("T", {LongField("K")});
    db().Execute("INSERT INTO T (K) VALUES (1), (2)");
    EXPECT_EQ(db().Execute("DELETE * FROM T WHERE K = 1"), 1);
    EXPECT_EQ(Count("T"), 1);
}

// ---- Indexes named per table ----

using DbIndex = DbFixture;

TEST_F(DbIndex, EachTableHasItsOwnNdxAndRenamingTakesItAlong) {
    for (const char* t : {"A", "B"}) {
        db().CreateTable(t, {CurrencyField("LineNum")});
        db().Execute(std::string("INSERT INTO ") + t + " (LineNum) VALUES (1)");
        db().Execute(std::string("CREATE UNIQUE INDEX ndx ON ") + t + " (LineNum)");
    }
    db().RenameTable("A", "A_old");
    EXPECT_EQ(db().Execute("INSERT INTO A_old (LineNum) VALUES (1)"), 0);
    EXPECT_THROW(db().ExecuteStrict("INSERT INTO A_old (LineNum) VALUES (1)"), DbError);

    db().CreateTable("A", {CurrencyField("LineNum")});
    EXPECT_NO_THROW(db().Execute("CREATE UNIQUE INDEX ndx ON A (LineNum)"));
    for (const char* t : {"A", "A_old", "B"}) {
        SCOPED_TRACE(t);
        db().Execute(std::string("INSERT INTO ") + t + " (LineNum) VALUES (2)");
        EXPECT_EQ(db().Execute(std::string("INSERT INTO ") + t + " (LineNum) VALUES (2)"), 0);
    }

    db().DropTable("B");
    db().CreateTable("B", {CurrencyField("LineNum")});
    EXPECT_NO_THROW(db().Execute("CREATE UNIQUE INDEX ndx ON B (LineNum)"));
}

TEST_F(DbIndex, DisallowNullSkipsNullKeysAlsoAfterRename) {
    db().CreateTable("Worksheets", {TextField("Item", 16, true), IntegerField("Calc_Lvl")});
    db().Execute("CREATE UNIQUE INDEX ndxWorksheets ON Worksheets (Item) WITH DISALLOW NULL;");
    EXPECT_EQ(db().Execute("INSERT INTO Worksheets (Item, Calc_Lvl) VALUES ('B', 0)"), 1);
    EXPECT_EQ(db().Execute("INSERT INTO Worksheets (Item, Calc_Lvl) VALUES (NULL, 0)"), 0);
    EXPECT_EQ(db().Execute("INSERT INTO Worksheets (Item, Calc_Lvl) VALUES ('b', 0)"), 0);  // no case
    EXPECT_EQ(db().Execute("UPDATE Worksheets SET Item = NULL"), 0);

    db().RenameTable("Worksheets", "W2");
    EXPECT_EQ(db().Execute("INSERT INTO W2 (Item, Calc_Lvl) VALUES (NULL, 0)"), 0);
    auto rs = db().OpenTable("W2");
    rs.AddNew();
    rs.Set("Calc_Lvl", Value(1));
    EXPECT_THROW(rs.Update(), DbError);
    EXPECT_EQ(Count("W2"), 1);

    db().CreateTable("Worksheets", {TextField("Item", 16, true)});
    db().Execute("CREATE UNIQUE INDEX ndxWorksheets ON Worksheets (Item) WITH DISALLOW NULL");
    EXPECT_EQ(db().Execute("INSERT INTO Worksheets (Item) VALUES (NULL)"), 0);
}

// ---- Table definitions ----

using DbSchema = DbFixture;

TEST_F(DbSchema, FieldsReadBackAndCopyKeepsThem) {
    const std::vector<FieldDef> defs = {
        TextField("Code", 8),     TextField("Label", 16, true), TextField("Wide", 0), MemoField("Note", true),
        MemoField("Strict"),      IntegerField("Small"),        LongField("Big"),     CurrencyField("Amount"),
        DoubleField("Ratio"),     DateField("When"),            YesNoField("Done"),
    };
    db().CreateTable("Src", defs);
    db().Execute("INSERT INTO Src (Code, Amount, \"When\", Done) VALUES ('abc', 1.5, '2005-12-31', -1)");
    db().Execute("CREATE UNIQUE INDEX ndx ON Src (Code)");
    db().CopyTable("Src", "Dst");

    for (const char* table : {"Src", "Dst"}) {
        SCOPED_TRACE(table);
        const auto back = db().Fields(table);
        auto want = vt::test::Layout(defs);
        want[2] = "Wide Text 255";  // a Text field without a size holds 255
        EXPECT_EQ(vt::test::Layout(back), want);
    }
    auto rs = db().OpenRecordset("SELECT * FROM Dst");
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs["Amount"].Type(), VType::Currency);
    EXPECT_EQ(rs["When"].Type(), VType::Date);
    EXPECT_EQ(rs["Done"].Type(), VType::Boolean);
    EXPECT_EQ(db().Execute("INSERT INTO Dst (Code) VALUES ('abc')"), 1);  // no index copied
    EXPECT_EQ(db().Execute("INSERT INTO Dst (Code) VALUES ('123456789')"), 0);  // but the rules are
}

TEST_F(DbSchema, AppendAndDropFieldsKeepRows) {
    db().CreateTable("E", {CurrencyField("SeqNum"), CurrencyField("Col_1")});
    db().Execute("INSERT INTO E (SeqNum, Col_1) VALUES (1, 10), (2, 20)");
    db().Execute("CREATE UNIQUE INDEX ndx ON E (SeqNum)");

    db().AppendField("E", CurrencyField("Col_2"));
    EXPECT_EQ(db().Scalar("SELECT count(*) FROM E WHERE Col_2 IS NULL").ToLong(), 2);
    db().AppendField("E", TextField("Tag", 4));
    EXPECT_EQ(db().Execute("UPDATE E SET Tag = 'toolong' WHERE SeqNum = 1"), 0);  // the new field's rule holds
    EXPECT_EQ(vt::test::Layout(db().Fields("E")),
              (std::vector<std::string>{"SeqNum Currency 0", "Col_1 Currency 0", "Col_2 Currency 0", "Tag Text 4"}));
    db().DropField("E", "Tag");
    db().DropField("E", "Col_2");
    EXPECT_EQ(db().Fields("E").size(), 2u);
    EXPECT_EQ(db().Scalar("SELECT Col_1 FROM E WHERE SeqNum = 2").ToCurrency(), Currency::FromInt(20));
    EXPECT_EQ(db().Execute("INSERT INTO E (SeqNum) VALUES (2)"), 0);  // the index survived
}

TEST_F(DbSchema, TablesByNameWithoutCase) {
    for (const char* t : {"Worksheets", "Master", "B"}) db().CreateTable(t, {TextField("Name", 10)});
    EXPECT_EQ(db().TableNames(), (std::vector<std::string>{"Worksheets", "Master", "B"}));
    EXPECT_TRUE(db().TableExists("MASTER"));
    EXPECT_THROW(db().CreateTable("master", {LongField("K")}), DbError);

    db().RenameTable("master", "Master2");
    db().DropTable("b");
    EXPECT_EQ(db().TableNames(), (std::vector<std::string>{"Worksheets", "Master2"}));
    EXPECT_FALSE(db().TableExists("Master"));
    EXPECT_THROW(db().Fields("B"), DbError);

    // Text compares and sorts without case.
    db().Execute("INSERT INTO Worksheets (Name) VALUES ('beta'), ('Alpha'), ('GAMMA')");
    EXPECT_EQ(db().Scalar("SELECT Name FROM Worksheets WHERE Name = 'ALPHA'").ToText(), "Alpha");
    EXPECT_EQ(db().Scalar("SELECT Name FROM Worksheets ORDER BY Name DESC").ToText(), "GAMMA");
}

// ---- Files ----

using DbFile = DbFixture;

TEST_F(DbFile, OpenRefusesMissingAndForeignFilesAndCreatesNothing) {
    const std::string missing = PathOf("missing.crf");
    try {
        Database::Open(missing);
        ADD_FAILURE() << "opened a missing file";
    } catch (const DbError& e) {
        EXPECT_EQ(std::string(e.what()), "File not found: " + missing);
    }
    EXPECT_FALSE(fs::exists(missing));

    const std::string text = PathOf("notes.crf");
    const std::string content = "These are not the rows you are looking for.\n";
    std::ofstream(text) << content;
    try {
        Database::Open(text);
        ADD_FAILURE() << "opened a text file";
    } catch (const DbError& e) {
        EXPECT_EQ(std::string(e.what()), text + " is not a Cost Report File");
    }
    std::ifstream in(text);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), content);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.Path()), fs::directory_iterator()), 2);  // report.crf, notes.crf

    EXPECT_THROW(Database::Create(text), DbError);
}

TEST_F(DbFile, ReopenAndBackupKeepTheRows) {
    db().CreateTable("T", {CurrencyField("Amount")});
    db().Execute("INSERT INTO T (Amount) VALUES (1.25)");
    const std::string copy = PathOf("copy.crf");
    std::ofstream(copy) << "an older file in the way";
    {
        Transaction tx(db());
        EXPECT_THROW(db().BackupTo(copy), DbError);
    }
    db().BackupTo(copy);
    db().Close();
    EXPECT_FALSE(db().IsOpen());
    EXPECT_THROW(db().Execute("SELECT 1"), DbError);

    for (const std::string& path : {PathOf("report.crf"), copy}) {
        SCOPED_TRACE(path);
        auto again = Database::Open(path);
        EXPECT_EQ(again->Scalar("SELECT Amount FROM T").ToCurrency(), Currency::FromScaled(12500));
        EXPECT_EQ(again->Fields("T")[0].type, FieldType::Currency);
    }
}

// ---- The registered SQL functions ----

using DbFunctions = DbFixture;

TEST_F(DbFunctions, ResultsByTable) {
    struct Case {
        const char* expr;
        Value expected;  // Null, a text, or a number
    } const cases[] = {
        {"Int(-1.5)", Value(-2.0)}, {"Int(1.9)", Value(1.0)}, {"Int(7)", Value(7)}, {"Int(NULL)", Value::Null()},
        {"Int('-2.5')", Value(-3.0)},
        {"Fix(-1.5)", Value(-1.0)}, {"Fix(1.9)", Value(1.0)}, {"Fix(NULL)", Value::Null()},
        {"CCur(1.00005)", Value(1.0001)}, {"CCur(-1.00005)", Value(-1.0001)}, {"CCur(3)", Value(3.0)},
        {"CCur('12.3456789')", Value(12.3457)}, {"CCur(NULL)", Value::Null()},
        {"IIf(1, 'a', 'b')", Value("a")}, {"IIf(0, 'a', 'b')", Value("b")}, {"IIf(NULL, 'a', 'b')", Value("b")},
        {"IIf('2', 'a', 'b')", Value("a")}, {"IIf(0.5, 'a', 'b')", Value("a")},
        {"IsNull(NULL)", Value(1)}, {"IsNull(0)", Value(0)}, {"IsNull(NULL) = True", Value(1)},
        {"isnull (NULL)", Value(1)}, {"'IsNull(x)'", Value("IsNull(x)")}, {"NULL ISNULL", Value(1)},
        {"/* don't */ IsNull(NULL)", Value(1)},
        {"Nz(NULL)", Value(0)}, {"Nz(NULL, 5)", Value(5)}, {"Nz(3, 5)", Value(3)}, {"Nz('', 5)", Value("")},
        {"Sgn(-0.5)", Value(-1)}, {"Sgn(0)", Value(0)}, {"Sgn(7)", Value(1)}, {"Sgn(NULL)", Value::Null()},
        {"Val('12.5 kg')", Value(12.5)}, {"Val(' 1 000')", Value(1000.0)}, {"Val('abc')", Value(0.0)},
        {"Val('-3e2x')", Value(-300.0)}, {"Val('1,5')", Value(1.0)}, {"Val(NULL)", Value::Null()},
        {"Len('abc')", Value(3)}, {"Len('')", Value(0)}, {"Len(NULL)", Value::Null()},
        {"Len('\xC3\xA9t\xC3\xA9')", Value(3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expr);
        const Value got = db().Scalar(std::string("SELECT ") + c.expr);
        if (c.expected.IsNull()) {
            EXPECT_TRUE(got.IsNull()) << got.ToText();
        } else if (c.expected.IsString()) {
            ASSERT_TRUE(got.IsString()) << got.ToText();
            EXPECT_EQ(got.Str(), c.expected.Str());
        } else {
            ASSERT_TRUE(got.IsNumberType()) << got.ToText();
            EXPECT_EQ(got.ToDouble(), c.expected.ToDouble());
        }
    }
}

// ---- Recordsets ----

using DbRecordset = DbFixture;

namespace {

void FillLines(Database& db) {
    db.CreateTable("L", {CurrencyField("LineNum"), TextField("Name", 20), LongField("N"), DateField("D")});
    db.Execute("INSERT INTO L (LineNum, Name, N) VALUES (1, 'alpha', 10), (2, 'beta', 20), (2.01, 'gamma', 30), "
               "(3, 'delta', 20), (4, NULL, 10)");
}

}  // namespace

TEST_F(DbRecordset, WalksBothWays) {
    FillLines(db());
    auto rs = db().OpenRecordset("SELECT LineNum, Name FROM L ORDER BY LineNum");
    ASSERT_EQ(rs.RecordCount(), 5);
    EXPECT_FALSE(rs.Bof());
    EXPECT_EQ(rs.Position(), 0);
    std::vector<std::string> names;
    for (; !rs.Eof(); rs.MoveNext()) names.push_back(rs["name"].ToText());  // a field's name without case
    EXPECT_EQ(names, (std::vector<std::string>{"alpha", "beta", "gamma", "delta", ""}));
    EXPECT_THROW(rs.MoveNext(), DbError);
    EXPECT_THROW(rs.Field(0), DbError);

    rs.MoveLast();
    EXPECT_TRUE(rs["Name"].IsNull());
    rs.MoveTo(2);
    EXPECT_EQ(rs.Field(0).ToCurrency(), Currency::FromScaled(20100));
    for (int i = 0; i < 3; ++i) rs.MovePrevious();
    EXPECT_TRUE(rs.Bof());
    EXPECT_THROW(rs.MovePrevious(), DbError);
    EXPECT_EQ(rs.FieldIndex("NoSuchField"), -1);
}

TEST_F(DbRecordset, EmptyRecordset) {
    FillLines(db());
    auto rs = db().OpenRecordset("SELECT * FROM L WHERE LineNum > ?", {Value(100)});
    EXPECT_EQ(std::tuple(rs.RecordCount(), rs.Eof(), rs.Bof(), rs.FieldCount()), std::tuple(0, true, true, 4));
    EXPECT_THROW(rs.MoveFirst(), DbError);
}

TEST_F(DbRecordset, FindsForwardAndBackward) {
    FillLines(db());
    auto rs = db().OpenTable("L", "", "LineNum");
    EXPECT_TRUE(rs.FindFirst("N", FindOp::Eq, Value(20)));
    EXPECT_EQ(rs["Name"].ToText(), "beta");
    EXPECT_TRUE(rs.FindNext("N", FindOp::Eq, Value(20)));
    EXPECT_EQ(rs["Name"].ToText(), "delta");
    EXPECT_FALSE(rs.FindNext("N", FindOp::Eq, Value(20)));
    EXPECT_TRUE(rs.NoMatch());
    EXPECT_EQ(rs["Name"].ToText(), "delta");  // unchanged without a match
    EXPECT_TRUE(rs.FindLast("N", FindOp::Lt, Value(20)));
    EXPECT_EQ(rs.Position(), 4);
    EXPECT_TRUE(rs.FindPrevious("N", FindOp::Le, Value(10)));
    EXPECT_EQ(rs.Position(), 0);
    EXPECT_FALSE(rs.NoMatch());

    EXPECT_TRUE(rs.FindFirst("Name", FindOp::Eq, Value("GAMMA")));
    EXPECT_TRUE(rs.FindFirst("LineNum", FindOp::Eq, Value(2.01)));
    EXPECT_TRUE(rs.FindFirst("LineNum", FindOp::Gt, Value(Currency::FromInt(2))));
    EXPECT_EQ(rs["Name"].ToText(), "gamma");
    EXPECT_TRUE(rs.FindFirst("LineNum", FindOp::Ge, Value("3")));
    EXPECT_EQ(rs["Name"].ToText(), "delta");
    EXPECT_FALSE(rs.FindFirst("Name", FindOp::Eq, Value::Null()));
    EXPECT_THROW(rs.FindFirst("NoSuchField", FindOp::Eq, Value(1)), DbError);
}

TEST_F(DbRecordset, SnapshotIgnoresLaterChanges) {
    FillLines(db());
    auto rs = db().OpenRecordset("SELECT * FROM L ORDER BY LineNum");
    db().Execute("UPDATE L SET Name = 'changed'");
    db().Execute("INSERT INTO L (LineNum) VALUES (9)");
    EXPECT_EQ(rs.RecordCount(), 5);
    EXPECT_EQ(rs["Name"].ToText(), "alpha");
    EXPECT_THROW(rs.AddNew(), DbError);  // not a table recordset
}

TEST_F(DbRecordset, AddsEditsAndDeletesRows) {
    FillLines(db());
    auto rs = db().OpenTable("L", "LineNum >= ?", "LineNum", {Value(2)});
    ASSERT_EQ(rs.RecordCount(), 4);

    rs.AddNew();
    rs.Set("LineNum", Value(5));
    rs.Set("Name", Value("epsilon"));
    rs.Set("D", Value("12/31/2005"));
    rs.Update();
    EXPECT_EQ(std::tuple(rs.RecordCount(), rs.Position(), rs["LineNum"].Type()), std::tuple(5, 4, VType::Currency));
    EXPECT_EQ(rs["D"].ToText(), Date(2005, 12, 31).ToText());
    EXPECT_EQ(db().Scalar("SELECT D FROM L WHERE Name = 'epsilon'").AsDate().ToIso(), "2005-12-31");

    rs.MoveFirst();
    rs.Edit();
    rs.Set("Name", Value("BETA"));
    EXPECT_EQ(rs["Name"].ToText(), "BETA");  // the edited row while editing
    rs.Update();
    rs.MoveNext();
    rs.Edit();
    rs.Set("Name", Value("dropped"));
    rs.CancelUpdate();
    EXPECT_EQ(rs["Name"].ToText(), "gamma");
    EXPECT_THROW(rs.Update(), DbError);

    rs.Delete();  // gamma
    EXPECT_THROW(rs.Field("Name"), DbError);
    rs.MoveNext();
    EXPECT_EQ(rs["Name"].ToText(), "delta");
    EXPECT_EQ(rs.RecordCount(), 4);

    EXPECT_EQ(db().Scalar("SELECT group_concat(IfNull(Name, '-'), ' ') FROM (SELECT Name FROM L ORDER BY LineNum)")
                  .ToText(),
              "alpha BETA delta - epsilon");
    rs.Edit();
    EXPECT_THROW(rs.Set("N", Value("not a number")), DbError);
}

// ---- Transactions ----

using DbTransaction = DbFixture;

TEST_F(DbTransaction, CommitKeepsRollbackUndoes) {
    db().CreateTable("T", {LongField("K")});
    db().Begin();
    db().Execute("INSERT INTO T (K) VALUES (1)");
    db().Commit();
    {
        Transaction tx(db());
        db().Execute("INSERT INTO T (K) VALUES (2)");
    }  // left without Commit
    db().Begin();
    db().Execute("INSERT INTO T (K) VALUES (3)");
    db().Rollback();
    EXPECT_FALSE(db().InTransaction());
    EXPECT_EQ(Count("T"), 1);
    EXPECT_THROW(db().Commit(), DbError);
}

TEST_F(DbTransaction, NestedCountsAndInnerRollbackUndoesAll) {
    db().CreateTable("T", {LongField("K")});
    db().Begin();
    db().Begin();
    db().Execute("INSERT INTO T (K) VALUES (1)");
    db().Commit();
    EXPECT_TRUE(db().InTransaction());
    db().Commit();
    EXPECT_EQ(Count("T"), 1);

    db().Begin();
    db().Execute("INSERT INTO T (K) VALUES (2)");
    db().Begin();
    db().Execute("INSERT INTO T (K) VALUES (3)");
    db().Rollback();
    EXPECT_THROW(db().Commit(), DbError);
    EXPECT_FALSE(db().InTransaction());
    EXPECT_EQ(Count("T"), 1);
}

// When SQLite itself ends the transaction (a full disk, an I/O error; here
// ended behind the layer's back), nothing later runs outside it and is saved
// on its own: every statement and inner transaction fails until the end.
TEST_F(DbTransaction, AfterSQLiteEndedTheTransactionNothingRunsOn) {
    db().CreateTable("T", {LongField("K")});
    db().Begin();
    db().Execute("INSERT INTO T (K) VALUES (1)");
    ASSERT_EQ(sqlite3_exec(db().Handle(), "ROLLBACK", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_THROW(db().Execute("INSERT INTO T (K) VALUES (2)"), DbError);
    EXPECT_THROW(db().CreateTable("U", {LongField("K")}), DbError);
    EXPECT_THROW(Subtransaction sp(db()), DbError);
    EXPECT_THROW(db().Begin(), DbError);
    try {
        db().Commit();
        ADD_FAILURE() << "the commit of an ended transaction succeeded";
    } catch (const DbError& e) {
        EXPECT_TRUE(IsEnvironmental(e.Code())) << e.what();
    }
    EXPECT_FALSE(db().InTransaction());
    EXPECT_EQ(Count("T"), 0);
    EXPECT_FALSE(db().TableExists("U"));
}

TEST_F(DbTransaction, OutsideATransactionEachStatementIsSaved) {
    db().CreateTable("T", {LongField("K")});
    db().Execute("INSERT INTO T (K) VALUES (1)");
    auto other = Database::Open(PathOf("report.crf"));
    EXPECT_EQ(other->Scalar("SELECT count(*) FROM T").ToLong(), 1);
    EXPECT_TRUE(other->Scalar("SELECT K FROM T WHERE K = 99").IsNull());
}

// A statement run before a field was appended or dropped must see the table's
// columns as they are now, not as they were when it was first prepared.
TEST_F(DbSchema, RecordsetsSeeFieldsAddedOrDroppedSinceTheStatementLastRan) {
    db().CreateTable("T", {CurrencyField("A")});
    db().Execute("INSERT INTO T (A) VALUES (1)");
    EXPECT_EQ(db().OpenRecordset("SELECT * FROM T").FieldCount(), 1);
    EXPECT_EQ(db().OpenTable("T").FieldCount(), 1);
    db().AppendField("T", CurrencyField("B"));
    EXPECT_EQ(db().OpenRecordset("SELECT * FROM T").FieldCount(), 2);
    EXPECT_EQ(db().OpenTable("T").FieldCount(), 2);
    db().Execute("DELETE FROM T");
    db().DropField("T", "B");
    auto empty = db().OpenRecordset("SELECT * FROM T");
    EXPECT_EQ(empty.FieldCount(), 1);
    EXPECT_EQ(empty.RecordCount(), 0);
}
