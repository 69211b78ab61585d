// The new-report dialog: the identity of a new cost report (form number,
// provider number, fiscal year, facility name), checked as it is typed and
// again on Create, which then asks for the file and builds the report. The
// main window's New shows a fresh one modally and looks afterwards at
// whether a report is open.
#pragma once

#include <QDialog>

#include "report/identity_checks.h"
#include "store/new_crf.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vt::gui {

class frmCreateNewCRF : public QDialog {
    Q_OBJECT
public:
    explicit frmCreateNewCRF(QWidget* parent = nullptr);
    ~frmCreateNewCRF() override;

    // The five boxes as they stand.
    NewCrfEntries Entries() const;
    QLineEdit* Box(IdentityField field) const;

    QLabel* lblFormNum;
    QLabel* lblProviderNum;
    QLabel* lblFYStart;
    QLabel* lblFYEnd;
    QLabel* lblFacilityName;
    QLineEdit* txtFormNum;
    QLineEdit* txtProviderNum;
    QLineEdit* txtFYStart;
    QLineEdit* txtFYEnd;
    QLineEdit* txtFacilityName;
    QPushButton* cmdCreate;
    QPushButton* cmdCancel;

public slots:
    void cmdCreate_Click();
    void cmdCancel_Click();
    void txtProviderNum_LostFocus();
    void txtFYStart_LostFocus();
    void txtFYEnd_LostFocus();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void Form_Load();

    bool welcomeWasVisible_ = false;
    bool endRefused_ = false;  // the end date's leave rule refused it
};

}  // namespace vt::gui
