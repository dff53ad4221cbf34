#include "application.h"

#include "deferredstyle.h"

#include <QGuiApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace norvana {

namespace {

// Qt's own texts (the boxes' context menu, standard buttons) in Italian, as
// the window is, whatever the user's locale. Without the translations
// installed they stay in English.
void loadTranslations()
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral("qtbase_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

void setUpApplication()
{
    useDeferredStyle();
    QCoreApplication::setApplicationName(QStringLiteral("Norvana"));
    QCoreApplication::setApplicationVersion(QStringLiteral(NORVANA_VERSION_TEXT));
    // The desktop file's id, by which a Wayland desktop finds its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.norvana.Norvana"));
    loadTranslations();
}

} // namespace norvana
