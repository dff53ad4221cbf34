#include "formtest.h"

#include <QApplication>
#include <QMenuBar>
#include <QTimer>

// The menu item "?" and the ways the program ends, on the real window.
class tst_AboutAndExit : public WindowSuite
{
    Q_OBJECT

private Q_SLOTS:
    void about_data();
    void about();
    void fineEndsProgram_data();
    void fineEndsProgram();
    void closingEndsProgram();

};

void tst_AboutAndExit::about_data()
{
    QTest::addColumn<int>("chooseKey"); // 0: a mouse click on "?"
    QTest::addColumn<int>("closeKey"); // 0: closed by its window
    QTest::addColumn<QString>("focus"); // the control that has the focus before

    QTest::newRow("mouse click on ?") << 0 << int(Qt::Key_Return) << "txtPCT";
    QTest::newRow("Alt, Enter, closed with Enter") << int(Qt::Key_Return) << int(Qt::Key_Return)
                                                   << "txtPCT";
    QTest::newRow("Alt, Enter, closed with Escape")
        << int(Qt::Key_Return) << int(Qt::Key_Escape) << "txtPCT";
    QTest::newRow("Alt, Enter, closed by its window") << int(Qt::Key_Return) << 0 << "txtPCT";
    QTest::newRow("Alt, Space, closed with Enter") << int(Qt::Key_Space) << int(Qt::Key_Return)
                                                   << "txtCRP";
    QTest::newRow("Alt, Space, closed with Escape")
        << int(Qt::Key_Space) << int(Qt::Key_Escape) << "txtCRP";
}

// "?" shows the version; once the box is closed, whichever way it was
// opened and closed, typing goes on in the control that had the focus.
void tst_AboutAndExit::about()
{
    QFETCH(int, chooseKey);
    QFETCH(int, closeKey);
    QFETCH(QString, focus);

    QStringList lines;
    bool plainText = false;
    m_w->boxes.setWhileOpen([&](QMessageBox *box) {
        plainText = box->textFormat() == Qt::PlainText;
        lines = box->text().split(u'\n');
        if (closeKey)
            QTest::keyClick(box, Qt::Key(closeKey));
        else
            box->close(); // as the title bar's button or Alt+F4 does
    });
    auto *entry = control<QLineEdit>(m_w->window, focus.toLatin1().constData());
    entry->setFocus();
    QMenuBar *bar = m_w->window.menuBar();
    QAction *info = m_w->window.findChild<QAction *>(QStringLiteral("Info"));
    QVERIFY(info);
    if (chooseKey) {
        // Alt alone enters the menu bar; Enter or Space chooses "?".
        QTest::keyPress(m_w->handle(), Qt::Key_Alt);
        QTest::keyRelease(m_w->handle(), Qt::Key_Alt);
        m_w->key(Qt::Key(chooseKey));
    } else {
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(info).center());
    }

    QTRY_COMPARE(m_w->boxes.boxes().size(), 1);
    const BoxWatcher::Box &box = m_w->boxes.boxes().first();
    QCOMPARE(box.title, kBoxTitle);
    QCOMPARE(box.icon, QMessageBox::NoIcon);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(box.buttonCount, 1);
    QVERIFY(plainText);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(box.text, QString::fromUtf16(norvana::kAboutText));
    QCOMPARE(lines.first(), QStringLiteral("Ver. 290413"));
    QVERIFY(!lines.last().trimmed().isEmpty());
    QVERIFY(!box.text.contains(u'\r'));

    QCOMPARE(m_w->focusName(), focus);
    m_w->type(QStringLiteral("3"));
    QCOMPARE(entry->text(), QStringLiteral("3"));
}

void tst_AboutAndExit::fineEndsProgram_data()
{
    addPressRows();
}

void tst_AboutAndExit::fineEndsProgram()
{
    QFETCH(QString, how);
    QTimer::singleShot(0, this, [&] { m_w->press(m_w->c.quitButton, how); });
    // A watchdog ends a loop that Fine failed to end.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    watchdog.start(5000);

    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(m_w->boxes.boxes().isEmpty());
}

void tst_AboutAndExit::closingEndsProgram()
{
    QTimer::singleShot(0, &m_w->window, &QWidget::close);
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    watchdog.start(5000);
    QCOMPARE(QCoreApplication::exec(), 0);
}

QTEST_MAIN(tst_AboutAndExit)
#include "tst_aboutandexit.moc"
