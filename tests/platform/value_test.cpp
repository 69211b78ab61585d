#include "platform/value/value.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <cstdint>
#include <ctime>
#include <limits>
#include <string>
#include <vector>

using namespace vt;

namespace {

// ---- Currency ----

TEST(ValueCurrency, FromDoubleLandsOnTheTypedDecimal) {
    struct Case { double in; std::int64_t scaled; };
    const std::vector<Case> cases = {
        {1.0200000000000102, 10200}, {0.1 * 3, 3000},  {1.005, 10050},   {2.675, 26750},
        {1.00005, 10001},            {-1.00005, -10001}, {0.00004, 0},    {-0.00005, -1},
        {1.02 - 100 + 100, 10200},   {0.99995, 10000},  {123456789012.3456, 1234567890123456},
        {-922337203685477.5, -9223372036854775000},
    };
    for (const auto& c : cases) EXPECT_EQ(Currency::FromDouble(c.in).scaled, c.scaled) << c.in;
}

TEST(ValueCurrency, FromDoubleRefusesWhatDoesNotFit) {
    for (double d : {1e15, -1e16, std::numeric_limits<double>::infinity(), std::nan("")})
        EXPECT_THROW(Currency::FromDouble(d), TypeMismatch) << d;
}

// The shortcut for doubles that already hold four decimals must land where the
// decimal digits land, for every double: amounts, their neighbours one bit
// away, and the edges of the range where the shortcut stops.
TEST(ValueCurrency, FromDoubleAgreesWithTheDecimalDigits) {
    const auto outcome = [](Currency (*from)(double), double d) -> std::string {
        try {
            return std::to_string(from(d).scaled);
        } catch (const Overflow&) {
            return "overflow";
        } catch (const TypeMismatch&) {
            return "mismatch";
        }
    };
    std::vector<double> values = {
        0.0, -0.0, 0.0001, -0.0001, 0.00005, -0.00005, 0.00015, 4.9406564584124654e-324, 1e-300,
        0.5, -0.5, 1.005, 2.675, 0.1 * 3, 1234.5678, -1234.5678, 33.333333, 1e10 - 0.0001, 1e10,
        1e10 + 0.0001, 99999999999.9999, -99999999999.9999, 137438953471.9999, 137438953472.0,
        137438953472.0001, 549755813887.9999, 9007199254740992.0, 922337203685477.5, -922337203685477.5,
        4503599627370495.5, 1e15, std::numeric_limits<double>::infinity(), std::nan(""),
    };
    // Amounts of every size, read back as doubles, with their neighbours.
    std::uint64_t seed = 12345;
    for (int i = 0; i < 20000; ++i) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        const int digits = 1 + i % 18;
        std::int64_t scaled = static_cast<std::int64_t>((seed >> 11) % static_cast<std::uint64_t>(std::pow(10.0, digits)));
        if (i % 2) scaled = -scaled;
        values.push_back(static_cast<double>(scaled) / Currency::kScale);
    }
    const size_t amounts = values.size();
    for (size_t i = 0; i < amounts; ++i) {
        values.push_back(std::nextafter(values[i], HUGE_VAL));
        values.push_back(std::nextafter(values[i], -HUGE_VAL));
    }
    for (const double d : values)
        ASSERT_EQ(outcome(Currency::FromDouble, d), outcome(Currency::FromDoubleByDigits, d)) << std::hexfloat << d;
}

TEST(ValueCurrency, SumsNeverWrapRound) {
    const Currency top{INT64_MAX}, bottom{INT64_MIN}, tick{1};
    EXPECT_THROW(top + tick, Overflow);
    EXPECT_THROW(bottom - tick, Overflow);
    EXPECT_THROW(-bottom, Overflow);
    EXPECT_THROW(Currency::FromInt(INT64_MAX / 1000), Overflow);
    EXPECT_THROW(bottom.Floor(), Overflow);
    Currency sum = Currency::FromInt(500'000'000'000'000);
    EXPECT_THROW(sum += sum, Overflow);
    EXPECT_EQ(sum, Currency::FromInt(500'000'000'000'000));  // left as it was
    EXPECT_EQ((top - tick + tick).scaled, INT64_MAX);
    EXPECT_THROW(Currency::FromDouble(1e16), Overflow);
}

TEST(ValueCurrency, TextAndFloor) {
    struct Case { std::int64_t scaled; const char* text; std::int64_t floor; };
    const std::vector<Case> cases = {
        {10200, "1.02", 10000}, {-30000, "-3", -30000}, {1, "0.0001", 0},  {1000000, "100", 1000000},
        {0, "0", 0},            {-1, "-0.0001", -10000}, {-25000, "-2.5", -30000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Currency{c.scaled}.ToText(), c.text);
        EXPECT_EQ(Currency{c.scaled}.Floor().scaled, c.floor) << c.text;
    }
    EXPECT_EQ(Currency{INT64_MIN}.ToText(), "-922337203685477.5808");
}

// ---- Numbers in text ----

TEST(ValueNumbers, IsNumeric) {
    struct Case { Value v; bool numeric; };
    const std::vector<Case> cases = {
        {Value(), true},          {Value::Null(), false},    {"", false},           {"   ", false},
        {"  12 ", true},          {"1,234.50", true},        {"$12", true},         {"-3", true},
        {"-$3.5", true},          {"1E-06", true},           {".5", true},          {"5.", true},
        {"abc", false},           {"12abc", false},          {"1E", false},         {",12", false},
        {"1.2.3", false},         {"--3", false},            {"1E999", false},      {"12/31/2005", false},
        {Value(*DateTime::FromParts(2005, 1, 1)), false},    {Value::Bool(true), true}, {Value(2.5), true},
    };
    for (const auto& c : cases) EXPECT_EQ(IsNumeric(c.v), c.numeric) << c.v.ToText();
}

TEST(ValueNumbers, ParseNumberValues) {
    EXPECT_EQ(*ParseNumber(" 1,234.50 "), 1234.5);
    EXPECT_EQ(*ParseNumber("$-12"), -12);
    EXPECT_EQ(*ParseNumber("-.5"), -0.5);
    EXPECT_EQ(*ParseNumber("1E-06"), 1e-6);
    EXPECT_EQ(*ParseNumber("+2.5e+3"), 2500);
}

TEST(ValueNumbers, SqlNumberOfDouble) {
    struct Case { double in; const char* text; };
    const std::vector<Case> cases = {
        {1e-6, "1E-06"},   {1.5e20, "1.5E+20"}, {0.0001, "0.0001"},  {123456789012345.0, "123456789012345"},
        {-2.5, "-2.5"},    {0, "0"},            {-0.0, "0"},         {0.1 * 3, "0.3"},
        {1e15, "1E+15"},   {2.0 / 3, "0.666666666666667"},           {-1.25e-5, "-1.25E-05"},
        {1e100, "1E+100"}, {1234.5, "1234.5"},  {100, "100"},        {999999999999999.9, "1E+15"},
    };
    for (const auto& c : cases) EXPECT_EQ(SqlNumber(c.in), c.text) << c.text;
    EXPECT_THROW(SqlNumber(std::numeric_limits<double>::infinity()), TypeMismatch);
}

TEST(ValueNumbers, SqlNumberOfValue) {
    EXPECT_EQ(SqlNumber(Value::Null()), "Null");
    EXPECT_EQ(SqlNumber(Value::Cur(1.02)), "1.02");
    EXPECT_EQ(SqlNumber(Value(7)), "7");
    EXPECT_EQ(SqlNumber(Value(" 1,234.5")), "1234.5");
    EXPECT_EQ(SqlNumber(Value()), "0");
    // User text never reaches a statement as it stands.
    EXPECT_THROW(SqlNumber(Value("1; DROP TABLE B")), TypeMismatch);
}

// ---- Dates ----

TEST(ValueDates, SerialsAndParts) {
    struct Case { int y, m, d, h, mi, s; double serial; };
    const std::vector<Case> cases = {
        {1899, 12, 30, 0, 0, 0, 0},         {1900, 1, 1, 0, 0, 0, 2},       {2005, 12, 31, 0, 0, 0, 38717},
        {2005, 12, 31, 12, 0, 0, 38717.5},  {1899, 12, 29, 6, 0, 0, -1.25}, {1899, 12, 30, 18, 0, 0, 0.75},
        {100, 1, 1, 0, 0, 0, -657434},      {9999, 12, 31, 0, 0, 0, 2958465}, {2000, 2, 29, 0, 0, 0, 36585},
        {1800, 3, 1, 12, 0, 0, -36463.5},
    };
    for (const auto& c : cases) {
        const DateTime dt = *DateTime::FromParts(c.y, c.m, c.d, c.h, c.mi, c.s);
        EXPECT_DOUBLE_EQ(dt.serial, c.serial) << c.y << "-" << c.m << "-" << c.d;
        const DateTime back{c.serial};
        EXPECT_EQ(std::tuple(back.Year(), back.Month(), back.Day(), back.Hour(), back.HasTime()),
                  std::tuple(c.y, c.m, c.d, c.h, c.h != 0));
        EXPECT_EQ(back.DateOnly().serial, std::trunc(c.serial));
    }
    EXPECT_EQ(DateTime::Smallest().serial, -657434);
}

TEST(ValueDates, PartsRoundTripThroughIsoEverywhere) {
    for (int y : {100, 101, 1600, 1899, 1900, 2004, 2100, 9999}) {
        for (int m = 1; m <= 12; ++m) {
            const auto dt = DateTime::FromParts(y, m, 28, 23, 59, 59);
            ASSERT_TRUE(dt);
            EXPECT_EQ(dt->Second(), 59);
            const auto back = DateTime::FromIso(dt->ToIso());
            ASSERT_TRUE(back) << dt->ToIso();
            EXPECT_EQ(back->ToIso(), dt->ToIso());
            EXPECT_EQ(back->Day(), 28);
        }
    }
    // 13:05 is a repeating binary fraction; it must not read as 13:04:59.
    EXPECT_EQ(DateTime::FromParts(2005, 12, 31, 13, 5)->ToIso(), "2005-12-31 13:05:00");
    EXPECT_EQ(DateTime::FromParts(2005, 12, 31)->ToIso(), "2005-12-31");
}

TEST(ValueDates, InvalidParts) {
    for (auto [y, m, d, h] : {std::array{2005, 2, 29, 0}, {1900, 2, 29, 0}, {99, 12, 31, 0}, {10000, 1, 1, 0},
                              {2005, 13, 1, 0}, {2005, 1, 1, 24}})
        EXPECT_FALSE(DateTime::FromParts(y, m, d, h)) << y << "-" << m << "-" << d << " " << h;
    for (const char* s : {"2005-12-31 25:00", "2005-12-32", "2005/12/31", "2005-12-31x", "05-12-31", ""})
        EXPECT_FALSE(DateTime::FromIso(s)) << s;
    EXPECT_TRUE(DateTime::FromIso("2005-12-31T13:05"));
}

TEST(ValueDates, ParseDateAcceptsUsForms) {
    struct Case { const char* text; const char* iso; };
    const std::vector<Case> cases = {
        {"12/31/2005", "2005-12-31"},           {"12/31/05", "2005-12-31"},
        {"1/2/2005", "2005-01-02"},             {"2005-12-31", "2005-12-31"},
        {"2005/12/31", "2005-12-31"},           {"Dec 31, 2005", "2005-12-31"},
        {"December 31, 2005", "2005-12-31"},    {"31-Dec-2005", "2005-12-31"},
        {"12-31-2005", "2005-12-31"},           {" dec 31 2005 ", "2005-12-31"},
        {"1/1/29", "2029-01-01"},               {"1/1/30", "1930-01-01"},
        {"1/1/00", "2000-01-01"},               {"2/29/2004", "2004-02-29"},
        {"12/31/2005 13:05", "2005-12-31 13:05:00"},
        {"12/31/2005 1:05 PM", "2005-12-31 13:05:00"},
        {"12/31/2005 1:05:30 pm", "2005-12-31 13:05:30"},
        {"12/31/2005 12:30 AM", "2005-12-31 00:30:00"},
        {"12/31/2005 12:30 PM", "2005-12-31 12:30:00"},
        {"2005-12-31 13:05:00", "2005-12-31 13:05:00"},
    };
    for (const auto& c : cases) {
        const auto d = ParseDate(c.text);
        ASSERT_TRUE(d) << c.text;
        EXPECT_EQ(d->ToIso(), c.iso) << c.text;
    }
}

TEST(ValueDates, ParseDateRefuses) {
    for (const char* s : {"2/30/2005", "", "13/1/2005", "12/31", "2005", "38717", "1.5", "abc", "12/31/2005 25:00",
                          "12/31/2005 13:05 PM", "12/31-2005", "Foo 31, 2005", "1/1/99999",
                          "12/31/2005 1:60"})
        EXPECT_FALSE(ParseDate(s)) << s;
    EXPECT_EQ(std::vector({IsDate(Value(38717)), IsDate(Value::Null()), IsDate(Value("Dec 31, 2005")),
                           IsDate(Value(*DateTime::FromParts(2005, 12, 31)))}),
              std::vector({false, false, true, true}));
}

TEST(ValueDates, NowIsLocalToday) {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    const DateTime now = DateTime::Now();
    EXPECT_EQ(std::tuple(now.Year(), now.Month(), now.Day()), std::tuple(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday));
}

// ---- Conversions ----

TEST(ValueConversion, ToLongRoundsHalvesToEven) {
    struct Case { Value v; std::int64_t out; };
    const std::vector<Case> cases = {
        {2.5, 2},          {3.5, 4},          {-2.5, -2},         {-3.5, -4},     {2.51, 3},
        {Value::Cur(2.5), 2}, {Value::Cur(3.5), 4}, {Value::Cur(-2.5), -2}, {Value::Cur(-2.5001), -3},
        {"1,234.5", 1234}, {Value(), 0},      {Value::Bool(true), -1},
        {Value(std::int64_t{5000000000}), 5000000000},
    };
    for (const auto& c : cases) EXPECT_EQ(c.v.ToLong(), c.out) << c.v.ToText();
}

TEST(ValueConversion, MismatchesThrow) {
    for (const auto& convert : std::initializer_list<std::function<void()>>{
             [] { (void)Value::Null().ToDouble(); }, [] { (void)Value("abc").ToDouble(); },
             [] { (void)Value("abc").ToCurrency(); }, [] { (void)Value("maybe").ToBool(); },
             [] { (void)Value("2/30/2005").ToDate(); }, [] { (void)Value(1e9).ToDate(); },
             [] { (void)Value(1).Str(); }, [] { (void)Value("x").AsDate(); }})
        EXPECT_THROW(convert(), TypeMismatch);
}

TEST(ValueConversion, NumbersAndBooleans) {
    EXPECT_EQ(Value(" $1,234.50 ").ToCurrency().scaled, 12345000);
    EXPECT_EQ(Value(0.1 * 3).ToCurrency().scaled, 3000);
    EXPECT_EQ(Value::Bool(true).ToDouble(), -1);
    EXPECT_EQ(Value().ToDouble(), 0);
    EXPECT_EQ(Value(std::int64_t{5000000000}).Type(), VType::Double);
    EXPECT_EQ(Value(std::int64_t{-7}).Type(), VType::Long);
    for (const auto& [v, b] : {std::pair{Value(" TRUE "), true}, {Value("false"), false}, {Value("-1"), true},
                               {Value(Currency{0}), false}, {Value(0.5), true}})
        EXPECT_EQ(v.ToBool(), b) << v.ToText();
    EXPECT_EQ(Value("12/31/2005").ToDate().serial, 38717);
    EXPECT_EQ(Value(38717.5).ToDate().Hour(), 12);
}

TEST(ValueConversion, ToText) {
    struct Case { Value v; const char* text; };
    const std::vector<Case> cases = {
        {Value::Null(), ""},       {Value(), ""},       {12, "12"},         {Value::Integer(-3), "-3"},
        {Value::Cur(1.02), "1.02"}, {1e-6, "1E-06"},    {2.5, "2.5"},       {Value::Bool(true), "True"},
        {Value::Bool(false), "False"}, {"as is ", "as is "},
        {*DateTime::FromParts(2005, 12, 31), "12/31/2005"},
        {*DateTime::FromParts(2005, 1, 2, 13, 5), "1/2/2005 1:05:00 PM"},
        {*DateTime::FromParts(2005, 1, 2, 0, 0, 1), "1/2/2005 12:00:01 AM"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.v.ToText(), c.text);
}

TEST(ValueConversion, Equality) {
    const DateTime d = *DateTime::FromParts(2005, 12, 31);
    struct Case { Value a, b; bool equal; };
    const Case cases[] = {
        {Value(3), Value::Cur(3), true},      {Value(3), Value(3.0), true},          {Value::Integer(3), Value(3), true},
        {Value::Cur(1.02), Value(1.02), true}, {Value::Null(), Value::Null(), true}, {Value(), Value(), true},
        {Value(d), Value(d), true},           {Value("abc"), Value("abc"), true},    {Value("abc"), Value("ABC"), false},
        {Value("3"), Value(3), false},        {Value(), Value::Null(), false},       {Value(), Value(0), false},
        {Value(d), Value(38717), false},      {Value::Bool(true), Value(-1), false},
        {Value::Cur(1.02), Value(1.0200000000000102), false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.a == c.b, c.equal) << c.a.ToText() << " vs " << c.b.ToText();
}

// ---- Printed formats ----

TEST(ValueFormat, Numbers) {
    struct Case { Value v; const char* fmt; const char* out; };
    const std::vector<Case> cases = {
        {1234.5, "#,##0", "1,235"},          {-1234.5, "#,##0", "-1,235"},     {0.4, "#,##0", "0"},
        {-0.4, "#,##0", "0"},                {999.5, "#,##0", "1,000"},        {1234567, "#,##0", "1,234,567"},
        {Value::Cur(-0.5), "#,##0", "-1"},  {"1234.5", "#,##0", "1,235"},     {2.675, "0.00", "2.68"},
        {1234.5, "#,##0.00", "1,234.50"},    {-1234.5, "#,##0.00", "-1,234.50"}, {1234.5, "0.00", "1234.50"},
        {-0.004, "0.00", "0.00"},            {0.25, "0.000000;(0.000000)", "0.250000"},
        {-0.25, "0.000000;(0.000000)", "(0.250000)"}, {-0.25, "0.000000", "-0.250000"},
        {1.5, "0", "2"},                     {Value(), "#,##0", ""},           {Value::Null(), "0.00", ""},
        {"n/a", "#,##0", "n/a"},             {Value::Cur(922337203685477.5), "#,##0", "922,337,203,685,478"},
        {1.5e20, "#,##0", "150,000,000,000,000,000,000"},
        {1234.5, "General", "1234.5"},
    };
    for (const auto& c : cases) EXPECT_EQ(Format(c.v, c.fmt), c.out) << c.fmt << " " << c.v.ToText();
}

TEST(ValueFormat, Dates) {
    const Value d = *DateTime::FromParts(2005, 1, 2, 13, 5);
    struct Case { Value v; const char* fmt; const char* out; };
    const std::vector<Case> cases = {
        {d, "mm/dd/yyyy", "01/02/2005"},         {d, "m/d/yyyy", "1/2/2005"},
        {d, "mmmm d, yyyy", "January 2, 2005"},  {d, "hh:mm AM/PM", "01:05 PM"},
        {*DateTime::FromParts(2005, 1, 2), "hh:mm AM/PM", "12:00 AM"},
        {*DateTime::FromParts(2005, 1, 2, 12, 30), "hh:mm AM/PM", "12:30 PM"},
        {"1/2/2005", "mm/dd/yyyy", "01/02/2005"}, {"Dec 31, 2005", "mmmm d, yyyy", "December 31, 2005"},
        {"not a date", "mm/dd/yyyy", "not a date"}, {38717, "mm/dd/yyyy", "12/31/2005"},
        {Value::Null(), "mm/dd/yyyy", ""},       {d, "dddd", "1/2/2005 1:05:00 PM"},
    };
    for (const auto& c : cases) EXPECT_EQ(Format(c.v, c.fmt), c.out) << c.fmt << " " << c.v.ToText();
}

}  // namespace
