#include "report/components.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <utility>

#include "engine/chain/component_rows.h"
#include "engine/chain/component_sheet.h"
#include "engine/general/renumber.h"
#include "platform/db/db.h"
#include "platform/ui/ui.h"
#include "platform/value/text.h"
#include "report/provider_info.h"
#include "report/steps.h"
#include "report/worksheet_catalogue.h"
#include "store/report.h"
#include "store/services.h"

namespace vt {

namespace {

constexpr Currency Cents(std::int64_t cents) { return Currency{cents * 100}; }
Currency Whole(std::int64_t n) { return Currency::FromInt(n); }

const Currency kStep = Cents(1);
// Every line of A Parts III-V lies below it, every line of Part I below 1000.
const Currency kLift = Whole(100);
const Currency kAp1Lift = Whole(1000);

const char* const kFailureTitle = "Error: Worksheet A";
const char* const kComponentSheets = "the component sheets";

Steps::Hook& StepHook() {
    static Steps::Hook hook;
    return hook;
}

// ---- The parts with component lines ----

struct PartInfo {
    int part;
    const char* table;
    const char* title;
    const char* beyond;  // what a line after the last the band holds would fall on
};

const PartInfo kParts[] = {
    {3, "Ap3", "Worksheet A Part III", "line 18, the total line of the component sheets"},
    {4, "Ap4", "Worksheet A Part IV", "line 9, Other Managed Facilities"},
    {5, "Ap5", "Worksheet A Part V", "line 5, whose row is a total line of the component sheets"},
};

// The highest line the part's band of the component sheets holds.
Currency LastBandLine(const PartInfo& p) {
    const ComponentBand& b = BandOfPart(p.part);
    return RowAt(b.lastUser) - Whole(b.offset);
}

const PartInfo* PartOf(int part) {
    for (const auto& p : kParts)
        if (p.part == part) return &p;
    return nullptr;
}

// A Part IV's line 9 stays where it is: the user's lines lie below it.
bool FixedLine(const PartInfo& p, Currency line) { return p.part == 4 && line == Whole(9); }
std::string UserLines(const PartInfo& p) { return p.part == 4 ? " AND LineNum<9" : ""; }

Currency LastUserLine(const PartInfo& p) {
    const std::string where = p.part == 4 ? " WHERE LineNum<9" : "";
    return Nz_Num(Db().Scalar(std::string("SELECT MAX(LineNum) FROM ") + p.table + where + ";")).ToCurrency();
}

bool HasLine(const std::string& table, const std::string& key, Currency line) {
    return Nz_Num(Db().Scalar("SELECT COUNT(*) FROM " + table + " WHERE " + key + " = ?;", {Value(line)})).ToLong() > 0;
}

// The line that a window lands on after a deletion: the one that took the
// deleted number, or the one before it.
std::optional<Currency> LineAtOrBefore(const std::string& table, const std::string& key, Currency line) {
    const Value v = Db().Scalar("SELECT MAX(" + key + ") FROM " + table + " WHERE " + key + " <= ?;", {Value(line)});
    if (v.IsNull()) return std::nullopt;
    return v.ToCurrency();
}

// ---- The component sheets ----

// The component sheets the report has, in the form's order. Each is changed
// on its own, so the order decides nothing.
std::vector<std::string> SheetsPresent(bool medicareNo = false) {
    std::vector<std::string> sheets;
    for (const Worksheet& w : WorksheetCatalogue()) {
        if (!w.componentSheet) continue;
        const std::string s = w.code;
        // F and G Part II have no Medicare number.
        if (medicareNo && !ShapeOf(s).medicareNo) continue;
        if (Table_Exists(s)) sheets.push_back(s);
    }
    return sheets;
}

// The line statements are lenient: a row that meets a taken number is dropped
// or left lifted without a word. Either would leave the sheets out of step
// with worksheet A, so it fails the operation instead.
void RequireSheetsFollow(const PartInfo& p, std::optional<Currency> added) {
    const Currency offset = Whole(BandOfPart(p.part).offset);
    for (const auto& s : SheetsPresent()) {
        if (Nz_Num(Db().Scalar("SELECT COUNT(*) FROM " + s + " WHERE SeqNum >= ? OR LineNum >= ?;",
                               {Value(kLift), Value(kLift)}))
                .ToLong() > 0)
            throw db::DbError("worksheet " + s + " has rows it could not renumber");
        if (added && Nz_Num(Db().Scalar("SELECT COUNT(*) FROM " + s + " WHERE SeqNum = ? AND LineNum = ?;",
                                        {Value(*added + offset), Value(*added)}))
                             .ToLong() != 1)
            throw db::DbError("worksheet " + s + " has no row for line " + added->ToText());
    }
}

void RequireNothingLifted(const std::string& table, const std::string& key, Currency lift) {
    if (Nz_Num(Db().Scalar("SELECT COUNT(*) FROM " + table + " WHERE " + key + " >= ?;", {Value(lift)})).ToLong() > 0)
        throw db::DbError("table " + table + " has lines it could not renumber");
}

std::vector<std::string> With(std::string first, const std::vector<std::string>& rest) {
    std::vector<std::string> all{std::move(first)};
    all.insert(all.end(), rest.begin(), rest.end());
    return all;
}

// ---- Running an operation ----

AChange Refuse(const std::string& why) {
    Show_Message(why, ui::kExclamation);
    AChange refused;
    refused.error = why;
    return refused;
}

// A value whose check told the user why itself.
AChange Refused() {
    AChange refused;
    refused.error = "The value was refused.";
    return refused;
}

// Runs the steps in one transaction; `what` says what was not done when a
// step fails ("Line 1.01 was not added to Worksheet A Part III").
AChange Run(const std::string& first, const std::string& what, const std::function<void(Steps&)>& body,
            AChange result) {
    Steps steps(StepHook(), first);
    if (!steps.Run(body)) {
        AChange failed;
        failed.error = what + ": " + steps.Failed() + " could not be changed (" + steps.Reason() +
                       "). Nothing was changed.";
        Show_Message(failed.error, ui::kCritical, kFailureTitle);
        return failed;
    }
    result.done = true;
    return result;
}

// ---- Checks of typed values ----

bool HasQuote(const std::string& s) { return s.find('"') != std::string::npos; }

// The text to store in a field of `size` characters: blanks around a text that
// fits once they are gone do not make it too long. Refused (with CheckText's
// message) when it still does not fit or holds a control character.
std::optional<Value> Fitted(const std::string& text, std::size_t size, const std::string& label) {
    const std::string v = WithoutBlanksWhenTooLong(text, size);
    if (!CheckText(v, size, label)) return std::nullopt;
    return Value(v);
}

// The length and double-quote checks of a named kind of text ("City names"),
// each with its own message; the blanks around the text do not count.
bool LengthAndQuote(const std::string& text, std::size_t size, const std::string& noun) {
    bool ok = true;
    if (CharCount(Trim(text)) > size) {
        Show_Message(noun + " cannot be more than " + std::to_string(size) + " characters in length");
        ok = false;
    }
    if (HasQuote(text)) {
        Show_Message(noun + " cannot contain double quote characters");
        ok = false;
    }
    return ok;
}

// "Yes" or "No" from y, yes, n or no in any case; Null from a blank cell.
std::optional<Value> YesNo(const std::string& text) {
    const std::string t = Lower(Trim(text));
    if (t.empty()) return Value::Null();
    if (t == "y" || t == "yes") return Value("Yes");
    if (t == "n" || t == "no") return Value("No");
    Show_Message("Please enter Y or N.", ui::kInformation, "Entry Error");
    return std::nullopt;
}

enum class Check { Name, Text, Date, YesNo, Mark };
// Where a stored value goes besides worksheet A.
enum class Reach { None, Sheets, Fye, Sync };

struct FieldRule {
    int part;
    const char* field;
    Check check;
    std::size_t size;
    const char* label;  // the field as CheckText names it
    const char* noun;   // the texts of its length and quote messages, if it has them
    Reach reach = Reach::None;
    const char* sheetField = nullptr;
};

const FieldRule kFieldRules[] = {
    {3, "Component", Check::Name, 40, "component name", "Component names", Reach::Sheets, "Component"},
    {3, "MedicareNo", Check::Text, 7, "Medicare No.", nullptr, Reach::Sheets, "MedicareNo"},
    {3, "PeriodFrom", Check::Date, 0, "", nullptr, Reach::Sync},
    {3, "PeriodTo", Check::Date, 0, "", nullptr, Reach::Fye},
    {3, "DateAcquired", Check::Date, 0, "", nullptr},
    {3, "DateSold", Check::Date, 0, "", nullptr},
    {3, "MedicaidPart", Check::YesNo, 3, "", nullptr},
    {3, "ReimburseType", Check::YesNo, 3, "", nullptr},
    {3, "MedicareInt", Check::Text, 25, "Medicare intermediary", "Medicare and Medicaid Intermediary names"},
    {3, "Medicaid", Check::Text, 25, "Medicaid intermediary", "Medicare and Medicaid Intermediary names"},
    {4, "Component", Check::Name, 40, "component name", "Component names", Reach::Sheets, "Component"},
    {4, "PeriodFrom", Check::Date, 0, "", nullptr},
    {4, "PeriodTo", Check::Date, 0, "", nullptr, Reach::Fye},
    {4, "DateAcquired", Check::Date, 0, "", nullptr},
    {4, "DateSold", Check::Date, 0, "", nullptr},
    {5, "Col1", Check::Name, 40, "name", "Component names", Reach::Sheets, "Component"},
    {5, "Col2", Check::Text, 40, "city", "City names"},
    {5, "Col3", Check::Text, 25, "state", "State names"},
    {5, "Col5", Check::Mark, 3, "", nullptr},
    {5, "Col6", Check::Mark, 3, "", nullptr},
    {5, "Col7", Check::Text, 25, "intermediary", "Intermediary names"},
};

const FieldRule* RuleOf(int part, const std::string& field) {
    for (const auto& r : kFieldRules)
        if (r.part == part && Lower(r.field) == Lower(field)) return &r;
    return nullptr;
}

// The value to store for text typed into a field, or none when a check refused
// it (having told the user).
std::optional<Value> Checked(const FieldRule& r, const std::string& text) {
    const bool blank = Trim(text).empty();
    switch (r.check) {
    case Check::Name: {
        bool ok = true;
        if (blank) {
            Show_Message("The Component name may not be blank", ui::kCritical, "Table CostCenters entry error");
            ok = false;
        } else if (CharCount(Trim(text)) > r.size) {
            Show_Message("Component names cannot be more than 40 characters in length");
            ok = false;
        }
        if (HasQuote(text)) {
            Show_Message("Component names cannot contain double quote characters");
            ok = false;
        }
        if (!ok) return std::nullopt;
        return Fitted(text, r.size, r.label);
    }
    case Check::Text:
        if (r.noun && !LengthAndQuote(text, r.size, r.noun)) return std::nullopt;
        if (blank) return Value::Null();
        return Fitted(text, r.size, r.label);
    case Check::Date: {
        if (blank) return Value::Null();
        // Part III stores the date as its "mm/dd/yyyy" form reads; Part IV as typed.
        std::string t = text;
        if (!(r.part == 3 ? Format_Date_Field(t, true) : Check_Date(t))) return std::nullopt;
        return Value(*ParseDate(t));
    }
    case Check::YesNo: return YesNo(text);
    case Check::Mark: return blank ? Value::Null() : Value("X");
    }
    return std::nullopt;
}

// ---- Part I ----

const char* const kPartI = "Worksheet A Part I";
const Currency kAp1Date = Whole(4);
const Currency kAp1Audited = Whole(7);
const Currency kAp1Type = Whole(8);
const Currency kAp1OtherType = Cents(801);
const Currency kAp1Officers = Whole(9);

int TypeCode(const std::string& info) {
    const std::string head = info.substr(0, std::min<std::size_t>(2, info.size()));
    return std::atoi(head.c_str());
}

bool TypeAsksToSpecify(int code) { return code == 5 || code == 9 || code == 15; }

const std::vector<std::string>& YesNoCaptions() {
    static const std::vector<std::string> captions{"Yes", "No"};
    return captions;
}

const std::vector<std::string>& TypeCaptions() {
    static const std::vector<std::string> captions{
        "1 - Voluntary Non-profit Church",  "2 - Voluntary Non-profit, Community",
        "3 - Voluntary Non-profit, Private", "4 - Voluntary Non-profit, Charitable",
        "5 - Voluntary Non-profit, Other(specify)", "6 - Proprietary, Individual",
        "7 - Proprietary, Partnership",     "8 - Proprietary, Corporation",
        "9 - Proprietary, Other(specify)",  "10 - Governmental, Federal",
        "11 - Governmental, State",         "12 - Governmental, County",
        "13 - Governmental, City",          "14 - Governmental, District",
        "15 - Governmental, Other(Specify)"};
    return captions;
}

// The answer to store on a line of Part I, or none when refused (the user told).
std::optional<Value> CheckedAp1Info(Currency seq, const std::string& text) {
    std::string t = text;
    if (seq == kAp1Audited) return YesNo(text);
    if (seq == kAp1Type) {
        if (Trim(t).empty()) return Value("");
        const auto& list = TypeCaptions();
        if (std::find(list.begin(), list.end(), t) != list.end()) return Value(t);
        Show_Message("Please pick the type of organization from the list.");
        return std::nullopt;
    }
    if (seq == kAp1Date) {
        if (Trim(t).empty()) return Value::Null();
        if (!Format_Date_Field(t, true)) return std::nullopt;
    }
    if (!LengthAndQuote(t, 40, "Entered values")) return std::nullopt;
    return Fitted(t, 40, "answer");
}

// Writes one field of a Part I line, and what changes along with it.
AChange StoreAp1(Currency seq, const char* field, const Value& stored, const std::function<void()>& along = {}) {
    AChange result;
    result.line = seq;
    result.stored = stored;
    result.changed = {"Ap1"};
    return Run(
        kPartI, "Line " + seq.ToText() + " of Worksheet A Part I was not changed",
        [&](Steps& s) {
            s.Step(kPartI, [&] {
                Db().ExecuteStrict(std::string("UPDATE Ap1 SET ") + field + " = ? WHERE SeqNum = ?;",
                                   {stored, Value(seq)});
                if (along) along();
            });
        },
        result);
}

}  // namespace

void RequireSoundALines() {
    for (const PartInfo& p : kParts) {
        if (!Table_Exists(p.table)) continue;
        const Currency last = p.part == 4 ? Whole(9) : LastBandLine(p);
        const std::string where = std::string(p.title) + " (table " + p.table + ", field LineNum)";
        const std::string damaged = ": the file is damaged or was written by another program.";
        // Reading them names a line number that is no number.
        auto rs = Db().OpenRecordset(std::string("SELECT LineNum FROM ") + p.table + " ORDER BY LineNum;");
        std::optional<Currency> before;
        for (; !rs.Eof(); rs.MoveNext()) {
            if (rs["LineNum"].IsNull()) throw db::DamagedValue(where + " holds a line without a number" + damaged);
            const Currency line = rs["LineNum"].ToCurrency();
            if (line == before) throw db::DamagedValue(where + " holds line " + line.ToText() + " twice" + damaged);
            if (line <= Currency{} || line > last)
                throw db::DamagedValue(where + " holds line " + line.ToText() + ", outside its lines up to " +
                                       last.ToText() + damaged);
            before = line;
        }
    }
}

// ---- Component lines ----

ALineOffer OfferALine(int part, std::optional<Currency> current) {
    ALineOffer offer;
    const PartInfo* p = PartOf(part);
    if (!p) {
        offer.reason = "Worksheet A has no part " + std::to_string(part) + " with component lines.";
        return offer;
    }
    if (current && !HasLine(p->table, "LineNum", *current)) {
        offer.reason = "Line " + current->ToText() + " is not in " + p->title + ".";
        return offer;
    }
    const Currency last = LastUserLine(*p);
    if (last >= LastBandLine(*p)) {
        offer.reason = std::string("No line can be added to ") + p->title + ": its lines reach " + last.ToText() +
                       ", and one more would push a line onto " + p->beyond + ".";
        return offer;
    }
    offer.line = (!current || FixedLine(*p, *current)) ? std::max(last + kStep, Whole(1)) : *current + kStep;
    offer.allowed = true;
    return offer;
}

AChange AddALine(int part, std::optional<Currency> current) {
    const ALineOffer offer = OfferALine(part, current);
    if (!offer.allowed) return Refuse(offer.reason);
    const PartInfo& p = *PartOf(part);
    const Currency n = offer.line;
    AChange result;
    result.line = n;
    result.changed = With(p.table, SheetsPresent());
    return Run(
        p.title, "Line " + n.ToText() + " was not added to " + p.title,
        [&](Steps& s) {
            s.Step(p.title, [&] {
                ShiftLines(p.table, {"LineNum"}, "LineNum>=?" + UserLines(p), {Value(n)}, kStep, kLift);
                Db().ExecuteStrict(std::string("INSERT INTO ") + p.table + " (LineNum) VALUES (?);", {Value(n)});
                RequireNothingLifted(p.table, "LineNum", kLift);
            });
            s.Step(kComponentSheets, [&] {
                Insert_Component_Line(n, part);
                RequireSheetsFollow(p, n);
            });
        },
        result);
}

bool ALineDeletable(int part, Currency line) {
    const PartInfo* p = PartOf(part);
    return p && !FixedLine(*p, line) && HasLine(p->table, "LineNum", line);
}

AChange DeleteALine(int part, Currency line) {
    const PartInfo* p = PartOf(part);
    if (!p) return Refuse("Worksheet A has no part " + std::to_string(part) + " with component lines.");
    if (FixedLine(*p, line)) return Refuse("Line 9, Other Managed Facilities, cannot be deleted.");
    if (!HasLine(p->table, "LineNum", line)) return Refuse("Line " + line.ToText() + " is not in " + p->title + ".");
    AChange result;
    result.changed = With(p->table, SheetsPresent());
    result = Run(
        p->title, "Line " + line.ToText() + " was not deleted from " + p->title,
        [&](Steps& s) {
            s.Step(p->title, [&] {
                Db().ExecuteStrict(std::string("DELETE FROM ") + p->table + " WHERE LineNum = ?;", {Value(line)});
                ShiftLines(p->table, {"LineNum"}, "LineNum>?" + UserLines(*p), {Value(line)}, -kStep, kLift);
                RequireNothingLifted(p->table, "LineNum", kLift);
            });
            s.Step(kComponentSheets, [&] {
                Delete_Component_Line(line, part);
                RequireSheetsFollow(*p, std::nullopt);
            });
        },
        result);
    if (result.done) result.line = LineAtOrBefore(p->table, "LineNum", line);
    return result;
}

bool AFieldEditable(int part, Currency line, const std::string& field) {
    const PartInfo* p = PartOf(part);
    const FieldRule* r = RuleOf(part, field);
    return p && r && !(FixedLine(*p, line) && r->check == Check::Name);
}

AChange SetAField(int part, Currency line, const std::string& field, const std::string& text) {
    const PartInfo* p = PartOf(part);
    const FieldRule* r = RuleOf(part, field);
    if (!p || !r) return Refuse("Field " + field + " of worksheet A cannot be typed in.");
    if (FixedLine(*p, line) && r->check == Check::Name)
        return Refuse("The name of line 9, Other Managed Facilities, cannot be changed.");
    if (!HasLine(p->table, "LineNum", line)) return Refuse("Line " + line.ToText() + " is not in " + p->title + ".");
    const std::optional<Value> stored = Checked(*r, text);
    if (!stored) return Refused();

    AChange result;
    result.line = line;
    result.stored = *stored;
    result.changed = {p->table};
    const bool medicareNo = r->sheetField && std::string(r->sheetField) == "MedicareNo";
    if (r->reach == Reach::Sheets || r->reach == Reach::Sync) result.changed = With(p->table, SheetsPresent(medicareNo));
    if (r->reach == Reach::Fye && Table_Exists("H")) result.changed.emplace_back("H");

    return Run(
        p->title, std::string("Line ") + line.ToText() + " of " + p->title + " was not changed",
        [&](Steps& s) {
            s.Step(p->title, [&] {
                if (Db().ExecuteStrict(std::string("UPDATE ") + p->table + " SET " + r->field + " = ? WHERE LineNum = ?;",
                                       {*stored, Value(line)}) != 1)
                    throw db::DbError("line " + line.ToText() + " was not found");
            });
            switch (r->reach) {
            case Reach::None: break;
            case Reach::Sheets:
                s.Step(kComponentSheets,
                       [&] { Propagate_Component_Field(line, part, r->sheetField, stored->ToText()); });
                break;
            case Reach::Fye:
                // The period end is the component's fiscal year end in worksheet H.
                s.Step("Worksheet H", [&] {
                    if (Table_Exists("H"))
                        Set_Component_Field("H", line, part, "FYE", Format(*stored, "mm/dd/yyyy"));
                });
                break;
            case Reach::Sync:
                s.Step(kComponentSheets, [&] {
                    const bool before = stored->IsDateType() && stored->AsDate() < Report().CRF_FYStart;
                    for (const auto& sheet : SheetsPresent()) Sync_Component_Line(sheet, line, before);
                });
                break;
            }
        },
        result);
}

void SetAStepHook(std::function<void(const std::string& step)> hook) { StepHook() = std::move(hook); }

// ---- Part I ----

bool IsAp1IdentityRow(Currency seq) { return Ap1IdentityField(seq) != IdentityField::None; }

const std::vector<std::string>& Ap1PickList(Currency seq) {
    static const std::vector<std::string> none;
    if (seq == kAp1Audited) return YesNoCaptions();
    if (seq == kAp1Type) return TypeCaptions();
    return none;
}

int Ap1OrganisationType() {
    return TypeCode(
        Nz_Str(Db().Scalar("SELECT Info FROM Ap1 WHERE SeqNum = ?;", {Value(kAp1Type)}), Value("00")).ToText());
}

bool Ap1InfoEditable(Currency seq) {
    if (IsAp1IdentityRow(seq) || !Ap1PickList(seq).empty()) return false;
    return seq != kAp1OtherType || TypeAsksToSpecify(Ap1OrganisationType());
}

bool Ap1OfficerRow(Currency seq) { return seq >= kAp1Officers; }

AChange AddAp1Officer() {
    // After the last officer; with none left, 9.01 (a line below 9 could never be deleted).
    const Currency last = Nz_Num(Db().Scalar("SELECT MAX(SeqNum) FROM Ap1;")).ToCurrency();
    const Currency n = std::max(last, kAp1Officers) + kStep;
    AChange result;
    result.line = n;
    result.changed = {"Ap1"};
    return Run(
        kPartI, "Line " + n.ToText() + " was not added to Worksheet A Part I",
        [&](Steps& s) {
            s.Step(kPartI,
                   [&] { Db().ExecuteStrict("INSERT INTO Ap1 (SeqNum) VALUES (?);", {Value(n)}); });
        },
        result);
}

AChange DeleteAp1Officer(Currency seq) {
    if (!Ap1OfficerRow(seq)) return Refuse("Only the key officer lines, from 9 on, can be deleted.");
    if (!HasLine("Ap1", "SeqNum", seq)) return Refuse("Line " + seq.ToText() + " is not in Worksheet A Part I.");
    AChange result;
    result.changed = {"Ap1"};
    result = Run(
        kPartI, "Line " + seq.ToText() + " was not deleted from Worksheet A Part I",
        [&](Steps& s) {
            s.Step(kPartI, [&] {
                Db().ExecuteStrict("DELETE FROM Ap1 WHERE SeqNum = ?;", {Value(seq)});
                ShiftLines("Ap1", {"SeqNum"}, "SeqNum>?", {Value(seq)}, -kStep, kAp1Lift);
                RequireNothingLifted("Ap1", "SeqNum", kAp1Lift);
            });
        },
        result);
    if (result.done) result.line = LineAtOrBefore("Ap1", "SeqNum", seq);
    return result;
}

AChange SetAp1Info(Currency seq, const std::string& text) {
    if (IsAp1IdentityRow(seq))
        return Refuse("The home office name, the number assigned by CMS and the cost statement period are changed "
                      "in the provider information.");
    if (seq == kAp1OtherType && !TypeAsksToSpecify(Ap1OrganisationType()))
        return Refuse("Line 8.01 is answered only for the types of organization 5, 9 and 15 (other, specify).");
    if (!HasLine("Ap1", "SeqNum", seq)) return Refuse("Line " + seq.ToText() + " is not in Worksheet A Part I.");
    const std::optional<Value> stored = CheckedAp1Info(seq, text);
    if (!stored) return Refused();

    return StoreAp1(seq, "Info", *stored, [&] {
        // Only the "other" types are specified on the line below.
        if (seq == kAp1Type && !TypeAsksToSpecify(TypeCode(stored->ToText())))
            Db().ExecuteStrict("UPDATE Ap1 SET Info = '' WHERE SeqNum = ?;", {Value(kAp1OtherType)});
    });
}

AChange SetAp1Legend(Currency seq, const std::string& text) {
    if (!Ap1OfficerRow(seq)) return Refuse("Only the captions of the key officer lines, from 9 on, can be changed.");
    if (!HasLine("Ap1", "SeqNum", seq)) return Refuse("Line " + seq.ToText() + " is not in Worksheet A Part I.");
    std::optional<Value> stored = Value::Null();  // the caption field takes no empty text
    if (!Trim(text).empty()) stored = Fitted(text, 50, "caption");
    if (!stored) return Refused();

    return StoreAp1(seq, "Legend", *stored);
}

}  // namespace vt
