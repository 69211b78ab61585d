// The line operations of B-1, C, D Parts B and C and I, checked in their tables.
#include <stdexcept>

#include "report/sheet_lines.h"
#include "tests/report/shell_fixture.h"

namespace vt::test {
namespace {

Currency N(double n) { return Currency::FromDouble(n); }

// A range of a table's lines that a case sets and reads back.
struct Band {
    const char* table;
    const char* key;
    double from, to;  // [from, to)
};
const Band kB1{"B1", "SeqNum", 1, 100}, kDpB{"DpB", "SeqNum", 1, 100}, kDpC{"DpC", "SeqNum", 1, 9},
    kC13{"C", "LineNum", 13, 14}, kC21{"C", "LineNum", 21, 28}, kI4{"I", "SeqNum", 4, 5}, kI6{"I", "SeqNum", 6, 7};

std::vector<double> Whole(int from, int to) {
    std::vector<double> v;
    for (int i = from; i <= to; ++i) v.push_back(i);
    return v;
}
std::vector<double> Subs(int whole, int from, int to) {
    std::vector<double> v;
    for (int i = from; i <= to; ++i) v.push_back(whole + i / 100.0);
    return v;
}
std::vector<double> Cat(std::vector<double> a, const std::vector<double>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class SheetLines : public ShellTest {
protected:
    void TearDown() override {
        SetLineStepHook(nullptr);
        ShellTest::TearDown();
    }
    void Seed(const Band& b, const std::vector<double>& lines) {
        const std::string t = b.table, k = b.key;
        Exec("DELETE FROM " + t + " WHERE " + k + " >= ? AND " + k + " < ?;", {Value(N(b.from)), Value(N(b.to))});
        for (double l : lines) Exec("INSERT INTO " + t + " (" + k + ") VALUES (?);", {Value(N(l))});
    }
    std::vector<Currency> Lines(const Band& b) {
        std::vector<Currency> v;
        const std::string k = b.key;
        auto rs = db().OpenRecordset("SELECT " + k + " FROM " + b.table + " WHERE " + k + " >= ? AND " + k +
                                         " < ? ORDER BY " + k + ";",
                                     {Value(N(b.from)), Value(N(b.to))});
        for (; !rs.Eof(); rs.MoveNext()) v.push_back(rs.Field(0).ToCurrency());
        return v;
    }
    static std::vector<Currency> Of(const std::vector<double>& lines) {
        std::vector<Currency> v;
        for (double l : lines) v.push_back(N(l));
        return v;
    }
};

struct Case {
    const char* what;
    Band band;
    std::vector<double> before;
    std::function<LineChange()> run;
    double line;  // the line the change returns
    std::vector<double> after;
};

TEST_F(SheetLines, AddAndDeleteAtTheEndsOfEachBand) {
    const std::vector<Case> cases = {
        {"B-1 first line", kB1, {}, [] { return AddNumberedLine("B1", std::nullopt); }, 1, {1}},
        {"B-1 adds after its last", kB1, {1, 2, 3}, [] { return AddNumberedLine("B1", N(1)); }, 4, {1, 2, 3, 4}},
        {"B-1 goes on in sub-lines", kB1, Whole(1, 99), [] { return AddNumberedLine("B1", N(5)); }, 99.01,
         Cat(Whole(1, 99), {99.01})},
        {"B-1 delete first", kB1, {1, 2, 3}, [] { return DeleteNumberedLine("B1", N(1)); }, 1, {1, 2}},
        {"D Part B delete 99 takes its .01 down", kDpB, Cat(Whole(1, 99), {99.01, 99.02}),
         [] { return DeleteNumberedLine("DpB", N(99)); }, 99, Cat(Whole(1, 99), {99.01})},
        {"D Part C add after the first", kDpC, Whole(1, 8), [] { return AddNumberedLine("DpC", N(1)); }, 2,
         Cat(Whole(1, 8), {8.01})},
        {"D Part C add after the last", kDpC, Cat(Whole(1, 8), {8.01}),
         [] { return AddNumberedLine("DpC", N(8.01)); }, 8.02, Cat(Whole(1, 8), {8.01, 8.02})},
        {"D Part C delete the last", kDpC, {1, 2}, [] { return DeleteNumberedLine("DpC", N(2)); }, 2, {1}},
        {"C 13 add after the first", kC13, {13, 13.01}, [] { return AddCLine(N(13)); }, 13.01, {13, 13.01, 13.02}},
        {"C 13 delete the first", kC13, {13, 13.01, 13.02}, [] { return DeleteCLine(N(13)); }, 13, {13, 13.01}},
        {"C 21 add after the first", kC21, {21, 22}, [] { return AddCLine(N(21)); }, 22, {21, 22, 23}},
        {"C 21 add after 26", kC21, Whole(21, 27), [] { return AddCLine(N(26)); }, 27,
         Cat(Whole(21, 27), {27.01})},
        {"C 21 delete 27.01", kC21, Cat(Whole(21, 27), {27.01, 27.02}), [] { return DeleteCLine(N(27.01)); },
         27.01, Cat(Whole(21, 27), {27.01})},
        {"C 21 delete 21", kC21, Cat(Whole(21, 27), {27.01}), [] { return DeleteCLine(N(21)); }, 21,
         Whole(21, 27)},
        {"I after 4.08", kI4, Subs(4, 1, 9), [] { return AddILine(N(4.08)); }, 4.09, Subs(4, 1, 10)},
        {"I delete the last", kI4, Subs(4, 1, 10), [] { return DeleteILine(N(4.10)); }, 4.10, Subs(4, 1, 9)},
        {"I delete 4.09", kI4, Subs(4, 1, 10), [] { return DeleteILine(N(4.09)); }, 4.09, Subs(4, 1, 9)},
        {"I after 6", kI6, {6, 6.01}, [] { return AddILine(N(6)); }, 6.01, {6, 6.01, 6.02}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Seed(c.band, c.before);
        const LineChange change = c.run();
        EXPECT_TRUE(change.done) << change.error;
        EXPECT_EQ(change.line, N(c.line));
        EXPECT_EQ(Lines(c.band), Of(c.after));
    }
}

TEST_F(SheetLines, AFullBandIsRefusedAndNothingChanges) {
    const std::vector<Case> cases = {
        {"B-1", kB1, Cat(Whole(1, 99), Subs(99, 1, 99)), [] { return AddNumberedLine("B1", N(1)); }, 0, {}},
        {"D Part C", kDpC, Cat(Whole(1, 8), Subs(8, 1, 99)), [] { return AddNumberedLine("DpC", N(3)); }, 0, {}},
        {"C 13", kC13, Cat({13}, Subs(13, 1, 99)), [] { return AddCLine(N(13.5)); }, 0, {}},
        {"C 21", kC21, Cat(Whole(21, 27), Subs(27, 1, 99)), [] { return AddCLine(N(21)); }, 0, {}},
        {"I", kI4, Subs(4, 1, 99), [] { return AddILine(N(4.08)); }, 0, {}},
        {"C outside the bands", kC13, {13}, [] { return DeleteCLine(N(12)); }, 0, {}},
        {"C's band's last line", kC13, {13}, [] { return DeleteCLine(N(13)); }, 0, {}},
        {"B-1 total line", kB1, {1}, [] { return DeleteNumberedLine("B1", N(100)); }, 0, {}},
        {"I after a total line", kI4, Subs(4, 1, 8), [] { return AddILine(N(5)); }, 0, {}},
        {"I's own line", kI4, Subs(4, 1, 8), [] { return DeleteILine(N(4.08)); }, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Seed(c.band, c.before);
        const auto before = Everything();
        ui.ClearRecords();
        ui.AllowMessages();  // I tells why; the others are silent
        const LineChange change = c.run();
        ui.AllowMessages(false);
        EXPECT_FALSE(change.done);
        EXPECT_FALSE(change.error.empty());
        EXPECT_EQ(Everything(), before);
    }
}

TEST_F(SheetLines, AFailureOrALineOutOfOrderLeavesTheSheetAsItWas) {
    const std::vector<Case> cases = {
        {"B-1 add", kB1, {1, 2}, [] { return AddNumberedLine("B1", std::nullopt); }, 0, {}},
        {"D Part B delete", kDpB, {1, 2, 3}, [] { return DeleteNumberedLine("DpB", N(1)); }, 0, {}},
        {"C add", kC21, {21, 22, 23}, [] { return AddCLine(N(21)); }, 0, {}},
        {"I delete", kI4, Subs(4, 1, 10), [] { return DeleteILine(N(4.09)); }, 0, {}},
    };
    for (const char* step : {"the lines of", "the order of the lines"}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + " failing at " + step);
            Seed(c.band, c.before);
            const auto before = Everything();
            SetLineStepHook([step](const std::string& s) {
                if (s.rfind(step, 0) == 0) throw std::runtime_error("disk full");
            });
            ui.ClearRecords();
            ui.ExpectMessage();
            const LineChange change = c.run();
            EXPECT_FALSE(change.done);
            EXPECT_NE(change.error.find("(disk full). Nothing was changed."), std::string::npos) << change.error;
            EXPECT_EQ(Everything(), before);
            SetLineStepHook(nullptr);
        }
    }
    // A sheet whose lines already have a gap is not made worse.
    Seed(kDpC, {1, 3});
    const auto before = Everything();
    ui.ClearRecords();
    ui.ExpectMessage();
    const LineChange change = AddNumberedLine("DpC", N(3));
    EXPECT_FALSE(change.done);
    EXPECT_NE(change.error.find("has no line 2"), std::string::npos) << change.error;
    EXPECT_EQ(Everything(), before);
}

}  // namespace
}  // namespace vt::test
