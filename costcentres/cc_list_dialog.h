// The two pick lists of cost centres: the saved cost centres that may come
// back (frmDeletedCCs) and the cost centres that may become a column of E-1 or
// F-1 Part II (frmSelectCC). Each shows "02.01  -  Name" entries, takes the
// one clicked with OK, and writes nothing: the caller reads SelectedCCNum,
// below 0 after Cancel or the close box.
#pragma once

#include <QDialog>

#include <vector>

#include "platform/value/value.h"
#include "report/cost_centres.h"

class QListWidget;
class QPushButton;

namespace vt::gui {

class CcListDialog : public QDialog {
    Q_OBJECT
public:
    QListWidget* CcList;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;

    Currency SelectedCCNum = Currency::FromInt(-1);

public slots:
    void CcList_Click();
    void cmdOk_Click();
    void cmdCancel_Click();

protected:
    CcListDialog(const char* name, const char* caption, QWidget* parent);
    // The entries afresh; nothing chosen yet.
    void Fill(const std::vector<CcListEntry>& entries);
};

// The restore list of the new cost-centre dialog.
class frmDeletedCCs : public CcListDialog {
    Q_OBJECT
public:
    explicit frmDeletedCCs(QWidget* parent = nullptr);
    void Form_Setup();
};

}  // namespace vt::gui
