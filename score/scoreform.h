#pragma once

#include "formcontrols.h"
#include "scorebreakdown.h"
#include "scorerules.h"

#include <QDateTime>

namespace norvana {

// The rules of the calculation on one window's entries: reading and checking
// them, banding the values into points and showing the sum with what it is
// made of.
class ScoreForm
{
public:
    explicit ScoreForm(FormControls &controls) : m_ui(controls) {}

    // Read and check one entry; on acceptance the focus moves on (PCT to
    // CRP, CRP to the dipstick, the dipstick to "&Calcola"), on refusal the
    // user is warned and sent back to the entry with its text selected.
    void acceptPct();
    void acceptCrp();
    void acceptDipstick();

    // Reads and checks both values (CRP first) and the dipstick, and shows
    // the score unless an entry was refused during this calculation.
    void calculate();

    // The entries no longer match the score on display: clear it.
    void clearScore();

    // The line for the clinical record of the score on display, or an
    // empty text when none is shown.
    QString summaryLine(const QString &program, const QDateTime &at) const;

private:
    ScoredValue readValue(Entry box, const ValueRule &rule, Control next);
    std::optional<qint16> readDipstick();
    void refuse(Entry entry, Refusal refusal, const QString &number = {});
    void showScore(const std::optional<ScoreBreakdown> &breakdown);

    FormControls &m_ui;
    bool m_refused = false; // an entry was refused during the running calculation
    std::optional<ScoreBreakdown> m_shown; // what the score on display is made of
};

} // namespace norvana
