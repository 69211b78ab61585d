// The cost-centre editor: the one place where cost centres are added (through
// the new cost-centre dialog), restored, renamed, labelled and deleted. Each
// change is one operation of report/cost_centres, carried into every
// worksheet; this window closes the windows of the sheets whose columns
// change before the change, sets up the B and J windows afresh after it and
// has every other open worksheet window read its rows again.
#pragma once

#include "editors/edit_form.h"
#include "report/cost_centres.h"

namespace vt::gui {

class frmEditCCs : public EditForm {
    Q_OBJECT
public:
    frmEditCCs() : EditForm("CCs") {}
    void FormSetup() override;

protected:
    void FillHeadings() override;
    std::string RecordSource() const override { return "Select * from CostCenters order by CCNum;"; }
    void LayoutGrid() override;
    bool HasNeighbours() const override { return false; }
    std::string SheetTitle() const override { return "Cost Centers"; }

    bool CellLocked(int row, int col) const override;
    void grd_RowColChange(int lastRow, int lastCol) override;
    void grd_BeforeColUpdate(grid::CellUpdate& u) override;
    void grd_AfterColUpdate(int col) override;
    void AddLine() override;
    void DeleteLine() override;

private:
    Currency Number(int row) const;
    // Closes the windows the change of n concerns, then runs it (op) and
    // lands the cursor; nothing changes when a window will not close.
    void ChangeList(Currency n, CcChange (*op)(Currency), const Landing& landing);
    // What the last change asks of the other windows, done after it.
    CcWindows pending_;
};

}  // namespace vt::gui
