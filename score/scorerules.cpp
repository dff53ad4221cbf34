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
