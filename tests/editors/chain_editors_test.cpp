// The chain-component editors on a small report, driven as a user types,
// selects and clicks: cell checks, panes, the column commands of E-1 and F-1
// Part II and their failures, and the whole report after such edits.
#include <QTableView>
#include <QTest>

#include "editors/chain_edit_form.h"
#include "engine/chain/component_sheet.h"
#include "engine/chain/f1.h"
#include "tests/editors/sheet_editor_test.h"

namespace vt::test {
namespace {

using gui::ChainEditForm;
using gui::WorksheetWindow;
const char* const kRounded = "This field may only contain full dollar amounts. The value has been rounded";
const char* const kNotNumeric = "This field may only contain numeric values";
const char* const kPastLimit = "This field may only contain amounts from -99,999,999,999.9999 to 99,999,999,999.9999";
Currency C(double d) { return Currency::FromDouble(d); }
using Cc = std::vector<double>;

class ChainEditors : public SheetEditorTest {
protected:
    void SetUp() override {
        SheetEditorTest::SetUp();
        std::vector<std::tuple<int, double, const char*>> chain = {{3, 1, "North Home"}, {4, 1, "Pharmacy"}};
        if (!TwoComponents()) chain.insert(chain.end(), {{3, 2, "South"}, {4, 1.01, "Annex"}, {5, 1, "East"}});
        for (auto [part, line, name] : chain) {
            db().Execute(std::string("INSERT INTO Ap") + std::to_string(part) + " (LineNum, " +
                             (part == 5 ? "Col1" : "Component") + ") VALUES (?, ?);",
                         {Value(C(line)), Value(name)});
            Insert_Component_Line(C(line), part);
        }
        RegisterAllWorksheets();
        ui.AllowMessages();
    }
    void TearDown() override {
        gui::SetCCChooser(nullptr);
        SheetEditorTest::TearDown();
    }
    virtual bool TwoComponents() const { return false; }
    // The open editor as it stands (opening it again would rebind it).
    static ChainEditForm* Loaded(const std::string& name) { return SheetEditorTest::Loaded<ChainEditForm>(name); }
    ChainEditForm* Editor(const std::string& code) { return Edit<ChainEditForm>(code); }
    static double Field(WorksheetWindow* w, int row, const char* name) {
        return w->grd->Data().FieldValue(row, name).ToDouble();
    }
    static int RowOf(WorksheetWindow* w, double seq) { return SheetEditorTest::RowOf(w, "SeqNum", seq); }
    Currency Cell(const std::string& table, const std::string& field, double seq) {
        return db().Scalar("SELECT " + field + " FROM " + table + " WHERE SeqNum = ?", {Value(C(seq))}).ToCurrency();
    }
    // The row-0 numbers of a sheet's value fields, an empty cell as -1.
    Cc Row0(const std::string& sheet) {
        Cc cc;
        auto rs = db().OpenRecordset("SELECT * FROM " + sheet + " WHERE SeqNum = 0;");
        for (int i = 4; i < rs.FieldCount(); ++i) cc.push_back(rs.Field(i).IsNull() ? -1 : rs.Field(i).ToDouble());
        return cc;
    }
    // A click, with the cost centre the picker will give (none: cancelled).
    void Click(QPushButton* button, std::optional<double> chosen = std::nullopt) {
        gui::SetCCChooser([chosen](const std::string&) -> std::optional<Currency> {
            return chosen ? std::optional(C(*chosen)) : std::nullopt;
        });
        ui.ClearRecords();
        QTest::mouseClick(button, Qt::LeftButton);
        Settle();
    }
};

TEST_F(ChainEditors, CellsTakeWholeNumbersOnTheirExactDigitsAndTheHiddenRowsStayHidden) {
    WorksheetWindow* viewE = Open("view", "E");
    const struct {
        const char* code;
        double seq;
        int col;
        const char* field;
        Cc rows;
        std::vector<std::tuple<const char*, double, const char*>> typed;  // text, stored (-1: refused), message
    } editors[] = {
        {"E", 2, 4, "Col_1", {1, 2, 19, 19.01, 27, 29},
         {{"12.5", 13, kRounded}, {"-12.5", -13, kRounded}, {"-40", -40, nullptr}, {"abc", -1, kNotNumeric},
          {"", 0, nullptr}}},
        {"Fp2", 35, 3, "Col_1", {1, 2, 19, 19.01, 27, 29, 35},
         {{"12.00001", 12, kRounded}, {"12.49999", 12, kRounded}, {"1,234.49999", 1234, kRounded},
          {"2,500", 2500, nullptr}, {"2,50", -1, kNotNumeric}, {"0,750", -1, kNotNumeric}, {"99999999999999999999", -1, kPastLimit},
          {"922337203685477.5807", -1, kPastLimit}, {"99999999999.9999", -1, kPastLimit}}},
        {"Gp1", 1, 2, "TotalCost", {1, 2, 3}, {{"250.50", 251, kRounded}, {"x", -1, kNotNumeric}}},
        {"Gp2", 19.01, 2, "TotalCost", {1, 2, 19, 19.01, 27, 29}, {{"7", 7, nullptr}}},
    };
    for (const auto& t : editors) {
        SCOPED_TRACE(t.code);
        ChainEditForm* e = Editor(t.code);
        Cc shown;
        for (int r = 0; r < e->grd->Data().RecordCount(); ++r) shown.push_back(Field(e, r, "SeqNum"));
        EXPECT_EQ(shown, t.rows);
        EXPECT_FALSE(e->grd->TypeIntoCell(0, t.code[0] == 'G' ? 1 : 2, "Renamed"));
        Currency kept = Cell(t.code, t.field, t.seq);
        for (auto [text, stored, message] : t.typed) {
            ui.ClearRecords();
            EXPECT_EQ(e->grd->TypeIntoCell(RowOf(e, t.seq), t.col, text), stored != -1) << text;
            if (stored != -1) kept = C(stored);
            EXPECT_EQ(Cell(t.code, t.field, t.seq), kept) << text;
            EXPECT_EQ(ui.Prompts(), message ? std::vector<std::string>{message} : std::vector<std::string>{});
        }
    }
    // E: the row total and the line number nowhere; its viewer up to date.
    grid::Grid& e = *Editor("E")->grd;
    EXPECT_EQ(std::pair(Shown(e, 0), Shown(e, 1).back()), std::pair(std::vector<int>{0, 2, 3}, e.ColumnCount() - 2));
    EXPECT_EQ(Field(viewE, RowOf(viewE, 2), "Col_1"), 0);
    EXPECT_EQ(Editor("Gp2")->cmdNext->toolTip().toStdString(), "Open I For Edit");

    // F Part II: Tab goes from cell to cell and on to the next row.
    grid::Grid& f = *Editor("Fp2")->grd;
    f.SetCurrentCell(0, Shown(f, 1).back());
    QTest::keyClick(f.Pane(1), Qt::Key_Tab);
    EXPECT_EQ(std::pair(f.Row(), f.Col()), std::pair(1, 3));
}

TEST_F(ChainEditors, EOneAddsAColumnInNumberOrderAndComesBackWhereItStood) {
    // Enough lines below 19.01 for it to be scrolled to the top.
    for (int line = 2; line <= 4; ++line) Insert_Component_Line(C(line), 5);
    for (int line = 2; line <= 6; ++line) Insert_Component_Line(C(line), 4);
    AddChosenCCColumn("E1", C(12));
    AddChosenCCColumn("E1", C(20));
    db().Execute("UPDATE E1 SET Col_1 = CCur(SeqNum * 10), Col_2 = 7, Col_3 = 5 WHERE SeqNum > 0;");
    Open("view", "E1");
    ChainEditForm* e = Editor("E1");
    const QRect place(40, 60, 700, 160);
    e->setGeometry(place);
    e->grd->SetFirstRow(RowOf(e, 19.01));

    Click(e->cmdAdd);  // the picker cancelled
    ASSERT_TRUE(gui::Is_Form_Loaded("frmViewE1"));
    // A pick that names no cost centre of the list, or one that has its
    // column already, adds nothing, closes nothing, and says so.
    for (double notOffered : {0.0, 12.0, 99.0}) {
        Click(e->cmdAdd, notOffered);
        ASSERT_EQ(ui.Prompts().size(), 1u) << notOffered;
        EXPECT_EQ(ui.Prompts()[0].rfind("No column was added", 0), 0u) << ui.Prompts()[0];
        ASSERT_TRUE(gui::Is_Form_Loaded("frmViewE1") && Loaded("frmEditE1") == e) << notOffered;
    }
    e->grd->TypeIntoCell(RowOf(e, 19.01), 4, "abc", false);
    Click(e->cmdAdd, 15);  // a cell that cannot be stored stops it
    EXPECT_EQ(ui.Prompts(), std::vector<std::string>{kNotNumeric});
    EXPECT_EQ(Row0("E1"), (Cc{12, 20, -1}));
    e->grd->TypeIntoCell(RowOf(e, 19.01), 4, "10", false);
    ASSERT_EQ(e->grd->FirstRow(), RowOf(e, 19.01));

    Click(e->cmdAdd, 15);
    EXPECT_FALSE(gui::Is_Form_Loaded("frmViewE1"));
    EXPECT_EQ(Row0("E1"), (Cc{12, 15, 20, -1}));
    for (double seq : {1.0, 18.0, 19.01, 34.0}) EXPECT_EQ(Cell("E1", "Col_2", seq), C(0)) << seq;
    EXPECT_EQ(Rows("SELECT Col_1, Col_3, Col_4 FROM E1 WHERE SeqNum = 19.01"), (Table{{"10", "7", "5"}}));
    e = Loaded("frmEditE1");
    ASSERT_TRUE(e);
    EXPECT_EQ(e->geometry(), place);
    EXPECT_EQ(std::tuple(e->grd->FirstRow(), e->grd->Col(), e->Headings()[5].ColNum), std::tuple(RowOf(e, 19.01), 5, "15"));

    // Delete Column: for one column selected in the right pane only.
    grid::Grid& g = *e->grd;
    g.Splits(1).SetSelCols(4, 5);
    EXPECT_FALSE(e->cmdDelete->isEnabled());
    g.Splits(0).SetSelCols(2, 2);
    EXPECT_EQ(std::pair(g.Splits(0).SelStartCol(), g.Splits(0).SelEndCol()), std::pair(0, 3));
    EXPECT_FALSE(e->cmdDelete->isEnabled());
    g.Splits(1).SetSelCols(5, 5);
    EXPECT_TRUE(e->cmdDelete->isEnabled());
    g.SetCurrentCell(1, 5);
    EXPECT_FALSE(e->cmdDelete->isEnabled());
    g.Splits(1).SetSelCols(4, 4);
    Click(e->cmdDelete);
    EXPECT_EQ(Row0("E1"), (Cc{15, 20, -1}));
    EXPECT_EQ(Cell("E1", "Col_2", 19.01), C(7));
    EXPECT_EQ(Loaded("frmEditE1")->geometry(), place);
}

TEST_F(ChainEditors, FOneChangesBothPartsTogetherOrNeither) {
    AddF1Column(C(12));
    AddF1Column(C(20));
    Open("view", "F1p1");
    Click(Editor("F1p2")->cmdAdd, 15);
    EXPECT_FALSE(gui::Is_Form_Loaded("frmViewF1p1"));
    for (const char* t : {"F1p1", "F1p2"}) {
        EXPECT_EQ(Row0(t), (Cc{12, 15, 20, -1})) << t;
        EXPECT_EQ(db().Fields(t)[5].type, t[3] == '1' ? db::FieldType::Currency : db::FieldType::Double) << t;
        EXPECT_EQ(Cell(t, "Col_2", 2), C(0)) << t;
    }

    // A failure in the second table leaves both as they were, and says so.
    db().Execute("CREATE TRIGGER Refuse BEFORE UPDATE ON F1p2 BEGIN SELECT RAISE(ABORT, 'disk full'); END;");
    Click(Editor("F1p2")->cmdAdd, 30);
    ASSERT_EQ(ui.Prompts().size(), 1u);
    EXPECT_NE(ui.Prompts()[0].find("could not be added: disk full"), std::string::npos) << ui.Prompts()[0];
    for (const char* t : {"F1p1", "F1p2"}) EXPECT_EQ(Row0(t), (Cc{12, 15, 20, -1})) << t;
    db().Execute("DROP TRIGGER Refuse;");

    ChainEditForm* e = Loaded("frmEditF1p2");
    ASSERT_TRUE(e);
    e->grd->Splits(1).SetSelCols(4, 4);
    Click(e->cmdDelete);
    for (const char* t : {"F1p1", "F1p2"}) EXPECT_EQ(Row0(t), (Cc{15, 20, -1})) << t;

    // Part I out of step: refused before anything changes or closes.
    DeleteChosenCCColumn("F1p1", C(15));
    e = Editor("F1p2");
    Click(e->cmdAdd, 30);
    ASSERT_EQ(ui.Prompts().size(), 1u);
    EXPECT_NE(ui.Prompts()[0].find("Validate the database"), std::string::npos);
    EXPECT_EQ(Row0("F1p2"), (Cc{15, 20, -1}));
    EXPECT_EQ(e, Loaded("frmEditF1p2"));
}

// F-1 Part I missing: both column commands say the parts are out of step,
// and nothing changes or closes.
TEST_F(ChainEditors, FOneColumnCommandsWithoutPartIChangeNothing) {
    AddF1Column(C(12));
    db().Execute("DROP TABLE F1p1;");
    ChainEditForm* e = Editor("F1p2");
    const auto fields = db().Fields("F1p2").size();
    for (bool add : {true, false}) {
        SCOPED_TRACE(add ? "Add Column" : "Delete Column");
        if (!add) e->grd->Splits(1).SetSelCols(4, 4);
        Click(add ? e->cmdAdd : e->cmdDelete, 30);
        EXPECT_EQ(ui.Prompts(), std::vector<std::string>{
                                    "F-1  Part-1 does not hold the cost-centre columns of F-1  Part-2, so no column "
                                    "was changed. Validate the database to repair it."});
        EXPECT_EQ(Row0("F1p2"), (Cc{12, -1}));
        EXPECT_EQ(db().Fields("F1p2").size(), fields);
        EXPECT_FALSE(db().TableExists("F1p1"));
        EXPECT_EQ(e, Loaded("frmEditF1p2"));
    }
}

TEST_F(ChainEditors, PicturesOfTheEditors) {
    AddChosenCCColumn("E1", C(12));
    AddF1Column(C(12));
    Pictures({"E", "Fp2", "E1", "F1p2", "Gp1", "Gp2"});
}

// North Home (row 1) and the pharmacy (row 19).
class SmallChain : public ChainEditors {
    bool TwoComponents() const override { return true; }
};

TEST_F(SmallChain, TheWholeReportAfterTheseEditsGivesTheHandCalculatedFigures) {
    db().Execute("UPDATE B SET Expenses = CCur(LineNum * 2500) - 20000 WHERE LineNum IN (12, 20);");  // 10,000; 30,000
    for (double cc : {20, 12}) Click(Editor("E1")->cmdAdd, cc);
    ChainEditForm* e1 = Loaded("frmEditE1");
    // Column 4 is cost centre 12, column 5 is 20.
    for (auto [seq, col, text] : {std::tuple{1, 4, "1000"}, {1, 5, "300"}, {19, 4, "500.4"}})
        EXPECT_TRUE(e1->grd->TypeIntoCell(RowOf(e1, seq), col, text));
    ChainEditForm* g1 = Editor("Gp1");
    for (auto [seq, cost] : {std::pair{1, "600"}, {2, "400"}, {3, "0"}}) g1->grd->TypeIntoCell(RowOf(g1, seq), 2, cost);
    ChainEditForm* g2 = Editor("Gp2");
    g2->grd->TypeIntoCell(RowOf(g2, 1), 2, "3");
    g2->grd->TypeIntoCell(RowOf(g2, 19), 2, "1");
    Click(g2->cmdRecalculate);

    // B: E-1's row 34 allocates 1,500 of line 12 and 300 of line 20 directly;
    // the rest is pooled: 8,500 + 29,700 = 38,200.
    auto b = [&](int line, const char* field) {
        return db().Scalar(std::string("SELECT ") + field + " FROM B WHERE LineNum = ?", {Value(line)}).ToCurrency();
    };
    EXPECT_EQ((std::vector{b(12, "DirectAlloc"), b(12, "PooledAlloc"), b(20, "DirectAlloc"), b(20, "PooledAlloc"),
                           b(100, "NetExpenses"), b(100, "PooledAlloc")}),
              (std::vector{C(1500), C(8500), C(300), C(29700), C(40000), C(38200)}));
    // G: the non-capital pool 60 / 40 between facilities and other components.
    for (auto [seq, amount] : {std::pair{1, 22920}, {2, 15280}, {4, 38200}})
        EXPECT_EQ(Cell("Gp1", "Col_9", seq), C(amount)) << seq;
    // H: direct from E-1, pooled from G; the components add up to B.
    for (auto [seq, direct, pooled] : {std::tuple{1, 1300, 22920}, {19, 500, 15280}, {34, 1800, 38200}}) {
        EXPECT_EQ(std::tuple(Cell("H", "Col_13", seq), Cell("H", "Col_15", seq), Cell("H", "Col_20", seq)),
                  std::tuple(C(direct), C(pooled), C(direct + pooled))) << seq;
    }
}

}  // namespace
}  // namespace vt::test
