#include "engine/chain/sheet_image.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "engine/chain/component_rows.h"
#include "engine/chain/component_sheet.h"
#include "platform/db/db.h"
#include "store/report.h"
#include "store/services.h"

namespace vt {

SheetImage::SheetImage(std::string sheet, std::vector<std::string> fields, bool withTotal)
    : sheet_(std::move(sheet)), fields_(std::move(fields)) {
    PlainName(sheet_);
    for (const auto& f : fields_) PlainName(f);
    auto& db = Db();
    std::string list = "rowid, SeqNum";
    for (const auto& f : fields_) list += ", " + f;
    if (withTotal) {
        const auto all = db.Fields(sheet_);
        totalField_ = PlainName(all.back().name);
        moneyTotal_ = all.back().type == db::FieldType::Currency;
        list += ", " + totalField_;
    }
    auto read = db.Numbers("SELECT " + list + " FROM " + sheet_ + " WHERE SeqNum IS NOT NULL ORDER BY SeqNum;");
    rows_.reserve(read.size());
    rowids_.reserve(read.size());
    for (auto& r : read) {
        rowids_.push_back(*r[0]);
        rows_.push_back({Currency::FromDouble(*r[1]), std::vector<Cell>(r.begin() + 2, r.end())});
    }
    read_.reserve(rows_.size());
    for (const Row& r : rows_) read_.push_back(r.cells);
}

SheetImage::Row* SheetImage::Find(Currency seq) {
    const auto it = std::lower_bound(rows_.begin(), rows_.end(), seq, [](const Row& r, Currency s) { return r.seq < s; });
    return it != rows_.end() && it->seq == seq ? &*it : nullptr;
}

const SheetImage::Row* SheetImage::Find(Currency seq) const { return const_cast<SheetImage*>(this)->Find(seq); }

std::vector<SheetImage::Cell> SheetImage::ValuesOf(int seq) const {
    const Row* r = Find(Currency::FromInt(seq));
    if (!r) return std::vector<Cell>(fields_.size());
    return {r->cells.begin(), r->cells.begin() + static_cast<std::ptrdiff_t>(fields_.size())};
}

BandSums SheetImage::SumsOf(size_t k) const {
    BandSums sums;
    for (size_t b = 0; b < kComponentBands.size(); ++b) {
        double sum = 0;
        bool any = false;
        for (const Row& r : rows_) {
            if (!r.cells[k] || !BandHolds(kComponentBands[b], r.seq)) continue;
            sum += *r.cells[k];
            any = true;
        }
        sums[b] = any ? Value(sum) : Value::Null();
    }
    return sums;
}

void SheetImage::SetBandTotals(size_t k, const BandTotals& totals) {
    const int lines[] = {kComponentBands[0].totalRow, kComponentBands[1].totalRow, kComponentBands[2].totalRow,
                         kGrandTotalRow};
    for (size_t b = 0; b < 4; ++b)
        if (Row* r = Find(Currency::FromInt(lines[b]))) r->cells[k] = totals[b].ToDouble();
}

void SheetImage::SetRowTotals(RowTotals how) {
    if (how == RowTotals::None || totalField_.empty()) return;
    const size_t n = fields_.size();
    for (Row& r : rows_) {
        if (r.seq <= Currency{}) continue;
        double sum = 0;
        bool null = false;
        for (size_t k = 0; k < n && !null; ++k) {
            if (r.cells[k]) sum += *r.cells[k];
            else null = how == RowTotals::NullMakesNull;
        }
        Cell& total = r.cells[n];
        if (null) {
            total.reset();
        } else if (!moneyTotal_) {
            total = sum;
        } else {
            db::AtLine(sheet_, r.seq.ToText(), [&] {
                try {
                    const Currency c = Currency::FromDouble(sum);
                    if (db::IsStorableAmount(c)) {
                        total = c.ToDouble();
                        return;
                    }
                } catch (const TypeMismatch&) {
                }
                throw db::AmountOverflow(Format(Value(sum), "#,##0.00"), sheet_);
            });
        }
    }
}

void SheetImage::Write() {
    std::string set;
    for (const auto& f : fields_) set += (set.empty() ? "" : ", ") + f + " = ?";
    if (!totalField_.empty()) set += (set.empty() ? "" : ", ") + totalField_ + " = ?";
    if (set.empty()) return;
    const std::string whole = "UPDATE " + sheet_ + " SET " + set + " WHERE rowid = ?;";
    // Most rows of a sheet with totals change in their total alone: fewer
    // values to hand over, the same row written.
    const std::string total = "UPDATE " + sheet_ + " SET " + totalField_ + " = ? WHERE rowid = ?;";
    const size_t n = fields_.size();
    auto& db = Db();
    std::vector<Value> params;
    const auto value = [](const Cell& c) { return c ? Value(*c) : Value::Null(); };
    for (size_t i = 0; i < rows_.size(); ++i) {
        const auto& cells = rows_[i].cells;
        auto& was = read_[i];
        if (cells == was) continue;
        params.clear();
        const bool totalAlone = !totalField_.empty() && std::equal(cells.begin(), cells.begin() + n, was.begin());
        if (totalAlone) {
            params.push_back(value(cells[n]));
        } else {
            for (const Cell& c : cells) params.push_back(value(c));
        }
        params.emplace_back(static_cast<std::int64_t>(rowids_[i]));
        db.Execute(totalAlone ? total : whole, params);
        was = cells;
    }
}

BandTotals BandTotalsOf(const std::string& sheet, const BandSums& sums) {
    // As a write of the amount would refuse it, before anything is written.
    const auto storable = [&](Currency c) {
        if (!db::IsStorableAmount(c)) throw db::AmountOverflow(Format(Value(c), "#,##0.00"), sheet);
    };
    // Each total names its own line when it is past what the sheet can keep.
    BandTotals totals{};
    const std::string grand = std::to_string(kGrandTotalRow);
    for (size_t b = 0; b < kComponentBands.size(); ++b) {
        db::AtLine(sheet, std::to_string(kComponentBands[b].totalRow), [&] {
            const Currency s = Nz_Num(sums[b]).ToCurrency();
            storable(s);
            totals[b] = s;
            db::AtLine(sheet, grand, [&] { totals[3] += s; });
        });
    }
    db::AtLine(sheet, grand, [&] { storable(totals[3]); });
    return totals;
}

void WriteBandTotals(const std::string& sheet, const std::vector<std::string>& fields, RowTotals rowTotals) {
    SheetImage image(sheet, fields, rowTotals != RowTotals::None);
    for (size_t k = 0; k < fields.size(); ++k) image.SetBandTotals(k, BandTotalsOf(sheet, image.SumsOf(k)));
    image.SetRowTotals(rowTotals);
    image.Write();
}

}  // namespace vt
