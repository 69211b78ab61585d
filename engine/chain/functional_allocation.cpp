#include "engine/chain/functional_allocation.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

#include "engine/chain/component_rows.h"
#include "engine/chain/component_sheet.h"
#include "platform/ui/ui.h"
#include "store/report.h"
#include "store/services.h"

namespace vt {

namespace {

Currency NzCur(const Value& v) { return Nz_Num(v).ToCurrency(); }

// Which component takes the rounding difference: the one with the allocation
// of the largest magnitude, the largest value when a negative one is as large,
// and of equal values the first in the sheet.
Currency TargetValue(Currency largest, Currency smallest) {
    const Currency magnitude = smallest < Currency{} ? -smallest : smallest;
    return magnitude > largest ? smallest : largest;
}

struct SheetRow {
    Currency seq;
    std::vector<Value> values;
};

// SeqNum, then the fields, of every row but those without a SeqNum.
std::vector<SheetRow> ReadRows(const std::string& table, const std::vector<std::string>& fields) {
    std::string list;
    for (const auto& f : fields) list += ", " + f;
    auto rs = Db().OpenRecordset("SELECT SeqNum" + list + " FROM " + table + " ORDER BY SeqNum;");
    std::vector<SheetRow> rows;
    rows.reserve(static_cast<size_t>(rs.RecordCount()));
    for (; !rs.Eof(); rs.MoveNext()) {
        const Value seq = rs.Field(0);
        if (seq.IsNull()) continue;
        SheetRow r{seq.ToCurrency(), {}};
        r.values.reserve(fields.size());
        for (size_t k = 0; k < fields.size(); ++k) r.values.push_back(rs.Field(static_cast<int>(k) + 1));
        rows.push_back(std::move(r));
    }
    return rows;
}

// The fields of one row (Null where the sheet has no such row).
std::vector<Value> RowOf(const std::string& table, const std::vector<std::string>& fields, int seq) {
    std::string list;
    for (const auto& f : fields) list += (list.empty() ? "" : ", ") + f;
    std::vector<Value> values(fields.size(), Value::Null());
    if (fields.empty()) return values;
    auto rs = Db().OpenRecordset("SELECT " + list + " FROM " + table + " WHERE SeqNum = ?;",
                                 {Value(Currency::FromInt(seq))});
    if (!rs.Eof())
        for (size_t k = 0; k < fields.size(); ++k) values[k] = rs.Field(static_cast<int>(k));
    return values;
}

// "UPDATE table SET <each field> = ? WHERE SeqNum = ?;", one text for every row.
std::string RowWrite(const std::string& table, const std::vector<std::string>& fields) {
    std::string set;
    for (const auto& f : fields) set += (set.empty() ? "" : ", ") + f + " = ?";
    return "UPDATE " + table + " SET " + set + " WHERE SeqNum = ?;";
}

void WriteRow(const std::string& sql, Currency seq, std::vector<Value> values) {
    values.emplace_back(seq);
    Db().Execute(sql, values);
}

// A component's share: Int(x + 0.5) rounds halves up, 2.5 gives 3 and -2.5
// gives -2; a share past what the sheet can keep is refused as CCur refuses
// it in a statement. SQL makes a product that is no number Null.
std::optional<Currency> Share(double statistic, double ucm, const std::string& table) {
    const double product = statistic * ucm;
    const double whole = std::floor(product + 0.5);
    if (std::isnan(product) || std::isnan(whole)) return std::nullopt;
    try {
        const Currency c = Currency::FromDouble(whole);
        if (db::IsStorableAmount(c)) return c;
    } catch (const TypeMismatch&) {
    }
    throw db::AmountOverflow(Format(Value(whole), "#,##0.00"), table);
}

// Sums of the bands of rows 18, 28 and 33 of column k, as SQL's SUM gives
// them: Null for a band without a value, and a sum past the Currency range
// as a number that no amount can hold, so that its band is named for it.
template <class Rows>
BandSums BandSumsOf(const Rows& rows, size_t k) {
    std::optional<Currency> sums[3];
    bool past[3] = {false, false, false};
    for (const auto& r : rows) {
        if (!r.cur[k]) continue;
        for (size_t b = 0; b < 3; ++b) {
            if (r.seq > Currency::FromInt(kComponentBands[b].after) &&
                r.seq < Currency::FromInt(kComponentBands[b].totalRow)) {
                try {
                    sums[b] = sums[b].value_or(Currency{}) + *r.cur[k];
                } catch (const Overflow&) {
                    past[b] = true;
                }
                break;
            }
        }
    }
    BandSums out;
    for (size_t b = 0; b < 3; ++b)
        out[b] = past[b] ? Value(HUGE_VAL) : sums[b] ? Value(*sums[b]) : Value::Null();
    return out;
}

}  // namespace

std::vector<std::string> ValueFieldNames(const std::string& table, int first, int dropLast) {
    const auto fields = Db().Fields(table);
    std::vector<std::string> names;
    for (int i = first; i + dropLast < static_cast<int>(fields.size()); ++i) names.push_back(fields[i].name);
    return names;
}

void CalcUnitCostMultipliers(const FunctionalSheet& sheet, const std::vector<std::string>& fields) {
    const std::string& t = sheet.statistics;
    const auto sums = SumBands(t, fields);
    const auto costs = RowOf(t, fields, kCostRow);
    std::vector<BandTotals> totals;
    std::vector<Value> ucms;
    // The statistics and the cost are Doubles held here as Currency: each band
    // total and the cost are rounded to four places on their decimal value,
    // halves away from zero as Round_Value rounds (0.00045 gives 0.0005), not
    // on their binary value half to even (which gives 0.0004).
    for (size_t k = 0; k < fields.size(); ++k) {
        totals.push_back(BandTotalsOf(t, sums[k]));
        const Currency total = totals.back()[3];
        const Currency cost = NzCur(costs[k]);
        ucms.emplace_back(total == Currency{} ? 0.0 : RoundDouble(cost.ToDouble() / total.ToDouble(), 6));
    }
    WriteBandRows(t, fields, totals);
    if (!fields.empty()) WriteRow(RowWrite(t, fields), Currency::FromInt(kUnitCostRow), std::move(ucms));
}

void AllocateColumns(const FunctionalSheet& sheet, const std::vector<std::string>& fields) {
    const std::string& s = sheet.statistics;
    const std::string& a = sheet.allocation;
    const size_t n = fields.size();
    if (n == 0) return;
    const auto cc = RowOf(s, fields, kRow0);
    const auto costs = RowOf(s, fields, kCostRow);
    const auto ucms = RowOf(s, fields, kUnitCostRow);

    // Part II's component rows by SeqNum; Part I's in SeqNum order, which is
    // the order in which a tie for the rounding difference is settled.
    std::map<Currency, std::vector<Value>> statistics;
    for (auto& r : ReadRows(s, fields)) {
        if (IsComponentRow(r.seq)) statistics.emplace(r.seq, std::move(r.values));
    }
    struct Row {
        Currency seq;
        std::vector<Value> values;                 // as they are written back
        std::vector<std::optional<Currency>> cur;  // the same as amounts
        const std::vector<Value>* statistics = nullptr;
        bool changed = false;
    };
    std::vector<Row> rows;
    for (auto& r : ReadRows(a, fields)) {
        if (!IsComponentRow(r.seq)) continue;
        Row row{r.seq, std::move(r.values), {}, nullptr, false};
        for (const Value& v : row.values) row.cur.push_back(v.IsNull() ? std::nullopt : std::optional(v.ToCurrency()));
        if (auto it = statistics.find(row.seq); it != statistics.end()) {
            row.statistics = &it->second;
            row.changed = true;
        }
        rows.push_back(std::move(row));
    }

    std::vector<BandTotals> totals;
    for (size_t k = 0; k < n; ++k) {
        // An empty cost is nothing to allocate.
        const Currency cost = NzCur(costs[k]);
        const double ucm = Nz_Num(ucms[k]).ToDouble();
        Currency sum;
        for (Row& r : rows) {
            if (r.statistics) {
                const Value& statistic = (*r.statistics)[k];
                r.cur[k] = statistic.IsNull() ? std::nullopt : Share(statistic.ToDouble(), ucm, a);
                r.values[k] = r.cur[k] ? Value(*r.cur[k]) : Value::Null();
            }
            if (r.cur[k]) sum += *r.cur[k];
        }
        if (sum != cost) {
            const Row* largest = nullptr;
            const Row* smallest = nullptr;
            for (const Row& r : rows) {
                if (!r.cur[k]) continue;
                if (!largest || *r.cur[k] > *largest->cur[k]) largest = &r;
                if (!smallest || *r.cur[k] < *smallest->cur[k]) smallest = &r;
            }
            if (!largest) {
                totals.push_back(BandTotalsOf(a, BandSumsOf(rows, k)));
                Show_Message("The cost to be allocated in column " + NzCur(cc[k]).ToText() + " of worksheet " +
                                 sheet.name +
                                 " cannot be allocated: no component has a statistic in that column.",
                             ui::kExclamation);
                continue;
            }
            const Currency target = TargetValue(*largest->cur[k], *smallest->cur[k]);
            // The first row holding it takes the difference.
            Row& taker = *std::find_if(rows.begin(), rows.end(), [&](const Row& r) { return r.cur[k] == target; });
            const Currency fixed = target + cost - sum;
            if (!db::IsStorableAmount(fixed)) throw db::AmountOverflow(Format(Value(fixed), "#,##0.00"), a);
            taker.cur[k] = fixed;
            taker.values[k] = Value(fixed);
            taker.changed = true;
        }
        totals.push_back(BandTotalsOf(a, BandSumsOf(rows, k)));
    }

    // Each row written once, whole.
    const std::string write = RowWrite(a, fields);
    for (Row& r : rows)
        if (r.changed) WriteRow(write, r.seq, std::move(r.values));
    WriteBandRows(a, fields, totals);
}

}  // namespace vt
