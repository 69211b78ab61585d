#include "costcentres/cc_list_dialog.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/forms.h"
#include "shell/text.h"
#include "shell/text_box_events.h"

namespace vt::gui {

CcListDialog::CcListDialog(const char* name, const char* caption, QWidget* parent) : QDialog(parent) {
    setObjectName(name);
    setWindowTitle(caption);
    setModal(true);
    if (QWidget* main = MainForm()) setWindowIcon(main->windowIcon());

    CcList = new QListWidget(this);
    CcList->setObjectName("CcList");
    CcList->setMinimumWidth(fontMetrics().horizontalAdvance(QString(48, 'x')));
    cmdOk = DialogButton(this, "cmdOk", "OK");
    cmdOk->setEnabled(false);
    cmdOk->setDefault(true);
    cmdCancel = DialogButton(this, "cmdCancel", "Cancel");
    auto* body = new QVBoxLayout;
    body->addWidget(CcList);
    LayOutDialog(this, body, {cmdOk, cmdCancel});

    // The entry shown as current is the one chosen: the list makes its first
    // entry current when it takes the keyboard, and Enter then takes that
    // entry exactly as a click on it and OK would.
    connect(CcList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0) return;
        CcList->item(row)->setSelected(true);
        CcList_Click();
    });
    connect(cmdOk, &QPushButton::clicked, this, &CcListDialog::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &CcListDialog::cmdCancel_Click);
}

void CcListDialog::Fill(const std::vector<CcListEntry>& entries) {
    SelectedCCNum = Currency::FromInt(-1);
    CcList->clear();
    for (const CcListEntry& e : entries) {
        auto* item = new QListWidgetItem(Q(e.text), CcList);
        item->setData(Qt::UserRole, QVariant::fromValue<qlonglong>(e.number.scaled));
    }
    CcList->setCurrentRow(-1);
    cmdOk->setEnabled(false);
}

void CcListDialog::CcList_Click() { cmdOk->setEnabled(true); }

void CcListDialog::cmdOk_Click() {
    const QListWidgetItem* item = CcList->currentItem();
    SelectedCCNum = item ? Currency::FromScaled(item->data(Qt::UserRole).toLongLong()) : Currency::FromInt(-1);
    accept();
}

void CcListDialog::cmdCancel_Click() {
    SelectedCCNum = Currency::FromInt(-1);
    reject();
}

frmDeletedCCs::frmDeletedCCs(QWidget* parent)
    : CcListDialog("frmDeletedCCs", "Select a Previously Deleted Standard Cost Center", parent) {}

void frmDeletedCCs::Form_Setup() { Fill(DeletedCCEntries()); }

}  // namespace vt::gui
