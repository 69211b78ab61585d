// The maker's logo, drawn rather than shipped, and the program's icon.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace vt::gui {

QPixmap Quelldorn_Logo(int height);
QIcon Program_Icon();

}  // namespace vt::gui
