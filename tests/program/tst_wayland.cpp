// Norvana on a Wayland compositor, which wayland_session.sh starts: the real
// program chooses Wayland by itself and shows its window there, and the
// window, shown on Wayland, computes a score when driven as a user would.
#include "formtest.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QProcess>

#include <cstdio>

namespace {

constexpr int kSkipped = 77;

} // namespace

class tst_Wayland : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void programOpensItsWindow();
    void calculation_data();
    void calculation();
};

void tst_Wayland::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
}

// Started as a desktop would start it, with WAYLAND_DISPLAY and neither
// DISPLAY nor QT_QPA_PLATFORM, it shows its window there and runs on. The
// toolkit's warning about the unknown style asked for here is held back
// until the window is shown: once it is out, the program must still run.
void tst_Wayland::programOpensItsWindow()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("QT_IM_MODULE"));
    QProcess program;
    program.setProcessEnvironment(environment);
    QString error;
    connect(&program, &QProcess::readyReadStandardError, this,
            [&] { error += QString::fromLocal8Bit(program.readAllStandardError()); });
    program.start(QStringLiteral(NORVANA_PROGRAM), {QStringLiteral("-style"), QStringLiteral("norvana-no-such-style")});
    QVERIFY(program.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(!error.isEmpty() || program.state() != QProcess::Running, 30000);
    const bool running = program.state() == QProcess::Running;
    program.kill();
    program.waitForFinished();
    QVERIFY2(running, qPrintable(error));
}

void tst_Wayland::calculation_data()
{
    QTest::addColumn<QString>("pct");
    QTest::addColumn<QString>("crp");
    QTest::addColumn<QString>("dip");
    QTest::addColumn<QString>("score");

    QTest::newRow("2 + 2 + 1") << "1,5" << "45" << "Positivo" << "5";
    QTest::newRow("4 + 4 + 0") << "7" << "150" << "Negativo" << "8";
}

void tst_Wayland::calculation()
{
    QFETCH(QString, pct);
    QFETCH(QString, crp);
    QFETCH(QString, dip);
    QFETCH(QString, score);

    OpenWindow w;
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    typeInto(w.c.pctEdit, pct);
    typeInto(w.c.crpEdit, crp);
    typeInto(w.c.dipstickCombo, dip);
    QTest::mouseClick(w.c.calculateButton, Qt::LeftButton);
    QCOMPARE(w.c.scoreLabel->text(), score);
    QVERIFY(w.boxes.boxes().empty());
}

int main(int argc, char *argv[])
{
    // Without Qt's Wayland plugin (package qt6-wayland) the application
    // object cannot start on Wayland.
    const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms"));
    if (platforms.entryList({QStringLiteral("*qwayland-generic*")}, QDir::Files).isEmpty()) {
        std::puts("SKIP: Qt's Wayland platform plugin is missing: install qt6-wayland");
        return kSkipped;
    }
    // Weston's headless backend has no seat: no keyboard, no pointer. Qt
    // 6.4's Wayland input method support takes a seat for granted and
    // crashes at the first key event without one, so this window, which
    // receives its keys from the test, goes without an input method.
    qputenv("QT_IM_MODULE", "none");
    QApplication application(argc, argv);
    tst_Wayland test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_wayland.moc"
