#include "platform/ui/twips_qt.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace vt::ui {
namespace {

double fixedScale = 0;
constexpr double kDesignCharTwips = 90;

// How much wider the application font's figures are than the design font's;
// never below 1, so nothing is cut earlier than on the design font.
double FontWidening(double twipsPerPixel) {
    if (!qGuiApp) return 1;
    static QString key;
    static double widening = 1;
    const QFont font = QGuiApplication::font();
    if (font.key() != key) {
        key = font.key();
        widening = std::max(1.0, QFontMetricsF(font).horizontalAdvance(QLatin1Char('0')) * twipsPerPixel / kDesignCharTwips);
    }
    return widening;
}

}  // namespace

double TwipsPerPixel() {
    if (fixedScale > 0) return fixedScale;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    const double screenScale = 1440.0 / (dpi > 0 ? dpi : 96.0);
    return screenScale / FontWidening(screenScale);
}

int Px(double twips) { return static_cast<int>(std::lround(twips / TwipsPerPixel())); }
double Twips(double px) { return px * TwipsPerPixel(); }
void SetTwipsPerPixel(double twipsPerPixel) { fixedScale = twipsPerPixel; }

}  // namespace vt::ui
