#include "appicon.h"

#include <QImageReader>
#include <QPixmap>

namespace norvana {

QIcon appIcon()
{
    // Read as the PNG files they are: left to find out the format, the
    // reader would load every image format plugin to ask it.
    QIcon icon;
    for (int size : {16, 32, 64}) {
        QImageReader reader(QStringLiteral(":/icon/norvana-%1.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

} // namespace norvana
