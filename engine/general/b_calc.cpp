// The calculation of worksheet B: every column but the expenses of the
// cost-centre lines, from the sheets that feed it.
#include <string>
#include <vector>

#include "engine/chain/component_rows.h"
#include "engine/general/b.h"
#include "engine/general/c.h"
#include "platform/db/db.h"
#include "store/report.h"
#include "store/services.h"

namespace vt {

namespace {

using db::FindOp;
using db::Recordset;

Currency Amount(const Value& v) { return Nz_Num(v).ToCurrency(); }

// The cursor on B, which every step moves and edits.
class Lines {
public:
    explicit Lines(Recordset& rs) : rs_(rs) {}

    bool AtEnd() const { return rs_.Eof(); }
    Currency LineNum() const { return rs_["LineNum"].ToCurrency(); }
    bool Below(int line) const { return !rs_.Eof() && LineNum() < Currency::FromInt(line); }
    void Next() { rs_.MoveNext(); }
    void First() { rs_.MoveFirst(); }
    bool FindCostCentre(const Value& cc) { return rs_.FindFirst("CCNum", FindOp::Eq, cc); }
    bool FindLine(int line) { return rs_.FindFirst("LineNum", FindOp::Eq, Value(Currency::FromInt(line))); }
    // The first line after the capital subtotal, whichever lines the user has
    // removed: the walks over the non-capital lines start here.
    bool FindFirstNonCapital() {
        return rs_.FindFirst("LineNum", FindOp::Gt, Value(Currency::FromInt(kBOtherCapitalSubtotal)));
    }

    Currency Get(const char* field) const { return Amount(rs_[field]); }
    void Set(const char* field, const Value& v) {
        rs_.Edit();
        rs_.Set(field, v);
        rs_.Update();
    }
    void Add(const char* field, Currency delta) {
        db::AtLine("B", LineNum().ToText(), [&] { Set(field, Value(Get(field) + delta)); });
    }

private:
    Recordset& rs_;
};

// Each source sheet's row 0 names, per value column, the cost centre that the
// column allocates; the column list keeps those numbers from the first field
// after the leading ones on.
std::vector<Currency> ColumnList(const Recordset& rowZero, int first, int count, bool nullAsZero) {
    std::vector<Currency> list;
    for (int i = 0; i < count; ++i) {
        const Value v = rowZero.Field(first + i);
        list.push_back(nullAsZero ? Amount(v) : v.ToCurrency());
    }
    return list;
}

int FindColumn(const std::vector<Currency>& list, Currency line) {
    for (size_t j = 0; j < list.size(); ++j)
        if (list[j] == line) return static_cast<int>(j);
    return -1;
}

// A sheet whose lines each add (or take away) an amount in one column of the
// cost centre they name; a cost centre B does not hold stops the calculation
// with the message, '@' standing for the number.
struct Posting {
    std::string sql;
    const char* ccField;
    const char* amountField;
    const char* column;
    bool subtract;
    const char* message;
};

const Posting kPostings[] = {
    {"SELECT UpCCNum,UpAmount FROM B1 ORDER BY UpCCNum;", "UpCCNum", "UpAmount", "Reclassifications", false,
     "Invald Up Cost Center (@ in Worksheet B1. Calculation of Worksheet B has been aborted."},
    {"SELECT DnCCNum,DnAmount FROM B1 ORDER BY DnCCNum;", "DnCCNum", "DnAmount", "Reclassifications", true,
     "Invald Down Cost Center in Worksheet B1. Calculation of Worksheet B has been aborted."},
    {"SELECT CCNum,Amount FROM C WHERE LineNum <> " + std::to_string(kCRelatedOrganizationsLine) +
         " ORDER BY CCNum;",
     "CCNum", "Amount", "MedicareAdj", false,
     "Invald Cost Center in Worksheet C. Calculation of Worksheet B has been aborted."},
    {"SELECT LineNum,NetAdj FROM DpB WHERE SeqNum < 100 ORDER BY LineNum;", "LineNum", "NetAdj", "MedicareAdj", true,
     "Invald Cost Center in Worksheet DpB. Calculation of Worksheet B has been aborted."},
};

// Row 0 and the grand total row of a component sheet, in that order.
std::string RowZeroAndTotal(const std::string& sheet) {
    return "SELECT * FROM " + sheet + " WHERE SeqNum IN(" + std::to_string(kRow0) + "," +
           std::to_string(kGrandTotalRow) + ") ORDER BY SeqNum;";
}

// A sheet whose row 0 names the cost centre of each column and whose grand
// total row holds the amount that column allocates to it.
struct Allocation {
    const char* sheet;
    const char* noRowZero;
    int trailingFields;  // after the columns, allocating nothing
    const char* column;
    bool keepNull;
};

constexpr Allocation kAllocations[] = {
    // E-1's last column is the row total; a Null total stays Null.
    {"E1",
     "Row zero is missing from E1. Calculation of Worksheet B has been terminated.", 1, "DirectAlloc", true},
    // F-1's total column has a Null row 0, so it is 0 here and meets no line.
    {"F1p1",
     "Row zero is missing from F1p1. Calculation of Worksheet B has been terminated.", 0, "FuncAlloc", false},
};

}  // namespace

// A source that B cannot use stops the calculation with its message; the rows
// written before it stay as they are.
void Calc_B() {
    db::Database& db = Db();
    db::Transaction tx(db);
    const auto stop = [&tx](const std::string& message) {
        tx.Commit();
        Show_Message(message, 0);
    };

    // Clear every computed column, total lines included.
    db.Execute("UPDATE B SET Reclassifications=0,TrialBalance=0,MedicareAdj=0,NetExpenses=0,"
               "DirectAlloc=0,FuncAlloc=0,PooledAlloc=0;");
    Recordset bRs = db.OpenTable("B", "", "LineNum");
    Lines b(bRs);

    // B-1's increases and decreases, C's Medicare adjustments and D Part B's
    // related-organisation lines, each added to the column of the cost
    // centre it names (C's line 15 reaches B through D Part B's lines).
    for (const Posting& p : kPostings) {
        Recordset rs = db.OpenRecordset(p.sql);
        for (; !rs.Eof(); rs.MoveNext()) {
            const Value cc = rs[p.ccField];
            if (Is_Zero(cc)) continue;
            if (!b.FindCostCentre(Nz_Num(cc))) {
                std::string message = p.message;
                if (const auto at = message.find('@'); at != std::string::npos) message.replace(at, 1, cc.ToText());
                stop(message);
                return;
            }
            const Currency amount = Amount(rs[p.amountField]);
            b.Add(p.column, p.subtract ? -amount : amount);
        }
    }

    // E and F Part I: the capital lines pair with E's columns in order.
    {
        Recordset e = db.OpenRecordset(RowZeroAndTotal("E"));
        if (e.Eof() || Amount(e["SeqNum"]) != Currency{}) {
            stop("Row zero missing from E. Calculation of Worksheet B has been aborted.");
            return;
        }
        const int eFirst = LeadingFields(ShapeOf("E")), fFirst = LeadingFields(ShapeOf("Fp1"));
        const std::vector<Currency> columns = ColumnList(e, eFirst, e.FieldCount() - eFirst, false);
        e.MoveNext();
        Recordset f = db.OpenRecordset("SELECT * FROM Fp1 WHERE SeqNum = " + std::to_string(kGrandTotalRow) + ";");
        b.First();
        const std::string mismatch =
            "Columns in Worksheets E and Fp1 do not match the row in worksheet B.  "
            "Calculation of Worksheet B has been terminated.";
        for (int k = 0; b.Below(kBOtherCapitalSubtotal); ++k) {
            const Currency line = b.LineNum();
            const bool functional = line < Currency::FromInt(kBNewCapitalSubtotal);
            // Column k of E and of F Part I, each after its own leading fields.
            if (static_cast<size_t>(k) >= columns.size() || columns[k] != line ||
                (functional && fFirst + k >= f.FieldCount())) {
                stop(mismatch);
                return;
            }
            bRs.Edit();
            bRs.Set("DirectAlloc", Value(Amount(e.Field(eFirst + k))));
            if (functional) bRs.Set("FuncAlloc", Value(Amount(f.Field(fFirst + k))));
            bRs.Update();
            b.Next();
            if (!b.AtEnd() && IsBTotalLine(b.LineNum())) b.Next();
        }
    }

    // E-1 and F-1 Part I: direct and functional allocation of the
    // non-capital lines that have a column.
    for (const Allocation& a : kAllocations) {
        Recordset rs = db.OpenRecordset(RowZeroAndTotal(a.sheet));
        if (rs.Eof() || Amount(rs["SeqNum"]) != Currency{}) {
            stop(a.noRowZero);
            return;
        }
        const int first = LeadingFields(ShapeOf(a.sheet));
        const std::vector<Currency> columns = ColumnList(rs, first, rs.FieldCount() - first - a.trailingFields, true);
        rs.MoveNext();
        if (b.FindFirstNonCapital()) {
            for (; b.Below(kBNonCapitalSubtotal); b.Next()) {
                const int j = FindColumn(columns, b.LineNum());
                if (j < 0) continue;
                const Value amount = rs.Field(first + j);
                b.Set(a.column, a.keepNull ? amount : Value(Amount(amount)));
            }
        }
    }

    // B-2 Part III: the other capital-related costs leave lines 7-9 and
    // their shares reach the four capital lines. A line or row that is not
    // there is passed over, so no other line takes its amount.
    {
        Recordset b2 = db.OpenRecordset("Select * From B2p3 Order By SeqNum;");
        const auto row = [&b2](int seq) { return b2.FindFirst("SeqNum", FindOp::Eq, Value(Currency::FromInt(seq))); };
        struct Move { int line; int seq; const char* field; int sign; };
        const Move moves[] = {
            {7, 5, "Insurance", -1}, {8, 5, "Taxes", -1}, {9, 5, "CapRelated2", -1},
            {1, 1, "Total1", 1},     {2, 2, "Total1", 1}, {4, 3, "Total1", 1}, {5, 4, "Total1", 1},
        };
        for (const Move& m : moves) {
            if (!row(m.seq) || !b.FindLine(m.line)) continue;
            const Currency amount = Amount(b2[m.field]);
            b.Set("Reclassifications", Value(m.sign < 0 ? b.Get("Reclassifications") - amount
                                                        : b.Get("Reclassifications") + amount));
        }
    }
    bRs.Close();

    // Line arithmetic.
    const std::string totals = BTotalLineList();
    db.Execute("UPDATE B SET TrialBalance=CCur(IFNULL(Expenses,0)+IFNULL(Reclassifications,0)) "
               "WHERE LineNum NOT IN(" + totals + ");");
    db.Execute("UPDATE B SET NetExpenses=CCur(IFNULL(TrialBalance,0)+IFNULL(MedicareAdj,0)) "
               "WHERE LineNum NOT IN(" + totals + ");");
    // Lines 7-9 pool nothing: B-2 moved their costs to the capital lines.
    db.Execute("UPDATE B SET PooledAlloc=CCur(IFNULL(NetExpenses,0)-IFNULL(DirectAlloc,0)-IFNULL(FuncAlloc,0)) "
               "WHERE Int(LineNum) NOT IN(" + totals + ",7,8,9);");

    // Subtotals and the total of every amount column.
    const std::vector<db::FieldDef> fields = db.Fields("B");
    const std::string last = std::to_string(kBTotalExpensesLine);
    for (size_t i = 3; i <= 10 && i < fields.size(); ++i) {
        const std::string& f = fields[i].name;
        Currency total{};
        std::string after;  // the subtotal before this one
        for (const BTotalLine& t : kBTotalLines) {
            if (t.line == kBTotalExpensesLine) continue;
            const std::string line = std::to_string(t.line);
            const std::string where = (after.empty() ? "" : "LineNum > " + after + " and ") + "LineNum < " + line;
            after = line;
            db::AtLine("B", line, [&] {
                const Currency sum = Amount(db.Scalar("SELECT SUM(" + f + ") AS Sum FROM B WHERE " + where + ";"));
                db.Execute("UPDATE B SET " + f + "=? WHERE LineNum = " + line + ";", {Value(sum)});
                db::AtLine("B", last, [&] { total += sum; });
            });
        }
        db::AtLine("B", last,
                   [&] { db.Execute("UPDATE B SET " + f + "=? WHERE LineNum = " + last + ";", {Value(total)}); });
    }
    tx.Commit();
}

}  // namespace vt
