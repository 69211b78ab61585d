// The window shown while the program starts: product, version, platform,
// the maker and the legal texts.
#pragma once

#include <QWidget>

class QFrame;
class QLabel;

namespace vt::gui {

class frmSplash : public QWidget {
    Q_OBJECT
public:
    frmSplash();
    ~frmSplash() override;

    QLabel* lblProductName;
    QLabel* lblVersion;
    QLabel* lblPlatform;
    QLabel* lblCompanyProduct;
    QLabel* lblCompany;
    QLabel* lblCopyright;
    QFrame* Frame1;
    QLabel* imgLogo;

protected:
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace vt::gui
