#include "engine/general/b2.h"

#include <array>
#include <string>
#include <vector>

#include "platform/db/db.h"
#include "platform/value/value.h"
#include "print/print.h"
#include "store/builder.h"
#include "store/report.h"
#include "store/services.h"

namespace vt {

namespace {

using db::CurrencyField;
using db::DoubleField;
using db::TextField;

constexpr Currency LineNo(int hundredths) { return Currency{hundredths * 100LL}; }

// The amount columns of Parts I and II, in field order. Every one of them is
// totalled on rows 7 and 9.
constexpr std::array<const char*, 7> kAssetColumns{"BegBalance",  "Purchases", "Donation", "TotAcquisitions",
                                                   "Disposals",   "EndBalance", "DepAssets"};

constexpr std::array<const char*, 9> kAssetRows{"Land",
                                                "Land Improvements",
                                                "Buildings and Fixtures",
                                                "Building Improvements",
                                                "Fixed Equipment",
                                                "Movable Equipment",
                                                "SubTotal",
                                                "Reconciling items",
                                                "Total"};

struct CentreSeed {
    int line;  // hundredths
    const char* description;
};

constexpr std::array<CentreSeed, 8> kCentreRows{{
    {100, "Old Cap. Rel Costs-Bldgs and Fixtures"},
    {101, "Int. Exp.-Old Capital Bldg and Fixtures"},
    {200, "Old  Cap. Rel. Costs-Movable Equipment"},
    {201, "Int. Exp.-Old Capital Movable Equip."},
    {300, "New Cap. Rel Costs-Bldgs and Fixtures"},
    {301, "Int. Exp.-New Capital Bldg and Fixtures"},
    {400, "New Cap. Rel. Costs-Movable Equipment"},
    {401, "Int. Exp.-New Capital Movable Equip."},
}};

// Parts I and II share their layout, rows and rules; only the table differs.
void BuildAssetPart(const std::string& table) {
    std::vector<db::FieldDef> fields{CurrencyField("SeqNum"), TextField("Description", 25, true)};
    for (const char* column : kAssetColumns) fields.push_back(CurrencyField(column));
    std::vector<Seed> seeds;
    for (size_t i = 0; i < kAssetRows.size(); ++i)
        seeds.emplace_back("INSERT INTO " + table +
                               " (SeqNum,Description,BegBalance,Purchases,Donation,Disposals,DepAssets) "
                               "VALUES (?,?,0,0,0,0,0);",
                           std::vector<Value>{Value(static_cast<int>(i + 1)), Value(kAssetRows[i])});
    BuildTable(table, fields, seeds, "CREATE UNIQUE INDEX ndx ON " + table + " (SeqNum);");
}

void CalcAssetPart(const std::string& table) {
    db::Database& d = Db();
    db::Transaction tx(d);
    // Row 8, the reconciling items, follows the same row rules as the asset
    // classes; rows 7 and 9 are only ever column totals.
    d.Execute("UPDATE " + table +
              " SET TotAcquisitions = CCur(IFNULL(Purchases,0)+IFNULL(Donation,0)) WHERE SeqNum NOT IN (7,9)");
    d.Execute("UPDATE " + table +
              " SET EndBalance = CCur(IFNULL(BegBalance,0)+IFNULL(TotAcquisitions,0)-IFNULL(Disposals,0))"
              " WHERE SeqNum NOT IN (7,9)");
    for (const std::string column : kAssetColumns) {
        Currency subTotal =
            Nz_Num(d.Scalar("SELECT SUM(" + column + ") FROM " + table + " WHERE SeqNum < 7")).ToCurrency();
        d.Execute("UPDATE " + table + " SET " + column + " = ? WHERE SeqNum = 7", {Value(subTotal)});
        Currency reconciling =
            Nz_Num(d.Scalar("SELECT " + column + " FROM " + table + " WHERE SeqNum = 8")).ToCurrency();
        d.Execute("UPDATE " + table + " SET " + column + " = ? WHERE SeqNum = 9", {Value(subTotal - reconciling)});
    }
    tx.Commit();
}

Currency Amount(const db::Recordset& rs, const char* field) { return Nz_Num(rs[field]).ToCurrency(); }

}  // namespace

void Build_B2p1() { BuildAssetPart("B2p1"); }
void Build_B2p2() { BuildAssetPart("B2p2"); }

void Build_B2p3() {
    std::vector<Seed> seeds;
    for (const CentreSeed& s : kCentreRows)
        seeds.emplace_back("INSERT INTO B2p3 (SeqNum,Description,GrossAssets,CapLeases,Depreciation,Lease,Interest) "
                           "VALUES (?,?,0,0,0,0,0);",
                           std::vector<Value>{Value(LineNo(s.line)), Value(s.description)});
    seeds.emplace_back("INSERT INTO B2p3 (SeqNum,Description,Insurance,Taxes,CapRelated) VALUES (5,'Total',0,0,0);");
    BuildTable("B2p3",
                {
                    CurrencyField("SeqNum"),
                    TextField("Description", 40, true),
                    CurrencyField("GrossAssets"),
                    CurrencyField("CapLeases"),
                    CurrencyField("RatioAssets"),
                    DoubleField("Ratio"),
                    CurrencyField("Insurance"),
                    CurrencyField("Taxes"),
                    CurrencyField("CapRelated"),
                    CurrencyField("Total1"),
                    CurrencyField("Depreciation"),
                    CurrencyField("Lease"),
                    CurrencyField("Interest"),
                    CurrencyField("Insurance2"),
                    CurrencyField("Taxes2"),
                    CurrencyField("CapRelated2"),
                    CurrencyField("Total2"),
                },
                seeds, "CREATE UNIQUE INDEX ndx ON B2p3 (SeqNum);");
}

void Calc_B2p1() { CalcAssetPart("B2p1"); }
void Calc_B2p2() { CalcAssetPart("B2p2"); }

void Calc_B2p3() {
    // The three amounts row 5 asks to allocate: insurance, taxes, other
    // capital-related costs.
    constexpr int kShares = 3;
    struct Centre {
        Currency seq;
        Currency gross, leases, ratioAssets, depreciation, lease, interest;
        double ratio = 0;
        std::array<Currency, kShares> share{};
        Currency total1, total2;
    };
    std::vector<Centre> centres;
    Currency totalSeq{};
    bool haveTotalRow = false;
    std::array<Currency, kShares> toAllocate{};

    db::Database& d = Db();
    db::Transaction tx(d);
    {
        db::Recordset rs = d.OpenRecordset("SELECT * FROM B2p3 ORDER BY SeqNum");
        for (; !rs.Eof(); rs.MoveNext()) {
            Value seq = rs["SeqNum"];
            if (seq.IsNull()) continue;
            if (seq.ToCurrency() >= LineNo(500)) {
                totalSeq = seq.ToCurrency();
                toAllocate = {Amount(rs, "Insurance"), Amount(rs, "Taxes"), Amount(rs, "CapRelated")};
                haveTotalRow = true;
                break;
            }
            Centre& c = centres.emplace_back();
            c.seq = seq.ToCurrency();
            c.gross = Amount(rs, "GrossAssets");
            c.leases = Amount(rs, "CapLeases");
            c.depreciation = Amount(rs, "Depreciation");
            c.lease = Amount(rs, "Lease");
            c.interest = Amount(rs, "Interest");
        }
    }
    if (!haveTotalRow) throw db::DbError("Worksheet B-2 Part III has no total line 5.");

    Currency sumGross, sumLeases, sumRatioAssets, sumDepreciation, sumLease, sumInterest, sumTotal1, sumTotal2;
    for (Centre& c : centres) {
        c.ratioAssets = c.gross - c.leases;
        sumGross += c.gross;
        sumLeases += c.leases;
        sumRatioAssets += c.ratioAssets;
        sumDepreciation += c.depreciation;
        sumLease += c.lease;
        sumInterest += c.interest;
    }

    std::array<Currency, kShares> remainder = toAllocate;
    for (Centre& c : centres) {
        c.ratio = sumRatioAssets == Currency{} ? 0.0
                                               : RoundDouble(c.ratioAssets.ToDouble() / sumRatioAssets.ToDouble(), 6);
        for (int k = 0; k < kShares; ++k) {
            c.share[k] = Currency::FromDouble(RoundDouble(c.ratio * toAllocate[k].ToDouble(), 0));
            remainder[k] -= c.share[k];
        }
    }

    // The rounding remainder goes a dollar at a time to the rows that have a
    // positive share, in line order, one dollar per row at most; what one
    // pass cannot place stays unallocated.
    const Currency dollar = Currency::FromInt(1);
    for (Centre& c : centres) {
        for (int k = 0; k < kShares; ++k) {
            if (remainder[k] != Currency{} && c.share[k] > Currency{}) {
                Currency step = remainder[k] > Currency{} ? dollar : -dollar;
                c.share[k] += step;
                remainder[k] -= step;
            }
        }
        c.total1 = c.share[0] + c.share[1] + c.share[2];
        sumTotal1 += c.total1;
        c.total2 = c.depreciation + c.lease + c.interest + c.total1;
        sumTotal2 += c.total2;
    }

    for (const Centre& c : centres)
        d.Execute("UPDATE B2p3 SET RatioAssets = ?, Ratio = ?, Insurance = ?, Taxes = ?, CapRelated = ?, Total1 = ?, "
                  "Insurance2 = ?, Taxes2 = ?, CapRelated2 = ?, Total2 = ? WHERE SeqNum = ?",
                  {Value(c.ratioAssets), Value(c.ratio), Value(c.share[0]), Value(c.share[1]), Value(c.share[2]),
                   Value(c.total1), Value(c.share[0]), Value(c.share[1]), Value(c.share[2]), Value(c.total2),
                   Value(c.seq)});
    // Row 5 keeps its amounts to allocate; its copies in the summary show
    // them whether or not they could be spread.
    d.Execute("UPDATE B2p3 SET GrossAssets = ?, CapLeases = ?, RatioAssets = ?, Ratio = 1, Depreciation = ?, "
              "Lease = ?, Interest = ?, Insurance2 = ?, Taxes2 = ?, CapRelated2 = ?, Total1 = ?, Total2 = ? "
              "WHERE SeqNum = ?",
              {Value(sumGross), Value(sumLeases), Value(sumRatioAssets), Value(sumDepreciation), Value(sumLease),
               Value(sumInterest), Value(toAllocate[0]), Value(toAllocate[1]), Value(toAllocate[2]), Value(sumTotal1),
               Value(sumTotal2), Value(totalSeq)});
    tx.Commit();
}

// ---------------------------------------------------------------- Print_B2

namespace {

using print::WholeAmountText;

std::string Text(const Value& v) { return Nz_Str(v).ToText(); }
std::string Dashes(int n) { return std::string(static_cast<size_t>(n), '-'); }
std::string Underscores(int n) { return std::string(static_cast<size_t>(n), '_'); }

// A run of eleven-character rules, one over each amount column.
void Rules(print::Out& o, const std::string& rule, std::initializer_list<int> columns) {
    for (int col : columns) o.Tab(col) << rule;
}

const print::Heading kAssetHeading = {
    {},
    {},
    {{57, "Acquisitions"}, {85, "Disposals"}, {113, "Fully"}},
    {{33, "Beginning"}, {45, Dashes(37)}, {88, "and"}, {100, "Ending"}, {110, "Depreciated"}},
    {{13, "Description"}, {34, "Balances"}, {46, "Purchases"}, {60, "Donation"}, {74, "Total"},
     {84, "Retirements"}, {99, "Balance"}, {113, "Assets"}},
    {{37, "1"}, {50, "2"}, {63, "3"}, {76, "4"}, {89, "5"}, {102, "6"}, {115, "7"}},
    {{8, Underscores(22)}, {32, Underscores(11)}, {45, Underscores(11)}, {58, Underscores(11)},
     {71, Underscores(11)}, {84, Underscores(11)}, {97, Underscores(11)}, {110, Underscores(11)}},
};

void PrintAssetPart(print::SheetPrint& sp, int part, const char* title) {
    print::Out o = sp.out();
    o.Tab(0) << title;
    o.Line();
    print::WriteHeading(o, kAssetHeading);

    db::Recordset rs = Db().OpenRecordset("SELECT * FROM B2p" + std::to_string(part) + " ORDER BY SeqNum");
    for (; !rs.Eof(); rs.MoveNext()) {
        Value seq = rs["SeqNum"];
        if (!seq.IsNull() && seq.ToCurrency() == LineNo(900)) {
            Rules(o, Dashes(11), {32, 45, 58, 71, 84, 97, 110});
            o.Line();
        }
        o.Figure(1, 6, print::AmountText(seq));
        // The form's asset names fill their 22-column rule, which ends where
        // the first figure's field begins; a figure that fills that field is
        // set a blank further along rather than touch the name.
        o.Text(8, 22, Text(rs["Description"]));
        int at = 30;
        for (const char* column : kAssetColumns) o.Figure(at, 13, WholeAmountText(rs[column])), at += 13;
        o.Line();
    }
}

const print::Heading kPartIIIHeading = {
    {{0, "Part III - Reconciliation of Capital Cost Centers"}},
    {},
    {},
    {{74, "Computation of Ratios"}, {120, "Allocation of Other Capital"}},
    {{60, Dashes(51)}, {113, Dashes(50)}},
    {{74, "Capitalized"}, {87, "Gross Assets"}, {138, "Other Capital"}},
    {{27, "Description"}, {60, "Gross Assets"}, {77, "Leases"}, {88, "for Ratio"}, {104, "Ratio"},
     {114, "Insurance"}, {129, "Taxes"}, {138, "Related Costs"}, {154, "Total(1)"}},
    {{66, "1"}, {79, "2"}, {92, "3"}, {105, "4"}, {118, "5"}, {131, "6"}, {144, "7"}, {157, "8"}},
    {{8, Underscores(49)}, {61, Underscores(11)}, {74, Underscores(11)}, {87, Underscores(11)},
     {100, Underscores(11)}, {113, Underscores(11)}, {126, Underscores(11)}, {139, Underscores(11)},
     {152, Underscores(11)}},
};

void PrintPartIII(print::SheetPrint& sp) {
    print::Out o = sp.out();
    print::WriteHeading(o, kPartIIIHeading);

    db::Recordset rs = Db().OpenRecordset("SELECT * FROM B2p3 ORDER BY SeqNum");
    for (; !rs.Eof(); rs.MoveNext()) {
        Value seq = rs["SeqNum"];
        if (!seq.IsNull() && seq.ToCurrency() == LineNo(500)) {
            Rules(o, Dashes(11), {61, 74, 87, 100, 113, 126, 139, 152});
            o.Line();
        }
        o.Figure(1, 6, print::AmountText(seq));
        o.Text(8, print::Out::WidthBefore(8, 59), Text(rs["Description"]));
        o.Figure(59, 13, WholeAmountText(rs["GrossAssets"])).Figure(72, 13, WholeAmountText(rs["CapLeases"]));
        o.Figure(85, 13, WholeAmountText(rs["RatioAssets"])).Figure(100, 13, Format(rs["Ratio"], "0.000000"));
        o.Figure(113, 13, WholeAmountText(rs["Insurance"])).Figure(126, 13, WholeAmountText(rs["Taxes"]));
        o.Figure(139, 13, WholeAmountText(rs["CapRelated"])).Figure(152, 13, WholeAmountText(rs["Total1"]));
        o.Line();
    }
}

const print::Heading kSummaryHeading = {
    {}, {}, {}, {}, {}, {},
    {{90, "Summary of Old and New Capital"}},
    {{60, Dashes(90)}},
    {{125, "Other Capital"}},
    {{28, "Description"}, {60, "Depreciation"}, {77, "Lease"}, {89, "Interest"}, {101, "Insurance"},
     {116, "Taxes"}, {125, "Related Costs"}, {141, "Total(2)"}},
    {{66, "9"}, {79, "10"}, {92, "11"}, {105, "12"}, {118, "13"}, {131, "14"}, {144, "15"}},
    {{8, Underscores(49)}, {61, Underscores(11)}, {74, Underscores(11)}, {87, Underscores(11)},
     {100, Underscores(11)}, {113, Underscores(11)}, {126, Underscores(11)}, {139, Underscores(11)}},
};

void PrintSummary(print::SheetPrint& sp) {
    print::Out o = sp.out();
    print::WriteHeading(o, kSummaryHeading);

    db::Recordset rs = Db().OpenRecordset("SELECT * FROM B2p3 ORDER BY SeqNum");
    for (; !rs.Eof(); rs.MoveNext()) {
        Value seq = rs["SeqNum"];
        if (!seq.IsNull() && seq.ToCurrency() == LineNo(500)) {
            Rules(o, Dashes(11), {61, 74, 87, 100, 113, 126, 139});
            o.Line();
        }
        o.Figure(1, 6, print::AmountText(seq));
        int at = 61;
        o.Text(8, print::Out::WidthBefore(8, at), Text(rs["Description"]));
        for (const char* column : {"Depreciation", "Lease", "Interest", "Insurance2", "Taxes2", "CapRelated2", "Total2"})
            o.Figure(at, 13, WholeAmountText(rs[column])), at += 13;
        o.Line();
    }
}

}  // namespace

void Print_B2(int& fileNum) {
    print::SheetPrint sp(fileNum, "B2", "B-2", /*landscape=*/true);
    sp.NewPage();
    PrintAssetPart(sp, 1, "Part I - Analysis of Changes in Old Capital Asset Balances");
    for (int i = 0; i < 6; ++i) sp.out().Line();
    PrintAssetPart(sp, 2, "Part II - Analysis of Changes in New Capital Asset Balances");
    sp.NewPage();
    PrintPartIII(sp);
    PrintSummary(sp);
    sp.Finish(2);
}

}  // namespace vt
