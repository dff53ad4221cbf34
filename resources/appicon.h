#pragma once

#include <QIcon>

namespace norvana {

// The program's icon at 16, 32 and 64 pixels, so a high-density screen gets
// a sharp one: the installed PNG files, built into the program.
QIcon appIcon();

} // namespace norvana
