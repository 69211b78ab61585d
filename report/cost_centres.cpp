#include "report/cost_centres.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "engine/chain/component_rows.h"
#include "engine/chain/component_sheet.h"
#include "engine/chain/f1.h"
#include "engine/general/b.h"
#include "engine/general/j.h"
#include "engine/general/renumber.h"
#include "platform/db/db.h"
#include "platform/ui/ui.h"
#include "platform/value/text.h"
#include "report/steps.h"
#include "store/new_crf.h"
#include "store/report.h"
#include "store/services.h"

namespace vt {

namespace {

constexpr Currency Cents(std::int64_t cents) { return Currency{cents * 100}; }
Currency Whole(std::int64_t n) { return Currency::FromInt(n); }

const Currency kStep = Cents(1);
// Every key of the renumbered tables (numbers below 300) lies below it.
const Currency kLift = Currency::FromInt(10000);

const char* const kNameTitle = "Table CostCenters entry error";
// What a name may hold: the name fields of the worksheets' cost-centre lines.
constexpr std::size_t kCCNameLength = 40;
const char* const kFailureTitle = "Error: Cost Centers";

// The sheets whose columns the user chooses, with row 0 naming each column's
// cost centre; F1p1 always has F1p2's columns.
const char* const kChosenSheets[] = {"E1", "F1p2", "F1p1"};

bool IsWholeIn(Currency n, std::int64_t from, std::int64_t to) {
    return n.IsWhole() && n >= Whole(from) && n <= Whole(to);
}

Currency NextWhole(Currency n) { return n.Floor() + Whole(1); }

bool CcExists(const std::string& table, Currency n) {
    return Nz_Num(Db().Scalar("SELECT COUNT(CCNum) FROM " + table + " WHERE CCNum = ?;", {Value(n)})).ToLong() > 0;
}

// "02.01  -  Name", "205.00  -  ": the lists of the restore dialog and the picker.
std::string EntryText(Currency n, const Value& name) {
    const std::int64_t cents = n.scaled / 100;
    char number[32];
    std::snprintf(number, sizeof number, "%02lld.%02lld", static_cast<long long>(cents / 100),
                  static_cast<long long>(cents % 100));
    return std::string(number) + "  -  " + Nz_Str(name).ToText();
}

std::vector<CcListEntry> Entries(const std::string& sql, const std::vector<Currency>& skip = {}) {
    std::vector<CcListEntry> entries;
    auto rs = Db().OpenRecordset(sql);
    for (; !rs.Eof(); rs.MoveNext()) {
        const Currency n = rs["CCNum"].ToCurrency();
        if (std::find(skip.begin(), skip.end(), n) != skip.end()) continue;
        entries.push_back({n, EntryText(n, rs["CCName"])});
    }
    return entries;
}

Steps::Hook& StepHook() {
    static Steps::Hook hook;
    return hook;
}

// One operation on the list: its steps run in one transaction; a step that
// fails undoes every earlier one and is named in the message.
class Change {
public:
    Change(std::string action, Currency n)
        : action_(std::move(action)), n_(n), steps_(StepHook(), "the cost-center list") {
        result_.number = n;
    }

    CcChange Refuse(const std::string& why) {
        Show_Message(why, ui::kExclamation);
        result_.error = why;
        return result_;
    }

    template <class Body>
    CcChange Run(Body&& body, CcWindows windows) {
        const bool done = steps_.Run([&](Steps&) { body(*this); });
        Close_CC_Recordset();  // after a failure the snapshot may hold rows that were undone
        if (!done) {
            result_.error = "Cost center " + n_.ToText() + " was not " + action_ + ": " + steps_.Failed() +
                            " could not be changed (" + steps_.Reason() +
                            "). The list and the worksheets are as they were.";
            Show_Message(result_.error, ui::kCritical, kFailureTitle);
            return result_;
        }
        result_.done = true;
        result_.windows = std::move(windows);
        return result_;
    }

    void Step(const std::string& what, const std::function<void()>& fn) { steps_.Step(what, fn); }

private:
    std::string action_;
    Currency n_;
    Steps steps_;
    CcChange result_;
};

// The references of B-1 (both sides), C and D Part B to n's group: from n up
// (up = true) they move up by .01, after n down by .01. None of these fields
// is a unique key, so each moves in one step.
void MoveReferences(Currency n, bool up) {
    const std::string from = up ? ">=" : ">";
    const std::string by = up ? "+0.01" : "-0.01";
    const std::vector<Value> group = {Value(n), Value(NextWhole(n))};
    auto& db = Db();
    for (const auto& [table, field] : std::vector<std::pair<std::string, std::string>>{
             {"B1", "UpCCNum"}, {"B1", "DnCCNum"}, {"C", "CCNum"}, {"DpB", "LineNum"}}) {
        db.Execute("UPDATE " + table + " SET " + field + " = CCur(" + field + by + ") WHERE (" + field + from +
                       "? AND " + field + "<?);",
                   group);
    }
}

// Row 0 of the chosen-column sheets: the numbers of n's group from n up, or
// after n, move by .01. Columns keep their places, since the whole group moves.
void MoveChosenColumnNumbers(Currency n, bool up) {
    const std::string from = up ? ">=" : ">";
    const std::string by = up ? "+0.01" : "-0.01";
    auto& db = Db();
    for (const char* sheet : kChosenSheets) {
        if (!db.TableExists(sheet)) continue;
        for (const auto& f : db.Fields(sheet)) {
            if (f.name.rfind("Col_", 0) != 0) continue;
            db.Execute("UPDATE " + std::string(sheet) + " SET " + f.name + " = CCur(" + f.name + by +
                           ") WHERE SeqNum = 0 AND " + f.name + from + "? AND " + f.name + "<?;",
                       {Value(n), Value(NextWhole(n))});
        }
    }
}

bool ChosenColumnInGroup(const std::string& sheet, Currency n) {
    auto& db = Db();
    if (!db.TableExists(sheet)) return false;
    auto rs = db.OpenRecordset(SelectSheet(sheet, "WHERE SeqNum = 0;"));
    if (rs.Eof()) return false;
    for (int i = 0; i < rs.FieldCount(); ++i) {
        if (rs.FieldName(i).rfind("Col_", 0) != 0 || rs.Field(i).IsNull()) continue;
        const Currency v = rs.Field(i).ToCurrency();
        if (v >= n && v < NextWhole(n)) return true;
    }
    return false;
}

// A cost centre's line must be there after B's or J's own statements, which
// drop a row that meets a taken line without a word.
void RequireLine(const std::string& sheet, Currency n, bool present) {
    if (CcExists(sheet, n) != present)
        throw db::DbError("Worksheet " + sheet + (present ? " has no line for " : " still has a line for ") +
                          n.ToText());
}

// Adding and restoring: the list makes room at n, takes the new row, and every
// worksheet follows.
CcChange Insert(Currency n, bool restore) {
    Change change(restore ? "restored" : "added", n);
    const std::string refusal = CCNumberRefusal(n);
    if (!refusal.empty()) return change.Refuse(refusal);
    if (restore) {
        if (!Table_Exists("DeletedCCs") || !CcExists("DeletedCCs", n))
            return change.Refuse("Cost center " + n.ToText() + " is not among the deleted cost centers.");
    } else {
        if (CcExists("CostCenters", n))
            return change.Refuse("Cost center " + n.ToText() + " is already in the list.");
        if (!n.IsWhole() && !CcExists("CostCenters", n - kStep))
            return change.Refuse("Cost center " + n.ToText() + " cannot be added before " + (n - kStep).ToText() +
                                 " is in the list.");
    }
    const CcWindows windows = CCWindowsAffected(n);
    return change.Run(
        [&](Change& c) {
            auto& db = Db();
            c.Step("the cost-center list", [&] {
                ShiftLines("CostCenters", {"CCNum", "LineNum"}, "CCNum>=? AND CCNum<?",
                            {Value(n), Value(NextWhole(n))}, kStep, kLift);
                if (restore) {
                    db.ExecuteStrict(
                        "INSERT INTO CostCenters (LineNum, CCNum, CCName, ColLabel1, ColLabel2, ColLabel3) "
                        "SELECT LineNum, CCNum, CCName, ColLabel1, ColLabel2, ColLabel3 FROM DeletedCCs "
                        "WHERE CCNum = ? LIMIT 1;",
                        {Value(n)});
                    db.Execute("DELETE FROM DeletedCCs WHERE CCNum = ?;", {Value(n)});
                } else {
                    const Currency line = n >= Whole(200) ? n - Whole(200) : n;
                    db.ExecuteStrict("INSERT INTO CostCenters (LineNum, CCNum) VALUES (?, ?);",
                                     {Value(line), Value(n)});
                }
                Close_CC_Recordset();
            });
            Currency number = n;
            if (n >= Whole(200)) {
                c.Step("Worksheet J", [&] {
                    Insert_CC_J(number);
                    RequireLine("J", n, true);
                });
            } else {
                c.Step("Worksheet B", [&] {
                    Insert_CC_B(number);
                    RequireLine("B", n, true);
                });
                for (const auto& sheet : CCBandSheets(n))
                    c.Step("Worksheet " + sheet, [&] { Add_CC_Column(sheet, n); });
                c.Step("the columns of Worksheets E-1 and F-1", [&] { MoveChosenColumnNumbers(n, true); });
            }
            c.Step("Worksheets B-1, C and D Part B", [&] { MoveReferences(n, true); });
        },
        windows);
}

}  // namespace

// ---- Number sets ----

bool IsCCNameLocked(Currency n) {
    for (double sub : {1.01, 2.01, 4.01, 5.01, 30.01})
        if (n == Currency::FromDouble(sub)) return true;
    if (!n.IsWhole()) return false;
    for (auto [from, to] : std::vector<std::pair<int, int>>{{1, 2},     {4, 5},     {7, 9},     {11, 30},
                                                          {201, 204}, {206, 209}, {211, 228}, {230, 236},
                                                          {240, 247}, {250, 253}, {257, 261}, {264, 265}})
        if (IsWholeIn(n, from, to)) return true;
    return false;
}

bool IsCCProtected(Currency n) {
    for (int fixed : {1, 4, 5, 30})
        if (n == Whole(fixed)) return true;
    // An account whose line would be a total line of J has no line there and
    // is no standard account: it may go.
    return IsWholeIn(n, 201, 265) && CCNumberRefusal(n).empty();
}

bool IsCCRestorable(Currency n) {
    for (double sub : {2.01, 5.01, 30.01})
        if (n == Currency::FromDouble(sub)) return true;
    // Nothing is kept that could not come back (266, whose line is J's last total).
    return ((IsWholeIn(n, 6, 32) && n != Whole(kBOtherCapitalSubtotal)) || IsWholeIn(n, 201, 266)) &&
           CCNumberRefusal(n).empty();
}

bool CCLabelsEditable(Currency n) { return n < Whole(201); }

std::vector<std::string> CCBandSheets(Currency n) {
    if (n < Whole(kBNewCapitalSubtotal)) return {"E", "Fp1", "Fp2", "Gp1", "Gp2"};
    if (n < Whole(kBOtherCapitalSubtotal)) return {"E"};
    if (n < Whole(200) && n.Floor() == Whole(30)) return {"Gp1", "Gp2"};
    return {};
}

std::string CCNumberRefusal(Currency n) {
    const std::string cc = "Cost center " + n.ToText();
    if (n <= Currency{} || n.scaled % 100 != 0) return n.ToText() + " is not a cost center number.";
    if (IsBTotalLine(n) || (n > Whole(kBNonCapitalSubtotal) && n <= Whole(200)))
        return cc + " cannot be added: line " + n.ToText() + " of Worksheet B is a total line.";
    if (n > Whole(200)) {
        const Currency line = n - Whole(200);
        bool total = line > Whole(65);
        for (int t : {10, 29, 38, 39, 49, 55, 56, 62, 63, 66}) total = total || line == Whole(t);
        if (total)
            return cc + " cannot be added: line " + line.ToText() +
                   " of Worksheet J is a total line or lies past the last account line.";
    }
    return "";
}

// ---- Dialog lists ----

CcAddChoices OfferedCCNumbers(Currency current) {
    CcAddChoices choices;
    choices.restoreList = !DeletedCCEntries().empty();
    const Currency numbers[2] = {current + kStep, NextWhole(current + kStep)};  // 12.99 offers 13 and 14
    for (int i = 0; i < 2; ++i) {
        CcOffer& offer = choices.buttons[static_cast<std::size_t>(i)];
        offer.number = numbers[i];
        offer.caption = "Add new Cost Center number " + numbers[i].ToText();
        offer.offered = CCNumberRefusal(numbers[i]).empty() && !CcExists("CostCenters", numbers[i]);
    }
    return choices;
}

std::vector<CcListEntry> DeletedCCEntries() {
    if (!Table_Exists("DeletedCCs")) return {};
    auto entries = Entries("SELECT CCNum, CCName FROM DeletedCCs ORDER BY CCNum;");
    // A copy saved by an earlier version may hold a number the list now refuses.
    std::erase_if(entries, [](const CcListEntry& e) { return !CCNumberRefusal(e.number).empty(); });
    return entries;
}

std::vector<CcListEntry> SelectableCCEntries(const std::string& sheet) {
    std::vector<Currency> held;
    auto row0 = Db().OpenRecordset(SelectSheet(sheet, "WHERE SeqNum = 0;"));
    if (!row0.Eof())
        for (int i = LeadingFields(ShapeOf(sheet)); i < row0.FieldCount(); ++i)
            held.push_back(Nz_Num(row0.Field(i)).ToCurrency());
    return Entries("SELECT CCNum, CCName FROM CostCenters WHERE (CCNum >= 10) AND (CCNum < 200) ORDER BY CCNum;",
                   held);
}

// ---- Operations ----

CcWindows CCWindowsAffected(Currency n) {
    CcWindows windows;
    if (n >= Whole(200)) {
        windows.setUp = {"J"};
        return windows;
    }
    windows.close = CCBandSheets(n);
    for (const char* sheet : kChosenSheets)
        if (ChosenColumnInGroup(sheet, n)) windows.close.emplace_back(sheet);
    windows.setUp = {"B"};
    return windows;
}

CcChange AddCC(Currency n) { return Insert(n, false); }

CcChange RestoreCC(Currency n) { return Insert(n, true); }

CcChange DeleteCC(Currency n) {
    Change change("deleted", n);
    if (!CcExists("CostCenters", n)) return change.Refuse("Cost center " + n.ToText() + " is not in the list.");
    if (IsCCProtected(n)) return change.Refuse("Cost center " + n.ToText() + " cannot be deleted.");
    const CcWindows windows = CCWindowsAffected(n);
    return change.Run(
        [&](Change& c) {
            auto& db = Db();
            const std::vector<Value> at = {Value(n)};
            if (IsCCRestorable(n)) {
                c.Step("the list of deleted cost centers", [&] {
                    if (!Table_Exists("DeletedCCs")) Build_DeletedCCs();
                    if (!CcExists("DeletedCCs", n))
                        db.ExecuteStrict(
                            "INSERT INTO DeletedCCs (LineNum, CCNum, CCName, ColLabel1, ColLabel2, ColLabel3) "
                            "SELECT LineNum, CCNum, CCName, ColLabel1, ColLabel2, ColLabel3 FROM CostCenters "
                            "WHERE CCNum = ?;",
                            at);
                });
            }
            c.Step("the cost-center list", [&] {
                db.Execute("DELETE FROM CostCenters WHERE CCNum = ?;", at);
                ShiftLines("CostCenters", {"CCNum", "LineNum"}, "CCNum>? AND CCNum<?",
                            {Value(n), Value(NextWhole(n))}, -kStep, kLift);
                Close_CC_Recordset();
            });
            Currency number = n;
            if (n >= Whole(200)) {
                c.Step("Worksheet J", [&] {
                    Delete_CC_J(number);
                    RequireLine("J", n, CcExists("CostCenters", n));
                });
            } else {
                c.Step("Worksheet B", [&] {
                    Delete_CC_B(number);
                    RequireLine("B", n, CcExists("CostCenters", n));
                });
                for (const auto& sheet : CCBandSheets(n))
                    c.Step("Worksheet " + sheet, [&] { Delete_CC_Column(sheet, n); });
                c.Step("the columns of Worksheets E-1 and F-1", [&] {
                    if (db.TableExists("E1")) DeleteChosenCCColumn("E1", n);
                    if (db.TableExists("F1p2") && db.TableExists("F1p1")) DeleteF1Column(n);
                    MoveChosenColumnNumbers(n, false);
                });
            }
            c.Step("Worksheets B-1, C and D Part B", [&] {
                db.Execute("UPDATE B1 SET UpCCName=NULL, UpCCNum=NULL, UpAmount=0 WHERE UpCCNum=?;", at);
                db.Execute("UPDATE B1 SET DnCCName=NULL, DnCCNum=NULL, DnAmount=0 WHERE DnCCNum=?;", at);
                db.Execute("UPDATE C SET CCName=NULL, CCNum=NULL, Amount=0 WHERE CCNum=?;", at);
                db.Execute("DELETE FROM DpB WHERE LineNum = ?;", at);
                MoveReferences(n, false);
            });
        },
        windows);
}

CcTyped ReadCCNumber(const std::string& typed) {
    const std::string text = Trim(typed);
    if (text.empty()) return {};
    const bool digits = text.find_first_not_of("0123456789.") == std::string::npos && IsPlainNumber(text);
    const std::optional<double> read = digits ? ParseNumber(text) : std::nullopt;
    // Far beyond any cost centre (and any Currency).
    if (!read || *read >= 1e9) return {CcTyped::Invalid, {}, {}};
    const Currency number = Currency::FromDouble(*read);
    // A fifth decimal is no number of the list, not a rounded one.
    if (std::fabs(number.ToDouble() - *read) > 1e-9) return {CcTyped::Invalid, number, {}};
    if (number == Currency()) return {};
    std::string name = Get_CC_Name(Value(number));
    if (name.rfind('<', 0) == 0) return {CcTyped::Invalid, number, {}};
    return {CcTyped::Found, number, std::move(name)};
}

namespace {

bool AnyRow(const std::string& table, const std::string& where, const std::vector<Value>& args) {
    return Db().TableExists(table) &&
           Nz_Num(Db().Scalar("SELECT COUNT(*) FROM " + table + " WHERE " + where + ";", args)).ToLong() > 0;
}

// The column of `sheet` headed by n (row 0) holding a figure other than 0 on
// a line the user types on: the component lines, and F's and F-1's cost to
// be allocated; the totals and multipliers are only the calculation's.
bool ColumnHolds(const std::string& sheet, Currency n) {
    if (!Db().TableExists(sheet)) return false;
    const ComponentSheetShape& shape = ShapeOf(sheet);
    const auto fields = Db().Fields(sheet);
    auto rs = Db().OpenRecordset("SELECT * FROM " + sheet + " WHERE SeqNum = 0;");
    if (rs.RecordCount() == 0) return false;
    rs.MoveFirst();
    const int end = std::min(rs.FieldCount(), static_cast<int>(fields.size())) - (shape.rowTotal ? 1 : 0);
    for (int i = shape.firstCCField; i < end; ++i) {
        const Value v = rs.Field(i);
        if (v.IsNull() || !IsNumeric(v) || v.IsEmpty() || v.ToCurrency() != n) continue;
        const std::string& field = fields[static_cast<size_t>(i)].name;
        return AnyRow(sheet, "SeqNum NOT IN (" + EditorHiddenRows(shape) + ") AND IFNULL(" + field + ", 0) <> 0",
                      {});
    }
    return false;
}

std::string JoinedPlaces(const std::vector<std::string>& places) {
    std::string text;
    for (size_t i = 0; i < places.size(); ++i)
        text += (i == 0 ? "" : i + 1 == places.size() ? " and " : ", ") + places[i];
    return text;
}

}  // namespace

std::string CCDeleteQuestion(Currency n) {
    const std::vector<Value> at = {Value(n)};
    std::vector<std::string> places;
    if (n >= Whole(200)) {
        if (AnyRow("J", "CCNum = ? AND IFNULL(Col_1, 0) <> 0", at)) places.push_back("Worksheet J");
    } else if (AnyRow("B", "CCNum = ? AND IFNULL(Expenses, 0) <> 0", at)) {
        places.push_back("Worksheet B");
    }
    if (AnyRow("B1", "UpCCNum = ? OR DnCCNum = ?", {Value(n), Value(n)})) places.push_back("Worksheet B-1");
    if (AnyRow("C", "CCNum = ?", at)) places.push_back("Worksheet C");
    if (AnyRow("DpB", "LineNum = ? AND SeqNum < 100", at)) places.push_back("Worksheet D Part B");
    for (const auto& [sheet, place] : {std::pair{"E", "Worksheet E"}, {"E1", "Worksheet E-1"},
                                        {"Fp2", "Worksheet F Part II"}, {"F1p2", "Worksheet F-1"}})
        if (ColumnHolds(sheet, n)) places.push_back(place);
    if (places.empty()) return "";
    return "Cost center " + n.ToText() + " carries amounts or lines in " + JoinedPlaces(places) +
           ". Deleting it removes them; restoring it brings back only its name.\n\nDelete cost center " +
           n.ToText() + "?";
}

bool CheckCCName(Currency n, const std::string& name) {
    bool ok = true;
    // The name is stored without the blanks around it (RenameCC).
    const std::string trimmed = Trim(name);
    const std::size_t length = CharCount(trimmed);
    if (length == 0) {
        Show_Message("A cost center may not be blank, please enter a cost center title.", ui::kCritical, kNameTitle);
        ok = false;
    } else if (length > kCCNameLength) {
        Show_Message("Cost Center names cannot be more than 40 characters in length");
        ok = false;
    }
    if (name.find('"') != std::string::npos) {
        Show_Message("Cost Center names cannot contain double quote characters");
        ok = false;
    }
    // No control characters.
    if (ok && !CheckText(trimmed, kCCNameLength, "cost center name")) ok = false;
    // Cost centre n and account n + 200 share a line number, so the edited
    // cost centre is told apart by its own number.
    if (Nz_Num(Db().Scalar("SELECT COUNT(CCNum) FROM CostCenters WHERE upper(CCName) = upper(?) AND CCNum <> ?;",
                           {Value(trimmed), Value(n)}))
            .ToLong() > 0) {
        Show_Message("This cost center name has already been used, please enter a unique cost center title.",
                     ui::kCritical, kNameTitle);
        ok = false;
    }
    return ok;
}

CcChange RenameCC(Currency n, const std::string& name) {
    Change change("renamed", n);
    if (!CcExists("CostCenters", n)) return change.Refuse("Cost center " + n.ToText() + " is not in the list.");
    if (!CheckCCName(n, name)) {
        CcChange refused;
        refused.number = n;
        refused.error = "The name was refused.";
        return refused;
    }
    CcWindows windows;
    if (n >= Whole(200)) windows.setUp = {"J"};
    return change.Run(
        [&](Change& c) {
            auto& db = Db();
            // The name as every worksheet field of 40 characters can hold it.
            const std::vector<Value> args = {Value(FitToField(name, kCCNameLength)), Value(n)};
            c.Step("the cost-center list",
                   [&] { db.ExecuteStrict("UPDATE CostCenters SET CCName = ? WHERE CCNum = ?;", args); });
            if (n < Whole(200)) {
                c.Step("Worksheet B",
                       [&] { db.ExecuteStrict("UPDATE B SET CCName = ? WHERE CCNum = ?;", args); });
                c.Step("Worksheet B-1", [&] {
                    db.ExecuteStrict("UPDATE B1 SET UpCCName = ? WHERE UpCCNum = ?;", args);
                    db.ExecuteStrict("UPDATE B1 SET DnCCName = ? WHERE DnCCNum = ?;", args);
                });
            } else {
                c.Step("Worksheet J", [&] { db.ExecuteStrict("UPDATE J SET CCName = ? WHERE CCNum = ?;", args); });
            }
            // C and D Part B may name balance-sheet accounts too.
            c.Step("Worksheet C",
                   [&] { db.ExecuteStrict("UPDATE C SET CCName = ? WHERE CCNum = ?;", args); });
            c.Step("Worksheet D Part B",
                   [&] { db.ExecuteStrict("UPDATE DpB SET ExpAcct = ? WHERE LineNum = ?;", args); });
        },
        windows);
}

CcChange SetCCLabel(Currency n, int label, const std::string& text) {
    Change change("changed", n);
    if (label < 1 || label > 3 || !CCLabelsEditable(n) || !CcExists("CostCenters", n))
        return change.Refuse("Cost center " + n.ToText() + " has no column label " + std::to_string(label) + ".");
    if (!CheckText(text, 16, "column label")) {
        CcChange refused;
        refused.number = n;
        refused.error = "The label was refused.";
        return refused;
    }
    const std::string field = "ColLabel" + std::to_string(label);
    return change.Run(
        [&](Change& c) {
            c.Step("the cost-center list", [&] {
                Db().ExecuteStrict("UPDATE CostCenters SET " + field + " = ? WHERE CCNum = ?;",
                                   {text.empty() ? Value::Null() : Value(text), Value(n)});
            });
        },
        CcWindows{});
}

void SetCCStepHook(std::function<void(const std::string& step)> hook) { StepHook() = std::move(hook); }

}  // namespace vt
