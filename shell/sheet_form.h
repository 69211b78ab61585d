// What the editor and viewer families have in common: a worksheet window of
// one code, its grid, a strip of bold buttons below the grid with the two
// arrow buttons at its ends, the arrows' tooltips naming the worksheet they
// open, and the column headings wrapped into the grid's heading lines (again
// whenever a column is resized).
#pragma once

#include <QPushButton>

#include <string>
#include <vector>

#include "shell/headings.h"
#include "shell/worksheet_window.h"

namespace vt::gui {

class SheetForm : public WorksheetWindow {
    Q_OBJECT
public:
    // Fills the headings and sets the window up.
    void Form_Load() override;
    const std::string& Code() const { return code_; }
    const std::vector<ColHeading>& Headings() const { return ColHeadings; }

    QPushButton* cmdPrevious = nullptr;
    QPushButton* cmdNext = nullptr;

protected:
    // formPrefix: "frmEdit" or "frmView".
    SheetForm(const std::string& formPrefix, const std::string& code);

    // What a member has of its own.
    virtual void FillHeadings() = 0;  // one ColHeadings entry per field of the record source
    virtual std::string RecordSource() const = 0;
    // Widths, locks, visibility, splits, formats and HeadLines of the freshly bound grid.
    virtual void LayoutGrid() = 0;
    virtual bool HasPrevious() const { return true; }  // the first worksheet has none
    // The cost-centre list stands outside the worksheets' order: no arrows.
    virtual bool HasNeighbours() const { return true; }
    // What the caption names after "Edit Worksheet " / "View Worksheet ":
    // the code, but "Cost Centers" for the cost-centre list.
    virtual std::string SheetTitle() const { return code_; }

    // A captioned button of the strip, `width` twips wide; and an arrow button.
    QPushButton* StripButton(const char* name, const char* caption, double width, int tabIndex);
    QPushButton* ArrowButton(const char* name, bool next, int tabIndex);

    // The tooltip "Open <name> For <mode>" of an arrow; disabled (and never
    // enabled again here) when there is no worksheet that way.
    void SetUpNavigation(QPushButton* button, bool previous);
    // Both arrows so.
    void SetUpArrows();
    void OpenAdjacent(bool previous);

    // Captions of every column from ColHeadings (their column numbers trimmed in place).
    void CaptionColumns();
    void grd_ColResize(int col, bool& cancel);

    // One entry per grid column, by column index; the member fills it on load.
    std::vector<ColHeading> ColHeadings;

private:
    std::string code_;
};

// A captioned button of a window's button strip, in bold.
QPushButton* MakeStripButton(QWidget* strip, const char* name, const char* caption, const QRect& place);

}  // namespace vt::gui
