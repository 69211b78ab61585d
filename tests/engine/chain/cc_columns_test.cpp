// Cost-centre columns of the component sheets: added and removed at their place
// in CCNum order, values moving with their columns, the total column last.
#include "engine/chain/component_sheet.h"
#include "store/report.h"
#include "store/services.h"
#include "tests/engine/chain/chain_fixture.h"
#include "tests/support/db_checks.h"

namespace vt::test {
namespace {

// What Stamp put into value column k of a row.
Currency Stamped(int column, Currency seq) { return Currency::FromInt(column * 1000) + seq; }

class CcColumns : public SeededChainTest {
protected:
    // A component sheet of the given layout with rows 0, 1, 18, 19, 34, 35 and 36.
    void MakeSheet(const std::string& name, bool gFields, db::FieldType type, const std::vector<double>& row0) {
        if (Table_Exists(name)) db().DropTable(name);
        std::vector<db::FieldDef> f = {db::CurrencyField("SeqNum"), db::CurrencyField("LineNum"),
                                       db::TextField("Component", 40)};
        if (gFields) f.insert(f.end(), {db::CurrencyField("TotalCost"), db::DoubleField("Ratio")});
        std::string cols, marks;
        std::vector<Value> numbers;
        for (size_t k = 1; k <= row0.size(); ++k) {
            f.push_back({"Col_" + std::to_string(k), type});
            cols += ",Col_" + std::to_string(k);
            marks += ",?";
            numbers.emplace_back(C(row0[k - 1]));
        }
        db().CreateTable(name, f);
        db().Execute("INSERT INTO " + name + " (SeqNum, LineNum" + cols + ") VALUES (0, 0" + marks + ")", numbers);
        db().Execute("INSERT INTO " + name + " (SeqNum, LineNum) VALUES (1, 1), (18, 0), (19, 1), (34, 0), (35, 0), (36, 0)");
        Stamp(name, gFields ? 5 : 3);
    }
};

struct ColumnCase {
    const char* name;
    bool add;
    double ccnum;
    std::vector<Currency> row0;  // afterwards, total (999) included
    std::vector<int> from;     // for each column afterwards: the column it was (0: the new one)
};

const ColumnCase kColumnCases[] = {
    {"add 3 between 2.01 and 4", true, 3,
     Currencies({1, 1.01, 2, 2.01, 3, 4, 4.01, 5, 5.01, 7, 8, 9, 999}), {1, 2, 3, 4, 0, 5, 6, 7, 8, 9, 10, 11, 12}},
    {"add 5 pushes 5 and 5.01 up", true, 5,
     Currencies({1, 1.01, 2, 2.01, 4, 4.01, 5, 5.01, 5.02, 7, 8, 9, 999}), {1, 2, 3, 4, 5, 6, 0, 7, 8, 9, 10, 11, 12}},
    {"add 9.01 before the total", true, 9.01,
     Currencies({1, 1.01, 2, 2.01, 4, 4.01, 5, 5.01, 7, 8, 9, 9.01, 999}), {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 12}},
    {"delete 4 brings 4.01 down", false, 4,
     Currencies({1, 1.01, 2, 2.01, 4, 5, 5.01, 7, 8, 9, 999}), {1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12}},
    {"delete 1.01", false, 1.01,
     Currencies({1, 2, 2.01, 4, 4.01, 5, 5.01, 7, 8, 9, 999}), {1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
    {"delete 9", false, 9,
     Currencies({1, 1.01, 2, 2.01, 4, 4.01, 5, 5.01, 7, 8, 999}), {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12}},
};

TEST_F(CcColumns, ColumnsOfEKeepTheirPlaceAndTheirValues) {
    Stamp("E", 4);
    for (const auto& c : kColumnCases) {
        SCOPED_TRACE(c.name);
        db().Begin();
        if (c.add) Add_CC_Column("E", C(c.ccnum));
        else Delete_CC_Column("E", C(c.ccnum));

        EXPECT_EQ(Row0("E"), c.row0);
        const auto names = FieldNames("E");
        ASSERT_EQ(names.size(), 4 + c.from.size());
        for (size_t k = 1; k <= c.from.size(); ++k) EXPECT_EQ(names[3 + k], "Col_" + std::to_string(k));

        auto rs = db().OpenRecordset(SelectSheet("E", "WHERE SeqNum > 0 ORDER BY SeqNum"));
        for (; !rs.Eof(); rs.MoveNext()) {
            const Currency seq = rs["SeqNum"].ToCurrency();
            const bool component = rs["LineNum"].ToCurrency() > Currency{};
            for (size_t k = 1; k <= c.from.size(); ++k) {
                const int was = c.from[k - 1];
                const Value v = rs.Field(static_cast<int>(3 + k));
                if (was != 0) EXPECT_EQ(v.ToCurrency(), Stamped(was, seq)) << "row " << seq.ToText() << " Col_" << k;
                else if (component) EXPECT_EQ(v.ToCurrency(), Currency{}) << "row " << seq.ToText();
                else EXPECT_EQ(v.ToCurrency(), Stamped(static_cast<int>(k), seq)) << "total row keeps the shifted value";
            }
        }
        db().Rollback();
    }
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(CcColumns, AddingAndDeletingAColumnLeavesTheSheetAsItWas) {
    Stamp("E", 4);
    const auto before = Snapshot("E");
    for (double cc : {3.0, 5.0, 9.01, 0.5}) {
        Add_CC_Column("E", C(cc));
        Delete_CC_Column("E", C(cc));
        EXPECT_EQ(Snapshot("E"), before) << cc;
    }
}

TEST_F(CcColumns, DeletingANumberNoColumnCarriesChangesNothing) {
    const auto fields = FieldNames("E");
    ui.ExpectMessage();
    Delete_CC_Column("E", C(8.05));
    EXPECT_EQ(ui.Prompts(),
              std::vector<std::string>{"Failed to delete the 8.05column from sheet E. The column wasn't found."});
    EXPECT_EQ(FieldNames("E"), fields);
}

TEST_F(CcColumns, FPartIIsNewColumnStartsAtZeroIncludingTheCostToAllocate) {
    MakeSheet("Fp2", false, db::FieldType::Double, {1, 2, 4, 5});
    Add_CC_Column("Fp2", C(3));
    EXPECT_EQ(Row0("Fp2", 3), Currencies({1, 2, 3, 4, 5}));
    EXPECT_EQ(db().Fields("Fp2").back().type, db::FieldType::Double);
    for (double row : {1.0, 19.0, 35.0}) EXPECT_EQ(Cell("Fp2", row, "Col_3").ToDouble(), 0.0) << row;
    // Computed rows are the next calculation's; they keep what the shift left.
    for (double row : {18.0, 34.0, 36.0}) EXPECT_EQ(Cell("Fp2", row, "Col_3").ToDouble(), 3000 + row) << row;
    EXPECT_EQ(Cell("Fp2", 35, "Col_4").ToDouble(), 3035.0);
}

TEST_F(CcColumns, ComputedSheetsKeepTheShiftedValues) {
    MakeSheet("Fp1", false, db::FieldType::Currency, {1, 2, 4});
    Add_CC_Column("Fp1", C(3));
    EXPECT_EQ(Rows("SELECT Col_3, Col_4 FROM Fp1 WHERE SeqNum = 1"), (Table{{"3001", "3001"}}));
    EXPECT_EQ(db().Fields("Fp1").back().type, db::FieldType::Currency);

    // In G the column numbered 0 sorts after the cost centres below 6.
    MakeSheet("Gp1", true, db::FieldType::Currency, {1, 5, 5.01, 0, 30, 30.01});
    Add_CC_Column("Gp1", C(5));
    EXPECT_EQ(Row0("Gp1", 5), Currencies({1, 5, 5.01, 5.02, 0, 30, 30.01}));
    EXPECT_EQ(Cell("Gp1", 1, "Col_2").ToCurrency(), C(2001));
    Add_CC_Column("Gp1", C(30.02));
    EXPECT_EQ(Row0("Gp1", 5).back(), C(30.02));
    Add_CC_Column("Gp1", C(9));
    EXPECT_EQ(Row0("Gp1", 5), Currencies({1, 5, 5.01, 5.02, 0, 9, 30, 30.01, 30.02}));
}

TEST_F(CcColumns, ChosenColumnsOfE1StandBeforeTheTotal) {
    SetCell("E1", 1, "Col_1", Value(C(77)));
    AddChosenCCColumn("E1", C(12));
    AddChosenCCColumn("E1", C(11));
    AddChosenCCColumn("E1", C(25));
    EXPECT_EQ(FieldNames("E1").back(), "Col_4");
    EXPECT_EQ(Row0("E1"), Currencies({11, 12, 25, -1}));
    EXPECT_EQ(Rows("SELECT SeqNum, Col_1, Col_2, Col_3, Col_4 FROM E1 WHERE SeqNum IN (1, 18, 27, 34) ORDER BY SeqNum"),
              (Table{{"1", "0", "0", "0", "77"}, {"18", "0", "0", "0", "Null"}, {"27", "0", "0", "0", "Null"},
                     {"34", "0", "0", "0", "Null"}}));

    SetCell("E1", 1, "Col_3", Value(C(25)));
    EXPECT_TRUE(DeleteChosenCCColumn("E1", C(12)));
    EXPECT_FALSE(DeleteChosenCCColumn("E1", C(99)));
    EXPECT_EQ(Row0("E1"), Currencies({11, 25, -1}));
    EXPECT_EQ(Rows("SELECT Col_2, Col_3 FROM E1 WHERE SeqNum = 1"), (Table{{"25", "77"}}));
}

TEST_F(CcColumns, FPartIFollowsTheColumnsOfFPartII) {
    for (const char* t : {"F1p1", "F1p2"}) {
        if (Table_Exists(t)) db().DropTable(t);
        db().CreateTable(t, {db::CurrencyField("SeqNum"), db::CurrencyField("LineNum"), db::TextField("Component", 40),
                             db::TextField("MedicareNo", 7), db::CurrencyField("Col_1"), db::CurrencyField("Col_2"),
                             db::CurrencyField("Col_3")});
        db().Execute(std::string("INSERT INTO ") + t + " (SeqNum, LineNum, Col_1, Col_2, Col_3) VALUES "
                     "(0, 0, 11, ?, NULL), (1, 1, 100, 200, 300)", {Value(C(t == std::string("F1p1") ? 12 : 14))});
    }
    MatchChosenCCColumns("F1p1", "F1p2");
    EXPECT_EQ(Row0("F1p1"), Currencies({11, 14, -1}));
    EXPECT_EQ(Rows("SELECT Col_1, Col_2, Col_3 FROM F1p1 WHERE SeqNum = 1"), (Table{{"100", "0", "300"}}));
}

}  // namespace
}  // namespace vt::test
