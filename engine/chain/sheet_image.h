// A component sheet's rows held in memory while a calculation works on them.
// The sheets of E-1 and F-1 carry a column for every chosen cost centre, so
// their calculations work many columns over the same rows: read once, worked
// column by column here, and each changed row written back once, whole,
// instead of a scan and a rewrite of the table for every column.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/value/value.h"

namespace vt {

// The sums of a column over rows 18, 28 and 33's bands (Null where the band
// holds no value), and the totals written from them (rows 18, 28, 33, 34).
using BandSums = std::array<Value, 3>;
using BandTotals = std::array<Currency, 4>;

// How the row totals are formed where a sheet has them (its last field):
// a Null cell makes the row's total Null, as a sum in SQL does, or counts 0.
enum class RowTotals { None, NullMakesNull, NullAsZero };

class SheetImage {
public:
    // A cell as the field stores it: a double, or nothing for Null.
    using Cell = std::optional<double>;
    struct Row {
        Currency seq;
        std::vector<Cell> cells;  // the value fields, then the total where read
    };

    // Every row of the sheet that has a SeqNum, in SeqNum order, with the
    // given value fields; with `withTotal`, the sheet's last field follows them.
    SheetImage(std::string sheet, std::vector<std::string> fields, bool withTotal);

    const std::string& Sheet() const { return sheet_; }
    std::vector<Row>& Rows() { return rows_; }
    // The row of that SeqNum, or null where the sheet lacks it.
    Row* Find(Currency seq);
    const Row* Find(Currency seq) const;
    // The value cells of a row, all Null where the sheet lacks it.
    std::vector<Cell> ValuesOf(int seq) const;

    // Column k summed over each band as SQL's SUM sums it: the stored
    // doubles added in SeqNum order.
    BandSums SumsOf(std::size_t k) const;
    // Rows 18, 28, 33 and 34 of column k take the totals.
    void SetBandTotals(std::size_t k, const BandTotals& totals);
    // Every row above row 0 takes the sum of its value cells into its total,
    // added left to right in doubles as SQL adds them; a Currency total is
    // held to four places (an amount past what the sheet keeps is refused,
    // naming its line), a Double one keeps its digits.
    void SetRowTotals(RowTotals how);

    // Each row whose cells differ from what was read is written, whole, once.
    void Write();

private:
    std::string sheet_;
    std::vector<std::string> fields_;
    std::string totalField_;  // empty without a total
    bool moneyTotal_ = false;
    std::vector<Row> rows_;
    std::vector<double> rowids_;
    std::vector<std::vector<Cell>> read_;  // each row's cells as read
};

// Rows 18, 28, 33 and 34 of a column take their band totals, raising what
// writing them would raise: an amount past what the sheet keeps, naming its line.
BandTotals BandTotalsOf(const std::string& sheet, const BandSums& sums);

// Rows 18, 28, 33 and 34 of each field take the sums of their bands (a Null
// cell adds nothing, an empty band gives 0); then, unless `rowTotals` is
// None, every row above row 0 its total in the sheet's last field, which
// `fields` leaves out. A total the sheet cannot keep is met column after
// column, in field order.
void WriteBandTotals(const std::string& sheet, const std::vector<std::string>& fields,
                     RowTotals rowTotals = RowTotals::None);

}  // namespace vt
