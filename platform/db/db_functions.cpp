// The SQL functions the report statements use beyond SQLite's own (Int, CCur, Nz, ...).
#include <charconv>
#include <cmath>
#include <cstring>

#include "platform/db/db_internal.h"

namespace vt::db::detail {

namespace {

struct Num {
    enum Kind { Null, Int, Real, Bad } kind = Null;
    sqlite3_int64 i = 0;
    double d = 0;
    double AsDouble() const { return kind == Int ? static_cast<double>(i) : d; }
};

// Numeric text counts as its number, as Value converts it.
Num ReadNum(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL: return {};
    case SQLITE_INTEGER: return {Num::Int, sqlite3_value_int64(v), 0};
    case SQLITE_FLOAT: return {Num::Real, 0, sqlite3_value_double(v)};
    default: {
        const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
        if (auto d = ParseNumber(p ? p : "")) return {Num::Real, 0, *d};
        return {Num::Bad, 0, 0};
    }
    }
}

// The common shape of Int and Fix: Null stays Null, whole numbers stay whole.
template <double (*Round)(double)>
void Whole(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const Num n = ReadNum(argv[0]);
    switch (n.kind) {
    case Num::Null: sqlite3_result_null(ctx); break;
    case Num::Int: sqlite3_result_int64(ctx, n.i); break;
    case Num::Real: sqlite3_result_double(ctx, Round(n.d)); break;
    case Num::Bad: sqlite3_result_error(ctx, "Type mismatch", -1); break;
    }
}

double Floor(double d) { return std::floor(d); }
double Trunc(double d) { return std::trunc(d); }

void CCur(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const Num n = ReadNum(argv[0]);
    if (n.kind == Num::Null) return sqlite3_result_null(ctx);
    if (n.kind == Num::Bad) return sqlite3_result_error(ctx, "Type mismatch", -1);
    // The same rounding as the program's own Currency, so that SQL and C++
    // agree on every amount; an amount the report cannot keep stops the
    // statement, and the layer names it with the statement's table.
    const double d = n.AsDouble();
    try {
        const Currency c = Currency::FromDouble(d);
        if (IsStorableAmount(c)) return sqlite3_result_double(ctx, c.ToDouble());
    } catch (const TypeMismatch&) {
    }
    const std::string message = kOverflowMark + Format(Value(d), "#,##0.00");
    sqlite3_result_error(ctx, message.c_str(), static_cast<int>(message.size()));
}

void Sgn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const Num n = ReadNum(argv[0]);
    if (n.kind == Num::Null) return sqlite3_result_null(ctx);
    if (n.kind == Num::Bad) return sqlite3_result_error(ctx, "Type mismatch", -1);
    const double d = n.AsDouble();
    sqlite3_result_int(ctx, d > 0 ? 1 : (d < 0 ? -1 : 0));
}

void IIf(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const Num c = ReadNum(argv[0]);
    const bool truth = (c.kind == Num::Int || c.kind == Num::Real) && c.AsDouble() != 0;
    sqlite3_result_value(ctx, argv[truth ? 1 : 2]);
}

void IsNull(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_result_int(ctx, sqlite3_value_type(argv[0]) == SQLITE_NULL ? 1 : 0);
}

void Nz(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) != SQLITE_NULL) return sqlite3_result_value(ctx, argv[0]);
    if (argc > 1) return sqlite3_result_value(ctx, argv[1]);
    sqlite3_result_int(ctx, 0);
}

// The number at the start of a text; blanks anywhere are skipped ("1 000"
// is 1000), and a text without one is 0.
void Val(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const int type = sqlite3_value_type(argv[0]);
    if (type == SQLITE_NULL) return sqlite3_result_null(ctx);
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT)
        return sqlite3_result_double(ctx, sqlite3_value_double(argv[0]));
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    std::string t;
    for (; p && *p; ++p)
        if (*p != ' ' && *p != '\t' && *p != '\n' && *p != '\r') t += *p;
    size_t i = 0;
    std::string num;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) num += t[i++];
    bool digits = false;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) num += t[i++], digits = true;
    if (i < t.size() && t[i] == '.') {
        num += t[i++];
        while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) num += t[i++], digits = true;
    }
    if (digits && i < t.size() && std::strchr("eEdD", t[i])) {
        size_t j = i + 1;
        std::string exp = "e";
        if (j < t.size() && (t[j] == '+' || t[j] == '-')) exp += t[j++];
        if (j < t.size() && std::isdigit(static_cast<unsigned char>(t[j]))) {
            while (j < t.size() && std::isdigit(static_cast<unsigned char>(t[j]))) exp += t[j++];
            num += exp;
        }
    }
    double d = 0;
    if (digits) {
        const char* b = num.c_str();
        if (*b == '+') ++b;
        std::from_chars(b, num.c_str() + num.size(), d);
    }
    sqlite3_result_double(ctx, d);
}

void Len(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    const auto* p = sqlite3_value_text(argv[0]);
    sqlite3_int64 n = 0;
    for (; p && *p; ++p)
        if ((*p & 0xC0) != 0x80) ++n;  // count characters, not UTF-8 bytes
    sqlite3_result_int64(ctx, n);
}

}  // namespace

void RegisterFunctions(sqlite3* h) {
    struct Fn {
        const char* name;
        int args;
        void (*fn)(sqlite3_context*, int, sqlite3_value**);
    };
    static const Fn kFunctions[] = {
        {"Int", 1, Whole<Floor>}, {"Fix", 1, Whole<Trunc>}, {"CCur", 1, CCur},   {"IIf", 3, IIf},
        {"vt_IsNull", 1, IsNull}, {"Nz", 1, Nz},            {"Nz", 2, Nz},       {"Sgn", 1, Sgn},
        {"Val", 1, Val},          {"Len", 1, Len},
    };
    for (const auto& f : kFunctions) {
        const int rc = sqlite3_create_function_v2(h, f.name, f.args,
                                                  SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                                                  f.fn, nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) throw DbError(std::string("Cannot register SQL function ") + f.name, rc);
    }
}

}  // namespace vt::db::detail
