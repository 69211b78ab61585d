// A small but complete report, entered as the editors store it, calculated
// by Calc_All and printed whole. Every expected figure is worked out below by
// hand from the entries, not read back from the engines.
#include <map>
#include <string>
#include <vector>

#include "engine/chain/component_sheet.h"
#include "engine/chain/f1.h"
#include "print/print.h"
#include "report/calc_all.h"
#include "store/services.h"
#include "tests/report/shell_fixture.h"
#include "tests/support/print_files.h"

namespace vt::test {
namespace {

Currency C(long long whole) { return Currency::FromInt(whole); }
class WholeReport : public ShellTest {
protected:
    FixedPrintClock clock{*DateTime::FromParts(2007, 3, 15, 9, 30)};

    void Component(int part, int line, const std::string& name) {
        const Currency l = C(line);
        if (part == 3)
            Exec("INSERT INTO Ap3 (LineNum, Component, MedicareNo, PeriodFrom, PeriodTo) VALUES (?, ?, '123', ?, ?);",
                 {Value(l), Value(name), Day(2006, 1, 1), Day(2006, 12, 31)});
        else if (part == 4)
            Exec("INSERT INTO Ap4 (LineNum, Component, PeriodFrom, PeriodTo) VALUES (?, ?, ?, ?);",
                 {Value(l), Value(name), Day(2006, 1, 1), Day(2006, 12, 31)});
        else
            Exec("INSERT INTO Ap5 (LineNum, Col1) VALUES (?, ?);", {Value(l), Value(name)});
        Insert_Component_Line(l, part);
        Propagate_Component_Field(l, part, "Component", name);
    }

    void Set(const std::string& table, const std::string& field, double seq, long long amount) {
        Exec("UPDATE " + table + " SET " + field + " = ? WHERE SeqNum = ?;",
             {Value(C(amount)), Value(Currency::FromDouble(seq))});
    }

    // Health-care facilities North (line 1), South (2), West (3); the
    // pharmacy (A Part IV line 1, row 19) beside the fixed line 9 (row 27);
    // the East region (A Part V line 1, row 29).
    void EnterReport() {
        Exec("UPDATE Ap1 SET Info = '03/01/1998' WHERE SeqNum = 4;");
        Component(3, 1, "North Home");
        Component(3, 2, "South Home");
        Component(3, 3, "West Home");
        Component(4, 1, "Pharmacy");
        Component(5, 1, "East Region");

        for (auto [line, amount] : std::vector<std::pair<int, int>>{
                 {1, 10000}, {2, 6000}, {4, 8000}, {5, 4000}, {7, 1200}, {8, 600}, {11, 50000}, {12, 30000}, {20, 5000}})
            Exec("UPDATE B SET Expenses = ? WHERE LineNum = ?;", {Value(C(amount)), Value(line)});
        Exec("INSERT INTO B1 (SeqNum, Explanation, Code, UpCCName, UpCCNum, UpAmount, DnCCName, DnCCNum, DnAmount) "
             "VALUES (1, 'Officer wages', 'A', 'Salaries of Officers', 11, 1000, 'Salaries & Wages of Others', 12, 1000);");

        Exec("UPDATE B2p1 SET BegBalance = 100000, Purchases = 20000, Disposals = 5000 WHERE SeqNum = 3;");
        Exec("UPDATE B2p2 SET BegBalance = 40000, Purchases = 10000 WHERE SeqNum = 6;");
        Exec("UPDATE B2p3 SET Insurance = 1200, Taxes = 600, CapRelated = 0 WHERE SeqNum = 5;");
        Exec("UPDATE C SET Basis = 'A', Amount = -500, CCNum = 11, CCName = 'Salaries of Officers' WHERE LineNum = 1;");
        Exec("UPDATE DpA SET Answer = 'Yes';");
        Exec("INSERT INTO DpB (SeqNum, LineNum, ExpAcct, Amount, AmtAllowable) "
             "VALUES (1, 12, 'Salaries & Wages of Others', 3000, 2000);");
        Exec("INSERT INTO DpC (SeqNum, RelatedOrg, Type, OwnCntl) VALUES (1, 'Parent Holdings', 'Owner', '100%');");
        // E-1: one column, cost centre 20. F-1 Part II: two added columns, cost centres 11 and 12.
        AddChosenCCColumn("E1", C(20));
        AddF1Column(C(11));
        AddF1Column(C(12));
        using Entry = std::tuple<const char*, const char*, double, long long>;
        for (auto [table, field, seq, amount] : std::vector<Entry>{
                 // Gross assets 50% / 25% / 15% / 10%: insurance 1,200 and taxes 600 spread without remainder.
                 {"B2p3", "GrossAssets", 1, 50000}, {"B2p3", "GrossAssets", 2, 25000},
                 {"B2p3", "GrossAssets", 3, 15000}, {"B2p3", "GrossAssets", 4, 10000},
                 // E: Col_1 is cost centre 1, Col_5 is 4.
                 {"E", "Col_1", 1, 1000}, {"E", "Col_5", 19, 500}, {"E1", "Col_1", 2, 800}, {"E1", "Col_1", 27, 200},
                 // F Part II: cost centre 1 (Col_1) by 2:3:5 over the facilities,
                 // cost centre 2 (Col_3) by 1:1 over North and the region.
                 {"Fp2", "Col_1", 1, 2}, {"Fp2", "Col_1", 2, 3}, {"Fp2", "Col_1", 3, 5}, {"Fp2", "Col_1", 35, 3000},
                 {"Fp2", "Col_3", 1, 1}, {"Fp2", "Col_3", 29, 1}, {"Fp2", "Col_3", 35, 1000},
                 {"F1p2", "Col_1", 1, 1}, {"F1p2", "Col_1", 2, 1}, {"F1p2", "Col_1", 3, 2}, {"F1p2", "Col_1", 35, 10000},
                 {"F1p2", "Col_2", 19, 3}, {"F1p2", "Col_2", 29, 1}, {"F1p2", "Col_2", 35, 8000},
                 // G: 60% / 30% / 10% between the three lines of Part I; Part II by
                 // 5:3:2 over the facilities, 3:2 over row 19 and row 27.
                 {"Gp1", "TotalCost", 1, 600000}, {"Gp1", "TotalCost", 2, 300000}, {"Gp1", "TotalCost", 3, 100000},
                 {"Gp2", "TotalCost", 1, 50}, {"Gp2", "TotalCost", 2, 30}, {"Gp2", "TotalCost", 3, 20},
                 {"Gp2", "TotalCost", 19, 3}, {"Gp2", "TotalCost", 27, 2}, {"Gp2", "TotalCost", 29, 7},
                 // I: revenue, interest income, other expenses.
                 {"I", "Col_1", 1, 150000}, {"I", "Col_1", 4.03, 500}, {"I", "Col_1", 6, 300}})
            Set(table, field, seq, amount);
        for (auto [line, amount] : std::vector<std::pair<int, int>>{
                 {1, 20000}, {4, 5000}, {14, 100000}, {15, -10000}, {40, 8000}, {58, 50000}})
            Exec("UPDATE J SET Col_1 = ? WHERE LineNum = ?;", {Value(C(amount)), Value(line)});
    }

    Currency At(const std::string& table, const std::string& key, double keyValue, const std::string& field) {
        return Cur("SELECT " + field + " FROM " + table + " WHERE " + key + " = " +
                   SqlNumber(Currency::FromDouble(keyValue)) + ";");
    }
    std::vector<Currency> Row(const std::string& table, const std::string& key, double keyValue,
                              const std::vector<std::string>& fields) {
        std::vector<Currency> row;
        for (const auto& f : fields) row.push_back(At(table, key, keyValue, f));
        return row;
    }
};

TEST_F(WholeReport, CalculatesEverySheetFromTheEntries) {
    EnterReport();
    Calc_All();
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(ErrorRows(), std::vector<std::string>{" |No errors found"});

    // Worksheet B. Reclassifications: B-1 moves 1,000 from 12 to 11; B-2
    // Part III takes insurance 1,200 and taxes 600 off lines 7 and 8 and
    // gives lines 1, 2, 4, 5 their shares 600+300, 300+150, 180+90, 120+60.
    // Medicare adjustments: C -500 on 11; D Part B's net 1,000 off 12.
    // Direct: E row 34 (1,000 on 1, 500 on 4), E-1 (1,000 on 20). Functional:
    // F Part I (3,000 on 1, 1,000 on 2), F-1 Part I (10,000 on 11, 8,000 on 12).
    struct BLine {
        int line;
        long long exp, recl, tb, med, net, direct, func, pooled;
    };
    const std::vector<BLine> b = {
        {1, 10000, 900, 10900, 0, 10900, 1000, 3000, 6900},
        {2, 6000, 450, 6450, 0, 6450, 0, 1000, 5450},
        {3, 16000, 1350, 17350, 0, 17350, 1000, 4000, 12350},
        {4, 8000, 270, 8270, 0, 8270, 500, 0, 7770},
        {5, 4000, 180, 4180, 0, 4180, 0, 0, 4180},
        {6, 12000, 450, 12450, 0, 12450, 500, 0, 11950},
        {7, 1200, -1200, 0, 0, 0, 0, 0, 0},
        {8, 600, -600, 0, 0, 0, 0, 0, 0},
        {10, 1800, -1800, 0, 0, 0, 0, 0, 0},
        {11, 50000, 1000, 51000, -500, 50500, 0, 10000, 40500},
        {12, 30000, -1000, 29000, -1000, 28000, 0, 8000, 20000},
        {20, 5000, 0, 5000, 0, 5000, 1000, 0, 4000},
        {36, 85000, 0, 85000, -1500, 83500, 1000, 18000, 64500},
        {100, 114800, 0, 114800, -1500, 113300, 2500, 22000, 88800},
    };
    for (const auto& l : b) {
        SCOPED_TRACE("B line " + std::to_string(l.line));
        EXPECT_EQ(Row("B", "LineNum", l.line, {"Expenses", "Reclassifications", "TrialBalance", "MedicareAdj", "NetExpenses",
                                               "DirectAlloc", "FuncAlloc", "PooledAlloc"}),
                  (std::vector{C(l.exp), C(l.recl), C(l.tb), C(l.med), C(l.net), C(l.direct), C(l.func), C(l.pooled)}));
    }

    // G Part I: B's pooled costs by 60/30/10; the non-capital column (Col_9)
    // gathers lines 11-35: 40,500 + 20,000 + 4,000.
    EXPECT_EQ(At("Gp1", "SeqNum", 1, "Col_1"), C(4140));
    EXPECT_EQ(At("Gp1", "SeqNum", 2, "Col_5"), C(2331));
    EXPECT_EQ(At("Gp1", "SeqNum", 3, "Col_9"), C(6450));
    EXPECT_EQ(At("Gp1", "SeqNum", 4, "Col_9"), C(64500));

    // H per component. Old capital (cost centres 1-2.01): direct from E,
    // functional from F Part I, pooled from G Part II; new capital 4-5.01
    // likewise; non-capital: E-1, F-1 Part I and G's non-capital column.
    // Functional old capital: North 600 + 500, South 900, West 1,500, East 500.
    // North: pooled old 2,070 + 1,635, new 2,331 + 1,254, non-capital 19,350.
    // South: 1,242 + 981, 1,399 + 752, 11,610. West: 828 + 654, 932 + 502, 7,740.
    // Pharmacy (60% of line 2) as South; row 27 (40%) as West; East Region
    // takes line 3 whole: 690 + 545, 777 + 418, 6,450.
    struct HLine {
        double seq;
        long long oldCap, newCap, nonCap, direct, func, pooled, total;
    };
    const std::vector<HLine> h = {
        {1, 5805, 3585, 21850, 1000, 3600, 26640, 31240},
        {2, 3123, 2151, 14910, 800, 3400, 15984, 20184},
        {3, 2982, 1434, 12740, 0, 6500, 10656, 17156},
        {18, 11910, 7170, 49500, 1800, 13500, 53280, 68580},
        {19, 2223, 2651, 17610, 500, 6000, 15984, 22484},
        {27, 1482, 1434, 7940, 200, 0, 10656, 10856},
        {28, 3705, 4085, 25550, 700, 6000, 26640, 33340},
        {29, 1735, 1195, 8450, 0, 2500, 8880, 11380},
        {33, 1735, 1195, 8450, 0, 2500, 8880, 11380},
        // Line 34 sums the bands; its overall total is B's net expenses,
        // which the components add up to exactly.
        {34, 17350, 12450, 83500, 2500, 22000, 88800, 113300},
    };
    for (const auto& l : h) {
        SCOPED_TRACE("H row " + SqlNumber(Currency::FromDouble(l.seq)));
        EXPECT_EQ(Row("H", "SeqNum", l.seq, {"Col_4", "Col_8", "Col_12", "Col_16", "Col_17", "Col_18", "Col_19", "Col_20"}),
                  (std::vector{C(l.oldCap), C(l.newCap), C(0), C(l.nonCap), C(l.direct), C(l.func), C(l.pooled), C(l.total)}));
    }

    // A Part V: the region's line total of H.
    EXPECT_EQ(At("Ap5", "LineNum", 1, "Col4"), C(11380));

    // I: revenue 150,000 less B's expenses 114,800, plus 500, less 300.
    EXPECT_EQ(At("I", "SeqNum", 2, "Col_2"), C(114800));
    EXPECT_EQ(At("I", "SeqNum", 3, "Col_2"), C(35200));
    EXPECT_EQ(At("I", "SeqNum", 8, "Col_2"), C(35400));
    // J: current assets 25,000, fixed 90,000, liabilities 8,000, capital 50,000.
    EXPECT_EQ(At("J", "LineNum", 10, "Col_1"), C(25000));
    EXPECT_EQ(At("J", "LineNum", 39, "Col_1"), C(115000));
    EXPECT_EQ(At("J", "LineNum", 63, "Col_1"), C(58000));
    // B-2 Part I roll-forward and D Part B's net adjustment.
    EXPECT_EQ(At("B2p1", "SeqNum", 3, "EndBalance"), C(115000));
    EXPECT_EQ(At("DpB", "SeqNum", 100, "NetAdj"), C(1000));
    EXPECT_EQ(At("C", "LineNum", 28, "Amount"), C(-1500));
}

TEST_F(WholeReport, PrintsEverySheetInOrder) {
    EnterReport();
    Calc_All();
    Print_All();

    const auto lines = PrintLines(ReadFile("123456.PRT"));
    ASSERT_FALSE(lines.empty());
    // The sheet named by each page's header, in the order the pages come.
    std::vector<std::string> order;
    for (const auto& l : lines) {
        if (l.rfind("Worksheet ", 0) != 0 || l.find("March 15, 2007") == std::string::npos) continue;
        const std::string sheet = l.substr(10, l.find(' ', 10) - 10);
        if (order.empty() || order.back() != sheet) order.push_back(sheet);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"A", "B", "B-1", "B-2", "C", "D", "E", "E-1", "F", "F-1", "G", "H", "I",
                                               "J"}));
    auto has = [&](const std::string& a, const std::string& b) {
        for (const auto& l : lines)
            if (l.find(a) != std::string::npos && l.find(b) != std::string::npos) return true;
        return false;
    };
    for (auto [label, amount] : {std::pair{"Total Expenses", "114,800"}, {"Total Expenses", "88,800"},
                                 {"North Home", "31,240"}, {"East Region", "11,380"}})
        EXPECT_TRUE(has(label, amount)) << label << " " << amount;
    EXPECT_EQ(printer.documents, std::vector{PathOf("123456.PRT")});
}

}  // namespace
}  // namespace vt::test
