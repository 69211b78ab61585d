#include "editors/frmEditDpC.h"

#include "shell/text.h"
#include "shell/worksheet_windows.h"

namespace vt::gui {

frmEditDpC::frmEditDpC() : NumberedLinesForm("DpC") {
    mnuRelationship = AddPopupMenu("mnuRelationship", {"Ownership", "Control"});
    grd->ButtonClick = [this](int) { PopupMenu(mnuRelationship); };
}

void frmEditDpC::FillHeadings() {
    ColHeadings = {
        {"", ""},
        {"1", "Related Organization"},
        {"2", "Type of Business"},
        {"3", "Ownership or Control"},
        {"4", "Relationship"},
    };
}

void frmEditDpC::LayoutGrid() {
    const double widths[] = {600, 3800, 3800, 1600, 6800};
    for (int c = 0; c < 5; ++c) grd->Columns(c).SetWidth(widths[c]);
    grd->Columns(0).SetLocked(true);
    grd->Columns(3).SetButton(true);
    FitColumnToText(*grd, 4);
}

void frmEditDpC::grd_BeforeColUpdate(grid::CellUpdate& u) {
    switch (u.column) {
    case 1:
        CheckTextCell(u, {36, "Related Organization",
                          "The Related Organization cannot be more than 36 characters in length",
                          "The Related Organization cannot contain double quote characters"});
        break;
    case 2:
        CheckTextCell(u, {36, "Type", "The Type cannot be more than 36 characters in length",
                          "The Type cannot contain double quote characters"});
        break;
    case 3: {
        const std::string text = u.newValue.IsNull() ? std::string() : u.newValue.ToText();
        u.newValue = Value(Upper(Left(text, 1)) == "O" ? "Ownership" : "Control");
        break;
    }
    case 4:
        CheckTextCell(u, {64, "Explanation", "The Explanation cannot be more than 64 characters in length",
                          "The Explanation cannot contain double quote characters"});
        break;
    default:
        break;
    }
}

}  // namespace vt::gui
