// The whole program as a user drives it, through its windows only: a new
// report from the dialog, the provider information, every editor typed into,
// a cost centre added and one deleted, Calculate with its findings, every
// viewer by Next, Print Entire CRF to a PDF, Save As, Close and Open of the
// copy; then the figures against a hand calculation and the PDF's headings.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "costcentres/frmAddCC.h"
#include "costcentres/frmSelectCC.h"
#include "editors/chain_edit_form.h"
#include "editors/edit_form.h"
#include "platform/grid/grid_qt.h"
#include "platform/printer/qt_printer.h"
#include "shell/forms.h"
#include "shell/frmCRFEditKey.h"
#include "shell/frmCreateNewCRF.h"
#include "shell/frmViewError.h"
#include "shell/worksheet_window.h"
#include "store/report.h"
#include "store/services.h"
#include "tests/shell/dialog_fixture.h"

namespace vt::test {
namespace {

namespace fs = std::filesystem;
using gui::EditForm;

Currency C(double d) { return Currency::FromDouble(d); }

class WholeProgram : public DialogTest {
protected:
    void TearDown() override {
        gui::SetCCChooser(nullptr);
        DialogTest::TearDown();
    }
    template <class Form = EditForm>
    Form* Edit(const std::string& code) {
        Action(("mnuEditOpen" + code).c_str())->trigger();
        QWidget* w = nullptr;
        EXPECT_TRUE(gui::Is_Form_Loaded("frmEdit" + code, &w)) << code;
        return dynamic_cast<Form*>(w);
    }
    // Types into the row whose key field holds `key`, the column of `field`.
    static void Type(gui::WorksheetWindow* e, const char* key, double line, const char* field,
                     const std::string& text) {
        ASSERT_NE(e, nullptr);
        grid::Grid& g = *e->grd;
        const int row = g.Data().FindFirst(key, db::FindOp::Eq, Value(C(line)));
        const int col = g.Data().FieldIndex(field);
        ASSERT_TRUE(row >= 0 && col >= 0) << e->objectName().toStdString() << " " << line << " " << field;
        EXPECT_TRUE(g.TypeIntoCell(row, col, text)) << e->objectName().toStdString() << " " << line << " " << text;
    }
    // Add, then the new line's first open cell typed as it stands open.
    static void AddNamed(EditForm* e, const std::string& name) {
        QTest::mouseClick(e->cmdAdd, Qt::LeftButton);
        ASSERT_TRUE(e->grd->EditActive()) << e->Code();
        e->grd->SetEditText(name);
        EXPECT_TRUE(e->grd->UpdateRecord());
    }
    // A click that shows a modal dialog, which `drive` answers and must end.
    template <class Dialog>
    static void ClickAnswered(QPushButton* button, const std::function<void(Dialog&)>& drive) {
        bool answered = false;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (!d) return;
            drive(*d);
            answered = !d->isVisible();
            if (d->isVisible()) d->reject();
        });
        QTest::mouseClick(button, Qt::LeftButton);
        Settle();
        EXPECT_TRUE(answered) << button->objectName().toStdString();
    }
    // Add Column with the cost centre chosen in the picker.
    static void AddColumn(EditForm* e, double cc) {
        ClickAnswered<gui::frmSelectCC>(e->cmdAdd, [cc](gui::frmSelectCC& d) {
            for (int i = 0; i < d.CcList->count(); ++i)
                if (d.CcList->item(i)->data(Qt::UserRole).toLongLong() == C(cc).scaled) d.CcList->setCurrentRow(i);
            QTest::mouseClick(d.cmdOk, Qt::LeftButton);
        });
    }
    static void Close(QWidget* w) {
        QTest::mouseClick(w->findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
        Settle();
    }
    void NoMessages(const char* step) {
        for (const auto& p : ui.script.Prompts()) ADD_FAILURE() << step << ": " << p;
        ui.script.ClearRecords();
    }
    static Currency Cell(const std::string& table, const std::string& field, const char* key, double line) {
        return Nz_Num(Db().Scalar("SELECT " + field + " FROM " + table + " WHERE " + key + " = ?", {Value(C(line))}))
            .ToCurrency();
    }
    // The column of a component sheet whose row 0 names cost centre `cc` (in
    // G, 0 names the non-capital column: the last such).
    static std::string ColumnOf(const std::string& table, double cc) {
        auto rs = Db().OpenRecordset("SELECT * FROM " + table + " WHERE SeqNum = 0;");
        std::string found;
        for (int i = 0; i < rs.FieldCount(); ++i)
            if (rs.FieldName(i).rfind("Col_", 0) == 0 && Nz_Num(rs.Field(i)).ToCurrency() == C(cc))
                found = rs.FieldName(i);
        return found;
    }
};

TEST_F(WholeProgram, FromANewReportToItsSavedCopyWithTheHandCalculatedFigures) {
    ui.script.AllowMessages();
    const std::string path = PathOf("WHOLE.CRF"), copy = PathOf("COPY.CRF");

    // New, through the dialog.
    RunNew([&](gui::frmCreateNewCRF& d) {
        DialogTest::Type(d.txtProviderNum, "12-3456");
        DialogTest::Type(d.txtFYStart, "1/1/2006");
        DialogTest::Type(d.txtFacilityName, "Whole Program Office");
        ui.script.QueueSaveFile(ui::FileChoice{path, "WHOLE.CRF"});
        QTest::mouseClick(d.cmdCreate, Qt::LeftButton);
    });
    ASSERT_TRUE(fs::exists(path));
    NoMessages("new report");

    // A Part I: an identity line opens the provider information.
    EditForm* ap1 = Edit("Ap1");
    const int identity = ap1->grd->Data().FindFirst("SeqNum", db::FindOp::Eq, Value(C(2.02)));
    EXPECT_FALSE(ap1->grd->TypeIntoCell(identity, 2, "x"));
    QWidget* w = nullptr;
    ASSERT_TRUE(gui::Is_Form_Loaded("frmCRFEditKey", &w));
    auto* key = static_cast<gui::frmCRFEditKey*>(w);
    ASSERT_TRUE(WaitActive(key));
    DialogTest::Type(key->txtFacilityName, "Whole Program Home Office");
    QTest::mouseClick(key->cmdSave, Qt::LeftButton);
    Settle();
    EXPECT_FALSE(gui::Is_Form_Loaded("frmCRFEditKey"));
    Close(ap1);

    // A Part III: three facilities, each added after the one before.
    EditForm* ap3 = Edit("Ap3");
    for (const char* name : {"North Home", "South Home", "West Home"}) AddNamed(ap3, name);
    Close(ap3);
    NoMessages("worksheet A");

    // The cost centres: 23.01 added after 23 and named; 25 deleted.
    EditForm* ccs = Edit("CCs");
    const auto ccRow = [&](double n) { return ccs->grd->Data().FindFirst("CCNum", db::FindOp::Eq, Value(C(n))); };
    ccs->grd->SetRow(ccRow(23));
    ClickAnswered<gui::frmAddCC>(ccs->cmdAdd, [](gui::frmAddCC& d) {
        EXPECT_EQ(d.cmdButton[0]->text().toStdString(), "Add new Cost Center number 23.01");
        QTest::mouseClick(d.cmdButton[0], Qt::LeftButton);
    });
    ASSERT_TRUE(ccs->grd->EditActive());
    ccs->grd->SetEditText("Courier service");
    EXPECT_TRUE(ccs->grd->UpdateRecord());
    ccs->grd->SetRow(ccRow(25));
    QTest::mouseClick(ccs->cmdDelete, Qt::LeftButton);
    Settle();
    EXPECT_LT(ccRow(25), 0);
    Close(ccs);
    ui.script.ClearRecords();  // the delete's question

    // B: a dozen expense lines, one of them capital.
    EditForm* b = Edit("B");
    const std::pair<double, const char*> expenses[] = {{1, "6000"},   {11, "10000"}, {12, "20000"}, {13, "5000"},
                                                       {14, "8000"},  {15, "12000"}, {16, "3000"},  {17, "4000"},
                                                       {18, "6000"},  {19, "7000"},  {20, "30000"}, {21, "2000"}};
    for (auto [line, amount] : expenses) Type(b, "LineNum", line, "Expenses", amount);
    Close(b);

    // B-1: 1,000 from line 12 to line 11.
    EditForm* b1 = Edit("B1");
    QTest::mouseClick(b1->cmdAdd, Qt::LeftButton);
    for (auto [field, text] : {std::pair{"Explanation", "Office rent"}, {"Code", "A"}, {"UpCCNum", "11"},
                               {"UpAmount", "1000"}, {"DnCCNum", "12"}, {"DnAmount", "1000"}})
        Type(b1, "SeqNum", 1, field, text);
    Close(b1);
    // B-2: balances of the capital assets, which no other sheet reads.
    EditForm* b2 = Edit("B2p1");
    Type(b2, "SeqNum", 2, "BegBalance", "50000");
    Close(b2);
    // C: line 13 reduced by 500.
    EditForm* c = Edit("C");
    for (auto [field, text] : {std::pair{"Basis", "A"}, {"Amount", "-500"}, {"CCNum", "13"}})
        Type(c, "LineNum", 1, field, text);
    Close(c);
    // D: related organisations; line 14 allows 4,000 of 5,000.
    EditForm* dpa = Edit("DpA");
    EXPECT_TRUE(dpa->grd->TypeIntoCell(0, 1, "yes"));
    Close(dpa);
    EditForm* dpb = Edit("DpB");
    QTest::mouseClick(dpb->cmdAdd, Qt::LeftButton);
    for (auto [field, text] : {std::pair{"LineNum", "14"}, {"Amount", "5000"}, {"AmtAllowable", "4000"}})
        Type(dpb, "SeqNum", 1, field, text);
    Close(dpb);
    EditForm* dpc = Edit("DpC");
    QTest::mouseClick(dpc->cmdAdd, Qt::LeftButton);
    Type(dpc, "SeqNum", 1, "RelatedOrg", "Quarry Management");
    Close(dpc);
    NoMessages("B to D");

    // E: 1,000 of capital line 1 directly to North Home.
    EditForm* e = Edit("E");
    Type(e, "SeqNum", 1, ColumnOf("E", 1).c_str(), "1000");
    Close(e);
    // E-1: the columns of lines 20 and 12, chosen in that order in the picker.
    gui::SetCCChooser(gui::SelectCC);
    for (double cc : {20, 12}) AddColumn(Edit("E1"), cc);
    EditForm* e1 = Edit("E1");
    Type(e1, "SeqNum", 1, ColumnOf("E1", 12).c_str(), "1000");
    Type(e1, "SeqNum", 1.01, ColumnOf("E1", 12).c_str(), "500");
    Type(e1, "SeqNum", 1.02, ColumnOf("E1", 20).c_str(), "300");
    Close(e1);
    // F Part II and F-1 Part II: statistics, with nothing to share out.
    EditForm* fp2 = Edit("Fp2");
    Type(fp2, "SeqNum", 1, ColumnOf("Fp2", 1).c_str(), "40");
    Close(fp2);
    AddColumn(Edit("F1p2"), 15);
    EditForm* f1p2 = Edit("F1p2");
    for (auto [seq, stat] : {std::pair{1.0, "10"}, {1.01, "20"}, {1.02, "30"}})
        Type(f1p2, "SeqNum", seq, ColumnOf("F1p2", 15).c_str(), stat);
    Close(f1p2);
    // G: everything pooled goes to the facilities, shared 1 : 1 : 2.
    EditForm* gp1 = Edit("Gp1");
    for (auto [seq, cost] : {std::pair{1.0, "1"}, {2.0, "0"}, {3.0, "0"}}) Type(gp1, "SeqNum", seq, "TotalCost", cost);
    Close(gp1);
    EditForm* gp2 = Edit("Gp2");
    for (auto [seq, stat] : {std::pair{1.0, "1"}, {1.01, "1"}, {1.02, "2"}}) Type(gp2, "SeqNum", seq, "TotalCost", stat);
    Close(gp2);
    // I: revenue, other income and other expenses.
    EditForm* i = Edit("I");
    for (auto [seq, amount] : {std::pair{1.0, "150000"}, {4.03, "2000"}, {6.0, "500"}})
        Type(i, "SeqNum", seq, "Col_1", amount);
    Close(i);
    auto* j = Edit<gui::WorksheetWindow>("J");
    Type(j, "LineNum", 1, "Col_1", "1234");
    Close(j);
    NoMessages("E to J");

    // TODO cost centres

    // Calculate, then its findings.
    Action("mnuReportCalculate")->trigger();
    Settle();
    gui::frmViewError* findings = Findings();
    ASSERT_NE(findings, nullptr);
    EXPECT_EQ(findings->grdError->Data().RecordCount(), Db().Scalar("SELECT COUNT(*) FROM Error").ToLong());
    Close(findings);
    NoMessages("calculate");

    // Every viewer, by Next from the first.
    Action("mnuViewOpenAp1")->trigger();
    QWidget* first = nullptr;
    ASSERT_TRUE(gui::Is_Form_Loaded("frmViewAp1", &first));
    std::vector<std::string> seen;
    for (QWidget* v = first; v && seen.size() < 40;) {
        seen.push_back(v->objectName().toStdString());
        auto* next = v->findChild<QPushButton*>("cmdNext");
        if (!next || !next->isEnabled()) break;
        const int before = gui::FormCount();
        QTest::mouseClick(next, Qt::LeftButton);
        Settle();
        ASSERT_EQ(gui::FormCount(), before + 1) << "after " << seen.back();
        v = gui::FormAt(before);
    }
    EXPECT_EQ(seen.size(), 24u) << testing::PrintToString(seen);
    EXPECT_EQ(std::set<std::string>(seen.begin(), seen.end()).size(), seen.size());
    Action("mnuViewCloseAll")->trigger();
    Settle();
    NoMessages("the viewers");

    // Print Entire CRF with no printer: a PDF.
    printer::QtPrinter pdf(printer::QtPrinter::Target::Pdf);
    printer::InstallPrinter(&pdf);
    Action("mnuReportPrint")->trigger();
    const std::string pdfPath = pdf.LastOutput();
    printer::InstallPrinter(&printer);
    NoMessages("print");
    ASSERT_TRUE(fs::exists(pdfPath));

    // Save As, Close, Open the copy.
    ui.script.QueueSaveFile(ui::FileChoice{copy, "COPY.CRF"});
    Action("mnuReportSaveAs")->trigger();
    Action("mnuReportClose")->trigger();
    ExpectNoReport();
    ui.script.QueueOpenFile(ui::FileChoice{copy, "COPY.CRF"});
    Action("mnuReportOpen")->trigger();
    ASSERT_EQ(Report().CRF_Path, copy);
    NoMessages("save as and open");

    // The cost centres as changed, in B too.
    EXPECT_EQ(Db().Scalar("SELECT CCName FROM B WHERE LineNum = 23.01").ToText(), "Courier service");
    EXPECT_EQ(Db().Scalar("SELECT COUNT(*) FROM B WHERE LineNum = 25").ToLong(), 0);

    // B line 100: expenses 113,000; reclassified 1,000 from 12 to 11 (net 0);
    // adjusted -500 (C, line 13) and -1,000 (D: 5,000 - 4,000 on line 14);
    // direct 1,000 (E, line 1) + 1,500 (E-1, line 12) + 300 (E-1, line 20).
    const struct {
        const char* field;
        double total;
    } b100[] = {{"Expenses", 113000},    {"Reclassifications", 0}, {"TrialBalance", 113000}, {"MedicareAdj", -1500},
                {"NetExpenses", 111500}, {"DirectAlloc", 2800},    {"FuncAlloc", 0},         {"PooledAlloc", 108700}};
    for (const auto& f : b100) EXPECT_EQ(Cell("B", f.field, "LineNum", 100), C(f.total)) << f.field;

    // G: the pool of capital line 1 is 6,000 - 1,000 = 5,000; the non-capital
    // pool is lines 11-21 net of direct allocation: 11,000 + 17,500 + 4,500 +
    // 7,000 + 12,000 + 3,000 + 4,000 + 6,000 + 7,000 + 29,700 + 2,000 = 103,700.
    // Part I gives all of both to the facilities; Part II shares them 1 : 1 : 2.
    const std::string capital = ColumnOf("Gp1", 1), pooled = ColumnOf("Gp1", 0);
    for (double seq : {1.0, 4.0}) {
        EXPECT_EQ(Cell("Gp1", capital, "SeqNum", seq), C(5000)) << seq;
        EXPECT_EQ(Cell("Gp1", pooled, "SeqNum", seq), C(103700)) << seq;
    }
    EXPECT_EQ(Cell("Gp1", pooled, "SeqNum", 2), C(0));
    const struct {
        double seq;
        double capital, pooled, direct;
    } facilities[] = {{1, 1250, 25925, 1000 + 1000}, {1.01, 1250, 25925, 500}, {1.02, 2500, 51850, 300}};
    for (const auto& f : facilities) {
        EXPECT_EQ(Cell("Gp2", capital, "SeqNum", f.seq), C(f.capital)) << f.seq;
        EXPECT_EQ(Cell("Gp2", pooled, "SeqNum", f.seq), C(f.pooled)) << f.seq;
        // H: each facility's whole share, direct and pooled, capital and not.
        EXPECT_EQ(Cell("H", "Col_20", "SeqNum", f.seq), C(f.capital + f.pooled + f.direct)) << f.seq;
    }
    EXPECT_EQ(Cell("H", "Col_20", "SeqNum", 34), C(111500));

    // I: revenue 150,000 less B's expenses 113,000; other income 2,000, other expenses 500.
    for (auto [seq, amount] : {std::pair{2.0, 113000}, {3.0, 37000}, {5.0, 2000}, {7.0, 500}, {8.0, 38500}})
        EXPECT_EQ(Cell("I", "Col_2", "SeqNum", seq), C(amount)) << seq;

    // The PDF holds every sheet's heading, and every part's of the sheets printed in parts.
    const std::string text = PathOf("whole.txt");
    ASSERT_EQ(std::system(("pdftotext -layout '" + pdfPath + "' '" + text + "'").c_str()), 0);
    std::ifstream in(text);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        const size_t start = line.find_first_not_of(" \f");  // a page starts with a form feed
        lines.push_back(start == std::string::npos ? "" : line.substr(start));
    }
    const auto printed = [&](const std::string& heading) {
        return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) {
            return l.rfind(heading, 0) == 0 && (l.size() == heading.size() || l[heading.size()] == ' ');
        });
    };
    for (const char* sheet : {"A", "B", "B-1", "B-2", "C", "D", "E", "E-1", "F", "F-1", "G", "H", "I", "J"})
        EXPECT_TRUE(printed(std::string("Worksheet ") + sheet)) << sheet;
    for (const char* part :
         {"Part I - General Information", "Part II - Certification of Officer of Home Office",
          "Part III - Listing of Chain Healthcare Facility Components", "Part IV - Listing of Other Chain Components",
          "Part I - Analysis of Changes in Old Capital Asset Balances",
          "Part II - Analysis of Changes in New Capital Asset Balances",
          "Part III - Reconciliation of Capital Cost Centers",
          "Part B - Costs incurred and adjustment required as a result of transactions with related organizations",
          "Part C - Inter-relationship of Chain Home Office to Related Organization",
          "Part I - Functional Allocation of Home Office Capital Costs to Chain Components",
          "Part II - Functional Allocation of Home Office Capital Costs to Chain Components - Statistics",
          "Part I - Functional Allocation of Home Office Non-Capital Related Expenses to Chain Components",
          "Part II - Functional Allocation of Home Office Non-Capital Related Expenses to Chain Components - Statistics",
          "Part I - Allocation of Home Office Pooled Costs Between Health Care Facilities and Other Chain Components",
          "Part II - Allocation to Individual Chain Components"})
        EXPECT_TRUE(printed(part)) << part;
}

}  // namespace
}  // namespace vt::test
