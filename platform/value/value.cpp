#include "platform/value/value.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

#include "platform/value/text.h"

namespace vt {
namespace {

[[noreturn]] void Mismatch() { throw TypeMismatch("Type mismatch"); }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
// What a typed number or date may carry around it.
constexpr std::string_view kBlanks = " \t";

// ---- Decimal digits of a number, for exact rounding and printing ----

// value = digits * 10^(point - digits.size()); digits has no leading or
// trailing zeros and is empty for zero.
struct Decimal {
    bool neg = false;
    std::string digits;
    int point = 0;
};

void Normalise(Decimal& d) {
    size_t lead = d.digits.find_first_not_of('0');
    if (lead == std::string::npos) {
        d.digits.clear();
        d.point = 0;
        return;
    }
    d.digits.erase(0, lead);
    d.point -= static_cast<int>(lead);
    d.digits.erase(d.digits.find_last_not_of('0') + 1);
}

// Scientific text of a double ("-1.25e+05") split into a Decimal.
Decimal FromScientific(const char* b, const char* e) {
    Decimal d;
    if (b < e && *b == '-') { d.neg = true; ++b; }
    const char* p = b;
    for (; p < e && *p != 'e'; ++p)
        if (IsDigit(*p)) d.digits += *p;
    int exp = 0;
    if (p < e) std::from_chars(p + 1 + (p[1] == '+'), e, exp);
    d.point = exp + 1;
    Normalise(d);
    return d;
}

// The decimal a double stands for. Below 1e10, fifteen significant digits
// reach well past the fourth decimal and drop the binary noise of sums
// (0.1*3 is 0.3). Above it, the shortest text that reads back as the same
// double keeps every decimal the user could have typed.
Decimal DecimalOf(double v) {
    char buf[64];
    auto r = std::fabs(v) < 1e10
                 ? std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14)
                 : std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
    return FromScientific(buf, r.ptr);
}

Decimal DecimalOf(Currency c) {
    Decimal d;
    d.neg = c.scaled < 0;
    std::uint64_t mag = d.neg ? 0 - static_cast<std::uint64_t>(c.scaled) : static_cast<std::uint64_t>(c.scaled);
    d.digits = std::to_string(mag);
    d.point = static_cast<int>(d.digits.size()) - 4;
    Normalise(d);
    return d;
}

// A Decimal rounded to `places` decimals, halves away from zero.
struct Fixed {
    bool neg = false;
    bool zero = true;
    std::string whole;  // at least "0"
    std::string frac;   // exactly `places` digits
};

Fixed RoundFixed(const Decimal& d, int places) {
    const int n = static_cast<int>(d.digits.size());
    const int keep = d.point + places;  // digits of d.digits left of the cut
    std::string kept;
    bool up = false;
    if (keep >= n) {
        kept = d.digits + std::string(static_cast<size_t>(keep - n), '0');
    } else if (keep >= 0) {
        kept = d.digits.substr(0, static_cast<size_t>(keep));
        up = d.digits[static_cast<size_t>(keep)] >= '5';
    }
    if (up) {
        int i = static_cast<int>(kept.size()) - 1;
        for (; i >= 0 && kept[static_cast<size_t>(i)] == '9'; --i) kept[static_cast<size_t>(i)] = '0';
        if (i < 0) kept.insert(kept.begin(), '1');
        else ++kept[static_cast<size_t>(i)];
    }
    if (kept.size() < static_cast<size_t>(places) + 1)
        kept.insert(0, static_cast<size_t>(places) + 1 - kept.size(), '0');
    Fixed f;
    f.whole = kept.substr(0, kept.size() - static_cast<size_t>(places));
    f.frac = kept.substr(kept.size() - static_cast<size_t>(places));
    f.whole.erase(0, std::min(f.whole.find_first_not_of('0'), f.whole.size() - 1));
    f.zero = kept.find_first_not_of('0') == std::string::npos;
    f.neg = d.neg && !f.zero;
    return f;
}

std::string Group(const std::string& whole) {
    std::string out;
    for (size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0) out += ',';
        out += whole[i];
    }
    return out;
}

// ---- Calendar ----

constexpr std::int64_t kUnixEpochSerial = 25569;  // 1970-01-01
constexpr std::array<const char*, 12> kMonths = {"January", "February", "March",     "April",   "May",      "June",
                                                 "July",    "August",   "September", "October", "November", "December"};

std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + kUnixEpochSerial;
}

struct Civil { int y, m, d; };

Civil CivilFromDays(std::int64_t serialDay) {
    std::int64_t z = serialDay - kUnixEpochSerial + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {static_cast<int>(yoe + era * 400 + (m <= 2)), m, d};
}

int DaysInMonth(int y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : kDays[m - 1];
}

// Day number and second of the day. Before 30 Dec 1899 the serial is
// negative but its fraction still counts forward from midnight (-1.25 is
// 29 Dec 1899 06:00). Seconds are rounded, so 13:05 computed as 13:04:59.9999
// reads as 13:05:00; a rounding up to midnight moves to the next day.
struct Split { std::int64_t day; int secs; };

Split SplitSerial(double serial) {
    const double whole = std::trunc(serial);
    Split s{static_cast<std::int64_t>(whole), static_cast<int>(std::llround(std::fabs(serial - whole) * 86400.0))};
    if (s.secs >= 86400) { s.secs -= 86400; ++s.day; }
    return s;
}

constexpr double kSmallestSerial = -657434;  // 1 January 100
constexpr double kLargestSerial = 2958466;   // 1 January 10000, exclusive

std::string TwoDigits(int v) { return v < 10 ? "0" + std::to_string(v) : std::to_string(v); }

std::string Clock12(int h, int m, bool padHour) {
    const int h12 = h % 12 == 0 ? 12 : h % 12;
    return (padHour ? TwoDigits(h12) : std::to_string(h12)) + ":" + TwoDigits(m);
}

std::string UsDate(DateTime dt) {
    return std::to_string(dt.Month()) + "/" + std::to_string(dt.Day()) + "/" + std::to_string(dt.Year());
}

// ---- Date text ----

struct Tok {
    char kind;  // 'n' digits, 'w' letters, or the separator itself
    std::string text;
};

std::optional<std::vector<Tok>> Tokenize(const std::string& s) {
    std::vector<Tok> out;
    for (size_t i = 0; i < s.size();) {
        const char c = s[i];
        if (IsBlank(c)) { ++i; continue; }
        const bool digit = IsDigit(c), alpha = IsAlpha(c);
        if (!digit && !alpha) {
            if (c != '/' && c != '-' && c != ',' && c != ':') return std::nullopt;
            out.push_back({c, std::string(1, c)});
            ++i;
            continue;
        }
        size_t j = i;
        while (j < s.size() && (digit ? IsDigit(s[j]) : IsAlpha(s[j]))) ++j;
        out.push_back({digit ? 'n' : 'w', s.substr(i, j - i)});
        i = j;
    }
    return out;
}

int Num(const Tok& t) {
    if (t.kind != 'n' || t.text.size() > 4) return -1;
    return std::stoi(t.text);
}

int MonthByName(const Tok& t) {
    if (t.kind != 'w' || t.text.size() < 3) return 0;
    const std::string w = Lower(t.text);
    for (int i = 0; i < 12; ++i) {
        const std::string name = Lower(kMonths[static_cast<size_t>(i)]);
        if (w == name || w == name.substr(0, 3)) return i + 1;
    }
    return 0;
}

// Day or month: one or two digits.
int Small(const Tok& t) { return t.kind == 'n' && t.text.size() <= 2 ? Num(t) : -1; }

int FullYear(const Tok& t) {
    const int y = Num(t);
    if (y < 0) return -1;
    if (t.text.size() <= 2) return y < 30 ? 2000 + y : 1900 + y;
    return y;
}

struct Ymd { int y = -1, m = -1, d = -1; };

Ymd ParseDatePart(const std::vector<Tok>& t) {
    Ymd r;
    const size_t n = t.size();
    if (n == 5 && t[1].kind == t[3].kind && (t[1].kind == '/' || t[1].kind == '-') && t[0].kind == 'n') {
        if (t[0].text.size() >= 3) {  // 2005-12-31, 2005/12/31
            r = {Num(t[0]), Small(t[2]), Small(t[4])};
        } else if (const int m = MonthByName(t[2]); m > 0) {  // 31-Dec-2005
            r = {FullYear(t[4]), m, Small(t[0])};
        } else {  // 12/31/2005, 12-31-05
            r = {FullYear(t[4]), Small(t[0]), Small(t[2])};
        }
    } else if ((n == 3 || (n == 4 && t[2].kind == ',')) && MonthByName(t[0]) > 0) {  // Dec 31, 2005
        r = {FullYear(t[n - 1]), MonthByName(t[0]), Small(t[1])};
    } else if (n == 3 && MonthByName(t[1]) > 0) {  // 31 Dec 2005
        r = {FullYear(t[2]), MonthByName(t[1]), Small(t[0])};
    }
    return r;
}

// "13:05", "1:05 PM", "1:05:30 pm": seconds of the day, or -1.
int ParseTimePart(const std::vector<Tok>& t) {
    size_t n = t.size();
    int half = -1;  // 0 AM, 1 PM
    if (n > 0 && t[n - 1].kind == 'w') {
        const std::string w = Lower(t[n - 1].text);
        if (w != "am" && w != "pm") return -1;
        half = w == "pm";
        --n;
    }
    if ((n != 3 && n != 5) || t[1].kind != ':' || (n == 5 && t[3].kind != ':')) return -1;
    int h = Small(t[0]);
    const int mi = Small(t[2]), s = n == 5 ? Small(t[4]) : 0;
    if (h < 0 || mi < 0 || mi > 59 || s < 0 || s > 59) return -1;
    if (half >= 0) {
        if (h < 1 || h > 12) return -1;
        h = h % 12 + 12 * half;
    }
    if (h > 23) return -1;
    return h * 3600 + mi * 60 + s;
}

bool IsDateFormat(const std::string& f) {
    return f == "mm/dd/yyyy" || f == "m/d/yyyy" || f == "mmmm d, yyyy" || f == "hh:mm AM/PM";
}

// Decimals of a number format, or -1 when it is none of ours.
int NumberFormatPlaces(const std::string& f, bool& grouped, bool& parens) {
    grouped = f.rfind("#,##", 0) == 0;
    parens = f == "0.000000;(0.000000)";
    if (f == "#,##0" || f == "0") return 0;
    if (f == "#,##0.00" || f == "0.00") return 2;
    if (f == "0.000000" || parens) return 6;
    return -1;
}

}  // namespace

// ---- Currency ----

Currency Currency::FromDouble(double d) {
    // A double read back from an amount already holds four decimals: the
    // count whose quotient by 10,000 gives back the very same double is the
    // one the decimal digits would give. Below 2^37 the doubles lie closer
    // together than ten-thousandths, so no other count can round to it.
    if (std::fabs(d) < 137438953472.0) {
        const double scaled = d * kScale;
        const long long r = std::llround(scaled);
        if (static_cast<double>(r) / kScale == d) return Currency{r};
    }
    return FromDoubleByDigits(d);
}

Currency Currency::FromDoubleByDigits(double d) {
    if (std::isnan(d)) Mismatch();
    if (std::fabs(d) >= 922337203685477.6) throw Overflow();
    const Fixed f = RoundFixed(DecimalOf(d), 4);
    const std::string digits = f.whole + f.frac;
    std::uint64_t mag = 0;
    auto r = std::from_chars(digits.data(), digits.data() + digits.size(), mag);
    if (r.ec != std::errc() || mag > static_cast<std::uint64_t>(INT64_MAX)) throw Overflow();
    const auto s = static_cast<std::int64_t>(mag);
    return Currency{f.neg ? -s : s};
}

Currency Currency::Floor() const {
    std::int64_t q = scaled / kScale;
    if (scaled % kScale < 0) --q;
    return FromInt(q);
}

std::string Currency::ToText() const {
    const Decimal d = DecimalOf(*this);
    if (d.digits.empty()) return "0";
    const Fixed f = RoundFixed(d, 4);
    std::string frac = f.frac;
    frac.erase(frac.find_last_not_of('0') + 1);
    return (f.neg ? "-" : "") + f.whole + (frac.empty() ? "" : "." + frac);
}

// ---- DateTime ----

std::optional<DateTime> DateTime::FromParts(int year, int month, int day, int hour, int minute, int second) {
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
        hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return std::nullopt;
    const auto days = static_cast<double>(DaysFromCivil(year, month, day));
    const double frac = (hour * 3600 + minute * 60 + second) / 86400.0;
    return DateTime{days < 0 ? days - frac : days + frac};
}

DateTime DateTime::Now() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return *FromParts(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, std::min(tm.tm_sec, 59));
}

DateTime DateTime::Smallest() { return DateTime{kSmallestSerial}; }

int DateTime::Year() const { return CivilFromDays(SplitSerial(serial).day).y; }
int DateTime::Month() const { return CivilFromDays(SplitSerial(serial).day).m; }
int DateTime::Day() const { return CivilFromDays(SplitSerial(serial).day).d; }
int DateTime::Hour() const { return SplitSerial(serial).secs / 3600; }
int DateTime::Minute() const { return SplitSerial(serial).secs / 60 % 60; }
int DateTime::Second() const { return SplitSerial(serial).secs % 60; }
bool DateTime::HasTime() const { return SplitSerial(serial).secs != 0; }
DateTime DateTime::DateOnly() const { return DateTime{static_cast<double>(SplitSerial(serial).day)}; }

std::string DateTime::ToIso() const {
    char buf[32];
    const Split s = SplitSerial(serial);
    const Civil c = CivilFromDays(s.day);
    int n = std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", c.y, c.m, c.d);
    if (s.secs != 0)
        std::snprintf(buf + n, sizeof buf - static_cast<size_t>(n), " %02d:%02d:%02d", s.secs / 3600, s.secs / 60 % 60,
                      s.secs % 60);
    return buf;
}

std::optional<DateTime> DateTime::FromIso(const std::string& text) {
    // yyyy-mm-dd, then optionally " hh:mm" or " hh:mm:ss" (or "T" for the blank)
    auto digits = [&](size_t at, size_t len) -> int {
        if (at + len > text.size()) return -1;
        int v = 0;
        for (size_t i = at; i < at + len; ++i) {
            if (!IsDigit(text[i])) return -1;
            v = v * 10 + (text[i] - '0');
        }
        return v;
    };
    const size_t n = text.size();
    if (n < 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    int h = 0, mi = 0, s = 0;
    if (n > 10) {
        if ((n != 16 && n != 19) || (text[10] != ' ' && text[10] != 'T') || text[13] != ':') return std::nullopt;
        if (n == 19 && text[16] != ':') return std::nullopt;
        h = digits(11, 2);
        mi = digits(14, 2);
        s = n == 19 ? digits(17, 2) : 0;
    }
    return FromParts(digits(0, 4), digits(5, 2), digits(8, 2), h, mi, s);
}

// ---- Value ----

Value::Value(std::int64_t v) {
    if (v >= INT32_MIN && v <= INT32_MAX) {
        v_ = static_cast<std::int32_t>(v);
        t_ = VType::Long;
    } else {
        v_ = static_cast<double>(v);
        t_ = VType::Double;
    }
}

bool Value::IsNumberType() const {
    return t_ == VType::Integer || t_ == VType::Long || t_ == VType::Currency || t_ == VType::Double ||
           t_ == VType::Boolean;
}

const std::string& Value::Str() const {
    if (t_ != VType::String) Mismatch();
    return std::get<std::string>(v_);
}

DateTime Value::AsDate() const {
    if (t_ != VType::Date) Mismatch();
    return std::get<DateTime>(v_);
}

double Value::ToDouble() const {
    switch (t_) {
    case VType::Empty: return 0;
    case VType::Integer:
    case VType::Long:
    case VType::Boolean: return std::get<std::int32_t>(v_);
    case VType::Currency: return std::get<Currency>(v_).ToDouble();
    case VType::Double: return std::get<double>(v_);
    case VType::Date: return std::get<DateTime>(v_).serial;
    case VType::String:
        if (auto d = ParseNumber(std::get<std::string>(v_))) return *d;
        break;
    case VType::Null: break;
    }
    Mismatch();
}

Currency Value::ToCurrency() const {
    switch (t_) {
    case VType::Currency: return std::get<Currency>(v_);
    case VType::Integer:
    case VType::Long:
    case VType::Boolean: return Currency::FromInt(std::get<std::int32_t>(v_));
    default: return Currency::FromDouble(ToDouble());
    }
}

std::int64_t Value::ToLong() const {
    switch (t_) {
    case VType::Integer:
    case VType::Long:
    case VType::Boolean: return std::get<std::int32_t>(v_);
    case VType::Currency: {
        const std::int64_t s = std::get<Currency>(v_).scaled;
        std::int64_t q = s / Currency::kScale;
        const std::int64_t r = s % Currency::kScale, ar = r < 0 ? -r : r;
        if (ar > Currency::kScale / 2 || (ar == Currency::kScale / 2 && q % 2 != 0)) q += r < 0 ? -1 : 1;
        return q;
    }
    default: {
        const double r = std::nearbyint(ToDouble());  // the default rounding mode sends halves to even
        if (!(std::fabs(r) < 9.2e18)) Mismatch();
        return static_cast<std::int64_t>(r);
    }
    }
}

bool Value::ToBool() const {
    if (t_ == VType::String) {
        const std::string s = Lower(Trim(std::get<std::string>(v_), kBlanks));
        if (s == "true") return true;
        if (s == "false") return false;
    }
    if (t_ == VType::Currency) return std::get<Currency>(v_).scaled != 0;
    return ToDouble() != 0;
}

DateTime Value::ToDate() const {
    if (t_ == VType::Date) return std::get<DateTime>(v_);
    if (t_ == VType::String) {
        if (auto d = ParseDate(std::get<std::string>(v_))) return *d;
        Mismatch();
    }
    const double serial = ToDouble();
    if (!(serial >= kSmallestSerial && serial < kLargestSerial)) Mismatch();
    return DateTime{serial};
}

std::string Value::ToText() const {
    switch (t_) {
    case VType::Empty:
    case VType::Null: return "";
    case VType::Integer:
    case VType::Long: return std::to_string(std::get<std::int32_t>(v_));
    case VType::Boolean: return std::get<std::int32_t>(v_) != 0 ? "True" : "False";
    case VType::Currency: return std::get<Currency>(v_).ToText();
    case VType::Double: return SqlNumber(std::get<double>(v_));
    case VType::String: return std::get<std::string>(v_);
    case VType::Date: {
        const DateTime d = std::get<DateTime>(v_);
        if (!d.HasTime()) return UsDate(d);
        const int secs = SplitSerial(d.serial).secs;
        return UsDate(d) + " " + Clock12(secs / 3600, secs / 60 % 60, false) + ":" + TwoDigits(secs % 60) +
               (secs >= 12 * 3600 ? " PM" : " AM");
    }
    }
    return "";
}

// Booleans are equal only to booleans: a stray -1 where True belongs is a
// fault worth seeing in a test.
bool operator==(const Value& a, const Value& b) {
    auto numeric = [](VType t) {
        return t == VType::Integer || t == VType::Long || t == VType::Currency || t == VType::Double;
    };
    if (numeric(a.t_) && numeric(b.t_)) {
        if (a.t_ == VType::Currency && b.t_ == VType::Currency)
            return std::get<Currency>(a.v_) == std::get<Currency>(b.v_);
        if (a.t_ != VType::Double && b.t_ != VType::Double)  // whole numbers and money: exact
            return a.ToCurrency() == b.ToCurrency();
        return a.ToDouble() == b.ToDouble();
    }
    if (a.t_ != b.t_) return false;
    switch (a.t_) {
    case VType::Empty:
    case VType::Null: return true;
    case VType::Boolean: return std::get<std::int32_t>(a.v_) == std::get<std::int32_t>(b.v_);
    case VType::String: return std::get<std::string>(a.v_) == std::get<std::string>(b.v_);
    case VType::Date: return std::get<DateTime>(a.v_).serial == std::get<DateTime>(b.v_).serial;
    default: return false;
    }
}

// ---- IsNumeric, IsDate ----

std::optional<double> ParseNumber(const std::string& text) {
    const std::string s = Trim(text, kBlanks);
    size_t i = 0;
    bool sign = false, dollar = false, neg = false;
    for (; i < s.size(); ++i) {
        if ((s[i] == '-' || s[i] == '+') && !sign) {
            sign = true;
            neg = s[i] == '-';
        } else if (s[i] == '$' && !dollar) {
            dollar = true;
        } else {
            break;
        }
    }
    std::string clean = neg ? "-" : "";
    size_t digits = 0;
    for (; i < s.size() && (IsDigit(s[i]) || (s[i] == ',' && digits > 0)); ++i)
        if (s[i] != ',') { clean += s[i]; ++digits; }
    if (i < s.size() && s[i] == '.') {
        clean += digits == 0 ? "0." : ".";
        for (++i; i < s.size() && IsDigit(s[i]); ++i) { clean += s[i]; ++digits; }
    }
    if (digits == 0) return std::nullopt;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        clean += 'e';
        ++i;
        if (i < s.size() && (s[i] == '-' || s[i] == '+')) clean += s[i++];
        if (i == s.size() || !IsDigit(s[i])) return std::nullopt;
        while (i < s.size() && IsDigit(s[i])) clean += s[i++];
    }
    if (i != s.size()) return std::nullopt;
    double v = 0;
    auto r = std::from_chars(clean.data(), clean.data() + clean.size(), v);
    if (r.ec != std::errc() || r.ptr != clean.data() + clean.size()) return std::nullopt;
    return v;
}

bool IsPlainNumber(const std::string& text) {
    const std::string s = Trim(text, kBlanks);
    size_t i = 0;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
    size_t digits = 0;
    bool point = false;
    for (; i < s.size(); ++i) {
        if (IsDigit(s[i])) ++digits;
        else if (s[i] == '.' && !point) point = true;
        else return false;
    }
    return digits > 0;
}

std::optional<std::string> PlainAmountText(const std::string& text) {
    if (IsPlainNumber(text)) return text;
    const std::string s = Trim(text, kBlanks);
    const size_t sign = !s.empty() && (s[0] == '-' || s[0] == '+') ? 1 : 0;
    const size_t end = std::min(s.find('.'), s.size());
    std::string plain = s.substr(0, sign);
    size_t group = 0;  // digits in the group being read
    for (size_t i = sign; i < end; ++i) {
        if (IsDigit(s[i])) {
            plain += s[i];
            ++group;
        } else if (s[i] != ',' || group == 0 || group > 3 || (plain.size() > sign + group && group != 3)) {
            return std::nullopt;
        } else if (plain.size() == sign + group && plain[sign] == '0') {
            // A grouped amount never begins with 0: "0,750" is a decimal
            // comma, which read as a separator would store it 1000 times over.
            return std::nullopt;
        } else {
            group = 0;
        }
    }
    if (group != 3) return std::nullopt;
    plain += s.substr(end);
    if (!IsPlainNumber(plain)) return std::nullopt;
    return plain;
}

bool IsNumeric(const Value& v) {
    switch (v.Type()) {
    case VType::Empty: return true;
    case VType::Null:
    case VType::Date: return false;
    case VType::String: return ParseNumber(v.Str()).has_value();
    default: return true;
    }
}

std::optional<DateTime> ParseDate(const std::string& text) {
    auto toks = Tokenize(text);
    if (!toks) return std::nullopt;
    std::vector<Tok> date = std::move(*toks), time;
    for (size_t i = 0; i + 1 < date.size(); ++i) {
        if (date[i].kind == 'n' && date[i + 1].kind == ':') {
            time.assign(date.begin() + static_cast<std::ptrdiff_t>(i), date.end());
            date.resize(i);
            break;
        }
    }
    const Ymd d = ParseDatePart(date);
    const int secs = time.empty() ? 0 : ParseTimePart(time);
    if (secs < 0) return std::nullopt;
    return DateTime::FromParts(d.y, d.m, d.d, secs / 3600, secs / 60 % 60, secs % 60);
}

bool IsDate(const Value& v) {
    if (v.IsDateType()) return true;
    return v.IsString() && ParseDate(v.Str()).has_value();
}

// ---- Numbers in SQL text ----

std::string SqlNumber(Currency c) { return c.ToText(); }

std::string SqlNumber(double d) {
    if (!std::isfinite(d)) throw TypeMismatch("Overflow");
    if (d == 0) return "0";
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::scientific, 14);
    const Decimal dec = FromScientific(buf, r.ptr);
    const int exp = dec.point - 1;
    std::string out = dec.neg ? "-" : "";
    if (exp < -4 || exp >= 15) {
        out += dec.digits.substr(0, 1);
        if (dec.digits.size() > 1) out += "." + dec.digits.substr(1);
        const int a = exp < 0 ? -exp : exp;
        return out + (exp < 0 ? "E-" : "E+") + TwoDigits(a);
    }
    const auto n = static_cast<int>(dec.digits.size());
    if (dec.point <= 0) return out + "0." + std::string(static_cast<size_t>(-dec.point), '0') + dec.digits;
    if (dec.point >= n) return out + dec.digits + std::string(static_cast<size_t>(dec.point - n), '0');
    return out + dec.digits.substr(0, static_cast<size_t>(dec.point)) + "." +
           dec.digits.substr(static_cast<size_t>(dec.point));
}

std::string SqlNumber(const Value& v) {
    switch (v.Type()) {
    case VType::Null: return "Null";
    case VType::Date: Mismatch();  // dates go into statements as bound ISO text
    case VType::Currency: return v.ToCurrency().ToText();
    case VType::Double:
    case VType::String: return SqlNumber(v.ToDouble());
    default: return std::to_string(v.ToLong());
    }
}

// ---- Printed formats ----

std::string Format(const Value& v, const std::string& fmt) {
    if (v.IsNull() || v.IsEmpty()) return "";
    bool grouped = false, parens = false;
    if (const int places = NumberFormatPlaces(fmt, grouped, parens); places >= 0) {
        Decimal dec;
        if (v.Type() == VType::Currency) {
            dec = DecimalOf(v.ToCurrency());
        } else if (v.IsString()) {
            auto d = ParseNumber(v.Str());
            if (!d) return v.Str();
            dec = DecimalOf(*d);
        } else {
            dec = DecimalOf(v.ToDouble());
        }
        const Fixed f = RoundFixed(dec, places);
        std::string body = (grouped ? Group(f.whole) : f.whole) + (places > 0 ? "." + f.frac : "");
        if (!f.neg) return body;
        return parens ? "(" + body + ")" : "-" + body;
    }
    if (IsDateFormat(fmt)) {
        DateTime d;
        if (v.IsString()) {
            auto p = ParseDate(v.Str());
            if (!p) return v.Str();
            d = *p;
        } else {
            try {
                d = v.ToDate();
            } catch (const TypeMismatch&) {
                return v.ToText();
            }
        }
        if (fmt == "mm/dd/yyyy") return TwoDigits(d.Month()) + "/" + TwoDigits(d.Day()) + "/" + std::to_string(d.Year());
        if (fmt == "m/d/yyyy") return UsDate(d);
        if (fmt == "mmmm d, yyyy")
            return std::string(kMonths[static_cast<size_t>(d.Month() - 1)]) + " " + std::to_string(d.Day()) + ", " +
                   std::to_string(d.Year());
        return Clock12(d.Hour(), d.Minute(), true) + (d.Hour() >= 12 ? " PM" : " AM");
    }
    return v.ToText();
}

}  // namespace vt
