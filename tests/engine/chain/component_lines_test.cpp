// Component lines follow worksheet A Parts III-V in every component sheet.
#include <algorithm>
#include <map>

#include "engine/chain/component_sheet.h"
#include "store/report.h"
#include "store/services.h"
#include "tests/engine/chain/chain_fixture.h"
#include "tests/support/db_checks.h"

namespace vt::test {
namespace {

// Every component row carries a marker of the A line it was made for in its
// last field, so a row that moves can be told from a row that was rewritten.
Currency Marker(int part, double line) { return C(part * 1000 + line); }

const double kOffset[] = {0, 0, 0, 0, 18, 28};

struct Band {
    int part;
    std::vector<double> lines;
};
const std::vector<Band> kSeeded = {{3, {1, 2, 3, 3.01, 17}}, {4, {1, 2, 8}}, {5, {1, 2, 4, 4.01}}};

class ComponentLines : public SeededChainTest {
protected:
    void SetUp() override {
        SeededChainTest::SetUp();
        for (const auto& s : Sheets()) {
            const std::string last = FieldNames(s).back();
            for (const auto& b : kSeeded)
                for (double l : b.lines) SetCell(s, l + kOffset[b.part], last, Value(Marker(b.part, l)));
            for (double fixed : {18.0, 27.0, 28.0, 33.0, 34.0}) SetCell(s, fixed, last, Value(C(9000 + fixed)));
        }
    }

    // Every field of the rows outside the component bands, by sheet and SeqNum.
    std::map<std::string, std::vector<std::string>> FixedRows() {
        std::map<std::string, std::vector<std::string>> rows;
        for (const auto& s : Sheets()) rows[s] = Snapshot(s, "WHERE SeqNum IN (0, 18, 27, 28, 33, 34, 35, 36)");
        return rows;
    }

    // The band's rows as (LineNum, marker) in SeqNum order, checking SeqNum = line + offset.
    std::vector<std::pair<Currency, Currency>> BandRows(const std::string& sheet, int part) {
        const double lo[] = {0, 0, 0, 1, 19, 29}, hi[] = {0, 0, 0, 17.99, 26.99, 32.99};
        const std::string last = FieldNames(sheet).back();
        auto rs = db().OpenRecordset("SELECT SeqNum, LineNum, " + last + " FROM " + sheet +
                                         " WHERE SeqNum >= ? AND SeqNum <= ? ORDER BY SeqNum",
                                     {Value(C(lo[part])), Value(C(hi[part]))});
        std::vector<std::pair<Currency, Currency>> rows;
        for (; !rs.Eof(); rs.MoveNext()) {
            const Currency line = rs.Field(1).ToCurrency();
            EXPECT_EQ(rs.Field(0).ToCurrency(), line + C(kOffset[part])) << sheet;
            rows.emplace_back(line, Nz_Num(rs.Field(2)).ToCurrency());
        }
        return rows;
    }
};

struct LineCase {
    const char* name;
    bool insert;
    int part;
    double line;
    // The band afterwards: each line with the line it held before (0: the new line).
    std::vector<std::pair<double, double>> band;
};

const LineCase kLineCases[] = {
    {"insert Part III 3.01 after 3", true, 3, 3.01, {{1, 1}, {2, 2}, {3, 3}, {3.01, 0}, {3.02, 3.01}, {17.01, 17}}},
    {"insert Part III 1 before all", true, 3, 1, {{1, 0}, {1.01, 1}, {2.01, 2}, {3.01, 3}, {3.02, 3.01}, {17.01, 17}}},
    {"insert Part IV 8.01 below line 9", true, 4, 8.01, {{1, 1}, {2, 2}, {8, 8}, {8.01, 0}}},
    {"insert Part IV 2.01", true, 4, 2.01, {{1, 1}, {2, 2}, {2.01, 0}, {8.01, 8}}},
    {"insert Part V 2.01", true, 5, 2.01, {{1, 1}, {2, 2}, {2.01, 0}, {4.01, 4}, {4.02, 4.01}}},
    {"delete Part III 3", false, 3, 3, {{1, 1}, {2, 2}, {3, 3.01}, {16.99, 17}}},
    {"delete Part III 17", false, 3, 17, {{1, 1}, {2, 2}, {3, 3}, {3.01, 3.01}}},
    {"delete Part IV 1", false, 4, 1, {{1.99, 2}, {7.99, 8}}},
    {"delete Part V 4", false, 5, 4, {{1, 1}, {2, 2}, {4, 4.01}}},
};

TEST_F(ComponentLines, EveryBandFollowsItsPartOfWorksheetA) {
    ASSERT_GE(Sheets().size(), 2u);
    for (const auto& c : kLineCases) {
        SCOPED_TRACE(c.name);
        // Each case starts from the seeded report.
        db().Begin();
        const auto fixedBefore = FixedRows();
        if (c.insert) EditorInsert(c.part, c.line);
        else EditorDelete(c.part, c.line);

        for (const auto& s : Sheets()) {
            SCOPED_TRACE(s);
            for (const auto& b : kSeeded) {
                std::vector<std::pair<Currency, Currency>> expected;
                if (b.part == c.part) {
                    for (const auto& [line, was] : c.band)
                        expected.emplace_back(C(line), was == 0 ? Currency{} : Marker(b.part, was));
                } else {
                    for (double l : b.lines) expected.emplace_back(C(l), Marker(b.part, l));
                }
                EXPECT_EQ(BandRows(s, b.part), expected) << "Part " << b.part;
            }
        }
        EXPECT_EQ(FixedRows(), fixedBefore);
        EXPECT_TRUE(Check_Component_Sheets());
        EXPECT_TRUE(ui.Messages().empty());
        db().Rollback();
    }
}

TEST_F(ComponentLines, ANewLineHasZeroAmountsAndNoName) {
    EditorInsert(3, 3.01);
    EXPECT_TRUE(Cell("E", 3.01, "Component").IsNull());
    EXPECT_TRUE(Cell("E", 3.01, "MedicareNo").IsNull());
    const auto fields = FieldNames("E");
    for (size_t i = 4; i < fields.size(); ++i) EXPECT_EQ(Cell("E", 3.01, fields[i]).ToCurrency(), Currency{}) << fields[i];
    EXPECT_EQ(Cell("E1", 3.01, "Col_1").ToCurrency(), Currency{});
}

TEST_F(ComponentLines, ALineThatWouldPushTheLastLineOntoTheTotalIsRefused) {
    EditorInsert(3, 17.99);
    EditorInsert(5, 4.99);
    std::map<std::string, std::vector<std::string>> before;
    for (const auto& s : Sheets()) before[s] = Snapshot(s);
    const struct { int part; double line; const char* message; } refused[] = {
        {3, 17.5, "Worksheet A Part III has no room for line 17.5: line 17.99 would be pushed past the end of the part."},
        {5, 1, "Worksheet A Part V has no room for line 1: line 4.99 would be pushed past the end of the part."},
        {4, 9, "Worksheet A Part IV has no room for line 9: its lines run from 1 to 8.99."},
    };
    for (const auto& r : refused) {
        try {
            Insert_Component_Line(C(r.line), r.part);
            ADD_FAILURE() << r.message;
        } catch (const db::DbError& e) {
            EXPECT_STREQ(e.what(), r.message);
        }
    }
    for (const auto& s : Sheets()) EXPECT_EQ(Snapshot(s), before[s]) << s;
}

TEST_F(ChainTest, ALineInAnEmptyBandIsTheOnlyRowAdded) {
    const auto before = SeqNums("E");
    Insert_Component_Line(C(2), 5);
    auto expected = before;
    expected.push_back(C(30));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(SeqNums("E"), expected);
    EXPECT_EQ(Cell("E", 30, "LineNum").ToCurrency(), C(2));
}

// ---- Fields of component rows ----

class ComponentFields : public SeededChainTest {};

TEST_F(ComponentFields, TextIsStoredAsTypedNeverReadAsSql) {
    struct Case {
        const char* value;
        Value stored;
    };
    const Case cases[] = {
        {"12\"45", Value("12\"45")},  // a double quote
        {"Col_1", Value("Col_1")},    // the name of a column
        {"x');--", Value("x');--")},
        {"", Value::Null()},
        {"   ", Value::Null()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        Propagate_Component_Field(C(2), 3, "MedicareNo", c.value);
        Propagate_Component_Field(C(2), 3, "Component", c.value);
        for (const char* s : {"E", "E1"}) {
            EXPECT_EQ(Cell(s, 2, "MedicareNo"), c.stored) << s;
            EXPECT_EQ(Cell(s, 2, "Component"), c.stored) << s;
        }
    }
}

// Line 2 is a row of each part; Part IV's line 9 is row 27.
TEST_F(ComponentFields, ALineNumberReachesOnlyItsOwnPart) {
    Set_Component_Field("E", C(2), 4, "Component", "Renamed");
    Propagate_Component_Field(C(9), 4, "Component", "Managed Elsewhere");
    EXPECT_EQ(Rows("SELECT e.SeqNum, e.Component, e1.Component FROM E e, E1 e1 WHERE e.SeqNum = e1.SeqNum "
                   "AND e.SeqNum IN (2, 20, 27, 28, 30) ORDER BY e.SeqNum"),
              (Table{{"2", "Mercy South", "Mercy South"}, {"20", "Renamed", "Pharmacy"},
                     {"27", "Managed Elsewhere", "Managed Elsewhere"}, {"28", "Total (lines 19-27)", "Total (lines 19-27)"},
                     {"30", "Region Two", "Region Two"}}));
}

TEST_F(ComponentFields, APeriodEndTypedInTheGridIsStoredAsADate) {
    // Worksheet H keeps each component's fiscal year end.
    db().Execute("INSERT INTO H (SeqNum, LineNum) VALUES (27, 9), (3, 3), (21, 3)");
    Set_Component_Field("H", C(9), 4, "FYE", "06/30/2006");
    Set_Component_Field("H", C(3), 3, "FYE", "12/31/2006");
    EXPECT_THROW(Set_Component_Field("H", C(3), 3, "FYE", "13/45/2006"), db::DbError);
    EXPECT_EQ(Rows("SELECT SeqNum, FYE FROM H WHERE SeqNum IN (3, 21, 27) ORDER BY SeqNum"),
              (Table{{"3", "12/31/2006"}, {"21", "Null"}, {"27", "6/30/2006"}}));
    Set_Component_Field("H", C(9), 4, "FYE", "");
    EXPECT_TRUE(Cell("H", 27, "FYE").IsNull());
}

TEST_F(ComponentFields, ClearingABandLeavesTheTotalsAndLine9) {
    Clear_Component_Band(4);
    for (const auto& s : Sheets()) {
        const auto seqs = SeqNums(s);
        for (double gone : {19.0, 20.0, 26.0}) EXPECT_EQ(std::count(seqs.begin(), seqs.end(), C(gone)), 0) << s;
        for (double kept : {17.0, 18.0, 27.0, 28.0, 29.0}) EXPECT_EQ(std::count(seqs.begin(), seqs.end(), C(kept)), 1) << s;
    }
    Clear_Component_Band(5);
    for (double kept : {28.0, 33.0, 34.0}) EXPECT_FALSE(Cell("E", kept, "Component").IsNull());
    EXPECT_EQ(SeqNums("E1").size(), 11u);  // 0, five Part III lines, 18, 27, 28, 33, 34
}

TEST_F(ComponentFields, SyncTidiesTheRowsOfAPartIIILine) {
    // A row whose name begins "a " gets its SeqNum back to two decimals
    // (halves to even); a second row of the same line goes; names stay.
    db().Execute("DELETE FROM E WHERE SeqNum = 3");
    db().Execute("INSERT INTO E (SeqNum, LineNum, Component) VALUES (2.995, 3, 'a clinic'), (3.005, 3, 'twin')");
    Sync_Component_Line("E", C(3), true);
    EXPECT_EQ(Cell("E", 3, "Component"), Value("a clinic"));
    const auto seqs = SeqNums("E");
    EXPECT_EQ(std::count(seqs.begin(), seqs.end(), C(3.005)), 0);

    db().Execute("UPDATE E SET SeqNum = 2.015, LineNum = 2, Component = 'A clinic' WHERE SeqNum = 2");
    Sync_Component_Line("E", C(2), false);
    EXPECT_EQ(Cell("E", 2.015, "Component"), Value("A clinic"));

    const auto before = SeqNums("E");
    Sync_Component_Line("E", C(5), false);  // no such line
    EXPECT_EQ(SeqNums("E"), before);
}

}  // namespace
}  // namespace vt::test
