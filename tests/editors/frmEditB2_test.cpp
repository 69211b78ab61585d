// The editors of worksheet B-2 driven as a user types: Parts I and II take
// their amounts with disposals kept positive, Part III opens its columns by
// line, and none of them adds or deletes a line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editors/frmEditB2.h"
#include "engine/general/b2.h"
#include "store/services.h"
#include "tests/editors/editor_test.h"
#include "tests/gui_support/gui_test.h"

namespace vt::test {
namespace {

class EditB2 : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        if (!Table_Exists("B2p1")) Build_B2p1();
        if (!Table_Exists("B2p2")) Build_B2p2();
        if (!Table_Exists("B2p3")) Build_B2p3();
    }
    gui::EditForm* Open(const std::string& code) { return OpenSheet<gui::EditForm>("edit", code); }
    Value Stored(const std::string& table, const std::string& field, double line) {
        return db().Scalar("SELECT " + field + " FROM " + table + " WHERE SeqNum = ?", {Value::Cur(line)});
    }
};

TEST_F(EditB2, PartsOneAndTwoKeepDisposalsPositiveAndNeverAddOrDelete) {
    const char* const positive = "This field must contain a positive amount. The value has been changed to positive";
    const struct {
        int col;
        const char* typed;
        Value stored;  // Null: refused
        const char* message;
    } cases[] = {
        {6, "-300", Value(Currency::FromInt(300)), positive},
        {3, "-300", Value(Currency::FromInt(-300)), nullptr},
        {2, "12.5", Value(Currency::FromInt(13)), "This field may only contain full dollar amounts. The value has been rounded"},
        {8, "x", Value::Null(), "This field may only contain numeric values"},
    };
    for (const char* code : {"B2p1", "B2p2"}) {
        SCOPED_TRACE(code);
        gui::EditForm* e = Open(code);
        grid::Grid& g = *e->grd;
        EXPECT_EQ(e->Caption(), std::string("Edit Worksheet ") + code);
        ASSERT_EQ(g.Data().RecordCount(), 7);
        EXPECT_EQ(g.Data().FieldValue(6, "SeqNum"), Value(Currency::FromInt(8)));
        ASSERT_EQ(g.ColumnCount(), 9);
        for (int c = 0; c < 9; ++c) {
            EXPECT_EQ(g.Columns(c).Width(), c == 0 ? 600 : c == 1 ? 3500 : 1200) << c;
            EXPECT_EQ(g.Columns(c).Visible(), c != 5 && c != 7) << c;
        }
        EXPECT_FALSE(g.TypeIntoCell(0, 1, "Land too"));
        for (const auto& c : cases) {
            SCOPED_TRACE(c.typed);
            ui.ClearRecords();
            if (c.message) ui.ExpectMessage();
            const std::string field = g.Data().FieldName(c.col);
            const Value before = Stored(code, field, 2);
            EXPECT_EQ(g.TypeIntoCell(1, c.col, c.typed), !c.stored.IsNull());
            EXPECT_EQ(Stored(code, field, 2), c.stored.IsNull() ? before : c.stored);
            EXPECT_EQ(ui.Prompts(), c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
        }
        for (int row : {0, 6}) {
            g.SetCurrentCell(row, 3);
            EXPECT_FALSE(e->cmdAdd->isEnabled());
            EXPECT_FALSE(e->cmdDelete->isEnabled());
        }
    }
}

TEST_F(EditB2, PartThreeOpensTheSpreadAmountsOnTheTotalLineAndTheRestAbove) {
    gui::EditForm* e = Open("B2p3");
    grid::Grid& g = *e->grd;
    ASSERT_EQ(g.ColumnCount(), 10);
    EXPECT_EQ(g.HeadLines(), 4);
    EXPECT_EQ(g.Data().FieldName(4), "Insurance");
    EXPECT_EQ(g.Columns(9).Width(), 1200);
    ASSERT_EQ(g.Data().RecordCount(), 9);
    for (int row : {0, 1, 8}) {  // lines 1, 1.01 and the Total line 5
        const double line = g.Data().FieldValue(row, "SeqNum").ToDouble();
        SCOPED_TRACE(line);
        for (int col = 0; col < 10; ++col) {
            const bool open = col > 1 && ((line >= 5) == (col >= 4 && col <= 6));
            const std::string field = g.Data().FieldName(col);
            EXPECT_EQ(g.TypeIntoCell(row, col, std::to_string(100 + col)), open) << field;
            if (open) {
                EXPECT_EQ(Stored("B2p3", field, line), Value(Currency::FromInt(100 + col))) << field;
            }
        }
        EXPECT_FALSE(e->cmdAdd->isEnabled());
        EXPECT_FALSE(e->cmdDelete->isEnabled());
    }
}

}  // namespace
}  // namespace vt::test
