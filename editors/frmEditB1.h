// Worksheet B-1's editor: reclassifications, each moving an amount out of
// one expense cost centre (the decrease side) into another (the increase
// side). Lines are numbered 1 to 99, then 99.01 to 99.99, without gaps; line
// 100, the total, is the engine's and not shown. Add appends a line, Delete
// closes the gap it leaves.
#pragma once

#include "editors/edit_form.h"

namespace vt::gui {

class frmEditB1 : public EditForm {
    Q_OBJECT
public:
    frmEditB1() : EditForm("B1") {}
    void FormSetup() override;

protected:
    void FillHeadings() override;
    std::string RecordSource() const override { return "SELECT * FROM B1 Where SeqNum < 100 ORDER BY SeqNum;"; }
    void LayoutGrid() override;
    void grd_BeforeColUpdate(grid::CellUpdate& u) override;
    void grd_RowColChange(int lastRow, int lastCol) override;
    void AddLine() override;
    void DeleteLine() override;

private:
    // The cost-centre number of a side (column 4 or 7), with its name and
    // amount beside it.
    void CheckSideCell(grid::CellUpdate& u);
};

}  // namespace vt::gui
