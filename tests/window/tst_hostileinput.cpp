#include "boxwatcher.h"
#include "formtest.h"
#include "numberreader.h"

#include <QApplication>
#include <QClipboard>

#include <limits>

// Feeds hostile texts to txtPCT and txtCRP of the real window, presses
// "&Calcola" and checks that each text is either accepted with the value it
// stands for (the score shows its points) or refused with the warning.
//
// Most texts are typed one character (code point) at a time. Texts a user
// cannot type into the box are pasted with Ctrl+V from the clipboard: a tab
// (typing it moves the focus), an embedded NUL (not accepted as typed input)
// and 1 MB of digits (too slow key by key). QLineEdit keeps at most 32767
// characters of a paste, so the 1 MB row reads the digits that remain.
class tst_HostileInput : public QObject
{
    Q_OBJECT

public:
    enum class Entry { Typed, Pasted };
    Q_ENUM(Entry)

private Q_SLOTS:
    void init();
    void cleanup();
    void hostileText_data();
    void hostileText();

private:
    std::unique_ptr<norvana::Form1> m_window;
    std::unique_ptr<BoxWatcher> m_watcher;
};

namespace {

const QString kRefused = QStringLiteral("Immettere un valore plausibile maggiore di zero!");

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

void tst_HostileInput::init()
{
    m_window = std::make_unique<norvana::Form1>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_watcher = std::make_unique<BoxWatcher>();
}

void tst_HostileInput::cleanup()
{
    m_watcher.reset();
    m_window.reset();
}

void tst_HostileInput::hostileText_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Entry>("how");
    QTest::addColumn<double>("value");  // what the box's text reads as
    QTest::addColumn<QString>("score"); // empty: refused with the warning

    const double inf = std::numeric_limits<double>::infinity();
    const QStringView refused;
    // One row per box: PCT with CRP 50 (2 points), CRP with PCT 1 (2 points).
    const auto add = [](const char *name, const QString &text, Entry how, double value,
                        QStringView pctScore, QStringView crpScore) {
        QTest::addRow("PCT: %s", name) << QStringLiteral("txtPCT") << text << how << value
                                       << pctScore.toString();
        QTest::addRow("CRP: %s", name) << QStringLiteral("txtCRP") << text << how << value
                                       << crpScore.toString();
    };
    const auto typed = Entry::Typed;
    const auto pasted = Entry::Pasted;

    add("empty", QString(), typed, 0.0, refused, refused);
    add("blanks only", QStringLiteral("   "), typed, 0.0, refused, refused);
    add("tab", QStringLiteral("\t"), pasted, 0.0, refused, refused);
    add("tab before a number", QStringLiteral("\t12"), pasted, 12.0, u"6", u"2");
    add("letters", QStringLiteral("abc"), typed, 0.0, refused, refused);
    add("zero", QStringLiteral("0"), typed, 0.0, refused, refused);
    add("minus zero", QStringLiteral("-0"), typed, 0.0, refused, refused);
    add("negative", QStringLiteral("-3"), typed, -3.0, refused, refused);
    add("plus sign", QStringLiteral("+5"), typed, 5.0, u"6", u"2");
    add("leading point", QStringLiteral(".5"), typed, 0.5, u"4", u"2");
    add("trailing point", QStringLiteral("5."), typed, 5.0, u"6", u"2");
    add("decimal comma", QStringLiteral("1,5"), typed, 1.5, u"4", u"2");
    add("comma below one", QStringLiteral("0,7"), typed, 0.7, u"4", u"2");
    add("two points", QStringLiteral("1.2.3"), typed, 1.2, u"4", u"2");
    add("two commas", QStringLiteral("1,2,3"), typed, 1.2, u"4", u"2");
    add("trailing minus", QStringLiteral("5-"), typed, 5.0, u"6", u"2");
    add("exponent", QStringLiteral("1e3"), typed, 1000.0, refused, u"6");
    add("negative exponent", QStringLiteral("1E-2"), typed, 0.01, u"2", u"2");
    add("exponent crossing a band", QStringLiteral("4.5e1"), typed, 45.0, u"6", u"4");
    add("huge exponent", QStringLiteral("1e999"), typed, inf, refused, refused);
    add("tiny exponent", QStringLiteral("1e-999"), typed, 0.0, refused, refused);
    add("infinity word", QStringLiteral("Infinity"), typed, 0.0, refused, refused);
    add("nan word", QStringLiteral("NaN"), typed, 0.0, refused, refused);
    add("hex prefix", QStringLiteral("0x10"), typed, 0.0, refused, refused);
    add("radix prefix", QStringLiteral("&H10"), typed, 0.0, refused, refused);
    add("arabic-indic digit", QStringLiteral("\u0663"), typed, 0.0, refused, refused);
    add("full-width digit", QStringLiteral("\uFF11"), typed, 0.0, refused, refused);
    add("right-to-left mark before a number", QStringLiteral("\u200F45"), typed, 0.0, refused,
        refused);
    add("emoji", QStringLiteral("\U0001F637"), typed, 0.0, refused, refused);
    add("number then emoji", QStringLiteral("5\U0001F637"), typed, 5.0, u"6", u"2");
    add("embedded nul", QString::fromUtf16(u"4\0" "5", 3), pasted, 4.0, u"6", u"2");
    add("number then unit", QStringLiteral("45 mg/L"), typed, 45.0, u"6", u"4");
    add("1 MB of digits", QString(1 << 20, u'7'), pasted, inf, refused, refused);
    add("1 MB of zeros then 1", QString(1 << 20, u'0') + u'1', pasted, 0.0, refused, refused);
}

void tst_HostileInput::hostileText()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(Entry, how);
    QFETCH(double, value);
    QFETCH(QString, score);

    const FormControlsUnderTest ui(*m_window);
    const bool hostilePct = box == u"txtPCT";
    QLineEdit *hostile = hostilePct ? ui.txtPCT : ui.txtCRP;
    QLineEdit *other = hostilePct ? ui.txtCRP : ui.txtPCT;

    typeInto(other, hostilePct ? kOtherCrp : kOtherPct);
    enter(hostile, text, how);
    // The box holds the whole text, as far as its length limit allows.
    QCOMPARE(hostile->text(), text.left(hostile->maxLength()));
    QCOMPARE(norvana::readNumber(hostile->text()), value);

    QTest::mouseClick(ui.cmdCalcola, Qt::LeftButton);

    QCOMPARE(ui.lblScore->text(), score);
    if (!score.isEmpty()) {
        QCOMPARE(m_watcher->texts(), QStringList());
        return;
    }
    QCOMPARE(m_watcher->texts(), QStringList{kRefused});
    const BoxWatcher::Box &warning = m_watcher->boxes().constFirst();
    QCOMPARE(warning.title, QStringLiteral("NORVANA"));
    QCOMPARE(warning.icon, QMessageBox::Warning);
    QCOMPARE(warning.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(m_window->focusWidget(), hostile);
    QCOMPARE(hostile->selectedText(), hostile->text());
}

QTEST_MAIN(tst_HostileInput)
#include "tst_hostileinput.moc"
