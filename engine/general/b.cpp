#include "engine/general/b.h"

#include <string>
#include <vector>

#include "engine/general/renumber.h"
#include "platform/db/db.h"
#include "store/builder.h"
#include "store/report.h"

namespace vt {

namespace {

// The cost-centre line that CostCenters holds for one number; the name is cut
// to B's 40 characters rather than losing the whole line to the size rule.
constexpr const char* kInsertFromCostCenters =
    "INSERT INTO B (LineNum, CCNum, CCName, Expenses) "
    "SELECT LineNum, CCNum, substr(CCName, 1, 40), 0 FROM CostCenters ";

const Currency kStep = Currency::FromScaled(100);  // .01

// Moves the lines of cc's whole line that `where` picks (from cc to the next
// whole line) by step, amounts and all.
void ShiftGroup(Currency cc, const std::string& where, Currency step) {
    ShiftLines("B", {"LineNum", "CCNum"}, where, {Value(cc), Value(cc.Floor() + Currency::FromInt(1))}, step,
                Currency::FromInt(10000));
}

}  // namespace

void Build_B() {
    std::vector<Seed> seeds{std::string(kInsertFromCostCenters) + "WHERE CCNum < 200 ORDER BY CCNum;"};
    for (const BTotalLine& t : kBTotalLines)
        seeds.push_back("INSERT INTO B (LineNum, CCNum, CCName) VALUES (" + std::to_string(t.line) + ",0,'" +
                        t.caption + "');");
    BuildTable("B",
                {
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
                },
                seeds, "CREATE UNIQUE INDEX ndx ON B (LineNum);");
}

bool IsBTotalLine(Currency line) {
    for (const BTotalLine& t : kBTotalLines)
        if (line == Currency::FromInt(t.line)) return true;
    return false;
}

std::string BTotalLineList() {
    std::string list;
    for (const BTotalLine& t : kBTotalLines) list += (list.empty() ? "" : ",") + std::to_string(t.line);
    return list;
}

// Sub-lines move by .01 through the lifted band of ShiftLines, never in one
// step: a single UPDATE lets the unique index refuse (and the lenient statement
// silently drop) any row visited before the row it moves onto.

void Insert_CC_B(Currency& cc) {
    db::Transaction tx(Db());
    ShiftGroup(cc, "LineNum>=? And LineNum<?", kStep);
    Db().Execute(std::string(kInsertFromCostCenters) + "WHERE CCNum=?;", {Value(cc)});
    tx.Commit();
}

void Delete_CC_B(Currency& cc) {
    db::Transaction tx(Db());
    Db().Execute("DELETE FROM B WHERE CCNum = ?;", {Value(cc)});
    ShiftGroup(cc, "CCNum>? And CCNum<?", -kStep);
    tx.Commit();
}

}  // namespace vt
