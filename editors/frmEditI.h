// Worksheet I's editor: revenue and expenses. The amounts of the revenue and
// other-income lines are typed here; the user may add "Other income" lines
// after 4.08 and "Other expense" lines after 6 (sub-lines of their whole line,
// .01 apart), rename them and delete them again. Add and Delete act on the
// selected row (one row; with none or several, Add appends after the last
// line). A band is full at .99: Add there is refused, since the next number
// is a total line. The total lines are the calculation's and not shown.
#pragma once

#include "editors/edit_form.h"

namespace vt::gui {

class frmEditI : public EditForm {
    Q_OBJECT
public:
    frmEditI();
    void FormSetup() override;

protected:
    void FillHeadings() override { ColHeadings = {{"", "Line #"}, {"", "Description"}, {"1", ""}}; }
    std::string RecordSource() const override {
        return "SELECT SeqNum,Description,Col_1 FROM I WHERE SeqNum NOT IN (2,3,5,7,8) ORDER BY SeqNum;";
    }
    void LayoutGrid() override;
    bool CellLocked(int row, int col) const override;
    void grd_BeforeColUpdate(grid::CellUpdate& u) override;
    void grd_AfterColUpdate(int col) override;
    void AddLine() override;
    void DeleteLine() override;

private:
    void grd_SelChange();
    // The one selected row, or -1.
    int SelectedRow() const;
};

}  // namespace vt::gui
