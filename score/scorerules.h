#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <optional>

namespace norvana {

// The plausible range and the point bands of one laboratory value.
struct ValueRule
{
    double upperBound; // refused above; zero or less is always refused
    double twoPoints;  // from here on 2 points
    double fourPoints; // from here on 4 points
};

inline constexpr ValueRule kPctRule{500.0, 0.5, 2.0};   // ng/ml
inline constexpr ValueRule kCrpRule{1000.0, 40.0, 100.0}; // mg/L

inline constexpr char16_t kDipNegativo[] = u"Negativo";
inline constexpr char16_t kDipPositivo[] = u"Positivo";

// A value is plausible when it is greater than zero and at most the bound.
// Infinity is above every bound.
bool isPlausible(double value, const ValueRule &rule);

// 0, 2 or 4 points for a value (refused values are banded too).
qint16 valuePoints(double value, const ValueRule &rule);

// Points of a dipstick text: "Negativo" 0, "Positivo" 1, matched ignoring case
// and surrounding blanks; nothing for any other text.
std::optional<qint16> dipstickPoints(QStringView text);

// The score as the label shows it: digits only.
QString scoreText(qint16 score);

} // namespace norvana
