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
#include <memory>
#include <thread>

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

// An X display whose socket, in Linux's abstract namespace where X clients
// look first, accepts each connection and closes it at once: something
// listens there, but it does not speak X.
class MuteXDisplay
{
public:
    explicit MuteXDisplay(const QString &display) : m_fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0))
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = "/tmp/.X11-unix/X" + display.mid(1).toLatin1();
        std::memcpy(address.sun_path + 1, name.constData(), size_t(name.size())); // after a zero byte
        const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + size_t(name.size()));
        if (::bind(m_fd, reinterpret_cast<sockaddr *>(&address), length) != 0 || ::listen(m_fd, 8) != 0)
            return;
        m_thread = std::thread([this] {
            while (!m_ending) {
                if (const int client = ::accept(m_fd, nullptr, nullptr); client >= 0)
                    ::close(client);
            }
        });
    }
    ~MuteXDisplay()
    {
        m_ending = true;
        ::shutdown(m_fd, SHUT_RDWR); // ends the accept()
        if (m_thread.joinable())
            m_thread.join();
        ::close(m_fd);
    }
    bool listens() const { return m_thread.joinable(); }

private:
    int m_fd;
    std::atomic_bool m_ending = false;
    std::thread m_thread;
};

// The command that starts a program in a mount namespace of its own, where
// the file or folder `target` shows `source` instead (root only).
QStringList hiding(const QString &source, const QString &target)
{
    return {QStringLiteral("unshare"), QStringLiteral("-m"), QStringLiteral("sh"), QStringLiteral("-c"),
            QStringLiteral("mount --bind \"$0\" \"$1\" && shift && exec \"$@\""), source, target};
}

} // namespace

class tst_CommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void answers_data();
    void answers();
    void refusesWithoutDisplay_data();
    void refusesWithoutDisplay();
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
    std::unique_ptr<MuteXDisplay> m_mute;
};

void tst_CommandLine::initTestCase()
{
    QVERIFY(m_runtime.isValid());
    // Another run of this test at the same time holds its own mute display:
    // the next free one is taken.
    for (int next = 190; next < 290 && !(m_mute && m_mute->listens());) {
        m_muteDisplay = freeXDisplay(next);
        next = m_muteDisplay.mid(1).toInt() + 1;
        m_mute = std::make_unique<MuteXDisplay>(m_muteDisplay);
    }
    QVERIFY(m_mute->listens());
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
    // libwayland then writes to standard error itself.
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
        << QStringLiteral("Cannot create window: no screens available\n");
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
        const QStringList probe = through.mid(at) << QStringLiteral("true");
        if (QProcess::execute(probe.first(), probe.mid(1)) != 0)
            QSKIP("a mount namespace of its own is not allowed here (root only)");
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
    QVERIFY2(error.startsWith(QStringLiteral("norvana: cannot open the window: ") + says) && error.count(u'\n') == 1
                 && error.endsWith(u'\n'),
             qPrintable(error));
}

void tst_CommandLine::startsOnChosenPlatform_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("variables");
    QTest::addColumn<QStringList>("says"); // on standard error, among other things

    const QStringList deadWayland{QStringLiteral("WAYLAND_DISPLAY=norvana-none")};
    QTest::newRow("QT_QPA_PLATFORM")
        << QStringList{} << QStringList{QStringLiteral("QT_QPA_PLATFORM=offscreen")} << QStringList{};
    QTest::newRow("-platform") << QStringList{QStringLiteral("-platform"), QStringLiteral("offscreen")}
                               << deadWayland << QStringList{};
    QTest::newRow("--platform and an unknown argument")
        << QStringList{QStringLiteral("--unknown"), QStringLiteral("--platform"), QStringLiteral("offscreen")}
        << deadWayland << QStringList{};
    // The toolkit's messages while it starts, held back then, and later ones.
    QTest::newRow("the toolkit's messages")
        << QStringList{QStringLiteral("-style"), QStringLiteral("nosuchstyle")}
        << QStringList{QStringLiteral("QT_QPA_PLATFORM=nosuchplatform;offscreen")}
        << QStringList{QStringLiteral("\"nosuchplatform\""), QStringLiteral("'nosuchstyle'")};
}

// The window opens and the program runs on until it is ended. Two of the
// toolkit's messages, asked for here, show how far it came: the platform
// plugin's at start, held back until the window is shown, and the one the
// event loop gives when it first asks for a pointing device, which the
// offscreen platform has none of. Once they and the expected messages have
// come, the program must still be running.
void tst_CommandLine::startsOnChosenPlatform()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, variables);
    QFETCH(QStringList, says);

    const QStringList progress{QStringLiteral("qt.qpa.plugin: Successfully loaded Qt platform plugin"),
                               QStringLiteral("qt.qpa.input.devices: no mouse-like devices registered")};
    QProcess program;
    program.setReadChannel(QProcess::StandardError);
    start(program, arguments, variables << QStringLiteral("QT_LOGGING_RULES=qt.qpa.plugin.debug=true;qt.qpa.input.devices.debug=true"));
    QVERIFY(program.waitForStarted());
    QString error;
    const auto saidAll = [&] {
        const auto said = [&](const QString &text) { return error.contains(text); };
        return std::all_of(progress.begin(), progress.end(), said) && std::all_of(says.begin(), says.end(), said);
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
