#include "formtest.h"
#include "scorewindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>

// "&Calcola" through the real widgets: values typed or pasted, the button
// pressed, the warnings, the focus and the score as the user sees them.
class tst_Calculation : public WindowSuite
{
    Q_OBJECT

public:
    enum class Input { Typed, Pasted };
    Q_ENUM(Input)

private Q_SLOTS:
    void calculate_data();
    void calculate();
    void press_data();
    void press();
    void enterInEntriesPressesNoButton();
    void comboKeepsTypedText();
    void hostileText_data();
    void hostileText();

private:
    void enter(const QString &pct, const QString &crp, const QString &dip);

};

void tst_Calculation::enter(const QString &pct, const QString &crp, const QString &dip)
{
    typeInto(m_w->c.pctEdit, pct);
    typeInto(m_w->c.crpEdit, crp);
    typeInto(m_w->c.dipstickCombo, dip);
    QCOMPARE(m_w->c.dipstickCombo->currentText(), dip);
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

    // How texts read and how values band is the core's to test; here each
    // box's refusal, the order of the warnings, the dipstick's text field
    // and where the focus ends.
    QTest::newRow("road of one calculation") << "1.2" << "45" << "Negativo" << "4" << none << "txtCRP";
    QTest::newRow("both refused, crp first")
        << "0" << "2000" << "Negativo" << "" << QStringList{kValueWarning, kValueWarning} << "txtPCT";
    QTest::newRow("dipstick in lower case") << "1.2" << "45" << "positivo" << "5" << none << "txtCRP";
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
    QTest::mouseClick(m_w->c.calculateButton, Qt::LeftButton);

    QCOMPARE(m_w->boxes.texts(), warnings);
    for (const BoxWatcher::Box &box : m_w->boxes.boxes()) {
        QCOMPARE(box.title, kBoxTitle);
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(box.buttonCount, 1);
    }
    QCOMPARE(m_w->c.scoreLabel->text(), score);

    QVERIFY(reactivated(&m_w->window));
    QWidget *focused = QApplication::focusWidget();
    QVERIFY(focused);
    QCOMPARE(focused->objectName(), focus);
    // A refused entry is selected whole, ready to be overtyped.
    if (!warnings.isEmpty()) {
        QLineEdit *edit = textFieldOf(focused);
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
    QSignalSpy clicked(m_w->c.calculateButton, &QPushButton::clicked);

    m_w->press(m_w->c.calculateButton, how);

    QCOMPARE(clicked.count(), 1);
    QCOMPARE(m_w->c.scoreLabel->text(), QStringLiteral("4"));
    QVERIFY(!m_w->c.dipstickCombo->view()->isVisible());
    QVERIFY(m_w->boxes.boxes().isEmpty());
}

void tst_Calculation::enterInEntriesPressesNoButton()
{
    enter(QStringLiteral("1.2"), QStringLiteral("45"), QStringLiteral("Negativo"));
    QSignalSpy calcola(m_w->c.calculateButton, &QPushButton::clicked);
    QSignalSpy reset(m_w->c.resetButton, &QPushButton::clicked);
    QSignalSpy fine(m_w->c.quitButton, &QPushButton::clicked);

    for (QWidget *entry : {static_cast<QWidget *>(m_w->c.pctEdit), static_cast<QWidget *>(m_w->c.crpEdit),
                           static_cast<QWidget *>(m_w->c.dipstickCombo)}) {
        entry->setFocus();
        QTest::keyClick(entry, Qt::Key_Return);
        QTest::keyClick(entry, Qt::Key_Escape);
    }
    QCOMPARE(calcola.count(), 0);
    QCOMPARE(reset.count(), 0);
    QCOMPARE(fine.count(), 0);
    QCOMPARE(m_w->c.scoreLabel->text(), QString());
    QVERIFY(m_w->boxes.boxes().isEmpty());
}

void tst_Calculation::comboKeepsTypedText()
{
    QComboBox *combo = m_w->c.dipstickCombo;
    typeInto(combo, QStringLiteral("pos"));
    QCOMPARE(combo->currentText(), QStringLiteral("pos")); // no completion to "Positivo"
    QTest::keyClick(combo, Qt::Key_Return);
    QCOMPARE(combo->currentText(), QStringLiteral("pos"));
    QCOMPARE(combo->count(), 2);
    QCOMPARE(m_w->boxes.texts(), QStringList{kDipWarning});
}

namespace {

// The other value of each row and its 2 points, so that every band of the
// hostile value gives a different score (2, 4 or 6).
const QString kOtherCrp = QStringLiteral("50");
const QString kOtherPct = QStringLiteral("1");

void typeCodePoints(QLineEdit *box, const QString &text)
{
    for (const char32_t codePoint : text.toUcs4()) {
        const QString keyText = QString::fromUcs4(&codePoint, 1);
        const Qt::Key key = codePoint < 0x80 ? Qt::Key(QChar(codePoint).toUpper().unicode())
                                             : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, box, key, keyText, Qt::NoModifier);
    }
}

// Replaces the whole text of the box as a user would.
void enterAsUser(QLineEdit *box, const QString &text, tst_Calculation::Input how)
{
    box->setFocus();
    box->selectAll();
    if (text.isEmpty()) {
        QTest::keyClick(box, Qt::Key_Delete);
    } else if (how == tst_Calculation::Input::Pasted) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    } else {
        typeCodePoints(box, text);
    }
}

} // namespace

// Feeds hostile texts to txtPCT and txtCRP of the real window, presses
// "&Calcola" and checks that each text is either accepted with the value it
// stands for, in the unit written (the score shows its points), or refused
// with one warning that says why, the focus in its box and its text
// selected.
//
// Most texts are typed one character (code point) at a time. Texts a user
// cannot type into the box are pasted with Ctrl+V from the clipboard, as
// they come from a lab report or a spreadsheet: invisible and formatting
// characters, tabs and line breaks, NUL, and 1 MB of digits (too slow key
// by key). QLineEdit keeps at most 32767
// characters of a paste, so the 1 MB row reads the digits that remain.
void tst_Calculation::hostileText_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Input>("how");
    QTest::addColumn<QString>("shown"); // the score, or the one warning

    // One row per box: PCT with CRP 50 (2 points), CRP with PCT 1 (2 points).
    const auto add = [](const char *name, const QString &text, Input how, const QString &pct,
                        const QString &crp) {
        QTest::addRow("PCT: %s", name) << QStringLiteral("txtPCT") << text << how << pct;
        QTest::addRow("CRP: %s", name) << QStringLiteral("txtCRP") << text << how << crp;
    };
    const QString refused = norvana::refusalText({norvana::Refusal::Implausible, norvana::Entry::Pct, {}});
    const QString pctUnit = QStringLiteral(
        "Unit\u00E0 non riconosciuta: la PCT si esprime in ng/ml (oppure \u00B5g/L, pg/ml, ng/L).");
    const QString crpUnit = QStringLiteral(
        "Unit\u00E0 non riconosciuta: la CRP si esprime in mg/L (oppure mg/dL, \u00B5g/ml, g/L).");
    const QString pctOutOfView = QStringLiteral("Parte del valore non si vede nella casella: scrivere "
                                                "solo il valore della PCT, in ng/ml (oppure \u00B5g/L, pg/ml, ng/L).");
    const QString crpOutOfView = QStringLiteral("Parte del valore non si vede nella casella: scrivere "
                                                "solo il valore della CRP, in mg/L (oppure mg/dL, \u00B5g/ml, g/L).");
    // A text that shows one value and may hold another is refused, whatever
    // either value would score.
    const auto refuse = [&](const char *name, const QString &text, Input how,
                            const QString &why) { add(name, text, how, why, why); };
    const auto outOfView = [&](const char *name, const QString &text, Input how) {
        add(name, text, how, pctOutOfView, crpOutOfView);
    };
    const auto typed = Input::Typed;
    const auto pasted = Input::Pasted;

    // How texts read is the number reader's to test; here texts as they
    // come into the boxes, typed (characters beyond the keyboard's basic
    // plane, an emptied box) and pasted, and what the window does with them.
    refuse("empty", QString(), typed, refused);
    add("blanks around", QStringLiteral(" 7 "), typed, "6", "2");
    refuse("number then emoji", QStringLiteral("5\U0001F637"), typed, refused);

    // Units: converted; any other text refused.
    add("converted unit", QStringLiteral("4,5 mg/dL"), typed, pctUnit, "4");
    add("picograms", QStringLiteral("500 pg/mL"), typed, "4", crpUnit);
    add("45 mmol/L", QStringLiteral("45 mmol/L"), typed, pctUnit, crpUnit);
    // Wider than the box (in any of the fonts the window asks for), its
    // warning names the box's units too.
    outOfView("45 mg/dL/hour", QStringLiteral("45 mg/dL/hour"), typed);

    // A number that reads as a decimal and as Italian thousands is refused
    // with both readings, before its unit is converted.
    const auto twoReadings = [](const char *number, const char *decimal, const char *advice) {
        return QStringLiteral("\"%1\" si legge %2 oppure %3: scrivere %3, oppure %4.")
            .arg(QLatin1String(number), QLatin1String(decimal),
                 QString::fromLatin1(number).remove(u'.').remove(u','), QLatin1String(advice));
    };
    refuse("2.000", QStringLiteral("2.000"), typed, twoReadings("2.000", "2", "2 o 2,0"));
    refuse("1,000", QStringLiteral("1,000"), typed, twoReadings("1,000", "1", "1 o 1,0"));
    refuse("1.200", QStringLiteral("1.200"), typed, twoReadings("1.200", "1,2", "1,2"));
    refuse("1.234", QStringLiteral("1.234"), typed, twoReadings("1.234", "1,234", "1,2340"));
    add("thousands in ng/L", QStringLiteral("2.000 ng/L"), typed, twoReadings("2.000", "2", "2 o 2,0"),
        crpUnit);
    add("thousands in pg/ml", QStringLiteral("1.500pg/ml"), typed, twoReadings("1.500", "1,5", "1,5"),
        crpUnit);
    add("leading zero", QStringLiteral("0.500"), typed, "4", "2");
    add("2000 ng/L", QStringLiteral("2000 ng/L"), typed, "6", crpUnit);

    // A limit scores the points it settles; across a band's edge it is
    // refused, saying what it holds and naming the edge nearest it. A
    // comparator with no number is no value.
    const auto across = [](const char *limit, const char *holds, const char *edge) {
        return QStringLiteral("\"%1\" comprende valori %2, che danno punti diversi sotto %3 e da %3 "
                              "in su: immettere il valore misurato.")
            .arg(QString::fromUtf8(limit), QString::fromUtf8(holds), QLatin1String(edge));
    };
    add("limit below detection", QStringLiteral("<0,05"), typed, "2", "2");
    add("limit below, across an edge", QStringLiteral("<1"), typed,
        across("<1", "inferiori a 1 ng/ml", "0,5"), "2");
    add("limit at most, across an edge", QStringLiteral("<=0,5"), typed,
        across("<=0,5", "uguali o inferiori a 0,5 ng/ml", "0,5"), "2");
    add("limit above, across an edge", QStringLiteral(">0,5"), typed,
        across(">0,5", "superiori a 0,5 ng/ml", "2"), across(">0,5", "superiori a 0,5 mg/L", "40"));
    add("limit at least in mg/dL, across an edge", QStringLiteral("\u2265 5 mg/dL"), typed, pctUnit,
        across("\u2265 5 mg/dL", "uguali o superiori a 50 mg/L", "100"));
    for (const char *comparator : {">", "\u2265", "> ng/ml"})
        refuse(comparator, QString::fromUtf8(comparator), typed, refused);

    // Whole in view or refused, blanks included; blanks of a copied cell
    // around the value are ignored.
    outOfView("number, unit and a word", QStringLiteral("1.2 ng/mL (elevato)"), typed);
    outOfView("unit 40 blanks away", u'4' + QString(40, u' ') + QStringLiteral("mg/dL"), typed);
    add("line feed after", QStringLiteral("45\n"), pasted, "6", "4");
    add("no-break space after", QStringLiteral("45\u00A0"), pasted, "6", "4");

    // Pasted characters that are invisible or look like others: each text
    // shows 120 (or 150 for the override) and must not score as anything.
    refuse("zero-width space", QStringLiteral("1\u200B20"), pasted, refused);
    refuse("byte-order mark", QStringLiteral("\uFEFF120"), pasted, refused);
    refuse("right-to-left override", QStringLiteral("1\u202E05"), pasted, refused);
    refuse("embedded nul", QString::fromUtf16(u"1\0" "20", 4), pasted, refused);
    refuse("arabic-indic digit", QStringLiteral("\u0663"), typed, refused);
    refuse("no-break space", QStringLiteral("1\u00A020"), pasted, refused);
    outOfView("tab between two cells", QStringLiteral("1.2\t45"), pasted);
    outOfView("tab before a number", QStringLiteral("\t12"), pasted);

    // Blanks inside the number; 30 of them push the 1 out of sight.
    outOfView("30 blanks between digits", u'1' + QString(30, u' ') + QStringLiteral("20"),
              typed);
    refuse("blank between digits", QStringLiteral("1 5"), typed, refused);

    // A digit after the number.
    refuse("italian thousands", QStringLiteral("1.234,5"), typed, refused);

    outOfView("1 MB of digits", QString(1 << 20, u'7'), pasted);
}

void tst_Calculation::hostileText()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(Input, how);
    QFETCH(QString, shown);

    const norvana::FormWidgets &ui = m_w->c;
    const bool hostilePct = box == u"txtPCT";
    QLineEdit *hostile = hostilePct ? ui.pctEdit : ui.crpEdit;
    QLineEdit *other = hostilePct ? ui.crpEdit : ui.pctEdit;

    typeInto(other, hostilePct ? kOtherCrp : kOtherPct);
    enterAsUser(hostile, text, how);
    // The box holds the whole text, as far as its length limit allows.
    QCOMPARE(hostile->text(), text.left(hostile->maxLength()));

    QTest::mouseClick(ui.calculateButton, Qt::LeftButton);

    if (shown.size() == 1) {
        QCOMPARE(ui.scoreLabel->text(), shown);
        QCOMPARE(m_w->boxes.texts(), QStringList());
        return;
    }
    QCOMPARE(ui.scoreLabel->text(), QString());
    QCOMPARE(m_w->boxes.texts(), QStringList{shown});
    const BoxWatcher::Box &warning = m_w->boxes.boxes().constFirst();
    QCOMPARE(warning.title, kBoxTitle);
    QCOMPARE(warning.icon, QMessageBox::Warning);
    QCOMPARE(warning.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(m_w->window.focusWidget(), hostile);
    QCOMPARE(hostile->selectedText(), hostile->text());
}

QTEST_MAIN(tst_Calculation)
#include "tst_calculation.moc"
