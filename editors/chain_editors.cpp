// The designs of the chain-component editors: record source, frozen columns,
// how the value columns are headed and checked, and, in E-1 and F-1 Part II,
// the tables the column commands change (F-1 Part I before Part II) and the
// viewers they close.
#include "editors/chain_edit_form.h"
#include "engine/chain/component_rows.h"

namespace vt::gui {
namespace {

// Sequence, (line), component and Medicare number, frozen at the left.
const std::vector<ChainColumn> kComponentColumns = {
    {"", "Seq", 600}, {"", "Line", -1}, {"", "Chain Components", 4300}, {"", "Medicare Number", 1000}};

// The rows the user types: all but row 0, the totals and the multipliers.
std::string EditedRows(const std::string& code) {
    return "SELECT * FROM " + code + " WHERE SeqNum NOT IN (" + EditorHiddenRows(ShapeOf(code)) + ") ORDER BY SeqNum;";
}

ChainEditorDesign Chosen(const std::string& code, std::vector<std::string> tables, std::vector<std::string> viewers) {
    const ComponentSheetShape& shape = ShapeOf(code);
    return {.code = code,
            .recordSource = EditedRows(code),
            .columns = kComponentColumns,
            .totalColumn = shape.rowTotal,
            .statistics = shape.costRows,
            .columnTables = std::move(tables),
            .viewers = std::move(viewers)};
}

// G: the allocation base is all the user types.
ChainEditorDesign G(const std::string& code, const std::string& rows) {
    return {.code = code,
            .recordSource = "SELECT SeqNum,Component,TotalCost FROM " + code + " WHERE " + rows + " ORDER BY SeqNum;",
            .columns = {{"", "", 600}, {"0", "Chain Components", 4300}, {"1", "Base: Total Cost", 1250, true}},
            .split = false,
            .tabInGrid = true};
}

}  // namespace

const ChainEditorDesign kEditE{
    .code = "E",
    .recordSource = EditedRows("E"),
    .columns = kComponentColumns,
    .ccBelow = static_cast<double>(ShapeOf("E").ccBelow),
    .totalColumn = ShapeOf("E").rowTotal,
};

const ChainEditorDesign kEditFp2{
    .code = "Fp2",
    .recordSource = EditedRows("Fp2"),
    .columns = {{"", "Seq", 600}, {"", "Line", -1}, {"", "Chain Components", 4300}},
    .ccBelow = static_cast<double>(ShapeOf("Fp2").ccBelow),
    .statistics = ShapeOf("Fp2").costRows,
    .tabInGrid = true,
};

const ChainEditorDesign kEditE1 = Chosen("E1", {"E1"}, {"E1"});
const ChainEditorDesign kEditF1p2 = Chosen("F1p2", {"F1p1", "F1p2"}, {"F1p1", "F1p2"});

const ChainEditorDesign kEditGp1 = G("Gp1", "SeqNum > 0 AND SeqNum < 4");
const ChainEditorDesign kEditGp2 = G("Gp2", "SeqNum NOT IN (" + EditorHiddenRows(ShapeOf("Gp2")) + ")");

}  // namespace vt::gui
