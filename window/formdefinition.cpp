#include "formdefinition.h"

#include <QtMath>

namespace norvana {

int fontPixelSize(qreal pointSize)
{
    return qRound(pointSize * 96.0 / 72.0);
}

} // namespace norvana
