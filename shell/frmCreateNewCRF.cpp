#include "shell/frmCreateNewCRF.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "report/report_file.h"
#include "shell/forms.h"
#include "shell/frmMain.h"
#include "shell/guard.h"
#include "shell/text.h"
#include "shell/text_box_events.h"

namespace vt::gui {

frmCreateNewCRF::frmCreateNewCRF(QWidget* parent) : QDialog(parent) {
    setObjectName("frmCreateNewCRF");
    setWindowTitle("Create A New Cost Report File [\"CRF\"]");
    if (QWidget* main = MainForm()) setWindowIcon(main->windowIcon());
    FormLoaded(this);

    auto* grid = new QGridLayout;
    txtFormNum = AddEntryRow(grid, this, 0, lblFormNum, "lblFormNum", "Form #:", "txtFormNum");
    txtProviderNum = AddEntryRow(grid, this, 1, lblProviderNum, "lblProviderNum", "Provider #:", "txtProviderNum");
    txtFYStart = AddEntryRow(grid, this, 2, lblFYStart, "lblFYStart", "F/Y Start:", "txtFYStart");
    txtFYEnd = AddEntryRow(grid, this, 3, lblFYEnd, "lblFYEnd", "F/Y End:", "txtFYEnd");
    txtFacilityName = AddEntryRow(grid, this, 4, lblFacilityName, "lblFacilityName", "Facility Name:", "txtFacilityName");
    // The program makes reports of this one form only; a report of another
    // number could not be opened again.
    txtFormNum->setText("0287");
    txtFormNum->setReadOnly(true);
    txtFormNum->setFocusPolicy(Qt::NoFocus);
    txtFacilityName->setMinimumWidth(fontMetrics().horizontalAdvance(QString(36, 'W')) / 2);

    cmdCreate = DialogButton(this, "cmdCreate", "C&reate");
    cmdCreate->setDefault(true);
    cmdCancel = DialogButton(this, "cmdCancel", "&Cancel");
    LayOutDialog(this, grid, {cmdCreate, cmdCancel});
    WideEnoughForCaption(this);

    OnLostFocus(txtProviderNum, [this] { txtProviderNum_LostFocus(); });
    OnLostFocus(txtFYStart, [this] { txtFYStart_LostFocus(); });
    OnLostFocus(txtFYEnd, [this] { txtFYEnd_LostFocus(); });
    connect(txtFYEnd, &QLineEdit::textChanged, this, [this] { endRefused_ = false; });
    connect(cmdCreate, &QPushButton::clicked, this, [this] { RunGuarded([this] { cmdCreate_Click(); }); });
    connect(cmdCancel, &QPushButton::clicked, this, &frmCreateNewCRF::cmdCancel_Click);
    setTabOrder(txtProviderNum, txtFYStart);
    setTabOrder(txtFYStart, txtFYEnd);
    setTabOrder(txtFYEnd, txtFacilityName);
    setTabOrder(txtFacilityName, cmdCreate);
    setTabOrder(cmdCreate, cmdCancel);
    txtProviderNum->setFocus();

    Form_Load();
}

frmCreateNewCRF::~frmCreateNewCRF() { FormUnloaded(this); }

void frmCreateNewCRF::Form_Load() {
    if (frmMain* main = FindMainWindow()) {
        welcomeWasVisible_ = !main->fraWelcome->isHidden();
        main->fraWelcome->hide();
        main->hide();
    }
}

NewCrfEntries frmCreateNewCRF::Entries() const {
    return {S(txtFormNum->text()), S(txtProviderNum->text()), S(txtFYStart->text()), S(txtFYEnd->text()),
            S(txtFacilityName->text())};
}

QLineEdit* frmCreateNewCRF::Box(IdentityField field) const {
    switch (field) {
    case IdentityField::ProviderNum: return txtProviderNum;
    case IdentityField::FYStart: return txtFYStart;
    case IdentityField::FYEnd: return txtFYEnd;
    case IdentityField::FacilityName: return txtFacilityName;
    default: return nullptr;
    }
}

void frmCreateNewCRF::txtProviderNum_LostFocus() {
    txtProviderNum->setText(Q(LeaveProviderNumber(S(txtProviderNum->text()))));
}

void frmCreateNewCRF::txtFYStart_LostFocus() {
    LeaveFYStartBoxes(txtFYStart, txtFYEnd);
}

// An end the rule refuses has been told to the user; the box gets the focus
// back with what was typed, as a refusal of Create does.
void frmCreateNewCRF::txtFYEnd_LostFocus() {
    if (QApplication::focusWidget() == cmdCancel) return;  // nothing typed matters any more
    std::string end = S(txtFYEnd->text());
    const bool accepted = LeaveFYEnd(end, IdentityDialog::NewCrf);
    txtFYEnd->setText(Q(end));
    if (accepted) return;
    endRefused_ = true;
    txtFYEnd->setFocus(Qt::OtherFocusReason);
    txtFYEnd->selectAll();
}

void frmCreateNewCRF::cmdCreate_Click() {
    // The box being left runs its rule first (a shortcut key does not move
    // the focus by itself). A click has moved the focus already: an end
    // refused then has been told, and is not told twice.
    if (endRefused_) return;
    cmdCreate->setFocus(Qt::OtherFocusReason);
    if (endRefused_) return;

    NewCrfEntries entries = Entries();
    const CreateResult result = CreateNewCRF(entries);
    txtProviderNum->setText(Q(entries.txtProviderNum));
    txtFYStart->setText(Q(entries.txtFYStart));
    txtFYEnd->setText(Q(entries.txtFYEnd));
    if (result.created) {
        accept();
        return;
    }
    if (QLineEdit* back = Box(result.refused)) {
        back->setFocus(Qt::OtherFocusReason);
        back->selectAll();
    }
    // Otherwise the file chooser was cancelled and the dialog stays with its
    // entries, or the build failed after the dialog was hidden, which ended it.
}

void frmCreateNewCRF::cmdCancel_Click() {
    if (frmMain* main = FindMainWindow()) {
        main->fraWelcome->setVisible(welcomeWasVisible_);
        main->show();
    }
    QDialog::reject();
}

void frmCreateNewCRF::reject() { cmdCancel_Click(); }

void frmCreateNewCRF::closeEvent(QCloseEvent* event) {
    QDialog::closeEvent(event);
    if (event->isAccepted()) FormUnloaded(this);
}

}  // namespace vt::gui
