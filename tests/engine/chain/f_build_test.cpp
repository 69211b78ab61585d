// Tables of worksheets F and F-1: what a new report holds, F-1's columns in
// both parts and the repair of F's sheets.
#include <algorithm>

#include "engine/chain/component_sheet.h"
#include "engine/chain/e.h"
#include "engine/chain/f.h"
#include "engine/chain/f1.h"
#include "store/report.h"
#include "store/services.h"
#include "tests/engine/chain/chain_fixture.h"
#include "tests/support/db_checks.h"

namespace vt::test {
namespace {

using db::FieldType;

class FSheets : public SeededChainTest {
protected:
    std::vector<FieldType> Types(const std::string& sheet) {
        std::vector<FieldType> types;
        for (const auto& f : db().Fields(sheet)) types.push_back(f.type);
        return types;
    }

    std::string Text(const std::string& sheet, double seq, const char* field) {
        return Cell(sheet, seq, field).ToText();
    }

    // Every value cell of the rows above 0, from field `first` on, as text ("" for Null).
    std::vector<std::string> Values(const std::string& sheet, int first) {
        std::vector<std::string> cells;
        auto rs = db().OpenRecordset(SelectSheet(sheet, "WHERE SeqNum > 0 ORDER BY SeqNum"));
        for (; !rs.Eof(); rs.MoveNext())
            for (int i = first; i < rs.FieldCount(); ++i) cells.push_back(rs.Field(i).ToText());
        return cells;
    }

    // F-1's two parts hold the same columns in the same places.
    void ExpectF1PartsAlike() {
        EXPECT_EQ(FieldNames("F1p1"), FieldNames("F1p2"));
        EXPECT_EQ(Row0("F1p1"), Row0("F1p2"));
    }
};

const std::vector<Currency> kCapitalCentres = {C(1), C(1.01), C(2), C(2.01), C(4), C(4.01), C(5), C(5.01)};
const std::vector<Currency> kComponentSeqs = {C(1), C(2), C(3), C(3.01), C(17), C(19), C(20),
                                              C(26), C(27), C(29), C(30), C(32), C(32.01)};

std::vector<Currency> SheetRows(std::vector<double> extra) {
    std::vector<Currency> rows = kComponentSeqs;
    for (double r : extra) rows.push_back(C(r));
    std::sort(rows.begin(), rows.end());
    return rows;
}

TEST_F(FSheets, FPartsHaveAColumnPerCapitalCostCentre) {
    struct Expect {
        const char* sheet;
        FieldType type;
        std::vector<Currency> rows;
        const char* row34;
        bool componentZero;  // else Null
    };
    const Expect parts[] = {
        {"Fp1", FieldType::Currency, SheetRows({0, 18, 28, 33, 34}), "Grand Total", false},
        // The caption whole, although longer than a component's name.
        {"Fp2", FieldType::Double, SheetRows({0, 18, 28, 33, 34, 35, 36}),
         "Total statistics (sum of lines 18, 28 and 33)  (A)", true},
    };
    for (const auto& p : parts) {
        SCOPED_TRACE(p.sheet);
        const auto names = FieldNames(p.sheet);
        ASSERT_EQ(names.size(), 11u);
        EXPECT_EQ(names[3], "Col_1");
        EXPECT_EQ(names[10], "Col_8");
        EXPECT_EQ(Types(p.sheet).back(), p.type);
        EXPECT_EQ(Row0(p.sheet, 3), kCapitalCentres);
        EXPECT_EQ(SeqNums(p.sheet), p.rows);
        EXPECT_EQ(Text(p.sheet, 34, "Component"), p.row34);
        for (double seq : {1.0, 27.0, 32.01}) {
            const Value v = Cell(p.sheet, seq, "Col_5");
            if (p.componentZero) EXPECT_EQ(v.ToDouble(), 0.0) << seq;
            else EXPECT_TRUE(v.IsNull()) << seq;
        }
        for (double seq : {18.0, 34.0}) EXPECT_TRUE(Cell(p.sheet, seq, "Col_1").IsNull()) << seq;
    }
    EXPECT_EQ(Rows("SELECT Component, Col_8 FROM Fp2 WHERE SeqNum IN (35, 36) ORDER BY SeqNum"),
              (Table{{"Cost to be Allocated", "0"}, {"Unit Cost Multiplier", "Null"}}));
}

TEST_F(FSheets, F1PartIIStartsWithItsTotalAndPartIIsItsCopy) {
    const std::vector<std::string> fields = {"SeqNum", "LineNum", "Component", "MedicareNo", "Col_1"};
    EXPECT_EQ(FieldNames("F1p2"), fields);
    EXPECT_EQ(Types("F1p2").back(), FieldType::Double);
    EXPECT_EQ(SeqNums("F1p2"), SheetRows({0, 18, 28, 33, 34, 35, 36}));
    EXPECT_EQ(Rows("SELECT Component, MedicareNo FROM F1p2 WHERE SeqNum IN (1, 3, 19, 35, 36) ORDER BY SeqNum"),
              (Table{{"Mercy North", "123456"}, {"Mercy East", " "}, {"Laundry", "Null"},
                     {"Cost to be Allocated", "Null"}, {"Unit Cost Multiplier", "Null"}}));

    EXPECT_EQ(FieldNames("F1p1"), fields);
    EXPECT_EQ(Types("F1p1"), Types("F1p2"));
    EXPECT_EQ(SeqNums("F1p1"), SheetRows({0, 18, 28, 33, 34}));
    EXPECT_EQ(Text("F1p1", 1, "MedicareNo"), "123456");
    for (const auto& v : Values("F1p1", 4)) EXPECT_EQ(v, "");
}

TEST_F(FSheets, F1PartsKeepTheSameColumnsThroughAddDeleteAndRebuild) {
    ExpectF1PartsAlike();
    for (double cc : {15.0, 11.0, 20.0, 12.0}) {
        AddF1Column(C(cc));
        ExpectF1PartsAlike();
    }
    EXPECT_EQ(Row0("F1p2"), Currencies({11, 12, 15, 20, -1}));
    // Fields appended are Double in Part II, Currency in Part I; Part I's first
    // field is the Double it was copied as.
    EXPECT_EQ(Types("F1p2"), (std::vector<FieldType>{FieldType::Currency, FieldType::Currency, FieldType::Text,
                                                     FieldType::Text, FieldType::Double, FieldType::Double,
                                                     FieldType::Double, FieldType::Double, FieldType::Double}));
    EXPECT_EQ(Types("F1p1"), (std::vector<FieldType>{FieldType::Currency, FieldType::Currency, FieldType::Text,
                                                     FieldType::Text, FieldType::Double, FieldType::Currency,
                                                     FieldType::Currency, FieldType::Currency, FieldType::Currency}));
    // A new column holds 0 in every row but row 0, the total rows and 35, 36 included.
    for (const char* sheet : {"F1p1", "F1p2"})
        EXPECT_EQ(db().Scalar(std::string("SELECT Count(*) FROM ") + sheet +
                              " WHERE SeqNum > 0 AND (Col_3 IS NULL OR Col_3 <> 0)").ToLong(), 0) << sheet;

    // The values go with their columns.
    SetCell("F1p2", 1, "Col_3", Value(7.5));
    SetCell("F1p1", 1, "Col_3", Value(C(750)));
    EXPECT_TRUE(DeleteF1Column(C(12)));
    ExpectF1PartsAlike();
    EXPECT_EQ(Row0("F1p1"), Currencies({11, 15, 20, -1}));
    EXPECT_EQ(Rows("SELECT a.Col_2, b.Col_2 FROM F1p1 a, F1p2 b WHERE a.SeqNum = 1 AND b.SeqNum = 1"),
              (Table{{"750", "7.5"}}));

    const auto names = FieldNames("F1p2");
    EXPECT_FALSE(DeleteF1Column(C(12)));
    EXPECT_EQ(FieldNames("F1p2"), names);
    ExpectF1PartsAlike();

    Rebuild("F1p1");
    ExpectF1PartsAlike();
    EXPECT_EQ(Types("F1p1"), Types("F1p2"));
    for (const auto& v : Values("F1p1", 4)) EXPECT_EQ(v, "");
}

TEST_F(FSheets, ARepairedFPartIIKeepsTheStatisticsAndTheCost) {
    SetCell("Fp2", 19, "Col_2", Value(12.5));
    SetCell("Fp2", 32.01, "Col_8", Value(3.0));
    SetCell("Fp2", 35, "Col_2", Value(1000.0));
    db().Execute("DELETE FROM Fp2 WHERE SeqNum = 20");
    ui.ExpectMessage();
    EXPECT_FALSE(Check_Component_Sheets());
    ASSERT_EQ(ui.Prompts().size(), 1u);
    EXPECT_NE(ui.Prompts()[0].find("[ Unmatched A Part IV record(s) in Fp2 ]"), std::string::npos);
    EXPECT_EQ(Rows("SELECT SeqNum, Col_2, Col_8 FROM Fp2 WHERE SeqNum IN (19, 20, 32.01, 35) ORDER BY SeqNum"),
              (Table{{"19", "12.5", "0"}, {"20", "0", "0"}, {"32.01", "0", "3"}, {"35", "1000", "0"}}));
    EXPECT_TRUE(Check_Component_Sheets());
}

}  // namespace
}  // namespace vt::test
