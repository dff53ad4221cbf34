#include "appicon.h"

#include "icon/norvana-pixels.h"

#include <QImage>
#include <QPixmap>

namespace norvana {

namespace {

// An image of the given size from palette indices, through an indexed image
// that wraps the constant data.
QImage iconImage(const std::uint8_t *indices, int size)
{
    QImage indexed(indices, size, size, size, QImage::Format_Indexed8);
    indexed.setColorTable(QList<QRgb>(std::begin(iconpixels::kPalette), std::end(iconpixels::kPalette)));
    return indexed.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

QIcon appIcon()
{
    // Built from pixel data in the program, so that start-up decodes no
    // image file. The 64 px image doubles the 32 px one, pixel for pixel, as
    // the installed 64 px PNG does.
    const QImage image16 = iconImage(iconpixels::kImage16, 16);
    const QImage image32 = iconImage(iconpixels::kImage32, 32);
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(image16));
    icon.addPixmap(QPixmap::fromImage(image32));
    icon.addPixmap(QPixmap::fromImage(image32.scaled(64, 64, Qt::IgnoreAspectRatio, Qt::FastTransformation)));
    return icon;
}

} // namespace norvana
