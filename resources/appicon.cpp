#include "appicon.h"

namespace norvana {

QIcon appIcon()
{
    // Each PNG is read when a pixmap of its size is first asked for.
    QIcon icon;
    for (int size : {16, 32, 64})
        icon.addFile(QStringLiteral(":/icon/norvana-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace norvana
