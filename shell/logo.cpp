#include "shell/logo.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace vt::gui {

QPixmap QuelldornLogo(int height) {
    const int h = std::max(height, 16);
    const int w = h * 3;
    QPixmap pm(w, h);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, QColor(24, 74, 140));
    g.setColorAt(1, QColor(10, 38, 82));
    QPainterPath badge;
    badge.addRoundedRect(QRectF(1, 1, h - 2, h - 2), h / 6.0, h / 6.0);
    p.fillPath(badge, g);
    QFont f("Serif");
    f.setBold(true);
    f.setPixelSize(h * 2 / 3);
    p.setFont(f);
    p.setPen(QColor(236, 196, 80));
    p.drawText(QRectF(0, 0, h, h), Qt::AlignCenter, "Q");
    QFont name("Sans Serif");
    name.setBold(true);
    name.setPixelSize(std::max(h / 4, 8));
    p.setFont(name);
    p.setPen(QColor(24, 74, 140));
    p.drawText(QRectF(h + h / 8.0, 0, w - h, h / 2.0), Qt::AlignLeft | Qt::AlignBottom, "Quelldorn");
    p.drawText(QRectF(h + h / 8.0, h / 2.0, w - h, h / 2.0), Qt::AlignLeft | Qt::AlignTop, "Systems, Inc.");
    return pm;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 32, 48}) icon.addPixmap(QuelldornLogo(size).copy(0, 0, size, size));
    return icon;
}

}  // namespace vt::gui
