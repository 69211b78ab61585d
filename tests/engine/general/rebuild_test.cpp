// The rebuild command drops a worksheet's table and runs its builder again.
#include <string>

#include "engine/chain/e.h"
#include "engine/chain/e1.h"
#include "engine/chain/f.h"
#include "engine/chain/f1.h"
#include "engine/chain/g.h"
#include "engine/chain/h.h"
#include "engine/general/a.h"
#include "engine/general/b.h"
#include "engine/general/b1.h"
#include "engine/general/b2.h"
#include "engine/general/c.h"
#include "engine/general/d.h"
#include "engine/general/i.h"
#include "engine/general/j.h"
#include "store/services.h"
#include "tests/engine/general/general_fixture.h"

namespace vt::test {
namespace {

class Rebuild : public CrfTest {};

// Each sheet comes back as a new report holds it, with its unique index and
// one register row, and nothing is shown.
TEST_F(Rebuild, EveryWorksheetComesBackAsNew) {
    const std::pair<const char*, void (*)()> builders[] = {
        {"Ap1", Build_Ap1},   {"Ap3", Build_Ap3},   {"Ap4", Build_Ap4},   {"Ap5", Build_Ap5}, {"B", Build_B},
        {"B1", Build_B1},     {"B2p1", Build_B2p1}, {"B2p2", Build_B2p2}, {"B2p3", Build_B2p3}, {"C", Build_C},
        {"DpA", Build_DpA},   {"DpB", Build_DpB},   {"DpC", Build_DpC},   {"E", Build_E},     {"E1", Build_E1},
        {"Fp1", Build_Fp1},   {"Fp2", Build_Fp2},   {"F1p2", Build_F1p2}, {"F1p1", Build_F1p1}, {"Gp1", Build_Gp1},
        {"Gp2", Build_Gp2},   {"H", Build_H},       {"I", Build_I},       {"J", Build_J},
    };
    EXPECT_EQ(Rows("SELECT COUNT(*) FROM Worksheets WHERE Calc_Lvl = 0"), Table{{std::to_string(std::size(builders))}});
    for (const auto& [code, build] : builders) {
        SCOPED_TRACE(code);
        const std::string table = code;
        const std::string indexes = "SELECT COUNT(*) FROM sqlite_master WHERE type = 'index' AND tbl_name = '" + table + "'";
        const Table fresh = Rows("SELECT * FROM " + table + " ORDER BY rowid");
        const Table indexed = Rows(indexes);
        db().DropTable(table);
        build();
        EXPECT_EQ(Rows("SELECT * FROM " + table + " ORDER BY rowid"), fresh);
        EXPECT_EQ(Rows(indexes), indexed);
        if (!fresh.empty() && indexed != Table{{"0"}}) {
            EXPECT_EQ(db().Execute("INSERT INTO " + table + " SELECT * FROM " + table + " LIMIT 1"), 0);
        }
        EXPECT_EQ(Rows("SELECT ItemName FROM Worksheets WHERE Item = ?", {Value(table)}),
                  Table{{Get_Worksheet_Name(table)}});
    }
    EXPECT_TRUE(ui.Messages().empty());
}

}  // namespace
}  // namespace vt::test
