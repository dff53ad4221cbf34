#include "formtest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWindow>

#include <functional>

// Holding Enter in txtPCT on a refused value: however the presses arrive,
// warnings come one after the other, never two at once, and no handler runs
// while a warning is open.
class tst_ModalSafety : public QObject
{
    Q_OBJECT

public:
    enum class Path {
        WidgetAutoRepeat, // auto-repeat key events sent straight to txtPCT
        WindowSystem,     // QTest::keyClick on the window's QWindow
        WindowSystemAutoRepeat, // auto-repeat key events from the window system
    };
    Q_ENUM(Path)

private Q_SLOTS:
    void heldEnter_data();
    void heldEnter();
};

namespace {

constexpr int kBurst = 20;

// Watches every message box as it opens and closes: counts them, records
// how many were open at once, runs an optional action while the first box
// is open and then presses its OK button.
class BoxProbe : public QObject
{
public:
    BoxProbe() { qApp->installEventFilter(this); }
    ~BoxProbe() override { qApp->removeEventFilter(this); }

    std::function<void()> whileFirstOpen;
    QStringList texts;
    int mostOpenAtOnce = 0;
    bool actionRanWhileOpen = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *box = qobject_cast<QMessageBox *>(watched);
        if (box && event->type() == QEvent::Show) {
            m_open.append(box);
            mostOpenAtOnce = qMax(mostOpenAtOnce, int(m_open.size()));
            texts << box->text();
            QTimer::singleShot(0, box, [this, box] { act(box); });
        } else if (box && event->type() == QEvent::Hide) {
            m_open.removeAll(box);
        }
        return false;
    }

private:
    void act(QMessageBox *box)
    {
        if (texts.size() == 1 && whileFirstOpen) {
            actionRanWhileOpen = QApplication::activeModalWidget() == box;
            whileFirstOpen();
        }
        if (box->isVisible())
            box->button(QMessageBox::Ok)->click();
    }

    QList<QPointer<QMessageBox>> m_open;
};

void pressEnter(tst_ModalSafety::Path path, QLineEdit *box)
{
    switch (path) {
    case tst_ModalSafety::Path::WidgetAutoRepeat: {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"),
                        true);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier,
                          QStringLiteral("\r"), true);
        QCoreApplication::sendEvent(box, &press);
        QCoreApplication::sendEvent(box, &release);
        break;
    }
    case tst_ModalSafety::Path::WindowSystem:
        QTest::keyClick(box->window()->windowHandle(), Qt::Key_Return);
        break;
    case tst_ModalSafety::Path::WindowSystemAutoRepeat:
        // QTest's window-system key path, with the auto-repeat flag set.
        for (const bool press : {true, false}) {
            QTest::simulateEvent(box->window()->windowHandle(), press, Qt::Key_Return,
                                 Qt::NoModifier, QStringLiteral("\r"), true);
        }
        break;
    }
}

} // namespace

void tst_ModalSafety::heldEnter_data()
{
    QTest::addColumn<Path>("path");
    QTest::addColumn<bool>("whileOpen"); // the burst arrives while the first box is open
    QTest::addColumn<int>("boxes");

    // While a box is open, presses reach either the blocked window (dropped)
    // or txtPCT directly, whose handler must not run: one box in all.
    QTest::newRow("auto-repeat to txtPCT while the box is open")
        << Path::WidgetAutoRepeat << true << 1;
    QTest::newRow("window-system presses while the box is open")
        << Path::WindowSystem << true << 1;
    QTest::newRow("window-system auto-repeat while the box is open")
        << Path::WindowSystemAutoRepeat << true << 1;
    // Each press after the previous box was dismissed warns anew.
    QTest::newRow("auto-repeat to txtPCT, each box dismissed")
        << Path::WidgetAutoRepeat << false << kBurst;
    QTest::newRow("window-system presses, each box dismissed")
        << Path::WindowSystem << false << kBurst;
    QTest::newRow("window-system auto-repeat, each box dismissed")
        << Path::WindowSystemAutoRepeat << false << kBurst;
}

void tst_ModalSafety::heldEnter()
{
    QFETCH(Path, path);
    QFETCH(bool, whileOpen);
    QFETCH(int, boxes);

    norvana::Form1 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const FormControlsUnderTest ui(window);
    typeInto(ui.txtPCT, QStringLiteral("0"));

    BoxProbe probe;
    if (whileOpen) {
        probe.whileFirstOpen = [&] {
            for (int i = 0; i < kBurst; ++i)
                pressEnter(path, ui.txtPCT);
        };
        QTest::keyClick(ui.txtPCT, Qt::Key_Return);
        QVERIFY(probe.actionRanWhileOpen);
    } else {
        for (int i = 0; i < kBurst; ++i)
            pressEnter(path, ui.txtPCT);
    }

    QCOMPARE(probe.texts,
             QStringList(boxes, kValueWarning));
    QCOMPARE(probe.mostOpenAtOnce, 1);
    QCOMPARE(window.focusWidget(), ui.txtPCT);
    QCOMPARE(ui.txtPCT->selectedText(), QStringLiteral("0"));
}

QTEST_MAIN(tst_ModalSafety)
#include "tst_modalsafety.moc"
