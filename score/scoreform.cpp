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

ScoredValue ScoreForm::inputValue(EntryId box, std::optional<double> &field,
                                  const ValueRule &rule, ControlId next)
{
    // The number stays in the field even when it is refused; a text that
    // does not read the way it looks is refused and counts as 0. Only a
    // text that the box shows whole is read at all.
    const QString text = m_ui.text(box);
    const Reading reading = readNumber(text, rule.units);
    field = reading.value;
    if (!m_ui.showsWholeText(box))
        refuse(box, Refusal::OutOfView);
    else if (reading.kind == Reading::Kind::UnknownUnit)
        refuse(box, Refusal::UnknownUnit);
    else if (reading.kind == Reading::Kind::Number && isPlausible(reading.value, rule))
        m_ui.setFocus(next);
    else
        refuse(box, Refusal::Implausible);
    const bool ownUnit = reading.unit.isEmpty()
        || reading.unit.compare(QStringView(rule.units.units[0].name), Qt::CaseInsensitive) == 0;
    return {reading.value, ownUnit ? QString() : text.trimmed(), valuePoints(reading.value, rule)};
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
    showScore(std::nullopt);
    m_state.blnErrore = true;
}

void ScoreForm::calculate()
{
    showScore(std::nullopt);
    // Only a refusal during this calculation withholds its score.
    m_state.blnErrore = false;

    ScoreBreakdown breakdown;
    breakdown.crp = inputValue(EntryId::txtCRP, m_state.varCRP, kCrpRule, ControlId::cmbDipUrine);
    breakdown.pct = inputValue(EntryId::txtPCT, m_state.varPCT, kPctRule, ControlId::txtCRP);
    const std::optional<qint16> dipPoints = takeDipstick();

    // Refused values are banded too; only the display is withheld.
    m_state.intPuntiPCT = breakdown.pct.points;
    m_state.intPuntiCRP = breakdown.crp.points;
    if (dipPoints)
        m_state.intPuntiDip = *dipPoints;
    breakdown.dipstickPoints = m_state.intPuntiDip;
    m_state.intPunteggio = breakdown.total();

    if (m_state.blnErrore)
        m_state.blnErrore = false;
    else
        showScore(breakdown);
    m_state.intPunteggio = 0;
}

void ScoreForm::reset()
{
    m_state.varPCT = 0.0;
    m_state.varCRP = 0.0;
    m_state.intPuntiPCT = 0;
    m_state.intPuntiCRP = 0;
    m_state.intPunteggio = 0;
    showScore(std::nullopt);
}

void ScoreForm::clearScore()
{
    m_state.intPunteggio = 0;
    showScore(std::nullopt);
}

void ScoreForm::showScore(const std::optional<ScoreBreakdown> &breakdown)
{
    m_shown = breakdown;
    if (breakdown)
        m_ui.setScore(scoreText(breakdown->total()), breakdown->text());
    else
        m_ui.setScore(QString(), QString());
}

QString ScoreForm::summaryLine(const QString &program, const QDateTime &at) const
{
    return m_shown ? m_shown->summaryLine(program, at) : QString();
}

} // namespace norvana
