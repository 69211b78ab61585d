// The designs of the chain-component editors: record source, frozen columns,
// how the value columns are headed and checked, and, in E-1 and F-1 Part II,
// the tables the column commands change (F-1 Part I before Part II) and the
// viewers they close.
#include "editors/chain_edit_form.h"

namespace vt::gui {
namespace {

// Sequence, (line), component and Medicare number, frozen at the left.
const std::vector<ChainColumn> kComponentColumns = {
    {"", "Seq", 600}, {"", "Line", -1}, {"", "Chain Components", 4300}, {"", "Medicare Number", 1000}};

ChainEditorDesign Chosen(const std::string& code, const std::string& hidden, std::vector<std::string> tables,
                         std::vector<std::string> viewers) {
    return {.code = code,
            .recordSource = "SELECT * FROM " + code + " WHERE SeqNum NOT IN (" + hidden + ") ORDER BY SeqNum;",
            .columns = kComponentColumns,
            .totalColumn = true,
            .statistics = code == "F1p2",
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
    .recordSource = "SELECT * FROM E WHERE SeqNum NOT IN (0,18,28,33,34) ORDER BY SeqNum;",
    .columns = kComponentColumns,
    .ccBelow = 10,
    .totalColumn = true,
};

const ChainEditorDesign kEditFp2{
    .code = "Fp2",
    .recordSource = "SELECT * FROM Fp2 WHERE SeqNum NOT IN (0,18,28,33,34,36) ORDER BY SeqNum;",
    .columns = {{"", "Seq", 600}, {"", "Line", -1}, {"", "Chain Components", 4300}},
    .ccBelow = 6,
    .statistics = true,
    .tabInGrid = true,
};

const ChainEditorDesign kEditE1 = Chosen("E1", "0,18,28,33,34", {"E1"}, {"E1"});
const ChainEditorDesign kEditF1p2 = Chosen("F1p2", "0,18,28,33,34,36", {"F1p1", "F1p2"}, {"F1p1", "F1p2"});

const ChainEditorDesign kEditGp1 = G("Gp1", "SeqNum > 0 AND SeqNum < 4");
const ChainEditorDesign kEditGp2 = G("Gp2", "SeqNum NOT IN (0,18,28,33,34)");

}  // namespace vt::gui
