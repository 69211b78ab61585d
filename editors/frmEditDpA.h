// Worksheet D Part A's editor: the one question, whether the home office had
// costs from related organisations, answered Yes or No from a pick list or by
// typing (anything beginning with y is Yes, anything else No). Nothing else is
// refreshed when the answer is stored; D's viewer shows it when it next reads.
#pragma once

#include "editors/edit_form.h"

namespace vt::gui {

class frmEditDpA : public EditForm {
    Q_OBJECT
public:
    frmEditDpA();

    QMenu* mnuYesNo;

protected:
    void FillHeadings() override { ColHeadings = {{"", "Question"}, {"", "Answer"}}; }
    std::string RecordSource() const override { return "SELECT * FROM DpA;"; }
    void LayoutGrid() override;
    void grd_BeforeColUpdate(grid::CellUpdate& u) override;
    void grd_AfterColUpdate(int) override {}
};

}  // namespace vt::gui
