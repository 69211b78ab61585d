// The editors of the chain-component sheets (E, E-1, F Part II, F-1 Part II,
// G Parts I and II): one window over a design per worksheet. Each row is a
// chain component; the user types amounts or statistics into the value
// columns and nothing else. Row 0 and the total rows are never shown; the
// component columns stand frozen in a left pane while the value columns scroll
// in the right one, the line number and the row total in neither.
//
// E-1 and F-1 Part II let the user choose their cost-centre columns: Add
// Column puts the chosen cost centre's column in number order, Delete Column
// removes the one column selected in the right pane. Either closes the
// editor and the sheet's viewers, changes every table of the sheet in one
// transaction and opens the editor again at the same place.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editors/edit_form.h"

namespace vt::gui {

struct ChainColumn {
    std::string colNum{}, headText{};
    double width = -1;     // twips; below 0 the line number, shown nowhere
    bool editable = false;
};

struct ChainEditorDesign {
    std::string code{};
    std::string recordSource{};
    std::vector<ChainColumn> columns{};  // the first fields; the fields after them are value columns
    bool split = true;                   // the designed columns frozen in a left pane
    // The value columns after the designed ones: headed by the cost centres
    // below `ccBelow` in list order, or (ccBelow 0) by row 0.
    double ccBelow = 0;
    bool totalColumn = false;   // the last field is the row total, shown nowhere
    bool statistics = false;    // Double statistics, whole numbers after the check
    bool tabInGrid = false;     // Tab moves from cell to cell and on to the next row
    // The tables Add and Delete Column change (none: no column commands); the
    // sheet's viewers are closed first, in this order.
    std::vector<std::string> columnTables{};
    std::vector<std::string> viewers{};
};

// The cost-centre picker behind Add Column: the chosen cost centre for a new
// column of `sheet`, or nothing when the user chose none.
using CCChooser = std::function<std::optional<Currency>(const std::string& sheet)>;
void SetCCChooser(CCChooser chooser);

class ChainEditForm : public EditForm {
public:
    explicit ChainEditForm(const ChainEditorDesign& design);
    void FormSetup() override;
    // Bound and laid out, with the cursor on the first cell that takes a
    // figure: the window is ready for figures as it opens.
    void SetGrd() override;

protected:
    void FillHeadings() override;
    std::string RecordSource() const override { return d_.recordSource; }
    void LayoutGrid() override;
    void grd_BeforeColUpdate(grid::CellUpdate& u) override;
    void grd_RowColChange(int lastRow, int lastCol) override;
    void AddLine() override;
    void DeleteLine() override;
    void Form_Resize() override;

private:
    bool ColumnCommands() const { return !d_.columnTables.empty(); }
    bool IsValueColumn(int col) const;
    void grd_SelChange();
    void CheckStatisticCell(grid::CellUpdate& u);
    // Runs a change of the sheet's columns; `change` returns the grid column
    // to bring into view afterwards (-1: none).
    void RunColumnCommand(const std::string& failed, const std::function<int()>& change);
    const ChainEditorDesign& d_;
    int selColumn_ = -1;  // the grid column chosen for Delete Column
    bool selecting_ = false;
};

template <const ChainEditorDesign& Design>
class DesignedChainEditor : public ChainEditForm {
public:
    DesignedChainEditor() : ChainEditForm(Design) {}
};

extern const ChainEditorDesign kEditE, kEditFp2, kEditE1, kEditF1p2, kEditGp1, kEditGp2;

using frmEditE = DesignedChainEditor<kEditE>;
using frmEditFp2 = DesignedChainEditor<kEditFp2>;
using frmEditE1 = DesignedChainEditor<kEditE1>;
using frmEditF1p2 = DesignedChainEditor<kEditF1p2>;
using frmEditGp1 = DesignedChainEditor<kEditGp1>;
using frmEditGp2 = DesignedChainEditor<kEditGp2>;

}  // namespace vt::gui
