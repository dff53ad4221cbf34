#include "scoreform.h"

#include "numberreader.h"

namespace norvana {

void ScoreForm::InputPCT()
{
    inputValue(EntryId::txtPCT, m_state.varPCT, kPctRule, ControlId::txtCRP);
}

void ScoreForm::InputCRP()
{
    inputValue(EntryId::txtCRP, m_state.varCRP, kCrpRule, ControlId::cmbDipUrine);
}

void ScoreForm::InputDipUrine()
{
    if (takeDipstick())
        m_ui.setFocus(ControlId::cmdCalcola);
}

void ScoreForm::inputValue(EntryId box, std::optional<double> &field, const ValueRule &rule,
                           ControlId next)
{
    // The number stays in the field even when it is refused; a text that
    // does not read the way it looks is refused and counts as 0. Only a
    // text that the box shows whole is read at all.
    const Reading reading = readNumber(m_ui.text(box), rule.units);
    field = reading.value;
    if (!m_ui.showsWholeText(box))
        refuse(box, Refusal::OutOfView);
    else if (reading.kind == Reading::Kind::UnknownUnit)
        refuse(box, Refusal::UnknownUnit);
    else if (reading.kind == Reading::Kind::Number && isPlausible(reading.value, rule))
        m_ui.setFocus(next);
    else
        refuse(box, Refusal::Implausible);
}

std::optional<qint16> ScoreForm::takeDipstick()
{
    m_state.strDipUrine = m_ui.text(EntryId::cmbDipUrine);
    if (!m_ui.showsWholeText(EntryId::cmbDipUrine)) {
        refuse(EntryId::cmbDipUrine, Refusal::OutOfView);
        return std::nullopt;
    }
    const std::optional<qint16> points = dipstickPoints(m_state.strDipUrine);
    if (!points)
        refuse(EntryId::cmbDipUrine, Refusal::UnknownItem);
    return points;
}

void ScoreForm::refuse(EntryId box, Refusal refusal)
{
    m_ui.warn(refusal, box);
    m_ui.setFocus(controlOf(box));
    m_ui.selectAll(box);
    m_ui.setScoreCaption(QString());
    m_state.blnErrore = true;
}

void ScoreForm::calculate()
{
    m_ui.setScoreCaption(QString());
    // Only a refusal during this calculation withholds its score.
    m_state.blnErrore = false;

    InputCRP();
    InputPCT();
    const std::optional<qint16> dipPoints = takeDipstick();

    // Refused values are banded too; only the display is withheld.
    m_state.intPuntiPCT = valuePoints(m_state.varPCT.value_or(0.0), kPctRule);
    m_state.intPuntiCRP = valuePoints(m_state.varCRP.value_or(0.0), kCrpRule);
    if (dipPoints)
        m_state.intPuntiDip = *dipPoints;
    m_state.intPunteggio = qint16(m_state.intPuntiCRP + m_state.intPuntiPCT + m_state.intPuntiDip);

    if (m_state.blnErrore)
        m_state.blnErrore = false;
    else
        m_ui.setScoreCaption(scoreText(m_state.intPunteggio));
    m_state.intPunteggio = 0;
}

void ScoreForm::reset()
{
    m_state.varPCT = 0.0;
    m_state.varCRP = 0.0;
    m_state.intPuntiPCT = 0;
    m_state.intPuntiCRP = 0;
    m_state.intPunteggio = 0;
    m_ui.setScoreCaption(QString());
}

void ScoreForm::clearScore()
{
    m_state.intPunteggio = 0;
    m_ui.setScoreCaption(QString());
}

} // namespace norvana
