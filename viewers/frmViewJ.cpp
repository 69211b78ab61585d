#include "viewers/frmViewJ.h"

#include "engine/general/j.h"
#include "platform/ui/twips_qt.h"
#include "shell/forms.h"
#include "shell/guard.h"
#include "shell/headings.h"
#include "shell/worksheet_windows.h"
#include "store/report.h"
#include "viewers/view_form.h"

namespace vt::gui {

using ui::Px;

namespace {
const char* const kRecordSource = "SELECT * FROM J ORDER BY LineNum;";
constexpr double kStripHeight = 600;
}  // namespace

frmViewJ::frmViewJ() : WorksheetWindow("frmViewJ") {
    SetCaption("VIEW: Worksheet J");
    grd = new grid::Grid(this);
    picButtons = new QWidget(this);
    picButtons->setObjectName("picButtons");
    auto button = [this](const char* name, const char* caption, double left) {
        QPushButton* b = Strip_Button(picButtons, name, caption, QRect(Px(left), Px(150), Px(1572), Px(300)));
        b->setAutoDefault(false);
        return b;
    };
    cmdCalc = button("cmdCalc", "&Recalculate", 240);
    cmdPrint = button("cmdPrint", "&Print", 2280);
    cmdOpenEdit = button("cmdOpenEdit", "&Open Edit", 4320);
    cmdClose = button("cmdClose", "&Close", 6360);
    setTabOrder(cmdOpenEdit, cmdCalc);
    setTabOrder(cmdCalc, cmdPrint);
    setTabOrder(cmdPrint, cmdClose);
    connect(cmdCalc, &QPushButton::clicked, this, &frmViewJ::cmdCalc_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmViewJ::cmdPrint_Click);
    connect(cmdOpenEdit, &QPushButton::clicked, this, &frmViewJ::cmdOpenEdit_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmViewJ::cmdClose_Click);
    resize(Px(8040), Px(4000));
}

// Binds J again and lays it out, bringing back the line that was at the top
// (by its whole line number).
void frmViewJ::FormSetup() {
    const long top = Top_Line(*grd, "LineNum");
    grd->Bind(Db(), kRecordSource);
    grd->SetHeadLines(4);
    struct Heading {
        int col;
        int colNum;
        std::string text;
        double width;
    };
    for (Heading h : {Heading{0, 0, " ", 600}, Heading{2, 0, "Assets", 4300},
                      Heading{3, 1, "Balance Sheet per Books", 1250}})
        grd->Columns(h.col).SetCaption(Wrap_Text(Value(h.colNum), h.text, h.width));
    grd->AddSplit();
    grd->Splits(1).SetRecordSelectors(false);
    grid::Split left = grd->Splits(0), right = grd->Splits(1);
    left.Columns(0).SetWidth(600);
    left.Columns(2).SetWidth(4300);
    left.Columns(3).SetVisible(false);
    right.Columns(0).SetVisible(false);
    right.Columns(2).SetVisible(false);
    right.Columns(3).SetWidth(1250);
    // CCNum is not shown anywhere.
    grd->Columns(1).SetVisible(false);
    for (int c = 0; c < grd->ColumnCount(); ++c) grd->Columns(c).SetLocked(true);
    if (top >= 0) Scroll_To_Line(*grd, "LineNum", Value(Currency::FromInt(top)), true);
}

// Totals J and shows it again with the exact line (a sub-line too) at the top.
void frmViewJ::cmdCalc_Click() {
    Run_Guarded([this] {
        Value saved;
        if (grd->FirstRow() >= 0) saved = grd->Data().FieldValue(grd->FirstRow(), "LineNum");
        Calc_J();
        FormSetup();
        if (IsNumeric(saved) && !saved.IsEmpty() && saved.ToCurrency() > Currency{})
            Scroll_To_Line(*grd, "LineNum", saved, false);
    });
}

void frmViewJ::cmdPrint_Click() {
    Run_Guarded([] {
        int fileNum = 0;
        Print_J(fileNum);
    });
}

void frmViewJ::cmdOpenEdit_Click() {
    Run_Guarded([] { Open_Worksheet_Form("edit", "J"); });
}

void frmViewJ::cmdClose_Click() { Unload_Form(this); }

// The grid above a strip of the four buttons; the strip follows the grid.
void frmViewJ::Form_Resize() {
    Resize_J_Form(this, grd, cmdCalc, cmdPrint, cmdOpenEdit, cmdClose);
    grd->resize(width(), grd->height());
    picButtons->setGeometry(0, grd->height(), width(), Px(kStripHeight));
}

}  // namespace vt::gui
