// About the program: title, versions, the maker's notice and the legal warning.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace vt::gui {

class frmHelpAbout : public QWidget {
    Q_OBJECT
public:
    frmHelpAbout();
    ~frmHelpAbout() override;

    QLabel* picHelpAboutIcon;
    QLabel* lblHelpAboutTitle;
    QLabel* lblHelpAboutVersion;
    QLabel* lblHelpAboutDescription;
    QLabel* lblHelpAboutDisclaimer;
    QPushButton* cmdHelpAboutOK;

protected:
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace vt::gui
