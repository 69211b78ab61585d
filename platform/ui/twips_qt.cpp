#include "platform/ui/twips_qt.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace vt::ui {
namespace {
double fixedScale = 0;
}

double TwipsPerPixel() {
    if (fixedScale > 0) return fixedScale;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

int Px(double twips) { return static_cast<int>(std::lround(twips / TwipsPerPixel())); }
double Twips(double px) { return px * TwipsPerPixel(); }
void SetTwipsPerPixel(double twipsPerPixel) { fixedScale = twipsPerPixel; }

}  // namespace vt::ui
