#pragma once
// The program's icons from their SVG drawings (res::IconSvg): drawn at whatever size and scale
// they are shown, so they stay sharp on a screen of any density.

#include <QIcon>

namespace platform::qt {

// The icon of a resource id; a null icon for an unknown id.
QIcon LoadIcon(int id);

}  // namespace platform::qt
