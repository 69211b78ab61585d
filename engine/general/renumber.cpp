#include "engine/general/renumber.h"

#include "store/report.h"

namespace vt {

void ShiftLines(const std::string& table, const std::vector<std::string>& fields,
                 const std::string& where, const std::vector<Value>& params,
                 Currency step, Currency offset) {
    std::string lift, back;
    for (const auto& f : fields) {
        if (!lift.empty()) {
            lift += ", ";
            back += ", ";
        }
        lift += f + " = CCur(" + f + "+" + SqlNumber(offset) + ")";
        back += f + " = CCur(" + f + "-" + SqlNumber(offset - step) + ")";
    }
    Db().Execute("UPDATE " + table + " SET " + lift + " WHERE (" + where + ");", params);
    Db().Execute("UPDATE " + table + " SET " + back + " WHERE " + fields.front() + ">=" +
                 SqlNumber(offset) + ";");
}

}  // namespace vt
