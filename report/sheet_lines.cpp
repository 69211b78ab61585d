#include "report/sheet_lines.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "engine/general/renumber.h"
#include "platform/db/db.h"
#include "platform/ui/ui.h"
#include "report/steps.h"
#include "store/report.h"
#include "store/services.h"

namespace vt {

namespace {

const Currency kSub = Currency::FromScaled(Currency::kScale / 100);
const Currency kOne = Currency::FromInt(1);
// Every user line of these sheets lies below it.
const Currency kLift = Currency::FromInt(1000);

Steps::Hook& StepHook() {
    static Steps::Hook hook;
    return hook;
}

// A run of lines [first, lastWhole + 1): first, first + 1, ... up to the last
// whole line, then its sub-lines .01 apart.
struct Run {
    const char* table;
    const char* key;
    Currency first;
    Currency lastWhole;
    bool fromLowest = false;  // the run starts at its lowest line, wherever that is
};

Currency After(const Run& r, Currency line) { return line + (line + kOne <= r.lastWhole ? kOne : kSub); }
Currency End(const Run& r) { return r.lastWhole + kOne; }

// The statements that move lines are lenient: a row that meets a taken number
// is dropped or left lifted without a word. Either would leave the sheet out
// of order, so the operation fails instead.
void RequireInOrder(const Run& r) {
    const std::string t = r.table, k = r.key;
    if (Nz_Num(Db().Scalar("SELECT COUNT(*) FROM " + t + " WHERE " + k + " >= ?;", {Value(kLift)})).ToLong() > 0)
        throw db::DbError("table " + t + " has lines it could not renumber");
    auto rs = Db().OpenRecordset("SELECT " + k + " FROM " + t + " WHERE " + k + " >= ? AND " + k + " < ? ORDER BY " +
                                     k + ";",
                                 {Value(r.first), Value(End(r))});
    std::optional<Currency> expected;
    if (!r.fromLowest) expected = r.first;
    for (; !rs.Eof(); rs.MoveNext()) {
        const Currency line = rs.Field(0).ToCurrency();
        if (!expected) expected = line;
        if (line != *expected) throw db::DbError("table " + t + " has no line " + expected->ToText());
        expected = After(r, line);
    }
}

Currency Highest(const Run& r) {
    return Nz_Num(Db().Scalar(std::string("SELECT MAX(") + r.key + ") FROM " + r.table + " WHERE " + r.key +
                                  " >= ? AND " + r.key + " < ?;",
                              {Value(r.first), Value(End(r))}))
        .ToCurrency();
}

LineChange Refused(const std::string& why, bool tell = false) {
    if (tell) Show_Message(why, ui::kOkOnly);
    LineChange refused;
    refused.error = why;
    return refused;
}

// Runs `change` and the check of `r` in one transaction.
LineChange Change(const std::string& what, const Run& r, Currency line, const std::function<void()>& change) {
    Steps steps(StepHook(), std::string("Worksheet ") + r.table);
    const bool done = steps.Run([&](Steps& s) {
        s.Step(std::string("the lines of ") + r.table, change);
        s.Step("the order of the lines", [&] { RequireInOrder(r); });
    });
    if (!done) {
        LineChange failed;
        failed.error = what + ": " + steps.Failed() + " could not be changed (" + steps.Reason() +
                       "). Nothing was changed.";
        Show_Message(failed.error, ui::kCritical);
        return failed;
    }
    LineChange result;
    result.done = true;
    result.line = line;
    return result;
}

// Opens a gap right after `at` (or at `at` itself, `from`) in a run and
// closes one: the sub-lines move before the whole lines, so that the last
// whole line finds its .01 free, and after them on the way down.
void OpenAfter(const Run& r, const std::string& op, Currency at) {
    const std::string k = r.key;
    ShiftLines(r.table, {k}, k + " " + op + " ? AND " + k + " >= ? AND " + k + " < ?",
                {Value(at), Value(r.lastWhole), Value(End(r))}, kSub, kLift);
    ShiftLines(r.table, {k}, k + " " + op + " ? AND " + k + " >= ? AND " + k + " < ?",
                {Value(at), Value(r.first), Value(r.lastWhole)}, kOne, kLift);
}

void CloseAt(const Run& r, Currency at) {
    const std::string k = r.key;
    Db().ExecuteStrict(std::string("DELETE FROM ") + r.table + " WHERE " + k + " = ?;", {Value(at)});
    ShiftLines(r.table, {k}, k + " > ? AND " + k + " >= ? AND " + k + " <= ?",
                {Value(at), Value(r.first), Value(r.lastWhole)}, -kOne, kLift);
    ShiftLines(r.table, {k}, k + " > ? AND " + k + " > ? AND " + k + " < ?",
                {Value(at), Value(r.lastWhole), Value(End(r))}, -kSub, kLift);
}

bool HasLine(const Run& r, Currency line) {
    return Nz_Num(Db().Scalar(std::string("SELECT COUNT(*) FROM ") + r.table + " WHERE " + r.key + " = ?;",
                              {Value(line)}))
               .ToLong() > 0;
}

// ---- B-1, D Part B, D Part C ----

struct NumberedSheet {
    const char* code;
    int lastWhole;
    bool appends;  // adds after its last line wherever the cursor is
    const char* insert;
};
const NumberedSheet kNumbered[] = {
    {"B1", 99, true, "INSERT INTO B1 (SeqNum, UpAmount, DnAmount) VALUES (?, 0, 0);"},
    {"DpB", 99, false, "INSERT INTO DpB (SeqNum,LineNum,Amount,AmtAllowable,NetAdj) VALUES (?,0,0,0,0);"},
    {"DpC", 8, false, "INSERT INTO DpC (SeqNum) VALUES (?);"},
};

const NumberedSheet* NumberedOf(const std::string& sheet) {
    for (const auto& n : kNumbered)
        if (sheet == n.code) return &n;
    return nullptr;
}

Run RunOf(const NumberedSheet& n) { return {n.code, "SeqNum", kOne, Currency::FromInt(n.lastWhole)}; }

// ---- C ----

struct CBand {
    Run run;
    int limit;  // of the lines after its first
};
const CBand kCBands[] = {
    {{"C", "LineNum", Currency::FromInt(13), Currency::FromInt(13)}, 99},
    {{"C", "LineNum", Currency::FromInt(21), Currency::FromInt(27)}, 105},  // 22-27, then 27.01-27.99
};

const CBand* CBandOf(Currency line) {
    for (const auto& b : kCBands)
        if (line >= b.run.first && line < End(b.run)) return &b;
    return nullptr;
}

int CUserLines(const CBand& b) {
    return static_cast<int>(Nz_Num(Db().Scalar("SELECT COUNT(*) FROM C WHERE LineNum > ? AND LineNum < ?;",
                                               {Value(b.run.first), Value(End(b.run))}))
                                .ToLong());
}

// ---- I ----

const Currency kIncomeFirst = Currency::FromScaled(40800);  // 4.08
const Currency kIncomeEnd = Currency::FromInt(5);
const Currency kExpenseFirst = Currency::FromInt(6);

// The items of a whole line of I: .01 apart from the lowest.
Run IRun(Currency line) {
    const Currency whole = line.Floor();
    return {"I", "SeqNum", whole, whole, true};
}

}  // namespace

// ---- B-1, D Part B, D Part C ----

bool NumberedLineAddable(const std::string& sheet) {
    const NumberedSheet* n = NumberedOf(sheet);
    return n && Highest(RunOf(*n)) < End(RunOf(*n)) - kSub;
}

LineChange AddNumberedLine(const std::string& sheet, std::optional<Currency> current) {
    const NumberedSheet* n = NumberedOf(sheet);
    if (!n) return Refused("Worksheet " + sheet + " has no numbered lines.");
    const Run r = RunOf(*n);
    if (!NumberedLineAddable(sheet)) return Refused("Worksheet " + sheet + " has no room for another line.");
    const Currency highest = Highest(r);
    if (n->appends || !current) current = highest > Currency{} ? std::optional(highest) : std::nullopt;
    const Currency line = current ? After(r, *current) : kOne;
    return Change("Line " + line.ToText() + " was not added to worksheet " + sheet, r, line, [&] {
        OpenAfter(r, ">=", line);
        Db().ExecuteStrict(n->insert, {Value(line)});
    });
}

LineChange DeleteNumberedLine(const std::string& sheet, Currency line) {
    const NumberedSheet* n = NumberedOf(sheet);
    if (!n) return Refused("Worksheet " + sheet + " has no numbered lines.");
    const Run r = RunOf(*n);
    if (line < r.first || line >= End(r) || !HasLine(r, line))
        return Refused("Line " + line.ToText() + " is not a line of worksheet " + sheet + " that can be deleted.");
    return Change("Line " + line.ToText() + " was not deleted from worksheet " + sheet, r, line,
                  [&] { CloseAt(r, line); });
}

// ---- C ----

LineRoom CLineRoom(Currency at) {
    const CBand* b = CBandOf(at);
    if (!b) return {};
    const int lines = CUserLines(*b);
    return {lines < b->limit, lines >= 1};
}

bool CUserLine(Currency at) { return CBandOf(at) != nullptr; }

LineChange AddCLine(Currency at) {
    const CBand* b = CBandOf(at);
    if (!b || !CLineRoom(at).add) return Refused("No line can be added after line " + at.ToText() + " of C.");
    const Currency line = After(b->run, at);
    return Change("Line " + line.ToText() + " was not added to worksheet C", b->run, line, [&] {
        OpenAfter(b->run, ">", at);
        Db().ExecuteStrict("INSERT INTO C (LineNum, Description, Amount) VALUES (?, 'Other', 0);", {Value(line)});
    });
}

LineChange DeleteCLine(Currency at) {
    const CBand* b = CBandOf(at);
    if (!b || !CLineRoom(at).del || !HasLine(b->run, at))
        return Refused("Line " + at.ToText() + " of C cannot be deleted.");
    return Change("Line " + at.ToText() + " was not deleted from worksheet C", b->run, at,
                  [&] { CloseAt(b->run, at); });
}

// ---- I ----

bool ILineTakesLines(Currency s) { return (s >= kIncomeFirst && s < kIncomeEnd) || s >= kExpenseFirst; }
bool ILineDeletable(Currency s) { return (s > kIncomeFirst && s < kIncomeEnd) || s > kExpenseFirst; }

LineChange AddILine(Currency s) {
    if (!ILineTakesLines(s)) return Refused("No line can be added after line " + SqlNumber(s) + ".");
    const Run r = IRun(s);
    const Currency end = End(r);
    if (std::max(Highest(r), s) + kSub >= end)
        return Refused("No line can be added after line " + SqlNumber(s) + ": line " + SqlNumber(r.lastWhole) +
                           " already has its last sub-line, " + SqlNumber(end - kSub) + ".",
                       true);
    const Currency line = s + kSub;
    return Change("Line " + line.ToText() + " was not added to worksheet I", r, line, [&] {
        ShiftLines("I", {"SeqNum"}, "SeqNum > ? AND SeqNum < ?", {Value(s), Value(end)}, kSub, kLift);
        Db().ExecuteStrict("INSERT INTO I (SeqNum,Description,Col_1) VALUES (?,?,0);",
                           {Value(line), Value(line < kExpenseFirst ? "Other income" : "Other expense")});
    });
}

LineChange DeleteILine(Currency line) {
    const Run r = IRun(line);
    if (!ILineDeletable(line) || !HasLine(r, line)) return Refused("Line " + line.ToText() + " of I cannot be deleted.");
    return Change("Line " + line.ToText() + " was not deleted from worksheet I", r, line, [&] {
        Db().ExecuteStrict("DELETE FROM I WHERE SeqNum = ?;", {Value(line)});
        ShiftLines("I", {"SeqNum"}, "SeqNum > ? AND SeqNum < ?", {Value(line), Value(End(r))}, -kSub, kLift);
    });
}

void SetLineStepHook(std::function<void(const std::string& step)> hook) { StepHook() = std::move(hook); }

}  // namespace vt
