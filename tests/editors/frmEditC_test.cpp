// The editor of worksheet C driven as a user types: the descriptions open on
// the "Other" lines only, Add and Delete keep each band's lines contiguous
// with their contents, and the description, basis and cost-centre rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editors/frmEditC.h"
#include "engine/general/c.h"
#include "store/services.h"
#include "tests/editors/editor_test.h"
#include "tests/gui_support/gui_test.h"

namespace vt::test {
namespace {

using gui::frmEditC;
enum Col { kDescription = 1, kBasis = 2, kAmount = 3, kLine = 4 };

class EditC : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        if (!Table_Exists("C")) Build_C();
    }
    // User lines described by their own numbers.
    void Lines(const std::vector<double>& numbers) {
        db::Transaction tx(db());
        for (double n : numbers)
            db().Execute("INSERT INTO C (LineNum, Description, Amount) VALUES (?, ?, 0)",
                         {Value::Cur(n), Value("L" + SqlNumber(Currency::FromDouble(n)))});
        tx.Commit();
    }
    frmEditC* Open() { return OpenSheet<frmEditC>("edit", "C"); }
    // "number=description" of the lines from `from` to below `to`.
    std::string Band(double from, double to) {
        std::string all;
        auto rs = db().OpenRecordset("SELECT LineNum, Description FROM C WHERE LineNum >= ? AND LineNum < ? ORDER BY LineNum",
                                     {Value(from), Value(to)});
        for (; !rs.Eof(); rs.MoveNext())
            all += SqlNumber(rs.Field(0).ToCurrency()) + "=" + rs.Field(1).ToText() + " ";
        return all;
    }
    static int RowOf(frmEditC* e, double line) {
        return e->grd->Data().FindFirst("LineNum", db::FindOp::Eq, Value::Cur(line));
    }
};

TEST_F(EditC, DescriptionsAndButtonsOpenOnTheOtherLinesOnly) {
    Lines({13.01, 22});
    frmEditC* e = Open();
    grid::Grid& g = *e->grd;
    EXPECT_EQ(e->Caption(), "Edit Worksheet C");
    EXPECT_EQ(g.HeadLines(), 2);
    ASSERT_EQ(g.ColumnCount(), 6);
    EXPECT_FALSE(g.Columns(5).Visible());
    EXPECT_EQ(g.Columns(1).Width(), 4300);
    EXPECT_EQ(g.Columns(4).Width(), 800);
    EXPECT_LT(RowOf(e, 15), 0);
    EXPECT_LT(RowOf(e, 28), 0);
    const struct {
        double line;
        bool description, add, del;
    } cases[] = {
        {1, false, false, false},  {12, false, false, false}, {13, true, true, true}, {13.01, true, true, true},
        {14, false, false, false}, {20, false, false, false}, {21, true, true, true}, {22, true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        g.SetCurrentCell(RowOf(e, c.line), kAmount);
        EXPECT_EQ(e->cmdAdd->isEnabled(), c.add);
        EXPECT_EQ(e->cmdDelete->isEnabled(), c.del);
        EXPECT_EQ(g.TypeIntoCell(RowOf(e, c.line), kDescription, "Typed"), c.description);
    }
    db().Execute("DELETE FROM C WHERE LineNum = 13.01");
    e->FormSetup();
    g.SetCurrentCell(RowOf(e, 13), kAmount);
    EXPECT_TRUE(e->cmdAdd->isEnabled());
    EXPECT_FALSE(e->cmdDelete->isEnabled());
}

TEST_F(EditC, AddAndDeleteKeepEachBandContiguousWithItsLines) {
    const auto full21 = [] {
        auto v = Range(22, 27);
        v.push_back(27.01);
        return v;
    }();
    const struct {
        std::vector<double> lines;
        double at;
        bool add;
        const char* band;  // the band's lines afterwards
    } cases[] = {
        {{}, 13, true, "13=Other 13.01=Other "},
        {{13.01, 13.02}, 13.01, true, "13=Other 13.01=L13.01 13.02=Other 13.03=L13.02 "},
        {{13.01, 13.02}, 13, false, "13=L13.01 13.01=L13.02 "},
        {{}, 21, true, "21=Other 22=Other "},
        {full21, 24, true, "21=Other 22=L22 23=L23 24=L24 25=Other 26=L25 27=L26 27.01=L27 27.02=L27.01 "},
        {full21, 27.01, true, "21=Other 22=L22 23=L23 24=L24 25=L25 26=L26 27=L27 27.01=L27.01 27.02=Other "},
        {full21, 26, false, "21=Other 22=L22 23=L23 24=L24 25=L25 26=L27 27=L27.01 "},
        {full21, 21, false, "21=L22 22=L23 23=L24 24=L25 25=L26 26=L27 27=L27.01 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.at) + (c.add ? " add" : " delete"));
        db().Execute("DELETE FROM C WHERE (LineNum > 13 AND LineNum < 14) OR (LineNum > 21 AND LineNum < 28)");
        Lines(c.lines);
        const double from = c.at < 14 ? 13 : 21, to = c.at < 14 ? 14 : 28;
        const std::string others = Band(1, 13) + Band(14, 21) + Band(28, 29);
        frmEditC* e = Open();
        e->grd->SetCurrentCell(RowOf(e, c.at), kAmount);
        (c.add ? e->cmdAdd : e->cmdDelete)->click();
        EXPECT_EQ(Band(from, to), c.band);
        EXPECT_EQ(Band(1, 13) + Band(14, 21) + Band(28, 29), others);
        const double landed = e->Current("LineNum").ToDouble();
        if (c.add) {
            EXPECT_EQ(e->Current("Description"), Value("Other"));
            EXPECT_EQ(e->grd->Col(), kDescription);
        } else {
            EXPECT_EQ(landed, c.at);
        }
        gui::Unload_Form(e);
        Settle();
    }
}

TEST_F(EditC, TheBandsStopAtTheirLimits) {
    const struct {
        std::vector<double> lines;
        double at;
        bool add;
    } cases[] = {
        {Range(13.01, 13.98, 0.01), 13.5, true},
        {Range(13.01, 13.99, 0.01), 13.5, false},
        {[] { auto v = Range(22, 27); for (double s : Range(27.01, 27.98, 0.01)) v.push_back(s); return v; }(), 27.5, true},
        {[] { auto v = Range(22, 27); for (double s : Range(27.01, 27.99, 0.01)) v.push_back(s); return v; }(), 22, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.at);
        db().Execute("DELETE FROM C WHERE (LineNum > 13 AND LineNum < 14) OR (LineNum > 21 AND LineNum < 28)");
        Lines(c.lines);
        frmEditC* e = Open();
        e->grd->SetCurrentCell(RowOf(e, c.at), kAmount);
        EXPECT_EQ(e->cmdAdd->isEnabled(), c.add);
        EXPECT_TRUE(e->cmdDelete->isEnabled());
        gui::Unload_Form(e);
        Settle();
    }
}

TEST_F(EditC, CellRulesStoreWhatTheyAcceptAndKeepWhatTheyRefuse) {
    auto* v = OpenSheet<gui::WorksheetWindow>("view", "C");
    frmEditC* e = Open();
    const int row = RowOf(e, 13);
    const std::string typed45 = "Adjustment for something rather long to keep!";
    ASSERT_EQ(typed45.size(), 45u);
    const char* const truncated =
        "The description cannot be more than 40 characters in length. The description has been truncated.";
    const struct {
        int col;
        std::string typed;
        Value stored;  // Null: refused, the stored value kept
        std::vector<std::string> messages;
    } cases[] = {
        {kDescription, typed45, Value(typed45.substr(0, 40)), {truncated}},
        {kDescription, "Say \"no\"", Value::Null(), {"The description cannot contain double quote characters"}},
        {kBasis, "b", Value("B"), {}},
        {kBasis, "alpha", Value("A"), {}},
        {kBasis, "x", Value::Null(), {"This field may only contain the letters 'A' or 'B\""}},
        {kBasis, "", Value(""), {}},
        {kAmount, "-1250.5", Value(Currency::FromInt(-1251)),
         {"This field may only contain full dollar amounts. The value has been rounded"}},
        {kAmount, "1,234", Value::Null(), {"This field may only contain numeric values"}},
        {kLine, "999", Value::Null(), {"Invalid Cost Center number"}},
        {kLine, "abc", Value::Null(), {"Invalid Cost Center number"}},
        {kLine, "99999999999999999999", Value::Null(), {"Invalid Cost Center number"}},
        {kLine, "201", Value(Currency::FromInt(201)), {}},  // balance-sheet accounts may be adjusted too
        {kLine, "2", Value(Currency::FromInt(2)), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        ui.ClearRecords();
        for (size_t i = 0; i < c.messages.size(); ++i) ui.ExpectMessage();
        const std::string field = e->grd->Data().FieldName(c.col);
        const auto stored = [&] { return db().Scalar("SELECT " + field + " FROM C WHERE LineNum = 13"); };
        const Value before = stored();
        EXPECT_EQ(e->grd->TypeIntoCell(row, c.col, c.typed), !c.stored.IsNull());
        EXPECT_EQ(stored(), c.stored.IsNull() ? before : c.stored);
        EXPECT_EQ(ui.Prompts(), c.messages);
        // What is stored is in the open viewer at once.
        EXPECT_EQ(v->grd->Data().FieldValue(v->grd->Data().FindFirst("LineNum", db::FindOp::Eq, Value(13)), field),
                  stored());
    }
    EXPECT_EQ(db().Scalar("SELECT CCName FROM C WHERE LineNum = 13"), Value(Get_CC_Name(Value(2))));
    for (const char* none : {"0", ""}) {
        EXPECT_TRUE(e->grd->TypeIntoCell(row, kLine, none));
        EXPECT_EQ(db().Scalar("SELECT CCNum FROM C WHERE LineNum = 13"), Value(Currency()));
        EXPECT_EQ(db().Scalar("SELECT CCName FROM C WHERE LineNum = 13"), Value(" "));
    }
}

}  // namespace
}  // namespace vt::test
