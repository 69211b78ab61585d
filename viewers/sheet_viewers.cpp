// The designs of the viewers that are data over the family: each worksheet's
// record source, headings in the printed form's words, widths in twips, panes
// and formats. Amounts keep the grid's own form unless a design says otherwise.
#include "engine/chain/component_rows.h"
#include "engine/chain/e.h"
#include "engine/chain/e1.h"
#include "engine/chain/f.h"
#include "engine/chain/f1.h"
#include "engine/chain/g.h"
#include "engine/chain/h.h"
#include "engine/general/a.h"
#include "engine/general/b1.h"
#include "engine/general/b2.h"
#include "engine/general/c.h"
#include "engine/general/d.h"
#include "engine/general/i.h"
#include "viewers/sheet_viewer.h"

namespace vt::gui {
namespace {

constexpr Pane L = Pane::Left, R = Pane::Right, H = Pane::Hidden;
const char* const kDate = "mm/dd/yyyy";

const ViewerColumn kRightAmount{"", "", 1250, R};

const std::vector<ViewerColumn> kB2Columns = {
    {"", "", 600},
    {"", "Description", 2600},
    {"1", "Beginning Balance", 1200},
    {"2", "Purchases", 1200},
    {"3", "Donation", 1200},
    {"4", "Total Acquisitions", 1200},
    {"5", "Disposals and Retirements", 1200},
    {"6", "Ending Balance", 1200},
    {"7", "Fully Depreciated Assets", 1200},
};

// The left pane of the component sheets E, E-1, F-1 and H: sequence, component
// and Medicare number; the line number nowhere.
std::vector<ViewerColumn> ComponentColumns(double medicareWidth) {
    return {{"", "Seq", 600}, {"", "Line", -1, H}, {"", "Chain Components", 4300},
            {"", "Medicare Number", medicareWidth}};
}

// F Part II's statistics total caption is longer than a component's name:
// its column widens to show it whole.
const std::vector<ViewerColumn> kFColumns = {
    {"", "Seq", 600}, {"", "Line", -1, H}, {.headText = "Chain Components", .width = 4300, .fitText = true}};

const std::vector<ViewerColumn> kGColumns = {
    {"", "", 600},
    {"", "", -1, H},
    {"0", "Chain Components", 3400},
    {"1", "Base: Total Cost", 1250},
    {"1A", "Ratio", 1000, L, "0.000000;(0.000000)"},
};

std::vector<ViewerColumn> HColumns() {
    std::vector<ViewerColumn> c = ComponentColumns(1000);
    c[0].headText.clear();  // H's sequence column has no heading
    c.push_back({"", "Fiscal Year End", 1250, R});
    const char* blocks[] = {"Old Cap", "New Cap", "Other Cap", "Non-Cap"};
    int n = 0;
    auto add = [&](const std::string& text) { c.push_back({std::to_string(++n), text, 1250, R}); };
    for (int b = 0; b < 4; ++b) {
        for (const char* kind : {"Direct", "Functional", "Pooled"})
            add(std::string(blocks[b]) + " " + kind + " Home Office Costs");
        add(std::string("Total Alloc of ") + blocks[b] + " Related Costs");
    }
    for (const char* kind : {"Direct", "Functional", "Pooled"})
        add(std::string("Total ") + kind + " Home Office Costs");
    add("Total Alloc of Total Related Costs");
    return c;
}

// The component sheets: the rows above 0, the component columns frozen at the
// left, every value column 1250 twips wide in the scrolling pane.
ViewerDesign Chain(const std::string& code, std::vector<ViewerColumn> columns, CcHeadings headings,
                   void (*print)(int&)) {
    return {.code = code,
            .recordSource = "SELECT * FROM " + code + " WHERE SeqNum > " + std::to_string(kRow0) + " ORDER BY SeqNum;",
            .columns = std::move(columns),
            .rest = kRightAmount,
            .split = true,
            .rowHeight = 230,
            .currentColumn1 = true,
            .ccHeadings = headings,
            .print = print};
}

// F Parts I and II: headed by the cost centres below 6 in list order; both print the whole of F.
ViewerDesign F(const std::string& code, bool hasEditor) {
    ViewerDesign d = Chain(code, kFColumns, CcHeadings::ListOrder, Print_F);
    d.ccBelow = ShapeOf(code).ccBelow;
    d.hasEditor = hasEditor;
    return d;
}

// F-1 Parts I and II: headed from row 0, the total numbered in Part I only.
ViewerDesign F1(const std::string& code, const char* totalNumber, bool hasEditor) {
    ViewerDesign d = Chain(code, ComponentColumns(-1), CcHeadings::Row0, Print_F1);
    d.headLines = 5;
    d.total = ColHeading(totalNumber, "Total");
    d.hasEditor = hasEditor;
    return d;
}

// G Parts I and II differ only in their table.
ViewerDesign G(const std::string& code) {
    ViewerDesign d = Chain(code, kGColumns, CcHeadings::G, Print_G);
    d.keepTopLine = true;
    return d;
}

// B-2 Parts I and II show the same columns.
ViewerDesign B2(const std::string& code) {
    return {.code = code, .recordSource = "SELECT * FROM " + code + " ORDER BY SeqNum;", .columns = kB2Columns,
            .print = Print_B2};
}

}  // namespace

const ViewerDesign kViewAp1{
    .code = "Ap1",
    .recordSource = "SELECT * FROM Ap1 ORDER BY SeqNum;",
    .headLines = 2,
    .columns = {{"", "Line #", 650}, {"", "Question", 4000}, {"", "Answer", 5000}},
    .rest = {"", "", 5000},
    .hasPrevious = false,
    .print = Print_A,
};

const ViewerDesign kViewAp3{
    .code = "Ap3",
    .recordSource = "SELECT * FROM Ap3 ORDER BY LineNum;",
    .headLines = 5,
    .columns =
        {
            {"0", "", 600},
            {"1", "Component Name Health Care Facilities", 3400},
            {"2", "Medicare No.", 1000, R},
            {"3", "Periods Ending in Fiscal Year From:", 1300, R, kDate},
            {"4", "Periods Ending in Fiscal Year To:", 1300, R, kDate},
            {"5", "Date Acquired", 1300, R, kDate},
            {"6", "Date Sold or Closed", 1300, R, kDate},
            {"7", "Medicaid Partic.", 1000, R, "", grid::kAlignCenter},
            {"8", "Component Cost Reimburse -ment", 1100, R},
            {"9", "Medicare Intermediary", 2700, R},
            {"10", "Medicaid", 2700, R},
        },
    .rest = {"", "", -1, R},
    .split = true,
    .print = Print_A,
};

const ViewerDesign kViewAp4{
    .code = "Ap4",
    .recordSource = "SELECT * FROM Ap4 ORDER BY LineNum;",
    .headLines = 5,
    .columns =
        {
            {"0", "", 600},
            {"1", "Component Name Other Components", 4300},
            {"2", "Periods Ending in Fiscal Year From:", 1300, L, kDate},
            {"3", "Periods Ending in Fiscal Year To:", 1300, L, kDate},
            {"4", "Date Acquired", 1300, L, kDate},
            {"5", "Date Sold or Closed", 1300, L, kDate},
        },
    .print = Print_A,
};

const ViewerDesign kViewAp5{
    .code = "Ap5",
    .recordSource = "SELECT * FROM Ap5 ORDER BY LineNum;",
    .headLines = 5,
    .columns =
        {
            {"", "", 600},
            {"1", "Name", 3500},
            {"2", "City", 2100},
            {"3", "State", 800},
            {"4", "Costs Incl. Amount", 1300},
            {"5", "Sep. Stmt: Yes", 800},
            {"6", "Sep. Stmt: No", 800},
            {"7", "Designated intermediary", 800},
        },
    .rest = {"", "", 800},
    .fitColumns = true,
    .print = Print_A,
};

const ViewerDesign kViewB1{
    .code = "B1",
    .recordSource = "SELECT * FROM B1 ORDER BY SeqNum;",
    .headLines = 3,
    .columns =
        {
            {"", "", 600},
            {"", "Explanation", 3500},
            {"1", "Code", 600},
            {"2", "Increase Cost Center", 3500},
            {"3", "Incr Line #", 700},
            {"4", "Increase Amount", 1000},
            {"5", "Decrease Cost Center", 3500},
            {"6", "Decr Line #", 700},
            {"7", "Decrease Amount", 1000},
        },
    .print = Print_B1,
};

const ViewerDesign kViewB2p1 = B2("B2p1");
const ViewerDesign kViewB2p2 = B2("B2p2");

const ViewerDesign kViewB2p3{
    .code = "B2p3",
    .recordSource = "SELECT * FROM B2p3 ORDER BY SeqNum;",
    .columns =
        {
            {"", "", 600},
            {"", "Description", 2600},
            {"1", "Gross Assets Balance", 1200},
            {"2", "Capitalized Leases", 1200},
            {"3", "Gross Assets for Ratio", 1200},
            {"4", "Ratio", 1200},
            {"5", "Insurance", 1200},
            {"6", "Taxes", 1200},
            {"7", "Other Cap Related Costs", 1200},
            {"8", "Total(1)", 1200},
            {"9", "Depreciation", 1200},
            {"10", "Lease", 1200},
            {"11", "Interest", 1200},
            {"12", "Insurance", 1200},
            {"13", "Taxes", 1200},
            {"14", "Other Cap Related Costs", 1200},
            {"15", "Total(2)", 1200},
        },
    .print = Print_B2,
};

const ViewerDesign kViewC{
    .code = "C",
    .recordSource = "SELECT * FROM C ORDER BY LineNum;",
    .headLines = 2,
    .columns =
        {
            {"", "", 600},
            {"1", "Description", 2600},
            {"2", "Basis", 1200},
            {"3", "Amount", 1200},
            {"4", "Line #", 1200},
            {"5", "Cost Center", 1200},
        },
    .print = Print_C,
};

const ViewerDesign kViewDpA{
    .code = "DpA",
    .recordSource = "SELECT * FROM DpA;",
    .headLines = 2,
    .columns = {{"", "Question", 5000}, {"", "Answer", 800}},
    .rowHeight = 430,
    .currentColumn1 = true,
    .print = Print_D,
};

const ViewerDesign kViewDpB{
    .code = "DpB",
    .recordSource = "SELECT * FROM DpB ORDER BY SeqNum;",
    .columns =
        {
            {"", "", 600},
            {"1", "Line #", 600},
            {"2", "Expense Account", 4300},
            {"3", "Amount"},
            {"4", "Amount Allowable in Cost"},
            {"5", "Net Adjustment"},
        },
    .rowHeight = 230,
    .currentColumn1 = true,
    .print = Print_D,
};

const ViewerDesign kViewDpC{
    .code = "DpC",
    .recordSource = "SELECT * FROM DpC ORDER BY SeqNum;",
    .columns =
        {
            {"", "", 600},
            {"1", "Related Organization", 3800},
            {"2", "Type of Business", 6800},
            {"3", "Ownership or Control"},
            {"4", "Relationship"},
        },
    .rowHeight = 230,
    .currentColumn1 = true,
    .print = Print_D,
};

const ViewerDesign kViewI{
    .code = "I",
    .recordSource = "SELECT * FROM I ORDER BY SeqNum;",
    .columns = {{"", "Line #", 600}, {"", "Description", 3400}, {"1", ""}, {"2", ""}},
    .rowHeight = 230,
    .currentColumn1 = true,
    .print = Print_I,
};

const ViewerDesign kViewE = [] {
    ViewerDesign d = Chain("E", ComponentColumns(1000), CcHeadings::ListOrder, Print_E);
    d.ccBelow = ShapeOf("E").ccBelow;
    d.headingsOnLoad = true;
    d.total = ColHeading("10", "Total");
    return d;
}();
const ViewerDesign kViewFp1 = F("Fp1", false);
const ViewerDesign kViewFp2 = F("Fp2", true);

const ViewerDesign kViewE1 = [] {
    ViewerDesign d = Chain("E1", ComponentColumns(1000), CcHeadings::Row0, Print_E1);
    d.total = ColHeading("36", "Total");
    return d;
}();
const ViewerDesign kViewF1p1 = F1("F1p1", "36", false);
const ViewerDesign kViewF1p2 = F1("F1p2", "", true);

const ViewerDesign kViewGp1 = G("Gp1");
const ViewerDesign kViewGp2 = G("Gp2");
const ViewerDesign kViewH = [] {
    ViewerDesign d = Chain("H", HColumns(), CcHeadings::None, Print_H);
    d.keepTopLine = true;
    d.hasEditor = false;
    return d;
}();

}  // namespace vt::gui
