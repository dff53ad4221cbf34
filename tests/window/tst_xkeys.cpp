// The keyboard roads acted out with real X key events: xdotool sends them
// through the X server to the real window, on the xcb platform, with or
// without a window manager. Run by scripts/xkeys.sh under Xvfb; it needs a
// display, so CTest does not run it.
#include "formtest.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QFile>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>

class tst_XKeys : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void road_data();
    void road();

private:
    std::unique_ptr<norvana::ScoreWindow> m_window;
};

namespace {

QString focusName()
{
    QWidget *focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QStringLiteral("(none)");
}

// The keys of a row as a shell script of xdotool commands; "wait:WHAT"
// waits until the window has marked WHAT in `marks`, and takes the mark.
QString script(const QString &keys, const QString &marks)
{
    QStringList commands{QStringLiteral("set -e")};
    for (const QString &step : keys.split(u' ')) {
        const QString what = step.section(u':', 0, 0);
        const QString arg = step.section(u':', 1);
        if (what == u"wait")
            commands << QStringLiteral("while ! rm '%1/%2' 2>/dev/null; do sleep 0.02; done").arg(marks, arg);
        else if (what == u"burst")
            commands << QStringLiteral("xdotool key --delay 0 %1").arg(QString(arg).replace(u',', u' '));
        else
            commands << QStringLiteral("xdotool %1 --delay 30 '%2'").arg(what, arg);
    }
    return commands.join(u'\n');
}

// Counts the message boxes shown, and marks in a folder what keys wait for:
// "box" once a message box has the keyboard, "menu" once the menu bar has
// it, "list" once the dipstick's list is shown.
class Watcher : public QObject
{
public:
    explicit Watcher(const QString &marks) : m_marks(marks) { qApp->installEventFilter(this); }
    ~Watcher() override { qApp->removeEventFilter(this); }
    int shown = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const bool box = qobject_cast<QMessageBox *>(watched);
        if (event->type() == QEvent::Show && box)
            ++shown;
        if (event->type() == QEvent::WindowActivate && box)
            mark("box");
        else if (event->type() == QEvent::FocusIn && qobject_cast<QMenuBar *>(watched))
            mark("menu");
        else if (event->type() == QEvent::Show && watched->inherits("QComboBoxPrivateContainer"))
            mark("list");
        return false;
    }

private:
    void mark(const char *what) { QFile(m_marks + u'/' + QLatin1String(what)).open(QIODevice::WriteOnly); }
    QString m_marks;
};

} // namespace

void tst_XKeys::initTestCase()
{
    if (QGuiApplication::platformName() != u"xcb")
        QSKIP("needs an X display: run scripts/xkeys.sh");
}

void tst_XKeys::init()
{
    m_window = std::make_unique<norvana::ScoreWindow>();
    m_window->show();
    // The window must take the keyboard by itself, with or without a
    // window manager: the test does not activate it.
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void tst_XKeys::cleanup()
{
    m_window.reset();
}

void tst_XKeys::road_data()
{
    QTest::addColumn<QString>("pct"); // the entries before the road
    QTest::addColumn<QString>("crp");
    QTest::addColumn<QString>("clipboard"); // what ctrl+v pastes
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("expectPct");
    QTest::addColumn<QString>("expectCrp");
    QTest::addColumn<QString>("score");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("boxes"); // message boxes shown, each closed by a key

    // "type:TEXT" types TEXT 30 ms a key, as a fast typist does; "key:K"
    // presses a key or a chord ("Return", "alt+c"); "click:B" a mouse button
    // where the pointer rests, over the dipstick (5 turns the wheel down);
    // "burst:K,K..." presses keys with no delay between them;
    // "wait:box", "wait:menu" and "wait:list" wait until a message box, the
    // menu bar or the dipstick's list has the keyboard.
    const QString none;
    QTest::newRow("1.2 Enter 45 Enter Enter Enter gives 4")
        << none << none << none
        << "type:1.2 key:Return type:45 key:Return key:Return key:Return"
        << "1.2" << "45" << "4" << "txtCRP" << 0;
    QTest::newRow("Alt+C calculates")
        << "1.2" << "45" << none << "key:alt+c" << "1.2" << "45" << "4" << "txtCRP" << 0;
    QTest::newRow("refused value, OK, then typing replaces it")
        << none << none << none << "type:abc key:Return wait:box key:Return type:2 key:Return"
        << "2" << "" << "" << "txtCRP" << 1;
    QTest::newRow("box closed with Return, 315 at once")
        << none << none << none << "type:abc key:Return wait:box burst:Return,3,1,5"
        << "315" << "" << "" << "txtPCT" << 1;
    // Keys typed before a box has the keyboard go to it: the Return closes
    // it. Behind the first of two warnings, they go to the second.
    QTest::newRow("both refused, Alt+C then Return Return 315 at once")
        << "abc" << "xyz" << none << "key:alt+c wait:box burst:Return,Return,3,1,5" << "315" << "xyz" << ""
        << "txtPCT" << 2;
    QTest::newRow("both refused, Alt+C then Return 315 at once, into the second box")
        << "abc" << "xyz" << none << "key:alt+c wait:box burst:Return,3,1,5 wait:box key:Return" << "abc"
        << "xyz" << "" << "txtPCT" << 2;
    QTest::newRow("refused value, OK, then Alt+C")
        << "1.2" << "0" << none << "key:alt+c wait:box key:Return type:45 key:alt+c"
        << "1.2" << "45" << "4" << "txtCRP" << 1;
    QTest::newRow("Alt+Shift+C calculates")
        << "1.2" << "45" << none << "key:alt+shift+c" << "1.2" << "45" << "4" << "txtCRP" << 0;
    QTest::newRow("Alt+X types nothing")
        << "1.2" << "45" << none << "key:alt+x" << "1.2" << "45" << "" << "txtPCT" << 0;
    QTest::newRow("Space twice on Calcola keeps CRP")
        << "1.2" << "45" << none << "key:Tab key:Tab key:space key:space" << "1.2" << "45" << "4"
        << "txtCRP" << 0;
    QTest::newRow("1.2 Enter 45 Enter Positivo Enter Enter gives 5")
        << none << none << none
        << "type:1.2 key:Return type:45 key:Return type:Positivo key:Return key:Return"
        << "1.2" << "45" << "5" << "txtCRP" << 0;
    QTest::newRow("wheel over the dipstick changes nothing")
        << "1.2" << "45" << none << "click:5 click:5 key:alt+c" << "1.2" << "45" << "4" << "txtCRP"
        << 0;
    QTest::newRow("Alt+R then 7.5 at once")
        << "1.2" << "45" << none << "key:alt+r type:7.5" << "7.5" << "" << "" << "txtPCT" << 0;
    QTest::newRow("Alt+C then 305 at once")
        << "1.2" << "45" << none << "key:alt+c type:305" << "1.2" << "305" << "" << "txtCRP" << 0;

    // "?" chosen from the keyboard: Alt enters the menu bar, Enter or Space
    // chooses "?"; once its box is closed the keys go to the box that had
    // the focus, typed after the closing key or at once behind it.
    for (const char *choose : {"Return", "space"}) {
        for (const char *close : {"Return", "Escape"}) {
            const QString chosen =
                QStringLiteral("key:alt wait:menu key:%1 wait:box ").arg(QLatin1String(choose));
            QTest::addRow("Alt %s, box closed with %s, then 315", choose, close)
                << none << none << none << chosen + QStringLiteral("key:%1 type:315").arg(QLatin1String(close))
                << "315" << "" << "" << "txtPCT" << 1;
            QTest::addRow("Alt %s, box closed with %s, 315 at once", choose, close)
                << none << none << none << chosen + QStringLiteral("burst:%1,3,1,5").arg(QLatin1String(close))
                << "315" << "" << "" << "txtPCT" << 1;
        }
    }

    // With the dipstick list dropped down, an access key closes it and acts.
    QTest::newRow("list dropped down, Alt+C calculates")
        << "1.2" << "45" << none << "key:shift+Tab key:F4 wait:list key:alt+c" << "1.2" << "45" << "4"
        << "txtCRP" << 0;
    // Keys typed right behind the key that closes the list land where the
    // focus is once it has acted.
    QTest::newRow("list dropped down, Alt+C then 150 at once")
        << "1.2" << "45" << none << "key:shift+Tab key:F4 wait:list burst:alt+c,1,5,0" << "1.2" << "150"
        << "" << "txtCRP" << 0;
    QTest::newRow("list dropped down, CRP refused, Alt+C then Return 150 at once")
        << "1.2" << "abc" << none << "key:shift+Tab key:F4 wait:list burst:alt+c,Return,1,5,0" << "1.2"
        << "150" << "" << "txtCRP" << 1;
    QTest::newRow("list dropped down, Alt+R then 0,25 at once")
        << "1.2" << "45" << none << "key:shift+Tab key:F4 wait:list burst:alt+r,0,comma,2,5" << "0,25"
        << "" << "" << "txtPCT" << 0;
    // The first Enter closes the list, the second moves to Calcola, the
    // third calculates, which takes the cursor to CRP.
    QTest::newRow("list dropped down, Enter Enter Enter then 150 at once")
        << "1.2" << "45" << none << "key:shift+Tab key:F4 wait:list burst:Return,Return,Return,1,5,0" << "1.2"
        << "150" << "" << "txtCRP" << 0;
    QTest::newRow("list dropped down, Alt+R resets")
        << "1.2" << "45" << none << "key:shift+Tab key:F4 wait:list key:alt+r type:7" << "7" << "" << ""
        << "txtPCT" << 0;

    // Pasted texts that show one value and may hold another are refused;
    // after OK the whole text is selected, so typing replaces it.
    const QString refusedThenTyped = QStringLiteral("key:ctrl+v key:alt+c wait:box key:Return type:7");
    QTest::newRow("zero-width space pasted into PCT")
        << none << "45" << QStringLiteral("1\u200B20") << refusedThenTyped << "7" << "45" << ""
        << "txtPCT" << 1;
    QTest::newRow("two spreadsheet cells pasted into PCT")
        << none << "45" << QStringLiteral("1.2\t45") << refusedThenTyped << "7" << "45" << ""
        << "txtPCT" << 1;
    QTest::newRow("cell with its line end pasted into CRP")
        << "1.2" << none << QStringLiteral("45\n") << "key:Tab key:ctrl+v key:alt+c" << "1.2"
        << "45\n" << "4" << "txtCRP" << 0;
    QTest::newRow("no-break space pasted into PCT")
        << none << "45" << QStringLiteral("1\u00A020") << refusedThenTyped << "7" << "45" << ""
        << "txtPCT" << 1;
}

void tst_XKeys::road()
{
    QFETCH(QString, pct);
    QFETCH(QString, crp);
    QFETCH(QString, clipboard);
    QFETCH(QString, keys);
    QFETCH(QString, expectPct);
    QFETCH(QString, expectCrp);
    QFETCH(QString, score);
    QFETCH(QString, focus);
    QFETCH(int, boxes);

    const norvana::FormWidgets c = controlsOf(*m_window);
    c.pctEdit->setText(pct);
    c.crpEdit->setText(crp);
    c.pctEdit->selectAll();
    QCOMPARE(focusName(), QStringLiteral("txtPCT"));
    QGuiApplication::clipboard()->setText(clipboard);
    QCursor::setPos(c.dipstickCombo->mapToGlobal(c.dipstickCombo->rect().center()));

    // xdotool runs on its own while this process handles the keys,
    // message boxes included.
    QTemporaryDir marks;
    Watcher watcher(marks.path());
    QProcess xdotool;
    xdotool.start(QStringLiteral("sh"), {QStringLiteral("-c"), script(keys, marks.path())});
    QVERIFY(xdotool.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(xdotool.state() == QProcess::NotRunning, 20000);
    QCOMPARE(xdotool.exitCode(), 0);

    QTRY_COMPARE(c.pctEdit->text(), expectPct);
    QTRY_COMPARE(c.crpEdit->text(), expectCrp);
    QTRY_COMPARE(c.scoreLabel->text(), score);
    QTRY_COMPARE(focusName(), focus);
    QCOMPARE(watcher.shown, boxes);
    QVERIFY(!c.dipstickCombo->view()->isVisible());
    QVERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(tst_XKeys)
#include "tst_xkeys.moc"
