// The start-up guard on Windows, where a program with a window has no
// standard error to write to: whatever keeps the toolkit from opening the
// window is said in one message box titled "NORVANA", and the program exits
// with status 1. The toolkit's other messages go where they always go on
// Windows (the debugger's output).
#include "startupguard.h"

#include <QString>

#include <cstdlib>

#include <windows.h>

namespace norvana {

namespace {

QtMessageHandler g_previous = nullptr;

void onMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type != QtFatalMsg) {
        g_previous(type, context, text);
        return;
    }
    const QString prompt = QStringLiteral("Norvana non pu\u00f2 aprire la finestra.\n\n") + text.trimmed();
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t *>(prompt.utf16()), L"NORVANA",
                MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
    // Not an abort: nothing of the half-built toolkit runs at exit.
    std::_Exit(1);
}

} // namespace

StartupGuard::StartupGuard()
{
    g_previous = qInstallMessageHandler(onMessage);
}

void StartupGuard::finish()
{
    qInstallMessageHandler(g_previous);
}

} // namespace norvana
