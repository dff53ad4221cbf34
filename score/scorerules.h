#pragma once

#include "numberreader.h"

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <iterator>
#include <optional>

namespace norvana {

// One laboratory value as the window knows it: its name, its plausible
// range, its point bands and its units, the box's own first; range and
// bands are in that unit.
struct ValueRule
{
    const char16_t *name; // as the window writes it: "PCT"
    double upperBound;    // refused above; zero or less is always refused
    double twoPoints;     // from here on 2 points
    double fourPoints;    // from here on 4 points
    UnitList units;

    // The box's own unit, as the window writes it.
    QString unit() const { return QString::fromUtf16(units.units[0].name); }
};

inline constexpr Unit kPctUnits[] = {
    {u"ng/ml", 0}, {u"\u00B5g/L", 0}, {u"pg/ml", -3}, {u"ng/L", -3}};
inline constexpr Unit kCrpUnits[] = {
    {u"mg/L", 0}, {u"mg/dL", 1}, {u"\u00B5g/ml", 0}, {u"g/L", 3}};

inline constexpr ValueRule kPctRule{u"PCT", 500.0, 0.5, 2.0, {kPctUnits, std::size(kPctUnits)}};
inline constexpr ValueRule kCrpRule{u"CRP", 1000.0, 40.0, 100.0, {kCrpUnits, std::size(kCrpUnits)}};

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

// The points of the plausible values within a limit, in the rule's unit:
// settled when the lowest and the highest of them earn the same, as the
// points never fall as the value rises.
LimitPoints limitPoints(Comparator comparator, double limit, const ValueRule &rule);

// Points of a dipstick text: "Negativo" 0, "Positivo" 1, matched ignoring case
// and surrounding blanks; nothing for any other text.
std::optional<qint16> dipstickPoints(QStringView text);

// The score as the label shows it: digits only.
QString scoreText(qint16 score);

} // namespace norvana
