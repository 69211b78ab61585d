// Vantrel 287: the program starts here. It reads no arguments of its own.
#include <QApplication>

#include "app/worksheet_forms.h"
#include "costcentres/frmSelectCC.h"
#include "editors/chain_edit_form.h"
#include "platform/printer/qt_printer.h"
#include "platform/settings/settings_qt.h"
#include "platform/ui/ui_qt.h"
#include "shell/frmMain.h"
#include "shell/guard.h"
#include "shell/version.h"
#include "store/report.h"

int main(int argc, char** argv) {
    vt::gui::GuardedApplication app(argc, argv);
    vt::gui::RegisterWorksheetForms();
    QApplication::setOrganizationName("Vantrel");
    // The name titles untitled message boxes. No display name: Qt would add
    // it to the caption of every window.
    QApplication::setApplicationName(vt::gui::kApplicationTitle);
    // The main window ends the program itself, after its windows and the report.
    QApplication::setQuitOnLastWindowClosed(false);

    vt::ui::QtUi ui;
    vt::ui::InstallUi(&ui);
    vt::settings::QtSettings settings;
    vt::settings::InstallSettings(&settings);
    vt::printer::QtPrinter printer;
    vt::printer::InstallPrinter(&printer);
    // The column commands of E-1 and F-1 Part II ask the user through the picker.
    vt::gui::SetCCChooser(vt::gui::SelectCC);

    int rc = 0;
    {
        vt::gui::frmMain main;
        if (main.Form_Load()) {
            main.show();
            rc = QApplication::exec();
        }
        vt::CloseReport();
    }
    vt::printer::InstallPrinter(nullptr);
    vt::settings::InstallSettings(nullptr);
    vt::ui::InstallUi(nullptr);
    return rc;
}
