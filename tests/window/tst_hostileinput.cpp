#include "boxwatcher.h"
#include "formtest.h"

#include <QApplication>
#include <QClipboard>

// Feeds hostile texts to txtPCT and txtCRP of the real window, presses
// "&Calcola" and checks that each text is either accepted with the value it
// stands for (the score shows its points) or refused with one warning, the
// focus in its box and its text selected.
//
// Most texts are typed one character (code point) at a time. Texts a user
// cannot type into the box are pasted with Ctrl+V from the clipboard, as
// they come from a lab report or a spreadsheet: invisible and formatting
// characters, tabs and line breaks, NUL, and 1 MB of digits (too slow key
// by key). QLineEdit keeps at most 32767
// characters of a paste, so the 1 MB row reads the digits that remain.
class tst_HostileInput : public WindowSuite
{
    Q_OBJECT

public:
    enum class Entry { Typed, Pasted };
    Q_ENUM(Entry)

private Q_SLOTS:
    void hostileText_data();
    void hostileText();

};

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
void enter(QLineEdit *box, const QString &text, tst_HostileInput::Entry how)
{
    box->setFocus();
    box->selectAll();
    if (text.isEmpty()) {
        QTest::keyClick(box, Qt::Key_Delete);
    } else if (how == tst_HostileInput::Entry::Pasted) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    } else {
        typeCodePoints(box, text);
    }
}

} // namespace

void tst_HostileInput::hostileText_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Entry>("how");
    QTest::addColumn<QString>("score"); // empty: refused with the warning

    const QStringView refused;
    // One row per box: PCT with CRP 50 (2 points), CRP with PCT 1 (2 points).
    const auto add = [](const char *name, const QString &text, Entry how, QStringView pctScore,
                        QStringView crpScore) {
        QTest::addRow("PCT: %s", name) << QStringLiteral("txtPCT") << text << how
                                       << pctScore.toString();
        QTest::addRow("CRP: %s", name) << QStringLiteral("txtCRP") << text << how
                                       << crpScore.toString();
    };
    // A text that shows one value and may hold another is refused, whatever
    // either value would score.
    const auto refuse = [&](const char *name, const QString &text, Entry how) {
        add(name, text, how, refused, refused);
    };
    const auto typed = Entry::Typed;
    const auto pasted = Entry::Pasted;

    // How texts read is the number reader's to test; here texts as they
    // come into the boxes, typed (characters beyond the keyboard's basic
    // plane, an emptied box) and pasted, and what the window does with them.
    refuse("empty", QString(), typed);
    add("plus sign", QStringLiteral("+1.5"), typed, u"4", u"2");
    add("comma below one", QStringLiteral("0,7"), typed, u"4", u"2");
    add("blanks around", QStringLiteral(" 7 "), typed, u"6", u"2");
    add("number then unit", QStringLiteral("45 mg/L"), typed, u"6", u"4");
    add("exponent", QStringLiteral("1e2"), typed, u"6", u"6");
    refuse("number then emoji", QStringLiteral("5\U0001F637"), typed);

    // Pasted characters that are invisible or look like others: each text
    // shows 120 or 100 (or 150 for the override) and must not score as
    // anything.
    refuse("zero-width space", QStringLiteral("1\u200B20"), pasted);
    refuse("soft hyphen", QStringLiteral("1\u00AD20"), pasted);
    refuse("word joiner", QStringLiteral("1\u206020"), pasted);
    refuse("byte-order mark", QStringLiteral("\uFEFF120"), pasted);
    refuse("left-to-right mark", QStringLiteral("1\u200E20"), pasted);
    refuse("right-to-left mark", QStringLiteral("\u200F120"), pasted);
    refuse("right-to-left override", QStringLiteral("1\u202E05"), pasted);
    refuse("embedded nul", QString::fromUtf16(u"1\0" "20", 4), pasted);
    refuse("full-width digits", QStringLiteral("1\uFF10\uFF10"), pasted);
    refuse("mathematical digits", QStringLiteral("1\U0001D7CE\U0001D7CE"), pasted);
    refuse("arabic-indic digit", QStringLiteral("\u0663"), typed);
    refuse("no-break space", QStringLiteral("1\u00A020"), pasted);
    refuse("tab between two cells", QStringLiteral("1.2\t45"), pasted);
    refuse("tab before a number", QStringLiteral("\t12"), pasted);
    refuse("line break after a number", QStringLiteral("12\n"), pasted);

    // Blanks inside the number; 30 of them push the 1 out of sight.
    refuse("blank between digits", QStringLiteral("1 5"), typed);
    refuse("blanks between digits", QStringLiteral("1   20"), typed);
    refuse("30 blanks between digits", u'1' + QString(30, u' ') + QStringLiteral("20"), typed);
    refuse("blank before the separator", QStringLiteral("1 .5"), typed);
    refuse("blank after the exponent mark", QStringLiteral("1e 3"), typed);

    // A digit after the number.
    refuse("list", QStringLiteral("1,2,3"), typed);
    refuse("italian thousands", QStringLiteral("1.234,5"), typed);
    refuse("second number", QStringLiteral("1.2 45"), typed);
    refuse("digit after a unit", QStringLiteral("12mg5"), typed);

    refuse("1 MB of digits", QString(1 << 20, u'7'), pasted);
    refuse("1 MB of zeros then 1", QString(1 << 20, u'0') + u'1', pasted);
}

void tst_HostileInput::hostileText()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(Entry, how);
    QFETCH(QString, score);

    const FormControlsUnderTest &ui = m_w->c;
    const bool hostilePct = box == u"txtPCT";
    QLineEdit *hostile = hostilePct ? ui.txtPCT : ui.txtCRP;
    QLineEdit *other = hostilePct ? ui.txtCRP : ui.txtPCT;

    typeInto(other, hostilePct ? kOtherCrp : kOtherPct);
    enter(hostile, text, how);
    // The box holds the whole text, as far as its length limit allows.
    QCOMPARE(hostile->text(), text.left(hostile->maxLength()));

    QTest::mouseClick(ui.cmdCalcola, Qt::LeftButton);

    QCOMPARE(ui.lblScore->text(), score);
    if (!score.isEmpty()) {
        QCOMPARE(m_w->boxes.texts(), QStringList());
        return;
    }
    QCOMPARE(m_w->boxes.texts(), QStringList{kValueWarning});
    const BoxWatcher::Box &warning = m_w->boxes.boxes().constFirst();
    QCOMPARE(warning.title, kBoxTitle);
    QCOMPARE(warning.icon, QMessageBox::Warning);
    QCOMPARE(warning.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(m_w->window.focusWidget(), hostile);
    QCOMPARE(hostile->selectedText(), hostile->text());
}

QTEST_MAIN(tst_HostileInput)
#include "tst_hostileinput.moc"
