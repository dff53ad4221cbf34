#pragma once

#include "numberreader.h"

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <iterator>
#include <optional>

namespace norvana {

// The plausible range, the point bands and the units of one laboratory
// value; range and bands are in the first unit.
struct ValueRule
{
    double upperBound; // refused above; zero or less is always refused
    double twoPoints;  // from here on 2 points
    double fourPoints; // from here on 4 points
    UnitList units;
};

inline constexpr Unit kPctUnits[] = {
    {u"ng/ml", 0}, {u"ug/l", 0}, {u"pg/ml", -3}, {u"ng/l", -3}};
inline constexpr Unit kCrpUnits[] = {
    {u"mg/l", 0}, {u"ug/ml", 0}, {u"mg/dl", 1}, {u"g/l", 3}};

inline constexpr ValueRule kPctRule{500.0, 0.5, 2.0, {kPctUnits, std::size(kPctUnits)}};
inline constexpr ValueRule kCrpRule{1000.0, 40.0, 100.0, {kCrpUnits, std::size(kCrpUnits)}};

inline constexpr char16_t kNegativeItem[] = u"Negativo";
inline constexpr char16_t kPositiveItem[] = u"Positivo";

// A value is plausible when it is greater than zero and at most the bound.
// Infinity is above every bound.
bool isPlausible(double value, const ValueRule &rule);

// 0, 2 or 4 points for a value (refused values are banded too).
qint16 valuePoints(double value, const ValueRule &rule);

// What a limit ("<0,05", ">=200") says of a value's points.
struct LimitPoints
{
    enum class Kind {
        Settled,     // every plausible value within the limit earns `points`
        AcrossEdge,  // the plausible values within it lie either side of `edge`
        NoPlausible, // no plausible value is within it
    };
    Kind kind = Kind::NoPlausible;
    qint16 points = 0;
    double edge = 0.0; // the band edge nearest the limit, for AcrossEdge
};

// The points of the plausible values within a limit, in the rule's unit.
LimitPoints limitPoints(Comparator comparator, double limit, const ValueRule &rule);

// Points of a dipstick text: "Negativo" 0, "Positivo" 1, matched ignoring case
// and surrounding blanks; nothing for any other text.
std::optional<qint16> dipstickPoints(QStringView text);

// The score as the label shows it: digits only.
QString scoreText(qint16 score);

} // namespace norvana
