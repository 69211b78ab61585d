#include "engine/chain/functional_allocation.h"

#include "engine/chain/component_sheet.h"
#include "platform/ui/ui.h"
#include "store/report.h"
#include "store/services.h"

namespace vt {

namespace {

Currency NzCur(const Value& v) { return Nz_Num(v).ToCurrency(); }

Value Cell(const std::string& table, const std::string& field, int seq) {
    return Db().Scalar("SELECT " + field + " FROM " + table + " WHERE SeqNum = ?;", {Value(Currency::FromInt(seq))});
}

// The component rows of a Part I table (it has no rows 35 and 36; naming them
// keeps the statements right for Part II's row scheme as well).
std::string ComponentRows(const std::string& table) {
    return table + ".SeqNum NOT IN (0,18,28,33,34,35,36)";
}

// Which component takes the rounding difference: the one with the allocation
// of the largest magnitude, the largest value when a negative one is as large,
// and of equal values the first in the sheet.
Currency TargetValue(Currency largest, Currency smallest) {
    const Currency magnitude = smallest < Currency{} ? -smallest : smallest;
    return magnitude > largest ? smallest : largest;
}

}  // namespace

std::vector<std::string> Value_Field_Names(const std::string& table, int first, int dropLast) {
    const auto fields = Db().Fields(table);
    std::vector<std::string> names;
    for (int i = first; i + dropLast < static_cast<int>(fields.size()); ++i) names.push_back(fields[i].name);
    return names;
}

void Calc_Unit_Cost_Multipliers(const FunctionalSheet& sheet, const std::vector<std::string>& fields) {
    auto& db = Db();
    const std::string& t = sheet.statistics;
    for (const auto& f : fields) {
        // The statistics and the cost are Doubles held here as Currency: each
        // band total and the cost are rounded to four places on their decimal
        // value, halves away from zero as Round_Value rounds (0.00045 gives
        // 0.0005), not on their binary value half to even (which gives 0.0004).
        const Currency total = Write_Band_Totals(t, f);
        const Currency cost = NzCur(Cell(t, f, 35));
        const double ucm = total == Currency{} ? 0.0 : Round_Double(cost.ToDouble() / total.ToDouble(), 6);
        db.Execute("UPDATE " + t + " SET " + f + " = ? WHERE SeqNum = 36;", {Value(ucm)});
    }
}

void Allocate_Columns(const FunctionalSheet& sheet, const std::vector<std::string>& fields) {
    auto& db = Db();
    const std::string& s = sheet.statistics;
    const std::string& a = sheet.allocation;
    const std::string rows = " FROM " + a + " WHERE " + ComponentRows(a);
    for (const auto& f : fields) {
        // An empty cost is nothing to allocate.
        const Currency cost = NzCur(Cell(s, f, 35));
        const double ucm = Nz_Num(Cell(s, f, 36)).ToDouble();

        // Int(x + 0.5) rounds halves up: 2.5 gives 3, -2.5 gives -2. A Null
        // statistic leaves a Null allocation; CCur refuses a share past what
        // the sheet can keep.
        db.Execute("UPDATE " + a + " SET " + f + " = CCur(Int(" + s + "." + f + " * ? + 0.5)) FROM " + s + " WHERE " + s +
                       ".SeqNum = " + a + ".SeqNum AND " + ComponentRows(a) + ";",
                   {Value(ucm)});

        const Currency sum = NzCur(db.Scalar("SELECT SUM(" + f + ")" + rows + ";"));
        if (sum != cost) {
            const Value largest = db.Scalar("SELECT MAX(" + f + ")" + rows + ";");
            if (largest.IsNull()) {
                Write_Band_Totals(a, f);
                Show_Message("The cost to be allocated in column " + NzCur(Cell(s, f, 0)).ToText() +
                                 " of worksheet " + sheet.name +
                                 " cannot be allocated: no component has a statistic in that column.",
                             ui::kExclamation);
                continue;
            }
            const Value smallest = db.Scalar("SELECT MIN(" + f + ")" + rows + ";");
            const Currency target = TargetValue(largest.ToCurrency(), smallest.ToCurrency());
            const Value seq = db.Scalar("SELECT SeqNum" + rows + " AND " + f + " = ? ORDER BY SeqNum;",
                                        {Value(target)});
            db.Execute("UPDATE " + a + " SET " + f + " = ? WHERE SeqNum = ?;", {Value(target + cost - sum), seq});
        }
        Write_Band_Totals(a, f);
    }
}

}  // namespace vt
