#pragma once

#include <QIcon>

namespace norvana {

// The program's icon, from the PNG renditions embedded as Qt resources
// (16, 32 and 64 pixels), so a high-density screen gets a sharp one and no
// image-format plugin is loaded to read it.
QIcon appIcon();

} // namespace norvana
