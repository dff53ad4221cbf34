#include "numberreader.h"

#include <QLocale>
#include <QTest>

#include <cmath>
#include <limits>
#include <optional>

using norvana::readNumber;

class tst_NumberReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void reads_data();
    void reads();
};

void tst_NumberReader::initTestCase()
{
    // The reader must not depend on the user's locale: run under Italian.
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
}

void tst_NumberReader::reads_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected"); // NaN: the text reads as nothing

    const double inf = std::numeric_limits<double>::infinity();
    const double nothing = std::numeric_limits<double>::quiet_NaN();

    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("spaces only") << QStringLiteral("   ") << 0.0;
    QTest::newRow("letters") << QStringLiteral("abc") << 0.0;
    QTest::newRow("integer") << QStringLiteral("45") << 45.0;
    QTest::newRow("decimal point") << QStringLiteral("1.2") << 1.2;
    QTest::newRow("decimal comma") << QStringLiteral("1,5") << 1.5;
    QTest::newRow("comma below one") << QStringLiteral("0,7") << 0.7;
    QTest::newRow("leading point") << QStringLiteral(".5") << 0.5;
    QTest::newRow("leading comma") << QStringLiteral(",5") << 0.5;
    QTest::newRow("trailing point") << QStringLiteral("5.") << 5.0;
    QTest::newRow("lone point") << QStringLiteral(".") << 0.0;
    QTest::newRow("lone sign") << QStringLiteral("-") << 0.0;
    QTest::newRow("spaces around") << QStringLiteral(" 7 ") << 7.0;
    QTest::newRow("plus sign") << QStringLiteral("+5") << 5.0;
    QTest::newRow("plus sign and point") << QStringLiteral("+1.5") << 1.5;
    QTest::newRow("minus sign") << QStringLiteral("-3") << -3.0;
    QTest::newRow("trailing minus") << QStringLiteral("5-") << 5.0;
    QTest::newRow("unit after number") << QStringLiteral("45 mg/L") << 45.0;
    QTest::newRow("last printable character after") << QStringLiteral("5~") << 5.0;
    QTest::newRow("exponent") << QStringLiteral("1e3") << 1000.0;
    QTest::newRow("capital negative exponent") << QStringLiteral("1E-2") << 0.01;
    QTest::newRow("exponent with plus") << QStringLiteral("2.5e+1") << 25.0;
    QTest::newRow("exponent without digits") << QStringLiteral("1e") << 1.0;
    QTest::newRow("exponent sign without digits") << QStringLiteral("1e-x") << 1.0;
    QTest::newRow("exponent after comma") << QStringLiteral("1,5e2") << 150.0;
    QTest::newRow("huge exponent overflows") << QStringLiteral("1e999") << inf;
    QTest::newRow("huge negative overflows") << QStringLiteral("-1e999") << -inf;
    QTest::newRow("tiny exponent underflows") << QStringLiteral("1e-999") << 0.0;
    QTest::newRow("huge negative exponent underflows") << QStringLiteral("1e-310999") << 0.0;
    QTest::newRow("zero with huge exponent") << QStringLiteral("0e99999") << 0.0;
    QTest::newRow("exponent digit run") << QStringLiteral("1e") + QString(5000, u'9') << inf;
    QTest::newRow("negative exponent digit run")
        << QStringLiteral("1e-") + QString(5000, u'9') << 0.0;
    QTest::newRow("leading zeros") << QStringLiteral("0000.5") << 0.5;
    QTest::newRow("zero") << QStringLiteral("0") << 0.0;
    QTest::newRow("minus zero") << QStringLiteral("-0") << 0.0;
    QTest::newRow("infinity word") << QStringLiteral("Infinity") << 0.0;
    QTest::newRow("nan word") << QStringLiteral("NaN") << 0.0;
    QTest::newRow("rounds correctly") << QStringLiteral("0.1") << 0.1;

    // Characters that are not printable ASCII: invisible, formatting or
    // foreign to the keyboard's digits, the text may show another number.
    QTest::newRow("zero-width space") << QStringLiteral("1\u200B20") << nothing;
    QTest::newRow("zero-width space after") << QStringLiteral("120\u200B") << nothing;
    QTest::newRow("soft hyphen") << QStringLiteral("1\u00AD20") << nothing;
    QTest::newRow("soft hyphen after") << QStringLiteral("120\u00AD") << nothing;
    QTest::newRow("word joiner") << QStringLiteral("1\u206020") << nothing;
    QTest::newRow("byte-order mark") << QStringLiteral("\uFEFF45") << nothing;
    QTest::newRow("byte-order mark after") << QStringLiteral("45\uFEFF") << nothing;
    QTest::newRow("left-to-right mark") << QStringLiteral("45\u200E") << nothing;
    QTest::newRow("right-to-left mark") << QStringLiteral("\u200F45") << nothing;
    QTest::newRow("right-to-left mark after") << QStringLiteral("45\u200F") << nothing;
    QTest::newRow("right-to-left override") << QStringLiteral("1\u202E05") << nothing;
    QTest::newRow("embedded nul") << QString::fromUtf16(u"4\0" "5", 3) << nothing;
    QTest::newRow("trailing nul") << QString::fromUtf16(u"45\0", 3) << nothing;
    QTest::newRow("delete character after") << QStringLiteral("5\x7F") << nothing;
    QTest::newRow("no-break space") << QStringLiteral("1\u00A020") << nothing;
    QTest::newRow("no-break space before") << QStringLiteral("\u00A045") << nothing;
    QTest::newRow("no-break space after") << QStringLiteral("45\u00A0") << nothing;
    QTest::newRow("tab between cells") << QStringLiteral("1.2\t45") << nothing;
    QTest::newRow("tab before") << QStringLiteral("\t7") << nothing;
    QTest::newRow("tab after") << QStringLiteral("7\t") << nothing;
    QTest::newRow("line feed after") << QStringLiteral("12\n") << nothing;
    QTest::newRow("carriage return between") << QStringLiteral("1\r2") << nothing;
    QTest::newRow("carriage return after") << QStringLiteral("45\r") << nothing;
    QTest::newRow("arabic-indic digit") << QStringLiteral("\u0663") << nothing;
    QTest::newRow("full-width digits") << QStringLiteral("1\uFF10\uFF10") << nothing;
    QTest::newRow("mathematical digit") << QStringLiteral("1\U0001D7CE") << nothing;
    QTest::newRow("emoji after the number") << QStringLiteral("5\U0001F637") << nothing;
    QTest::newRow("accented unit") << QStringLiteral("45 \u00B5g") << nothing;

    // Blanks inside the number.
    QTest::newRow("space between digits") << QStringLiteral("1 5") << nothing;
    QTest::newRow("spaces between digits") << QStringLiteral("1" "   " "20") << nothing;
    QTest::newRow("30 spaces between digits")
        << QStringLiteral("1") + QString(30, u' ') + QStringLiteral("20") << nothing;
    QTest::newRow("space before the separator") << QStringLiteral("1 .5") << nothing;
    QTest::newRow("space after the exponent mark") << QStringLiteral("1e 3") << nothing;
    QTest::newRow("space after the sign") << QStringLiteral("- 3") << nothing;

    // A digit after the number ends.
    QTest::newRow("list with commas") << QStringLiteral("1,2,3") << nothing;
    QTest::newRow("two points") << QStringLiteral("1.2.3") << nothing;
    QTest::newRow("mixed separators") << QStringLiteral("1,5.3") << nothing;
    QTest::newRow("italian thousands") << QStringLiteral("1.234,5") << nothing;
    QTest::newRow("second number") << QStringLiteral("1.2 45") << nothing;
    QTest::newRow("digit after a unit") << QStringLiteral("12mg5") << nothing;
    QTest::newRow("hex prefix") << QStringLiteral("0x10") << nothing;

    // Digits, but not at the start of a number.
    QTest::newRow("letters before number") << QStringLiteral("x45") << nothing;
    QTest::newRow("exponent without a number") << QStringLiteral("e5") << nothing;
    QTest::newRow("radix prefix") << QStringLiteral("&H10") << nothing;
    QTest::newRow("two signs") << QStringLiteral("--3") << nothing;

    // Long digit runs.
    const QString megabyte(1 << 20, u'7');
    QTest::newRow("1 MB of digits overflows") << megabyte << inf;
    QTest::newRow("1 MB of zeros then a digit")
        << QString(1 << 20, u'0') + QStringLiteral("42") << 42.0;
    QTest::newRow("1 MB of fraction digits")
        << QStringLiteral("2.") + megabyte << 2.7777777777777777;
    QTest::newRow("tiny fraction times huge exponent")
        << QStringLiteral("0.") + QString(1000, u'0') + QStringLiteral("5e1002") << 50.0;
    QTest::newRow("tiny fraction underflows despite its exponent")
        << QStringLiteral("0.") + QString(1000, u'0') + QStringLiteral("1e500") << 0.0;
}

void tst_NumberReader::reads()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    // Read as a view that memory continues with a digit: the reader must
    // stop at the end of its view.
    const QString followed = text + u'9';
    const std::optional<double> value = readNumber(QStringView(followed).chopped(1));
    if (std::isnan(expected)) {
        QVERIFY2(!value, qPrintable(QString::number(value.value_or(0.0))));
        return;
    }
    QVERIFY(value);
    // Exactly the double expected: QCOMPARE would let any value within
    // 1e-12 of 0 pass for 0, and others within 1e-12 of the expected one.
    QVERIFY2(*value == expected, qPrintable(QString::number(*value, 'g', 17)));
}

QTEST_GUILESS_MAIN(tst_NumberReader)
#include "tst_numberreader.moc"
