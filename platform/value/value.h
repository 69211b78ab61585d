// The variant that the report code passes around: Null, Empty, whole numbers,
// exact money, doubles, text, dates and booleans, with the conversions and
// printed formats the worksheets rely on.
#pragma once

#include <cstdint>
#include <compare>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>

namespace vt {

// Raised when a value cannot be converted (text that is no number, Null where
// a number is needed, ...). The message reads "Type mismatch".
class TypeMismatch : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Raised when a number does not fit where it goes: money past the Currency
// range, a sum of amounts that would wrap round. The message reads "Overflow".
class Overflow : public TypeMismatch {
public:
    Overflow() : TypeMismatch("Overflow") {}
};

// Money: a 64-bit count of ten-thousandths. Never drifts.
struct Currency {
    std::int64_t scaled = 0;  // value * 10,000

    static constexpr std::int64_t kScale = 10000;
    static constexpr Currency FromScaled(std::int64_t s) { return Currency{s}; }
    static Currency FromInt(std::int64_t whole) {
        std::int64_t r;
        const bool over = __builtin_mul_overflow(whole, kScale, &r);
        return {Checked(over, r)};
    }
    // Rounds to the nearest ten-thousandth, halves away from zero. Throws
    // TypeMismatch when the double is not a number, Overflow when it is too large.
    static Currency FromDouble(double d);
    // The same rounding worked out on the double's decimal digits: what
    // FromDouble falls back on when the double holds more than four decimals.
    static Currency FromDoubleByDigits(double d);
    double ToDouble() const { return static_cast<double>(scaled) / kScale; }
    bool IsWhole() const { return scaled % kScale == 0; }
    // Floor to a whole amount (Int()).
    Currency Floor() const;
    // Plain decimal with a point and no trailing zeros: "1.02", "-3", "0.0001".
    std::string ToText() const;

    // Sums never wrap round: a result past the range raises Overflow.
    friend Currency operator+(Currency a, Currency b) {
        std::int64_t r;
        const bool over = __builtin_add_overflow(a.scaled, b.scaled, &r);
        return {Checked(over, r)};
    }
    friend Currency operator-(Currency a, Currency b) {
        std::int64_t r;
        const bool over = __builtin_sub_overflow(a.scaled, b.scaled, &r);
        return {Checked(over, r)};
    }
    friend Currency operator-(Currency a) { return Currency{} - a; }
    Currency& operator+=(Currency b) { return *this = *this + b; }
    Currency& operator-=(Currency b) { return *this = *this - b; }
    friend auto operator<=>(Currency, Currency) = default;

private:
    static std::int64_t Checked(bool overflowed, std::int64_t result) {
        if (overflowed) throw Overflow();
        return result;
    }
};

// A date and time as a serial day number: whole days since 30 December 1899,
// the fraction is the time of day. 1 January 100 is the smallest date.
struct DateTime {
    double serial = 0;

    // Returns nullopt when the parts do not make a real date (2/30/2005) or
    // the year is outside 100..9999.
    static std::optional<DateTime> FromParts(int year, int month, int day,
                                             int hour = 0, int minute = 0, int second = 0);
    static DateTime Now();
    static DateTime Smallest();  // 1 January 100
    int Year() const;
    int Month() const;
    int Day() const;
    int Hour() const;
    int Minute() const;
    int Second() const;
    bool HasTime() const;
    DateTime DateOnly() const;
    // "2005-12-31" or "2005-12-31 13:05:00" (the database form)
    std::string ToIso() const;
    static std::optional<DateTime> FromIso(const std::string& text);
    friend auto operator<=>(DateTime, DateTime) = default;
};

enum class VType { Empty, Null, Integer, Long, Currency, Double, String, Date, Boolean };

class Value {
public:
    Value() = default;  // Empty
    Value(int v) : v_(static_cast<std::int32_t>(v)), t_(VType::Long) {}
    Value(std::int64_t v);  // Long when it fits, else Double
    Value(double v) : v_(v), t_(VType::Double) {}
    Value(Currency c) : v_(c), t_(VType::Currency) {}
    Value(DateTime d) : v_(d), t_(VType::Date) {}
    Value(const char* s) : v_(std::string(s)), t_(VType::String) {}
    Value(std::string s) : v_(std::move(s)), t_(VType::String) {}
    Value(bool) = delete;  // say Value::Bool(x): a stray pointer must not become a Boolean

    static Value Null() { Value v; v.t_ = VType::Null; return v; }
    static Value Empty() { return Value(); }
    static Value Integer(std::int16_t v) { Value x; x.v_ = static_cast<std::int32_t>(v); x.t_ = VType::Integer; return x; }
    static Value Long(std::int32_t v) { Value x; x.v_ = v; x.t_ = VType::Long; return x; }
    static Value Bool(bool b) { Value x; x.v_ = static_cast<std::int32_t>(b ? -1 : 0); x.t_ = VType::Boolean; return x; }
    static Value Cur(double d) { return Value(Currency::FromDouble(d)); }

    VType Type() const { return t_; }
    bool IsNull() const { return t_ == VType::Null; }
    bool IsEmpty() const { return t_ == VType::Empty; }
    bool IsString() const { return t_ == VType::String; }
    bool IsDateType() const { return t_ == VType::Date; }
    // Integer, Long, Currency, Double or Boolean held as such (not text).
    bool IsNumberType() const;

    // Direct access to what is held; throw TypeMismatch for the wrong type.
    const std::string& Str() const;
    DateTime AsDate() const;

    // Conversions, one rule for every caller. Null throws TypeMismatch; Empty
    // counts as 0 / "" ; text is parsed (blanks around it, "1,234.5", "$12",
    // "-3", "1E-06" are numbers). Booleans are -1 / 0.
    double ToDouble() const;
    Currency ToCurrency() const;             // rounded to 4 decimals
    std::int64_t ToLong() const;             // rounded to the nearest, halves to even (CLng)
    bool ToBool() const;
    DateTime ToDate() const;                 // text by US rules; throws when it is no date
    // Text of the value: Null and Empty give "". Numbers as SqlNumber(),
    // dates "m/d/yyyy" (with " h:mm:ss AM" when there is a time), booleans
    // "True"/"False".
    std::string ToText() const;

    friend bool operator==(const Value& a, const Value& b);  // same type family and equal content
private:
    std::variant<std::monostate, std::int32_t, double, Currency, DateTime, std::string> v_{};
    VType t_ = VType::Empty;
};

// ---- What a value can be read as (IsNumeric, IsDate) ----
bool IsNumeric(const Value& v);  // Empty is numeric (0); Null and "" are not
bool IsDate(const Value& v);     // a Date, or text that is a date by US rules
// Parses a date text: "12/31/2005", "12/31/05", "2005-12-31", "Dec 31, 2005",
// "December 31, 2005", "31-Dec-2005", each with an optional time "13:05",
// "1:05 PM", "1:05:30 pm". Two-digit years: 00-29 -> 20xx, 30-99 -> 19xx.
std::optional<DateTime> ParseDate(const std::string& text);
std::optional<double> ParseNumber(const std::string& text);
// A number as a person types it into a cell, the same whatever the desktop's
// language: blanks around it, an optional sign, digits with at most one point
// ("12", "-12.50", "+.5"). Thousands separators, currency signs and exponents
// are not part of it, so "1,234" and "12abc" are no numbers here.
bool IsPlainNumber(const std::string& text);
// An amount as a clerk copies it from the printed form: a plain number, or
// one whose whole part is written with the form's US thousands separators,
// a group of one to three digits and then groups of three, each after a comma
// ("1,234", "-12,345,678.50"). Gives the number without its separators;
// nothing for any other text ("1,2", "12,34", "1,,234", "1.234,56").
std::optional<std::string> PlainAmountText(const std::string& text);

// ---- Text of numbers as SQL statements write them ----
std::string SqlNumber(Currency c);  // "1.02", "-3"
std::string SqlNumber(double d);    // up to 15 significant digits; "1E-06", "1.5E+20"
// The number in a Value as statements write it (Currency / Double / whole
// numbers); Null gives "Null". Text that is numeric is written as a number.
std::string SqlNumber(const Value& v);

// ---- Printed formats ----
// Format(value, fmt) for the formats the worksheets use:
//   "#,##0"          -> "1,235", "-1,235" (rounded half away from zero)
//   "#,##0.00"       -> "1,234.50", "-1,234.50"
//   "0.00", "0", "0.000000", "0.000000;(0.000000)" (negative section)
//   "mm/dd/yyyy", "mmmm d, yyyy", "hh:mm AM/PM", "m/d/yyyy"
// Null and Empty give "". Text that is numeric is formatted as a number; text
// that is not is returned as it stands.
std::string Format(const Value& v, const std::string& fmt);

}  // namespace vt
