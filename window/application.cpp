#include "application.h"

#include <QCoreApplication>

namespace norvana {

void describeApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Norvana"));
    QCoreApplication::setApplicationVersion(QStringLiteral(NORVANA_VERSION_TEXT));
}

} // namespace norvana
