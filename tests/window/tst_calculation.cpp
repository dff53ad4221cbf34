#include "scorewindow.h"
#include "formtest.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QSignalSpy>

// "&Calcola" through the real widgets: values typed, the button pressed, the
// warnings, the focus and the score as the user sees them.
class tst_Calculation : public WindowSuite
{
    Q_OBJECT

private Q_SLOTS:
    void calculate_data();
    void calculate();
    void press_data();
    void press();
    void enterInEntriesPressesNoButton();
    void comboKeepsTypedText();
    void refusalOnEnterDoesNotHideNextScore();

private:
    void enter(const QString &pct, const QString &crp, const QString &dip);

};

void tst_Calculation::enter(const QString &pct, const QString &crp, const QString &dip)
{
    typeInto(m_w->c.txtPCT, pct);
    typeInto(m_w->c.txtCRP, crp);
    m_w->c.cmbDipUrine->setFocus();
    m_w->c.cmbDipUrine->lineEdit()->selectAll();
    if (dip.isEmpty())
        QTest::keyClick(m_w->c.cmbDipUrine, Qt::Key_Delete);
    else
        QTest::keyClicks(m_w->c.cmbDipUrine, dip);
    QCOMPARE(m_w->c.cmbDipUrine->currentText(), dip);
}

void tst_Calculation::calculate_data()
{
    QTest::addColumn<QString>("pct");
    QTest::addColumn<QString>("crp");
    QTest::addColumn<QString>("dip");
    QTest::addColumn<QString>("score");       // empty when withheld
    QTest::addColumn<QStringList>("warnings"); // in the order shown
    QTest::addColumn<QString>("focus");        // where the focus ends

    const QStringList none;
    const QStringList one{kValueWarning};

    // How texts read and how values band is the core's to test; here each
    // box's refusal, the order of the warnings, the dipstick's text field
    // and where the focus ends.
    QTest::newRow("pct 500.01 refused") << "500.01" << "1" << "Negativo" << "" << one << "txtPCT";
    QTest::newRow("crp 1000.5 refused") << "0.1" << "1000.5" << "Negativo" << "" << one << "txtCRP";
    QTest::newRow("sum 9") << "2" << "100" << "Positivo" << "9" << none << "txtCRP";
    QTest::newRow("road of one calculation") << "1.2" << "45" << "Negativo" << "4" << none << "txtCRP";
    QTest::newRow("empty pct refused") << "" << "45" << "Negativo" << "" << one << "txtPCT";
    QTest::newRow("both refused, crp first")
        << "0" << "2000" << "Negativo" << "" << QStringList{kValueWarning, kValueWarning} << "txtPCT";
    QTest::newRow("dipstick in lower case") << "1.2" << "45" << "positivo" << "5" << none << "txtCRP";
    QTest::newRow("dipstick with blanks") << "1.2" << "45" << " Negativo " << "4" << none << "txtCRP";
    QTest::newRow("unknown dipstick refused")
        << "1.2" << "45" << "Pos" << "" << QStringList{kDipWarning} << "cmbDipUrine";
    QTest::newRow("dipstick partly out of view")
        << "1.2" << "45" << "Positivo" + QString(20, u' ') << ""
        << QStringList{QString::fromUtf16(norvana::kOutOfViewDipText)} << "cmbDipUrine";
    QTest::newRow("dipstick warning after value warnings")
        << "abc" << "45" << "" << "" << QStringList{kValueWarning, kDipWarning} << "cmbDipUrine";
}

void tst_Calculation::calculate()
{
    QFETCH(QString, pct);
    QFETCH(QString, crp);
    QFETCH(QString, dip);
    QFETCH(QString, score);
    QFETCH(QStringList, warnings);
    QFETCH(QString, focus);

    enter(pct, crp, dip);
    QTest::mouseClick(m_w->c.cmdCalcola, Qt::LeftButton);

    QCOMPARE(m_w->boxes.texts(), warnings);
    for (const BoxWatcher::Box &box : m_w->boxes.boxes()) {
        QCOMPARE(box.title, kBoxTitle);
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(box.buttonCount, 1);
    }
    QCOMPARE(m_w->c.lblScore->text(), score);

    QVERIFY(reactivated(&m_w->window));
    QWidget *focused = QApplication::focusWidget();
    QVERIFY(focused);
    QCOMPARE(focused->objectName(), focus);
    // A refused entry is selected whole, ready to be overtyped.
    if (!warnings.isEmpty()) {
        QLineEdit *edit = focus == QLatin1String("cmbDipUrine")
                              ? m_w->c.cmbDipUrine->lineEdit()
                              : qobject_cast<QLineEdit *>(focused);
        QVERIFY(edit);
        QCOMPARE(edit->selectedText(), edit->text());
        QCOMPARE(edit->selectionStart(), edit->text().isEmpty() ? -1 : 0);
    }
}

void tst_Calculation::press_data()
{
    addPressRows();
}

// Each way of pressing "&Calcola" calculates at once.
void tst_Calculation::press()
{
    QFETCH(QString, how);
    enter(QStringLiteral("1.2"), QStringLiteral("45"), QStringLiteral("Negativo"));
    QSignalSpy clicked(m_w->c.cmdCalcola, &QPushButton::clicked);

    m_w->press(m_w->c.cmdCalcola, how);

    QCOMPARE(clicked.count(), 1);
    QCOMPARE(m_w->c.lblScore->text(), QStringLiteral("4"));
    QVERIFY(!m_w->c.cmbDipUrine->view()->isVisible());
    QVERIFY(m_w->boxes.boxes().isEmpty());
}

void tst_Calculation::enterInEntriesPressesNoButton()
{
    enter(QStringLiteral("1.2"), QStringLiteral("45"), QStringLiteral("Negativo"));
    QSignalSpy calcola(m_w->c.cmdCalcola, &QPushButton::clicked);
    QSignalSpy reset(m_w->c.cmdReset, &QPushButton::clicked);
    QSignalSpy fine(m_w->c.cmdFine, &QPushButton::clicked);

    for (QWidget *entry : {static_cast<QWidget *>(m_w->c.txtPCT), static_cast<QWidget *>(m_w->c.txtCRP),
                           static_cast<QWidget *>(m_w->c.cmbDipUrine)}) {
        entry->setFocus();
        QTest::keyClick(entry, Qt::Key_Return);
        QTest::keyClick(entry, Qt::Key_Escape);
    }
    QCOMPARE(calcola.count(), 0);
    QCOMPARE(reset.count(), 0);
    QCOMPARE(fine.count(), 0);
    QCOMPARE(m_w->c.lblScore->text(), QString());
    QVERIFY(m_w->boxes.boxes().isEmpty());
}

void tst_Calculation::comboKeepsTypedText()
{
    QComboBox *combo = m_w->c.cmbDipUrine;
    combo->setFocus();
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo, QStringLiteral("pos"));
    QCOMPARE(combo->currentText(), QStringLiteral("pos")); // no completion to "Positivo"
    QTest::keyClick(combo, Qt::Key_Return);
    QCOMPARE(combo->currentText(), QStringLiteral("pos"));
    QCOMPARE(combo->count(), 2);
    QCOMPARE(m_w->boxes.texts(), QStringList{kDipWarning});

    combo->setFocus();
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo, QStringLiteral("positivo"));
    QTest::keyClick(combo, Qt::Key_Return);
    QCOMPARE(combo->currentText(), QStringLiteral("positivo"));
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->itemText(0), QStringLiteral("Negativo"));
    QCOMPARE(combo->itemText(1), QStringLiteral("Positivo"));
}

void tst_Calculation::refusalOnEnterDoesNotHideNextScore()
{
    typeInto(m_w->c.txtPCT, QStringLiteral("abc"));
    QTest::keyClick(m_w->c.txtPCT, Qt::Key_Return);
    QCOMPARE(m_w->boxes.texts(), QStringList{kValueWarning});

    m_w->boxes.clear();
    enter(QStringLiteral("1.2"), QStringLiteral("45"), QStringLiteral("Negativo"));
    QTest::mouseClick(m_w->c.cmdCalcola, Qt::LeftButton);
    QVERIFY(m_w->boxes.boxes().isEmpty());
    QCOMPARE(m_w->c.lblScore->text(), QStringLiteral("4"));
}

QTEST_MAIN(tst_Calculation)
#include "tst_calculation.moc"
