// Fuzzes the number reader on arbitrary text, read in either box, and checks
// it against the reading rule, written here apart from the reader as regular
// expressions, with the C library's strtod converting what the rule accepts.
#include "escaped.h"
#include "numberreader.h"
#include "scorerules.h"

#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <iterator>
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

// A box's units as the rule writes them: POSIX extended patterns, matched
// ignoring case, with \x01 standing for the micro sign and the Greek mu.
struct UnitPattern
{
    const char *pattern;
    int powerOfTen;
};

constexpr size_t kUnitsPerBox = 4;

struct Box
{
    const char *name;
    norvana::UnitList units;
    UnitPattern patterns[kUnitsPerBox];
};

const Box kBoxes[] = {
    {"PCT", norvana::kPctRule.units,
     {{"ng/ml", 0}, {"(\x01|u|mc)g/l", 0}, {"pg/ml", -3}, {"ng/l", -3}}},
    {"CRP", norvana::kCrpRule.units,
     {{"mg/l", 0}, {"(\x01|u|mc)g/ml", 0}, {"mg/dl", 1}, {"g/l", 3}}},
};

regex_t compiled(const std::string &pattern)
{
    regex_t re;
    if (regcomp(&re, pattern.c_str(), REG_EXTENDED | REG_ICASE) != 0)
        std::abort();
    return re;
}

// Blanks (\x02 stands for the no-break space), and the number with its
// optional exponent.
#define BLANK "[ \t\r\n\x02]"
#define NUMBER "([+-]?([0-9]+([.,][0-9]*)?|[.,][0-9]+))([eE]([+-]?[0-9]+))?"

std::string group(const std::string &text, const regmatch_t &m)
{
    return m.rm_so < 0 ? std::string() : text.substr(size_t(m.rm_so), size_t(m.rm_eo - m.rm_so));
}

// What the rule makes of a text given as code points, read in a box.
// Allowed: printable ASCII, blanks, micro signs. A text without digits reads
// as 0. Accepted: blanks, a number without blanks inside, optionally blanks
// and one of the box's units, blanks; its value is strtod's of the number
// with the unit's power of ten added to its exponent, unless the number
// reads two ways ("2.000": 2 or 2000), which is refused. A number followed by
// other text without digits is an unknown unit; anything else is unreadable.
//
// Before all that, blanks and one comparator (\x03 and \x04 stand for the
// signs less-than-or-equal and greater-than-or-equal) make the number read
// from the rest a limit, and a rest without digits unreadable; the signs
// are allowed nowhere else.
norvana::Reading byTheRule(const std::u32string &codePoints, const Box &box, bool limitAllowed = true)
{
    using Kind = norvana::Reading::Kind;
    using norvana::Comparator;
    std::string text;
    for (const char32_t c : codePoints) {
        if (c == 0xB5 || c == 0x3BC)
            text += '\x01';
        else if (c == 0xA0)
            text += '\x02';
        else if (c == 0x2264 || c == 0x2265)
            text += c == 0x2264 ? '\x03' : '\x04';
        else if ((c >= 0x20 && c <= 0x7E) || c == '\t' || c == '\r' || c == '\n')
            text += char(c);
        else
            return {};
    }
    static const regex_t limit = compiled("^" BLANK "*(<=|>=|<|>|\x03|\x04)");
    regmatch_t lm[2];
    if (limitAllowed && regexec(&limit, text.c_str(), 2, lm, 0) == 0) {
        const std::u32string rest = codePoints.substr(size_t(lm[0].rm_eo));
        norvana::Reading read = byTheRule(rest, box, false);
        if (read.kind != Kind::Number)
            return read;
        if (rest.find_first_of(U"0123456789") == std::u32string::npos)
            return {}; // a comparator with no number

        static const struct { const char *written; Comparator meaning; } meanings[] = {
            {"<", Comparator::Below},   {"<=", Comparator::AtMost}, {"\x03", Comparator::AtMost},
            {">", Comparator::Above},   {">=", Comparator::AtLeast}, {"\x04", Comparator::AtLeast}};
        const std::string written = group(text, lm[1]);
        for (const auto &m : meanings) {
            if (written == m.written)
                read.comparator = m.meaning;
        }
        read.comparatorText = QString::fromStdU32String(
            codePoints.substr(size_t(lm[1].rm_so), size_t(lm[1].rm_eo - lm[1].rm_so)));
        return read;
    }
    if (text.find_first_of("\x03\x04") != std::string::npos)
        return {};
    if (text.find_first_of("0123456789") == std::string::npos)
        return {Kind::Number, 0.0, {}, {}, Comparator::None, {}};

    // The box's rules: the accepted form, the form of an unknown unit, and
    // each unit on its own. Compiled once and kept, still reachable, to the
    // end.
    struct Rules
    {
        regex_t accepted;
        regex_t unknownUnit;
        regex_t units[kUnitsPerBox];
    };
    static const Rules *const allRules = [] {
        auto *made = new Rules[std::size(kBoxes)];
        for (size_t b = 0; b < std::size(kBoxes); ++b) {
            std::string units;
            for (size_t i = 0; i < kUnitsPerBox; ++i) {
                const std::string pattern = kBoxes[b].patterns[i].pattern;
                units += (i == 0 ? "" : "|") + pattern;
                made[b].units[i] = compiled("^(" + pattern + ")$");
            }
            made[b].accepted =
                compiled("^" BLANK "*" NUMBER BLANK "*(" + units + ")?" BLANK "*$");
            made[b].unknownUnit = compiled("^" BLANK "*" NUMBER "[^0-9]*$");
        }
        return made;
    }();
    const Rules &rules = allRules[&box - kBoxes];

    regmatch_t m[7];
    if (regexec(&rules.accepted, text.c_str(), 7, m, 0) != 0) {
        const bool unknownUnit = regexec(&rules.unknownUnit, text.c_str(), 0, nullptr, 0) == 0;
        return {unknownUnit ? Kind::UnknownUnit : Kind::Unreadable, 0.0, {}, {}, Comparator::None, {}};
    }

    // 1 to 3 digits, the first not 0, a separator and three digits, without
    // an exponent: a decimal, or thousands written the Italian way.
    static const regex_t twoWays = compiled("^[+]?([1-9][0-9]?[0-9]?[.,][0-9][0-9][0-9])$");
    regmatch_t numberMatch[2];
    const std::string numberAsWritten = group(text, m[1]);
    if (m[4].rm_so < 0 && regexec(&twoWays, numberAsWritten.c_str(), 2, numberMatch, 0) == 0)
        return {Kind::TwoReadings, 0.0, {}, QString::fromStdString(group(numberAsWritten, numberMatch[1])),
                Comparator::None, {}};

    const std::string written = group(text, m[6]);
    int power = 0;
    for (size_t i = 0; i < kUnitsPerBox; ++i) {
        if (!written.empty() && regexec(&rules.units[i], written.c_str(), 0, nullptr, 0) == 0)
            power = box.patterns[i].powerOfTen;
    }
    // The exponent as written, saturated far beyond any double's range.
    long exponent = std::strtol(group(text, m[5]).c_str(), nullptr, 10);
    exponent = std::clamp(exponent, -1000000000L, 1000000000L) + power;
    std::string number = group(text, m[1]) + "e" + std::to_string(exponent);
    std::replace(number.begin(), number.end(), ',', '.');

    // The unit as written, from the code points it stands for.
    const std::u32string unit = codePoints.substr(size_t(m[6].rm_so < 0 ? 0 : m[6].rm_so),
                                                  written.size());
    return {Kind::Number, cStrtod(number), QString::fromStdU32String(unit), {}, Comparator::None, {}};
}

// The reader must agree with the rule on what the text is, and for a number
// give exactly strtod's double, sign of zero included, and the unit as
// written. On overflow strtod gives +/-HUGE_VAL (infinity), on underflow the
// correctly rounded subnormal or zero, which is what the reader must give too.
void check(const QString &text)
{
    const std::string shown = text.toStdString();
    for (const Box &box : kBoxes) {
        const norvana::Reading read = norvana::readNumber(text, box.units);
        const norvana::Reading expected = byTheRule(text.toStdU32String(), box);
        if (read.kind != expected.kind) {
            std::fprintf(stderr, "numberreader: in %s, kind %d instead of %d\n", box.name,
                         int(read.kind), int(expected.kind));
            fail("disagrees with the rule", shown);
        }
        if (std::memcmp(&read.value, &expected.value, sizeof(double)) != 0) {
            std::fprintf(stderr, "numberreader: in %s, read %a, strtod %a\n", box.name,
                         read.value, expected.value);
            fail("disagrees with strtod", shown);
        }
        if (read.unit != expected.unit)
            fail("reports another unit", shown);
        if (read.number != expected.number)
            fail("reports another number as written", shown);
        if (read.comparator != expected.comparator || read.comparatorText != expected.comparatorText)
            fail("reports another comparator", shown);
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

// Builds, as Latin-1 text: [comparator] [sign] digits [("." | ",") digits]
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

    // With the shape's top bit, a comparator first, or a text that looks like one.
    static const char *const comparators[] = {"<", "<=", ">", ">=", " < ", ">\xA0", "<<", "=<"};
    std::string n = (shape & 0x80) ? comparators[intDigits % 8] : "";
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
    // Tails: every unit of either box, in other cases and with micro
    // written each way; text that is no unit (a lone sign or separator, an
    // exponent mark without digits, a flag, look-alike letters); tails that
    // spoil the number (a second number, a digit after a unit, an invisible
    // character); and blanks of a copied cell.
    static const char *const tails[] = {
        "",        " mg/L",    "MG/DL",     " g/l",   "\xB5g/ml", " mcg/mL", "ng/mL",
        " \xB5g/L", " UG/L",   "\xA0pg/ml", " ng/L",  " mg/dL/h", " mmol/L", " %",
        " H",      "OO",       "l",         ".",      ",",        "-",        "+",
        "e",       "E-",       "x",         " 45",    ",3",       "mg5",      "\t4",
        "\xA0",    ".3.",      " \r\n",     "1e 3",   " mg /L",   "\t\xA0\n"};
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
