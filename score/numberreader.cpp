#include "numberreader.h"

#include <charconv>
#include <limits>
#include <string>

namespace norvana {
namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Walks the text, skipping blanks between the characters it reads.
class Cursor
{
public:
    explicit Cursor(QStringView text) : m_text(text) { skipBlanks(); }

    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar peek() const { return atEnd() ? QChar() : m_text[m_pos]; }
    void advance()
    {
        ++m_pos;
        skipBlanks();
    }
    qsizetype position() const { return m_pos; }
    void rewind(qsizetype pos) { m_pos = pos; }

private:
    void skipBlanks()
    {
        while (!atEnd() && isBlank(m_text[m_pos]))
            ++m_pos;
    }

    QStringView m_text;
    qsizetype m_pos = 0;
};

} // namespace

double readNumber(QStringView text)
{
    // The number is copied in canonical ASCII form ("-12.5e3") and converted
    // with std::from_chars, which is correctly rounded and ignores the locale.
    std::string numeral;
    Cursor in(text);

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
    if (!anyDigit)
        return 0.0;

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
