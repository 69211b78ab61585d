#include "shell/frmReBuild_A_Worksheet.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/ui/twips_qt.h"
#include "platform/ui/ui.h"
#include "report/whole_report.h"
#include "report/worksheet_catalogue.h"
#include "shell/forms.h"
#include "shell/guard.h"
#include "shell/text.h"
#include "shell/worksheet_windows.h"

namespace vt::gui {
namespace {

const char* const kEntryPrefix = "Worksheet ";

// The windows of the sheet and of its copies go before their tables do; false
// when one would not close (it has told the user why).
bool CloseSheetWindows(const Worksheet& sheet) {
    std::vector<std::string> codes;
    for (const Worksheet* s : BuiltTogether(sheet)) codes.push_back(s->code);
    return CloseWorksheetWindows(codes);
}

}  // namespace

frmReBuild_A_Worksheet::frmReBuild_A_Worksheet() : QWidget(nullptr, Qt::Dialog) {
    setObjectName("frmReBuild_A_Worksheet");
    setAttribute(Qt::WA_DeleteOnClose);
    FormLoaded(this);
    setWindowTitle("ReBuild A Worksheet");
    if (QWidget* main = MainForm()) setWindowIcon(main->windowIcon());

    lblReBuild = new QLabel(
        "Select below the name of the Worksheet you want to rebuild.  WARNING: This process will result in the "
        "unrecoverable loss of any pre-existing data in the Worksheet you rebuild.",
        this);
    lblReBuild->setObjectName("lblReBuild");
    lblReBuild->setWordWrap(true);
    cboReBuild = new QComboBox(this);
    cboReBuild->setObjectName("cboReBuild");
    cboReBuild->setToolTip("Select a Worksheet to ReBuild from the drop-down list.");
    for (const Worksheet& w : WorksheetCatalogue()) cboReBuild->addItem(Q(kEntryPrefix + std::string(w.code)));
    cboReBuild->setCurrentIndex(-1);
    connect(cboReBuild, &QComboBox::activated, this, [this] { RunGuarded([this] { cboReBuild_Click(); }); });

    fraConfirm = new QGroupBox("CONFIRMATION:", this);
    fraConfirm->setObjectName("fraConfirm");
    lblConfirm = new QLabel(
        "WARNING: This procedure causes the UNRECOVERABLE loss of all data in the Worksheet you're about to "
        "rebuild.  This will be your ONLY CHANCE to cancel this request.",
        fraConfirm);
    lblConfirm->setObjectName("lblConfirm");
    lblConfirm->setWordWrap(true);
    (new QVBoxLayout(fraConfirm))->addWidget(lblConfirm);
    fraConfirm->hide();

    picButtons = new QWidget(this);
    picButtons->setObjectName("picButtons");
    cmdExecute = new QPushButton("Execute", picButtons);
    cmdExecute->setObjectName("cmdExecute");
    cmdExecute->setEnabled(false);
    cmdCancel = new QPushButton("&Cancel", picButtons);
    cmdCancel->setObjectName("cmdCancel");
    // The two buttons share the bar, 400 twips apart.
    auto* bar = new QHBoxLayout(picButtons);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->setSpacing(ui::Px(400));
    bar->addWidget(cmdExecute, 1);
    bar->addWidget(cmdCancel, 1);
    connect(cmdExecute, &QPushButton::clicked, this, [this] { RunGuarded([this] { cmdExecute_Click(); }); });
    connect(cmdCancel, &QPushButton::clicked, this, &frmReBuild_A_Worksheet::cmdCancel_Click);

    auto* box = new QVBoxLayout(this);
    box->addWidget(lblReBuild);
    box->addWidget(cboReBuild);
    box->addWidget(fraConfirm);
    box->addStretch(1);
    box->addWidget(picButtons);
    resize(ui::Px(6000), ui::Px(3600));
}

frmReBuild_A_Worksheet::~frmReBuild_A_Worksheet() { FormUnloaded(this); }

void frmReBuild_A_Worksheet::closeEvent(QCloseEvent* event) {
    FormUnloaded(this);
    event->accept();
}

void frmReBuild_A_Worksheet::cboReBuild_Click() {
    SheetCode = Mid(S(cboReBuild->currentText()), std::string(kEntryPrefix).size());
    cmdExecute->setEnabled(!SheetCode.empty());
}

void frmReBuild_A_Worksheet::cmdExecute_Click() {
    if (fraConfirm->isHidden()) {
        // The focus on Cancel: a second Enter cancels rather than confirms.
        ui::Ui().Beep();
        cboReBuild->setEnabled(false);
        fraConfirm->show();
        cmdCancel->setFocus();
        return;
    }
    fraConfirm->hide();
    const Worksheet* sheet = FindWorksheet(SheetCode);
    if (!sheet) return;
    if (!CloseSheetWindows(*sheet)) {
        cboReBuild->setEnabled(true);
        return;
    }
    // After a table that would not drop, only closing the dialog is left;
    // any other failure has been told and the list is offered again.
    RebuildResult result = RebuildResult::Failed;
    RunGuarded([&] { result = RebuildWorksheet(SheetCode); });
    if (result == RebuildResult::NotDropped) return;
    cmdCancel->setFocus();
    cboReBuild->setEnabled(true);
}

void frmReBuild_A_Worksheet::cmdCancel_Click() { UnloadForm(this); }

void ShowReBuildAWorksheet() {
    QWidget* w = nullptr;
    if (!Is_Form_Loaded("frmReBuild_A_Worksheet", &w)) w = new frmReBuild_A_Worksheet();
    ShowOnWorkingArea(w);
    w->raise();
    w->activateWindow();
}

}  // namespace vt::gui
