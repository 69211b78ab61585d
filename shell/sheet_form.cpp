#include "shell/sheet_form.h"

#include <QStyle>

#include "platform/ui/twips_qt.h"
#include "shell/guard.h"
#include "shell/text.h"
#include "shell/worksheet_windows.h"
#include "store/services.h"

namespace vt::gui {

using ui::Px;

SheetForm::SheetForm(const std::string& formPrefix, const std::string& code)
    : WorksheetWindow(formPrefix + code), code_(code) {
    grd = new grid::Grid(this);
    grd->ColResize = [this](int col, bool& cancel) { grd_ColResize(col, cancel); };
    picButtons = new QWidget(this);
    picButtons->setObjectName("picButtons");
    picButtons->resize(Px(8040), Px(495));
    resize(Px(8040), Px(4000));
}

void SheetForm::Form_Load() {
    ColHeadings.clear();
    FillHeadings();
    FormSetup();
}

QPushButton* MakeStripButton(QWidget* strip, const char* name, const char* caption, const QRect& place) {
    auto* b = new QPushButton(caption, strip);
    b->setObjectName(name);
    b->setGeometry(place);
    QFont bold = b->font();
    bold.setBold(true);
    b->setFont(bold);
    return b;
}

QPushButton* SheetForm::StripButton(const char* name, const char* caption, double width, int tabIndex) {
    QPushButton* b = MakeStripButton(picButtons, name, caption, QRect(0, Px(60), Px(width), Px(375)));
    b->setProperty("TabIndex", tabIndex);
    return b;
}

QPushButton* SheetForm::ArrowButton(const char* name, bool next, int tabIndex) {
    QPushButton* b = StripButton(name, "", 615, tabIndex);
    b->setIcon(style()->standardIcon(next ? QStyle::SP_ArrowRight : QStyle::SP_ArrowLeft));
    return b;
}

void SheetForm::SetUpNavigation(QPushButton* button, bool previous) {
    const std::string caption = Caption();
    const std::string code = Open_Adjacent_Worksheet(caption, previous, false);
    if (code.empty()) {
        button->setToolTip("");
        button->setEnabled(false);
        return;
    }
    button->setToolTip(Q("Open " + Get_Worksheet_Name(code) + " For " + Left(caption, 4)));
}

void SheetForm::SetUpArrows() {
    if (!HasNeighbours()) {
        for (QPushButton* b : {cmdPrevious, cmdNext}) {
            b->setToolTip("");
            b->setEnabled(false);
        }
        return;
    }
    SetUpNavigation(cmdNext, false);
    if (HasPrevious()) SetUpNavigation(cmdPrevious, true);
    else cmdPrevious->setEnabled(false);
}

void SheetForm::OpenAdjacent(bool previous) {
    RunGuarded([this, previous] { Open_Adjacent_Worksheet(Caption(), previous, true); });
}

void SheetForm::CaptionColumns() {
    for (int i = 0; i < grd->ColumnCount() && i < static_cast<int>(ColHeadings.size()); ++i) {
        ColHeading& h = ColHeadings[static_cast<size_t>(i)];
        h.ColNum = Trim(h.ColNum);
        Set_Column_Caption(*grd, i, h.ColNum, h.HeadText);
    }
    FitHeadingHeight(*grd);
}

void SheetForm::grd_ColResize(int col, bool&) {
    if (col < 0 || col >= static_cast<int>(ColHeadings.size())) return;
    ColHeading& h = ColHeadings[static_cast<size_t>(col)];
    Set_Column_Caption(*grd, col, Trim(h.ColNum), h.HeadText);
    FitHeadingHeight(*grd);
}

}  // namespace vt::gui
