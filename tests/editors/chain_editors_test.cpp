// The editors of the chain-component sheets on a small report, driven as a
// user types, selects and clicks: the cell checks, what is shown and hidden,
// the column commands of E-1 and F-1 Part II with their failures, and the
// whole-report figures after such edits.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTableView>
#include <QTest>

#include "editors/chain_edit_form.h"
#include "engine/chain/component_sheet.h"
#include "engine/chain/f1.h"
#include "shell/calculation.h"
#include "shell/forms.h"
#include "shell/worksheet_windows.h"
#include "store/report.h"
#include "tests/gui_support/gui_test.h"

namespace vt::test {
namespace {

using gui::ChainEditForm;
using gui::WorksheetWindow;

const char* const kRounded = "This field may only contain full dollar amounts. The value has been rounded";
const char* const kNotNumeric = "This field may only contain numeric values";

Currency C(double d) { return Currency::FromDouble(d); }

class ChainEditors : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        Component(3, 1, "North Home");
        Component(4, 1, "Pharmacy");
        if (!TwoComponents()) {
            Component(3, 2, "South Home");
            Component(4, 1.01, "Pharmacy Annex");
            Component(5, 1, "East Region");
        }
        RegisterAllWorksheets();
    }
    virtual bool TwoComponents() const { return false; }
    void TearDown() override {
        gui::Set_CC_Chooser(nullptr);
        WindowTest::TearDown();
    }
    void Component(int part, double line, const std::string& name) {
        const char* table = part == 3 ? "Ap3" : part == 4 ? "Ap4" : "Ap5";
        const char* field = part == 5 ? "Col1" : "Component";
        db().Execute(std::string("INSERT INTO ") + table + " (LineNum, " + field + ") VALUES (?, ?);",
                     {Value(C(line)), Value(name)});
        Insert_Component_Line(C(line), part);
        Propagate_Component_Field(C(line), part, "Component", name);
    }
    WorksheetWindow* Open(const char* mode, const std::string& code) {
        gui::Open_Worksheet_Form(mode, code);
        QWidget* w = nullptr;
        gui::Is_Form_Loaded(std::string(mode == std::string("edit") ? "frmEdit" : "frmView") + code, &w);
        return static_cast<WorksheetWindow*>(w);
    }
    ChainEditForm* Editor(const std::string& code) { return static_cast<ChainEditForm*>(Open("edit", code)); }
    // The open editor as it stands (opening it again would rebind it).
    static ChainEditForm* Loaded(const std::string& code) {
        QWidget* w = nullptr;
        return gui::Is_Form_Loaded("frmEdit" + code, &w) ? static_cast<ChainEditForm*>(w) : nullptr;
    }
    static int RowOf(WorksheetWindow* w, double seq) {
        return w->grd->Data().FindFirst("SeqNum", db::FindOp::Eq, Value(C(seq)));
    }
    Value Cell(const std::string& table, const std::string& field, double seq) {
        return db().Scalar("SELECT " + field + " FROM " + table + " WHERE SeqNum = ?", {Value(C(seq))});
    }
    std::vector<int> Shown(grid::Grid& g, int split) {
        std::vector<int> cols;
        for (int c = 0; c < g.ColumnCount(); ++c)
            if (g.Splits(split).Columns(c).Visible()) cols.push_back(c);
        return cols;
    }
    std::vector<double> SeqNums(WorksheetWindow* w) {
        std::vector<double> seqs;
        for (int r = 0; r < w->grd->Data().RecordCount(); ++r)
            seqs.push_back(w->grd->Data().FieldValue(r, "SeqNum").ToCurrency().ToDouble());
        return seqs;
    }
    // The row-0 numbers of a sheet's value fields, an empty cell as -1.
    std::vector<double> Row0(const std::string& sheet) {
        std::vector<double> cc;
        auto rs = db().OpenRecordset("SELECT * FROM " + sheet + " WHERE SeqNum = 0;");
        rs.MoveFirst();
        for (int i = 4; i < rs.FieldCount(); ++i)
            cc.push_back(rs.Field(i).IsNull() ? -1 : rs.Field(i).ToCurrency().ToDouble());
        return cc;
    }
    // Types into a cell and checks what is stored and said.
    struct Typed {
        const char* text;
        Value stored;  // Null: refused, the old value kept
        const char* message;
    };
    void ExpectTyped(WorksheetWindow* e, const std::string& table, const std::string& field, double seq, int col,
                     const std::vector<Typed>& cases) {
        Value kept = Cell(table, field, seq);
        for (const Typed& c : cases) {
            SCOPED_TRACE(c.text);
            ui.ClearRecords();
            if (c.message) ui.ExpectMessage();
            EXPECT_EQ(e->grd->TypeIntoCell(RowOf(e, seq), col, c.text), !c.stored.IsNull());
            if (!c.stored.IsNull()) kept = c.stored;
            EXPECT_EQ(Cell(table, field, seq).ToDouble(), kept.ToDouble());
            EXPECT_EQ(ui.Prompts(), c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
        }
    }
    void Choose(std::optional<double> cc) {
        gui::Set_CC_Chooser([cc](const std::string&) -> std::optional<Currency> {
            if (!cc) return std::nullopt;
            return C(*cc);
        });
    }
};

Value Whole(int n) { return Value(Currency::FromInt(n)); }

TEST_F(ChainEditors, EStoresWholeDollarsShowsThemInItsViewerAndHidesTotals) {
    WorksheetWindow* v = Open("view", "E");
    ChainEditForm* e = Editor("E");
    grid::Grid& g = *e->grd;
    EXPECT_EQ(e->Caption(), "Edit Worksheet E");
    EXPECT_EQ(SeqNums(e), (std::vector<double>{1, 2, 19, 19.01, 27, 29}));
    const int n = g.ColumnCount();
    EXPECT_EQ(Shown(g, 0), (std::vector<int>{0, 2, 3}));
    EXPECT_EQ(Shown(g, 1).front(), 4);
    EXPECT_EQ(Shown(g, 1).back(), n - 2);  // the row total nowhere
    EXPECT_EQ(e->Headings()[4].ColNum, "1");
    EXPECT_FALSE(g.TypeIntoCell(0, 2, "Renamed"));
    EXPECT_FALSE(g.TypeIntoCell(0, n - 1, "5"));
    EXPECT_FALSE(e->cmdAdd->isEnabled());
    EXPECT_EQ(e->cmdNext->toolTip().toStdString(), "Open E-1 For Edit");

    ExpectTyped(e, "E", "Col_1", 2, 4,
                {{"12.5", Whole(13), kRounded},
                 {"-12.5", Whole(-13), kRounded},
                 {"-40", Whole(-40), nullptr},
                 {"abc", Value::Null(), kNotNumeric},
                 {"", Whole(0), nullptr}});
    ExpectTyped(e, "E", "Col_2", 1, 5, {{"77", Whole(77), nullptr}});
    EXPECT_EQ(v->grd->Data().FieldValue(RowOf(v, 1), "Col_2"), Whole(77));
}

TEST_F(ChainEditors, FPartTwoStatisticsAreWholeOnTheirExactDigitsAndTabWalksTheCells) {
    ChainEditForm* e = Editor("Fp2");
    EXPECT_EQ(SeqNums(e), (std::vector<double>{1, 2, 19, 19.01, 27, 29, 35}));
    EXPECT_EQ(Shown(*e->grd, 0), (std::vector<int>{0, 2}));
    EXPECT_EQ(e->cmdPrevious->toolTip().toStdString(), "Open E-1 For Edit");
    ExpectTyped(e, "Fp2", "Col_1", 35, 3,
                {{"12.00001", Whole(12), kRounded},
                 {"12.49999", Whole(12), kRounded},
                 {"-7.5", Whole(-8), kRounded},
                 {"99999999999999999999", Value::Null(), kNotNumeric},
                 {"40", Whole(40), nullptr}});

    grid::Grid& g = *e->grd;
    const int last = Shown(g, 1).back();
    g.SetCurrentCell(0, last);
    QTest::keyClick(g.Pane(1), Qt::Key_Tab);
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.Col(), 3);
    QTest::keyClick(g.Pane(1), Qt::Key_Tab);
    EXPECT_EQ(g.Col(), 4);
}

TEST_F(ChainEditors, EOneAddsAColumnInNumberOrderAndComesBackWhereItStood) {
    Add_Chosen_CC_Column("E1", C(12));
    Add_Chosen_CC_Column("E1", C(20));
    for (int line = 2; line <= 8; ++line) Component(5, line, "Region " + std::to_string(line));
    db().Execute("UPDATE E1 SET Col_1 = CCur(SeqNum * 10), Col_2 = CCur(SeqNum * 100), Col_3 = 5 WHERE SeqNum > 0;");
    Open("view", "E1");
    ChainEditForm* e = Editor("E1");
    EXPECT_EQ(e->cmdAdd->text().toStdString(), "Add Column");
    EXPECT_EQ(e->Headings()[4].ColNum, "12");
    EXPECT_EQ(e->Headings()[5].ColNum, "20");
    const QRect place(40, 60, 700, 160);
    e->setGeometry(place);
    e->grd->SetFirstRow(RowOf(e, 19.01));
    ASSERT_EQ(e->grd->FirstRow(), RowOf(e, 19.01));

    // Cancelling the picker changes nothing.
    Choose(std::nullopt);
    QTest::mouseClick(e->cmdAdd, Qt::LeftButton);
    EXPECT_EQ(Row0("E1"), (std::vector<double>{12, 20, -1}));
    ASSERT_TRUE(gui::Is_Form_Loaded("frmViewE1"));

    Choose(15);
    QTest::mouseClick(e->cmdAdd, Qt::LeftButton);
    Settle();
    EXPECT_FALSE(gui::Is_Form_Loaded("frmViewE1"));
    EXPECT_EQ(Row0("E1"), (std::vector<double>{12, 15, 20, -1}));
    for (double seq : {1.0, 18.0, 19.01, 34.0}) {
        SCOPED_TRACE(seq);
        EXPECT_EQ(Cell("E1", "Col_2", seq).ToDouble(), 0);
        if (seq == 18 || seq == 34) continue;
        EXPECT_EQ(Cell("E1", "Col_1", seq).ToCurrency(), C(seq * 10));
        EXPECT_EQ(Cell("E1", "Col_3", seq).ToCurrency(), C(seq * 100));
        EXPECT_EQ(Cell("E1", "Col_4", seq).ToDouble(), 5);
    }
    e = Loaded("E1");
    ASSERT_TRUE(e);
    EXPECT_EQ(e->geometry(), place);
    EXPECT_EQ(e->grd->FirstRow(), RowOf(e, 19.01));
    EXPECT_EQ(e->grd->Col(), 5);
    EXPECT_EQ(e->Headings()[5].ColNum, "15");
    EXPECT_EQ(e->Headings()[7].HeadText, "Total");
}

TEST_F(ChainEditors, EOneDeletesTheOneColumnSelectedInTheRightPane) {
    for (double cc : {12, 15, 20}) Add_Chosen_CC_Column("E1", C(cc));
    db().Execute("UPDATE E1 SET Col_1 = 1, Col_2 = 2, Col_3 = 3 WHERE SeqNum > 0;");
    ChainEditForm* e = Editor("E1");
    grid::Grid& g = *e->grd;
    EXPECT_FALSE(e->cmdDelete->isEnabled());
    g.Splits(1).SetSelCols(4, 5);
    EXPECT_FALSE(e->cmdDelete->isEnabled());
    g.Splits(0).SetSelCols(2, 2);
    EXPECT_EQ(g.Splits(0).SelStartCol(), 0);
    EXPECT_EQ(g.Splits(0).SelEndCol(), 3);
    EXPECT_FALSE(e->cmdDelete->isEnabled());
    g.Splits(1).SetSelCols(5, 5);
    EXPECT_TRUE(e->cmdDelete->isEnabled());
    g.SetCurrentCell(1, 5);
    EXPECT_FALSE(e->cmdDelete->isEnabled());

    g.Splits(1).SetSelCols(4, 4);
    ASSERT_TRUE(e->cmdDelete->isEnabled());
    const QRect place = e->geometry();
    QTest::mouseClick(e->cmdDelete, Qt::LeftButton);
    Settle();
    EXPECT_EQ(Row0("E1"), (std::vector<double>{15, 20, -1}));
    EXPECT_EQ(Cell("E1", "Col_1", 1).ToDouble(), 2);
    EXPECT_EQ(Cell("E1", "Col_2", 1).ToDouble(), 3);
    e = Loaded("E1");
    ASSERT_TRUE(e);
    EXPECT_EQ(e->geometry(), place);
    EXPECT_FALSE(e->cmdDelete->isEnabled());
}

TEST_F(ChainEditors, AColumnCommandStopsAtACellThatCannotBeStored) {
    Add_Chosen_CC_Column("E1", C(12));
    ChainEditForm* e = Editor("E1");
    Choose(15);
    e->grd->TypeIntoCell(0, 4, "abc", false);
    ui.ExpectMessage();
    QTest::mouseClick(e->cmdAdd, Qt::LeftButton);
    Settle();
    EXPECT_EQ(ui.Prompts(), std::vector<std::string>{kNotNumeric});
    EXPECT_EQ(Row0("E1"), (std::vector<double>{12, -1}));
    EXPECT_TRUE(gui::Is_Form_Loaded("frmEditE1"));
}

TEST_F(ChainEditors, FOneChangesBothPartsTogetherOrNeither) {
    Add_F1_Column(C(12));
    Add_F1_Column(C(20));
    Open("view", "F1p1");
    ChainEditForm* e = Editor("F1p2");
    Choose(15);
    QTest::mouseClick(e->cmdAdd, Qt::LeftButton);
    Settle();
    EXPECT_FALSE(gui::Is_Form_Loaded("frmViewF1p1"));
    for (const char* t : {"F1p1", "F1p2"}) {
        SCOPED_TRACE(t);
        EXPECT_EQ(Row0(t), (std::vector<double>{12, 15, 20, -1}));
        const auto f = db().Fields(t);
        EXPECT_EQ(f[5].name, "Col_2");
        EXPECT_EQ(f[5].type, t == std::string("F1p1") ? db::FieldType::Currency : db::FieldType::Double);
        EXPECT_EQ(Cell(t, "Col_2", 2).ToDouble(), 0);
    }

    // A failure in the second table leaves both as they were, and says so.
    db().Execute("CREATE TRIGGER Refuse BEFORE UPDATE ON F1p2 BEGIN SELECT RAISE(ABORT, 'disk full'); END;");
    e = Editor("F1p2");
    Choose(30);
    ui.ExpectMessage();
    QTest::mouseClick(e->cmdAdd, Qt::LeftButton);
    Settle();
    ASSERT_EQ(ui.Prompts().size(), 1u);
    EXPECT_NE(ui.Prompts()[0].find("could not be added"), std::string::npos) << ui.Prompts()[0];
    EXPECT_NE(ui.Prompts()[0].find("disk full"), std::string::npos) << ui.Prompts()[0];
    for (const char* t : {"F1p1", "F1p2"}) EXPECT_EQ(Row0(t), (std::vector<double>{12, 15, 20, -1})) << t;
    EXPECT_TRUE(gui::Is_Form_Loaded("frmEditF1p2"));
    db().Execute("DROP TRIGGER Refuse;");

    e = Editor("F1p2");
    e->grd->Splits(1).SetSelCols(4, 4);
    QTest::mouseClick(e->cmdDelete, Qt::LeftButton);
    Settle();
    for (const char* t : {"F1p1", "F1p2"}) EXPECT_EQ(Row0(t), (std::vector<double>{15, 20, -1})) << t;

    // Part I out of step: refused before anything changes or closes.
    Delete_Chosen_CC_Column("F1p1", C(15));
    e = Editor("F1p2");
    ui.ClearRecords();
    ui.ExpectMessage();
    QTest::mouseClick(e->cmdAdd, Qt::LeftButton);
    Settle();
    ASSERT_EQ(ui.Prompts().size(), 1u);
    EXPECT_NE(ui.Prompts()[0].find("Validate the database"), std::string::npos);
    EXPECT_EQ(Row0("F1p2"), (std::vector<double>{15, 20, -1}));
    EXPECT_EQ(e, Loaded("F1p2"));
}

TEST_F(ChainEditors, GEditorsTakeOnlyTheAllocationBase) {
    ChainEditForm* p1 = Editor("Gp1");
    EXPECT_EQ(SeqNums(p1), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(p1->grd->ColumnCount(), 3);
    EXPECT_FALSE(p1->grd->TypeIntoCell(0, 1, "Renamed"));
    EXPECT_EQ(p1->cmdPrevious->toolTip().toStdString(), "Open F-1  Part-2 For Edit");
    ExpectTyped(p1, "Gp1", "TotalCost", 1, 2, {{"250.50", Whole(251), kRounded}, {"x", Value::Null(), kNotNumeric}});

    ChainEditForm* p2 = Editor("Gp2");
    EXPECT_EQ(SeqNums(p2), (std::vector<double>{1, 2, 19, 19.01, 27, 29}));
    EXPECT_EQ(p2->cmdNext->toolTip().toStdString(), "Open I For Edit");
}

TEST_F(ChainEditors, PicturesOfTheEditors) {
    gui::Install_Heading_Measurer(nullptr);
    Add_Chosen_CC_Column("E1", C(12));
    Add_F1_Column(C(12));
    const QString dir = QDir(VT_BUILD_DIR).filePath("screenshots");
    QDir().mkpath(dir);
    for (const char* code : {"E", "Fp2", "E1", "F1p2", "Gp1", "Gp2"}) {
        ChainEditForm* e = Editor(code);
        ASSERT_TRUE(e) << code;
        QApplication::processEvents();
        EXPECT_TRUE(e->grab().save(QDir(dir).filePath(QString("frmEdit%1.png").arg(code))));
    }
}

// Two components: North Home (row 1) and the pharmacy (row 19).
class SmallChain : public ChainEditors {
    bool TwoComponents() const override { return true; }
};

TEST_F(SmallChain, TheWholeReportAfterTheseEditsGivesTheHandCalculatedFigures) {
    db().Execute("UPDATE B SET Expenses = 30000 WHERE LineNum = 12;");
    db().Execute("UPDATE B SET Expenses = 5000 WHERE LineNum = 20;");
    for (double cc : {20, 12}) {
        Choose(cc);
        QTest::mouseClick(Editor("E1")->cmdAdd, Qt::LeftButton);
        Settle();
    }
    ChainEditForm* e1 = Loaded("E1");
    ASSERT_TRUE(e1);
    ui.AllowMessages();
    // Column 4 is cost centre 12, column 5 is 20.
    EXPECT_TRUE(e1->grd->TypeIntoCell(RowOf(e1, 1), 4, "1000"));
    EXPECT_TRUE(e1->grd->TypeIntoCell(RowOf(e1, 1), 5, "300"));
    EXPECT_TRUE(e1->grd->TypeIntoCell(RowOf(e1, 19), 4, "500.4"));
    ChainEditForm* g1 = Editor("Gp1");
    for (auto [seq, cost] : {std::pair{1, "600"}, {2, "400"}, {3, "0"}})
        EXPECT_TRUE(g1->grd->TypeIntoCell(RowOf(g1, seq), 2, cost));
    ChainEditForm* g2 = Editor("Gp2");
    EXPECT_TRUE(g2->grd->TypeIntoCell(RowOf(g2, 1), 2, "3"));
    EXPECT_TRUE(g2->grd->TypeIntoCell(RowOf(g2, 19), 2, "1"));
    QTest::mouseClick(g2->cmdRecalculate, Qt::LeftButton);
    Settle();

    // B: E-1's row 34 is the direct allocation of 12 (1,000 + 500) and of 20
    // (300); the rest is pooled: 28,500 and 4,700, 33,200 in all.
    auto b = [&](int line, const char* field) {
        return db().Scalar(std::string("SELECT ") + field + " FROM B WHERE LineNum = ?", {Value(line)}).ToCurrency();
    };
    EXPECT_EQ(b(12, "DirectAlloc"), C(1500));
    EXPECT_EQ(b(12, "PooledAlloc"), C(28500));
    EXPECT_EQ(b(20, "DirectAlloc"), C(300));
    EXPECT_EQ(b(20, "PooledAlloc"), C(4700));
    EXPECT_EQ(b(100, "NetExpenses"), C(35000));
    EXPECT_EQ(b(100, "PooledAlloc"), C(33200));
    // G: the non-capital pool 60 / 40 between facilities and other
    // components, each of which has one component with a base.
    EXPECT_EQ(Cell("Gp1", "Col_9", 1).ToCurrency(), C(19920));
    EXPECT_EQ(Cell("Gp1", "Col_9", 2).ToCurrency(), C(13280));
    EXPECT_EQ(Cell("Gp1", "Col_9", 4).ToCurrency(), C(33200));
    // H: direct from E-1, pooled from G, and the components add up to B.
    const struct {
        double seq;
        double direct, pooled, total;
    } h[] = {{1, 1300, 19920, 21220}, {19, 500, 13280, 13780}, {34, 1800, 33200, 35000}};
    for (const auto& l : h) {
        SCOPED_TRACE(l.seq);
        EXPECT_EQ(Cell("H", "Col_13", l.seq).ToCurrency(), C(l.direct));
        EXPECT_EQ(Cell("H", "Col_15", l.seq).ToCurrency(), C(l.pooled));
        EXPECT_EQ(Cell("H", "Col_16", l.seq).ToCurrency(), C(l.total));
        EXPECT_EQ(Cell("H", "Col_20", l.seq).ToCurrency(), C(l.total));
    }
}

}  // namespace
}  // namespace vt::test
