#pragma once

#include "calculation.h"

#include <QStringList>

namespace norvana {

// What the window shows of an outcome, a line each: "warn REFUSAL ENTRY"
// for each warning in turn (REFUSAL: implausible, unit, two readings,
// "across edge E" with the band edge E, out of view, dipstick), "score N"
// for a score, then "focus CONTROL", with " selected" when the focus ends
// in an entry, whose text is then selected.
inline QStringList outcomeLog(const Outcome &outcome)
{
    static const char *const refusals[] = {"implausible", "unit",        "two readings",
                                           "across edge", "out of view", "dipstick"};
    static const char *const names[] = {"txtPCT", "txtCRP", "cmbDipUrine", "cmdCalcola"};
    QStringList lines;
    for (const Warning &warning : outcome.warnings) {
        const QString refusal = QLatin1String(refusals[int(warning.refusal)])
            + (warning.refusal == Refusal::AcrossEdge ? u' ' + QString::number(warning.edge)
                                                      : QString());
        lines << QStringLiteral("warn %1 %2").arg(refusal, QLatin1String(names[int(warning.entry)]));
    }
    if (outcome.score)
        lines << QStringLiteral("score %1").arg(outcome.score->total());
    lines << QStringLiteral("focus ") + QLatin1String(names[int(outcome.focus)])
            + (outcome.focus == Control::Calculate ? QString() : QStringLiteral(" selected"));
    return lines;
}

} // namespace norvana
