#include "shell/frmHeaderLines.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

#include "platform/ui/twips_qt.h"
#include "report/header_lines.h"
#include "shell/forms.h"
#include "shell/guard.h"
#include "shell/worksheet_windows.h"
#include "store/report.h"
#include "store/services.h"

namespace vt::gui {
namespace {

constexpr int kLineNumCol = 0;
constexpr int kLineCol = 1;

}  // namespace

frmHeaderLines::frmHeaderLines() : WorksheetWindow("frmHeaderLines") {
    grd = grdHeaderLines = new grid::Grid(this);
    grdHeaderLines->setObjectName("grdHeaderLines");
    grdHeaderLines->Data().BeforeColUpdate = [this](grid::CellUpdate& u) { grdHeaderLines_BeforeColUpdate(u); };
    lblHeaderLines = new QLabel(
        "The three lines of text entered above will appear at the top of all reports.  Each line may be up to 60 "
        "characters in length.",
        this);
    lblHeaderLines->setObjectName("lblHeaderLines");
    lblHeaderLines->setWordWrap(true);
    picButtons = new QWidget(this);
    picButtons->setObjectName("picButtons");
    cmdClose = new QPushButton("Close", picButtons);
    cmdClose->setObjectName("cmdClose");
    auto* bar = new QHBoxLayout(picButtons);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->addWidget(cmdClose);
    connect(cmdClose, &QPushButton::clicked, this, &frmHeaderLines::cmdClose_Click);

    auto* box = new QVBoxLayout(this);
    box->addWidget(grdHeaderLines, 1);
    box->addWidget(lblHeaderLines);
    box->addWidget(picButtons);
    resize(ui::Px(7600), ui::Px(2900));
}

void frmHeaderLines::Form_Load() { FormSetup(); }

void frmHeaderLines::FormSetup() {
    SetCaption("Header Lines");
    SetGrd();
}

void frmHeaderLines::SetGrd() {
    grdHeaderLines->Bind(Db(), "SELECT * FROM HeaderLines ORDER BY LineNum;");
    grdHeaderLines->Columns(kLineNumCol).SetWidth(600).SetCaption(" ").SetLocked(true);
    grdHeaderLines->Columns(kLineCol).SetWidth(6000).SetCaption(" ");
    grdHeaderLines->SetCol(kLineCol);
}

// The line is stored (and taken into the open report) by SaveHeaderLine,
// which also refuses a line that is too long; the grid then only reads the
// row back, so the table is written once.
void frmHeaderLines::grdHeaderLines_BeforeColUpdate(grid::CellUpdate& u) {
    u.cancel = true;
    if (u.column != kLineCol) return;
    const int lineNum = static_cast<int>(Nz_Num(grdHeaderLines->Data().FieldValue(u.row, kLineNumCol)).ToLong());
    const std::string text = Nz_Str(u.newValue).ToText();
    RunGuarded([&] { SaveHeaderLine(lineNum, text); });
}

void frmHeaderLines::cmdClose_Click() { UnloadForm(this); }

void ShowHeaderLines() {
    QWidget* w = nullptr;
    if (!Is_Form_Loaded("frmHeaderLines", &w)) {
        auto* form = new frmHeaderLines();
        form->Form_Load();
        w = form;
    }
    ShowOnWorkingArea(w);
    w->raise();
    w->activateWindow();
}

}  // namespace vt::gui
