#include "entrycontrols.h"
#include "formtest.h"

#include <QApplication>
#include <QWheelEvent>
#include <QSignalSpy>

// Changes to the entries on the real window: a click selects a value for
// overtyping, any change clears the score, Reset clears the entries, and a
// calculation or Reset ends what Ctrl+Z can undo.
class tst_Editing : public WindowSuite
{
    Q_OBJECT

private Q_SLOTS:
    void clickSelectsForOvertyping_data();
    void clickSelectsForOvertyping();
    void pressReleasedOutsideIsNoClick();
    void resetClearsEntries();
    void changeClearsScore_data();
    void changeClearsScore();
    void wheelChangesOnlyFocusedDipstick();
    void undoStopsAtNewStart_data();
    void undoStopsAtNewStart();
    void forgettingUndoKeepsCursor_data();
    void forgettingUndoKeepsCursor();

};

void tst_Editing::clickSelectsForOvertyping_data()
{
    QTest::addColumn<QString>("field");
    QTest::newRow("txtPCT") << "txtPCT";
    QTest::newRow("txtCRP") << "txtCRP";
}

void tst_Editing::clickSelectsForOvertyping()
{
    QFETCH(QString, field);
    QVERIFY(m_w->road());
    auto *box = control<QLineEdit>(m_w->window, field.toLatin1().constData());
    const QString before = box->text();

    // A click at the end of the text: the line edit places the cursor there
    // and then the whole text is selected.
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 4, box->height() / 2));
    QCOMPARE(m_w->focusName(), field);
    QCOMPARE(box->selectedText(), before);
    QCOMPARE(m_w->c.scoreLabel->text(), QString());

    // Typing now replaces the value.
    m_w->type(QStringLiteral("3"));
    QCOMPARE(box->text(), QStringLiteral("3"));
}

// A press in the box released outside it, as a drag ends, is no click: it
// selects nothing and leaves the score.
void tst_Editing::pressReleasedOutsideIsNoClick()
{
    QVERIFY(m_w->road());
    QLineEdit *box = m_w->c.pctEdit;
    QTest::mousePress(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(box->width() + 20, box->height() / 2));
    QVERIFY(!box->hasSelectedText());
    QCOMPARE(m_w->c.scoreLabel->text(), QStringLiteral("4"));
}

void tst_Editing::resetClearsEntries()
{
    QVERIFY(m_w->road());
    m_w->c.dipstickCombo->setFocus();
    m_w->c.dipstickCombo->lineEdit()->selectAll();
    m_w->type(QStringLiteral("Positivo"));
    QTest::mouseClick(m_w->c.resetButton, Qt::LeftButton);

    QCOMPARE(m_w->c.pctEdit->text(), QString());
    QCOMPARE(m_w->c.crpEdit->text(), QString());
    QCOMPARE(m_w->c.dipstickCombo->currentText(), QStringLiteral("Negativo"));
    QCOMPARE(m_w->c.dipstickCombo->count(), 2);
    QCOMPARE(m_w->focusName(), QStringLiteral("txtPCT"));
    QCOMPARE(m_w->c.scoreLabel->text(), QString());
    QVERIFY(m_w->boxes.boxes().isEmpty());

    // Alt+R does the same from the keyboard.
    QVERIFY(m_w->road());
    m_w->key(Qt::Key_R, Qt::AltModifier);
    QTRY_COMPARE(m_w->c.pctEdit->text(), QString());
    QCOMPARE(m_w->c.scoreLabel->text(), QString());
}

void tst_Editing::changeClearsScore_data()
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

void tst_Editing::changeClearsScore()
{
    QFETCH(QString, field);
    QFETCH(int, keyPressed);

    QVERIFY(m_w->road());
    // Tab into the field from its predecessor, as a user would.
    QWidget *target = control<QWidget>(m_w->window, field.toLatin1().constData());
    QWidget *previous = target->previousInFocusChain();
    while (previous->focusPolicy() == Qt::NoFocus)
        previous = previous->previousInFocusChain();
    previous->setFocus();
    m_w->key(Qt::Key_Tab);
    QCOMPARE(m_w->focusName(), field);
    QCOMPARE(m_w->c.scoreLabel->text(), QStringLiteral("4")); // moving alone keeps it

    m_w->key(Qt::Key(keyPressed));
    QCOMPARE(m_w->c.scoreLabel->text(), QString());
}

// A wheel turned over the dipstick picks the next item only once the user
// has moved into it. (That the wheel does not take the focus there shows
// only with a real window system: tst_xkeys.)
void tst_Editing::wheelChangesOnlyFocusedDipstick()
{
    QComboBox *combo = m_w->c.dipstickCombo;
    for (const QString &item : {QStringLiteral("Negativo"), QStringLiteral("Positivo")}) {
        const QPointF centre = QRectF(combo->rect()).center();
        QWheelEvent wheel(centre, combo->mapToGlobal(centre), {}, {0, -120}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(combo, &wheel);
        QCOMPARE(combo->currentText(), item);
        combo->setFocus();
    }
}

void tst_Editing::undoStopsAtNewStart_data()
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
void tst_Editing::undoStopsAtNewStart()
{
    QFETCH(QString, field);
    QFETCH(bool, reset);
    QFETCH(QString, kept);

    // Every box with a history: the dipstick is picked, then overtyped.
    m_w->type(QStringLiteral("1.2"));
    m_w->key(Qt::Key_Return);
    m_w->type(QStringLiteral("45"));
    m_w->key(Qt::Key_Return);
    m_w->key(Qt::Key_Down);
    m_w->c.dipstickCombo->lineEdit()->selectAll();
    m_w->type(QStringLiteral("Negativo"));
    QTest::mouseClick(reset ? m_w->c.resetButton : m_w->c.calculateButton, Qt::LeftButton);
    QCOMPARE(m_w->c.scoreLabel->text(), reset ? QString() : QStringLiteral("4"));

    QLineEdit *edit = textField(m_w->window, field);
    edit->setFocus();
    QCOMPARE(edit->text(), kept);
    m_w->key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(edit->text(), kept);

    m_w->key(Qt::Key_End);
    m_w->type(QStringLiteral("0"));
    QCOMPARE(edit->text(), kept + u'0');
    m_w->key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(edit->text(), kept);
    m_w->key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(edit->text(), kept);
    QVERIFY(m_w->boxes.boxes().isEmpty());
}

void tst_Editing::forgettingUndoKeepsCursor_data()
{
    QTest::addColumn<int>("cursor");
    QTest::addColumn<int>("selectionStart"); // -1: no selection
    QTest::addColumn<int>("selectionLength"); // negative: made backwards

    QTest::newRow("cursor inside, no selection") << 2 << -1 << 0;
    QTest::newRow("selection made forwards") << 4 << 1 << 3;
    QTest::newRow("whole text selected") << 5 << 0 << 5;
    QTest::newRow("selection made backwards") << 1 << 1 << -3;
}

// Forgetting a box's undo history keeps its text, cursor and selection,
// the end of the selection that the cursor is at included, and reports no
// change of text.
void tst_Editing::forgettingUndoKeepsCursor()
{
    QFETCH(int, cursor);
    QFETCH(int, selectionStart);
    QFETCH(int, selectionLength);

    QLineEdit *box = m_w->c.crpEdit;
    box->setFocus();
    m_w->type(QStringLiteral("123.5"));
    if (selectionStart < 0)
        box->setCursorPosition(cursor);
    else if (selectionLength < 0)
        box->setSelection(selectionStart - selectionLength, selectionLength);
    else
        box->setSelection(selectionStart, selectionLength);
    QCOMPARE(box->cursorPosition(), cursor);
    QVERIFY(box->isUndoAvailable());
    const QSignalSpy changes(box, &QLineEdit::textChanged);

    norvana::forgetUndoHistory(box);

    QVERIFY(!box->isUndoAvailable());
    QCOMPARE(changes.count(), 0);
    QCOMPARE(box->text(), QStringLiteral("123.5"));
    QCOMPARE(box->cursorPosition(), cursor);
    QCOMPARE(box->selectionStart(), selectionStart);
    QCOMPARE(box->selectionLength(), qAbs(selectionLength));
}

QTEST_MAIN(tst_Editing)
#include "tst_editing.moc"
