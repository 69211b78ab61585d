// The editor of worksheet B-1 driven as a user types: its columns, the line
// list kept dense through Add and Delete with every other line's values in
// order, and the explanation, code, cost-centre and amount rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editors/frmEditB1.h"
#include "engine/general/b1.h"
#include "store/services.h"
#include "tests/editors/editor_test.h"
#include "tests/gui_support/gui_test.h"

namespace vt::test {
namespace {

using gui::frmEditB1;
const char* const kInvalidCC = "Invalid Cost Center number";
const char* const kCodeMessage =
    "A valid CODE [any letter from 'A' through 'Z'] must be entered.  Select OK to continue.";

const char* const kWholeLine =
    "Code || '/' || Explanation || '/' || IFNULL(UpCCNum, 'n') || '/' || IFNULL(UpCCName, 'n') || '/' || UpAmount";

enum Col { kExplanation = 1, kCode = 2, kUpName = 3, kUpNum = 4, kUpAmount = 5, kDnNum = 7 };

class EditB1 : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        if (!Table_Exists("B1")) Build_B1();
    }
    // Lines numbered as given, each explained by its own number, with an
    // increase of as many dollars.
    void Lines(const std::vector<double>& numbers) {
        db::Transaction tx(db());
        for (double n : numbers)
            db().Execute("INSERT INTO B1 (SeqNum, Explanation, UpAmount, DnAmount) VALUES (?, ?, ?, 0)",
                         {Value::Cur(n), Value(SqlNumber(Currency::FromDouble(n))), Value::Cur(n)});
        tx.Commit();
    }
    frmEditB1* Open() { return OpenSheet<frmEditB1>("edit", "B1"); }
    // "number:explanation:amount" of every line below the total.
    std::vector<std::string> Sheet() {
        std::vector<std::string> all;
        auto rs = db().OpenRecordset("SELECT SeqNum, Explanation, UpAmount FROM B1 WHERE SeqNum < 100 ORDER BY SeqNum");
        for (; !rs.Eof(); rs.MoveNext())
            all.push_back(SqlNumber(rs.Field(0).ToCurrency()) + ":" + Nz_Str(rs.Field(1)).ToText() + ":" +
                          SqlNumber(rs.Field(2).ToCurrency()));
        return all;
    }
    static int RowOf(frmEditB1* e, double line) {
        return e->grd->Data().FindFirst("SeqNum", db::FindOp::Eq, Value::Cur(line));
    }
    Value Stored(double line, const char* field) {
        return db().Scalar(std::string("SELECT ") + field + " FROM B1 WHERE SeqNum = ?", {Value::Cur(line)});
    }
};

TEST_F(EditB1, ShowsTheLinesBelowTheTotalWithTheNameColumnsHidden) {
    Lines({1, 2});
    frmEditB1* e = Open();
    grid::Grid& g = *e->grd;
    EXPECT_EQ(e->Caption(), "Edit Worksheet B1");
    EXPECT_EQ(g.Data().RecordCount(), 2);
    ASSERT_EQ(g.ColumnCount(), 9);
    EXPECT_EQ(g.HeadLines(), 4);
    EXPECT_EQ(g.Col(), 1);
    const double widths[] = {600, 3500, 600, 3500, 700, 1000, 3500, 700, 1000};
    for (int c = 0; c < 9; ++c) {
        EXPECT_EQ(g.Columns(c).Width(), widths[c]) << c;
        EXPECT_EQ(g.Columns(c).Visible(), c != 3 && c != 6) << c;
    }
    EXPECT_FALSE(g.TypeIntoCell(0, 0, "5"));
    EXPECT_EQ(g.Columns(kUpNum).Caption(), "Incr\rLine\r  #\r  3");
    EXPECT_TRUE(e->cmdAdd->isEnabled());
    EXPECT_TRUE(e->cmdDelete->isEnabled());
}

TEST_F(EditB1, AddAppendsTheNextNumberUntilTheSheetIsFull) {
    const struct {
        std::vector<double> lines;
        double added;  // 0: Add is disabled
    } cases[] = {
        {{}, 1}, {Range(1, 98), 99}, {Range(1, 99), 99.01},
    };
    for (const auto& c : cases) {
        db().Execute("DELETE FROM B1 WHERE SeqNum < 100");
        Lines(c.lines);
        frmEditB1* e = Open();
        if (!c.lines.empty()) e->grd->SetCurrentCell(0, 2);
        const auto before = Sheet();
        e->cmdAdd->click();
        EXPECT_EQ(e->Current("SeqNum"), Value::Cur(c.added));
        EXPECT_EQ(e->grd->Col(), kExplanation);
        EXPECT_TRUE(e->grd->EditActive());
        auto expected = before;
        expected.push_back(SqlNumber(Currency::FromDouble(c.added)) + "::0");
        EXPECT_EQ(Sheet(), expected);
        gui::Unload_Form(e);
        Settle();
    }
    // 99.98 takes the last number there is, and then the sheet is full.
    Lines(Range(99.02, 99.98, 0.01));
    frmEditB1* e = Open();
    e->grd->SetRow(0);
    e->cmdAdd->click();
    EXPECT_EQ(e->Current("SeqNum"), Value::Cur(99.99));
    EXPECT_FALSE(e->cmdAdd->isEnabled());
    e->cmdAdd->click();
    EXPECT_EQ(Stored(99.99, "COUNT(*)"), Value(1));
}

TEST_F(EditB1, DeleteClosesTheGapAndKeepsEveryOtherLineInOrder) {
    const struct {
        std::vector<double> lines;
        double deleted;
    } cases[] = {
        {Range(1, 7), 5},
        {Range(1, 7), 7},
        {{1}, 1},
        {[] { auto v = Range(1, 99); for (double s : Range(99.01, 99.04, 0.01)) v.push_back(s); return v; }(), 99.02},
        {[] { auto v = Range(1, 99); for (double s : Range(99.01, 99.03, 0.01)) v.push_back(s); return v; }(), 50},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.deleted);
        db().Execute("DELETE FROM B1 WHERE SeqNum < 100");
        Lines(c.lines);
        auto* viewer = OpenSheet<gui::WorksheetWindow>("view", "B1");
        frmEditB1* e = Open();
        // The expected sheet: the other lines' contents in order, renumbered densely.
        std::vector<std::string> expected;
        auto before = Sheet();
        size_t k = 0;
        for (double n : c.lines) {
            const std::string contents = before[k++];
            if (n == c.deleted) continue;
            expected.push_back(SqlNumber(Currency::FromDouble(c.lines[expected.size()])) +
                               contents.substr(contents.find(':')));
        }
        // Far down the sheet the line at the top stays at the top.
        const bool scrolled = c.lines.size() > 60;
        if (scrolled) e->grd->SetFirstRow(RowOf(e, c.deleted) - 5);
        const Value top = e->Field(e->grd->FirstRow(), "SeqNum");
        e->grd->SetCurrentCell(RowOf(e, c.deleted), 2);
        e->cmdDelete->click();
        EXPECT_EQ(Sheet(), expected);
        EXPECT_EQ(viewer->grd->Data().RecordCount(), static_cast<int>(expected.size()) + 1);
        if (scrolled) {
            EXPECT_EQ(e->Field(e->grd->FirstRow(), "SeqNum"), top);
        }
        // The cursor is on the line that took the deleted number, or the one before.
        if (!expected.empty()) {
            EXPECT_LE(e->Current("SeqNum").ToCurrency(), Currency::FromDouble(c.deleted));
        }
        EXPECT_EQ(Stored(100, "Explanation"), Value("Total Reclassifications"));
        // Adding and deleting again gives the same lines back.
        const auto after = Sheet();
        e->cmdAdd->click();
        e->cmdDelete->click();
        EXPECT_EQ(Sheet(), after);
        UnloadAllForms();
        Settle();
    }
}

TEST_F(EditB1, RefusedEntriesKeepTheStoredValue) {
    Lines({1});
    db().Execute("UPDATE B1 SET Code = 'K', Explanation = 'Rent' WHERE SeqNum = 1");
    frmEditB1* e = Open();
    const std::string longText(41, 'x');
    const struct {
        int col;
        std::string typed;
        std::vector<std::string> messages;
    } cases[] = {
        {kCode, "1", {kCodeMessage}},
        {kCode, "", {kCodeMessage}},
        {kCode, "[", {kCodeMessage}},
        {kCode, "AB", {kCodeMessage}},
        {kExplanation, longText, {"The explanation cannot be more than 40 characters in length"}},
        {kExplanation, longText + "\"",
         {"The explanation cannot be more than 40 characters in length",
          "The explanation cannot contain double quote characters"}},
        {kUpNum, "250", {kInvalidCC}},
        {kUpNum, "201", {kInvalidCC}},  // an account of J, not an expense
        {kUpNum, "150", {kInvalidCC}},  // no cost centre has it
        {kUpNum, "abc", {kInvalidCC}},
        {kUpNum, "1,5", {kInvalidCC}},
        {kUpAmount, "abc", {"This field may only contain numeric values"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        ui.ClearRecords();
        for (size_t i = 0; i < c.messages.size(); ++i) ui.ExpectMessage();
        const Value kept = Stored(1, kWholeLine);
        EXPECT_FALSE(e->grd->TypeIntoCell(0, c.col, c.typed));
        EXPECT_EQ(ui.Prompts(), c.messages);
        EXPECT_EQ(Stored(1, kWholeLine), kept);
        const std::string field = e->grd->Data().FieldName(c.col);
        EXPECT_EQ(e->Field(0, field), Stored(1, field.c_str()));
    }
    EXPECT_EQ(ui.Messages().back().style, ui::kOkOnly);
    ui.ClearRecords();
    ui.ExpectMessage();
    e->grd->TypeIntoCell(0, kCode, "7");
    EXPECT_EQ(ui.Beeps(), 1);
    EXPECT_EQ(ui.Messages()[0].title, "Error: Invalid CODE Entry");
    EXPECT_EQ(ui.Messages()[0].style, ui::kCritical);
}

TEST_F(EditB1, ASideTakesAListedNumberWithItsNameAndIsClearedByZero) {
    Lines({1});
    auto* v = OpenSheet<gui::WorksheetWindow>("view", "B1");
    frmEditB1* e = Open();
    EXPECT_TRUE(e->grd->TypeIntoCell(0, kCode, "b"));
    EXPECT_EQ(Stored(1, "Code"), Value("B"));
    EXPECT_TRUE(e->grd->TypeIntoCell(0, kUpNum, "2"));
    EXPECT_EQ(Stored(1, "UpCCName"), Value(Get_CC_Name(Value(2))));
    EXPECT_EQ(e->Field(0, "UpCCName"), Stored(1, "UpCCName"));
    EXPECT_EQ(Stored(1, "UpAmount"), Value(Currency::FromInt(1)));
    ui.ExpectMessage();
    EXPECT_TRUE(e->grd->TypeIntoCell(0, kUpAmount, "-500"));
    EXPECT_EQ(ui.Prompts().back(), "This field must contain a positive amount. The value has been changed to positive");
    EXPECT_EQ(Stored(1, "UpAmount"), Value(Currency::FromInt(500)));
    // What the editor stored is in the open viewer at once.
    EXPECT_EQ(v->grd->Data().FieldValue(0, "UpAmount"), Value(Currency::FromInt(500)));
    EXPECT_EQ(v->grd->Data().FieldValue(0, "UpCCNum"), Value(Currency::FromInt(2)));
    EXPECT_TRUE(e->grd->TypeIntoCell(0, kDnNum, "1"));
    for (const char* none : {"0", ""}) {
        EXPECT_TRUE(e->grd->TypeIntoCell(0, kUpNum, none));
        EXPECT_EQ(Stored(1, "IFNULL(UpCCNum, 'n') || IFNULL(UpCCName, 'n') || IFNULL(UpAmount, 'n')"), Value("nnn"));
        EXPECT_TRUE(e->Field(0, "UpAmount").IsNull());
        EXPECT_EQ(Stored(1, "DnCCNum"), Value(Currency::FromInt(1)));
    }
    EXPECT_TRUE(v->grd->Data().FieldValue(0, "UpAmount").IsNull());
}

}  // namespace
}  // namespace vt::test
