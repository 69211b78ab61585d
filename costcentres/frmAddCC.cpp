#include "costcentres/frmAddCC.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "costcentres/cc_list_dialog.h"
#include "shell/forms.h"
#include "shell/guard.h"
#include "shell/text.h"
#include "shell/text_box_events.h"

namespace vt::gui {

frmAddCC::frmAddCC(QWidget* parent) : QDialog(parent) {
    setObjectName("frmAddCC");
    setWindowTitle("Add a Cost Center");
    setModal(true);
    if (QWidget* main = MainForm()) setWindowIcon(main->windowIcon());

    auto* box = new QVBoxLayout(this);
    for (int i = 0; i < 2; ++i) {
        QPushButton*& b = cmdButton[static_cast<size_t>(i)];
        b = new QPushButton(this);
        b->setObjectName(QString("cmdButton_%1").arg(i));
        b->setEnabled(false);
        box->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdButton_Click(i); });
    }
    cmdDelList = new QPushButton("Select a previously deleted standard Cost Center", this);
    cmdDelList->setObjectName("cmdDelList");
    cmdDelList->setEnabled(false);
    cmdCancel = new QPushButton("Cancel", this);
    cmdCancel->setObjectName("cmdCancel");
    box->addWidget(cmdDelList);
    box->addWidget(cmdCancel);
    connect(cmdDelList, &QPushButton::clicked, this, [this] { RunGuarded([this] { cmdDelList_Click(); }); });
    connect(cmdCancel, &QPushButton::clicked, this, &frmAddCC::cmdCancel_Click);
}

bool frmAddCC::Form_Setup(Currency ccNum) {
    NewCCNum = Currency::FromInt(-1);
    RestoreChosen = false;
    choices_ = OfferedCCNumbers(ccNum);
    for (size_t i = 0; i < 2; ++i) {
        cmdButton[i]->setText(Q(choices_.buttons[i].caption));
        cmdButton[i]->setEnabled(choices_.buttons[i].offered);
    }
    cmdDelList->setEnabled(choices_.restoreList);
    for (QPushButton* b : {cmdButton[0], cmdButton[1], cmdDelList, cmdCancel}) FitButtonText(b);
    return choices_.Any();
}

void frmAddCC::cmdButton_Click(int index) {
    NewCCNum = choices_.buttons[static_cast<size_t>(index)].number;
    accept();
}

void frmAddCC::cmdDelList_Click() {
    frmDeletedCCs list(this);
    list.Form_Setup();
    list.exec();
    NewCCNum = list.SelectedCCNum;
    RestoreChosen = true;
    accept();
}

void frmAddCC::cmdCancel_Click() {
    NewCCNum = Currency::FromInt(-1);
    reject();
}

}  // namespace vt::gui
