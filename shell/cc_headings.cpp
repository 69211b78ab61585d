#include "shell/cc_headings.h"

#include <map>

#include "store/report.h"
#include "store/services.h"

namespace vt::gui {
namespace {

std::string Labels(const db::Recordset& rs) {
    return Nz_Str(rs.Field("ColLabel1")).ToText() + " " + Nz_Str(rs.Field("ColLabel2")).ToText() + " " +
           Nz_Str(rs.Field("ColLabel3")).ToText();
}

}  // namespace

std::vector<Value> SheetRow0(const std::string& sheet) {
    std::vector<Value> cells;
    auto rs = Db().OpenRecordset("SELECT * FROM " + sheet + " WHERE SeqNum = 0;");
    if (rs.RecordCount() > 0) {
        rs.MoveFirst();
        for (int i = 0; i < rs.FieldCount(); ++i) cells.push_back(rs.Field(i));
    }
    rs.Close();
    return cells;
}

std::vector<ColHeading> CCHeadingsInListOrder(double below) {
    std::vector<ColHeading> headings;
    auto rs = Db().OpenRecordset(
        "SELECT CCNum,ColLabel1,ColLabel2,ColLabel3 FROM CostCenters WHERE CCNum < ? ORDER BY CCNum;", {Value(below)});
    if (rs.RecordCount() > 0) rs.MoveFirst();
    for (; rs.RecordCount() > 0 && !rs.Eof(); rs.MoveNext())
        headings.emplace_back(rs.Field("CCNum").ToCurrency().ToText(), Labels(rs));
    rs.Close();
    return headings;
}

std::vector<std::optional<ColHeading>> CCHeadingsByRow0(const std::string& sheet, size_t first) {
    std::map<Currency, std::string> labels;
    auto cc = Db().OpenRecordset("SELECT CCNum,ColLabel1,ColLabel2,ColLabel3 FROM CostCenters WHERE CCNum < 200;");
    if (cc.RecordCount() > 0) cc.MoveFirst();
    for (; cc.RecordCount() > 0 && !cc.Eof(); cc.MoveNext()) labels.emplace(cc.Field("CCNum").ToCurrency(), Labels(cc));
    cc.Close();

    const std::vector<Value> row0 = SheetRow0(sheet);
    std::vector<std::optional<ColHeading>> headings;
    for (size_t i = first; i + 1 < row0.size(); ++i) {
        const Value& v = row0[i];
        std::optional<ColHeading> h;
        if (IsNumeric(v) && !v.IsEmpty()) {
            const auto found = labels.find(v.ToCurrency());
            if (found != labels.end()) h = ColHeading(found->first.ToText(), found->second);
        }
        headings.push_back(std::move(h));
    }
    return headings;
}

void HeadColumnsByRow0(std::vector<ColHeading>& headings, const std::string& sheet, size_t first) {
    const auto found = CCHeadingsByRow0(sheet, first);
    for (size_t k = 0; k < found.size() && first + k < headings.size(); ++k)
        if (found[k]) headings[first + k] = *found[k];
}

}  // namespace vt::gui
