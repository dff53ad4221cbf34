// The real program as started from a shell: --help and --version answer
// without a display; whatever keeps the toolkit from opening a window, the
// program says so in one line and exits 1 instead of aborting; a platform
// chosen explicitly is used; any other argument is ignored.
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstring>
#include <limits>
#include <memory>
#include <thread>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// An X display number from `first` on that no local server has.
QString freeXDisplay(int first)
{
    for (int n = first;; ++n) {
        if (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)))
            return QStringLiteral(":%1").arg(n);
    }
}

// A display's socket where something listens but does not speak its
// protocol: it closes each connection at once. Or, given a real X display's
// socket, it passes the bytes both ways until `limit` of them have passed in
// all, then hangs up: a display lost at that point of the start. An address
// that begins with '@' is in Linux's abstract namespace, where X clients look
// first.
class StandInDisplay
{
public:
    explicit StandInDisplay(const QByteArray &address, const QByteArray &real = {},
                            qint64 limit = std::numeric_limits<qint64>::max())
        : m_fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0))
    {
        const sockaddr_un at = unixAddress(address);
        const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + size_t(address.size()));
        if (::bind(m_fd, reinterpret_cast<const sockaddr *>(&at), length) != 0 || ::listen(m_fd, 8) != 0)
            return;
        m_thread = std::thread([this, real, limit] {
            while (!m_ending) {
                if (const int client = ::accept(m_fd, nullptr, nullptr); client >= 0) {
                    if (!real.isEmpty())
                        relay(client, real, limit);
                    ::close(client);
                }
            }
        });
    }
    ~StandInDisplay()
    {
        m_ending = true;
        ::shutdown(m_fd, SHUT_RDWR); // ends the accept()
        if (m_thread.joinable())
            m_thread.join();
        ::close(m_fd);
    }
    bool listens() const { return m_thread.joinable(); }
    qint64 passed() const { return m_passed; } // on the last connection, so far

private:
    static sockaddr_un unixAddress(const QByteArray &address)
    {
        sockaddr_un at{};
        at.sun_family = AF_UNIX;
        std::memcpy(at.sun_path, address.constData(), size_t(address.size()));
        if (address.startsWith('@'))
            at.sun_path[0] = '\0';
        return at;
    }
    void relay(int client, const QByteArray &real, qint64 limit)
    {
        const int server = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const sockaddr_un at = unixAddress(real);
        m_passed = 0;
        if (::connect(server, reinterpret_cast<const sockaddr *>(&at), sizeof at) == 0) {
            pollfd ends[] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
            while (m_passed < limit && ::poll(ends, 2, 30000) > 0) {
                const bool fromServer = ends[1].revents;
                char buffer[4096];
                const auto most = size_t(std::min<qint64>(sizeof buffer, limit - m_passed));
                const ssize_t n = ::read(ends[fromServer].fd, buffer, most);
                // A peer that has hung up ends the relay, not the test (SIGPIPE).
                if (n <= 0 || ::send(ends[!fromServer].fd, buffer, size_t(n), MSG_NOSIGNAL) != n)
                    break;
                m_passed += n;
            }
        }
        ::close(server);
    }

    int m_fd;
    std::atomic_bool m_ending = false;
    std::atomic<qint64> m_passed = 0;
    std::thread m_thread;
};

// A stand-in X display on the first free display number from `first` on.
std::unique_ptr<StandInDisplay> standInX(int first, QString &display, const QByteArray &real = {},
                                         qint64 limit = std::numeric_limits<qint64>::max())
{
    std::unique_ptr<StandInDisplay> standIn;
    for (int next = first; next < first + 100 && !(standIn && standIn->listens());) {
        display = freeXDisplay(next);
        next = display.mid(1).toInt() + 1;
        standIn = std::make_unique<StandInDisplay>("@/tmp/.X11-unix/X" + display.mid(1).toLatin1(), real, limit);
    }
    return standIn;
}

// The command that starts a program in a mount namespace of its own, where
// the file or folder `target` shows `source` instead (root only).
QStringList hiding(const QString &source, const QString &target)
{
    return {QStringLiteral("unshare"), QStringLiteral("-m"), QStringLiteral("sh"), QStringLiteral("-c"),
            QStringLiteral("mount --bind \"$0\" \"$1\" && shift && exec \"$@\""), source, target};
}

// A whole start's bytes in this many steps, a display hanging up after each.
constexpr int kLostDisplaySteps = 20;

} // namespace

class tst_CommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase()
    {
        m_xvfb.terminate(); // not a kill: Xvfb takes its socket and lock file with it
        m_xvfb.waitForFinished();
    }
    void answers_data();
    void answers();
    void refusesWithoutDisplay_data();
    void refusesWithoutDisplay();
    void endsOnLostDisplay_data();
    void endsOnLostDisplay();
    void startsOnChosenPlatform_data();
    void startsOnChosenPlatform();

private:
    // The program with no display of any kind, its runtime directory a
    // scratch one, plus the given variables; started through the command
    // `through` when there is one.
    void start(QProcess &program, const QStringList &arguments, const QStringList &variables,
               const QStringList &through = {});

    QTemporaryDir m_runtime;
    QString m_muteDisplay;
    std::unique_ptr<StandInDisplay> m_mute;
    std::unique_ptr<StandInDisplay> m_muteWayland;
    QProcess m_xvfb; // a real X display for stand-ins that hang up halfway
    QString m_realX;
    qint64 m_startBytes = 0; // that a whole start exchanges with it
};

void tst_CommandLine::initTestCase()
{
    QVERIFY(m_runtime.isValid());
    // Another run of this test at the same time holds its own mute display:
    // the next free one is taken.
    m_mute = standInX(190, m_muteDisplay);
    QVERIFY(m_mute && m_mute->listens());
    m_muteWayland = std::make_unique<StandInDisplay>(m_runtime.filePath(QStringLiteral("norvana-mute")).toLocal8Bit());
    QVERIFY(m_muteWayland->listens());
    m_realX = freeXDisplay(390);
    m_xvfb.start(QStringLiteral("Xvfb"), {m_realX, QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    m_xvfb.waitForStarted();
    QTRY_VERIFY(m_xvfb.state() != QProcess::Running || QFile::exists(QStringLiteral("/tmp/.X11-unix/X") + m_realX.mid(1)));
    // A platforms folder with the X11 plugin only.
    const QString platforms = QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms");
    QVERIFY(QDir(m_runtime.path()).mkdir(QStringLiteral("platforms")));
    QFile::copy(platforms + QStringLiteral("/libqxcb.so"), m_runtime.filePath(QStringLiteral("platforms/libqxcb.so")));
}

void tst_CommandLine::start(QProcess &program, const QStringList &arguments, const QStringList &variables,
                            const QStringList &through)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "XDG_SESSION_TYPE", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    for (const QString &variable : variables) {
        const qsizetype equals = variable.indexOf(u'=');
        if (equals < 0)
            environment.remove(variable);
        else
            environment.insert(variable.left(equals), variable.mid(equals + 1));
    }
    program.setProcessEnvironment(environment);
    const QStringList command = through + QStringList{QStringLiteral(NORVANA_PROGRAM)} + arguments;
    program.start(command.first(), command.mid(1));
}

void tst_CommandLine::answers_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("pattern"); // of the whole standard output

    const QString version = QStringLiteral("Norvana 1\\.00\n");
    const QString help = QStringLiteral("Usage: \\S*norvana \\[options\\]\n(.*\n)*"
                                        "  -h, --help +.*\n  -v, --version +.*\n");
    QTest::newRow("--version") << QStringList{QStringLiteral("--version")} << version;
    QTest::newRow("-v") << QStringList{QStringLiteral("-v")} << version;
    QTest::newRow("--version after others")
        << QStringList{QStringLiteral("--unknown"), QStringLiteral("-style"), QStringLiteral("fusion"),
                       QStringLiteral("--version")}
        << version;
    QTest::newRow("--help") << QStringList{QStringLiteral("--help")} << help;
    QTest::newRow("-h") << QStringList{QStringLiteral("-h")} << help;
}

// Answered on standard output with status 0, though there is no display.
void tst_CommandLine::answers()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, pattern);

    QProcess program;
    start(program, arguments, {});
    QVERIFY(program.waitForFinished(30000));
    const QString output = QString::fromLocal8Bit(program.readAllStandardOutput());
    QCOMPARE(program.readAllStandardError(), QByteArray());
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QVERIFY2(QRegularExpression(QLatin1Char('^') + pattern + QLatin1Char('$')).match(output).hasMatch(),
             qPrintable(output));
}

void tst_CommandLine::refusesWithoutDisplay_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("variables"); // NAME=VALUE sets, NAME removes
    QTest::addColumn<QStringList>("through");   // a command that starts the program
    QTest::addColumn<QString>("says");          // what the line says, or how it begins

    const QString deadX = freeXDisplay(90);
    const QString noX = QStringLiteral("no X display is set (DISPLAY)");
    const QString noWayland = QStringLiteral("no Wayland compositor answers (WAYLAND_DISPLAY) and ");
    const QString useDisplay =
        QStringLiteral("; start Norvana in a desktop session, or on a virtual display: xvfb-run norvana\n");
    const QString notAnswering = QStringLiteral("the X display %1 does not answer or refuses the connection") + useDisplay;
    QTest::newRow("nothing set") << QStringList{} << QStringList{} << QStringList{} << noX + useDisplay;
    // Qt's own options are words, not clusters of letters such as -h.
    QTest::newRow("unknown and Qt's arguments")
        << QStringList{QStringLiteral("--unknown"), QStringLiteral("-stylesheet"), QStringLiteral("my.qss")}
        << QStringList{} << QStringList{} << noX + useDisplay;
    QTest::newRow("X11 asked for without DISPLAY")
        << QStringList{} << QStringList{QStringLiteral("QT_QPA_PLATFORM=xcb")} << QStringList{} << noX + useDisplay;
    QTest::newRow("X display without server")
        << QStringList{} << QStringList{QStringLiteral("DISPLAY=") + deadX} << QStringList{} << notAnswering.arg(deadX);
    QTest::newRow("-display without server")
        << QStringList{QStringLiteral("-display"), deadX} << QStringList{} << QStringList{} << notAnswering.arg(deadX);
    QTest::newRow("X display that does not speak X")
        << QStringList{} << QStringList{QStringLiteral("DISPLAY=") + m_muteDisplay} << QStringList{}
        << notAnswering.arg(m_muteDisplay);
    QTest::newRow("Wayland without compositor")
        << QStringList{} << QStringList{QStringLiteral("WAYLAND_DISPLAY=norvana-none")} << QStringList{}
        << noWayland + noX + useDisplay;
    QTest::newRow("Wayland session without runtime directory")
        << QStringList{} << QStringList{QStringLiteral("XDG_SESSION_TYPE=wayland"), QStringLiteral("XDG_RUNTIME_DIR")}
        << QStringList{} << noWayland + noX + useDisplay;
    QTest::newRow("unknown platform")
        << QStringList{} << QStringList{QStringLiteral("QT_QPA_PLATFORM=nosuchplatform")} << QStringList{}
        << QStringLiteral("Qt has no platform plugin \"nosuchplatform\"; choose one it has with QT_QPA_PLATFORM or "
                          "-platform: ");
    // A platform without screens fails when the window is shown.
    QTest::newRow("no screen")
        << QStringList{} << QStringList{QStringLiteral("QT_QPA_PLATFORM=linuxfb:fb=/nonexistent")} << QStringList{}
        << QString(); // Qt's own words follow
    // Qt's platforms folder with the X11 plugin only, on a Wayland compositor.
    QTest::newRow("Wayland plugin missing")
        << QStringList{} << QStringList{}
        << QStringList{QStringLiteral("bash"), QStringLiteral(NORVANA_WAYLAND_SESSION), QStringLiteral("env"),
                       QStringLiteral("-u"), QStringLiteral("QT_QPA_PLATFORM")}
               + hiding(m_runtime.filePath(QStringLiteral("platforms")),
                        QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms"))
        << QStringLiteral("Qt's Wayland platform plugin is missing and ") + noX
               + QStringLiteral("; install qt6-wayland, or use X") + useDisplay;
    QTest::newRow("X11 plugin's library missing")
        << QStringList{} << QStringList{}
        << hiding(QStringLiteral("/dev/null"),
                  QLibraryInfo::path(QLibraryInfo::LibrariesPath) + QStringLiteral("/libQt6XcbQpa.so.6"))
        << QStringLiteral("Qt's platform plugin \"xcb\" could not start; QT_DEBUG_PLUGINS=1 norvana tells why\n");
}

// One line on standard error, saying what is missing and what to do, and
// status 1: not the toolkit's abort and its core dump.
void tst_CommandLine::refusesWithoutDisplay()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, variables);
    QFETCH(QStringList, through);
    QFETCH(QString, says);

    if (const qsizetype at = through.indexOf(QStringLiteral("unshare")); at >= 0) {
        // Not as root, or in a chroot, unshare or mount says why it fails.
        QProcess probe;
        probe.start(through[at], through.mid(at + 1) << QStringLiteral("true"));
        if (!probe.waitForFinished(30000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0) {
            const QString why = QString::fromLocal8Bit(probe.readAllStandardError()).trimmed();
            QSKIP(qPrintable(QStringLiteral("no mount namespace of its own here: ")
                             + (why.isEmpty() ? probe.errorString() : why)));
        }
    }
    QProcess program;
    start(program, arguments, variables, through);
    QVERIFY(program.waitForFinished(30000));
    const QByteArray output = program.readAllStandardOutput();
    if (program.exitCode() == 77 && output.startsWith("SKIP: "))
        QSKIP(output.trimmed().constData()); // no Wayland compositor to start
    const QString error = QString::fromLocal8Bit(program.readAllStandardError());
    QCOMPARE(output, QByteArray());
    QVERIFY2(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 1,
             qPrintable(QStringLiteral("status %1, %2").arg(program.exitCode()).arg(error)));
    // Without a runtime directory, libwayland writes to standard error itself.
    const qsizetype lineStart = variables.contains(QStringLiteral("XDG_RUNTIME_DIR")) ? error.lastIndexOf(u'\n', -2) + 1 : 0;
    QVERIFY2(error.mid(lineStart).startsWith(QStringLiteral("norvana: cannot open the window: ") + says)
                 && error.count(u'\n') == 1 + error.left(lineStart).count(u'\n') && error.endsWith(u'\n'),
             qPrintable(error));
}

void tst_CommandLine::endsOnLostDisplay_data()
{
    QTest::addColumn<bool>("wayland");
    QTest::addColumn<int>("share"); // the steps of a whole start's bytes that pass before the X display hangs up

    QTest::newRow("Wayland display that hangs up at once") << true << 0;
    for (int share = 1; share < kLostDisplaySteps; ++share)
        QTest::addRow("X display that hangs up after %d/%d of the start", share, kLostDisplaySteps) << false << share;
}

// A display that hangs up while the window opens, wherever in the start: the
// program ends, not with status 0 and without hanging, and says why on
// standard error: the toolkit's and the display library's words (held back
// until then), or where it crashed, its own line.
void tst_CommandLine::endsOnLostDisplay()
{
    QFETCH(bool, wayland);
    QFETCH(int, share);

    QStringList variables{QStringLiteral("WAYLAND_DISPLAY=norvana-mute")};
    std::unique_ptr<StandInDisplay> hangsUp;
    if (!wayland) {
        if (m_xvfb.state() != QProcess::Running)
            QSKIP("no Xvfb to stand in front of");
        const QByteArray real = "/tmp/.X11-unix/X" + m_realX.mid(1).toLatin1();
        QString display;
        if (m_startBytes == 0) {
            // A whole start, up to the window's being shown: the held debug messages come out then.
            hangsUp = standInX(490, display, real);
            QVERIFY(hangsUp && hangsUp->listens());
            QProcess whole;
            whole.setReadChannel(QProcess::StandardError);
            start(whole, {}, {QStringLiteral("DISPLAY=") + display, QStringLiteral("QT_LOGGING_RULES=qt.qpa.*.debug=true")});
            QVERIFY(whole.waitForReadyRead(30000) && whole.state() == QProcess::Running);
            m_startBytes = hangsUp->passed();
            whole.kill();
            whole.waitForFinished();
        }
        hangsUp = standInX(490, display, real, m_startBytes * share / kLostDisplaySteps);
        QVERIFY(hangsUp && hangsUp->listens());
        variables = QStringList{QStringLiteral("DISPLAY=") + display};
    }
    QProcess program;
    start(program, {}, variables);
    QVERIFY(program.waitForFinished(30000));
    const QString error = QString::fromLocal8Bit(program.readAllStandardError());
    QCOMPARE(program.readAllStandardOutput(), QByteArray());
    const bool crashed = program.exitStatus() == QProcess::CrashExit;
    QVERIFY2(crashed || program.exitCode() != 0, qPrintable(error));
    QVERIFY2(!error.trimmed().isEmpty(), "nothing said");
    QVERIFY2(!crashed || error.startsWith(QLatin1String("norvana: ")) || error.contains(QLatin1String("\nnorvana: ")),
             qPrintable(error));
}

void tst_CommandLine::startsOnChosenPlatform_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("variables");
    QTest::addColumn<QStringList>("says"); // named on standard error, among other things

    const QStringList deadWayland{QStringLiteral("WAYLAND_DISPLAY=norvana-none")};
    QTest::newRow("QT_QPA_PLATFORM")
        << QStringList{} << QStringList{QStringLiteral("QT_QPA_PLATFORM=offscreen")} << QStringList{};
    QTest::newRow("-platform") << QStringList{QStringLiteral("-platform"), QStringLiteral("offscreen")}
                               << deadWayland << QStringList{};
    QTest::newRow("--platform and an unknown argument")
        << QStringList{QStringLiteral("--unknown"), QStringLiteral("--platform"), QStringLiteral("offscreen")}
        << deadWayland << QStringList{};
    // The toolkit's messages while it starts, held back then: each names what
    // it could not find.
    QTest::newRow("the toolkit's messages")
        << QStringList{QStringLiteral("-style"), QStringLiteral("nosuchstyle")}
        << QStringList{QStringLiteral("QT_QPA_PLATFORM=nosuchplatform;offscreen")}
        << QStringList{QStringLiteral("nosuchplatform"), QStringLiteral("nosuchstyle")};
}

// The window opens and the program runs on until it is ended. The
// toolkit's debug messages, asked for here, are held back until the window is
// shown: once they and the expected messages are out, the program must still
// be running.
void tst_CommandLine::startsOnChosenPlatform()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, variables);
    QFETCH(QStringList, says);

    QProcess program;
    program.setReadChannel(QProcess::StandardError);
    start(program, arguments, variables << QStringLiteral("QT_LOGGING_RULES=qt.*.debug=true"));
    QVERIFY(program.waitForStarted());
    QString error;
    const auto saidAll = [&] {
        const auto said = [&](const QString &text) { return error.contains(text); };
        return !error.isEmpty() && std::all_of(says.begin(), says.end(), said);
    };
    while (!saidAll() && program.waitForReadyRead(30000))
        error += QString::fromLocal8Bit(program.readAllStandardError());
    const bool running = program.state() == QProcess::Running;
    program.kill();
    program.waitForFinished();
    error += QString::fromLocal8Bit(program.readAllStandardError());
    QVERIFY2(running, qPrintable(error));
    QVERIFY2(saidAll(), qPrintable(error));
}

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
