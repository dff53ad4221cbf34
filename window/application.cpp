#include "application.h"

#include "deferredstyle.h"

#include <QGuiApplication>

namespace norvana {

void setUpApplication()
{
    useDeferredStyle();
    QCoreApplication::setApplicationName(QStringLiteral("Norvana"));
    QCoreApplication::setApplicationVersion(QStringLiteral(NORVANA_VERSION_TEXT));
    // The desktop file's id, by which a Wayland desktop finds its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.norvana.Norvana"));
}

} // namespace norvana
