#include "numberreader.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string>

namespace norvana {
namespace {

bool isPrintableAscii(QChar c)
{
    return c >= u' ' && c <= u'~';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Walks the text one character at a time.
class Cursor
{
public:
    explicit Cursor(QStringView text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar peek() const { return atEnd() ? QChar() : m_text[m_pos]; }
    void advance() { ++m_pos; }
    qsizetype position() const { return m_pos; }
    void rewind(qsizetype pos) { m_pos = pos; }
    QStringView rest() const { return m_text.mid(m_pos); }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

} // namespace

std::optional<double> readNumber(QStringView text)
{
    if (!std::all_of(text.begin(), text.end(), isPrintableAscii))
        return std::nullopt;
    if (std::none_of(text.begin(), text.end(), isDigit))
        return 0.0;

    // The number is copied in canonical ASCII form ("-12.5e3") and converted
    // with std::from_chars, which is correctly rounded and ignores the locale.
    std::string numeral;
    Cursor in(text);
    while (in.peek() == u' ')
        in.advance();

    bool negative = false;
    if (in.peek() == u'+' || in.peek() == u'-') {
        negative = in.peek() == u'-';
        in.advance();
    }

    // Position of the first significant digit relative to the decimal point,
    // used only to tell overflow from underflow.
    long magnitude = 0;
    bool significant = false;
    bool anyDigit = false;
    while (isDigit(in.peek())) {
        const char digit = char(in.peek().unicode());
        anyDigit = true;
        if (digit != '0' || significant) {
            significant = true;
            numeral += digit;
            ++magnitude;
        }
        in.advance();
    }
    if (numeral.empty())
        numeral += '0';

    if (in.peek() == u'.' || in.peek() == u',') {
        in.advance();
        numeral += '.';
        while (isDigit(in.peek())) {
            const char digit = char(in.peek().unicode());
            anyDigit = true;
            if (!significant) {
                if (digit == '0')
                    --magnitude;
                else
                    significant = true;
            }
            numeral += digit;
            in.advance();
        }
    }
    // The text holds digits, but not at the start of its number ("x45").
    if (!anyDigit)
        return std::nullopt;

    // The exponent counts only when digits follow "e" and its sign.
    // Beyond the text's length plus the range of a double, an exponent
    // overflows or underflows whatever the digits, so it is clamped there to
    // keep the arithmetic in range.
    const long exponentClamp = long(text.size()) + 1000;
    long exponent = 0;
    if (in.peek() == u'e' || in.peek() == u'E') {
        const qsizetype mark = in.position();
        in.advance();
        bool expNegative = false;
        if (in.peek() == u'+' || in.peek() == u'-') {
            expNegative = in.peek() == u'-';
            in.advance();
        }
        if (isDigit(in.peek())) {
            while (isDigit(in.peek())) {
                if (exponent < exponentClamp)
                    exponent = exponent * 10 + (in.peek().unicode() - u'0');
                in.advance();
            }
            if (expNegative)
                exponent = -exponent;
        } else {
            in.rewind(mark);
        }
    }

    // What follows the number is ignored only when it holds no digit: a
    // digit there means a second number, or a blank inside this one.
    const QStringView rest = in.rest();
    if (std::any_of(rest.begin(), rest.end(), isDigit))
        return std::nullopt;

    if (exponent != 0)
        numeral += 'e' + std::to_string(exponent);

    double value = 0.0;
    const char *first = numeral.data();
    const char *last = first + numeral.size();
    if (std::from_chars(first, last, value).ec == std::errc::result_out_of_range)
        value = magnitude + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -value : value;
}

} // namespace norvana
