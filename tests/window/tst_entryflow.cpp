#include "form1.h"
#include "formtest.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTimer>

#include <memory>

using norvana::Form1;

// The keyboard road through the entries, clicks into the value fields,
// Reset, About and Fine, acted out on the real window. Keys go through the
// window system, as a user's do, so they reach whatever has the focus.
class tst_EntryFlow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void keyboardRoad_data();
    void keyboardRoad();
    void enterChecksEachValue_data();
    void enterChecksEachValue();
    void enterInComboMovesToCalcola();
    void dropDownListPicksItem();
    void clickSelectsForOvertyping_data();
    void clickSelectsForOvertyping();
    void resetClearsEntries();
    void changeClearsScore_data();
    void changeClearsScore();
    void undoStopsAtNewStart_data();
    void undoStopsAtNewStart();
    void keysTypeNormally_data();
    void keysTypeNormally();
    void keyBurstAfterAction_data();
    void keyBurstAfterAction();
    void about_data();
    void about();
    void fineEndsProgram_data();
    void fineEndsProgram();
    void closingEndsProgram();
    void noHandlerWhileBoxOpen();

private:
    QWindow *window() const { return m_w->window.windowHandle(); }
    QString focusName() const;
    void type(const QString &text);
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void calculateRoad();

    std::unique_ptr<OpenWindow> m_w;
};

void tst_EntryFlow::init()
{
    m_w = std::make_unique<OpenWindow>();
    QVERIFY(QTest::qWaitForWindowActive(&m_w->window));
}

void tst_EntryFlow::cleanup()
{
    m_w.reset();
}

QString tst_EntryFlow::focusName() const
{
    if (!reactivated(&m_w->window))
        return QStringLiteral("(window not active)");
    QWidget *focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QStringLiteral("(none)");
}

void tst_EntryFlow::type(const QString &text)
{
    for (const QChar c : text)
        QTest::keyClick(window(), c.toLatin1());
}

void tst_EntryFlow::key(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(window(), key, modifiers);
}

// Start, 1.2 Enter, 45 Enter, Enter, Enter: the score 4.
void tst_EntryFlow::calculateRoad()
{
    type(QStringLiteral("1.2"));
    key(Qt::Key_Return);
    type(QStringLiteral("45"));
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    QCOMPARE(m_w->c.lblScore->text(), QStringLiteral("4"));
}

void tst_EntryFlow::keyboardRoad_data()
{
    QTest::addColumn<bool>("keypad"); // Enter of the numeric keypad, not Return
    QTest::addColumn<int>("downPresses"); // moves through the dipstick list
    QTest::addColumn<QString>("dip");
    QTest::addColumn<QString>("score");

    QTest::newRow("Negativo left as it is gives 4") << false << 0 << "Negativo" << "4";
    QTest::newRow("Positivo picked by keyboard gives 5") << false << 1 << "Positivo" << "5";
    QTest::newRow("list does not run past its end") << false << 3 << "Positivo" << "5";
    QTest::newRow("keypad Enter, Negativo gives 4") << true << 0 << "Negativo" << "4";
    QTest::newRow("keypad Enter, Positivo gives 5") << true << 1 << "Positivo" << "5";
}

void tst_EntryFlow::keyboardRoad()
{
    QFETCH(bool, keypad);
    QFETCH(int, downPresses);
    QFETCH(QString, dip);
    QFETCH(QString, score);
    const auto enter = [&] { keypad ? key(Qt::Key_Enter, Qt::KeypadModifier) : key(Qt::Key_Return); };

    QCOMPARE(focusName(), QStringLiteral("txtPCT"));
    type(QStringLiteral("1.2"));
    enter();
    QCOMPARE(focusName(), QStringLiteral("txtCRP"));
    type(QStringLiteral("45"));
    enter();
    QCOMPARE(focusName(), QStringLiteral("cmbDipUrine"));
    for (int i = 0; i < downPresses; ++i)
        key(Qt::Key_Down);
    QCOMPARE(m_w->c.cmbDipUrine->currentText(), dip);
    enter();
    QCOMPARE(focusName(), QStringLiteral("cmdCalcola"));
    QCOMPARE(m_w->c.lblScore->text(), QString());
    enter();

    QCOMPARE(m_w->c.lblScore->text(), score);
    QVERIFY(m_w->boxes.boxes().isEmpty());
    QCOMPARE(m_w->c.cmbDipUrine->count(), 2);
}

void tst_EntryFlow::enterChecksEachValue_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QStringList>("warnings");

    const QStringList none;
    const QStringList refused{kValueWarning};
    QTest::newRow("pct letters refused") << "txtPCT" << "abc" << "txtPCT" << refused;
    QTest::newRow("pct 1.2 moves on") << "txtPCT" << "1.2" << "txtCRP" << none;
    QTest::newRow("pct empty refused") << "txtPCT" << "" << "txtPCT" << refused;
    QTest::newRow("pct 600 refused") << "txtPCT" << "600" << "txtPCT" << refused;
    QTest::newRow("crp 45 moves on") << "txtCRP" << "45" << "cmbDipUrine" << none;
    QTest::newRow("crp -1 refused") << "txtCRP" << "-1" << "txtCRP" << refused;
    QTest::newRow("crp 1000.5 refused") << "txtCRP" << "1000.5" << "txtCRP" << refused;
}

void tst_EntryFlow::enterChecksEachValue()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, focus);
    QFETCH(QStringList, warnings);

    calculateRoad(); // a score on display, which a refusal must clear
    auto *box = control<QLineEdit>(m_w->window, field.toLatin1().constData());
    box->setFocus();
    box->selectAll();
    if (text.isEmpty())
        key(Qt::Key_Delete);
    else
        type(text);
    key(Qt::Key_Return);

    QCOMPARE(m_w->boxes.texts(), warnings);
    for (const BoxWatcher::Box &shown : m_w->boxes.boxes()) {
        QCOMPARE(shown.title, kBoxTitle);
        QCOMPARE(shown.icon, QMessageBox::Warning);
        QCOMPARE(shown.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
    QCOMPARE(focusName(), focus);
    QCOMPARE(box->text(), text);
    QCOMPARE(m_w->c.lblScore->text(), QString()); // cleared by the edit or the refusal
    if (!warnings.isEmpty())
        QCOMPARE(box->selectedText(), text);
}

void tst_EntryFlow::enterInComboMovesToCalcola()
{
    m_w->c.cmbDipUrine->setFocus();
    key(Qt::Key_Return);
    QCOMPARE(focusName(), QStringLiteral("cmdCalcola"));
    QCOMPARE(m_w->c.lblScore->text(), QString());
    QVERIFY(m_w->boxes.boxes().isEmpty());

    // An unknown text is refused and keeps the user in the combo box.
    m_w->c.cmbDipUrine->setFocus();
    m_w->c.cmbDipUrine->lineEdit()->selectAll();
    type(QStringLiteral("forse"));
    key(Qt::Key_Return);
    QCOMPARE(m_w->boxes.texts(), QStringList{kDipWarning});
    QCOMPARE(m_w->boxes.boxes().first().icon, QMessageBox::Warning);
    QCOMPARE(focusName(), QStringLiteral("cmbDipUrine"));
    QCOMPARE(m_w->c.cmbDipUrine->currentText(), QStringLiteral("forse"));
    QCOMPARE(m_w->c.cmbDipUrine->lineEdit()->selectedText(), QStringLiteral("forse"));
}

// The list opened with F4 shows both items in the combo box's font. Enter
// there picks the highlighted item, closes the list and, as Enter in the
// combo box does, takes the picked text and moves on to "&Calcola".
void tst_EntryFlow::dropDownListPicksItem()
{
    calculateRoad();
    QComboBox *combo = m_w->c.cmbDipUrine;
    combo->setFocus();
    key(Qt::Key_F4);
    QAbstractItemView *list = combo->view();
    QTRY_VERIFY(list->isVisible());
    QCOMPARE(list->model()->rowCount(), 2);
    QCOMPARE(list->font().families(), combo->font().families());
    QCOMPARE(list->font().pixelSize(), combo->font().pixelSize());
    QCOMPARE(list->currentIndex().row(), 0);

    key(Qt::Key_Down);
    key(Qt::Key_Return);
    QTRY_VERIFY(!list->isVisible());
    QCOMPARE(combo->currentText(), QStringLiteral("Positivo"));
    QCOMPARE(m_w->c.lblScore->text(), QString());
    QCOMPARE(focusName(), QStringLiteral("cmdCalcola"));
    key(Qt::Key_Return);
    QCOMPARE(m_w->c.lblScore->text(), QStringLiteral("5"));
    QVERIFY(m_w->boxes.boxes().isEmpty());
}

void tst_EntryFlow::clickSelectsForOvertyping_data()
{
    QTest::addColumn<QString>("field");
    QTest::newRow("txtPCT") << "txtPCT";
    QTest::newRow("txtCRP") << "txtCRP";
}

void tst_EntryFlow::clickSelectsForOvertyping()
{
    QFETCH(QString, field);
    calculateRoad();
    auto *box = control<QLineEdit>(m_w->window, field.toLatin1().constData());
    const QString before = box->text();

    // A click at the end of the text: the line edit places the cursor there
    // and then the whole text is selected.
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 4, box->height() / 2));
    QCOMPARE(focusName(), field);
    QCOMPARE(box->selectedText(), before);
    QCOMPARE(m_w->c.lblScore->text(), QString());

    // Typing now replaces the value.
    type(QStringLiteral("3"));
    QCOMPARE(box->text(), QStringLiteral("3"));
}

void tst_EntryFlow::resetClearsEntries()
{
    calculateRoad();
    m_w->c.cmbDipUrine->setFocus();
    m_w->c.cmbDipUrine->lineEdit()->selectAll();
    type(QStringLiteral("Positivo"));
    QTest::mouseClick(m_w->c.cmdReset, Qt::LeftButton);

    QCOMPARE(m_w->c.txtPCT->text(), QString());
    QCOMPARE(m_w->c.txtCRP->text(), QString());
    QCOMPARE(m_w->c.cmbDipUrine->currentText(), QStringLiteral("Negativo"));
    QCOMPARE(m_w->c.cmbDipUrine->count(), 2);
    QCOMPARE(focusName(), QStringLiteral("txtPCT"));
    QCOMPARE(m_w->c.lblScore->text(), QString());
    QVERIFY(m_w->boxes.boxes().isEmpty());

    // Alt+R does the same from the keyboard.
    calculateRoad();
    key(Qt::Key_R, Qt::AltModifier);
    QTRY_COMPARE(m_w->c.txtPCT->text(), QString());
    QCOMPARE(m_w->c.lblScore->text(), QString());
}

void tst_EntryFlow::changeClearsScore_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("keyPressed");

    QTest::newRow("typing in txtPCT") << "txtPCT" << int(Qt::Key_5);
    QTest::newRow("deleting in txtPCT") << "txtPCT" << int(Qt::Key_Backspace);
    QTest::newRow("typing in txtCRP") << "txtCRP" << int(Qt::Key_0);
    QTest::newRow("deleting in txtCRP") << "txtCRP" << int(Qt::Key_Backspace);
    QTest::newRow("picking Positivo") << "cmbDipUrine" << int(Qt::Key_Down);
    QTest::newRow("typing in the dipstick") << "cmbDipUrine" << int(Qt::Key_X);
}

void tst_EntryFlow::changeClearsScore()
{
    QFETCH(QString, field);
    QFETCH(int, keyPressed);

    calculateRoad();
    // Tab into the field from its predecessor, as a user would.
    QWidget *target = control<QWidget>(m_w->window, field.toLatin1().constData());
    QWidget *previous = target->previousInFocusChain();
    while (previous->focusPolicy() == Qt::NoFocus)
        previous = previous->previousInFocusChain();
    previous->setFocus();
    key(Qt::Key_Tab);
    QCOMPARE(focusName(), field);
    QCOMPARE(m_w->c.lblScore->text(), QStringLiteral("4")); // moving alone keeps it

    key(Qt::Key(keyPressed));
    QCOMPARE(m_w->c.lblScore->text(), QString());
}

void tst_EntryFlow::undoStopsAtNewStart_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("reset"); // or calculate
    QTest::addColumn<QString>("kept"); // the field's text afterwards

    QTest::newRow("calculation, txtPCT") << "txtPCT" << false << "1.2";
    QTest::newRow("calculation, txtCRP") << "txtCRP" << false << "45";
    QTest::newRow("calculation, cmbDipUrine") << "cmbDipUrine" << false << "Negativo";
    QTest::newRow("reset, txtPCT") << "txtPCT" << true << "";
    QTest::newRow("reset, txtCRP") << "txtCRP" << true << "";
    QTest::newRow("reset, cmbDipUrine") << "cmbDipUrine" << true << "Negativo";
}

// A calculation commits the entries and Reset starts a new patient: Ctrl+Z
// then changes nothing, and later typing can be undone back to that text and
// no further.
void tst_EntryFlow::undoStopsAtNewStart()
{
    QFETCH(QString, field);
    QFETCH(bool, reset);
    QFETCH(QString, kept);

    // Every box with a history: the dipstick is picked, then overtyped.
    type(QStringLiteral("1.2"));
    key(Qt::Key_Return);
    type(QStringLiteral("45"));
    key(Qt::Key_Return);
    key(Qt::Key_Down);
    m_w->c.cmbDipUrine->lineEdit()->selectAll();
    type(QStringLiteral("Negativo"));
    QTest::mouseClick(reset ? m_w->c.cmdReset : m_w->c.cmdCalcola, Qt::LeftButton);
    QCOMPARE(m_w->c.lblScore->text(), reset ? QString() : QStringLiteral("4"));

    QWidget *target = control<QWidget>(m_w->window, field.toLatin1().constData());
    auto *edit = qobject_cast<QLineEdit *>(target);
    if (!edit)
        edit = qobject_cast<QComboBox *>(target)->lineEdit();
    target->setFocus();
    QCOMPARE(edit->text(), kept);
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(edit->text(), kept);

    key(Qt::Key_End);
    type(QStringLiteral("0"));
    QCOMPARE(edit->text(), kept + u'0');
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(edit->text(), kept);
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(edit->text(), kept);
    QVERIFY(m_w->boxes.boxes().isEmpty());
}

void tst_EntryFlow::keysTypeNormally_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");

    const QString mixed = QStringLiteral("1,2 abc-+*/.e");
    QTest::newRow("txtPCT") << "txtPCT" << mixed;
    QTest::newRow("txtCRP") << "txtCRP" << mixed;
    QTest::newRow("cmbDipUrine") << "cmbDipUrine" << mixed;
}

void tst_EntryFlow::keysTypeNormally()
{
    QFETCH(QString, field);
    QFETCH(QString, text);

    QWidget *target = control<QWidget>(m_w->window, field.toLatin1().constData());
    target->setFocus();
    QLineEdit *edit = qobject_cast<QLineEdit *>(target);
    if (!edit)
        edit = qobject_cast<QComboBox *>(target)->lineEdit();
    edit->selectAll();
    type(text);
    QCOMPARE(edit->text(), text);
    key(Qt::Key_Backspace);
    key(Qt::Key_Home);
    key(Qt::Key_Delete);
    QCOMPARE(edit->text(), text.mid(1, text.size() - 2));
    QVERIFY(m_w->boxes.boxes().isEmpty());
}

void tst_EntryFlow::keyBurstAfterAction_data()
{
    QTest::addColumn<QString>("start"); // where the focus is, with its text selected
    QTest::addColumn<QString>("keys");  // one burst; "Alt+R", "Enter", ... or a character
    QTest::addColumn<QString>("pct");
    QTest::addColumn<QString>("crp");
    QTest::addColumn<QString>("focus");

    // Each row starts from the road's entries (PCT 1.2, CRP 45).
    QTest::newRow("Alt+R then 7.5") << "txtCRP" << "Alt+R 7 . 5" << "7.5" << "" << "txtPCT";
    QTest::newRow("Alt+R then 0.7") << "txtCRP" << "Alt+R 0 . 7" << "0.7" << "" << "txtPCT";
    QTest::newRow("Space on Reset then 3") << "cmdReset" << "Space 3" << "3" << "" << "txtPCT";
    QTest::newRow("Enter in PCT replaces the old CRP")
        << "txtPCT" << "1 . 2 Enter 8" << "1.2" << "8" << "txtCRP";
    QTest::newRow("Alt+C then 30 goes whole into CRP")
        << "txtPCT" << "Alt+C 3 0" << "1.2" << "30" << "txtCRP";
    QTest::newRow("Enter on Calcola then 60") << "cmdCalcola" << "Enter 6 0" << "1.2" << "60"
                                              << "txtCRP";
    QTest::newRow("Enter in the dipstick, Enter, then 5")
        << "cmbDipUrine" << "Enter Enter 5" << "1.2" << "5" << "txtCRP";
    // An access key closes the dropped-down list and presses its button.
    QTest::newRow("list dropped down, Alt+R then 7.5")
        << "cmbDipUrine" << "F4 Alt+R 7 . 5" << "7.5" << "" << "txtPCT";
    QTest::newRow("list dropped down, Alt+C then 30")
        << "cmbDipUrine" << "F4 Alt+C 3 0" << "1.2" << "30" << "txtCRP";
}

// Keys typed at once after an action land, in order and whole, in the box
// that has the focus once the action is done. The keys are sent in one
// burst with no event processing in between, as a fast typist's arrive.
void tst_EntryFlow::keyBurstAfterAction()
{
    QFETCH(QString, start);
    QFETCH(QString, keys);
    QFETCH(QString, pct);
    QFETCH(QString, crp);
    QFETCH(QString, focus);

    calculateRoad();
    control<QWidget>(m_w->window, start.toLatin1().constData())->setFocus(Qt::TabFocusReason);
    for (const QString &token : keys.split(u' ')) {
        if (token == u"Alt+R" || token == u"Alt+C")
            key(token.endsWith(u'R') ? Qt::Key_R : Qt::Key_C, Qt::AltModifier);
        else if (token == u"Enter")
            key(Qt::Key_Return);
        else if (token == u"Space")
            key(Qt::Key_Space);
        else if (token == u"F4")
            key(Qt::Key_F4);
        else
            type(token);
    }
    // Long enough for any click that the toolkit delays.
    QTest::qWait(300);

    QCOMPARE(m_w->c.txtPCT->text(), pct);
    QCOMPARE(m_w->c.txtCRP->text(), crp);
    QCOMPARE(focusName(), focus);
    QVERIFY(!m_w->c.cmbDipUrine->view()->isVisible());
    QVERIFY(m_w->boxes.boxes().isEmpty());
}

void tst_EntryFlow::about_data()
{
    QTest::addColumn<int>("chooseKey"); // 0: a mouse click on "?"
    QTest::addColumn<int>("closeKey");
    QTest::addColumn<QString>("focus"); // the control that has the focus before

    QTest::newRow("mouse click on ?") << 0 << int(Qt::Key_Return) << "txtPCT";
    QTest::newRow("Alt, Enter, closed with Enter") << int(Qt::Key_Return) << int(Qt::Key_Return)
                                                   << "txtPCT";
    QTest::newRow("Alt, Enter, closed with Escape")
        << int(Qt::Key_Return) << int(Qt::Key_Escape) << "txtPCT";
    QTest::newRow("Alt, Space, closed with Enter") << int(Qt::Key_Space) << int(Qt::Key_Return)
                                                   << "txtCRP";
    QTest::newRow("Alt, Space, closed with Escape")
        << int(Qt::Key_Space) << int(Qt::Key_Escape) << "txtCRP";
}

// "?" shows the version; once the box is closed, whichever way it was
// opened and closed, typing goes on in the control that had the focus.
void tst_EntryFlow::about()
{
    QFETCH(int, chooseKey);
    QFETCH(int, closeKey);
    QFETCH(QString, focus);

    QStringList lines;
    bool plainText = false;
    m_w->boxes.setWhileOpen([&](QMessageBox *box) {
        plainText = box->textFormat() == Qt::PlainText;
        lines = box->text().split(u'\n');
        QTest::keyClick(box, Qt::Key(closeKey));
    });
    auto *entry = control<QLineEdit>(m_w->window, focus.toLatin1().constData());
    entry->setFocus();
    QMenuBar *bar = m_w->window.menuBar();
    QAction *info = m_w->window.findChild<QAction *>(QStringLiteral("Info"));
    QVERIFY(info);
    if (chooseKey) {
        // Alt alone enters the menu bar; Enter or Space chooses "?".
        QTest::keyPress(window(), Qt::Key_Alt);
        QTest::keyRelease(window(), Qt::Key_Alt);
        key(Qt::Key(chooseKey));
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

    QCOMPARE(focusName(), focus);
    type(QStringLiteral("3"));
    QCOMPARE(entry->text(), QStringLiteral("3"));
}

void tst_EntryFlow::fineEndsProgram_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("click") << "click";
    QTest::newRow("Alt+F") << "alt-f";
    QTest::newRow("Alt+F with the list dropped down") << "f4-alt-f";
    QTest::newRow("Enter on the focused button") << "enter";
    QTest::newRow("keypad Enter on the focused button") << "keypad-enter";
    QTest::newRow("Space on the focused button") << "space";
}

void tst_EntryFlow::fineEndsProgram()
{
    QFETCH(QString, how);
    QTimer::singleShot(0, this, [&] {
        if (how == QLatin1String("click")) {
            QTest::mouseClick(m_w->c.cmdFine, Qt::LeftButton);
        } else if (how == QLatin1String("alt-f")) {
            key(Qt::Key_F, Qt::AltModifier);
        } else if (how == QLatin1String("f4-alt-f")) {
            m_w->c.cmbDipUrine->setFocus();
            key(Qt::Key_F4);
            QVERIFY(m_w->c.cmbDipUrine->view()->isVisible());
            key(Qt::Key_F, Qt::AltModifier);
        } else {
            m_w->c.cmdFine->setFocus();
            if (how == QLatin1String("keypad-enter"))
                key(Qt::Key_Enter, Qt::KeypadModifier);
            else
                key(how == QLatin1String("enter") ? Qt::Key_Return : Qt::Key_Space);
        }
    });
    // A watchdog ends a loop that Fine failed to end.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    watchdog.start(5000);

    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(m_w->boxes.boxes().isEmpty());
}

void tst_EntryFlow::closingEndsProgram()
{
    QTimer::singleShot(0, &m_w->window, &QWidget::close);
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    watchdog.start(5000);
    QCOMPARE(QCoreApplication::exec(), 0);
}

void tst_EntryFlow::noHandlerWhileBoxOpen()
{
    type(QStringLiteral("1.2"));
    key(Qt::Key_Return);
    type(QStringLiteral("45"));
    key(Qt::Key_Tab);
    m_w->c.txtPCT->setFocus();
    m_w->c.txtPCT->selectAll();
    type(QStringLiteral("abc"));

    m_w->boxes.setWhileOpen([&](QMessageBox *) {
        // Clicks and keys delivered to the window's controls while the box
        // is open run no handler: no calculation, no second box.
        QTest::mouseClick(m_w->c.cmdCalcola, Qt::LeftButton);
        m_w->c.cmdCalcola->click();
        QTest::keyClick(m_w->c.txtPCT, Qt::Key_Return);
        QTest::mouseClick(m_w->c.txtCRP, Qt::LeftButton);
    });
    key(Qt::Key_Return);

    QCOMPARE(m_w->boxes.texts(), QStringList{kValueWarning});
    QCOMPARE(m_w->c.lblScore->text(), QString());
    QVERIFY(!m_w->c.txtCRP->hasSelectedText());

    // After the box, the flow goes on: the refused text is selected for
    // correction, and the next press of Calcola calculates.
    QCOMPARE(focusName(), QStringLiteral("txtPCT"));
    QCOMPARE(m_w->c.txtPCT->selectedText(), QStringLiteral("abc"));
    m_w->boxes.setWhileOpen(nullptr);
    type(QStringLiteral("2"));
    QTest::mouseClick(m_w->c.cmdCalcola, Qt::LeftButton);
    QCOMPARE(m_w->c.lblScore->text(), QStringLiteral("6"));
    QCOMPARE(m_w->boxes.boxes().size(), 1);
}

QTEST_MAIN(tst_EntryFlow)
#include "tst_entryflow.moc"
