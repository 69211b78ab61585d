// Worksheet D Part C's editor: the related organisations, each with its type
// of business, whether the relationship is one of ownership or of control
// (picked, or typed: anything beginning with o is Ownership, anything else
// Control) and its explanation. Lines 1 to 8, then 8.01 to 8.99. The line
// numbers are the renumbering's alone and cannot be typed.
#pragma once

#include "editors/numbered_lines.h"

namespace vt::gui {

class frmEditDpC : public NumberedLinesForm {
    Q_OBJECT
public:
    frmEditDpC();

    QMenu* mnuRelationship;

protected:
    void FillHeadings() override;
    std::string RecordSource() const override { return "SELECT * FROM DpC ORDER BY SeqNum;"; }
    void LayoutGrid() override;
    void grd_BeforeColUpdate(grid::CellUpdate& u) override;
};

}  // namespace vt::gui
