#include "viewers/view_form.h"

#include <QApplication>
#include <QStyle>

#include "platform/ui/twips_qt.h"
#include "shell/calculation.h"
#include "shell/forms.h"
#include "shell/guard.h"
#include "shell/text.h"
#include "shell/worksheet_windows.h"
#include "store/report.h"
#include "store/services.h"

namespace vt::gui {

using ui::Px;

ViewForm::ViewForm(const std::string& code) : WorksheetWindow("frmView" + code), code_(code) {
    grd = new grid::Grid(this);
    grd->ColResize = [this](int col, bool& cancel) { grd_ColResize(col, cancel); };

    picButtons = new QWidget(this);
    picButtons->setObjectName("picButtons");
    picButtons->resize(Px(8040), Px(495));
    auto button = [this](const char* name, const char* caption, double width, int tabIndex) {
        QPushButton* b = Strip_Button(picButtons, name, caption, QRect(0, Px(60), Px(width), Px(375)));
        b->setProperty("TabIndex", tabIndex);
        return b;
    };
    cmdPrevious = button("cmdPrevious", "", 615, 2);
    cmdPrevious->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    cmdRecalculate = button("cmdRecalculate", "&ReCalculate", 1335, 3);
    cmdPrint = button("cmdPrint", "&Print", 1335, 4);
    cmdOpenEdit = button("cmdOpenEdit", "&Open Edit", 1335, 5);
    cmdClose = button("cmdClose", "&Close", 1335, 6);
    cmdClose->setDefault(true);
    cmdNext = button("cmdNext", "", 615, 7);
    cmdNext->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    setTabOrder(cmdPrevious, cmdRecalculate);
    setTabOrder(cmdRecalculate, cmdPrint);
    setTabOrder(cmdPrint, cmdOpenEdit);
    setTabOrder(cmdOpenEdit, cmdClose);
    setTabOrder(cmdClose, cmdNext);

    connect(cmdNext, &QPushButton::clicked, this, &ViewForm::cmdNext_Click);
    connect(cmdPrevious, &QPushButton::clicked, this, &ViewForm::cmdPrevious_Click);
    connect(cmdRecalculate, &QPushButton::clicked, this, &ViewForm::cmdRecalculate_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &ViewForm::cmdPrint_Click);
    connect(cmdOpenEdit, &QPushButton::clicked, this, &ViewForm::cmdOpenEdit_Click);
    connect(cmdClose, &QPushButton::clicked, this, &ViewForm::cmdClose_Click);
    resize(Px(8040), Px(4000));
}

void ViewForm::Form_Load() {
    ColHeadings.clear();
    FillHeadings();
    FormSetup();
}

void ViewForm::FormSetup() {
    SetCaption("View Worksheet " + code_);
    SetGrd();
    SetUpNavigation(cmdNext, false);
    if (HasPrevious()) SetUpNavigation(cmdPrevious, true);
    else cmdPrevious->setEnabled(false);
    if (!HasEditor()) cmdOpenEdit->setEnabled(false);
}

// The tooltip names the worksheet the button opens; a button with none to
// open is disabled (and never enabled again here).
void ViewForm::SetUpNavigation(QPushButton* button, bool previous) {
    const std::string caption = Caption();
    const std::string code = Open_Adjacent_Worksheet(caption, previous, false);
    if (code.empty()) {
        button->setToolTip("");
        button->setEnabled(false);
        return;
    }
    button->setToolTip(Q("Open " + Get_Worksheet_Name(code) + " For " + Left(caption, 4)));
}

void ViewForm::SetGrd() {
    grd->Bind(Db(), RecordSource());
    LayoutGrid();
    for (int i = 0; i < grd->ColumnCount(); ++i) {
        grd->Columns(i).SetLocked(true).SetWrapText(true);
        if (i >= static_cast<int>(ColHeadings.size())) continue;
        ColHeading& h = ColHeadings[static_cast<size_t>(i)];
        h.ColNum = Trim(h.ColNum);
        Set_Column_Caption(*grd, i, h.ColNum, h.HeadText);
    }
}

void ViewForm::Form_Resize() {
    Resize_View_Form(this, grd, picButtons, cmdRecalculate, cmdPrint, cmdOpenEdit, cmdClose, cmdPrevious, cmdNext);
}

void ViewForm::grd_ColResize(int col, bool&) {
    if (col < 0 || col >= static_cast<int>(ColHeadings.size())) return;
    ColHeading& h = ColHeadings[static_cast<size_t>(col)];
    Set_Column_Caption(*grd, col, Trim(h.ColNum), h.HeadText);
}

void ViewForm::cmdNext_Click() {
    Run_Guarded([this] { Open_Adjacent_Worksheet(Caption(), false, true); });
}

void ViewForm::cmdPrevious_Click() {
    Run_Guarded([this] { Open_Adjacent_Worksheet(Caption(), true, true); });
}

void ViewForm::cmdOpenEdit_Click() {
    BusyFrame busy(this);
    Run_Guarded([this] { Open_Worksheet_Form("edit", code_); });
}

void ViewForm::cmdPrint_Click() {
    BusyFrame busy(this);
    Run_Guarded([this] { PrintWorksheet(); });
}

void ViewForm::cmdRecalculate_Click() {
    BusyFrame busy(this);
    Run_Guarded([] { Run_Calculation(); });
}

void ViewForm::cmdClose_Click() { Unload_Form(this); }

QPushButton* Strip_Button(QWidget* strip, const char* name, const char* caption, const QRect& place) {
    auto* b = new QPushButton(caption, strip);
    b->setObjectName(name);
    b->setGeometry(place);
    QFont bold = b->font();
    bold.setBold(true);
    b->setFont(bold);
    return b;
}

long Top_Line(grid::Grid& grd, const std::string& key) {
    if (!grd.Data().IsBound()) return -1;
    const int top = grd.FirstRow();
    if (top < 0) return -1;
    const Value v = grd.Data().FieldValue(top, key);
    if (!IsNumeric(v) || v.IsEmpty()) return -1;
    return static_cast<long>(v.ToLong());
}

void Scroll_To_Line(grid::Grid& grd, const std::string& key, const Value& line, bool last) {
    const bool found = last ? grd.FindLast(key, db::FindOp::Eq, line) : grd.FindFirst(key, db::FindOp::Eq, line);
    if (found) grd.SetFirstRow(grd.Row());
}

}  // namespace vt::gui
