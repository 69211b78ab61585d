// Editors of a worksheet whose lines run 1, 2, ... up to one last whole line
// and then on in sub-lines of it (.01 to .99), contiguous from 1: an add
// opens a gap right after the current line (a sub-line from the last whole
// line on), a delete closes it. Add stops once the last sub-line is .99, so
// no line ever reaches the next whole number. A stored cell refreshes the
// worksheet's own viewer; an add or a delete, every open worksheet window.
#pragma once

#include "editors/edit_form.h"

namespace vt::gui {

class NumberedLinesForm : public EditForm {
    Q_OBJECT
public:
    void FormSetup() override;

protected:
    // `table` keyed by SeqNum; `lastWhole` the whole line whose sub-lines
    // follow; `insert` puts a new line (SeqNum bound to its "?").
    NumberedLinesForm(const std::string& code, std::string table, int lastWhole, std::string insert);

    void grd_RowColChange(int lastRow, int lastCol) override;
    void grd_AfterColUpdate(int col) override;
    void AddLine() override;
    void DeleteLine() override;

private:
    std::string table_;
    Currency lastWhole_;
    std::string insert_;
};

// Deletes `line` from `table` (keyed by SeqNum) and closes the gap: the whole
// lines after it up to `lastWhole` come down by one, then the sub-lines of
// `lastWhole` by .01, so that its .01 takes its number once it has moved down.
void Delete_Numbered_Line(const std::string& table, Currency lastWhole, const Value& line);

}  // namespace vt::gui
