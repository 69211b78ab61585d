// Every viewer but B's on a small calculated report: what each shows, the
// walk through all of them, the whole-report calculation seen in every open
// one, printing and pictures.
#include <gtest/gtest.h>

#include <QApplication>
#include <QAction>
#include <QMenu>
#include <QDir>
#include <QHeaderView>
#include <QTableView>
#include <QTest>
#include <QScreen>
#include <QStyle>

#include <filesystem>
#include <tuple>

#include "engine/chain/component_rows.h"
#include "engine/chain/component_sheet.h"
#include "engine/chain/f1.h"
#include "platform/printer/qt_printer.h"
#include "platform/ui/twips_qt.h"
#include "shell/calculation.h"
#include "report/calc_all.h"
#include "shell/forms.h"
#include "shell/frmMain.h"
#include "shell/headings.h"
#include "shell/text.h"
#include "shell/worksheet_windows.h"
#include "store/report.h"
#include "tests/gui_support/gui_test.h"
#include "viewers/frmViewJ.h"
#include "viewers/sheet_viewer.h"

namespace vt::test {
namespace {

using gui::ViewForm;
using gui::WorksheetWindow;

// Display-name order: the walk of Next from the first to the last.
const char* const kOrder[] = {"Ap1", "Ap3", "Ap4", "Ap5", "B",  "B1",  "B2p1", "B2p2", "B2p3", "C",   "DpA", "DpB",
                              "DpC", "E",   "E1",  "Fp1", "Fp2", "F1p1", "F1p2", "Gp1", "Gp2", "H", "I", "J"};

Currency C(double d) { return Currency::FromDouble(d); }

class Viewers : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        Component(3, 1, "North Home");
        Component(3, 2, "South Home");
        Component(4, 1, "Pharmacy");
        Component(5, 1, "East Region");
        db().Execute("UPDATE B SET Expenses = CCur(LineNum * 1000) WHERE LineNum < 36;");
        Set("E", "Col_1", 1, 1000);
        AddChosenCCColumn("E1", C(20));
        Set("E1", "Col_1", 2, 800);
        AddF1Column(C(11));
        AddF1Column(C(12));
        Set("F1p2", "Col_1", 1, 1);
        Set("Fp2", "Col_1", 1, 2);
        Set("Gp1", "TotalCost", 1, 600000);
        db().Execute("UPDATE J SET Col_1 = 20000 WHERE LineNum = 1;");
        ui.AllowMessages();
        Calc_All();
        ui.ClearRecords();
    }
    void Component(int part, int line, const std::string& name) {
        const char* table = part == 3 ? "Ap3" : part == 4 ? "Ap4" : "Ap5";
        const char* field = part == 5 ? "Col1" : "Component";
        db().Execute(std::string("INSERT INTO ") + table + " (LineNum, " + field + ") VALUES (?, ?);",
                     {Value(line), Value(name)});
        Insert_Component_Line(C(line), part);
        Propagate_Component_Field(C(line), part, "Component", name);
    }
    void Set(const std::string& table, const std::string& field, double seq, double amount) {
        db().Execute("UPDATE " + table + " SET " + field + " = ? WHERE SeqNum = ?;", {Value(C(amount)), Value(C(seq))});
    }
    WorksheetWindow* Open(const std::string& code) {
        gui::Open_Worksheet_Form("view", code);
        QWidget* w = nullptr;
        EXPECT_TRUE(gui::Is_Form_Loaded("frmView" + code, &w)) << code;
        return dynamic_cast<WorksheetWindow*>(w);
    }
    ViewForm* OpenView(const std::string& code) { return dynamic_cast<ViewForm*>(Open(code)); }
    // Every cell the grid shows is what its record source reads now.
    void ExpectCurrent(WorksheetWindow* w) {
        const grid::GridModel& m = w->grd->Data();
        auto rs = db().OpenRecordset(m.RecordSource());
        ASSERT_EQ(rs.RecordCount(), m.RecordCount()) << w->FormName();
        if (rs.RecordCount() > 0) rs.MoveFirst();
        for (int r = 0; !rs.Eof(); rs.MoveNext(), ++r)
            for (int c = 0; c < m.FieldCount(); ++c) ASSERT_EQ(m.FieldValue(r, c), rs.Field(c)) << w->FormName() << c;
    }
    std::vector<int> Shown(grid::Grid& g, int split) {
        std::vector<int> cols;
        for (int c = 0; c < g.ColumnCount(); ++c)
            if (g.Splits(split).Columns(c).Visible()) cols.push_back(c);
        return cols;
    }
};

struct Sheet {
    const char* code;
    int headLines;
    std::vector<int> left;   // the one pane's columns, or the frozen pane's
    std::vector<int> right;  // the scrolling pane's; none in a one-pane grid
    std::vector<std::tuple<int, const char*, const char*>> headings;  // column, number, text
    const char* rows;        // the rows shown, as a WHERE over the table
};

std::vector<int> Range(int from, int to, std::vector<int> before = {}) {
    for (int c = from; c <= to; ++c) before.push_back(c);
    return before;
}

TEST_F(Viewers, EachShowsItsColumnsHeadingsAndRowsAsTheFormDoes) {
    const std::vector<Sheet> sheets = {
        {"Ap1", 2, {0, 1, 2}, {}, {{0, "", "Line #"}, {2, "", "Answer"}}, "1"},
        {"Ap3", 5, {0, 1}, Range(2, 10),
         {{1, "1", "Component Name Health Care Facilities"}, {8, "8", "Component Cost Reimburse -ment"}}, "1"},
        {"Ap4", 5, Range(0, 5), {}, {{0, "0", ""}, {5, "5", "Date Sold or Closed"}}, "1"},
        {"Ap5", 5, Range(0, 7), {}, {{4, "4", "Costs Incl. Amount"}, {7, "7", "Designated intermediary"}}, "1"},
        {"B1", 3, Range(0, 8), {}, {{1, "", "Explanation"}, {4, "3", "Incr Line #"}}, "1"},
        {"B2p1", 4, Range(0, 8), {}, {{1, "", "Description"}, {8, "7", "Fully Depreciated Assets"}}, "1"},
        {"B2p2", 4, Range(0, 8), {}, {{2, "1", "Beginning Balance"}}, "1"},
        {"B2p3", 4, Range(0, 16), {}, {{5, "4", "Ratio"}, {16, "15", "Total(2)"}}, "1"},
        {"C", 2, Range(0, 5), {}, {{1, "1", "Description"}, {4, "4", "Line #"}}, "1"},
        {"DpA", 2, {0, 1}, {}, {{0, "", "Question"}, {1, "", "Answer"}}, "1"},
        {"DpB", 4, Range(0, 5), {}, {{0, "", ""}, {4, "4", "Amount Allowable in Cost"}}, "1"},
        {"DpC", 4, Range(0, 4), {}, {{2, "2", "Type of Business"}, {4, "4", "Relationship"}}, "1"},
        {"I", 4, Range(0, 3), {}, {{0, "", "Line #"}, {2, "1", ""}, {3, "2", ""}}, "1"},
        {"E", 4, {0, 2, 3}, Range(4, 15), {{3, "", "Medicare Number"}, {5, "1.01", "Int. Exp. Old Cap. Bldg & Fixt."},
                                           {12, "7", "Insurance Premiums"}, {15, "10", "Total"}}, "SeqNum > 0"},
        {"E1", 4, {0, 2, 3}, {4, 5}, {{4, "20", "Communi- cations"}, {5, "36", "Total"}}, "SeqNum > 0"},
        {"Fp1", 4, {0, 2}, Range(3, 10),
         {{2, "", "Chain Components"}, {3, "1", "Old Cap. Rel Bldgs & Fixtures"},
          {10, "5.01", "Int. Exp. New Cap. Mov. Equip."}},
         "SeqNum > 0"},
        {"Fp2", 4, {0, 2}, Range(3, 10), {{5, "2", "Old Cap. Rel Movable Equipment"}}, "SeqNum > 0"},
        {"F1p1", 5, {0, 2, 3}, {4, 5, 6}, {{4, "11", "Salaries of Officers"}, {6, "36", "Total"}}, "SeqNum > 0"},
        {"F1p2", 5, {0, 2, 3}, {4, 5, 6}, {{5, "12", "Salaries & Wages of Others"}, {6, "", "Total"}}, "SeqNum > 0"},
        {"Gp1", 4, {0, 2, 3, 4}, Range(5, 15),
         {{4, "1A", "Ratio"}, {5, "2", "Old Cap. Rel Bldgs & Fixtures"}, {13, "6", "Non-Capital"},
          {14, "7", "Interest Expense"}, {15, "7.01", "Interest Income"}},
         "SeqNum > 0"},
        {"Gp2", 4, {0, 2, 3, 4}, Range(5, 15),
         {{2, "0", "Chain Components"}, {7, "3", "Old Cap. Rel Movable Equipment"}},
         "SeqNum > 0"},
        {"H", 4, {0, 2, 3}, Range(4, 24),
         {{0, "", ""}, {4, "", "Fiscal Year End"}, {5, "1", "Old Cap Direct Home Office Costs"},
          {16, "12", "Total Alloc of Other Cap Related Costs"}, {24, "20", "Total Alloc of Total Related Costs"}},
         "SeqNum > 0"},
    };
    for (const Sheet& s : sheets) {
        SCOPED_TRACE(s.code);
        ViewForm* v = OpenView(s.code);
        ASSERT_TRUE(v);
        grid::Grid& g = *v->grd;
        EXPECT_EQ(v->Caption(), std::string("View Worksheet ") + s.code);
        EXPECT_EQ(std::pair(g.HeadLines(), g.SplitCount()), std::pair(s.headLines, s.right.empty() ? 1 : 2));
        EXPECT_EQ(Shown(g, 0), s.left);
        if (!s.right.empty()) {
            EXPECT_EQ(Shown(g, 1), s.right);
        }
        ASSERT_EQ(v->Headings().size(), static_cast<size_t>(g.ColumnCount()));
        for (auto [col, num, text] : s.headings) {
            const auto& h = v->Headings()[static_cast<size_t>(col)];
            EXPECT_EQ(std::tie(h.ColNum, h.HeadText), std::tuple(num, text)) << col;
        }
        for (int c = 0; c < g.ColumnCount(); ++c) EXPECT_TRUE(g.Columns(c).Locked()) << c;
        const std::string count = std::string("SELECT COUNT(*) FROM ") + s.code + " WHERE " + s.rows;
        EXPECT_EQ(g.Data().RecordCount(), db().Scalar(count).ToLong());
        ExpectCurrent(v);
        v->SetGrd();  // a second binding keeps two panes at most and the same layout
        EXPECT_EQ(Shown(g, 0), s.left);
    }
    // Formats where the form has them; editors where there are.
    grid::Grid& ap3 = *OpenView("Ap3")->grd;
    EXPECT_EQ(std::pair(ap3.Splits(1).Columns(3).NumberFormat(), ap3.Splits(1).Columns(7).Alignment()),
              std::pair(std::string("mm/dd/yyyy"), int(grid::kAlignCenter)));
    EXPECT_EQ(OpenView("Gp1")->grd->Splits(0).Columns(4).NumberFormat(), "0.000000;(0.000000)");
    EXPECT_EQ(OpenView("DpA")->grd->RowHeight(), 430);
    for (const char* code : {"Fp1", "F1p1", "H"}) EXPECT_FALSE(OpenView(code)->cmdOpenEdit->isEnabled()) << code;
    EXPECT_TRUE(OpenView("F1p2")->cmdOpenEdit->isEnabled());
}

// A Part V: every heading breaks between words, and every column holds the
// longest value it shows in the grid's font, also when it is read again.
TEST_F(Viewers, APartVHeadingsBreakBetweenWordsAndItsColumnsHoldTheirValues) {
    db().Execute("UPDATE Ap5 SET Col2 = 'San Bernardino', Col3 = 'Massachusetts', Col7 = 'Noridian' WHERE LineNum = 1;");
    ViewForm* v = OpenView("Ap5");
    db().Execute("UPDATE Ap5 SET Col7 = 'Wisconsin Physicians Svc.' WHERE LineNum = 1;");
    v->SetGrd();
    grid::Grid& g = *v->grd;
    for (int c = 1; c < g.ColumnCount(); ++c) {
        const QString caption = QString::fromStdString(g.Columns(c).Caption()).section('\r', 0, -2);
        EXPECT_EQ(caption.simplified().toStdString(), v->Headings()[static_cast<size_t>(c)].HeadText) << c;
        const QString value = QString::fromStdString(g.Data().FieldValue(0, c).ToText());
        EXPECT_LT(QFontMetrics(g.Pane(0)->font()).horizontalAdvance(value), ui::Px(g.Columns(c).Width())) << c;
    }
}

// F Part II's statistics total shows whole on its one line, also in a larger desktop font.
TEST_F(Viewers, FPartIIShowsItsStatisticsTotalWhole) {
    const QFont before = QApplication::font();
    QApplication::setFont(QFont("DejaVu Sans", 11));
    const QTableView* pane = OpenView("Fp2")->grd->Pane(0);
    const int margins = 2 * (pane->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, pane) + 1);
    const QString caption = QString::fromUtf8(kStatisticsTotalCaption);
    EXPECT_GE(pane->columnWidth(2), QFontMetrics(pane->font()).horizontalAdvance(caption) + margins);
    QApplication::setFont(before);
}

// A heading wrapped into more lines than the heading lines keeps its top:
// the heading row grows to hold it (H's columns 2 and 6 here).
TEST_F(Viewers, NoHeadingLosesItsTop) {
    grid::Grid& h = *OpenView("H")->grd;
    QApplication::processEvents();
    const QHeaderView* header = h.Pane(1)->horizontalHeader();
    for (int c : {6, 10}) {
        const std::string caption = h.Columns(c).Caption();
        const int lines = static_cast<int>(std::count(caption.begin(), caption.end(), '\r')) + 1;
        EXPECT_GT(lines, h.HeadLines()) << c;
        EXPECT_GE(header->height(), QFontMetrics(header->font()).lineSpacing() * lines) << c;
    }
    EXPECT_EQ(h.Pane(0)->horizontalHeader()->height(), header->height());
}

// Every line of every heading inside the heading row, as the header draws
// it (the style's margins inside the row), wrapped by the test's fixed widths
// and by the font in use, as opened and once read again.
TEST_F(Viewers, EveryHeadingShowsWholeInTheHeadingRow) {
    const gui::TextMeasurer* fixed = &gui::HeadingMeasurer();
    const gui::FontMeasurer font(QApplication::font("QHeaderView"));
    for (const gui::TextMeasurer* measurer : {fixed, static_cast<const gui::TextMeasurer*>(&font)}) {
        gui::InstallHeadingMeasurer(measurer);
        for (const char* code : {"Gp1", "Gp2", "H", "E", "E1", "Fp1", "Fp2", "F1p1", "F1p2", "B2p3"}) {
            ViewForm* v = OpenView(code);
            ASSERT_TRUE(v) << code;
            for (bool again : {false, true}) {
                if (again) v->SetGrd();
                for (int s = 0; s < v->grd->SplitCount(); ++s) {
                    const QHeaderView* header = v->grd->Pane(s)->horizontalHeader();
                    const int room = header->height() - 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin);
                    for (int c = 0; c < v->grd->ColumnCount(); ++c) {
                        if (header->isSectionHidden(c)) continue;
                        const QString text = header->model()->headerData(c, Qt::Horizontal).toString();
                        const QRect needed = QFontMetrics(header->font())
                                                 .boundingRect(QRect(0, 0, header->sectionSize(c), 1 << 16),
                                                               Qt::AlignLeft | Qt::AlignTop, text);
                        EXPECT_GE(room, needed.height()) << code << " column " << c << ": " << text.toStdString();
                    }
                }
            }
            gui::UnloadForm(v);
        }
    }
    gui::InstallHeadingMeasurer(fixed);
}

// A window sized to its grid keeps its frame on the screen's working area.
TEST_F(Viewers, WindowsSizedToTheirGridsStayOnTheWorkingArea) {
    for (const char* mode : {"view", "edit"})
        for (const char* code : {"Gp1", "Gp2", "E", "H"}) {
            if (std::string(mode) == "edit" && std::string(code) == "H") continue;  // H has no editor
            gui::Open_Worksheet_Form(mode, code);
            QWidget* w = nullptr;
            ASSERT_TRUE(gui::Is_Form_Loaded((std::string(mode) == "edit" ? "frmEdit" : "frmView") + std::string(code), &w));
            QApplication::processEvents();
            const QRect area = w->screen()->availableGeometry();
            EXPECT_TRUE(area.contains(w->frameGeometry())) << mode << " " << code;
        }
}

TEST_F(Viewers, CostCentreColumnsWithoutACostCentreAreHeadedWithoutFailing) {
    Set("E1", "Col_1", 0, 150.5);
    auto* e1 = OpenView("E1");
    EXPECT_EQ(e1->Headings()[4].ColNum + e1->Headings()[4].HeadText, "");
    db().Execute("UPDATE E1 SET Col_1 = Null WHERE SeqNum = 0;");
    e1->SetGrd();
    EXPECT_EQ(e1->Headings()[4].HeadText, "");

    // A column whose cost centre leaves the list keeps its heading, in the
    // viewer as in the editor.
    Set("E1", "Col_1", 0, 20);
    gui::Open_Worksheet_Form("edit", "E1");
    QWidget* editor = nullptr;
    ASSERT_TRUE(gui::Is_Form_Loaded("frmEditE1", &editor));
    for (auto* w : {static_cast<WorksheetWindow*>(e1), dynamic_cast<WorksheetWindow*>(editor)}) {
        w->SetGrd();
        Set("E1", "Col_1", 0, 150.5);
        w->SetGrd();
        EXPECT_EQ(dynamic_cast<gui::SheetForm*>(w)->Headings()[4].ColNum, "20") << w->FormName();
        Set("E1", "Col_1", 0, 20);
    }

    // E heads its columns by the list's order, whatever row 0 says.
    Set("E", "Col_1", 0, 7);
    EXPECT_EQ(OpenView("E")->Headings()[4].ColNum, "1");

    // G numbers 3 as 4 and keeps an unknown cost centre's number; an empty cell is Non-Capital.
    db().Execute("UPDATE Gp2 SET Col_1 = 3, Col_2 = 150.5, Col_3 = Null WHERE SeqNum = 0;");
    auto* g = OpenView("Gp2");
    EXPECT_EQ(std::tie(g->Headings()[5].ColNum, g->Headings()[6].ColNum, g->Headings()[6].HeadText, g->Headings()[7].HeadText),
              std::tuple("4", "127.5", "<Bad CC #>", "Non-Capital"));
}

TEST_F(Viewers, NextWalksFromTheFirstToTheLastInDisplayNameOrder) {
    std::vector<std::string> opened;
    WorksheetWindow* w = Open("Ap1");
    auto* v = dynamic_cast<ViewForm*>(w);
    EXPECT_FALSE(v->cmdPrevious->isEnabled());
    EXPECT_EQ(v->cmdNext->toolTip().toStdString(), "Open A  Part-3 For View");
    opened.push_back(w->FormName());
    while ((v = dynamic_cast<ViewForm*>(w)) && v->cmdNext->isEnabled()) {
        QTest::mouseClick(v->cmdNext, Qt::LeftButton);
        w = dynamic_cast<WorksheetWindow*>(gui::FormAt(gui::FormCount() - 1));
        ASSERT_TRUE(w);
        opened.push_back(w->FormName());
    }
    std::vector<std::string> expected;
    for (const char* code : kOrder) expected.push_back(std::string("frmView") + code);
    EXPECT_EQ(opened, expected);
    EXPECT_EQ(gui::FormCount(), 25);  // slot 0 is the main window's
    EXPECT_EQ(OpenView("I")->cmdNext->toolTip().toStdString(), "Open J For View");
    EXPECT_EQ(OpenView("F1p1")->cmdPrevious->toolTip().toStdString(), "Open F  Part-2 For View");
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(Viewers, TheViewMenuOpensEveryViewer) {
    auto* main = new gui::frmMain(gui::StartOptions{std::chrono::milliseconds(0), {}, "vt-test-viewers", [] {}});
    ASSERT_TRUE(main->Form_Load());
    main->ShowReportOpened(Report().CRF_Path);
    for (QAction* a : main->findChildren<QAction*>()) {
        const std::string name = a->objectName().toStdString();
        // Edit checks and cost centres are other windows' business.
        if (name.rfind("mnuViewOpen", 0) == 0 && !a->menu() && name != "mnuViewOpenEditChecks" &&
            name != "mnuViewOpenCCs")
            a->trigger();
    }
    EXPECT_EQ(gui::FormCount(), 25);
    for (const char* code : kOrder) EXPECT_TRUE(gui::Is_Form_Loaded(std::string("frmView") + code)) << code;
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(Viewers, GBringsBackItsTopLineAsAWholeLine) {
    db().Execute("INSERT INTO Gp2 (SeqNum, LineNum, Component) VALUES (19.01, 1.01, 'Pharmacy Annex');");
    ViewForm* g = OpenView("Gp2");
    EXPECT_EQ(g->grd->FirstRow(), 0);
    g->resize(g->width(), ui::Px(2400));
    QApplication::processEvents();
    g->grd->SetFirstRow(g->grd->Data().FindFirst("SeqNum", db::FindOp::Eq, Value(C(19.01))));
    g->SetGrd();
    EXPECT_EQ(g->grd->Data().FieldValue(g->grd->FirstRow(), "SeqNum").ToCurrency(), C(19));
}

TEST_F(Viewers, ReCalculateInAnyViewerShowsTheNewFiguresInEveryOpenOne) {
    std::vector<WorksheetWindow*> open;
    for (const char* code : kOrder) open.push_back(Open(code));
    db().Execute("UPDATE B SET Expenses = 20000 WHERE LineNum = 1;");
    db().Execute("UPDATE J SET Col_1 = 25000 WHERE LineNum = 1;");
    gui::SetCalculation([] {
        Calc_All();
        gui::Refresh_Grids(-1);  // as the main window does when told the report is calculated
    });
    QTest::mouseClick(dynamic_cast<ViewForm*>(open[13])->cmdRecalculate, Qt::LeftButton);
    for (WorksheetWindow* w : open) ExpectCurrent(w);
    const grid::GridModel& j = open.back()->grd->Data();
    EXPECT_EQ(j.FieldValue(j.FindFirst("LineNum", db::FindOp::Eq, Value(10)), "Col_1"), Value(C(25000)));
}

TEST_F(Viewers, TheJViewerKeepsItsTopLine) {
    db().Execute("INSERT INTO J (LineNum, CCNum, CCName, Col_1) VALUES (5.01, 205.01, 'Other Receivables 2', 100);");
    auto* j = dynamic_cast<gui::frmViewJ*>(Open("J"));
    ASSERT_TRUE(j);
    EXPECT_EQ(std::pair(j->Caption(), j->grd->FirstRow()), std::pair(std::string("VIEW: Worksheet J"), 0));  // the first reading keeps nothing
    const std::string amount = j->grd->Columns(3).Caption();
    EXPECT_EQ(Trim(amount.substr(amount.rfind('\r') + 1)), "1");
    EXPECT_FALSE(j->grd->Splits(0).Columns(1).Visible() || j->grd->Splits(1).Columns(1).Visible());
    j->resize(j->width(), ui::Px(2400));
    QApplication::processEvents();
    auto top = [&] { return j->grd->Data().FieldValue(j->grd->FirstRow(), "LineNum").ToCurrency(); };
    j->grd->SetFirstRow(j->grd->Data().FindFirst("LineNum", db::FindOp::Eq, Value(C(5.01))));
    ASSERT_EQ(top(), C(5.01));
    j->FormSetup();
    EXPECT_EQ(top(), C(5));
    j->grd->SetFirstRow(j->grd->Data().FindFirst("LineNum", db::FindOp::Eq, Value(C(5.01))));
    QTest::mouseClick(j->cmdCalc, Qt::LeftButton);
    EXPECT_EQ(top(), C(5.01));
    EXPECT_EQ(db().Scalar("SELECT Col_1 FROM J WHERE LineNum = 10").ToCurrency(), C(20100));
}

// Each viewer prints its sheet's print file (worksheet A's for every part
// of A, and alike), and a PDF where there is no printer; then its picture.
TEST_F(Viewers, PrintWritesTheSheetsPrintFileAndAPdf) {
    printer::QtPrinter pdf(printer::QtPrinter::Target::Pdf);
    printer::InstallPrinter(&pdf);
    gui::InstallHeadingMeasurer(nullptr);
    const QString dir = QDir(VT_BUILD_DIR).filePath("screenshots");
    QDir().mkpath(dir);
    for (const std::string code : kOrder) {
        SCOPED_TRACE(code);
        const std::string file = code.substr(0, code.find('p'));
        std::filesystem::remove(PathOf(file + ".prt"));
        std::filesystem::remove(PathOf(file + ".pdf"));
        WorksheetWindow* w = Open(code);
        QTest::mouseClick(w->findChild<QPushButton*>("cmdPrint"), Qt::LeftButton);
        EXPECT_TRUE(std::filesystem::exists(PathOf(file + ".prt")) && std::filesystem::exists(PathOf(file + ".pdf")));
        EXPECT_TRUE(w->isEnabled() && !ui.Busy());
        EXPECT_TRUE(w->grab().save(QDir(dir).filePath(gui::Q(w->FormName()) + ".png")));
    }
    EXPECT_TRUE(ui.Messages().empty());
    printer::InstallPrinter(&printer);
}

}  // namespace
}  // namespace vt::test
