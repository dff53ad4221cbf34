#pragma once

#include "formcontrols.h"
#include "formstate.h"
#include "scorebreakdown.h"
#include "scorerules.h"

#include <QDateTime>

namespace norvana {

// The form state of one window and the rules of the calculation: reading and
// checking the entries, banding them into points and showing the sum.
class ScoreForm
{
public:
    explicit ScoreForm(FormControls &controls) : m_ui(controls) {}

    // Read and check one value; on acceptance the focus moves on
    // (txtPCT to txtCRP, txtCRP to cmbDipUrine), on refusal the user is
    // warned and sent back to the box with its text selected.
    void InputPCT();
    void InputCRP();
    // Takes the dipstick text; on acceptance the focus moves to cmdCalcola.
    void InputDipUrine();

    // Reads and checks both values (CRP first) and the dipstick, and shows
    // the score unless an entry was refused during this calculation.
    void calculate();

    // Forgets the values and points; the score on display goes with them.
    void reset();

    // The entries no longer match the score on display: clear it.
    void clearScore();

    // The line for the clinical record of the score on display, or an
    // empty text when none is shown.
    QString summaryLine(const QString &program, const QDateTime &at) const;

private:
    ScoredValue inputValue(EntryId box, std::optional<double> &field, const ValueRule &rule,
                           ControlId next);
    void showScore(const std::optional<ScoreBreakdown> &breakdown);
    std::optional<qint16> takeDipstick();
    void refuse(EntryId box, Refusal refusal);

    FormControls &m_ui;
    FormState m_state;
    std::optional<ScoreBreakdown> m_shown; // what the score on display is made of
};

} // namespace norvana
