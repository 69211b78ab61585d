#include "shell/frmViewError.h"

#include <QPushButton>

#include <algorithm>
#include <cmath>

#include "platform/ui/twips_qt.h"
#include "report/edit_checks.h"
#include "shell/forms.h"
#include "shell/guard.h"
#include "shell/worksheet_windows.h"
#include "store/report.h"
#include "store/services.h"

namespace vt::gui {
namespace {

using ui::Px;
using ui::Twips;

constexpr double kButtonBarHeight = 495;
constexpr double kMinMessageWidth = 2700;
constexpr double kTwipsPerChar = 90;

// Whole numbers as the form's arithmetic rounds them: a half to the even one.
int RoundHalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace

frmViewError::frmViewError() : WorksheetWindow("frmViewError") {
    SetCaption("Edit Check Results");
    grd = grdError = new grid::Grid(this);
    grdError->setObjectName("grdError");
    baseRowHeight_ = grdError->RowHeight();
    picButtons = new QWidget(this);
    picButtons->setObjectName("picButtons");
    cmdPrint = new QPushButton("&Print", picButtons);
    cmdPrint->setObjectName("cmdPrint");
    cmdClose = new QPushButton("&Close", picButtons);
    cmdClose->setObjectName("cmdClose");
    cmdClose->setDefault(true);
    connect(cmdPrint, &QPushButton::clicked, this, &frmViewError::cmdPrint_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmViewError::cmdClose_Click);
    resize(Px(9600), Px(5400));
}

void frmViewError::Form_Load() {
    longestMessage_ =
        static_cast<int>(Nz_Num(Db().Scalar("SELECT MAX(LENGTH(Message)) AS Mx FROM Error;")).ToLong());
    grdError->Bind(Db(), "SELECT * FROM Error;");
    grdError->Splits(0).SetRecordSelectors(false);
    grdError->Columns(0).SetWidth(1400).SetLocked(true).SetCaption("Level");
    grdError->Columns(1).SetWrapText(true).SetLocked(true).SetCaption("Message");
    Form_Resize();
}

void frmViewError::Form_Resize() {
    if (isMinimized()) return;
    const double width = Twips(this->width()), height = Twips(this->height());
    picButtons->setGeometry(0, Px(height - kButtonBarHeight), Px(width), Px(kButtonBarHeight));
    grdError->setGeometry(0, 0, Px(width), Px(std::max(0.0, height - kButtonBarHeight - 160)));

    if (grdError->ColumnCount() > 1) {
        const double left = grdError->Columns(0).Width();
        const double messageWidth = std::max(kMinMessageWidth, width - left - 265);
        grdError->Columns(1).SetWidth(messageWidth);
        charsPerLine_ = RoundHalfEven(messageWidth / kTwipsPerChar);
        linesPerRow_ = std::max(2, RoundHalfEven(static_cast<double>(longestMessage_) / charsPerLine_ + 1));
        grdError->SetRowHeight(baseRowHeight_ * linesPerRow_);
    }

    const double buttonWidth = std::max(0.0, (width - 1500) / 2);
    cmdPrint->setGeometry(Px(500), Px(60), Px(buttonWidth), Px(375));
    cmdClose->setGeometry(Px(buttonWidth + 1000), Px(60), Px(buttonWidth), Px(375));
}

void frmViewError::cmdPrint_Click() {
    BusyFrame busy(this);
    RunGuarded([] { PrintEditChecks(); });
}

void frmViewError::cmdClose_Click() { UnloadForm(this); }

void ShowEditCheckViewer() {
    QWidget* w = nullptr;
    frmViewError* form = nullptr;
    if (Is_Form_Loaded("frmViewError", &w)) form = dynamic_cast<frmViewError*>(w);
    if (!form) form = new frmViewError();
    form->Form_Load();
    ShowOnWorkingArea(form);
    form->raise();
    form->activateWindow();
}

}  // namespace vt::gui
