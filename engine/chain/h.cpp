#include "engine/chain/h.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "engine/chain/component_rows.h"
#include "engine/chain/component_sheet.h"
#include "engine/chain/sheet_image.h"
#include "engine/chain/wide_print.h"
#include "platform/db/db.h"
#include "print/print.h"
#include "store/builder.h"
#include "store/report.h"
#include "store/services.h"

namespace vt {

namespace {

constexpr int kColumns = 20;

std::string Col(int k) { return "Col_" + std::to_string(k); }
Currency NzCur(const Value& v) { return Nz_Num(v).ToCurrency(); }

// ---- Calculation ----

// A cost centre's whole number; a sub-number of exactly one half goes to the
// even neighbour.
std::int64_t WholeNumber(Currency c) {
    const std::int64_t q = c.scaled / Currency::kScale, r = c.scaled % Currency::kScale;
    const std::int64_t half = Currency::kScale / 2;
    if (r > half || (r == half && q % 2 != 0)) return q + 1;
    if (r < -half || (r == -half && q % 2 != 0)) return q - 1;
    return q;
}

// The cost block a source column adds to: 1 old capital, 2 new capital,
// 3 other capital, 4 non-capital; 0 for a column H does not carry. In G Part II
// the column without a cost centre is the Non-Capital one and interest (30) is
// other capital; in E and F Part I other capital is 7 to 9.
int Category(const Value& row0, bool pooled) {
    const std::int64_t c = WholeNumber(NzCur(row0));
    if (c <= 0) return pooled ? 4 : 0;
    if (c == 1 || c == 2) return 1;
    if (c == 4 || c == 5) return 2;
    if (c >= 7 && c <= 9) return pooled ? 0 : 3;
    if (c == 30) return pooled ? 3 : 0;
    return 0;
}

struct Walk {
    const char* table;
    const char* name;              // as the inconsistency message names the sheet
    int firstField;                // first value field of a category walk; 0 for a row-total walk
    bool pooled;                   // categories as G Part II has them
    std::array<int, 4> target;     // H column of each category (0: none); a row-total walk uses the first
};

const Walk kWalks[] = {
    {"E", "E", 4, false, {1, 5, 9, 0}},
    {"E1", "E-1", 0, false, {13, 0, 0, 0}},
    {"Fp1", "F Part I", 3, false, {2, 6, 10, 0}},
    {"F1p1", "F-1 Part I", 0, false, {14, 0, 0, 0}},
    {"Gp2", "Gp2", 5, true, {3, 7, 11, 15}},
};

struct HLine {
    Currency seq, line;
};

// What the walks give each row of H, by H column; written once a row has all.
using HCells = std::vector<std::vector<std::pair<int, Currency>>>;

// Walks the source sheet and H side by side, row for row, adding each
// component line's amounts to what H's row takes. False, after telling the
// user, when a component line of H meets a source row of another line.
bool RunWalk(const Walk& w, const std::vector<HLine>& h, HCells& cells) {
    auto& db = Db();
    const auto fields = db.Fields(w.table);
    const bool byCategory = w.firstField > 0;
    db::Recordset rs;
    std::vector<int> category(fields.size(), 0);
    if (byCategory) {
        rs = db.OpenRecordset(SelectSheet(w.table, "ORDER BY SeqNum;"));
        if (!rs.Eof()) {
            for (size_t i = static_cast<size_t>(w.firstField); i < fields.size(); ++i)
                category[i] = Category(rs.Field(static_cast<int>(i)), w.pooled);
            rs.MoveNext();
        }
    } else {
        // The sheet's last field is its row total.
        rs = db.OpenRecordset("SELECT SeqNum, LineNum, " + fields.back().name + " FROM " + w.table +
                              " WHERE SeqNum > 0 ORDER BY SeqNum;");
    }

    for (size_t i = 0; i < h.size() && !rs.Eof(); ++i, rs.MoveNext()) {
        if (h[i].line <= Currency{}) continue;  // total lines pair off unread
        if (NzCur(rs["LineNum"]) != h[i].line) {
            Show_Message(std::string("Tables ") + w.name + " and H are inconsistant at Line " +
                         NzCur(rs["SeqNum"]).ToText() + ". Calculation terminated!");
            return false;
        }
        // As a write of the amount would refuse it, at the row that meets it.
        const auto take = [&](int column, Currency amount) {
            if (!db::IsStorableAmount(amount)) throw db::AmountOverflow(Format(Value(amount), "#,##0.00"), "H");
            cells[i].emplace_back(column, amount);
        };
        if (byCategory) {
            std::array<Currency, 5> sum{};
            for (size_t f = static_cast<size_t>(w.firstField); f < fields.size(); ++f)
                if (category[f] > 0) sum[static_cast<size_t>(category[f])] += NzCur(rs.Field(static_cast<int>(f)));
            for (int c = 1; c <= 4; ++c)
                if (w.target[c - 1] != 0) take(w.target[c - 1], sum[static_cast<size_t>(c)]);
        } else {
            take(w.target[0], NzCur(rs.Field(2)));
        }
    }
    return true;
}

// Each row of H that the walks gave amounts, written once.
void WriteWalks(const std::vector<HLine>& h, const HCells& cells) {
    for (size_t i = 0; i < h.size(); ++i) {
        if (cells[i].empty()) continue;
        std::string set;
        std::vector<Value> params;
        for (const auto& [column, amount] : cells[i]) {
            set += (set.empty() ? "" : ", ") + Col(column) + " = ?";
            params.emplace_back(amount);
        }
        params.emplace_back(h[i].seq);
        Db().Execute("UPDATE H SET " + set + " WHERE SeqNum = ?;", params);
    }
}

// Each block's total and the three kinds' totals over the blocks.
std::string BlockTotals(const std::string& where) {
    auto sum = [](std::initializer_list<int> cols) {
        std::string s;
        for (int k : cols) s += (s.empty() ? "" : "+") + ("IFNULL(" + Col(k) + ",0)");
        return "CCur(" + s + ")";
    };
    return "UPDATE H SET Col_4=" + sum({1, 2, 3}) + ",Col_8=" + sum({5, 6, 7}) + ",Col_12=" + sum({9, 10, 11}) +
           ",Col_16=" + sum({13, 14, 15}) + ",Col_17=" + sum({1, 5, 9, 13}) + ",Col_18=" + sum({2, 6, 10, 14}) +
           ",Col_19=" + sum({3, 7, 11, 15}) + " WHERE " + where + ";";
}

// ---- Print ----

struct Pass {
    int first, last;
    const char* captions[2];  // over the first and the second block of four columns
};

const Pass kPasses[] = {
    {1, 8, {"------------ Old Capital Related Costs -----------", "------------ New Capital Related Costs -----------"}},
    {9, 16, {"----------- Other Capital Related Costs ----------", "------------ Non-Capital Related Costs -----------"}},
    {17, 20, {"------------- Total Home Office Costs ------------", nullptr}},
};

// The headings of one block of four columns (Direct, Functional, Pooled,
// Total), `at` columns to the right of the first block's.
const print::Heading kBlockHeading = {
    {{76, "Direct"}, {87, "Functional"}, {102, "Pooled"}, {115, "Total"}},
    {{73, "Home Office"}, {86, "Home Office"}, {99, "Home Office"}, {112, "Allocation"}},
    {{76, "Costs"}, {89, "Costs"}, {102, "Costs"}, {113, "of Costs"}},
};

void PrintHHeading(print::SheetPrint& sp, const Pass& p) {
    sp.NewPage();
    print::Heading h = {
        {{1, " Allocation of Home Office Capital Costs to Chain Components"}},
        {},
        {},
        {},
        {},
        {{50, "Medicare"}, {63, "Fiscal"}},
        {{20, "Chain Components"}, {53, "No."}, {62, "Year End"}},
        {},
        {{8, std::string(40, '_')}, {51, std::string(7, '_')}, {61, std::string(10, '_')}},
    };
    const int blocks = p.captions[1] ? 2 : 1;
    for (int b = 0; b < blocks; ++b) {
        h[3].push_back({73 + 52 * b, p.captions[b]});
        for (std::size_t k = 0; k < kBlockHeading.size(); ++k)
            for (const auto& item : kBlockHeading[k]) h[4 + k].push_back({item.col + 52 * b, item.text});
    }
    for (int c = p.first; c <= p.last; ++c) {
        // Column numbers as a number prints: a blank for the sign, the digits, a blank.
        h[7].push_back({77 + 13 * (c - p.first), " " + std::to_string(c) + " "});
        h[8].push_back({73 + 13 * (c - p.first), std::string(11, '_')});
    }
    sp.lines += print::WriteHeading(sp.out(), h);
}

void PrintHRow(print::SheetPrint& sp, const db::Recordset& rs, const Pass& p) {
    auto out = sp.out();
    out.Figure(1, 6, print::AmountText(rs["SeqNum"]));
    out.Text(8, 42, Nz_Str(rs["Component"]).ToText());
    out.Text(51, 9, Nz_Str(rs["MedicareNo"]).ToText());
    out.Tab(61) << print::Format_Date(rs["FYE"]);
    for (int c = p.first; c <= p.last; ++c) out.Figure(71 + 13 * (c - p.first), 13, print::WholeAmountText(rs[Col(c)]));
    sp.lines += out.Line();
}

}  // namespace

void Build_H() {
    std::vector<db::FieldDef> fields = {db::CurrencyField("SeqNum"), db::CurrencyField("LineNum"),
                                        db::TextField("Component", 40, true), db::TextField("MedicareNo", 7, true),
                                        db::DateField("FYE")};
    for (int k = 1; k <= kColumns; ++k) fields.push_back(db::CurrencyField(Col(k)));
    db::Transaction tx(Db());
    // The index comes first: A Part IV's own line 9 takes row 27, and the
    // fallback row 27 below is then dropped.
    const auto fixed = [](int row, int line, const char* caption) {
        return Seed("INSERT INTO H (SeqNum,LineNum,Component) VALUES (" + std::to_string(row) + "," +
                        std::to_string(line) + ",?);",
                    {Value(caption)});
    };
    const auto& [part3, part4, part5] = kComponentBands;
    BuildTable("H", fields,
                {"CREATE UNIQUE INDEX ndx ON H (SeqNum);",
                 "INSERT INTO H (SeqNum, LineNum, Component, MedicareNo, FYE) "
                 "SELECT LineNum, LineNum, Component, MedicareNo, PeriodTo FROM Ap3;",
                 fixed(part3.totalRow, 0, part3.totalCaption),
                 "INSERT INTO H (SeqNum, LineNum, Component, FYE) SELECT CCur(LineNum+" + std::to_string(part4.offset) +
                     "), LineNum, Component, PeriodTo FROM Ap4;",
                 fixed(kFixedLineRow, kFixedLine, kFixedLineCaption),
                 fixed(part4.totalRow, 0, part4.totalCaption),
                 "INSERT INTO H (SeqNum, LineNum, Component) SELECT CCur(LineNum+" + std::to_string(part5.offset) +
                     "), LineNum, Col1 FROM Ap5;",
                 fixed(part5.totalRow, 0, part5.totalCaption),
                 fixed(kGrandTotalRow, 0, kGrandTotalCaption)});
    tx.Commit();
}

void Calc_H() {
    auto& db = Db();
    db::Transaction tx(db);
    {
        std::string zeros;
        for (int k = 1; k <= kColumns; ++k) zeros += (k > 1 ? "," : "") + Col(k) + "=0";
        db.Execute("UPDATE H SET " + zeros + ";");
    }
    std::vector<HLine> h;
    for (auto rs = db.OpenRecordset("SELECT SeqNum, LineNum FROM H ORDER BY SeqNum;"); !rs.Eof(); rs.MoveNext())
        h.push_back({NzCur(rs["SeqNum"]), NzCur(rs["LineNum"])});

    HCells cells(h.size());
    for (const Walk& w : kWalks) {
        if (!RunWalk(w, h, cells)) {
            // What the walks gave so far stays; no total is formed.
            WriteWalks(h, cells);
            tx.Commit();
            return;
        }
    }
    WriteWalks(h, cells);

    const std::string totalRows = TotalRowList(true);
    const std::string componentLines = "SeqNum NOT IN (" + totalRows + ")";
    db.Execute(BlockTotals(componentLines));
    db.Execute("UPDATE H SET Col_20=CCur(Col_17+Col_18+Col_19) WHERE " + componentLines + ";");
    std::vector<std::string> columns;
    for (int k = 1; k <= 16; ++k) columns.push_back(Col(k));
    WriteBandTotals("H", columns);
    db.Execute(BlockTotals("SeqNum IN (" + totalRows + ")"));
    db.Execute("UPDATE H SET Col_20=CCur(Col_17+Col_18+Col_19) WHERE SeqNum IN (" + TotalRowList(false) + ");");
    // The overall total is B's, not the sum of H's own columns.
    db.Execute("UPDATE H SET Col_20 = B.NetExpenses FROM B WHERE B.LineNum = 100 AND H.SeqNum = " +
               std::to_string(kGrandTotalRow) + ";");
    tx.Commit();
}

void Print_H(int& fileNum) {
    print::SheetPrint sp(fileNum, "H", "H", true);
    auto rs = Db().OpenRecordset(SelectSheet("H", "ORDER BY SeqNum;"));
    for (const Pass& p : kPasses) {
        if (rs.RecordCount() == 0) break;
        sp.lines = 999;
        // A row with the lines before it, all on one page.
        const auto row = [&](print::SheetPrint& s) {
            PrintGroupLines(s, NzCur(rs["SeqNum"]), 73, p.last - p.first + 1);
            PrintHRow(s, rs, p);
        };
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
            if (sp.PageFull(print::LinesOf(row))) PrintHHeading(sp, p);
            row(sp);
        }
    }
    sp.Finish(2);
}

}  // namespace vt
