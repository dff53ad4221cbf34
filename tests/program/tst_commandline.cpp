// The real program as started from a shell: --help and --version answer
// without a display; without a display it says so in one line and exits 1
// instead of aborting in the toolkit; a platform chosen explicitly is
// trusted; any other argument is ignored.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A socket file that nothing listens on any more, as a compositor that
// died leaves behind.
bool makeStaleSocket(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (size_t(name.size()) >= sizeof address.sun_path)
        return false;
    qstrcpy(address.sun_path, name.constData());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound = fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    if (fd >= 0)
        ::close(fd);
    return bound;
}

// An X display number that no local server has.
QString freeXDisplay()
{
    for (int n = 90;; ++n) {
        if (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)))
            return QStringLiteral(":%1").arg(n);
    }
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
    // scratch one, plus the given variables.
    void start(QProcess &program, const QStringList &arguments, const QStringList &variables);

    QTemporaryDir m_runtime;
};

void tst_CommandLine::initTestCase()
{
    QVERIFY(m_runtime.isValid());
    QVERIFY(makeStaleSocket(m_runtime.filePath(QStringLiteral("stale"))));
}

void tst_CommandLine::start(QProcess &program, const QStringList &arguments, const QStringList &variables)
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
    program.start(QStringLiteral(NORVANA_PROGRAM), arguments);
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
    QTest::addColumn<QString>("missing");       // what the line says is missing

    const QString deadX = freeXDisplay();
    const QString none = QStringLiteral("neither DISPLAY nor WAYLAND_DISPLAY is set");
    const QString noCompositor = QStringLiteral("no Wayland compositor answers at %1 (WAYLAND_DISPLAY)");
    QTest::newRow("nothing set") << QStringList{} << QStringList{} << none;
    // Qt's own options are words, not clusters of letters such as -h.
    QTest::newRow("unknown and Qt's arguments")
        << QStringList{QStringLiteral("--unknown"), QStringLiteral("-stylesheet"), QStringLiteral("my.qss")}
        << QStringList{} << none;
    QTest::newRow("X display without server")
        << QStringList{} << QStringList{QStringLiteral("DISPLAY=") + deadX}
        << QStringLiteral("the X display %1 (DISPLAY) does not answer").arg(deadX);
    QTest::newRow("-display without server")
        << QStringList{QStringLiteral("-display"), deadX} << QStringList{}
        << QStringLiteral("the X display %1 (-display) does not answer").arg(deadX);
    QTest::newRow("X display over TCP without server")
        << QStringList{} << QStringList{QStringLiteral("DISPLAY=127.0.0.1") + deadX}
        << QStringLiteral("the X display 127.0.0.1%1 (DISPLAY) does not answer").arg(deadX);
    QTest::newRow("Wayland without compositor")
        << QStringList{} << QStringList{QStringLiteral("WAYLAND_DISPLAY=norvana-none")}
        << noCompositor.arg(m_runtime.filePath(QStringLiteral("norvana-none")));
    QTest::newRow("Wayland socket left by a dead compositor")
        << QStringList{} << QStringList{QStringLiteral("WAYLAND_DISPLAY=stale")}
        << noCompositor.arg(m_runtime.filePath(QStringLiteral("stale")));
    QTest::newRow("Wayland socket by path")
        << QStringList{} << QStringList{QStringLiteral("WAYLAND_DISPLAY=") + m_runtime.filePath(QStringLiteral("stale")),
                                        QStringLiteral("XDG_RUNTIME_DIR")}
        << noCompositor.arg(m_runtime.filePath(QStringLiteral("stale")));
    QTest::newRow("Wayland session without runtime directory")
        << QStringList{} << QStringList{QStringLiteral("XDG_SESSION_TYPE=wayland"), QStringLiteral("XDG_RUNTIME_DIR")}
        << QStringLiteral("XDG_RUNTIME_DIR, where the Wayland compositor's socket wayland-0 would be, is not set");
    QTest::newRow("neither answers")
        << QStringList{}
        << QStringList{QStringLiteral("WAYLAND_DISPLAY=stale"), QStringLiteral("DISPLAY=") + deadX}
        << noCompositor.arg(m_runtime.filePath(QStringLiteral("stale")))
               + QStringLiteral(" and the X display %1 (DISPLAY) does not answer").arg(deadX);
}

// One line on standard error, naming what is missing and what to do, and
// status 1: not the toolkit's abort.
void tst_CommandLine::refusesWithoutDisplay()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, variables);
    QFETCH(QString, missing);

    QProcess program;
    start(program, arguments, variables);
    QVERIFY(program.waitForFinished(30000));
    const QString error = QString::fromLocal8Bit(program.readAllStandardError());
    QCOMPARE(program.readAllStandardOutput(), QByteArray());
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    QCOMPARE(error, QStringLiteral("norvana: no display to open the window on: %1; start Norvana in a "
                                   "desktop session, or on a virtual display: xvfb-run norvana\n")
                        .arg(missing));
}

void tst_CommandLine::startsOnChosenPlatform_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("variables");

    const QStringList deadWayland{QStringLiteral("WAYLAND_DISPLAY=stale")};
    QTest::newRow("QT_QPA_PLATFORM")
        << QStringList{} << QStringList{QStringLiteral("QT_QPA_PLATFORM=offscreen")};
    QTest::newRow("-platform") << QStringList{QStringLiteral("-platform"), QStringLiteral("offscreen")}
                               << deadWayland;
    QTest::newRow("--platform and an unknown argument")
        << QStringList{QStringLiteral("--unknown"), QStringLiteral("--platform"), QStringLiteral("offscreen")}
        << deadWayland;
}

// The window opens and the program runs on until it is ended.
void tst_CommandLine::startsOnChosenPlatform()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, variables);

    QProcess program;
    start(program, arguments, variables);
    QVERIFY(program.waitForStarted());
    const bool ended = program.waitForFinished(1500);
    program.kill();
    program.waitForFinished();
    QVERIFY2(!ended, program.readAllStandardError().constData());
}

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
