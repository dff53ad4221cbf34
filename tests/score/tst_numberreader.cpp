#include "numberreader.h"

#include <QLocale>
#include <QTest>

#include <cmath>
#include <limits>

using norvana::readNumber;

class tst_NumberReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void reads_data();
    void reads();
    void longDigitRuns_data();
    void longDigitRuns();
};

void tst_NumberReader::initTestCase()
{
    // The reader must not depend on the user's locale: run under Italian.
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
}

void tst_NumberReader::reads_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    const double inf = std::numeric_limits<double>::infinity();

    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("blanks only") << QStringLiteral("   \t ") << 0.0;
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
    QTest::newRow("second separator ends the number") << QStringLiteral("1.2.3") << 1.2;
    QTest::newRow("second comma ends the number") << QStringLiteral("1,2,3") << 1.2;
    QTest::newRow("mixed separators") << QStringLiteral("1,5.3") << 1.5;
    QTest::newRow("blank before") << QStringLiteral(" 7") << 7.0;
    QTest::newRow("tab before") << QStringLiteral("\t7") << 7.0;
    QTest::newRow("blanks inside are skipped") << QStringLiteral("1 2 3") << 123.0;
    QTest::newRow("blank after the sign") << QStringLiteral("- 3") << -3.0;
    QTest::newRow("plus sign") << QStringLiteral("+5") << 5.0;
    QTest::newRow("minus sign") << QStringLiteral("-3") << -3.0;
    QTest::newRow("two signs") << QStringLiteral("--3") << 0.0;
    QTest::newRow("trailing minus") << QStringLiteral("5-") << 5.0;
    QTest::newRow("unit after number") << QStringLiteral("45 mg/L") << 45.0;
    QTest::newRow("letters before number") << QStringLiteral("x45") << 0.0;
    QTest::newRow("exponent") << QStringLiteral("1e3") << 1000.0;
    QTest::newRow("capital negative exponent") << QStringLiteral("1E-2") << 0.01;
    QTest::newRow("exponent with plus") << QStringLiteral("2.5e+1") << 25.0;
    QTest::newRow("exponent without digits") << QStringLiteral("1e") << 1.0;
    QTest::newRow("exponent sign without digits") << QStringLiteral("1e-x") << 1.0;
    QTest::newRow("exponent after comma") << QStringLiteral("1,5e2") << 150.0;
    QTest::newRow("huge exponent overflows") << QStringLiteral("1e999") << inf;
    QTest::newRow("huge negative overflows") << QStringLiteral("-1e999") << -inf;
    QTest::newRow("tiny exponent underflows") << QStringLiteral("1e-999") << 0.0;
    QTest::newRow("zero with huge exponent") << QStringLiteral("0e99999") << 0.0;
    QTest::newRow("exponent digit run") << QStringLiteral("1e") + QString(5000, u'9') << inf;
    QTest::newRow("negative exponent digit run")
        << QStringLiteral("1e-") + QString(5000, u'9') << 0.0;
    QTest::newRow("leading zeros") << QStringLiteral("0000.5") << 0.5;
    QTest::newRow("zero") << QStringLiteral("0") << 0.0;
    QTest::newRow("minus zero") << QStringLiteral("-0") << 0.0;
    QTest::newRow("hex prefix") << QStringLiteral("0x10") << 0.0;
    QTest::newRow("radix prefix") << QStringLiteral("&H10") << 0.0;
    QTest::newRow("infinity word") << QStringLiteral("Infinity") << 0.0;
    QTest::newRow("nan word") << QStringLiteral("NaN") << 0.0;
    QTest::newRow("arabic-indic digit") << QStringLiteral("\u0663") << 0.0;
    QTest::newRow("full-width digit") << QStringLiteral("\uFF11") << 0.0;
    QTest::newRow("non-breaking space") << QStringLiteral("\u00A045") << 0.0;
    QTest::newRow("embedded nul ends the number") << QString::fromUtf16(u"4\0" "5", 3) << 4.0;
    QTest::newRow("rounds correctly") << QStringLiteral("0.1") << 0.1;
    QTest::newRow("just below a band edge") << QStringLiteral("1.99") << 1.99;
}

void tst_NumberReader::reads()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    const double value = readNumber(text);
    QVERIFY(!std::isnan(value));
    QCOMPARE(value, expected);
}

void tst_NumberReader::longDigitRuns_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    const QString megabyte(1 << 20, u'7');
    QTest::newRow("1 MB of digits overflows") << megabyte << std::numeric_limits<double>::infinity();
    QTest::newRow("1 MB of zeros then a digit")
        << QString(1 << 20, u'0') + QStringLiteral("42") << 42.0;
    QTest::newRow("1 MB of fraction digits")
        << QStringLiteral("2.") + megabyte << 2.7777777777777777;
    QTest::newRow("tiny fraction times huge exponent")
        << QStringLiteral("0.") + QString(1000, u'0') + QStringLiteral("5e1002") << 50.0;
}

void tst_NumberReader::longDigitRuns()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(readNumber(text), expected);
}

QTEST_GUILESS_MAIN(tst_NumberReader)
#include "tst_numberreader.moc"
