#include "scorerules.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace norvana {

bool isPlausible(double value, const ValueRule &rule)
{
    return value > 0.0 && value <= rule.upperBound;
}

qint16 valuePoints(double value, const ValueRule &rule)
{
    if (value >= rule.fourPoints)
        return 4;
    if (value >= rule.twoPoints)
        return 2;
    return 0;
}

LimitPoints limitPoints(Comparator comparator, double limit, const ValueRule &rule)
{
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    const bool below = comparator == Comparator::Below || comparator == Comparator::AtMost;
    const bool inclusive = comparator == Comparator::AtMost || comparator == Comparator::AtLeast;
    // The lowest and the highest plausible value within the limit: the limit
    // itself where it is allowed, else the double next to it.
    const double least = std::nextafter(0.0, kInfinity);
    const double low =
        below ? least : std::max(inclusive ? limit : std::nextafter(limit, kInfinity), least);
    const double high = !below
        ? rule.upperBound
        : std::min(inclusive ? limit : std::nextafter(limit, -kInfinity), rule.upperBound);
    if (!(low <= high))
        return {};
    const qint16 points = valuePoints(low, rule);
    if (points == valuePoints(high, rule))
        return {LimitPoints::Kind::Settled, points, 0.0};
    // The edges the values within it lie either side of; the one nearest the
    // limit is named.
    double edge = below ? -kInfinity : kInfinity;
    for (const double e : {rule.twoPoints, rule.fourPoints}) {
        if (low < e && e <= high)
            edge = below ? std::max(edge, e) : std::min(edge, e);
    }
    return {LimitPoints::Kind::AcrossEdge, 0, edge};
}

std::optional<qint16> dipstickPoints(QStringView text)
{
    const QStringView item = text.trimmed();
    if (item.compare(QStringView(kNegativeItem), Qt::CaseInsensitive) == 0)
        return qint16(0);
    if (item.compare(QStringView(kPositiveItem), Qt::CaseInsensitive) == 0)
        return qint16(1);
    return std::nullopt;
}

QString scoreText(qint16 score)
{
    return QString::number(score);
}

} // namespace norvana
