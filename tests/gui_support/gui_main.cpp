// The window tests need an application object; they run on the offscreen
// platform so that no display is needed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTemporaryDir>
#include <QWidget>
#include <vector>

#include "app/worksheet_forms.h"
#include "shell/guard.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a runtime folder a main window's lock goes under the cache
    // folder: the run's own, so that no test leaves a folder in the home.
    const QTemporaryDir cache;
    qputenv("XDG_CACHE_HOME", cache.path().toUtf8());
    // The program's own application object: an escaping exception is told.
    vt::gui::GuardedApplication app(argc, argv);
    QApplication::setApplicationName("Vantrel 287");
    vt::gui::RegisterWorksheetForms();
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // Windows the tests left open (main windows among them) go before the
    // application does, so the leak check sees only what was truly lost. A
    // window deleted with its parent is skipped.
    std::vector<QPointer<QWidget>> left;
    for (QWidget* w : QApplication::topLevelWidgets()) left.emplace_back(w);
    for (auto& w : left) delete w.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}
