// Worksheet B read-only: the trial balance of expenses, reclassifications,
// adjustments and allocations.
#pragma once

#include "viewers/view_form.h"

namespace vt::gui {

class frmViewB : public ViewForm {
    Q_OBJECT
public:
    frmViewB() : ViewForm("B") {}

protected:
    void FillHeadings() override;
    std::string RecordSource() const override { return "SELECT * FROM B ORDER BY LineNum;"; }
    void LayoutGrid() override;
    void PrintWorksheet() override;
};

}  // namespace vt::gui
