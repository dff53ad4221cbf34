// The start-up guard on Windows, where a program with a window has no
// standard error to write to: whatever keeps the toolkit from opening the
// window is said in one message box titled "NORVANA", and the program exits
// with status 1. The toolkit's other messages go where they always go on
// Windows (the debugger's output).
#include "startupguard.h"

#include <QCoreApplication>
#include <QString>

#include <cstdlib>

#include <windows.h>

namespace norvana {

namespace {

QtMessageHandler g_previous = nullptr;
constexpr char kNoPlatform[] = "This application failed to start because no Qt platform plugin";

void onMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type != QtFatalMsg) {
        g_previous(type, context, text);
        return;
    }
    // Qt has shown this one in a box of its own already, titled with the
    // application's name (see StartupGuard()), where no console is attached.
    if (text.startsWith(QLatin1String(kNoPlatform)) && !GetConsoleWindow())
        std::_Exit(1);
    const QString prompt = QStringLiteral("Norvana non pu\u00f2 aprire la finestra.\n\n") + text.trimmed();
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t *>(prompt.utf16()), L"NORVANA",
                MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
    // Not an abort: nothing of the half-built toolkit runs at exit.
    std::_Exit(1);
}

} // namespace

StartupGuard::StartupGuard()
{
    // The title of Qt's own box for a missing platform; setUpApplication()
    // names the application once the window can open.
    QCoreApplication::setApplicationName(QStringLiteral("NORVANA"));
    g_previous = qInstallMessageHandler(onMessage);
}

void StartupGuard::finish()
{
    qInstallMessageHandler(g_previous);
}

} // namespace norvana
