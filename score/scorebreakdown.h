#pragma once

#include <QDateTime>
#include <QString>
#include <QtGlobal>

namespace norvana {

// A value with a decimal comma and no more digits than it needs, never in
// exponent form: 0,0001 rather than 1e-04.
QString decimal(double value);

// One laboratory value of a score on display.
struct ScoredValue
{
    double value = 0.0; // in the box's own unit; a limit, after a comparator
    QString comparator; // as written before the number ("<", ">="), or empty
    QString written;    // the entry as written when its unit is not the box's own, else empty
    qint16 points = 0;
};

// What a score on display is made of.
struct ScoreBreakdown
{
    ScoredValue pct;
    ScoredValue crp;
    qint16 dipstickPoints = 0; // 1 for "Positivo"

    qint16 total() const { return qint16(pct.points + crp.points + dipstickPoints); }

    // How the score is made up, in Italian, beginning with the score itself
    // (a limit keeps its comparator, "PCT <0,05 ng/ml"):
    // "4 — PCT 1,2 ng/ml: 2 punti; CRP 45 mg/L: 2 punti; dipstick urinario
    // Negativo: 0 punti. Cut-off predittivo di SBI: 3."
    QString text() const;
    // One line of plain text for the clinical record: the program, the local
    // time, each value with its points, and the score with its cut-off.
    QString summaryLine(const QString &program, const QDateTime &at) const;
};

} // namespace norvana
