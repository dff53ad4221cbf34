#include "scorebreakdown.h"

#include "scorerules.h"

#include <QLocale>

namespace norvana {

namespace {

// "PCT 1,2 ng/ml" or "PCT <0,05 ng/ml", and the entry as written after a
// conversion: "CRP 45 mg/L (4,5 mg/dL)".
QString valueText(const ValueRule &rule, const ScoredValue &v)
{
    QString text = QString::fromUtf16(rule.name) + u' ' + v.comparator + decimal(v.value) + u' '
        + rule.unit();
    if (!v.written.isEmpty())
        text += QStringLiteral(" (") + v.written + u')';
    return text;
}

QString dipstickItem(qint16 points)
{
    return QString::fromUtf16(points ? kPositiveItem : kNegativeItem);
}

QString pointsText(qint16 points)
{
    return QString::number(points) + (points == 1 ? QStringLiteral(" punto") : QStringLiteral(" punti"));
}

} // namespace

QString decimal(double value)
{
    return QString::number(value, 'f', QLocale::FloatingPointShortest).replace(u'.', u',');
}

QString ScoreBreakdown::text() const
{
    return QStringLiteral("%1 \u2014 %2: %3; %4: %5; dipstick urinario %6: %7. "
                          "Cut-off predittivo di SBI: 3.")
        .arg(scoreText(total()), valueText(kPctRule, pct), pointsText(pct.points),
             valueText(kCrpRule, crp), pointsText(crp.points),
             dipstickItem(dipstickPoints), pointsText(dipstickPoints));
}

QString ScoreBreakdown::summaryLine(const QString &program, const QDateTime &at) const
{
    return QStringLiteral("%1 \u00B7 %2 \u00B7 %3 (%4) \u00B7 %5 (%6) \u00B7 Dipstick urinario %7 (%8)"
                          " \u00B7 Punteggio %9 (cut-off predittivo di SBI \u2265 3)")
        .arg(program, at.toString(QStringLiteral("dd/MM/yyyy HH:mm")),
             valueText(kPctRule, pct), QString::number(pct.points),
             valueText(kCrpRule, crp), QString::number(crp.points),
             dipstickItem(dipstickPoints), QString::number(dipstickPoints),
             scoreText(total()));
}

} // namespace norvana
