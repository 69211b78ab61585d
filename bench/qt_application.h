// The Qt printer needs an application object; the timing program's main is
// shared, so it is made on first use (offscreen unless told otherwise) and
// lives to the end of the program.
#pragma once

#ifdef VT_HAVE_QT
#include <QApplication>

namespace vt::bench {

inline void EnsureQtApplication() {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "vt_bench";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

}  // namespace vt::bench
#endif
