// The editors of B-1, B-2 and C driven as a user types: how each opens and
// looks, B-1's and C's line lists kept dense through Add and Delete with every
// other line's contents, and the rules that store, rewrite or refuse a cell.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTest>

#include "editors/edit_form.h"
#include "engine/general/b1.h"
#include "engine/general/b2.h"
#include "engine/general/c.h"
#include "shell/forms.h"
#include "shell/headings.h"
#include "shell/worksheet_windows.h"
#include "store/services.h"
#include "tests/gui_support/gui_test.h"
#include "viewers/view_form.h"

namespace vt::test {
namespace {

const char* const kInvalidCC = "Invalid Cost Center number";
const char* const kPositive = "This field must contain a positive amount. The value has been changed to positive";

class SheetEditors : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        using Build = void (*)();
        for (auto [table, build] : {std::pair<const char*, Build>{"B1", Build_B1}, {"B2p1", Build_B2p1},
                                    {"B2p2", Build_B2p2}, {"B2p3", Build_B2p3}, {"C", Build_C}})
            if (!Table_Exists(table)) build();
    }
    template <class Form = gui::EditForm>
    Form* Open(const std::string& code, const std::string& mode = "edit") {
        gui::Open_Worksheet_Form(mode, code);
        QWidget* w = nullptr;
        EXPECT_TRUE(gui::Is_Form_Loaded((mode == "edit" ? "frmEdit" : "frmView") + code, &w)) << code;
        return dynamic_cast<Form*>(w);
    }
    // Lines of `table` keyed by `key`, each described by its own number.
    void Lines(const std::string& table, const std::string& key, const std::string& text, std::vector<double> keys) {
        db::Transaction tx(db());
        for (double n : keys)
            db().Execute("INSERT INTO " + table + " (" + key + ", " + text + ") VALUES (?, ?)",
                         {Value::Cur(n), Value("L" + SqlNumber(Currency::FromDouble(n)))});
        tx.Commit();
    }
    // "number=text " of the lines from `from` to below `to`.
    std::string Sheet(const std::string& table, const std::string& key, const std::string& text, double from,
                      double to) {
        std::string all = " ";
        auto rs = db().OpenRecordset("SELECT " + key + ", " + text + " FROM " + table + " WHERE " + key + " >= ? AND " +
                                         key + " < ? ORDER BY " + key, {Value(from), Value(to)});
        for (; !rs.Eof(); rs.MoveNext()) all += SqlNumber(rs.Field(0).ToCurrency()) + "=" + rs.Field(1).ToText() + " ";
        return all;
    }
    static int RowOf(gui::WorksheetWindow* w, const char* key, double line) {
        return w->grd->Data().FindFirst(key, db::FindOp::Eq, Value::Cur(line));
    }
};

std::vector<double> Range(double from, double to, double step = 1) {
    std::vector<double> v;
    for (int i = 0; from + i * step <= to + 1e-9; ++i) v.push_back(Currency::FromDouble(from + i * step).ToDouble());
    return v;
}

TEST_F(SheetEditors, EachOpensFromItsViewerAndArrowsAndIsPictured) {
    RegisterAllWorksheets();
    gui::Install_Heading_Measurer(nullptr);
    Lines("B1", "SeqNum", "Explanation", {1});
    Lines("C", "LineNum", "Description", {13.01});
    const QString dir = QDir(VT_BUILD_DIR).filePath("screenshots");
    QDir().mkpath(dir);
    const struct {
        const char *code, *previousCode, *previous, *next;
        int columns, headLines;
        std::vector<int> hidden;
        bool addAndDelete;  // at the first line
    } editors[] = {
        {"B1", "B", "Open B For Edit", "Open B-2  Part-1 For Edit", 9, 4, {3, 6}, true},
        {"B2p1", "B1", "Open B-1 For Edit", "Open B-2  Part-2 For Edit", 9, 4, {5, 7}, false},
        {"B2p2", "B2p1", "Open B-2  Part-1 For Edit", "Open B-2  Part-3 For Edit", 9, 4, {5, 7}, false},
        {"B2p3", "B2p2", "Open B-2  Part-2 For Edit", "Open C For Edit", 10, 4, {}, false},
        {"C", "B2p3", "Open B-2  Part-3 For Edit", "Open D  Part-A For Edit", 6, 2, {5}, false},
    };
    for (const auto& s : editors) {
        SCOPED_TRACE(s.code);
        QTest::mouseClick(Open<gui::ViewForm>(s.code, "view")->cmdOpenEdit, Qt::LeftButton);
        auto* e = Open(s.code);
        ASSERT_TRUE(e);
        EXPECT_EQ(e->Caption(), std::string("Edit Worksheet ") + s.code);
        EXPECT_EQ(e->cmdPrevious->toolTip().toStdString(), s.previous);
        EXPECT_EQ(e->cmdNext->toolTip().toStdString(), s.next);
        ASSERT_EQ(e->grd->ColumnCount(), s.columns);
        EXPECT_EQ(e->grd->HeadLines(), s.headLines);
        for (int c = 0; c < s.columns; ++c)
            EXPECT_EQ(e->grd->Columns(c).Visible(), std::count(s.hidden.begin(), s.hidden.end(), c) == 0) << c;
        EXPECT_FALSE(e->grd->TypeIntoCell(0, 0, "3"));
        EXPECT_EQ(e->cmdAdd->isEnabled(), s.addAndDelete);
        EXPECT_EQ(e->cmdDelete->isEnabled(), s.addAndDelete);
        QApplication::processEvents();
        EXPECT_TRUE(e->grab().save(QDir(dir).filePath(QString("frmEdit") + s.code + ".png")));
        QTest::mouseClick(e->cmdPrevious, Qt::LeftButton);
        EXPECT_TRUE(gui::Is_Form_Loaded(std::string("frmEdit") + s.previousCode));
        UnloadAllForms();
        Settle();
    }
}

TEST_F(SheetEditors, B1AddAndDeleteKeepTheLinesDenseAndInOrder) {
    const auto subLines = [](double last) {
        auto v = Range(1, 99);
        for (double s : Range(99.01, last, 0.01)) v.push_back(s);
        return v;
    };
    const struct {
        std::vector<double> lines;
        double at;  // 0: Add
        std::string after;  // the lines from 49 (from 1 on a short sheet)
    } cases[] = {
        {Range(1, 7), 5, "1=L1 2=L2 3=L3 4=L4 5=L6 6=L7 "},
        {subLines(99.02), 50, "49=L49 50=L51 98=L99 99=L99.01 99.01=L99.02 "},
        {subLines(99.03), 99.02, "49=L49 50=L50 99=L99 99.01=L99.01 99.02=L99.03 "},
        {{}, 0, "1= "},  // an empty sheet takes its first line
        {Range(1, 98), 0, "49=L49 50=L50 98=L98 99= "},
        {subLines(99.98), 0, "49=L49 50=L50 99.98=L99.98 99.99= "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.at);
        db().Execute("DELETE FROM B1 WHERE SeqNum < 100");
        Lines("B1", "SeqNum", "Explanation", c.lines);
        auto* viewer = Open<gui::WorksheetWindow>("B1", "view");
        auto* e = Open("B1");
        if (!c.lines.empty()) e->grd->SetCurrentCell(RowOf(e, "SeqNum", c.at ? c.at : 1), 2);
        const auto all = [&] { return Sheet("B1", "SeqNum", "IFNULL(Explanation, '')", 0, 101); };
        const std::string before = all();
        (c.at ? e->cmdDelete : e->cmdAdd)->click();
        const std::string after = all();
        for (size_t p = 0, q; (q = c.after.find(' ', p)) != std::string::npos; p = q + 1)
            EXPECT_NE(after.find(" " + c.after.substr(p, q - p + 1)), std::string::npos) << c.after.substr(p, q - p);
        EXPECT_EQ(viewer->grd->Data().RecordCount(), static_cast<int>(c.lines.size()) + (c.at ? 0 : 2));
        EXPECT_EQ(e->cmdAdd->isEnabled(), after.find("99.99=") == std::string::npos);
        if (!c.at) {  // the added line is current: deleting it gives the sheet back
            e->cmdDelete->click();
            EXPECT_EQ(all(), before);
        }
        UnloadAllForms();
        Settle();
    }
}

// One typed cell: what is stored afterwards (Null: refused, the stored
// value kept) and the messages shown.
struct Typed {
    int col;
    std::string text;
    Value stored;
    std::vector<std::string> messages;
};

class TypedCells : public SheetEditors {
protected:
    // Types each entry into the row of `line` and checks the table and an
    // open viewer of the same sheet.
    gui::EditForm* Check(const std::string& code, const char* key, double line, const std::vector<Typed>& cases) {
        auto* viewer = Open<gui::WorksheetWindow>(code, "view");
        auto* e = Open(code);
        const int row = RowOf(e, key, line);
        for (const auto& c : cases) {
            SCOPED_TRACE(code + " " + c.text);
            ui.ClearRecords();
            for (size_t i = 0; i < c.messages.size(); ++i) ui.ExpectMessage();
            const std::string field = e->grd->Data().FieldName(c.col);
            const auto stored = [&] {
                return db().Scalar("SELECT " + field + " FROM " + code + " WHERE " + key + " = ?", {Value::Cur(line)});
            };
            const Value before = stored();
            EXPECT_EQ(e->grd->TypeIntoCell(row, c.col, c.text), !c.stored.IsNull());
            EXPECT_EQ(stored(), c.stored.IsNull() ? before : c.stored);
            EXPECT_EQ(e->Field(row, field), stored());
            EXPECT_EQ(viewer->grd->Data().FieldValue(RowOf(viewer, key, line), field), stored());
            EXPECT_EQ(ui.Prompts(), c.messages);
        }
        return e;
    }
    static Value Cur(int n) { return Value(Currency::FromInt(n)); }
};

TEST_F(TypedCells, B1CodesSidesAndAmounts) {
    Lines("B1", "SeqNum", "Explanation", {1});
    const std::string refused =
        "A valid CODE [any letter from 'A' through 'Z'] must be entered.  Select OK to continue.";
    auto* e = Check("B1", "SeqNum", 1,
          {{2, "b", Value("B"), {}},
           {2, "AB", Value::Null(), {refused}},
           {1, std::string(41, 'x') + "\"", Value::Null(),
            {"The explanation cannot be more than 40 characters in length",
             "The explanation cannot contain double quote characters"}},
           {4, "150", Value::Null(), {kInvalidCC}},  // no cost centre has it
           {4, "201", Value::Null(), {kInvalidCC}},  // an account, not an expense
           {4, "1,5", Value::Null(), {kInvalidCC}},
           {4, "2", Cur(2), {}},
           {5, "-500", Cur(500), {kPositive}},
           {5, "12abc", Value::Null(), {"This field may only contain numeric values"}}});
    ui.ClearRecords();
    ui.ExpectMessage();
    EXPECT_FALSE(e->grd->TypeIntoCell(0, 2, "7"));
    EXPECT_EQ(ui.Beeps(), 1);
    EXPECT_EQ(ui.Messages()[0].title, "Error: Invalid CODE Entry");
    EXPECT_EQ(db().Scalar("SELECT Code FROM B1 WHERE SeqNum = 1"), Value("B"));
    const auto side = [&] {
        return db().Scalar(
            "SELECT IFNULL(UpCCNum, 'n') || IFNULL(UpCCName, 'n') || IFNULL(UpAmount, 'n') FROM B1 WHERE SeqNum = 1");
    };
    EXPECT_EQ(side(), Value("2.0" + Get_CC_Name(Value(2)) + "500.0"));
    EXPECT_TRUE(e->grd->TypeIntoCell(0, 4, "0"));  // no cost centre: the side is cleared
    EXPECT_EQ(side(), Value("nnn"));
}

TEST_F(TypedCells, B2DisposalsStayPositiveAndPartThreeOpensByLine) {
    for (const char* code : {"B2p1", "B2p2"}) {
        Check(code, "SeqNum", 2,
              {{6, "-300", Cur(300), {kPositive}},
               {3, "-300", Cur(-300), {}},
               {2, "12.5", Cur(13), {"This field may only contain full dollar amounts. The value has been rounded"}},
               {1, "Land", Value::Null(), {}}});
        EXPECT_FALSE(Open(code)->cmdAdd->isEnabled() || Open(code)->cmdDelete->isEnabled());
    }
    auto* e = Open("B2p3");
    for (double line : {1.0, 1.01, 5.0}) {
        for (int col = 0; col < 10; ++col) {
            const bool open = col > 1 && ((line >= 5) == (col >= 4 && col <= 6));
            EXPECT_EQ(e->grd->TypeIntoCell(RowOf(e, "SeqNum", line), col, "7"), open) << line << " " << col;
        }
    }
}

TEST_F(TypedCells, CDescriptionsBasesAndCostCentres) {
    const std::string typed45 = "Adjustment for something rather long to keep!";
    auto* e = Check("C", "LineNum", 21,
          {{1, typed45, Value(typed45.substr(0, 40)),
            {"The description cannot be more than 40 characters in length. The description has been truncated."}},
           {2, "b", Value("B"), {}},
           {2, "x", Value::Null(), {"This field may only contain the letters 'A' or 'B\""}},
           {4, "999", Value::Null(), {kInvalidCC}},
           {4, "201", Cur(201), {}}});  // any cost centre of the list may be adjusted
    const auto name = [&] { return db().Scalar("SELECT CCName FROM C WHERE LineNum = 21"); };
    EXPECT_EQ(name(), Value(Get_CC_Name(Value(201))));
    EXPECT_TRUE(e->grd->TypeIntoCell(RowOf(e, "LineNum", 21), 4, "0"));
    EXPECT_EQ(name(), Value(" "));
    EXPECT_FALSE(e->grd->TypeIntoCell(RowOf(e, "LineNum", 20), 1, "Other"));
}

TEST_F(SheetEditors, CAddAndDeleteKeepEachBandContiguous) {
    auto full21 = Range(22, 27);
    full21.push_back(27.01);
    const struct {
        std::vector<double> lines;
        double at;
        bool add;
        const char* band;
    } cases[] = {
        {{}, 13, true, " 13=Other 13.01=Other "},
        {{13.01, 13.02}, 13, false, " 13=L13.01 13.01=L13.02 "},
        {full21, 24, true, " 21=Other 22=L22 23=L23 24=L24 25=Other 26=L25 27=L26 27.01=L27 27.02=L27.01 "},
        {full21, 26, false, " 21=Other 22=L22 23=L23 24=L24 25=L25 26=L27 27=L27.01 "},
    };
    const auto fixedLines = [&] {
        return Sheet("C", "LineNum", "Description", 0, 13) + Sheet("C", "LineNum", "Description", 14, 21);
    };
    const std::string fixed = fixedLines();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.at);
        db().Execute("DELETE FROM C WHERE (LineNum > 13 AND LineNum < 14) OR (LineNum > 21 AND LineNum < 28)");
        Lines("C", "LineNum", "Description", c.lines);
        auto* e = Open("C");
        e->grd->SetCurrentCell(RowOf(e, "LineNum", c.at), 3);
        (c.add ? e->cmdAdd : e->cmdDelete)->click();
        EXPECT_EQ(Sheet("C", "LineNum", "Description", c.at < 14 ? 13 : 21, c.at < 14 ? 14 : 28), c.band);
        EXPECT_EQ(fixedLines(), fixed);
        if (c.add) EXPECT_EQ(e->Current("Description"), Value("Other"));
        else EXPECT_EQ(e->Current("LineNum"), Value::Cur(c.at));
        UnloadAllForms();
        Settle();
    }
}

}  // namespace
}  // namespace vt::test
