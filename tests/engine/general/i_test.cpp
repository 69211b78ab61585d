// Worksheet I: its lines, the revenue and expense calculation against
// worksheet B's total expenses, and its print.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/general/i.h"
#include "tests/engine/general/dij_support.h"

namespace vt::test {
namespace {

class BuildI : public CrfTest {};

TEST_F(BuildI, NewReportHoldsTheFormLines) {
    struct Row {
        double seq;
        const char* description;
        bool input;
    };
    const std::vector<Row> rows = {
        {1, "Total operating revenue", true},        {2, "Less Operating expenses", false},
        {3, "Operating profit (loss)", false},       {4.01, "Contributions, donations", true},
        {4.02, "Income from investments", true},     {4.03, "Interest income", true},
        {4.04, "Purchase discounts", true},          {4.05, "Rebates and refunds of expenses", true},
        {4.06, "Parking lot receipts", true},        {4.07, "Rental income", true},
        {4.08, "Other income (specify)", true},      {5, "Total other income", false},
        {6, "Other expenses (specify)", true},       {7, "Total other expenses", false},
        {8, "Net income(loss) for period", false}};
    auto rs = db().OpenRecordset("SELECT * FROM I ORDER BY SeqNum");
    ASSERT_EQ(rs.RecordCount(), static_cast<int>(rows.size()));
    for (const auto& r : rows) {
        SCOPED_TRACE(r.description);
        EXPECT_EQ(rs["SeqNum"], Value(Money(r.seq)));
        EXPECT_EQ(rs["Description"].ToText(), r.description);
        EXPECT_EQ(rs["Col_1"], r.input ? Value(Currency{}) : Value::Null());
        EXPECT_TRUE(rs["Col_2"].IsNull());
        rs.MoveNext();
    }
    EXPECT_EQ(db().Scalar("SELECT ItemName FROM Worksheets WHERE Item = 'I'").ToText(), "I");
}

class CalcI : public SheetPrintTest {
protected:
    std::map<int, Value> Computed() {
        std::map<int, Value> out;
        for (auto rs = db().OpenRecordset("SELECT SeqNum, Col_2 FROM I WHERE SeqNum IN (2,3,5,7,8)"); !rs.Eof();
             rs.MoveNext())
            out[static_cast<int>(rs["SeqNum"].ToLong())] = rs["Col_2"];
        return out;
    }
    void Enter(double seq, std::optional<double> amount) {
        const Value v = amount ? Value(Money(*amount)) : Value::Null();
        if (db().Execute("UPDATE I SET Col_1 = ? WHERE SeqNum = ?", {v, Value(Money(seq))}) == 0)
            db().Execute("INSERT INTO I (SeqNum, Description, Col_1) VALUES (?, 'Added', ?)", {Value(Money(seq)), v});
    }
    // The worked example: revenue 1,000, other income 30 and 20, other expenses 10.
    void EnterExample() {
        Enter(1, 1000);
        Enter(4.01, 30);
        Enter(4.02, 20);
        Enter(6, 10);
    }
};

std::map<int, Value> Expect(double l2, double l3, double l5, double l7, double l8) {
    return {{2, Value(Money(l2))}, {3, Value(Money(l3))}, {5, Value(Money(l5))}, {7, Value(Money(l7))},
            {8, Value(Money(l8))}};
}

TEST_F(CalcI, WorkedExampleWithWorksheetBTotal) {
    EnterExample();
    db().Execute("UPDATE B SET Expenses = 800 WHERE LineNum = 100");
    Calc_I();
    EXPECT_EQ(Computed(), Expect(800, 200, 50, 10, 240));
}

TEST_F(CalcI, ItemsBeyondTheFormsOwnAreCounted) {
    EnterExample();
    Enter(4.09, 5);
    Enter(6.01, 7);
    db().Execute("UPDATE B SET Expenses = 800 WHERE LineNum = 100");
    Calc_I();
    EXPECT_EQ(Computed(), Expect(800, 200, 55, 17, 238));
}

TEST_F(CalcI, EmptyAmountsCountAsZero) {
    EnterExample();
    Enter(4.02, std::nullopt);
    Enter(6, std::nullopt);
    db().Execute("UPDATE B SET Expenses = NULL WHERE LineNum = 100");
    Calc_I();
    EXPECT_EQ(Computed(), Expect(0, 1000, 30, 0, 1030));
    Enter(1, std::nullopt);
    Calc_I();
    EXPECT_EQ(Computed(), Expect(0, 0, 30, 0, 30));
}

TEST_F(CalcI, WorksheetBWithoutItsTotalLineCountsAsNoExpenses) {
    EnterExample();
    db().Execute("DELETE FROM B WHERE LineNum = 100");
    Calc_I();
    EXPECT_EQ(Computed(), Expect(0, 1000, 50, 10, 1040));
}

using PrintI = CalcI;

TEST_F(PrintI, CalculatedSheet) {
    EnterExample();
    Enter(4.05, 1234567);
    db().Execute("UPDATE B SET Expenses = 800 WHERE LineNum = 100");
    Calc_I();
    int fn = 0;
    Print_I(fn);
    ExpectGolden("I.prt", "I_calculated.prt");
}

TEST_F(PrintI, NewSheetPrintsEmptyComputedAmountsAsBlanks) {
    int fn = 0;
    Print_I(fn);
    const auto lines = SplitLines(ReadFile("I.prt"));
    EXPECT_EQ(PageCount(lines), 1);
    const auto find = [&](const std::string& text) {
        for (const auto& l : lines)
            if (l.find(text) != std::string::npos) return l;
        return std::string();
    };
    // Line 1 has its amount in the second column, the items in the first.
    EXPECT_EQ(find("Total operating revenue"),
              " 1     Total operating revenue" + std::string(69 - 30, ' ') + std::string(12, ' ') + "0");
    EXPECT_EQ(find("Interest income"), " 4.03     Interest income" + std::string(53 - 25, ' ') +
                                           std::string(12, ' ') + "0" + std::string(16, ' '));
    EXPECT_EQ(find("Other income").substr(0, 19), " 4     Other income");
}

}  // namespace
}  // namespace vt::test
