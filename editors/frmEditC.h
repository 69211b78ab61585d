// Worksheet C's editor: the Medicare adjustments, each with its basis, amount
// and the cost centre it adjusts. The fixed lines 1-21 come with the table;
// the user adds "Other" lines in two bands: sub-lines of line 13 (13.01 to
// 13.99) and lines after 21 (22 to 27, then 27.01 to 27.99). Inside a band the
// lines stay contiguous: Add opens a gap after the current line, Delete
// closes one. Line 15 (from worksheet D Part B) and the total 28 are the
// engine's and not shown.
#pragma once

#include <optional>

#include "editors/edit_form.h"
#include "engine/general/c.h"

namespace vt::gui {

class frmEditC : public EditForm {
    Q_OBJECT
public:
    frmEditC() : EditForm("C") {}

protected:
    void FillHeadings() override;
    std::string RecordSource() const override {
        return "SELECT * FROM C WHERE LineNum NOT IN(" + std::to_string(kCRelatedOrganizationsLine) + "," +
               std::to_string(kCTotalLine) + ") Order by LineNum;";
    }
    void LayoutGrid() override;
    void grd_BeforeColUpdate(grid::CellUpdate& u) override;
    bool CellLocked(int row, int col) const override;
    void grd_RowColChange(int lastRow, int lastCol) override;
    void AddLine() override;
    void DeleteLine() override;
};

}  // namespace vt::gui
