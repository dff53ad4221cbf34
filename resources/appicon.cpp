#include "appicon.h"

#include <QPixmap>

namespace norvana {

QIcon appIcon()
{
    // Pixmaps rather than QIcon::addFile, which would first look for an
    // icon-engine plugin for the file's suffix. Three small PNGs decode in
    // no time, and the window system takes every size at once anyway.
    QIcon icon;
    for (int size : {16, 32, 64})
        icon.addPixmap(QPixmap(QStringLiteral(":/icons/norvana-%1.png").arg(size), "PNG"));
    return icon;
}

} // namespace norvana
