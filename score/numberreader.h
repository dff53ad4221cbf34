#pragma once

#include <QStringView>

namespace norvana {

// Reads the number at the start of a text typed by the user.
//
// Blanks (space, tab, line feed, carriage return) are skipped wherever they
// stand; then an optional sign, digits with at most one decimal separator
// ("." or ",", whichever the user's keyboard gives), and an optional exponent
// ("e" or "E", an optional sign and digits) are read as far as they form a
// number. Whatever follows is ignored, so "45 mg/L" reads as 45. A text that
// does not begin with a number reads as 0. Only the ASCII digits count.
//
// The result is never NaN. A number too large for a double reads as
// +/-infinity and one too small as 0, so range checks refuse both.
// Runs in time linear in the length of the text.
double readNumber(QStringView text);

} // namespace norvana
