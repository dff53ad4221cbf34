// Fuzzes the number reader on arbitrary text and checks it against the C
// library's strtod on canonical numerals built from the same bytes.
#include "escaped.h"
#include "numberreader.h"

#include <QString>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>

namespace {

[[noreturn]] void fail(const char *what, const std::string &text)
{
    std::fprintf(stderr, "numberreader: %s for \"%s\"\n", what, escaped(text).c_str());
    std::abort();
}

void checkNeverNan(QStringView text)
{
    if (std::isnan(norvana::readNumber(text)))
        fail("NaN", text.toString().toStdString());
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

// A numeral in two spellings: as a user might type it (blanks anywhere, "."
// or ",") and as strtod reads it (no blanks, ".").
struct Numeral
{
    std::string typed;
    std::string plain;

    void add(char c, char plainC, bool blankBefore, uint8_t blankKind)
    {
        if (blankBefore)
            typed += " \t\n\r"[blankKind % 4];
        typed += c;
        plain += plainC;
    }
};

// Builds: [sign] digits [("." | ",") digits] [("e" | "E") [sign] digits]
// followed by a tail that ends any number. Any part may be empty. The seeds
// corpus/numberreader/strtod-* are laid out for this builder: rounding edges
// near the smallest subnormal, the smallest normal and the largest double.
Numeral makeNumeral(Bytes &in)
{
    const uint8_t shape = in.next();
    const size_t intDigits = in.next();
    const size_t fracDigits = (shape & 0x08) ? in.next() : 0;
    const size_t expDigits = (shape & 0x20) ? in.next() % 8 : 0;
    const uint8_t blanks = in.next(); // bit i: a blank before the i-th part

    Numeral n;
    int part = 0;
    const auto blankHere = [&] { return (blanks >> (part++ % 8)) & 1; };
    const auto digits = [&](size_t count) {
        for (size_t i = 0; i < count; ++i) {
            const char d = char('0' + in.next() % 10);
            n.add(d, d, blankHere(), shape);
        }
    };

    if (shape & 0x03)
        n.add((shape & 0x01) ? '-' : '+', (shape & 0x01) ? '-' : '+', blankHere(), shape);
    digits(intDigits);
    if (shape & 0x04) {
        n.add((shape & 0x10) ? ',' : '.', '.', blankHere(), shape);
        digits(fracDigits);
    }
    if (shape & 0x20) {
        n.add((shape & 0x40) ? 'E' : 'e', (shape & 0x40) ? 'E' : 'e', blankHere(), shape);
        const uint8_t expSign = in.next() % 3;
        if (expSign != 0)
            n.add(expSign == 1 ? '-' : '+', expSign == 1 ? '-' : '+', blankHere(), shape);
        digits(expDigits);
    }
    // Texts that stop both readers: a unit, a second separator, a lone sign,
    // an exponent mark without digits.
    static const char *const tails[] = {"", " mg/L", ".", ",", "-", "+", "e", "E-", "x"};
    const char *tail = tails[in.next() % (sizeof tails / sizeof *tails)];
    n.typed += tail;
    n.plain += tail;
    return n;
}

// strtod in the C locale, whatever the process's locale.
double cStrtod(const std::string &text, int &error)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    errno = 0;
    const double value = strtod_l(text.c_str(), nullptr, cLocale);
    error = errno;
    return value;
}

// The reader must give exactly strtod's double, sign of zero included. On
// overflow strtod gives +/-HUGE_VAL (infinity), on underflow the correctly
// rounded subnormal or zero; both set ERANGE and both are what the reader
// must give too, so ERANGE asks for no tolerance.
void checkAgainstStrtod(const Numeral &n)
{
    const double read = norvana::readNumber(QString::fromLatin1(n.typed));
    int error = 0;
    const double expected = cStrtod(n.plain, error);
    if (std::memcmp(&read, &expected, sizeof read) != 0) {
        std::fprintf(stderr, "numberreader: read %a, strtod %a (errno %d)\n", read, expected,
                     error);
        fail("disagrees with strtod", n.typed);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The bytes as text: decoded from UTF-8, and taken as raw UTF-16 code
    // units (lone surrogates included); copied so that the units are aligned.
    checkNeverNan(QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)));
    std::u16string units(size / 2, u'\0');
    std::memcpy(units.data(), data, units.size() * sizeof(char16_t));
    checkNeverNan(units);

    Bytes in(data, size);
    checkAgainstStrtod(makeNumeral(in));
    return 0;
}
