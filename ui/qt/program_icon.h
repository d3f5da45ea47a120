#pragma once
#include <QIcon>
#include <QPixmap>

namespace vx::ui {

// The program's own drawing, rendered from its SVG at the usual icon sizes.
QIcon programIcon();
// The heading's second picture, left of the title.
QIcon objectIcon();

}  // namespace vx::ui
