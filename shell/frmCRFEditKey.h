// The provider-information dialog: the open report's provider number, fiscal
// year and facility name, changed together in Master, worksheet A Part I and
// the open-report state; Save As first makes a copy of the report the open
// one. Shown modally, fresh each time; Save and Cancel end it.
#pragma once

#include <QDialog>

#include "report/identity_checks.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vt::gui {

class frmCRFEditKey : public QDialog {
    Q_OBJECT
public:
    explicit frmCRFEditKey(QWidget* parent = nullptr);
    ~frmCRFEditKey() override;

    IdentityEntries Entries() const;
    QLineEdit* Box(IdentityField field) const;
    // Opened by a key typed on an identity line of worksheet A Part I: the
    // keyboard in that line's box, which holds the key, so that the rest of
    // the typing follows it there.
    void TypeInto(IdentityField field, const std::string& typed);

    QLabel* lblProviderNum;
    QLabel* lblFYStart;
    QLabel* lblFYEnd;
    QLabel* lblFacilityName;
    QLineEdit* txtProviderNum;
    QLineEdit* txtFYStart;
    QLineEdit* txtFYEnd;
    QLineEdit* txtFacilityName;
    QPushButton* cmdSave;
    QPushButton* cmdSaveAs;
    QPushButton* cmdCancel;

public slots:
    void cmdSave_Click();
    void cmdSaveAs_Click();
    void cmdCancel_Click();
    void txtFYStart_LostFocus();
    void txtFYEnd_LostFocus();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void ShowEntries(const IdentityEntries& entries);
    // After a save: the windows of worksheet A Part I show the new lines,
    // and the dialog ends. After a refusal: the buttons back, the box to fix.
    void Saved(bool saved, IdentityField refused);
    void EnableButtons(bool on);
};

}  // namespace vt::gui
