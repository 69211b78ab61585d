#include "engine/chain/g.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "engine/chain/component_rows.h"
#include "engine/chain/component_sheet.h"
#include "engine/chain/wide_print.h"
#include "engine/general/b.h"
#include "platform/db/db.h"
#include "platform/ui/ui.h"
#include "print/print.h"
#include "store/builder.h"
#include "store/report.h"
#include "store/services.h"

namespace vt {

namespace {

constexpr int kFirstValueField = 5;  // after SeqNum, LineNum, Component, TotalCost, Ratio

const char* const kPart1Mismatch =
    "The cost centers in Worksheet G, Part 1 do not agree with the cost centers in Worksheet B";
const char* const kPart2Mismatch =
    "The cost centers in Worksheet G, Part 2 do not agree with the cost centers in Worksheet B";

Currency Whole(int n) { return Currency::FromInt(n); }
Currency Abs(Currency c) { return c < Currency{} ? -c : c; }
Currency NzCur(const Value& v) { return Nz_Num(v).ToCurrency(); }

// ---- Building ----

struct GLayout {
    std::vector<db::FieldDef> fields;
    std::string names;  // ",Col_1,Col_2..."
    std::string marks;  // ",?,?..."
    std::vector<Value> row0;
};

// The value columns come from the cost-centre list: the capital cost centres
// (below 6), the Non-Capital column (row-0 value 0) that gathers every other
// pooled cost, then the interest cost centres (30 up to 32).
GLayout MakeLayout() {
    GLayout l;
    l.fields = {db::CurrencyField("SeqNum"), db::CurrencyField("LineNum"), db::TextField("Component", 40),
                db::CurrencyField("TotalCost"), db::DoubleField("Ratio")};
    std::vector<Currency> numbers;
    bool nonCapital = false;
    auto cc = Db().OpenRecordset(
        "SELECT CCNum FROM CostCenters WHERE (CCNum < 6) OR ((CCNum >= 30) AND (CCNum < 32)) ORDER BY CCNum;");
    for (; !cc.Eof(); cc.MoveNext()) {
        const Currency n = NzCur(cc["CCNum"]);
        if (!nonCapital && n >= Whole(6)) {
            numbers.push_back(Currency{});
            nonCapital = true;
        }
        numbers.push_back(n);
    }
    // A list without interest cost centres still needs somewhere for the
    // other pooled costs to go.
    if (!numbers.empty() && !nonCapital) numbers.push_back(Currency{});

    for (size_t k = 1; k <= numbers.size(); ++k) {
        const std::string name = "Col_" + std::to_string(k);
        l.fields.push_back(db::CurrencyField(name));
        l.names += "," + name;
        l.marks += ",?";
        l.row0.emplace_back(numbers[k - 1]);
    }
    return l;
}

Seed Row0Seed(const std::string& table, const GLayout& l) {
    return {"INSERT INTO " + table + " (SeqNum, LineNum" + l.names + ") VALUES (0, 0" + l.marks + ");", l.row0};
}

// ---- Reading and writing ----

struct GRow {
    Currency seq;
    Currency totalCost;  // Null as 0
    double ratio = 0;
    std::vector<Currency> cells;
};

struct GSheet {
    std::string table;
    std::vector<std::string> columns;  // value column names, in field order
    std::vector<Value> row0;           // each value column's cost centre as stored
    std::vector<GRow> rows;            // every row after row 0, in SeqNum order

    GRow* Find(Currency seq) {
        for (auto& r : rows)
            if (r.seq == seq) return &r;
        return nullptr;
    }
};

GSheet ReadSheet(const std::string& table) {
    GSheet g;
    g.table = table;
    const auto fields = Db().Fields(table);
    for (size_t i = kFirstValueField; i < fields.size(); ++i) g.columns.push_back(fields[i].name);
    auto rs = Db().OpenRecordset(SelectSheet(table, "ORDER BY SeqNum;"));
    auto cell = [&](size_t k) { return rs.Field(kFirstValueField + static_cast<int>(k)); };
    if (!rs.Eof()) {
        for (size_t k = 0; k < g.columns.size(); ++k) g.row0.push_back(cell(k));
        rs.MoveNext();
    }
    for (; !rs.Eof(); rs.MoveNext()) {
        GRow r;
        r.seq = NzCur(rs["SeqNum"]);
        r.totalCost = NzCur(rs["TotalCost"]);
        r.ratio = Nz_Num(rs["Ratio"]).ToDouble();
        for (size_t k = 0; k < g.columns.size(); ++k) r.cells.push_back(NzCur(cell(k)));
        g.rows.push_back(std::move(r));
    }
    return g;
}

void WriteRow(const GSheet& g, const GRow& r, bool withTotalCost) {
    std::string set;
    std::vector<Value> params;
    if (withTotalCost) {
        set = "TotalCost = ?, ";
        params.emplace_back(r.totalCost);
    }
    set += "Ratio = ?";
    params.emplace_back(r.ratio);
    for (size_t k = 0; k < g.columns.size(); ++k) {
        set += ", " + g.columns[k] + " = ?";
        params.emplace_back(r.cells[k]);
    }
    params.emplace_back(r.seq);
    db::AtLine(g.table, r.seq.ToText(),
               [&] { Db().Execute("UPDATE " + g.table + " SET " + set + " WHERE SeqNum = ?;", params); });
}

std::vector<Currency> CostCentres(const GSheet& g) {
    std::vector<Currency> cc;
    for (const auto& v : g.row0) cc.push_back(NzCur(v));
    return cc;
}

// The last column whose row-0 value is 0; -1 when there is none.
int NonCapitalColumn(const GSheet& g, bool nullCounts) {
    int found = -1;
    for (size_t k = 0; k < g.row0.size(); ++k) {
        const Value& v = g.row0[k];
        if (v.IsNull() ? nullCounts : NzCur(v) == Currency{}) found = static_cast<int>(k);
    }
    return found;
}

// ---- Allocation ----

double RatioOf(Currency part, Currency whole) {
    return whole == Currency{} ? 0.0 : RoundDouble(part.ToDouble() / whole.ToDouble(), 6);
}

Currency ShareOf(Currency amount, double ratio) {
    return Currency::FromDouble(RoundDouble(amount.ToDouble() * ratio, 0));
}

// The row whose cell in column k is largest in absolute value among the rows
// `within` accepts; of equal cells, the first. Null when no row is accepted.
template <class Within>
GRow* LargestCell(std::vector<GRow>& rows, size_t k, Within within) {
    GRow* best = nullptr;
    for (auto& r : rows)
        if (within(r.seq) && (!best || Abs(r.cells[k]) > Abs(best->cells[k]))) best = &r;
    return best;
}

// Worksheet B's pooled costs, column by column. Each line below 10 (capital)
// and each line 30.xx (interest) fills the next column of its own, passing
// over the Non-Capital column, and must carry that column's cost centre;
// every other line up to 35 goes to the Non-Capital column. Lines 3, 6-10
// and from 36 on are totals or have no column here. Nothing when B and the
// sheet's columns do not agree.
std::optional<std::vector<Currency>> PooledCosts(const std::vector<Currency>& cc, int nonCapital,
                                                 bool interestAlsoNonCapital) {
    auto rs = Db().OpenRecordset(
        "SELECT LineNum, CCNum, PooledAlloc FROM B WHERE (LineNum < 36) AND Int(LineNum) NOT IN (3,6,7,8,9,10) "
        "ORDER BY LineNum;");
    std::vector<Currency> pool(cc.size());
    auto toNonCapital = [&](Currency amount) {
        if (nonCapital < 0) return false;
        pool[static_cast<size_t>(nonCapital)] += amount;
        return true;
    };
    size_t c = 0;
    for (; !rs.Eof(); rs.MoveNext()) {
        const Currency line = NzCur(rs["LineNum"]);
        const Currency amount = NzCur(rs["PooledAlloc"]);
        const bool interest = line.Floor() == Whole(30);
        if (line < Whole(kBOtherCapitalSubtotal) || interest) {
            if (static_cast<int>(c) == nonCapital) ++c;
            if (c >= cc.size() || NzCur(rs["CCNum"]) != cc[c]) return std::nullopt;
            pool[c++] = amount;
            if (interest && interestAlsoNonCapital && !toNonCapital(amount)) return std::nullopt;
        } else if (!toNonCapital(amount)) {
            return std::nullopt;
        }
    }
    return pool;
}

// ---- Part II bands ----

// The rows of a band, up to .01 below its total (A Part IV's row 27 among them).
bool InBand(Currency seq, size_t band) {
    const ComponentBand& b = kComponentBands[band];
    return seq >= RowAt(b.first) && seq <= Whole(b.totalRow) - RowAt(1);
}

// ---- Print ----

constexpr int kBlock = 9;  // print columns per page

int ColumnX(int i, int first) { return 51 + 13 * (i - first); }

struct GPrintPart {
    int part;
    std::vector<Currency> cc;  // of the value columns, Null as 0
    int count;                 // print columns: Total Cost, Ratio, then the value columns
};

void PrintGHeading(print::SheetPrint& sp, const GPrintPart& p, int first, int last) {
    sp.NewPage();
    print::Heading h = {
        {{1, p.part == 1 ? "Part I - Allocation of Home Office Pooled Costs Between Health Care Facilities "
                           "and Other Chain Components"
                         : "Part II - Allocation to Individual Chain Components"}},
        {},
        {},
        first == 1 ? print::HeadingLine{{52, "Allocation Statistics"}} : print::HeadingLine{},
    };
    for (int label = 1; label <= 3; ++label) {
        print::HeadingLine fixed;
        if (label == 3) fixed.push_back({20, "Chain Components"});
        std::vector<print::HeadingItem> labels;
        for (int i = first; i <= last; ++i) {
            const int x = ColumnX(i, first);
            if (i == 1) fixed.push_back(label == 1 ? print::HeadingItem{x, std::string(24, '-')}
                                        : label == 2 ? print::HeadingItem{x + 3, "Base:"}
                                                     : print::HeadingItem{x, "Total Cost"});
            else if (i == 2 && label == 3) fixed.push_back({x + 3, "Ratio"});
            else if (i >= 3 && label == 3 && p.cc[i - 3] == Currency{}) fixed.push_back({x, "Non-Capital"});
            else if (i >= 3 && (label == 3 || p.cc[i - 3] > Currency{}))
                labels.push_back({x, Get_CC_Label(p.cc[i - 3], label, 0)});
        }
        for (auto& line : LabelLines(std::move(fixed), labels)) h.push_back(std::move(line));
    }
    print::HeadingLine numbers, rules{{8, std::string(40, '_')}};
    for (int i = first; i <= last; ++i) {
        const int x = ColumnX(i, first);
        if (i == 1) numbers.push_back({x + 5, "1"});
        else if (i == 2) numbers.push_back({x + 5, "1A"});
        else if (p.cc[i - 3] == Currency{}) numbers.push_back({x + 5, "6"});
        else {
            const std::string n = GColumnNumber(p.cc[i - 3]);
            numbers.push_back({x + 5 - (static_cast<int>(n.size()) - 1) / 2, n});
        }
        rules.push_back({x, std::string(11, '_')});
    }
    h.push_back(std::move(numbers));
    h.push_back(std::move(rules));
    sp.lines += print::WriteHeading(sp.out(), h);
}

void PrintGRow(print::SheetPrint& sp, const db::Recordset& rs, int first, int last) {
    auto out = sp.out();
    out.Figure(1, 6, print::AmountText(rs["SeqNum"]));
    out.Text(8, print::Out::WidthBefore(8, ColumnX(first, first) - 2), Nz_Str(rs["Component"]).ToText());
    for (int i = first; i <= last; ++i) {
        // Print column i is field i + 2: TotalCost, Ratio, Col_1 ...
        const Value v = rs.Field(i + 2);
        out.Figure(ColumnX(i, first) - 2, 13, i == 2 ? Format(v, "0.000000") : print::WholeAmountText(v));
    }
    sp.lines += out.Line();
}

// Each block of nine print columns runs through all the rows, over as many
// pages as they take, before the next block starts on a page of its own.
void PrintGPart(print::SheetPrint& sp, int part) {
    const std::string table = "Gp" + std::to_string(part);
    auto rs = Db().OpenRecordset(SelectSheet(table, "ORDER BY SeqNum;"));
    if (rs.Eof()) return;

    GPrintPart p{part, {}, rs.FieldCount() - 3};
    for (int i = kFirstValueField; i < rs.FieldCount(); ++i) p.cc.push_back(NzCur(rs.Field(i)));
    rs.MoveNext();
    if (rs.Eof()) return;
    const int firstRow = rs.Position();

    for (int first = 1; first <= p.count; first += kBlock) {
        const int last = std::min(p.count, first + kBlock - 1);
        const int count = last - first + 1;
        rs.MoveTo(firstRow);
        sp.lines = 999;
        // A row with the lines before it, all on one page.
        const auto row = [&](print::SheetPrint& s) {
            const Currency seq = NzCur(rs["SeqNum"]);
            if (part == 2) PrintGroupLines(s, seq, ColumnX(first, first), count);
            else if (seq == Whole(4)) PrintColumnRule(s, ColumnX(first, first), count);
            PrintGRow(s, rs, first, last);
        };
        for (; !rs.Eof(); rs.MoveNext()) {
            if (sp.PageFull(print::LinesOf(row))) PrintGHeading(sp, p, first, last);
            row(sp);
        }
    }
}

}  // namespace

std::string GColumnNumber(Currency cc) {
    if (cc < Whole(4)) return (cc + Whole(1)).ToText();
    if (cc < Whole(30)) return cc.ToText();
    return (cc - Whole(23)).ToText();
}

void Build_Gp1() {
    const GLayout l = MakeLayout();
    db::Transaction tx(Db());
    BuildTable("Gp1", l.fields,
                {Row0Seed("Gp1", l),
                 "INSERT INTO Gp1 (SeqNum,LineNum,Component,TotalCost) VALUES (1,-1,'Health Care Facilities',0);",
                 "INSERT INTO Gp1 (SeqNum,LineNum,Component,TotalCost) VALUES (2,-1,'Other Components',0);",
                 "INSERT INTO Gp1 (SeqNum,LineNum,Component,TotalCost) "
                 "VALUES (3,-1,'Cost requiring overhead allocation',0);",
                 "INSERT INTO Gp1 (SeqNum,LineNum,Component) VALUES (4,-1,'Total');"},
                "CREATE UNIQUE INDEX ndx ON Gp1 (SeqNum);");
    tx.Commit();
}

void Build_Gp2() {
    const GLayout l = MakeLayout();
    // The index comes first: a component line that would stand on a total
    // row's place is dropped, rather than the index failing afterwards.
    std::vector<Seed> seeds = {"CREATE UNIQUE INDEX ndxG ON Gp2 (SeqNum);", Row0Seed("Gp2", l)};
    auto a3 = Db().OpenRecordset("SELECT LineNum, Component FROM Ap3 ORDER BY LineNum;");
    for (; !a3.Eof(); a3.MoveNext()) {
        const Value line = a3["LineNum"];
        // Component takes no empty text here, so a nameless line gets a blank.
        seeds.emplace_back("INSERT INTO Gp2 (SeqNum, LineNum, Component, TotalCost) VALUES (?, ?, ?, 0);",
                           std::vector<Value>{line, line, Nz_Str(a3["Component"], Value(" "))});
    }
    const auto total = [&](int row, const char* caption) {
        seeds.emplace_back("INSERT INTO Gp2 (SeqNum,LineNum,Component) VALUES (" + std::to_string(row) + ",0,?);",
                           std::vector<Value>{Value(caption)});
    };
    const auto& [part3, part4, part5] = kComponentBands;
    total(part3.totalRow, part3.totalCaption);
    seeds.emplace_back("INSERT INTO Gp2 (SeqNum,LineNum,Component,TotalCost) SELECT CCur(LineNum+" +
                       std::to_string(part4.offset) + "), LineNum, Component, 0 FROM Ap4;");
    total(part4.totalRow, part4.totalCaption);
    seeds.emplace_back("INSERT INTO Gp2 (SeqNum,LineNum,Component,TotalCost) SELECT CCur(LineNum+" +
                       std::to_string(part5.offset) + "), LineNum, Col1, 0 FROM Ap5;");
    total(part5.totalRow, part5.totalCaption);
    total(kGrandTotalRow, kGrandTotalCaption);
    db::Transaction tx(Db());
    BuildTable("Gp2", l.fields, seeds);
    tx.Commit();
}

void Calc_Gp1() {
    auto& db = Db();
    db::Transaction tx(db);
    GSheet g = ReadSheet("Gp1");
    const size_t n = g.columns.size();
    const auto isLine = [](Currency seq) { return seq < Whole(4); };  // lines 1-3

    // The total of lines 1-3 is line 4's.
    Currency total;
    db::AtLine("Gp1", "4", [&] {
        for (const auto& r : g.rows)
            if (isLine(r.seq)) total += r.totalCost;
    });

    if (total == Currency{}) {
        // Nothing to divide by. The total costs the user entered stay: costs
        // that cancel out are still the user's figures.
        for (auto& r : g.rows) {
            r.ratio = 0;
            std::fill(r.cells.begin(), r.cells.end(), Currency{});
            r.totalCost = Currency{};
            WriteRow(g, r, !isLine(r.seq));
        }
        tx.Commit();
        return;
    }

    const auto pool = PooledCosts(CostCentres(g), NonCapitalColumn(g, false), true);
    if (!pool) {
        Show_Message(kPart1Mismatch);
        tx.Commit();
        return;
    }

    std::vector<Currency> sum(n);
    GRow* line4 = nullptr;
    for (auto& r : g.rows) {
        if (!isLine(r.seq)) {
            if (!line4) line4 = &r;
            continue;
        }
        ui::Ui().DoEvents();
        r.ratio = RatioOf(r.totalCost, total);
        for (size_t k = 0; k < n; ++k) {
            r.cells[k] = ShareOf((*pool)[k], r.ratio);
            sum[k] += r.cells[k];
        }
    }
    // Line 4 is the pooled amount itself: lines 1-3 add up to it exactly.
    if (line4) {
        line4->ratio = 1;
        line4->totalCost = total;
        line4->cells = *pool;
    }
    for (size_t k = 0; k < n; ++k)
        if (sum[k] != (*pool)[k])
            if (GRow* big = LargestCell(g.rows, k, isLine)) big->cells[k] += (*pool)[k] - sum[k];

    for (const auto& r : g.rows)
        if (isLine(r.seq) || &r == line4) WriteRow(g, r, &r == line4);
    tx.Commit();
}

void Calc_Gp2() {
    auto& db = Db();
    db::Transaction tx(db);
    GSheet g = ReadSheet("Gp2");
    const size_t n = g.columns.size();
    const Currency grandRow = Whole(kGrandTotalRow);

    // Part I mode divides Part I's three lines band by band; without a total
    // cost in Part I, the pooled costs of B are divided over the whole sheet.
    const GSheet part1 = ReadSheet("Gp1");
    const bool partIMode = !part1.rows.empty() && part1.rows.back().totalCost > Currency{};
    auto part1Line = [&](int line) {
        std::vector<Currency> amounts(n);
        for (const auto& r : part1.rows)
            if (r.seq == Whole(line))
                for (size_t k = 0; k < n && k < r.cells.size(); ++k) amounts[k] = r.cells[k];
        return amounts;
    };

    // Band totals of the total cost; written even when B disagrees below.
    std::array<Currency, 3> bandCost{};
    for (auto& r : g.rows) {
        if (r.seq >= grandRow) break;
        // A band's sum belongs to its total row.
        const Currency band = Whole(kComponentBands[BandIndexOf(r.seq)].totalRow);
        db::AtLine("Gp2", band.ToText(), [&] {
            if (IsBandTotalRow(r.seq)) {
                r.totalCost = bandCost[BandIndexOf(r.seq)];
                db.Execute("UPDATE Gp2 SET TotalCost = ? WHERE SeqNum = ?;", {Value(r.totalCost), Value(r.seq)});
            } else {
                bandCost[BandIndexOf(r.seq)] += r.totalCost;
            }
        });
    }
    db::AtLine("Gp2", grandRow.ToText(), [&] {
        db.Execute("UPDATE Gp2 SET TotalCost = ? WHERE SeqNum = ?;",
                   {Value(bandCost[0] + bandCost[1] + bandCost[2]), Value(grandRow)});
    });

    std::vector<Currency> alloc(n), pool(n), bandSum(n);
    if (partIMode) {
        alloc = pool = part1Line(1);
    } else {
        const auto pooled = PooledCosts(CostCentres(g), NonCapitalColumn(g, true), false);
        if (!pooled) {
            Show_Message(kPart2Mismatch);
            tx.Commit();
            return;
        }
        pool = *pooled;
    }

    // Ratios, each band's adding up to exactly 1: the largest takes the
    // rounding difference (the first of equals).
    ui::Ui().DoEvents();
    {
        double largest = 0, sum = 0;
        GRow* holder = nullptr;
        for (auto& r : g.rows) {
            if (r.seq >= grandRow) break;
            if (IsBandTotalRow(r.seq)) {
                if (holder) holder->ratio = RoundDouble(1 - sum + largest, 6);
                largest = sum = 0;
                holder = nullptr;
                continue;
            }
            // In pooled-cost mode every band is measured against band 1.
            r.ratio = RatioOf(r.totalCost, bandCost[partIMode ? BandIndexOf(r.seq) : 0]);
            if (r.ratio > largest) {
                largest = r.ratio;
                holder = &r;
            }
            sum += r.ratio;
        }
    }

    ui::Ui().DoEvents();
    for (auto& r : g.rows) {
        if (r.seq >= grandRow) break;
        const size_t band = BandIndexOf(r.seq);
        if (!IsBandTotalRow(r.seq)) {
            for (size_t k = 0; k < n; ++k) {
                r.cells[k] = ShareOf(partIMode ? alloc[k] : pool[k], r.ratio);
                if (!partIMode) alloc[k] += r.cells[k];
                bandSum[k] += r.cells[k];
            }
            continue;
        }
        if (partIMode) {
            // Each band's cells add up exactly to its line of Part I.
            r.ratio = 1;
            for (size_t k = 0; k < n; ++k) {
                if (bandSum[k] != alloc[k])
                    if (GRow* big = LargestCell(g.rows, k, [band](Currency s) { return InBand(s, band); }))
                        big->cells[k] += alloc[k] - bandSum[k];
                bandSum[k] = Currency{};
            }
            r.cells = alloc;
            if (band < 2) {
                alloc = part1Line(static_cast<int>(band) + 2);
                for (size_t k = 0; k < n; ++k) pool[k] += alloc[k];
            }
        } else {
            r.ratio = bandCost[band] == Currency{} ? 0.0 : 1.0;
            r.cells = alloc;
            std::fill(alloc.begin(), alloc.end(), Currency{});
        }
    }
    if (GRow* grand = g.Find(grandRow)) {
        grand->ratio = 1;
        grand->cells = pool;
    }

    if (!partIMode) {
        // The cells over all bands against the pooled amounts: the difference
        // goes on the largest component cell and on its band's total.
        for (size_t k = 0; k < n; ++k) {
            if (bandSum[k] == pool[k]) continue;
            const Currency d = pool[k] - bandSum[k];
            GRow* big = LargestCell(g.rows, k, [](Currency s) { return IsComponentRow(s); });
            if (big && big->cells[k] != Currency{}) big->cells[k] += d;
            const size_t bandIndex = big ? BandIndexOf(big->seq) : kComponentBands.size() - 1;
            if (GRow* t = g.Find(Whole(kComponentBands[bandIndex].totalRow))) t->cells[k] += d;
        }
    }

    for (const auto& r : g.rows)
        if (r.seq <= grandRow) WriteRow(g, r, false);
    tx.Commit();
}

void Print_G(int& fileNum) {
    print::SheetPrint sp(fileNum, "G", "G", true);
    PrintGPart(sp, 1);
    PrintGPart(sp, 2);
    sp.Finish(2);
}

}  // namespace vt
