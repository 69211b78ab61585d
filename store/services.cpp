#include "store/services.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "platform/db/db.h"
#include "platform/ui/ui.h"
#include "platform/value/text.h"
#include "store/report.h"

namespace vt {

std::string Temp_Text;
Value Temp_Value;

namespace {

bool IsTextBlank(const Value& v) { return v.IsEmpty() || (v.IsString() && v.Str().empty()); }

double NumberOf(const Value& v) {
    if (v.IsEmpty()) return 0;
    if (v.IsDateType()) return v.AsDate().serial;
    return v.ToDouble();
}

// Orders two non-Null values: numbers and dates
// by value, texts as texts, a number against a text by value when the text is
// a number, else the number first.
int Compare(const Value& a, const Value& b) {
    auto cmp = [](auto x, auto y) { return x < y ? -1 : (y < x ? 1 : 0); };
    bool aText = a.IsString(), bText = b.IsString();
    if (aText && bText) return cmp(a.Str(), b.Str());
    if (aText != bText) {
        const Value& text = aText ? a : b;
        if (!IsNumeric(text)) return aText ? 1 : -1;
    }
    return cmp(NumberOf(a), NumberOf(b));
}

}  // namespace

// ---- Texts ----

// Trimming takes blanks only, never tabs or line breaks.
// Characters, not bytes: a label may hold any text the user typed.
std::size_t CharCount(const std::string& s) {
    std::size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

std::string FitToField(const std::string& text, std::size_t width) {
    const std::string t = Trim(text);
    std::size_t seen = 0;
    for (std::size_t i = 0; i < t.size(); ++i)
        if ((static_cast<unsigned char>(t[i]) & 0xC0) != 0x80 && seen++ == width) return t.substr(0, i);
    return t;
}

std::string WithoutBlanksWhenTooLong(const std::string& text, std::size_t width) {
    return CharCount(text) > width ? Trim(text) : text;
}

// ---- Values ----

Value Nz_Str(const Value& v, const Value& fallback) {
    if (!v.IsNull() && !IsTextBlank(v)) return v;
    return fallback.IsEmpty() ? Value("") : fallback;
}

Value Nz_Num(const Value& v, const Value& fallback) {
    if (!v.IsNull() && !Trim(v.ToText()).empty()) return v;
    return fallback.IsEmpty() ? Value::Integer(0) : fallback;
}

DateTime To_Date(const Value& v) {
    try {
        return v.ToDate();
    } catch (...) {
        return DateTime::Smallest();
    }
}

bool Is_Blank(const Value& v) { return Trim(Nz_Str(v).ToText()).empty(); }

bool Is_Zero(const Value& v) {
    Value n = Nz_Num(v);
    if (n.IsString() && !IsNumeric(n)) return false;
    return NumberOf(n) == 0;
}

Value Max_Var(const Value& a, const Value& b) {
    if (a.IsNull()) return b;
    if (!b.IsNull() && Compare(b, a) > 0) return b;
    return a;
}

Value Min_Var(const Value& a, const Value& b) {
    if (b.IsNull()) return a;
    if (a.IsNull() || Compare(b, a) < 0) return b;
    return a;
}

double RoundDouble(double x, int places) {
    x *= std::pow(10.0, places);
    double whole = std::trunc(x);
    if (std::fabs(std::fabs(x - whole) - 0.5) < 0.000001) {
        double sign = x > 0 ? 1 : (x < 0 ? -1 : 0);
        return (whole + sign) * std::pow(10.0, -places);
    }
    return std::floor(x + 0.5) / std::pow(10.0, places);
}

Value Round_Value(const Value& v, int places) {
    if (!IsNumeric(v)) return Value::Null();
    return Value(RoundDouble(NumberOf(v), places));
}

bool Table_Exists(const std::string& name) { return Db().TableExists(name); }

// ---- Cost-centre lookups ----

namespace {

// The snapshot behind the lookups, and the database it was read from: a
// report opened since then must not be answered from the old list.
struct CcSnapshot {
    std::optional<db::Recordset> rows;
    const db::Database* source = nullptr;
};

CcSnapshot& Snapshot() {
    static CcSnapshot s;
    return s;
}

// Makes the row of the cost centre current; false when the list has none.
bool SeekCostCentre(Currency number) {
    auto& s = Snapshot();
    db::Database& database = Db();
    if (!s.rows || !s.rows->IsOpen() || s.source != &database) {
        s.rows.reset();
        s.rows.emplace(database.OpenRecordset("SELECT * FROM CostCenters ORDER BY CCNum"));
        s.source = &database;
    }
    auto& rows = *s.rows;
    if (rows.RecordCount() == 0) return false;
    if (!rows.Eof() && !rows.Bof()) {
        Value here = rows.Field("CCNum");
        if (!here.IsNull() && here.ToCurrency() == number) return true;
    }
    return rows.FindFirst("CCNum", db::FindOp::Eq, Value(number));
}

}  // namespace

void Close_CC_Recordset() {
    auto& s = Snapshot();
    s.rows.reset();
    s.source = nullptr;
}

std::string Get_CC_Name(const Value& ccNum) {
    static const std::string invalid = "< Invalid CCNum >";
    if (!IsNumeric(ccNum)) return invalid;
    Currency number;
    try {
        double d = NumberOf(ccNum);
        number = Currency::FromDouble(d);
        // A number with more than four decimals matches no Currency key.
        if (std::fabs(number.ToDouble() - d) > 1e-9) return invalid;
    } catch (const std::exception&) {
        return invalid;
    }
    if (!SeekCostCentre(number)) return invalid;
    return Snapshot().rows->Field("CCName").ToText();
}

std::string Get_CC_Label(Currency ccNum, int part, int width) {
    if (!SeekCostCentre(ccNum)) return "<Bad CC #>";
    auto& rows = *Snapshot().rows;
    auto label = [&](int i) { return Trim(Nz_Str(rows.Field("ColLabel" + std::to_string(i))).ToText()); };
    std::string text;
    if (part == 0)
        text = label(1) + " " + label(2) + " " + label(3);
    else if (part >= 1 && part <= 3)
        text = label(part);
    else
        text = "????";
    if (width > 0) {
        int pad = std::max(width - static_cast<int>(CharCount(text)), 0) / 2;
        text.insert(0, static_cast<size_t>(pad), ' ');
    }
    return text;
}

// ---- Field checks ----

namespace {

const char* const kBadDate = "Invalid date. Please enter dates in the form mm/dd/yyyy";
const char* const kNotNumeric = "This field may only contain numeric values";

void Complain(const std::string& message, int buttons) {
    ui::Ui().Beep();
    Show_Message(message, buttons);
}

}  // namespace

bool Check_Date(std::string& text) {
    if (IsDate(Value(text))) return true;
    Complain(kBadDate, ui::kOkOnly);
    return false;
}

bool Format_Date_Field(std::string& text, bool showMessage) {
    if (auto d = ParseDate(text)) {
        text = Format(Value(*d), "mm/dd/yyyy");
        return true;
    }
    if (showMessage) Complain(kBadDate, ui::kOkOnly);
    return false;
}

bool Check_Amount(Value& value, int sign) {
    if (IsTextBlank(value)) {
        value = Value::Integer(0);
        return true;
    }
    // Typed text must be a decimal number in the form's own US format,
    // whatever the desktop's language: "1,234" is 1234 (never 1.234), while
    // "1,2" and "12abc" are no numbers. It goes on without its separators.
    if (value.IsString()) {
        const std::optional<std::string> plain = PlainAmountText(value.Str());
        if (!plain) {
            Complain(kNotNumeric, ui::kOkOnly);
            return false;
        }
        if (*plain != value.Str()) value = Value(*plain);
    } else if (!IsNumeric(value)) {
        Complain(kNotNumeric, ui::kOkOnly);
        return false;
    }
    // Past the limit a stored amount (or statistic) would lose its last
    // decimals, or stop the calculation later without naming the cell.
    std::optional<Currency> fits;
    try {
        fits = value.ToCurrency();
    } catch (const Overflow&) {
    }
    const auto pastLimit = [] {
        Complain(std::string("This field may only contain amounts from -") + db::kLargestAmountText + " to " +
                     db::kLargestAmountText,
                 ui::kOkOnly);
        return false;
    };
    if (!fits || !db::IsStorableAmount(*fits)) return pastLimit();
    const Currency amount = *fits;
    const Currency zero{};
    if (amount > zero && sign < 0) {
        Complain("This field must contain a negative amount. The value has been changed to negative", ui::kOkOnly);
        value = Value(-amount);
    } else if (amount < zero && sign > 0) {
        Complain("This field must contain a positive amount. The value has been changed to positive", ui::kOkOnly);
        value = Value(-amount);
    } else if (!amount.IsWhole()) {
        const Value rounded = Round_Value(Value(amount), 0);
        // The largest amounts would be rounded past the limit.
        if (!db::IsStorableAmount(rounded.ToCurrency())) return pastLimit();
        Complain("This field may only contain full dollar amounts. The value has been rounded", ui::kExclamation);
        value = rounded;
    }
    return true;
}

std::string TextRefusal(const std::string& text, std::size_t maxLength, const std::string& fieldName) {
    std::size_t characters = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32 || byte == 127)
            return "The " + fieldName + " may not contain control characters (such as tabs or line breaks).";
        if ((byte & 0xC0) != 0x80) ++characters;  // UTF-8: count the first byte of each character
    }
    if (characters > maxLength)
        return "The " + fieldName + " may hold at most " + std::to_string(maxLength) + " characters.";
    return "";
}

bool CheckText(const std::string& text, std::size_t maxLength, const std::string& fieldName) {
    const std::string refusal = TextRefusal(text, maxLength, fieldName);
    if (refusal.empty()) return true;
    Complain(refusal, ui::kOkOnly);
    return false;
}

std::string Get_Worksheet_Name(const std::string& code) {
    if (code.empty()) return "";
    std::string name = code.substr(0, 1);
    size_t i = 1;
    for (; i < code.size() && std::isdigit(static_cast<unsigned char>(code[i])); ++i) {
        name += '-';
        name += code[i];
    }
    std::string partSuffix, letterSuffix;
    while (i < code.size()) {
        char c = code[i];
        if (c == 'p') {
            partSuffix = "  Part-" + code.substr(i + 1, 1);
            i += 2;
        } else if (c == 'A' || c == 'B') {
            letterSuffix = std::string("  Part-") + c;
            ++i;
        } else {
            Show_Message("Unknown Worksheet name (" + code + "), please call QSI.", ui::kCritical);
            return "";
        }
    }
    return name + partSuffix + letterSuffix;
}

bool SavedOrTold(const std::string& what, const std::function<void()>& write) {
    try {
        write();
        return true;
    } catch (const db::DbError& e) {
        if (!db::IsEnvironmental(e.Code())) throw;
        ui::Ui().Beep();
        Show_Message(db::NotSavedMessage(what, e.Code()), ui::kCritical, "Error: Not Saved");
        return false;
    }
}

}  // namespace vt
