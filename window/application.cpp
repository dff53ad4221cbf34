#include "application.h"

#include "sharediconstyle.h"
#ifdef Q_OS_WIN
#include "parentconsole.h"
#include "sessionend.h"
#endif

#include <QCommandLineParser>
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

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Norvana"));
    QCoreApplication::setApplicationVersion(QStringLiteral(NORVANA_VERSION_TEXT));
}

} // namespace

void answerCommandLine(int argc, char *argv[])
{
    QStringList arguments;
    arguments.reserve(argc);
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QCommandLineParser parser;
    // The toolkit's options (-style, -platform...) are whole words, not
    // clusters of one-letter options.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral(
        "Risk score for serious bacterial infection from PCT, CRP and the urine dipstick.\n"
        "Other arguments are ignored, apart from the options of Qt itself (-style, -platform...)."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help and ends."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Shows the version and ends."));
    parser.addOptions({help, version});
    parser.parse(arguments); // unknown arguments are no error
    if (parser.isSet(help) || parser.isSet(version)) {
        // Both answers print and end the program, with no display needed.
#ifdef Q_OS_WIN
        useParentConsole();
#endif
        QCoreApplication application(argc, argv);
        nameApplication();
        if (parser.isSet(help))
            parser.showHelp(0);
        parser.showVersion();
    }
}

void setUpApplication()
{
    useSharedIconStyle();
    nameApplication();
    // The desktop file's id, by which a Wayland desktop finds its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.norvana.Norvana"));
    loadTranslations();
#ifdef Q_OS_WIN
    endWithWindowsSession();
#endif
}

} // namespace norvana
