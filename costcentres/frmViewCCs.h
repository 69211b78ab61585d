// The cost-centre list read-only, with the way into its editor; no stepping
// to other worksheets, no print and nothing to calculate.
#pragma once

#include "viewers/view_form.h"

namespace vt::gui {

class frmViewCCs : public ViewForm {
    Q_OBJECT
public:
    frmViewCCs() : ViewForm("CCs") {}
    void FormSetup() override;

protected:
    void FillHeadings() override;
    std::string RecordSource() const override { return "Select * from CostCenters order by CCNum;"; }
    void LayoutGrid() override;
    bool HasNeighbours() const override { return false; }
    void PrintWorksheet() override {}
};

}  // namespace vt::gui
