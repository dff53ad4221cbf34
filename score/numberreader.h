#pragma once

#include <QString>
#include <QStringView>

#include <cstddef>

namespace norvana {

// A unit that may follow a value's number, and the power of ten that turns a
// value in it into the box's own unit. Its name is as the window writes it
// ("µg/L"); a unit written in any case of its ASCII letters, with "µ", "μ",
// "u" or "mc" for micro, is the same unit.
struct Unit
{
    const char16_t *name;
    int powerOfTen;
};

// The units one box takes, its own first.
struct UnitList
{
    const Unit *units;
    std::size_t count;
};

// A comparator written before a value's number: the number is then a
// limit of the value, not the value ("<0,05", ">= 200").
enum class Comparator {
    None,
    Below,   // "<"
    AtMost,  // "<=" or "≤"
    Above,   // ">"
    AtLeast, // ">=" or "≥"
};

// What the text of a value box says.
struct Reading
{
    enum class Kind {
        Number,      // a number, with no unit or one of the box's units
        UnknownUnit, // a number followed by a text that is none of the box's units
        TwoReadings, // a number that reads both as a decimal and with a thousands point
        Unreadable,  // anything else: the text may show one value and hold another
    };
    Kind kind = Kind::Unreadable;
    double value = 0.0; // in the box's unit; 0 unless kind is Number
    QString unit;       // the unit as written, or empty
    QString number;     // for TwoReadings, the number as written, without a sign
    Comparator comparator = Comparator::None; // for a Number only
    QString comparatorText; // the comparator as written, or empty
};

// Reads the text typed into a value box, but only when the text reads the
// way it looks on screen:
//   blanks, optionally a comparator and blanks, a number, optionally blanks
//   and a unit, then blanks.
// The comparator is one of "<", "<=", "≤", ">", ">=", "≥"; with it the
// number (converted with its unit as any number) is a limit. Any other place
// or repetition of a comparator leaves the text unread or its unit unknown.
// Blanks are spaces, tabs, line ends and no-break spaces. The number has an
// optional sign, digits with at most one decimal separator ("." or ",",
// whichever the user's keyboard gives) and an optional exponent ("e" or "E",
// an optional sign and digits), with no blank inside it. The unit is one of
// `units`, in any case of its ASCII letters, with "µ" (micro sign or Greek
// mu), "u" or "mc" for micro; the value is converted to the box's unit by
// shifting the number's decimal exponent, so "4 mg/dL" is exactly 40 mg/L.
// A text without any digit ("", "abc") reads as the number 0; after a
// comparator (">", "< ng/ml") it is unreadable: no limit is written.
//
// A number that reads two ways, whatever unit follows it, is not read at
// all: 1 to 3 digits, the first not 0, then one "." or "," and exactly three
// digits, with no exponent ("2.000", "1,500"). An Italian report writes two
// thousand "2.000", which the decimal reading would take for 2.
//
// A number followed by any other text without a digit ("45 H", "1OO", "5-")
// is an unknown unit. Every other text is unreadable: one holding a
// character that is neither printable ASCII, a blank nor a micro sign, one
// with a blank inside the number ("1 5", "1 .5"), and one with a digit after
// the number ("1,2,3", "1.234,5", "1.2 45").
//
// The value is never NaN. A number too large for a double reads as
// +/-infinity and one too small as 0, so range checks refuse both.
// Runs in time linear in the length of the text.
Reading readNumber(QStringView text, UnitList units);

} // namespace norvana
