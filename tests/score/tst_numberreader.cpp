#include "numberreader.h"
#include "scorerules.h"

#include <QLocale>
#include <QTest>

#include <limits>

using namespace norvana;

namespace {

// What a text reads as: a number, with the unit as written, or a refusal.
struct Expected : Reading
{
    Expected(double number = 0.0, const char *unit = "")
        : Reading{Kind::Number, number, QString::fromUtf8(unit), {}, Comparator::None, {}} {}
    Expected(Kind refusal, const char *number = "")
        : Reading{refusal, 0.0, {}, QString::fromUtf8(number), Comparator::None, {}} {}
    // A limit: the comparator as written and what it means, the number.
    Expected(const char *comparator, Comparator meaning, double number, const char *unit = "")
        : Reading{Kind::Number, number, QString::fromUtf8(unit), {}, meaning,
                  QString::fromUtf8(comparator)} {}
};

enum class Box { Crp, Pct }; // the box a row's text is read in

} // namespace

Q_DECLARE_METATYPE(Expected)

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
    QTest::addColumn<Expected>("expected");
    QTest::addColumn<Box>("box");
    const auto row = [](const char *name, const QString &text, const Expected &expected,
                        Box box = Box::Crp) {
        QTest::newRow(name) << text << expected << box;
    };

    const double inf = std::numeric_limits<double>::infinity();
    const Expected nothing = Reading::Kind::Unreadable;
    const Expected unknownUnit = Reading::Kind::UnknownUnit;

    row("empty", QString(), 0.0);
    row("spaces only", QStringLiteral("   "), 0.0);
    row("letters", QStringLiteral("abc"), 0.0);
    row("integer", QStringLiteral("45"), 45.0);
    row("decimal point", QStringLiteral("1.2"), 1.2);
    row("decimal comma", QStringLiteral("1,5"), 1.5);
    row("comma below one", QStringLiteral("0,7"), 0.7);
    row("leading point", QStringLiteral(".5"), 0.5);
    row("leading comma", QStringLiteral(",5"), 0.5);
    row("trailing point", QStringLiteral("5."), 5.0);
    row("lone point", QStringLiteral("."), 0.0);
    row("lone sign", QStringLiteral("-"), 0.0);
    row("spaces around", QStringLiteral(" 7 "), 7.0);
    row("plus sign", QStringLiteral("+5"), 5.0);
    row("plus sign and point", QStringLiteral("+1.5"), 1.5);
    row("minus sign", QStringLiteral("-3"), -3.0);
    row("trailing minus", QStringLiteral("5-"), unknownUnit);
    row("unit after number", QStringLiteral("45 mg/L"), {45.0, "mg/L"});
    row("last printable character after", QStringLiteral("5~"), unknownUnit);
    row("exponent", QStringLiteral("1e3"), 1000.0);
    row("capital negative exponent", QStringLiteral("1E-2"), 0.01);
    row("exponent with plus", QStringLiteral("2.5e+1"), 25.0);
    row("exponent without digits", QStringLiteral("1e"), unknownUnit);
    row("exponent sign without digits", QStringLiteral("1e-x"), unknownUnit);
    row("exponent after comma", QStringLiteral("1,5e2"), 150.0);
    row("huge exponent overflows", QStringLiteral("1e999"), inf);
    row("huge negative overflows", QStringLiteral("-1e999"), -inf);
    row("tiny exponent underflows", QStringLiteral("1e-999"), 0.0);
    row("huge negative exponent underflows", QStringLiteral("1e-310999"), 0.0);
    row("zero with huge exponent", QStringLiteral("0e99999"), 0.0);
    row("exponent digit run", QStringLiteral("1e") + QString(5000, u'9'), inf);
    row("negative exponent digit run", QStringLiteral("1e-") + QString(5000, u'9'), 0.0);
    row("leading zeros", QStringLiteral("0000.5"), 0.5);
    row("zero", QStringLiteral("0"), 0.0);
    row("minus zero", QStringLiteral("-0"), 0.0);
    row("infinity word", QStringLiteral("Infinity"), 0.0);
    row("nan word", QStringLiteral("NaN"), 0.0);
    row("rounds correctly", QStringLiteral("0.1"), 0.1);

    // Characters that are not printable ASCII: invisible, formatting or
    // foreign to the keyboard's digits, the text may show another number.
    // Blanks of a copied cell are ignored at either end, nowhere else.
    row("zero-width space", QStringLiteral("1\u200B20"), nothing);
    row("zero-width space after", QStringLiteral("120\u200B"), nothing);
    row("soft hyphen", QStringLiteral("1\u00AD20"), nothing);
    row("soft hyphen after", QStringLiteral("120\u00AD"), nothing);
    row("word joiner", QStringLiteral("1\u206020"), nothing);
    row("byte-order mark", QStringLiteral("\uFEFF45"), nothing);
    row("byte-order mark after", QStringLiteral("45\uFEFF"), nothing);
    row("left-to-right mark", QStringLiteral("45\u200E"), nothing);
    row("right-to-left mark", QStringLiteral("\u200F45"), nothing);
    row("right-to-left mark after", QStringLiteral("45\u200F"), nothing);
    row("right-to-left override", QStringLiteral("1\u202E05"), nothing);
    row("embedded nul", QString::fromUtf16(u"4\0" "5", 3), nothing);
    row("trailing nul", QString::fromUtf16(u"45\0", 3), nothing);
    row("delete character after", QStringLiteral("5\x7F"), nothing);
    row("no-break space", QStringLiteral("1\u00A020"), nothing);
    row("no-break space before", QStringLiteral("\u00A045"), 45.0);
    row("no-break space after", QStringLiteral("45\u00A0"), 45.0);
    row("tab between cells", QStringLiteral("1.2\t45"), nothing);
    row("tab before", QStringLiteral("\t7"), 7.0);
    row("tab after", QStringLiteral("7\t"), 7.0);
    row("line feed after", QStringLiteral("12\n"), 12.0);
    row("carriage return between", QStringLiteral("1\r2"), nothing);
    row("line end after", QStringLiteral("45\r\n"), 45.0);
    row("arabic-indic digit", QStringLiteral("\u0663"), nothing);
    row("full-width digits", QStringLiteral("1\uFF10\uFF10"), nothing);
    row("mathematical digit", QStringLiteral("1\U0001D7CE"), nothing);
    row("emoji after the number", QStringLiteral("5\U0001F637"), nothing);
    row("micro sign without a unit", QStringLiteral("45 \u00B5g"), unknownUnit);

    // Blanks inside the number.
    row("space between digits", QStringLiteral("1 5"), nothing);
    row("spaces between digits", QStringLiteral("1" "   " "20"), nothing);
    row("30 spaces between digits", QStringLiteral("1") + QString(30, u' ') + QStringLiteral("20"), nothing);
    row("space before the separator", QStringLiteral("1 .5"), nothing);
    row("space after the exponent mark", QStringLiteral("1e 3"), nothing);
    row("space after the sign", QStringLiteral("- 3"), nothing);

    // A digit after the number ends.
    row("list with commas", QStringLiteral("1,2,3"), nothing);
    row("two points", QStringLiteral("1.2.3"), nothing);
    row("mixed separators", QStringLiteral("1,5.3"), nothing);
    row("italian thousands", QStringLiteral("1.234,5"), nothing);
    row("second number", QStringLiteral("1.2 45"), nothing);
    row("digit after a unit", QStringLiteral("12mg5"), nothing);
    row("hex prefix", QStringLiteral("0x10"), nothing);

    // Digits, but not at the start of a number.
    row("letters before number", QStringLiteral("x45"), nothing);
    row("exponent without a number", QStringLiteral("e5"), nothing);
    row("radix prefix", QStringLiteral("&H10"), nothing);
    row("two signs", QStringLiteral("--3"), nothing);

    // Units: converted to the box's own by the decimal exponent, so band
    // edges stay exact; only the box's units, and micro written four ways.
    row("crp in mg/dL", QStringLiteral("4,5 mg/dL"), {45.0, "mg/dL"});
    row("crp 3,99 mg/dL exactly", QStringLiteral("3,99 mg/dL"), {39.9, "mg/dL"});
    row("crp unit without a blank", QStringLiteral("45mg/L"), {45.0, "mg/L"});
    row("crp unit in capitals", QStringLiteral("45 MG/L"), {45.0, "MG/L"});
    row("crp in g/L", QStringLiteral("0,06 g/L"), {60.0, "g/L"});
    row("crp in mcg/ml", QStringLiteral("45 mcg/ml"), {45.0, "mcg/ml"});
    row("crp unit after a no-break space", QStringLiteral("45\u00A0mg/L\n"), {45.0, "mg/L"});
    row("crp unit of pct", QStringLiteral("120 ng/ml"), unknownUnit);
    row("crp per hour", QStringLiteral("45 mg/dL/h"), unknownUnit);
    row("crp in mmol/L", QStringLiteral("45 mmol/L"), unknownUnit);
    row("crp flag", QStringLiteral("45 H"), unknownUnit);
    row("crp capital O for zeros", QStringLiteral("1OO"), unknownUnit);
    row("crp percent", QStringLiteral("45%"), unknownUnit);
    row("crp Greek capital mu for M", QStringLiteral("45 \u039CG/L"), nothing);
    row("pct in pg/mL", QStringLiteral("500 pg/mL"), {0.5, "pg/mL"}, Box::Pct);
    row("pct 499 pg/ml", QStringLiteral("499 pg/ml"), {0.499, "pg/ml"}, Box::Pct);
    row("pct in ug/L", QStringLiteral("0,5 ug/L"), {0.5, "ug/L"}, Box::Pct);
    row("pct in micro sign g/L", QStringLiteral("0,5 \u00B5g/L"), {0.5, "\u00B5g/L"}, Box::Pct);
    row("pct in Greek mu g/L", QStringLiteral("0,5 \u03BCg/L"), {0.5, "\u03BCg/L"}, Box::Pct);
    row("pct in ng/L", QStringLiteral("800 ng/L"), {0.8, "ng/L"}, Box::Pct);
    row("pct in ng/ml", QStringLiteral("1,2 ng/ml"), {1.2, "ng/ml"}, Box::Pct);
    row("pct unit of crp", QStringLiteral("1,2 mg/L"), unknownUnit, Box::Pct);
    row("pct lower-case L for 1", QStringLiteral("1l"), unknownUnit, Box::Pct);

    // A number that reads as a decimal and as Italian thousands is refused,
    // with or without a unit; a leading 0, four digits on either side or an
    // exponent read one way only.
    const auto twoReadings = [](const char *number) {
        return Expected(Reading::Kind::TwoReadings, number);
    };
    row("thousands point", QStringLiteral("2.000"), twoReadings("2.000"));
    row("thousands comma", QStringLiteral("1,000"), twoReadings("1,000"));
    row("three digits before thousands", QStringLiteral("123.456"), twoReadings("123.456"));
    row("thousands with a unit", QStringLiteral("+1.500pg/ml"), twoReadings("1.500"), Box::Pct);
    row("thousands with an unknown unit", QStringLiteral("2.000 ng/L"), unknownUnit);
    row("leading zero", QStringLiteral("0.500"), 0.5);
    row("four digits before", QStringLiteral("1234.567"), 1234.567);
    row("four decimals", QStringLiteral("1.0000"), 1.0);
    row("negative thousands", QStringLiteral("-2.000"), -2.0);
    row("thousands with an exponent", QStringLiteral("2.000e0"), 2.0);

    // A limit: one comparator at the start, then a number and unit read as
    // any other; anything else around a number is no limit.
    row("below", QStringLiteral("<0,05"), {"<", Comparator::Below, 0.05}, Box::Pct);
    row("below, blanks and unit", QStringLiteral(" < 0,02 ng/ml"), {"<", Comparator::Below, 0.02, "ng/ml"},
        Box::Pct);
    row("below in pg/ml", QStringLiteral("<50 pg/ml"), {"<", Comparator::Below, 0.05, "pg/ml"}, Box::Pct);
    row("at most", QStringLiteral("<=0,5"), {"<=", Comparator::AtMost, 0.5}, Box::Pct);
    row("at most sign", QStringLiteral("≤ 39"), {"≤", Comparator::AtMost, 39.0});
    row("above in mg/dL", QStringLiteral(">10 mg/dL"), {">", Comparator::Above, 100.0, "mg/dL"});
    row("at least", QStringLiteral(">=100"), {">=", Comparator::AtLeast, 100.0});
    row("at least sign", QStringLiteral("≥ 2"), {"≥", Comparator::AtLeast, 2.0}, Box::Pct);
    row("limit that reads two ways", QStringLiteral("<2.000"), twoReadings("2.000"));
    row("comparator after", QStringLiteral("0,05<"), unknownUnit);
    row("two comparators", QStringLiteral("<<0,05"), nothing);
    row("less and greater", QStringLiteral("<>1"), nothing);
    row("equals first", QStringLiteral("=<1"), nothing);
    row("equals then greater", QStringLiteral("=>1"), nothing);
    row("single angle quotation mark", QStringLiteral("‹0,05"), nothing);
    row("guillemet", QStringLiteral("«0,05"), nothing);
    row("full-width less-than", QStringLiteral("＜0,05"), nothing);
    row("words", QStringLiteral("inferiore a 0,05"), nothing);
    row("range", QStringLiteral("0,5-2"), nothing);
    row("range with a dash", QStringLiteral("2–10"), nothing);
    row("limit with a flag", QStringLiteral("<5 (L)"), unknownUnit);

    // Long digit runs.
    const QString megabyte(1 << 20, u'7');
    row("1 MB of digits overflows", megabyte, inf);
    row("1 MB of zeros then a digit", QString(1 << 20, u'0') + QStringLiteral("42"), 42.0);
    row("1 MB of fraction digits", QStringLiteral("2.") + megabyte, 2.7777777777777777);
    row("tiny fraction times huge exponent", QStringLiteral("0.") + QString(1000, u'0') + QStringLiteral("5e1002"), 50.0);
    row("tiny fraction underflows despite its exponent", QStringLiteral("0.") + QString(1000, u'0') + QStringLiteral("1e500"), 0.0);
}

void tst_NumberReader::reads()
{
    QFETCH(QString, text);
    QFETCH(Expected, expected);
    QFETCH(Box, box);
    // Read as a view that memory continues with a digit: the reader must
    // stop at the end of its view.
    const QString followed = text + u'9';
    const Reading reading = readNumber(QStringView(followed).chopped(1),
                                       box == Box::Pct ? kPctRule.units : kCrpRule.units);
    QCOMPARE(reading.kind, expected.kind);
    // Exactly the double expected: QCOMPARE would let any value within
    // 1e-12 of 0 pass for 0, and others within 1e-12 of the expected one.
    QVERIFY2(reading.value == expected.value, qPrintable(QString::number(reading.value, 'g', 17)));
    QCOMPARE(reading.unit, expected.unit);
    QCOMPARE(reading.number, expected.number);
    QCOMPARE(reading.comparator, expected.comparator);
    QCOMPARE(reading.comparatorText, expected.comparatorText);
}

QTEST_GUILESS_MAIN(tst_NumberReader)
#include "tst_numberreader.moc"
