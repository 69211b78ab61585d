#include "shell/frmHelpAbout.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "shell/forms.h"
#include "shell/logo.h"
#include "shell/text.h"
#include "shell/version.h"

namespace vt::gui {

frmHelpAbout::frmHelpAbout() : QWidget(nullptr, Qt::Dialog) {
    setObjectName("frmHelpAbout");
    setAttribute(Qt::WA_DeleteOnClose);
    FormLoaded(this);
    setWindowTitle(Q(std::string("About Quelldorn System's ") + kApplicationTitle));
    if (QWidget* main = MainForm()) setWindowIcon(main->windowIcon());

    picHelpAboutIcon = new QLabel(this);
    picHelpAboutIcon->setObjectName("picHelpAboutIcon");
    picHelpAboutIcon->setPixmap(QuelldornLogo(48));
    lblHelpAboutTitle = new QLabel(kApplicationTitle, this);
    lblHelpAboutTitle->setObjectName("lblHelpAboutTitle");
    QFont big = lblHelpAboutTitle->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    lblHelpAboutTitle->setFont(big);
    lblHelpAboutVersion = new QLabel(this);
    lblHelpAboutVersion->setObjectName("lblHelpAboutVersion");
    lblHelpAboutVersion->setText(Q("QSI Version " + App_Version() + "\nCMS Version 287-05 Transmittal #1"));
    lblHelpAboutDescription = new QLabel(kLegalCopyright, this);
    lblHelpAboutDescription->setObjectName("lblHelpAboutDescription");
    lblHelpAboutDisclaimer = new QLabel(
        "This program is protected by copyright. Copying or distributing it, or any part of it, without "
        "the written permission of Quelldorn Systems, Inc. is prohibited and may lead to civil and "
        "criminal penalties.",
        this);
    lblHelpAboutDisclaimer->setObjectName("lblHelpAboutDisclaimer");
    lblHelpAboutDisclaimer->setWordWrap(true);
    cmdHelpAboutOK = new QPushButton("OK", this);
    cmdHelpAboutOK->setObjectName("cmdHelpAboutOK");
    cmdHelpAboutOK->setDefault(true);
    connect(cmdHelpAboutOK, &QPushButton::clicked, this, [this] { UnloadForm(this); });

    auto* g = new QGridLayout(this);
    g->addWidget(picHelpAboutIcon, 0, 0, 2, 1, Qt::AlignTop);
    g->addWidget(lblHelpAboutTitle, 0, 1);
    g->addWidget(lblHelpAboutVersion, 1, 1);
    g->addWidget(lblHelpAboutDescription, 2, 1);
    g->addWidget(lblHelpAboutDisclaimer, 3, 0, 1, 2);
    g->addWidget(cmdHelpAboutOK, 4, 1, Qt::AlignRight);
    resize(480, sizeHint().height());
}

frmHelpAbout::~frmHelpAbout() { FormUnloaded(this); }

void frmHelpAbout::closeEvent(QCloseEvent* event) {
    FormUnloaded(this);
    event->accept();
}

}  // namespace vt::gui
