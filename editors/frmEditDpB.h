// Worksheet D Part B's editor: the costs incurred from related organisations,
// one line per expense account named by its cost-centre number, with the
// amount incurred and the amount allowable in cost. Lines 1 to 99, then
// 99.01 to 99.99; the totals line 100 is the calculation's and not shown.
#pragma once

#include "editors/numbered_lines.h"

namespace vt::gui {

class frmEditDpB : public NumberedLinesForm {
    Q_OBJECT
public:
    frmEditDpB();

protected:
    void FillHeadings() override;
    std::string RecordSource() const override { return "SELECT * FROM DpB WHERE SeqNum < 100 ORDER BY SeqNum;"; }
    void LayoutGrid() override;
    void grd_BeforeColUpdate(grid::CellUpdate& u) override;
};

}  // namespace vt::gui
