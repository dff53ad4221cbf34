// Fuzzes the number reader on arbitrary text and checks it against the
// reading rule, written here apart from the reader as a regular expression,
// with the C library's strtod converting what the rule accepts.
#include "escaped.h"
#include "numberreader.h"

#include <QString>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <optional>
#include <regex.h>
#include <string>

namespace {

[[noreturn]] void fail(const char *what, const std::string &text)
{
    std::fprintf(stderr, "numberreader: %s for \"%s\"\n", what, escaped(text).c_str());
    std::abort();
}

// strtod in the C locale, whatever the process's locale.
double cStrtod(const std::string &text)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return strtod_l(text.c_str(), nullptr, cLocale);
}

// What the rule makes of a text given as code points: the value, or nothing.
// Accepted: printable ASCII only; spaces, a number without blanks (sign,
// digits with one "." or ",", exponent), then text without digits. A text
// without digits reads as 0.
std::optional<double> byTheRule(const std::u32string &codePoints)
{
    std::string text;
    for (const char32_t c : codePoints) {
        if (c < 0x20 || c > 0x7E)
            return std::nullopt;
        text += char(c);
    }
    if (text.find_first_of("0123456789") == std::string::npos)
        return 0.0;

    static const regex_t rule = [] {
        regex_t compiled;
        if (regcomp(&compiled,
                    "^ *([+-]?([0-9]+([.,][0-9]*)?|[.,][0-9]+)([eE][+-]?[0-9]+)?)[^0-9]*$",
                    REG_EXTENDED) != 0)
            std::abort();
        return compiled;
    }();
    regmatch_t match[2];
    if (regexec(&rule, text.c_str(), 2, match, 0) != 0)
        return std::nullopt;
    std::string number = text.substr(size_t(match[1].rm_so), size_t(match[1].rm_eo - match[1].rm_so));
    std::replace(number.begin(), number.end(), ',', '.');
    return cStrtod(number);
}

// The reader must agree with the rule on whether the text reads, and then
// give exactly strtod's double, sign of zero included. On overflow strtod
// gives +/-HUGE_VAL (infinity), on underflow the correctly rounded subnormal
// or zero, which is what the reader must give too.
void check(const QString &text)
{
    const std::optional<double> read = norvana::readNumber(text);
    const std::optional<double> expected = byTheRule(text.toStdU32String());
    const std::string shown = text.toStdString();
    if (read.has_value() != expected.has_value())
        fail(read ? "reads a text the rule refuses" : "refuses a text the rule reads", shown);
    if (read && std::memcmp(&*read, &*expected, sizeof(double)) != 0) {
        std::fprintf(stderr, "numberreader: read %a, strtod %a\n", *read, *expected);
        fail("disagrees with strtod", shown);
    }
}

// Hands out the fuzz bytes one by one; zeros once they run out.
class Bytes
{
public:
    Bytes(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}
    uint8_t next() { return m_pos < m_size ? m_data[m_pos++] : 0; }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// Builds, as Latin-1 text: [sign] digits [("." | ",") digits]
// [("e" | "E") [sign] digits], with blanks between its parts when the blank
// byte's top bit asks for them, followed by a tail that ends the number or
// spoils it. Any part may be empty. The seeds corpus/numberreader/strtod-*
// are laid out for this builder: rounding edges near the smallest subnormal,
// the smallest normal and the largest double.
std::string makeNumeral(Bytes &in)
{
    const uint8_t shape = in.next();
    const size_t intDigits = in.next();
    const size_t fracDigits = (shape & 0x08) ? in.next() : 0;
    const size_t expDigits = (shape & 0x20) ? in.next() % 8 : 0;
    const uint8_t blanks = in.next(); // bit 7: blanks at all; bit i: before the i-th part

    std::string n;
    int part = 0;
    const auto add = [&](char c) {
        if ((blanks & 0x80) && ((blanks >> (part++ % 7)) & 1))
            n += " \t\n\r\xA0"[shape % 5];
        n += c;
    };
    const auto digits = [&](size_t count) {
        for (size_t i = 0; i < count; ++i)
            add(char('0' + in.next() % 10));
    };

    if (shape & 0x03)
        add((shape & 0x01) ? '-' : '+');
    digits(intDigits);
    if (shape & 0x04) {
        add((shape & 0x10) ? ',' : '.');
        digits(fracDigits);
    }
    if (shape & 0x20) {
        add((shape & 0x40) ? 'E' : 'e');
        const uint8_t expSign = in.next() % 3;
        if (expSign != 0)
            add(expSign == 1 ? '-' : '+');
        digits(expDigits);
    }
    // Tails that the rule ignores (a unit, a lone sign or separator, an
    // exponent mark without digits) and tails that spoil the number (a
    // second number, a digit after a unit, an invisible character).
    static const char *const tails[] = {"",    " mg/L", ".",   ",",    "-",      "+",
                                        "e",   "E-",    "x",   " 45",  ",3",     "mg5",
                                        "\t4", "\xA0",  ".3.", " \r\n", "1e 3"};
    n += tails[in.next() % (sizeof tails / sizeof *tails)];
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The bytes as text: decoded from UTF-8, and taken as raw UTF-16 code
    // units (lone surrogates included); copied so that the units are aligned.
    check(QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)));
    std::u16string units(size / 2, u'\0');
    std::memcpy(units.data(), data, units.size() * sizeof(char16_t));
    check(QString::fromUtf16(units.data(), qsizetype(units.size())));

    Bytes in(data, size);
    const std::string numeral = makeNumeral(in);
    check(QString::fromLatin1(numeral.data(), qsizetype(numeral.size())));
    return 0;
}
