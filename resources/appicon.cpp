#include "appicon.h"

namespace norvana {

QIcon appIcon()
{
    QIcon icon;
    for (int size : {16, 32, 64})
        icon.addFile(QStringLiteral(":/icons/norvana-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace norvana
