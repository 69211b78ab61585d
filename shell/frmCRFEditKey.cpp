#include "shell/frmCRFEditKey.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "report/provider_info.h"
#include "shell/forms.h"
#include "shell/frmMain.h"
#include "shell/guard.h"
#include "shell/text.h"
#include "shell/text_box_events.h"
#include "shell/worksheet_windows.h"

namespace vt::gui {

frmCRFEditKey::frmCRFEditKey(QWidget* parent) : QDialog(parent) {
    setObjectName("frmCRFEditKey");
    setWindowTitle("Change Provider Information For A Cost Report File [\"CRF\"]");
    setModal(true);
    if (QWidget* main = MainForm()) setWindowIcon(main->windowIcon());
    FormLoaded(this);

    auto* grid = new QGridLayout;
    txtProviderNum = AddEntryRow(grid, this, 0, lblProviderNum, "lblProviderNum", "Provider #", "txtProviderNum");
    txtFYStart = AddEntryRow(grid, this, 1, lblFYStart, "lblFYStart", "F/Y Start", "txtFYStart");
    txtFYEnd = AddEntryRow(grid, this, 2, lblFYEnd, "lblFYEnd", "F/Y End", "txtFYEnd");
    txtFacilityName = AddEntryRow(grid, this, 3, lblFacilityName, "lblFacilityName", "Facility Name:", "txtFacilityName");
    txtFacilityName->setMinimumWidth(fontMetrics().horizontalAdvance(QString(36, 'W')) / 2);

    cmdSave = DialogButton(this, "cmdSave", "&Save");
    cmdSave->setDefault(true);
    cmdSaveAs = DialogButton(this, "cmdSaveAs", "Save &As");
    cmdCancel = DialogButton(this, "cmdCancel", "&Cancel");
    LayOutDialog(this, grid, {cmdSave, cmdSaveAs, cmdCancel});
    WideEnoughForCaption(this);

    OnLostFocus(txtFYStart, [this] { txtFYStart_LostFocus(); });
    OnLostFocus(txtFYEnd, [this] { txtFYEnd_LostFocus(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { RunGuarded([this] { cmdSave_Click(); }); });
    connect(cmdSaveAs, &QPushButton::clicked, this, [this] { RunGuarded([this] { cmdSaveAs_Click(); }); });
    connect(cmdCancel, &QPushButton::clicked, this, &frmCRFEditKey::cmdCancel_Click);

    Form_Load();
}

frmCRFEditKey::~frmCRFEditKey() { FormUnloaded(this); }

void frmCRFEditKey::Form_Load() { ShowEntries(CurrentIdentity()); }

void frmCRFEditKey::ShowEntries(const IdentityEntries& e) {
    txtProviderNum->setText(Q(e.txtProviderNum));
    txtFYStart->setText(Q(e.txtFYStart));
    txtFYEnd->setText(Q(e.txtFYEnd));
    txtFacilityName->setText(Q(e.txtFacilityName));
}

IdentityEntries frmCRFEditKey::Entries() const {
    return {S(txtProviderNum->text()), S(txtFYStart->text()), S(txtFYEnd->text()), S(txtFacilityName->text())};
}

QLineEdit* frmCRFEditKey::Box(IdentityField field) const {
    switch (field) {
    case IdentityField::ProviderNum: return txtProviderNum;
    case IdentityField::FYStart: return txtFYStart;
    case IdentityField::FYEnd: return txtFYEnd;
    case IdentityField::FacilityName: return txtFacilityName;
    default: return nullptr;
    }
}

void frmCRFEditKey::TypeInto(IdentityField field, const std::string& typed) {
    if (QLineEdit* box = Box(field)) ArriveTyping(box, Q(typed));
}

void frmCRFEditKey::txtFYStart_LostFocus() {
    LeaveFYStartBoxes(txtFYStart, txtFYEnd);
}

void frmCRFEditKey::txtFYEnd_LostFocus() {
    std::string end = S(txtFYEnd->text());
    LeaveFYEnd(end, IdentityDialog::EditKey);
    txtFYEnd->setText(Q(end));
}

void frmCRFEditKey::EnableButtons(bool on) {
    cmdSave->setEnabled(on);
    cmdSaveAs->setEnabled(on);
}

void frmCRFEditKey::Saved(bool saved, IdentityField refused) {
    if (!saved) {
        EnableButtons(true);
        if (QLineEdit* back = Box(refused)) {
            back->setFocus(Qt::OtherFocusReason);
            back->selectAll();
        }
        return;
    }
    SetUpWorksheetWindows({"Ap1"});
    accept();
    FormUnloaded(this);
}

void frmCRFEditKey::cmdSave_Click() {
    EnableButtons(false);
    IdentityEntries entries = Entries();
    SaveIdentityResult result;
    try {
        result = SaveIdentity(entries);
    } catch (...) {
        EnableButtons(true);
        throw;
    }
    ShowEntries(entries);
    Saved(result.saved, result.refused);
}

void frmCRFEditKey::cmdSaveAs_Click() {
    EnableButtons(false);
    frmMain* main = FindMainWindow();
    const bool welcome = main && !main->fraWelcome->isHidden();
    if (main) main->fraWelcome->hide();
    IdentityEntries entries = Entries();
    SaveIdentityResult result;
    try {
        result = SaveIdentityAs(entries);
    } catch (...) {
        if (main) main->fraWelcome->setVisible(welcome);
        EnableButtons(true);
        throw;
    }
    if (main) main->fraWelcome->setVisible(welcome);
    ShowEntries(entries);
    Saved(result.saved, result.refused);
}

void frmCRFEditKey::cmdCancel_Click() {
    reject();
    FormUnloaded(this);
}

void frmCRFEditKey::closeEvent(QCloseEvent* event) {
    QDialog::closeEvent(event);
    if (event->isAccepted()) FormUnloaded(this);
}

}  // namespace vt::gui
