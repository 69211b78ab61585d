#include "shell/frmSplash.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

#include "platform/ui/twips_qt.h"
#include "shell/forms.h"
#include "shell/logo.h"
#include "shell/text.h"
#include "shell/version.h"

namespace vt::gui {

frmSplash::frmSplash() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName("frmSplash");
    setAttribute(Qt::WA_DeleteOnClose);
    FormLoaded(this);

    Frame1 = new QFrame(this);
    Frame1->setObjectName("Frame1");
    Frame1->setFrameShape(QFrame::Box);
    imgLogo = new QLabel(Frame1);
    imgLogo->setObjectName("imgLogo");
    imgLogo->setPixmap(QuelldornLogo(64));
    imgLogo->move(ui::Px(20), ui::Px(120));
    imgLogo->adjustSize();
    Frame1->setFixedHeight(ui::Px(120) + imgLogo->height());

    auto label = [this](const char* name, const QString& text, int points, bool bold) {
        auto* l = new QLabel(text, this);
        l->setObjectName(name);
        QFont f = l->font();
        if (points) f.setPointSize(points);
        f.setBold(bold);
        l->setFont(f);
        l->setAlignment(Qt::AlignCenter);
        return l;
    };
    lblProductName = label("lblProductName", kApplicationTitle, 20, true);
    lblVersion = label("lblVersion", Q("Version " + App_Version()), 0, true);
    lblPlatform = label("lblPlatform", "Form 287-05", 12, false);
    lblCompanyProduct = label("lblCompanyProduct", "Quelldorn Systems, Inc.", 0, false);
    lblCompany = label("lblCompany", kLegalTrademarks, 0, false);
    lblCopyright = label("lblCopyright", kLegalCopyright, 0, false);

    auto* box = new QVBoxLayout(this);
    box->addWidget(Frame1);
    for (QLabel* l : {lblCompanyProduct, lblProductName, lblPlatform, lblVersion, lblCompany, lblCopyright})
        box->addWidget(l);
    setWindowTitle(kApplicationTitle);
    resize(ui::Px(6000), sizeHint().height());
}

frmSplash::~frmSplash() { FormUnloaded(this); }

void frmSplash::closeEvent(QCloseEvent* event) {
    FormUnloaded(this);
    event->accept();
}

}  // namespace vt::gui
