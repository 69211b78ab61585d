// The members of the viewer family that differ from one another only in data:
// a design per worksheet (record source, headings, widths, panes, formats,
// row height, how the cost-centre columns are headed, print procedure) over
// one window. The designs are in sheet_viewers.cpp; each viewer's type is a
// name for its design, so that the loader can make it like any window.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "viewers/view_form.h"

namespace vt::gui {

// Where a column shows: in the one pane, or in the frozen left pane of a
// two-pane grid (Left); in the scrolling right pane (Right); nowhere.
enum class Pane { Left, Right, Hidden };

struct ViewerColumn {
    std::string colNum{}, headText{};
    double width = -1;  // twips; below 0 the grid's default
    Pane pane = Pane::Left;
    std::string numberFormat{};
    int alignment = grid::kAlignGeneral;
    bool fitText = false;  // at least as wide as the widest text it shows, in the font in use
};

// How the value columns after the designed ones are headed.
enum class CcHeadings {
    None,       // the design heads every column
    ListOrder,  // the k-th cost centre of the range heads the k-th value column (E, F)
    Row0,       // the cost centre in the column's row-0 cell, looked up in the list (E-1, F-1)
    G,          // row 0 with worksheet G's column numbers, "<Bad CC #>" for one not in the list
};

struct ViewerDesign {
    std::string code{};
    std::string recordSource{};
    int headLines = 4;
    std::vector<ViewerColumn> columns{};  // fields 0, 1, ... as far as the design names them
    ViewerColumn rest{};                  // every field after those
    bool split = false;                 // a frozen left pane
    double rowHeight = 0;               // 0: the grid's own
    bool currentColumn1 = false;
    CcHeadings ccHeadings = CcHeadings::None;
    int ccBelow = 0;                     // ListOrder: the cost centres below this number
    bool headingsOnLoad = false;         // ListOrder: the list is read once, when the window loads
    std::optional<ColHeading> total{};   // the last column's heading, whatever the others
    bool keepTopLine = false;            // the same SeqNum comes back at the top on each rebind
    // Every shown column at least as wide as its values and its heading's
    // longest word, in the fonts in use.
    bool fitColumns = false;
    bool hasPrevious = true;
    bool hasEditor = true;
    void (*print)(int& fileNum) = nullptr;
};

class SheetViewer : public ViewForm {
public:
    explicit SheetViewer(const ViewerDesign& design);
    void SetGrd() override;

protected:
    void FillHeadings() override;
    std::string RecordSource() const override { return d_.recordSource; }
    void LayoutGrid() override;
    void HeadColumns() override;
    void PrintWorksheet() override;
    bool HasPrevious() const override { return d_.hasPrevious; }
    bool HasEditor() const override { return d_.hasEditor; }

private:
    void LayOutColumn(int col, const ViewerColumn& c);
    void HeadByListOrder();
    void HeadByRow0();
    void HeadG();
    const ViewerDesign& d_;
    bool listRead_ = false;
};

template <const ViewerDesign& Design>
class DesignedViewer : public SheetViewer {
public:
    DesignedViewer() : SheetViewer(Design) {}
};

extern const ViewerDesign kViewAp1, kViewAp3, kViewAp4, kViewAp5, kViewB1, kViewB2p1, kViewB2p2, kViewB2p3,
    kViewC, kViewDpA, kViewDpB, kViewDpC, kViewI, kViewE, kViewFp1, kViewFp2, kViewE1, kViewF1p1, kViewF1p2,
    kViewGp1, kViewGp2, kViewH;

using frmViewAp1 = DesignedViewer<kViewAp1>;
using frmViewAp3 = DesignedViewer<kViewAp3>;
using frmViewAp4 = DesignedViewer<kViewAp4>;
using frmViewAp5 = DesignedViewer<kViewAp5>;
using frmViewB1 = DesignedViewer<kViewB1>;
using frmViewB2p1 = DesignedViewer<kViewB2p1>;
using frmViewB2p2 = DesignedViewer<kViewB2p2>;
using frmViewB2p3 = DesignedViewer<kViewB2p3>;
using frmViewC = DesignedViewer<kViewC>;
using frmViewDpA = DesignedViewer<kViewDpA>;
using frmViewDpB = DesignedViewer<kViewDpB>;
using frmViewDpC = DesignedViewer<kViewDpC>;
using frmViewI = DesignedViewer<kViewI>;
using frmViewE = DesignedViewer<kViewE>;
using frmViewFp1 = DesignedViewer<kViewFp1>;
using frmViewFp2 = DesignedViewer<kViewFp2>;
using frmViewE1 = DesignedViewer<kViewE1>;
using frmViewF1p1 = DesignedViewer<kViewF1p1>;
using frmViewF1p2 = DesignedViewer<kViewF1p2>;
using frmViewGp1 = DesignedViewer<kViewGp1>;
using frmViewGp2 = DesignedViewer<kViewGp2>;
using frmViewH = DesignedViewer<kViewH>;

}  // namespace vt::gui
