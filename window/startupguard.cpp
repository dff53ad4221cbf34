#include "startupguard.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <mutex>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/stat.h>
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
    const char *todo; // may be empty
    // The toolkit ends the program itself right after this message, with
    // no fatal message: the guard ends it first, to say why.
    bool endsProgram = false;
};

struct HeldMessage
{
    QtMsgType type;
    QByteArray category;
    QString text;
};

constexpr char kUseDisplay[] = "start Norvana in a desktop session, or on a virtual display: xvfb-run norvana";
constexpr char kLineStart[] = "norvana: cannot open the window: ";
constexpr char kConnectionClosed[] = "the display closed the connection while the window was opening";

// The platform plugins' own words come first: a plugin that could not start
// has often said why in the message just before, and then its "could not
// load" message, the last reading, adds nothing.
constexpr Reading kReadings[] = {
    {"^The Wayland connection (broke|experienced a fatal error)", kConnectionClosed, "", true},
    {"^The X11 connection broke", kConnectionClosed, ""},
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
constexpr int kPluginsOwnWords = 5;

#ifdef Q_OS_LINUX
// Whether the display closed the connection: a socket of the process whose
// other end has hung up. Async-signal-safe.
bool displayClosedConnection()
{
    for (int fd = 3; fd < 1024; ++fd) {
        struct stat status;
        pollfd socket{fd, POLLRDHUP, 0};
        if (::fstat(fd, &status) == 0 && S_ISSOCK(status.st_mode) && ::poll(&socket, 1, 0) > 0
            && (socket.revents & (POLLRDHUP | POLLHUP)))
            return true;
    }
    return false;
}
#else
bool displayClosedConnection()
{
    return false;
}
#endif

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
    bool anyOwnWords = false;
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
        anyOwnWords = anyOwnWords || explained;
    }
    // A plugin that could not start, or no word at all, on a connection the
    // display has closed: the closed connection is why.
    if (!anyOwnWords && displayClosedConnection()) {
        reasons = QStringList{QLatin1String(kConnectionClosed)};
        todos.clear();
    }
    if (reasons.isEmpty())
        reasons << fatal.section(u'\n', 0, 0).trimmed();
    reasons.removeDuplicates();
    todos.removeDuplicates();
    todos.removeAll(QString());
    todos.prepend(reasons.join(QLatin1String(" and ")));
    return kLineStart + todos.join(QLatin1String("; ")).toLocal8Bit() + '\n';
}

std::mutex g_mutex;
QtMessageHandler g_previous = nullptr;
QList<HeldMessage> g_messages;
#ifdef SIGPIPE
void (*g_onBrokenPipe)(int) = SIG_DFL;
#endif
std::atomic_bool g_guarding = false;
#ifdef Q_OS_LINUX
int g_stderr = -1;       // the real standard error, while it is held back
int g_held = -1;         // what was written to standard error meanwhile
int g_heldMessages = -1; // the held messages as the toolkit would write them
constexpr int kCrashSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};
struct sigaction g_onCrash[std::size(kCrashSignals)];

// Writes all of a file in memory to standard error. Async-signal-safe.
void passOnFile(int fd)
{
    char buffer[4096];
    off_t at = 0;
    for (ssize_t n; (n = ::pread(fd, buffer, sizeof buffer, at)) > 0; at += n)
        (void)!::write(STDERR_FILENO, buffer, size_t(n));
}

void writeText(const char *text)
{
    (void)!::write(STDERR_FILENO, text, std::strlen(text));
}

// A crash while the toolkit starts: what was held back and the line, with
// async-signal-safe calls only, then the crash goes on as it would have.
void onCrash(int signal)
{
    if (g_held >= 0) {
        ::dup2(g_stderr, STDERR_FILENO);
        passOnFile(g_held);
        passOnFile(g_heldMessages);
    }
    writeText(kLineStart);
    if (displayClosedConnection()) {
        writeText(kConnectionClosed);
    } else {
        char number[] = "the program crashed (signal 00) while the window was opening";
        char *digits = std::strchr(number, '0');
        digits[0] = char('0' + signal / 10 % 10);
        digits[1] = char('0' + signal % 10);
        writeText(number);
    }
    writeText("\n");
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}
#endif

// Puts standard error back, then, when asked to, passes on what was written
// to it meanwhile and the messages held back. Called with g_mutex locked.
void restoreStandardError(bool passOn)
{
    g_guarding = false;
#ifdef Q_OS_LINUX
    for (std::size_t i = 0; i < std::size(kCrashSignals); ++i)
        ::sigaction(kCrashSignals[i], &g_onCrash[i], nullptr);
    if (g_held >= 0) {
        ::dup2(g_stderr, STDERR_FILENO);
        ::close(g_stderr);
        if (passOn)
            passOnFile(g_held);
        ::close(g_held);
        g_held = -1;
        if (g_heldMessages >= 0)
            ::close(g_heldMessages);
        g_heldMessages = -1;
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

// Ends the program with the line, after what was held back when asked to.
// Not an abort: no core dump, and nothing of the half-built toolkit runs at
// exit. Called with g_mutex locked.
[[noreturn]] void endStartup(const QByteArray &line, bool passOn)
{
    restoreStandardError(passOn);
    std::fputs(line.constData(), stderr);
    std::fflush(stderr);
    std::_Exit(1);
}

void holdMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    const std::lock_guard lock(g_mutex);
    if (type == QtFatalMsg) {
        // Asked for the plugins' story, the user gets it before the line.
        endStartup(failureLine(g_messages, text), qEnvironmentVariableIsSet("QT_DEBUG_PLUGINS"));
    }
    g_messages.append({type, QByteArray(context.category), text});
#ifdef Q_OS_LINUX
    if (g_heldMessages >= 0) {
        const QByteArray formatted = qFormatLogMessage(type, context, text).toLocal8Bit() + '\n';
        (void)!::write(g_heldMessages, formatted.constData(), size_t(formatted.size()));
    }
#endif
    const bool ends = std::any_of(std::begin(kReadings), std::end(kReadings), [&](const Reading &r) {
        return r.endsProgram && QRegularExpression(QLatin1String(r.pattern)).match(text).hasMatch();
    });
    if (ends)
        endStartup(failureLine(g_messages, text), true);
}

// The program ends with exit() while the toolkit starts: the display
// library, or the toolkit, gave up on the connection.
void onExit()
{
    if (!g_guarding)
        return;
    const std::lock_guard lock(g_mutex);
    endStartup(failureLine(g_messages, QStringLiteral("the program ended while the window was opening")), true);
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
        g_heldMessages = ::memfd_create("norvana-messages", MFD_CLOEXEC);
    } else if (held >= 0) {
        ::close(held);
        if (real >= 0)
            ::close(real);
    }
    // A crash in the toolkit, as on a connection lost halfway, still says
    // what it held back and why the window did not open.
    struct sigaction onCrashAction = {};
    onCrashAction.sa_handler = onCrash;
    sigemptyset(&onCrashAction.sa_mask);
    for (std::size_t i = 0; i < std::size(kCrashSignals); ++i)
        ::sigaction(kCrashSignals[i], &onCrashAction, &g_onCrash[i]);
#endif
    static const bool exitWatched = std::atexit(onExit) == 0;
    Q_UNUSED(exitWatched);
    g_guarding = true;
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
