// Worksheet B's editor: the expenses per the home office's books, one line
// per expense cost centre. The lines follow the cost-centre list (its editor
// adds and removes them), so there is no Add or Delete here.
#pragma once

#include "editors/edit_form.h"
#include "engine/general/b.h"

namespace vt::gui {

class frmEditB : public EditForm {
    Q_OBJECT
public:
    frmEditB() : EditForm("B") {}

protected:
    void FillHeadings() override;
    std::string RecordSource() const override {
        return "SELECT LineNum,CCName,Expenses FROM B WHERE LineNum NOT IN(" + BTotalLineList() +
               ") ORDER BY LineNum;";
    }
    void LayoutGrid() override;
    void grd_BeforeColUpdate(grid::CellUpdate& u) override { CheckAmountCell(u); }
};

}  // namespace vt::gui
