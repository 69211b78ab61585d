#include "engine/chain/functional_allocation.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <set>
#include <stdexcept>

#include "engine/chain/component_rows.h"
#include "engine/chain/component_sheet.h"
#include "engine/chain/sheet_image.h"
#include "platform/ui/ui.h"
#include "store/report.h"
#include "store/services.h"

namespace vt {

namespace {

// A cell as an amount, Null as 0.
Currency AmountOf(const SheetImage::Cell& c) { return c ? Currency::FromDouble(*c) : Currency{}; }

// Which component takes the rounding difference: the one with the allocation
// of the largest magnitude, the largest value when a negative one is as large,
// and of equal values the first in the sheet.
Currency TargetValue(Currency largest, Currency smallest) {
    const Currency magnitude = smallest < Currency{} ? -smallest : smallest;
    return magnitude > largest ? smallest : largest;
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

// The multiplier as the statement that stores it writes it: a Double's
// standard text of up to 15 significant digits, read back. The raw quotient
// can sit an ulp off (40261.965812999995 for 40261.965813) or, past ten
// whole digits, a millionth off the text (1000000000.499996 for
// 1000000000.5), which moves a whole dollar between components in Part I.
double StoredMultiplier(double ucm) { return ParseNumber(SqlNumber(ucm)).value_or(ucm); }

// The sheets whose latest Part II calculation failed and was undone, in the
// report open then: their multipliers are an earlier calculation's, while the
// statistics and costs they were made from may have changed since.
struct FailedStatistics {
    const db::Database* report = nullptr;
    std::set<std::string> tables;
};

FailedStatistics& Failed() {
    static FailedStatistics failed;
    return failed;
}

bool PartTwoFailed(const FunctionalSheet& sheet) {
    const FailedStatistics& failed = Failed();
    return failed.report == &Db() && failed.tables.count(sheet.statistics) > 0;
}

[[noreturn]] void RefusePartOne(const FunctionalSheet& sheet, const std::string& why) {
    throw std::runtime_error("Worksheet " + sheet.name + " Part I cannot be calculated: " + why +
                             ". Nothing of Part I has been changed.");
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
    FailedStatistics& failed = Failed();
    if (failed.report != &Db()) failed = {&Db(), {}};
    // Counted as failed until its changes are committed.
    failed.tables.insert(t);
    db::Transaction tx(Db());
    SheetImage image(t, fields, ShapeOf(t).rowTotal);
    const auto costs = image.ValuesOf(kCostRow);
    SheetImage::Row* ucms = image.Find(Currency::FromInt(kUnitCostRow));
    // The statistics and the cost are Doubles held here as Currency: each band
    // total and the cost are rounded to four places on their decimal value,
    // halves away from zero as Round_Value rounds (0.00045 gives 0.0005), not
    // on their binary value half to even (which gives 0.0004).
    for (size_t k = 0; k < fields.size(); ++k) {
        const BandTotals totals = BandTotalsOf(t, image.SumsOf(k));
        image.SetBandTotals(k, totals);
        const Currency total = totals[3];
        const Currency cost = AmountOf(costs[k]);
        if (ucms)
            ucms->cells[k] =
                total == Currency{} ? 0.0 : StoredMultiplier(RoundDouble(cost.ToDouble() / total.ToDouble(), 6));
    }
    image.SetRowTotals(RowTotals::NullMakesNull);
    image.Write();
    tx.Commit();
    failed.tables.erase(t);
}

void AllocateColumns(const FunctionalSheet& sheet, const std::vector<std::string>& fields) {
    const std::string& a = sheet.allocation;
    const size_t n = fields.size();
    db::Transaction tx(Db());
    const SheetImage statistics(sheet.statistics, fields, false);
    const auto cc = statistics.ValuesOf(kRow0);
    const auto costs = statistics.ValuesOf(kCostRow);
    const auto ucms = statistics.ValuesOf(kUnitCostRow);
    // Part I allocates this calculation's costs by this calculation's
    // multipliers only: an earlier one's (Part II failed and was undone since)
    // would allocate a changed cost by the old statistics without a word, and
    // one left empty (or 0 in a column just added) would put each column's
    // whole cost on the first line. Part I is then left as it stands.
    if (PartTwoFailed(sheet))
        RefusePartOne(sheet, "Worksheet " + sheet.name +
                                 " Part II failed in this calculation, so its unit cost multipliers are an "
                                 "earlier calculation's");
    for (size_t k = 0; k < n; ++k)
        if (!ucms[k])
            RefusePartOne(sheet, "column " + AmountOf(cc[k]).ToText() + " of Worksheet " + sheet.name +
                                     " Part II has no unit cost multiplier, as Part II was not calculated");

    // Part I's component rows in SeqNum order, which is the order in which a
    // tie for the rounding difference is settled, each with Part II's row of
    // the same SeqNum where there is one.
    SheetImage image(a, fields, ShapeOf(a).rowTotal);
    struct Row {
        SheetImage::Row* row;
        std::vector<std::optional<Currency>> cur;  // its cells as amounts
        const std::vector<SheetImage::Cell>* statistics;
    };
    std::vector<Row> rows;
    for (auto& r : image.Rows()) {
        if (!IsComponentRow(r.seq)) continue;
        Row row{&r, {}, nullptr};
        row.cur.reserve(n);
        for (size_t k = 0; k < n; ++k)
            row.cur.push_back(r.cells[k] ? std::optional(Currency::FromDouble(*r.cells[k])) : std::nullopt);
        if (const auto* st = statistics.Find(r.seq)) row.statistics = &st->cells;
        rows.push_back(std::move(row));
    }
    const auto set = [](Row& r, size_t k, std::optional<Currency> c) {
        r.cur[k] = c;
        r.row->cells[k] = c ? std::optional(c->ToDouble()) : std::nullopt;
    };

    for (size_t k = 0; k < n; ++k) {
        // An empty cost is nothing to allocate.
        const Currency cost = AmountOf(costs[k]);
        const double ucm = *ucms[k];
        Currency sum;
        for (Row& r : rows) {
            if (r.statistics) {
                const auto& statistic = (*r.statistics)[k];
                set(r, k, statistic ? Share(*statistic, ucm, a) : std::nullopt);
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
                image.SetBandTotals(k, BandTotalsOf(a, image.SumsOf(k)));
                Show_Message("The cost to be allocated in column " + AmountOf(cc[k]).ToText() + " of worksheet " +
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
            set(taker, k, fixed);
        }
        image.SetBandTotals(k, BandTotalsOf(a, image.SumsOf(k)));
    }
    image.SetRowTotals(RowTotals::NullMakesNull);
    image.Write();
    tx.Commit();
}

}  // namespace vt
