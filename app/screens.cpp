// Pictures of every window of the program, for a person to look over: the
// splash and the main window before a report is open, the new-report dialog,
// then on the calculated sample report (app/sample_report.h, scale 1) the
// main window, the findings, every viewer and editor, the cost-centre windows
// and dialogs, and the dialogs of the Report File and Help menus. One PNG per window, named
// by the window, into the folder given (default "screens"). Runs on the
// offscreen platform unless told otherwise; nothing waits for a person:
// messages are answered and every dialog is closed once it is pictured.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMenu>
#include <QTimer>
#include <QWidget>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "app/worksheet_forms.h"
#include "app/answering_ui.h"
#include "app/sample_report.h"
#include "costcentres/cc_list_dialog.h"
#include "costcentres/frmAddCC.h"
#include "costcentres/frmSelectCC.h"
#include "platform/printer/qt_printer.h"
#include "platform/settings/settings.h"
#include "platform/ui/ui_qt.h"
#include "report/calc_all.h"
#include "report/whole_report.h"
#include "shell/forms.h"
#include "shell/frmCRFEditKey.h"
#include "shell/frmMain.h"
#include "shell/frmSplash.h"
#include "shell/version.h"
#include "store/report.h"

namespace {

namespace fs = std::filesystem;
using namespace vt;

class Camera {
public:
    explicit Camera(QDir folder) : folder_(std::move(folder)) {}

    // Named by the window, or as given.
    void Save(QWidget* w, const std::string& given = "") {
        QCoreApplication::processEvents();
        std::string name = !given.empty() ? given : w->objectName().toStdString();
        if (name.empty()) name = w->metaObject()->className();
        const std::string base = name;
        for (int n = 2; taken_.count(name); ++n) name = base + "_" + std::to_string(n);
        taken_.insert(name);
        const QString file = folder_.filePath(QString::fromStdString(name) + ".png");
        if (!w->grab().save(file)) std::fprintf(stderr, "could not write %s\n", qPrintable(file));
        ++count;
    }

    // Runs `open`, then pictures and closes each window it brought up: a
    // modal dialog while it waits, any other window once `open` returns.
    void Shoot(const std::function<void()>& open) {
        std::set<QWidget*> before;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible()) before.insert(w);
        // Watches while `open` runs, and stops with it.
        QTimer watch;
        watch.setInterval(20);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            QWidget* m = QApplication::activeModalWidget();
            if (!m || before.count(m)) return;
            Save(m);
            if (auto* d = qobject_cast<QDialog*>(m)) d->reject();
            else m->close();
        });
        watch.start();
        open();
        watch.stop();
        QCoreApplication::processEvents();
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible() || before.count(w)) continue;
            Save(w);
            if (!gui::UnloadForm(w)) w->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    int count = 0;

private:
    QDir folder_;
    std::set<std::string> taken_;
};

void Trigger(gui::frmMain& main, const char* item) {
    if (auto* a = main.findChild<QAction*>(item)) a->trigger();
    else std::fprintf(stderr, "no menu item %s\n", item);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    vt::gui::RegisterWorksheetForms();
    QApplication::setApplicationName(gui::kApplicationTitle);
    QApplication::setQuitOnLastWindowClosed(false);
    QDir folder(argc > 1 ? argv[1] : "screens");
    QDir().mkpath(folder.path());

    const fs::path work = fs::temp_directory_path() / ("vt-screens-" + std::to_string(::getpid()));
    fs::create_directories(work);
    sample::AnsweringUi ui;
    ui::InstallUi(&ui);
    settings::IniSettings settings(work.string());
    settings::InstallSettings(&settings);
    printer::QtPrinter printer(printer::QtPrinter::Target::Pdf);
    printer::InstallPrinter(&printer);
    Camera camera(folder);

    {
        gui::frmSplash splash;
        splash.show();
        camera.Save(&splash);
    }
    gui::StartOptions options;
    options.splashTime = std::chrono::milliseconds(0);
    options.instanceKey = "vt-screens-" + std::to_string(::getpid());
    options.quit = [] {};
    auto* main = new gui::frmMain(options);
    if (!main->Form_Load()) {
        std::fprintf(stderr, "the main window did not start: %s\n", ui.lastMessage.c_str());
        return 1;
    }
    main->show();
    camera.Save(main, "frmMain_welcome");
    camera.Shoot([&] { Trigger(*main, "mnuReportNew"); });
    camera.Shoot([&] { Trigger(*main, "mnuHelpAbout"); });

    // The sample report, built and calculated, then opened as the user opens one.
    ui.path = (work / "SAMPLE.CRF").string();
    if (!NewReport({"0287", "12-3456", "01/01/2006", "12/31/2006", "Sample Home Office"})) {
        std::fprintf(stderr, "the sample report was not made: %s\n", ui.lastMessage.c_str());
        return 1;
    }
    sample::FillReport(1);
    Calc_All();
    main->CloseDatabaseAndForms();
    Trigger(*main, "mnuReportOpen");
    if (!Report().CRF_Database || !Report().CRF_Database->IsOpen()) {
        std::fprintf(stderr, "the sample report did not open: %s\n", ui.lastMessage.c_str());
        return 1;
    }
    camera.Save(main, "frmMain");

    camera.Shoot([&] { Trigger(*main, "mnuReportCalculate"); });
    for (const char* mode : {"mnuViewOpen", "mnuEditOpen"}) {
        for (QAction* a : main->findChildren<QAction*>()) {
            const std::string name = a->objectName().toStdString();
            if (name.rfind(mode, 0) != 0 || a->menu() || name == "mnuViewOpenEditChecks") continue;
            camera.Shoot([&] { a->trigger(); });
        }
    }
    // The dialogs that other windows show modally, shown here without waiting.
    const auto show = [&](QDialog* d) {
        d->setAttribute(Qt::WA_DeleteOnClose);
        d->show();
    };
    camera.Shoot([&] { show(new gui::frmCRFEditKey(main)); });
    camera.Shoot([&] {
        auto* d = new gui::frmAddCC(main);
        d->Form_Setup(Currency::FromInt(12));
        show(d);
    });
    camera.Shoot([&] {
        auto* d = new gui::frmDeletedCCs(main);
        d->Form_Setup();
        show(d);
    });
    camera.Shoot([&] {
        auto* d = new gui::frmSelectCC(main);
        d->SheetName = "E1";
        d->Form_Load();
        show(d);
    });
    for (const char* item : {"mnuHeaderLines", "mnuReportPrintSelect", "mnuReportUtilitiesReBuild"})
        camera.Shoot([&] { Trigger(*main, item); });

    main->CloseDatabaseAndForms();
    delete main;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    CloseReport();
    printer::InstallPrinter(nullptr);
    settings::InstallSettings(nullptr);
    ui::InstallUi(nullptr);
    fs::remove_all(work);
    std::printf("%d pictures in %s\n", camera.count, qPrintable(folder.absolutePath()));
    return 0;
}
