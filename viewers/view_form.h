// The viewer family: a read-only grid of one worksheet table with headings
// in the printed form's layout, and six buttons: previous worksheet,
// ReCalculate (the whole report), Print (this worksheet), Open Edit, Close,
// next worksheet. A member gives its code, record source, headings, column
// layout and print; everything else is here.
#pragma once

#include <QPushButton>

#include <string>

#include "shell/sheet_form.h"

namespace vt::gui {

class ViewForm : public SheetForm {
    Q_OBJECT
public:
    void FormSetup() override;
    void SetGrd() override;

    QPushButton* cmdRecalculate;
    QPushButton* cmdPrint;
    QPushButton* cmdOpenEdit;
    QPushButton* cmdClose;

public slots:
    void cmdNext_Click();
    void cmdPrevious_Click();
    void cmdRecalculate_Click();
    void cmdPrint_Click();
    void cmdOpenEdit_Click();
    void cmdClose_Click();

protected:
    explicit ViewForm(const std::string& code);

    // What a member has of its own beside its headings, record source and layout.
    virtual void PrintWorksheet() = 0;
    // Three worksheets have no editor.
    virtual bool HasEditor() const { return true; }
    // Headings that follow the report's data (cost-centre names, row 0), set
    // into ColHeadings; LayoutGrid's own work, and SetGrd's when the rows are
    // only read again.
    virtual void HeadColumns() {}

    void Form_Resize() override;
};

// The grid's top visible row is kept across a rebind by its key: TopLine
// reads the key of that row rounded to a whole number (halves to even), -1
// when there is no row or the grid was never bound; ScrollToLine makes the
// first (or last) row with that key the top visible one, when there is one.
long TopLine(grid::Grid& grd, const std::string& key);
void ScrollToLine(grid::Grid& grd, const std::string& key, const Value& line, bool last);

}  // namespace vt::gui
