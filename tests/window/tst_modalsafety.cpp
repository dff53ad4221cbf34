#include "formtest.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QWindow>

// No handler runs while a warning is open, and warnings come one after the
// other, never two at once: holding Enter in txtPCT on a refused value,
// however the presses arrive, and clicking the window's controls.
class tst_ModalSafety : public QObject
{
    Q_OBJECT

public:
    enum class Path {
        WidgetAutoRepeat, // auto-repeat key events sent straight to txtPCT
        WindowSystem,     // key events from the window system, to the window
        WindowSystemAutoRepeat, // auto-repeat key events from the window system
    };
    Q_ENUM(Path)

private Q_SLOTS:
    void heldEnter_data();
    void heldEnter();
    void noHandlerWhileBoxOpen();
    void refusedSelectionSurvivesActivation_data();
    void refusedSelectionSurvivesActivation();
};

namespace {

constexpr int kBurst = 20;

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
    case tst_ModalSafety::Path::WindowSystemAutoRepeat:
        // As the window system reports them, to the window: queued, then
        // taken up.
        queueKey(box->window()->windowHandle(), Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"),
                 path == tst_ModalSafety::Path::WindowSystemAutoRepeat);
        QWindowSystemInterface::flushWindowSystemEvents();
        break;
    }
}

} // namespace

void tst_ModalSafety::heldEnter_data()
{
    QTest::addColumn<Path>("path");
    QTest::addColumn<bool>("whileOpen"); // the burst arrives while the first box is open
    QTest::addColumn<int>("boxes");

    // Presses sent to txtPCT itself while a box is open must not run its
    // handler: one box in all. Presses from the window system go to the box
    // and close it, and each one after that warns anew, one box at a time.
    QTest::newRow("auto-repeat to txtPCT while the box is open")
        << Path::WidgetAutoRepeat << true << 1;
    QTest::newRow("window-system presses while the box is open")
        << Path::WindowSystem << true << kBurst;
    QTest::newRow("window-system auto-repeat while the box is open")
        << Path::WindowSystemAutoRepeat << true << kBurst;
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

    OpenWindow w;
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    typeInto(w.c.pctEdit, QStringLiteral("0"));

    // The watcher records every box; one opened while another is open, by
    // a handler that should not have run, shows as one box too many.
    if (whileOpen) {
        bool ranWhileOpen = false;
        w.boxes.setWhileOpen([&](QMessageBox *box) {
            ranWhileOpen = QApplication::activeModalWidget() == box;
            for (int i = 0; i < kBurst; ++i)
                pressEnter(path, w.c.pctEdit);
        });
        QTest::keyClick(w.c.pctEdit, Qt::Key_Return);
        QVERIFY(ranWhileOpen);
    } else {
        for (int i = 0; i < kBurst; ++i)
            pressEnter(path, w.c.pctEdit);
    }

    QCOMPARE(w.boxes.texts(), QStringList(boxes, kValueWarning));
    QVERIFY(reactivated(&w.window));
    QCOMPARE(w.window.focusWidget(), w.c.pctEdit);
    QCOMPARE(w.c.pctEdit->selectedText(), QStringLiteral("0"));
}

// Clicks and keys delivered to the window's controls while a warning is
// open run no handler: no calculation, no second box. Afterwards the flow
// goes on.
void tst_ModalSafety::noHandlerWhileBoxOpen()
{
    OpenWindow w;
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    typeInto(w.c.crpEdit, QStringLiteral("45"));
    typeInto(w.c.pctEdit, QStringLiteral("abc"));

    w.boxes.setWhileOpen([&](QMessageBox *) {
        QTest::mouseClick(w.c.calculateButton, Qt::LeftButton);
        w.c.calculateButton->click();
        QTest::keyClick(w.c.pctEdit, Qt::Key_Return);
        QTest::mouseClick(w.c.crpEdit, Qt::LeftButton);
    });
    QTest::keyClick(w.c.pctEdit, Qt::Key_Return);

    QCOMPARE(w.boxes.texts(), QStringList{kValueWarning});
    QCOMPARE(w.c.scoreLabel->text(), QString());
    QVERIFY(!w.c.crpEdit->hasSelectedText());

    // The refused text is selected for correction, and the next press of
    // Calcola calculates.
    QVERIFY(reactivated(&w.window));
    QCOMPARE(w.window.focusWidget(), w.c.pctEdit);
    QCOMPARE(w.c.pctEdit->selectedText(), QStringLiteral("abc"));
    w.boxes.setWhileOpen(nullptr);
    QTest::keyClick(w.c.pctEdit, Qt::Key_2);
    QTest::mouseClick(w.c.calculateButton, Qt::LeftButton);
    QCOMPARE(w.c.scoreLabel->text(), QStringLiteral("6"));
    QCOMPARE(w.boxes.boxes().size(), 1);
}

void tst_ModalSafety::refusedSelectionSurvivesActivation_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("warning");

    QTest::newRow("txtPCT") << "txtPCT" << "abc" << kValueWarning;
    QTest::newRow("cmbDipUrine") << "cmbDipUrine" << "forse" << kDipWarning;
}

// The window is activated and at once deactivated again, as when a box
// opens right after another closed: the refused text keeps its selection.
// (A line edit drops, a moment after its window's activation, the selection
// of a field that has no focus by then.)
void tst_ModalSafety::refusedSelectionSurvivesActivation()
{
    QFETCH(QString, entry);
    QFETCH(QString, text);
    QFETCH(QString, warning);

    OpenWindow w;
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    QWidget *target = control<QWidget>(w.window, qPrintable(entry));
    QLineEdit *edit = textField(w.window, entry);
    target->setFocus();
    edit->selectAll();
    w.type(text);
    w.key(Qt::Key_Return);
    QCOMPARE(w.boxes.texts(), QStringList{warning});
    QVERIFY(reactivated(&w.window));
    QCOMPARE(edit->selectedText(), text);

    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    w.window.activateWindow();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    // The line edit's check, queued at its window's activation, runs now.
    QCoreApplication::processEvents();

    w.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    QCOMPARE(w.window.focusWidget(), target);
    QCOMPARE(edit->selectedText(), text);
}

QTEST_MAIN(tst_ModalSafety)
#include "tst_modalsafety.moc"
