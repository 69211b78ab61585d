// The maker's logo, drawn rather than shipped, and the program's icon.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace vt::gui {

QPixmap QuelldornLogo(int height);
QIcon ProgramIcon();

}  // namespace vt::gui
