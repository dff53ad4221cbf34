#pragma once

#include <QStringView>

#include <optional>

namespace norvana {

// Reads the number typed into a value box, but only when the text reads the
// way it looks on screen.
//
// A text reads as a number when it is made of printable ASCII characters
// only and is: optional spaces; a number, with no blank inside it, of an
// optional sign, digits with at most one decimal separator ("." or ",",
// whichever the user's keyboard gives) and an optional exponent ("e" or "E",
// an optional sign and digits); then any text without a digit, which is
// ignored, so "45 mg/L" reads as 45 and "5-" as 5. A text without any digit
// ("", "abc") reads as 0.
//
// Every other text reads as nothing: one holding an invisible, formatting or
// non-ASCII character (a no-break space, a tab, a line break, a right-to-left
// mark, NUL, digits of other scripts), one with a blank inside the number
// ("1 5", "1 .5", "1e 3") and one with a digit after the number ("1,2,3",
// "1.234,5", "1.2 45"). Such a text may show one value and hold another.
//
// The result is never NaN. A number too large for a double reads as
// +/-infinity and one too small as 0, so range checks refuse both.
// Runs in time linear in the length of the text.
std::optional<double> readNumber(QStringView text);

} // namespace norvana
