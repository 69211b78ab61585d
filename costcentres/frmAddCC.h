// The new cost-centre dialog of the cost-centre editor: at most two free
// numbers next to the editor's current row (its next sub-number and the next
// whole number), and, when cost centres were saved on deletion, the way into
// the restore list. It writes nothing: the editor reads NewCCNum (below 0
// after Cancel or the close box) and RestoreChosen.
#pragma once

#include <QDialog>

#include <array>

#include "platform/value/value.h"
#include "report/cost_centres.h"

class QPushButton;

namespace vt::gui {

class frmAddCC : public QDialog {
    Q_OBJECT
public:
    explicit frmAddCC(QWidget* parent = nullptr);

    // The choices at the row of cost centre `ccNum`; false when there is
    // none, and the dialog is then not to be shown.
    bool Form_Setup(Currency ccNum);

    std::array<QPushButton*, 2> cmdButton;
    QPushButton* cmdDelList;
    QPushButton* cmdCancel;

    Currency NewCCNum = Currency::FromInt(-1);
    bool RestoreChosen = false;

public slots:
    void cmdButton_Click(int index);
    void cmdDelList_Click();
    void cmdCancel_Click();

private:
    CcAddChoices choices_;
};

}  // namespace vt::gui
