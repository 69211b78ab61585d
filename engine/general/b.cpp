#include "engine/general/b.h"

#include "platform/db/db.h"
#include "store/new_crf.h"
#include "store/report.h"

namespace vt {

namespace {

// The cost-centre line that CostCenters holds for one number; the name is cut
// to B's 40 characters rather than losing the whole line to the size rule.
constexpr const char* kInsertFromCostCenters =
    "INSERT INTO B (LineNum, CCNum, CCName, Expenses) "
    "SELECT LineNum, CCNum, substr(CCName, 1, 40), 0 FROM CostCenters ";

Currency NextWholeLine(Currency cc) { return cc.Floor() + Currency::FromInt(1); }

}  // namespace

void Build_B() {
    db::Database& db = Db();
    db.CreateTable("B", {
        db::CurrencyField("LineNum"),
        db::CurrencyField("CCNum"),
        db::TextField("CCName", 40, true),
        db::CurrencyField("Expenses"),
        db::CurrencyField("Reclassifications"),
        db::CurrencyField("TrialBalance"),
        db::CurrencyField("MedicareAdj"),
        db::CurrencyField("NetExpenses"),
        db::CurrencyField("DirectAlloc"),
        db::CurrencyField("FuncAlloc"),
        db::CurrencyField("PooledAlloc"),
    });
    db.Execute(std::string(kInsertFromCostCenters) + "WHERE CCNum < 200 ORDER BY CCNum;");
    db.Execute("INSERT INTO B (LineNum, CCNum, CCName) VALUES (3,0,'Sub-Total (Line 1-2)');");
    db.Execute("INSERT INTO B (LineNum, CCNum, CCName) VALUES (6,0,'Sub-Total (Line 4-5)');");
    db.Execute("INSERT INTO B (LineNum, CCNum, CCName) VALUES (10,0,'Sub-Total (Line 7-9)');");
    db.Execute("INSERT INTO B (LineNum, CCNum, CCName) VALUES (36,0,'Sub-Total (Line 11-35)');");
    db.Execute("INSERT INTO B (LineNum, CCNum, CCName) VALUES (100,0,'Total Expenses');");
    db.Execute("CREATE UNIQUE INDEX ndx ON B (LineNum);");
    Register_Worksheet("B");
}

// B's lines are renumbered in two steps through a band far above line 100, so
// that no row ever lands on a number another row still holds: a one-step move
// lets the unique index refuse (and the lenient statement silently drop) any
// row that happens to be visited before the row it moves onto.

void Insert_CC_B(Currency& cc) {
    db::Database& db = Db();
    const Value from(cc), to(NextWholeLine(cc));
    db.Execute("UPDATE B SET LineNum = CCur(LineNum+10000.01), CCNum = CCur(CCNum+10000.01) "
               "WHERE (LineNum>=? And LineNum<?);", {from, to});
    db.Execute("UPDATE B SET LineNum = CCur(LineNum-10000), CCNum = CCur(CCNum-10000) WHERE (LineNum>=10000);");
    db.Execute(std::string(kInsertFromCostCenters) + "WHERE CCNum=?;", {from});
}

void Delete_CC_B(Currency& cc) {
    db::Database& db = Db();
    const Value from(cc), to(NextWholeLine(cc));
    db.Execute("DELETE FROM B WHERE CCNum = ?;", {from});
    db.Execute("UPDATE B SET LineNum = CCur(LineNum+10000), CCNum = CCur(CCNum+10000) "
               "WHERE (CCNum>? And CCNum<?);", {from, to});
    db.Execute("UPDATE B SET LineNum = CCur(LineNum-10000.01), CCNum = CCur(CCNum-10000.01) "
               "WHERE (LineNum>=10000);");
}

}  // namespace vt
