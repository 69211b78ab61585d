// The user's repair for a damaged worksheet: one worksheet of the open report
// is thrown away and built again, empty and seeded, after a second press of
// Execute confirms it.
#pragma once

#include <QWidget>

#include <string>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace vt::gui {

class frmReBuild_A_Worksheet : public QWidget {
    Q_OBJECT
public:
    frmReBuild_A_Worksheet();
    ~frmReBuild_A_Worksheet() override;

    QLabel* lblReBuild;
    QComboBox* cboReBuild;
    QGroupBox* fraConfirm;
    QLabel* lblConfirm;
    QWidget* picButtons;
    QPushButton* cmdExecute;
    QPushButton* cmdCancel;

    // The code of the chosen worksheet.
    std::string SheetCode;

public slots:
    void cboReBuild_Click();
    void cmdExecute_Click();
    void cmdCancel_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
};

// Shows the dialog, loading it when it is not open.
void ShowReBuildAWorksheet();

}  // namespace vt::gui
