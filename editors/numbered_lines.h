// Editors of a worksheet whose lines run 1, 2, ... up to one last whole line
// and then on in sub-lines of it (AddNumberedLine and DeleteNumberedLine
// of the report core): an add opens a gap right after the current line, a
// delete closes it. A stored cell refreshes the worksheet's own viewer; an
// add or a delete, every open worksheet window.
#pragma once

#include "editors/edit_form.h"

namespace vt::gui {

class NumberedLinesForm : public EditForm {
    Q_OBJECT
public:
    void FormSetup() override;

protected:
    // The worksheet's code names its table and its numbering.
    explicit NumberedLinesForm(const std::string& code);

    void grd_RowColChange(int lastRow, int lastCol) override;
    void grd_AfterColUpdate(int col) override;
    void AddLine() override;
    void DeleteLine() override;
};

}  // namespace vt::gui
