#include "formtest.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>

#include <algorithm>

// The keyboard road through the entries acted out on the real window: Enter
// from box to box, the dipstick list, typing, and keys typed at once after
// an action. Keys go through the window system, as a user's do, so they
// reach whatever has the focus.
class tst_EntryFlow : public WindowSuite
{
    Q_OBJECT

private Q_SLOTS:
    void keyboardRoad_data();
    void keyboardRoad();
    void enterChecksEachValue_data();
    void enterChecksEachValue();
    void dropDownListPicksItem();
    void keysTypeNormally_data();
    void keysTypeNormally();
    void keyBurstAfterAction_data();
    void keyBurstAfterAction();

};

void tst_EntryFlow::keyboardRoad_data()
{
    QTest::addColumn<bool>("keypad"); // Enter of the numeric keypad, not Return
    QTest::addColumn<QString>("dipKeys"); // "Down" moves through the list; words are typed
    QTest::addColumn<QString>("dip");
    QTest::addColumn<QString>("score");

    QTest::newRow("Negativo left as it is gives 4") << false << "" << "Negativo" << "4";
    QTest::newRow("Positivo picked by keyboard gives 5") << false << "Down" << "Positivo" << "5";
    QTest::newRow("list does not run past its end") << false << "Down Down Down" << "Positivo"
                                                    << "5";
    QTest::newRow("Positivo typed over the selection gives 5") << false << "Positivo"
                                                               << "Positivo" << "5";
    QTest::newRow("keypad Enter, Negativo gives 4") << true << "" << "Negativo" << "4";
    QTest::newRow("keypad Enter, Positivo gives 5") << true << "Down" << "Positivo" << "5";
}

void tst_EntryFlow::keyboardRoad()
{
    QFETCH(bool, keypad);
    QFETCH(QString, dipKeys);
    QFETCH(QString, dip);
    QFETCH(QString, score);
    const auto enter = [&] { keypad ? m_w->key(Qt::Key_Enter, Qt::KeypadModifier) : m_w->key(Qt::Key_Return); };

    QCOMPARE(m_w->focusName(), QStringLiteral("txtPCT"));
    m_w->type(QStringLiteral("1.2"));
    enter();
    QCOMPARE(m_w->focusName(), QStringLiteral("txtCRP"));
    m_w->type(QStringLiteral("45"));
    enter();
    QCOMPARE(m_w->focusName(), QStringLiteral("cmbDipUrine"));
    for (const QString &keys : dipKeys.split(u' ', Qt::SkipEmptyParts))
        keys == u"Down" ? m_w->key(Qt::Key_Down) : m_w->type(keys);
    QCOMPARE(m_w->c.dipstickCombo->currentText(), dip);
    enter();
    QCOMPARE(m_w->focusName(), QStringLiteral("cmdCalcola"));
    QCOMPARE(m_w->c.scoreLabel->text(), QString());
    enter();

    QCOMPARE(m_w->c.scoreLabel->text(), score);
    QVERIFY(m_w->boxes.boxes().isEmpty());
    QCOMPARE(m_w->c.dipstickCombo->count(), 2);
}

// A text column's value for an entry left as the road leaves it.
static const QString kAsItIs = QStringLiteral("(as it is)");

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
    QTest::newRow("crp left as it is keeps the score") << "txtCRP" << kAsItIs << "cmbDipUrine" << none;
    QTest::newRow("crp -1 refused") << "txtCRP" << "-1" << "txtCRP" << refused;
    QTest::newRow("crp 1000.5 refused") << "txtCRP" << "1000.5" << "txtCRP" << refused;
    QTest::newRow("dipstick Negativo moves on") << "cmbDipUrine" << "Negativo" << "cmdCalcola"
                                                << none;
    QTest::newRow("dipstick forse refused") << "cmbDipUrine" << "forse" << "cmbDipUrine"
                                            << QStringList{kDipWarning};
}

void tst_EntryFlow::enterChecksEachValue()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, focus);
    QFETCH(QStringList, warnings);

    QVERIFY(m_w->road()); // a score on display, which a refusal must clear
    QLineEdit *box = textField(m_w->window, field);
    box->setFocus();
    box->selectAll();
    const QString score = text == kAsItIs ? m_w->c.scoreLabel->text() : QString();
    if (text == kAsItIs)
        text = box->text();
    else if (text.isEmpty())
        m_w->key(Qt::Key_Delete);
    else
        m_w->type(text);
    m_w->key(Qt::Key_Return);

    QCOMPARE(m_w->boxes.texts(), warnings);
    for (const BoxWatcher::Box &shown : m_w->boxes.boxes()) {
        QCOMPARE(shown.title, kBoxTitle);
        QCOMPARE(shown.icon, QMessageBox::Warning);
        QCOMPARE(shown.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
    QCOMPARE(m_w->focusName(), focus);
    QCOMPARE(box->text(), text);
    QCOMPARE(m_w->c.scoreLabel->text(), score); // cleared by an edit or a refusal
    if (!warnings.isEmpty())
        QCOMPARE(box->selectedText(), text);
}

// The list opened with F4 shows both items in the combo box's font. Enter
// there picks the highlighted item, closes the list and, as Enter in the
// combo box does, takes the picked text and moves on to "&Calcola".
void tst_EntryFlow::dropDownListPicksItem()
{
    QVERIFY(m_w->road());
    QComboBox *combo = m_w->c.dipstickCombo;
    combo->setFocus();
    m_w->key(Qt::Key_F4);
    QAbstractItemView *list = combo->view();
    QTRY_VERIFY(list->isVisible());
    QCOMPARE(list->model()->rowCount(), 2);
    QCOMPARE(list->font().families(), combo->font().families());
    QCOMPARE(list->font().pixelSize(), combo->font().pixelSize());
    QCOMPARE(list->currentIndex().row(), 0);

    m_w->key(Qt::Key_Down);
    m_w->key(Qt::Key_Return);
    QTRY_VERIFY(!list->isVisible());
    QCOMPARE(combo->currentText(), QStringLiteral("Positivo"));
    QCOMPARE(m_w->c.scoreLabel->text(), QString());
    QCOMPARE(m_w->focusName(), QStringLiteral("cmdCalcola"));
    m_w->key(Qt::Key_Return);
    QCOMPARE(m_w->c.scoreLabel->text(), QStringLiteral("5"));
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

    QLineEdit *edit = textField(m_w->window, field);
    edit->setFocus();
    edit->selectAll();
    m_w->type(text);
    QCOMPARE(edit->text(), text);
    m_w->key(Qt::Key_Backspace);
    m_w->key(Qt::Key_Home);
    m_w->key(Qt::Key_Delete);
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
    QTest::addColumn<bool>("warned"); // a warning opens, closed by a key of the burst

    // Each row starts from the road's entries (PCT 1.2, CRP 45).
    QTest::newRow("Alt+R then 7.5") << "txtCRP" << "Alt+R 7 . 5" << "7.5" << "" << "txtPCT" << false;
    QTest::newRow("Alt+R then 0.7") << "txtCRP" << "Alt+R 0 . 7" << "0.7" << "" << "txtPCT" << false;
    QTest::newRow("Space on Reset then 3") << "cmdReset" << "Space 3" << "3" << "" << "txtPCT" << false;
    QTest::newRow("Enter in PCT replaces the old CRP")
        << "txtPCT" << "1 . 2 Enter 8" << "1.2" << "8" << "txtCRP" << false;
    QTest::newRow("Alt+C then 30 goes whole into CRP")
        << "txtPCT" << "Alt+C 3 0" << "1.2" << "30" << "txtCRP" << false;
    QTest::newRow("Enter on Calcola then 60") << "cmdCalcola" << "Enter 6 0" << "1.2" << "60"
                                              << "txtCRP" << false;
    QTest::newRow("Alt+Shift+C then 30") << "txtPCT" << "Alt+Shift+C 3 0" << "1.2" << "30"
                                         << "txtCRP" << false;
    QTest::newRow("Alt+X types nothing") << "txtPCT" << "Alt+X" << "1.2" << "45" << "txtPCT" << false;
    QTest::newRow("Space twice on Calcola keeps CRP") << "cmdCalcola" << "Space Space" << "1.2"
                                                      << "45" << "txtCRP" << false;
    QTest::newRow("Enter in the dipstick, Enter, then 5")
        << "cmbDipUrine" << "Enter Enter 5" << "1.2" << "5" << "txtCRP" << false;
    // An access key closes the dropped-down list and presses its button.
    QTest::newRow("list dropped down, Alt+R then 7.5")
        << "cmbDipUrine" << "F4 Alt+R 7 . 5" << "7.5" << "" << "txtPCT" << false;
    QTest::newRow("list dropped down, Alt+C then 30")
        << "cmbDipUrine" << "F4 Alt+C 3 0" << "1.2" << "30" << "txtCRP" << false;
    // Keys typed before a warning has the keyboard go to it; behind the
    // first of two, they go to the second.
    QTest::newRow("CRP refused, Alt+C, Enter then 150")
        << "txtCRP" << "x y z Alt+C Enter 1 5 0" << "1.2" << "150" << "txtCRP" << true;
    QTest::newRow("both refused, Alt+C, Enter Enter then 315")
        << "txtPCT" << "a b c Tab x y z Alt+C Enter Enter 3 1 5" << "315" << "xyz" << "txtPCT" << true;
    QTest::newRow("both refused, Alt+C, Enter then 315 into the second box")
        << "txtPCT" << "a b c Tab x y z Alt+C Enter 3 1 5 Enter" << "abc" << "xyz" << "txtPCT" << true;
}

// Keys typed at once after an action land, in order and whole, in the box
// that has the focus once the action is done. The keys are queued as the
// window system reports them and taken up in one go, as a fast typist's
// arrive: some while a box opened by a key in front is still open.
void tst_EntryFlow::keyBurstAfterAction()
{
    QFETCH(QString, start);
    QFETCH(QString, keys);
    QFETCH(QString, pct);
    QFETCH(QString, crp);
    QFETCH(QString, focus);
    QFETCH(bool, warned);

    QVERIFY(m_w->road());
    control<QWidget>(m_w->window, start.toLatin1().constData())->setFocus(Qt::TabFocusReason);
    const QHash<QString, Qt::Key> named{{QStringLiteral("Enter"), Qt::Key_Return},
                                        {QStringLiteral("Space"), Qt::Key_Space},
                                        {QStringLiteral("Tab"), Qt::Key_Tab},
                                        {QStringLiteral("F4"), Qt::Key_F4}};
    QWindow *window = m_w->handle();
    for (const QString &token : keys.split(u' ')) {
        if (token.startsWith(u"Alt+"))
            queueKey(window, Qt::Key(token.back().unicode()),
                     token.contains(u"Shift") ? Qt::AltModifier | Qt::ShiftModifier : Qt::AltModifier);
        else if (named.contains(token))
            queueKey(window, named[token], Qt::NoModifier, token == u"Space" ? QStringLiteral(" ") : QString());
        else
            queueKey(window, Qt::Key(token.toUpper()[0].unicode()), Qt::NoModifier, token);
        // The burst begins once the list is shown.
        if (token == u"F4")
            QWindowSystemInterface::flushWindowSystemEvents();
    }
    QWindowSystemInterface::flushWindowSystemEvents();
    // A click the toolkit delays shows its button pressed until it comes.
    const auto buttons = m_w->window.findChildren<QAbstractButton *>();
    QTRY_VERIFY(std::none_of(buttons.begin(), buttons.end(), [](QAbstractButton *b) { return b->isDown(); }));

    QCOMPARE(m_w->c.pctEdit->text(), pct);
    QCOMPARE(m_w->c.crpEdit->text(), crp);
    QCOMPARE(m_w->focusName(), focus);
    QVERIFY(!m_w->c.dipstickCombo->view()->isVisible());
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(warned || m_w->boxes.boxes().isEmpty());
}

QTEST_MAIN(tst_EntryFlow)
#include "tst_entryflow.moc"
