#include "engine/chain/component_rows.h"

#include <stdexcept>

namespace vt {

const ComponentSheetShape& ShapeOf(const std::string& code) {
    for (const auto& s : kComponentSheetShapes)
        if (code == s.code) return s;
    throw std::invalid_argument("No component sheet " + code);
}

const ComponentBand& BandOfPart(int part) {
    for (const auto& b : kComponentBands)
        if (b.part == part) return b;
    throw std::invalid_argument("Worksheet A has no part " + std::to_string(part) + " with component lines");
}

std::size_t BandIndexOf(Currency seq) {
    for (std::size_t i = 0; i + 1 < kComponentBands.size(); ++i)
        if (seq <= Currency::FromInt(kComponentBands[i].totalRow)) return i;
    return kComponentBands.size() - 1;
}

bool IsBandTotalRow(Currency seq) {
    for (const auto& b : kComponentBands)
        if (seq == Currency::FromInt(b.totalRow)) return true;
    return false;
}

bool IsTotalRow(Currency seq) { return IsBandTotalRow(seq) || seq == Currency::FromInt(kGrandTotalRow); }

bool BandHolds(const ComponentBand& b, Currency seq) {
    return seq > Currency::FromInt(b.after) && seq < Currency::FromInt(b.totalRow);
}

bool IsComponentRow(Currency seq) {
    for (const auto& b : kComponentBands)
        if (BandHolds(b, seq)) return true;
    return false;
}

std::string BandWhere(const ComponentBand& b) {
    return "SeqNum > " + std::to_string(b.after) + " AND SeqNum < " + std::to_string(b.totalRow);
}

std::string TotalRowList(bool grand) {
    std::string list;
    for (const auto& b : kComponentBands) list += (list.empty() ? "" : ",") + std::to_string(b.totalRow);
    if (grand) list += "," + std::to_string(kGrandTotalRow);
    return list;
}

std::string EditorHiddenRows(const ComponentSheetShape& s) {
    std::string list = std::to_string(kRow0) + "," + TotalRowList(true);
    if (s.costRows) list += "," + std::to_string(kUnitCostRow);
    return list;
}

}  // namespace vt
