#include "startupguard.h"

#include <QRegularExpression>
#include <QStringList>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <mutex>

#include <unistd.h>

namespace norvana {

namespace {
// A reading of one of the toolkit's messages: what is missing and what to do.
// %1 is the pattern's capture in the reason, the toolkit's platforms in what to do.
struct Reading { const char *pattern, *reason, *todo; };

constexpr char kUseDisplay[] = "start Norvana in a desktop session, or on a virtual display: xvfb-run norvana";

// The platform plugins' own words come first. A plugin that could not start has often
// said why before its "could not load" message, the last reading, which then adds nothing.
constexpr Reading kReadings[] = {
    {"could not connect to display\\s*$", "no X display is set (DISPLAY)", kUseDisplay},
    {"could not connect to display (\\S+)", "the X display %1 does not answer or refuses the connection", kUseDisplay},
    {"Failed to create wl_display", "no Wayland compositor answers (WAYLAND_DISPLAY)", kUseDisplay},
    {"Could not find the Qt platform plugin \"wayland", "Qt's Wayland platform plugin is missing",
     "install qt6-wayland, or use X"},
    {"Could not find the Qt platform plugin \"([^\"]*)\"", "Qt has no platform plugin \"%1\"",
     "choose one it has with QT_QPA_PLATFORM or -platform: %1"},
    {"Could not load the Qt platform plugin \"([^\"]*)\"", "Qt's platform plugin \"%1\" could not start",
     "QT_DEBUG_PLUGINS=1 norvana tells why"},
};
constexpr const Reading *kPluginsOwnWordsEnd = kReadings + 3;

std::mutex g_mutex;
QStringList g_held; // the toolkit's messages as it would write them

// The signals that would end the program without a word while the window opens: a crash,
// as when a display lost halfway makes the toolkit use a reply it never got; and SIGPIPE,
// from writing to a display that hung up, which is ignored so that the toolkit finds the
// connection broken and says so. A signal that something else handles already, such as
// a sanitizer, stays its own.
constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT, SIGPIPE};
struct sigaction g_previous[std::size(kSignals)];

// The line for a toolkit that gave up with the fatal message, from the messages it gave before.
QByteArray failureLine(const QString &fatal)
{
    const QString available =
        QRegularExpression(QStringLiteral("Available platform plugins are: (.*)\\.")).match(fatal).captured(1);
    QStringList reasons, todos;
    bool explained = false; // by a plugin's own words since its last "could not load"
    for (const QString &message : std::as_const(g_held)) {
        for (const Reading &reading : kReadings) {
            const QRegularExpressionMatch match = QRegularExpression(QLatin1String(reading.pattern)).match(message);
            if (!match.hasMatch())
                continue;
            if (&reading != std::end(kReadings) - 1 || !explained) {
                reasons << QString::fromLatin1(reading.reason).replace(QLatin1String("%1"), match.captured(1));
                todos << QString::fromLatin1(reading.todo).replace(QLatin1String("%1"), available);
            }
            explained = &reading < kPluginsOwnWordsEnd;
            break;
        }
    }
    if (reasons.isEmpty())
        reasons << fatal.section(u'\n', 0, 0).trimmed();
    reasons.removeDuplicates();
    todos.removeDuplicates();
    todos.prepend(reasons.join(QLatin1String(" and ")));
    return "norvana: cannot open the window: " + todos.join(QLatin1String("; ")).toLocal8Bit() + '\n';
}

// Writes the held messages out. Called with g_mutex locked.
void passOn()
{
    for (const QString &message : std::as_const(g_held))
        std::fputs(qPrintable(message + u'\n'), stderr);
    g_held.clear();
}

void holdMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    const std::lock_guard lock(g_mutex);
    if (type == QtFatalMsg) {
        if (qEnvironmentVariableIsSet("QT_DEBUG_PLUGINS"))
            passOn(); // the plugins' story, asked for, before the line
        std::fputs(failureLine(text).constData(), stderr);
        std::_Exit(1); // not an abort: no core dump, nothing of the half-built toolkit runs
    }
    g_held.append(qFormatLogMessage(type, context, text));
    // A connection lost halfway: the toolkit ends the program itself right after saying so.
    if (text.contains(QRegularExpression(QStringLiteral("^The (X11|Wayland) connection (broke|experienced)"))))
        passOn(); // what it said stands
}

// Says so with async-signal-safe calls only. The handler is reset to the default
// (SA_RESETHAND), which the signal raised again meets on return: the status and any
// core dump are the crash's own.
void onCrash(int signal)
{
    constexpr char kLine[] = "norvana: cannot open the window: the program crashed while starting\n";
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, kLine, sizeof kLine - 1);
    ::raise(signal);
}
} // namespace

StartupGuard::StartupGuard()
{
    qInstallMessageHandler(holdMessage);
    struct sigaction onCrashAction = {};
    onCrashAction.sa_handler = onCrash;
    onCrashAction.sa_flags = SA_RESETHAND;
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        ::sigaction(kSignals[i], nullptr, &g_previous[i]);
        if (g_previous[i].sa_handler == SIG_DFL)
            ::sigaction(kSignals[i], kSignals[i] == SIGPIPE ? &ignore : &onCrashAction, nullptr);
    }
}

void StartupGuard::finish()
{
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], &g_previous[i], nullptr);
    qInstallMessageHandler(nullptr);
    const std::lock_guard lock(g_mutex);
    passOn();
}

} // namespace norvana
