// The editors of B-1, B-2 and C driven as a user types: how each opens and
// looks, B-1's and C's lines kept dense through Add and Delete with every
// other line's contents, and the rules that store, rewrite or refuse a cell.
#include <QTest>

#include "shell/headings.h"
#include "tests/editors/sheet_editor_test.h"
#include "viewers/view_form.h"

namespace vt::test {
namespace {

const char* const kInvalidCC = "Invalid Cost Center number";
const char* const kPositive = "This field must contain a positive amount. The value has been changed to positive";
Value Cur(double n) { return Value::Cur(n); }

// One typed cell: what is stored afterwards (Null: refused, the stored value
// kept) and the messages shown.
struct Typed {
    int col;
    std::string text;
    Value stored;
    std::vector<std::string> messages;
};

class SheetEditors : public SheetEditorTest {
protected:
    static std::string Key(const std::string& code) { return code == "C" ? "LineNum" : "SeqNum"; }
    static std::string Text(const std::string& code) { return code == "C" ? "Description" : "Explanation"; }
    // Lines of B1 or C, each described by its own number.
    void Lines(const std::string& code, const std::vector<double>& keys) {
        db::Transaction tx(db());
        for (double n : keys)
            db().Execute("INSERT INTO " + code + " (" + Key(code) + ", " + Text(code) + ") VALUES (?, ?)",
                         {Cur(n), Value("L" + SqlNumber(Currency::FromDouble(n)))});
        tx.Commit();
    }
    // "|number=text|..." of every line of B1 or C.
    std::string Sheet(const std::string& code) {
        std::string all = "|";
        auto rs = db().OpenRecordset("SELECT " + Key(code) + ", IFNULL(" + Text(code) + ", '') FROM " + code +
                                     " ORDER BY " + Key(code));
        for (; !rs.Eof(); rs.MoveNext()) all += SqlNumber(rs.Field(0).ToCurrency()) + "=" + rs.Field(1).ToText() + "|";
        return all;
    }
    // Types each entry into the row of `line`; checks the table, the cell and
    // an open viewer of the same sheet.
    gui::EditForm* Check(const std::string& code, double line, const std::vector<Typed>& cases) {
        auto* viewer = View(code);
        auto* e = Edit(code);
        const int row = RowOf(e, Key(code), line);
        for (const auto& c : cases) {
            SCOPED_TRACE(code + " " + c.text);
            ui.ClearRecords();
            for (size_t i = 0; i < c.messages.size(); ++i) ui.ExpectMessage();
            const std::string field = e->grd->Data().FieldName(c.col);
            const auto stored = [&] {
                return db().Scalar("SELECT " + field + " FROM " + code + " WHERE " + Key(code) + " = ?", {Cur(line)});
            };
            const Value before = stored();
            EXPECT_EQ(e->grd->TypeIntoCell(row, c.col, c.text), !c.stored.IsNull());
            EXPECT_EQ(stored(), c.stored.IsNull() ? before : c.stored);
            EXPECT_EQ(e->Field(row, field), stored());
            EXPECT_EQ(viewer->grd->Data().FieldValue(RowOf(viewer, Key(code), line), field), stored());
            EXPECT_EQ(ui.Prompts(), c.messages);
        }
        return e;
    }
};

std::vector<double> Range(double from, double to, double step = 1) {
    std::vector<double> v;
    for (int i = 0; from + i * step <= to + 1e-9; ++i) v.push_back(Currency::FromDouble(from + i * step).ToDouble());
    return v;
}

TEST_F(SheetEditors, EachOpensFromItsViewerAndArrowsAndIsPictured) {
    RegisterAllWorksheets();
    gui::InstallHeadingMeasurer(nullptr);
    Lines("B1", {1});
    Lines("C", {13.01});
    const QString dir = QDir(VT_BUILD_DIR).filePath("screenshots");
    QDir().mkpath(dir);
    const struct {
        const char *code, *previousCode, *previous, *next;
        int columns, headLines;
        std::vector<int> hidden;
        bool addAndDelete;  // on the first line
    } editors[] = {
        {"B1", "B", "Open B For Edit", "Open B-2  Part-1 For Edit", 9, 4, {3, 6}, true},
        {"B2p1", "B1", "Open B-1 For Edit", "Open B-2  Part-2 For Edit", 9, 4, {5, 7}, false},
        {"B2p2", "B2p1", "Open B-2  Part-1 For Edit", "Open B-2  Part-3 For Edit", 9, 4, {5, 7}, false},
        {"B2p3", "B2p2", "Open B-2  Part-2 For Edit", "Open C For Edit", 10, 4, {}, false},
        {"C", "B2p3", "Open B-2  Part-3 For Edit", "Open D  Part-A For Edit", 6, 2, {5}, false},
    };
    for (const auto& s : editors) {
        SCOPED_TRACE(s.code);
        QTest::mouseClick(Open<gui::ViewForm>("view", s.code)->cmdOpenEdit, Qt::LeftButton);
        auto* e = Edit(s.code);
        EXPECT_EQ(e->Caption(), std::string("Edit Worksheet ") + s.code);
        EXPECT_EQ(std::tuple(e->cmdPrevious->toolTip().toStdString(), e->cmdNext->toolTip().toStdString()), std::tuple(s.previous, s.next));
        ASSERT_EQ(std::pair(e->grd->ColumnCount(), e->grd->HeadLines()), std::pair(s.columns, s.headLines));
        for (int c = 0; c < s.columns; ++c)
            EXPECT_EQ(e->grd->Columns(c).Visible(), std::count(s.hidden.begin(), s.hidden.end(), c) == 0) << c;
        EXPECT_EQ(std::pair(e->cmdAdd->isEnabled(), e->cmdDelete->isEnabled()), std::pair(s.addAndDelete, s.addAndDelete));
        QApplication::processEvents();
        EXPECT_TRUE(e->grab().save(QDir(dir).filePath(QString("frmEdit") + s.code + ".png")));
        QTest::mouseClick(e->cmdPrevious, Qt::LeftButton);
        EXPECT_TRUE(gui::Is_Form_Loaded(std::string("frmEdit") + s.previousCode));
        UnloadAllForms();
        Settle();
    }
}

TEST_F(SheetEditors, AddAndDeleteKeepTheLinesDenseWithTheirContents) {
    const auto subLines = [](double last) {
        auto v = Range(1, 99);
        for (double s : Range(99.01, last, 0.01)) v.push_back(s);
        return v;
    };
    auto full21 = Range(22, 27);
    full21.push_back(27.01);
    const std::string total = "|100=Total Reclassifications|";
    const struct {
        const char* code;
        std::vector<double> lines;
        double at;
        bool add;
        std::string after;  // a run of lines afterwards
    } cases[] = {
        {"B1", Range(1, 7), 5, false, "|4=L4|5=L6|6=L7" + total},
        {"B1", subLines(99.02), 50, false, "|98=L99|99=L99.01|99.01=L99.02" + total},
        {"B1", {}, 0, true, "|1=" + total},  // an empty sheet takes its first line
        {"B1", Range(1, 98), 1, true, "|98=L98|99=" + total},
        {"B1", subLines(99.98), 1, true, "|99.98=L99.98|99.99=" + total},
        {"C", {}, 13, true, "|13=Other|13.01=Other|14="},
        {"C", {13.01, 13.02}, 13, false, "|12=Rebates/refunds on expenses|13=L13.01|13.01=L13.02|14="},
        {"C", full21, 24, true, "|21=Other|22=L22|23=L23|24=L24|25=Other|26=L25|27=L26|27.01=L27|27.02=L27.01|28="},
        {"C", full21, 26, false, "|21=Other|22=L22|23=L23|24=L24|25=L25|26=L27|27=L27.01|28="},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.code) + " " + std::to_string(c.at));
        const std::string key = Key(c.code);
        db().Execute(key == "LineNum"
                         ? "DELETE FROM C WHERE (LineNum > 13 AND LineNum < 14) OR (LineNum > 21 AND LineNum < 28)"
                         : "DELETE FROM B1 WHERE SeqNum < 100");
        Lines(c.code, c.lines);
        auto* viewer = View(c.code);
        auto* e = Edit(c.code);
        if (c.at) e->grd->SetCurrentCell(RowOf(e, key, c.at), 3);
        const std::string before = Sheet(c.code);
        const int shown = viewer->grd->Data().RecordCount();
        (c.add ? e->cmdAdd : e->cmdDelete)->click();
        EXPECT_NE(Sheet(c.code).find(c.after), std::string::npos) << Sheet(c.code);
        EXPECT_EQ(viewer->grd->Data().RecordCount(), shown + (c.add ? 1 : -1));
        if (c.add) {  // on the new line: deleting it gives the sheet back
            EXPECT_EQ(std::pair(e->grd->Col(), e->cmdAdd->isEnabled()), std::pair(1, Sheet(c.code).find("|99.99=") == std::string::npos));
            e->cmdDelete->click();
            EXPECT_EQ(Sheet(c.code), before);
        } else {
            EXPECT_EQ(e->Current(key), Cur(c.at));
        }
        UnloadAllForms();
        Settle();
    }
}

TEST_F(SheetEditors, B1CodesSidesAndAmounts) {
    Lines("B1", {1});
    const std::string refused =
        "A valid CODE [any letter from 'A' through 'Z'] must be entered.  Select OK to continue.";
    auto* e = Check("B1", 1,
                    {{2, "b", Value("B"), {}},
                     {1, std::string(41, 'x') + "\"", Value::Null(),
                      {"The explanation cannot be more than 40 characters in length",
                       "The explanation cannot contain double quote characters"}},
                     {4, "150", Value::Null(), {kInvalidCC}},  // no cost centre has it
                     {4, "201", Value::Null(), {kInvalidCC}},  // an account, not an expense
                     {4, "2", Cur(2), {}},
                     {5, "-500", Cur(500), {kPositive}}});
    ui.ClearRecords();
    ui.ExpectMessage();
    EXPECT_FALSE(e->grd->TypeIntoCell(0, 2, "7"));
    EXPECT_EQ(ui.Beeps(), 1);
    EXPECT_EQ(ui.Messages()[0].prompt + ui.Messages()[0].title, refused + "Error: Invalid CODE Entry");
    EXPECT_EQ(db().Scalar("SELECT Code FROM B1 WHERE SeqNum = 1"), Value("B"));
    const auto side = [&] {
        return db().Scalar("SELECT IFNULL(UpCCNum, 'n') || IFNULL(UpCCName, 'n') || IFNULL(UpAmount, 'n') FROM B1 "
                           "WHERE SeqNum = 1");
    };
    EXPECT_EQ(side(), Value("2.0" + Get_CC_Name(Value(2)) + "500.0"));
    EXPECT_TRUE(e->grd->TypeIntoCell(0, 4, "0"));  // no cost centre: the side is cleared
    EXPECT_EQ(side(), Value("nnn"));
}

// B-1's explanation and C's description count their text without the blanks
// around it: forty characters and a blank are taken, stored without it.
TEST_F(SheetEditors, BlanksAroundAFullTextAreNotCounted) {
    Lines("B1", {1});
    const std::string forty(40, 'w');
    for (auto [code, line] : {std::pair{"B1", 1.0}, {"C", 21.0}}) {
        Check(code, line, {{1, forty + " ", Value(forty), {}}, {1, "  " + forty + "  ", Value(forty), {}}});
        UnloadAllForms();
    }
}

TEST_F(SheetEditors, B2DisposalsStayPositiveAndPartThreeOpensByLine) {
    for (const char* code : {"B2p1", "B2p2"}) {
        Check(code, 2,
              {{6, "-300", Cur(300), {kPositive}},
               {3, "-300", Cur(-300), {}},
               {1, "Land", Value::Null(), {}}});
        EXPECT_FALSE(Edit(code)->cmdAdd->isEnabled() || Edit(code)->cmdDelete->isEnabled());
    }
    auto* e = Edit("B2p3");
    for (double line : {1.0, 1.01, 5.0})
        for (int col = 0; col < 10; ++col)  // the Total line takes what is spread, the lines above the rest
            EXPECT_EQ(e->grd->TypeIntoCell(RowOf(e, "SeqNum", line), col, "7"),
                      col > 1 && (line >= 5) == (col >= 4 && col <= 6)) << line << " " << col;
}

TEST_F(SheetEditors, CDescriptionsBasesAndCostCentres) {
    const std::string typed45 = "Adjustment for something rather long to keep!";
    auto* e = Check("C", 21,
                    {{1, typed45, Value(typed45.substr(0, 40)),
                      {"The description cannot be more than 40 characters in length. The description has been "
                       "truncated."}},
                     {2, "x", Value::Null(), {"This field may only contain the letters 'A' or 'B\""}},
                     {4, "999", Value::Null(), {kInvalidCC}},
                     {4, "201", Cur(201), {}}});  // any cost centre of the list may be adjusted
    const auto name = [&] { return db().Scalar("SELECT CCName FROM C WHERE LineNum = 21"); };
    EXPECT_EQ(name(), Value(Get_CC_Name(Value(201))));
    EXPECT_TRUE(e->grd->TypeIntoCell(RowOf(e, "LineNum", 21), 4, "0"));
    EXPECT_EQ(name(), Value(" "));
    EXPECT_FALSE(e->grd->TypeIntoCell(RowOf(e, "LineNum", 20), 1, "Other"));
}

// A cost centre of the list is always taken, its name cut to the sheet's
// field; only digits with one point make a cost-centre number.
TEST_F(SheetEditors, ListedCostCentresAreTakenWithTheirNamesCutAndOnlyDigitsAreNumbers) {
    // A name longer than the sheets' fields, as the list's own field can hold it.
    const std::string name = "Salaries and Wages of the Home Office Officers";
    db().Execute("UPDATE CostCenters SET CCName = ? WHERE CCNum = 32;", {Value(name)});
    Close_CC_Recordset();
    Lines("B1", {1});
    std::vector<Typed> typed;
    for (const char* lenient : {"2,01", "1,2", "$2", "2e0", "+2", "2.00001"})
        typed.push_back({0, lenient, Value::Null(), {kInvalidCC}});
    typed.push_back({0, "32", Cur(32), {}});
    for (auto [code, line, col, field] : {std::tuple{"C", 21.0, 4, "CCName"}, {"B1", 1.0, 4, "UpCCName"}}) {
        for (Typed& t : typed) t.col = col;
        Check(code, line, typed);
        EXPECT_EQ(db().Scalar(std::string("SELECT ") + field + " FROM " + code + " WHERE " + Key(code) + " = ?",
                              {Cur(line)}),
                  Value(name.substr(0, 40)))
            << code;
        UnloadAllForms();
    }
}

// A double quote beeps where the description is C's, not in B-1's explanation.
TEST_F(SheetEditors, OnlyCsDescriptionBeepsAtADoubleQuote) {
    Lines("B1", {1});
    for (auto [code, line, beeps] : {std::tuple{"C", 21.0, 1}, {"B1", 1.0, 0}}) {
        auto* e = Edit(code);
        ui.ClearRecords();
        ui.ExpectMessage();
        EXPECT_FALSE(e->grd->TypeIntoCell(RowOf(e, Key(code), line), 1, "a \"quoted\" text")) << code;
        EXPECT_EQ(ui.Beeps(), beeps) << code;
    }
}

}  // namespace
}  // namespace vt::test
