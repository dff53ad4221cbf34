#include "startupguard.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <mutex>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace norvana {

namespace {

// A reading of one of the toolkit's messages: what is missing and what to
// do. %1 in the reason is the pattern's capture, in what to do the
// platforms the toolkit has.
struct Reading
{
    const char *pattern;
    const char *reason;
    const char *todo;
};

struct HeldMessage
{
    QtMsgType type;
    QByteArray category;
    QString text;
};

constexpr char kUseDisplay[] = "start Norvana in a desktop session, or on a virtual display: xvfb-run norvana";

// The platform plugins' own words come first: a plugin that could not start
// has often said why in the message just before, and then its "could not
// load" message, the last reading, adds nothing.
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
constexpr int kPluginsOwnWords = 3;

// The line for a toolkit that gave up with the fatal message, from the
// messages it gave before.
QByteArray failureLine(const QList<HeldMessage> &messages, const QString &fatal)
{
    const QString available =
        QRegularExpression(QStringLiteral("Available platform plugins are: (.*)\\.")).match(fatal).captured(1);
    const Reading *const couldNotLoad = std::end(kReadings) - 1;
    QStringList reasons;
    QStringList todos;
    bool explained = false;
    for (const HeldMessage &message : messages) {
        QRegularExpressionMatch match;
        const Reading *reading = std::find_if(std::begin(kReadings), std::end(kReadings), [&](const Reading &r) {
            match = QRegularExpression(QLatin1String(r.pattern)).match(message.text);
            return match.hasMatch();
        });
        if (reading != std::end(kReadings) && !(reading == couldNotLoad && explained)) {
            reasons << QString::fromLatin1(reading->reason).replace(QLatin1String("%1"), match.captured(1));
            todos << QString::fromLatin1(reading->todo).replace(QLatin1String("%1"), available);
        }
        explained = reading < std::begin(kReadings) + kPluginsOwnWords;
    }
    if (reasons.isEmpty())
        reasons << fatal.section(u'\n', 0, 0).trimmed();
    reasons.removeDuplicates();
    todos.removeDuplicates();
    todos.prepend(reasons.join(QLatin1String(" and ")));
    return "norvana: cannot open the window: " + todos.join(QLatin1String("; ")).toLocal8Bit() + '\n';
}

std::mutex g_mutex;
QtMessageHandler g_previous = nullptr;
QList<HeldMessage> g_messages;
#ifdef SIGPIPE
void (*g_onBrokenPipe)(int) = SIG_DFL;
#endif
#ifdef Q_OS_LINUX
int g_stderr = -1; // the real standard error, while it is held back
int g_held = -1;   // what was written to standard error meanwhile
#endif

// Puts standard error back, then, when asked to, passes on what was written
// to it meanwhile and the messages held back. Called with g_mutex locked.
void restoreStandardError(bool passOn)
{
#ifdef Q_OS_LINUX
    if (g_held >= 0) {
        ::dup2(g_stderr, STDERR_FILENO);
        ::close(g_stderr);
        char buffer[4096];
        off_t at = 0;
        for (ssize_t n; passOn && (n = ::pread(g_held, buffer, sizeof buffer, at)) > 0; at += n)
            (void)!::write(STDERR_FILENO, buffer, size_t(n));
        ::close(g_held);
        g_held = -1;
    }
#endif
    if (passOn) {
        for (const HeldMessage &message : std::as_const(g_messages)) {
            const QByteArray &category = message.category;
            const QMessageLogContext context(nullptr, 0, nullptr, category.isNull() ? nullptr : category.constData());
            g_previous(message.type, context, message.text);
        }
    }
    g_messages.clear();
}

void holdMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    const std::lock_guard lock(g_mutex);
    if (type != QtFatalMsg) {
        g_messages.append({type, QByteArray(context.category), text});
        return;
    }
    const QByteArray line = failureLine(g_messages, text);
    // Asked for the plugins' story, the user gets it before the line.
    restoreStandardError(qEnvironmentVariableIsSet("QT_DEBUG_PLUGINS"));
    std::fputs(line.constData(), stderr);
    // Not an abort: no core dump, and nothing of the half-built toolkit
    // runs at exit.
    std::_Exit(1);
}

} // namespace

StartupGuard::StartupGuard()
{
#ifdef SIGPIPE
    // A display that closes the connection at once makes the toolkit's first
    // write to it fail, which would end the program without a word.
    g_onBrokenPipe = std::signal(SIGPIPE, SIG_IGN);
#endif
#ifdef Q_OS_LINUX
    // Xlib and libwayland write to standard error themselves; what they
    // write goes to a file in memory until the toolkit has started.
    const int held = ::memfd_create("norvana-startup", MFD_CLOEXEC);
    const int real = held < 0 ? -1 : ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
    if (real >= 0 && ::dup2(held, STDERR_FILENO) >= 0) {
        g_held = held;
        g_stderr = real;
    } else if (held >= 0) {
        ::close(held);
        if (real >= 0)
            ::close(real);
    }
#endif
    g_previous = qInstallMessageHandler(holdMessage);
}

void StartupGuard::finish()
{
#ifdef SIGPIPE
    std::signal(SIGPIPE, g_onBrokenPipe);
#endif
    qInstallMessageHandler(g_previous);
    const std::lock_guard lock(g_mutex);
    restoreStandardError(true);
}

} // namespace norvana
