#include "numberreader.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>
#include <string>

namespace norvana {
namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// What may stand around the number: the copy of a spreadsheet cell brings
// its line end, a document its no-break space.
bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\u00A0';
}

// The micro sign and the Greek mu, which look alike.
bool isMicro(QChar c)
{
    return c == u'\u00B5' || c == u'\u03BC';
}

// Any other character is invisible, formatting, or may pass for another
// (digits of other scripts, a Greek capital for a Latin one).
bool isAllowed(QChar c)
{
    return (c >= u' ' && c <= u'~') || isBlank(c) || isMicro(c);
}

// Walks the text one character at a time.
class Cursor
{
public:
    explicit Cursor(QStringView text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar peek() const { return atEnd() ? QChar() : m_text[m_pos]; }
    void advance() { ++m_pos; }
    void skipBlanks()
    {
        while (isBlank(peek()))
            advance();
    }
    qsizetype position() const { return m_pos; }
    void rewind(qsizetype pos) { m_pos = pos; }
    QStringView rest() const { return m_text.mid(m_pos); }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

// A number as written: its digits in canonical ASCII form ("12.5"), which
// std::from_chars converts correctly rounded whatever the locale, and its
// decimal exponent.
struct Numeral
{
    std::string digits;
    long exponent = 0;
    // Position of the first significant digit relative to the decimal
    // point, used only to tell overflow from underflow.
    long magnitude = 0;
    bool negative = false;
    // 1 to 3 digits, the first not 0, a separator and exactly 3 digits,
    // without an exponent: a decimal, or thousands written the Italian way.
    bool readsTwoWays = false;
};

// Reads the number at the cursor: [sign] digits [separator digits]
// [exponent]. Nothing when no digit starts it ("x45", "- 3", "e5").
std::optional<Numeral> scanNumber(Cursor &in, long exponentClamp)
{
    Numeral n;
    if (in.peek() == u'+' || in.peek() == u'-') {
        n.negative = in.peek() == u'-';
        in.advance();
    }

    bool significant = false;
    bool anyDigit = false;
    const bool leadingZero = in.peek() == u'0';
    const qsizetype integerStart = in.position();
    while (isDigit(in.peek())) {
        const char digit = char(in.peek().unicode());
        anyDigit = true;
        if (digit != '0' || significant) {
            significant = true;
            n.digits += digit;
            ++n.magnitude;
        }
        in.advance();
    }
    if (n.digits.empty())
        n.digits += '0';

    const qsizetype integerDigits = in.position() - integerStart;
    qsizetype fractionDigits = -1; // no separator
    if (in.peek() == u'.' || in.peek() == u',') {
        in.advance();
        const qsizetype fractionStart = in.position();
        n.digits += '.';
        while (isDigit(in.peek())) {
            const char digit = char(in.peek().unicode());
            anyDigit = true;
            if (!significant) {
                if (digit == '0')
                    --n.magnitude;
                else
                    significant = true;
            }
            n.digits += digit;
            in.advance();
        }
        fractionDigits = in.position() - fractionStart;
    }
    if (!anyDigit)
        return std::nullopt;
    n.readsTwoWays = !n.negative && !leadingZero && integerDigits >= 1 && integerDigits <= 3
        && fractionDigits == 3;

    // The exponent counts only when digits follow "e" and its sign; beyond
    // the clamp it overflows or underflows whatever the digits, so it stops
    // there to keep the arithmetic in range.
    if (in.peek() == u'e' || in.peek() == u'E') {
        const qsizetype mark = in.position();
        in.advance();
        bool negative = false;
        if (in.peek() == u'+' || in.peek() == u'-') {
            negative = in.peek() == u'-';
            in.advance();
        }
        if (!isDigit(in.peek())) {
            in.rewind(mark);
            return n;
        }
        n.readsTwoWays = false;
        while (isDigit(in.peek())) {
            if (n.exponent < exponentClamp)
                n.exponent = n.exponent * 10 + (in.peek().unicode() - u'0');
            in.advance();
        }
        if (negative)
            n.exponent = -n.exponent;
    }
    return n;
}

// The power of ten of the unit written, when it is one of the list: ASCII
// letters in any case, and "µ", "μ", "u" or "mc" for micro.
std::optional<int> unitPower(QStringView written, UnitList units)
{
    QString unit;
    unit.reserve(written.size());
    for (const QChar c : written) {
        if (isMicro(c))
            unit += u'u';
        else
            unit += c >= u'A' && c <= u'Z' ? QChar(c.unicode() + (u'a' - u'A')) : c;
    }
    if (unit.startsWith(u"mc"))
        unit.replace(0, 2, QChar(u'u'));

    for (std::size_t i = 0; i < units.count; ++i) {
        if (unit == QStringView(units.units[i].name))
            return units.units[i].powerOfTen;
    }
    return std::nullopt;
}

// The numeral's value times 10^powerOfTen. The power is added to the
// decimal exponent before the conversion to binary, so no band edge moves
// by rounding.
double toDouble(const Numeral &n, int powerOfTen)
{
    const long exponent = n.exponent + powerOfTen;
    std::string numeral = n.digits;
    if (exponent != 0)
        numeral += 'e' + std::to_string(exponent);

    double value = 0.0;
    const char *first = numeral.data();
    const char *last = first + numeral.size();
    if (std::from_chars(first, last, value).ec == std::errc::result_out_of_range)
        value = n.magnitude + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return n.negative ? -value : value;
}

} // namespace

Reading readNumber(QStringView text, UnitList units)
{
    if (!std::all_of(text.begin(), text.end(), isAllowed))
        return {};
    if (std::none_of(text.begin(), text.end(), isDigit))
        return {Reading::Kind::Number, 0.0, {}, {}};

    Cursor in(text);
    in.skipBlanks();
    const qsizetype numberStart = in.position();
    const std::optional<Numeral> numeral = scanNumber(in, long(text.size()) + 1000);
    if (!numeral)
        return {};
    QStringView number = text.mid(numberStart, in.position() - numberStart);
    if (number.startsWith(u'+'))
        number = number.mid(1);
    in.skipBlanks();
    QStringView unit = in.rest();
    while (!unit.isEmpty() && isBlank(unit.back()))
        unit.chop(1);

    const std::optional<int> power = unit.isEmpty() ? 0 : unitPower(unit, units);
    if (power && numeral->readsTwoWays)
        return {Reading::Kind::TwoReadings, 0.0, {}, number.toString()};
    if (power)
        return {Reading::Kind::Number, toDouble(*numeral, *power), unit.toString(), {}};
    // A digit after the number: a second number, or a blank inside this one.
    if (std::any_of(unit.begin(), unit.end(), isDigit))
        return {};
    return {Reading::Kind::UnknownUnit, 0.0, {}, {}};
}

} // namespace norvana
