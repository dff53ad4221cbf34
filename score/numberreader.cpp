#include "numberreader.h"

#include <QRegularExpression>

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>
#include <string>

namespace norvana {
namespace {

// What may stand around the number: the copy of a spreadsheet cell brings
// its line end, a document its no-break space.
constexpr char16_t kBlanks[] = u" \t\r\n\u00A0";

// The reading rule. Anything but printable ASCII, blanks and the micro sign
// (U+00B5) or the Greek mu (U+03BC) is invisible, formatting, or may pass for
// another character (digits of other scripts, a Greek capital for a Latin
// one).
const QRegularExpression kAllowed(QStringLiteral("^[ -~ \\t\\r\\n\\x{A0}\\x{B5}\\x{3BC}]*$"));
// Blanks, then the number: a sign, digits with at most one separator, and an
// exponent that counts only with its digits. What follows is the unit.
const QRegularExpression kNumber(QStringLiteral(
    "^[ \\t\\r\\n\\x{A0}]*"
    "(?<number>[+-]?(?<integer>[0-9]*)(?:[.,](?<fraction>[0-9]*))?)"
    "(?:[eE](?<exponent>[+-]?[0-9]+))?"));
// Blanks, then a comparator: the two-character ones first.
const QRegularExpression kComparator(
    QStringLiteral("^[ \\t\\r\\n\\x{A0}]*(?<comparator><=|>=|<|>|\\x{2264}|\\x{2265})"));
// 1 to 3 digits, the first not 0, a separator and exactly 3 digits: a
// decimal, or thousands written the Italian way.
const QRegularExpression kTwoWays(QStringLiteral("^\\+?(?<written>[1-9][0-9]{0,2}[.,][0-9]{3})$"));

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isBlank(QChar c)
{
    return QStringView(kBlanks).contains(c);
}

// The decimal exponent as written, saturated at `clamp` either way: beyond
// it a number overflows or underflows whatever its digits.
long exponentOf(QStringView written, long clamp)
{
    long exponent = 0;
    for (const QChar c : written) {
        if (c != u'+' && c != u'-' && exponent < clamp)
            exponent = exponent * 10 + (c.unicode() - u'0');
    }
    return written.startsWith(u'-') ? -exponent : exponent;
}

// A unit's character as matched: ASCII letters in any case, "µ" and "μ"
// as "u".
char16_t folded(QChar c)
{
    if (c == u'\u00B5' || c == u'\u03BC')
        return u'u';
    return c.unicode() < 0x80 ? c.toLower().unicode() : c.unicode();
}

// The power of ten of the unit written, when it is one of the list: ASCII
// letters in any case, and "µ", "μ", "u" or "mc" for micro.
std::optional<int> unitPower(QStringView written, UnitList units)
{
    QString unit;
    for (const QChar c : written)
        unit += QChar(folded(c));
    if (unit.startsWith(u"mc"))
        unit.replace(0, 2, QChar(u'u'));
    const auto sameAs = [](QChar c, QChar inName) { return c == QChar(folded(inName)); };
    for (std::size_t i = 0; i < units.count; ++i) {
        const QStringView name(units.units[i].name);
        if (std::equal(unit.cbegin(), unit.cend(), name.begin(), name.end(), sameAs))
            return units.units[i].powerOfTen;
    }
    return std::nullopt;
}

// The number's value times 10^powerOfTen, converted once, correctly
// rounded: the power is added to the decimal exponent before the
// conversion, so no band edge moves by rounding.
double toDouble(const QRegularExpressionMatch &match, long exponent)
{
    const QString integer = match.captured(u"integer");
    const QString fraction = match.captured(u"fraction");
    const std::string numeral = (integer.isEmpty() ? QStringLiteral("0") : integer).toStdString()
        + '.' + fraction.toStdString() + 'e' + std::to_string(exponent);
    double value = 0.0;
    if (std::from_chars(numeral.data(), numeral.data() + numeral.size(), value).ec
        == std::errc::result_out_of_range) {
        // Overflow or underflow, told by where the first significant digit
        // stands from the decimal point.
        const auto zeros = [](const QString &digits) {
            return std::find_if(digits.begin(), digits.end(), [](QChar c) { return c != u'0'; })
                - digits.begin();
        };
        const long magnitude = long(zeros(integer) < integer.size() ? integer.size() - zeros(integer)
                                                                     : -zeros(fraction));
        value = magnitude + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return match.captured(u"number").startsWith(u'-') ? -value : value;
}

// Reads a text with no comparator before it.
Reading readValue(QStringView text, UnitList units)
{
    if (!kAllowed.match(text).hasMatch())
        return {};
    if (std::none_of(text.begin(), text.end(), isDigit))
        return {Reading::Kind::Number, 0.0, {}, {}, Comparator::None, {}};

    const QRegularExpressionMatch match = kNumber.match(text);
    if (match.captured(u"integer").isEmpty() && match.captured(u"fraction").isEmpty())
        return {}; // no digit starts the number ("x45", "- 3", "e5")

    QStringView unit = text.mid(match.capturedEnd(0));
    while (!unit.isEmpty() && isBlank(unit.front()))
        unit = unit.mid(1);
    while (!unit.isEmpty() && isBlank(unit.back()))
        unit.chop(1);

    const std::optional<int> power = unit.isEmpty() ? 0 : unitPower(unit, units);
    if (power) {
        const QString exponent = match.captured(u"exponent");
        if (const QRegularExpressionMatch twoWays = kTwoWays.match(match.captured(u"number"));
            exponent.isEmpty() && twoWays.hasMatch())
            return {Reading::Kind::TwoReadings, 0.0, {}, twoWays.captured(u"written"),
                    Comparator::None, {}};
        const long clamp = long(text.size()) + 1000;
        return {Reading::Kind::Number, toDouble(match, exponentOf(exponent, clamp) + *power),
                unit.toString(), {}, Comparator::None, {}};
    }
    // A digit after the number: a second number, or a blank inside this one.
    if (std::any_of(unit.begin(), unit.end(), isDigit))
        return {};
    return {Reading::Kind::UnknownUnit, 0.0, {}, {}, Comparator::None, {}};
}

Comparator comparatorOf(QStringView written)
{
    if (written == u"<")
        return Comparator::Below;
    if (written == u">")
        return Comparator::Above;
    if (written == u"<=" || written == u"\u2264")
        return Comparator::AtMost;
    return Comparator::AtLeast;
}

} // namespace

Reading readNumber(QStringView text, UnitList units)
{
    const QRegularExpressionMatch comparator = kComparator.match(text);
    if (!comparator.hasMatch())
        return readValue(text, units);
    const QStringView limit = text.mid(comparator.capturedEnd(0));
    if (std::none_of(limit.begin(), limit.end(), isDigit))
        return {};
    Reading reading = readValue(limit, units);
    if (reading.kind == Reading::Kind::Number) {
        reading.comparatorText = comparator.captured(u"comparator");
        reading.comparator = comparatorOf(reading.comparatorText);
    }
    return reading;
}

} // namespace norvana
