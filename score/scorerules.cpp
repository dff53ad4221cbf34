#include "scorerules.h"

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
    const bool below = comparator == Comparator::Below || comparator == Comparator::AtMost;
    const bool inclusive = comparator == Comparator::AtMost || comparator == Comparator::AtLeast;
    const bool none = below ? limit <= 0.0
                            : (inclusive ? limit > rule.upperBound : limit >= rule.upperBound);
    if (none)
        return {};
    // A band edge lies within the limit when plausible values on both of its
    // sides do: below the limit, an edge under it (or at it, when the limit
    // itself is allowed); above it, any edge over it. The nearest one is named.
    const double edges[] = {rule.twoPoints, rule.fourPoints};
    if (below) {
        for (auto edge = std::rbegin(edges); edge != std::rend(edges); ++edge) {
            if (*edge < limit || (inclusive && *edge == limit))
                return {LimitPoints::Kind::AcrossEdge, 0, *edge};
        }
        return {LimitPoints::Kind::Settled, valuePoints(0.0, rule), 0.0};
    }
    for (const double edge : edges) {
        if (edge > limit)
            return {LimitPoints::Kind::AcrossEdge, 0, edge};
    }
    return {LimitPoints::Kind::Settled, valuePoints(rule.upperBound, rule), 0.0};
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
