// The viewer family: a read-only grid of one worksheet table with headings
// in the printed form's layout, and six buttons: previous worksheet,
// ReCalculate (the whole report), Print (this worksheet), Open Edit, Close,
// next worksheet. A member gives its code, record source, headings, column
// layout and print; everything else is here.
#pragma once

#include <QPushButton>

#include <string>
#include <vector>

#include "shell/headings.h"
#include "shell/worksheet_window.h"

namespace vt::gui {

class ViewForm : public WorksheetWindow {
    Q_OBJECT
public:
    void Form_Load() override;
    void FormSetup() override;
    void SetGrd() override;

    const std::string& Code() const { return code_; }
    const std::vector<ColHeading>& Headings() const { return ColHeadings; }

    QPushButton* cmdPrevious;
    QPushButton* cmdRecalculate;
    QPushButton* cmdPrint;
    QPushButton* cmdOpenEdit;
    QPushButton* cmdClose;
    QPushButton* cmdNext;

public slots:
    void cmdNext_Click();
    void cmdPrevious_Click();
    void cmdRecalculate_Click();
    void cmdPrint_Click();
    void cmdOpenEdit_Click();
    void cmdClose_Click();

protected:
    explicit ViewForm(const std::string& code);

    // What a member has of its own.
    virtual void FillHeadings() = 0;  // one ColHeadings entry per field of the record source
    virtual std::string RecordSource() const = 0;
    // Widths, visibility, splits, formats and HeadLines of the freshly bound grid.
    virtual void LayoutGrid() = 0;
    virtual void PrintWorksheet() = 0;
    // The first worksheet has no previous one; three worksheets have no editor.
    virtual bool HasPrevious() const { return true; }
    virtual bool HasEditor() const { return true; }

    void Form_Resize() override;
    void grd_ColResize(int col, bool& cancel);

    std::vector<ColHeading> ColHeadings;

private:
    void SetUpNavigation(QPushButton* button, bool previous);
    std::string code_;
};

// A captioned button of a window's button strip, in bold.
QPushButton* Strip_Button(QWidget* strip, const char* name, const char* caption, const QRect& place);

// The grid's top visible row is kept across a rebind by its key: Top_Line
// reads the key of that row rounded to a whole number (halves to even), -1
// when there is no row or the grid was never bound; Scroll_To_Line makes the
// first (or last) row with that key the top visible one, when there is one.
long Top_Line(grid::Grid& grd, const std::string& key);
void Scroll_To_Line(grid::Grid& grd, const std::string& key, const Value& line, bool last);

}  // namespace vt::gui
