#pragma once

#include <QIcon>

namespace norvana {

// The program's icon at 16, 32 and 64 pixels, so a high-density screen gets
// a sharp one. Made from the same pixel maps as the installed icon files.
QIcon appIcon();

} // namespace norvana
