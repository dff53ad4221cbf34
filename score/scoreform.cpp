#include "scoreform.h"

#include "numberreader.h"

namespace norvana {

void ScoreForm::acceptPct()
{
    readValue(Entry::Pct, kPctRule, Control::Crp);
}

void ScoreForm::acceptCrp()
{
    readValue(Entry::Crp, kCrpRule, Control::Dipstick);
}

void ScoreForm::acceptDipstick()
{
    if (readDipstick())
        m_ui.setFocus(Control::Calculate);
}

ScoredValue ScoreForm::readValue(Entry box, const ValueRule &rule, Control next)
{
    // Only a text that the box shows whole is read at all; one that does not
    // read the way it looks is refused.
    const QString text = m_ui.text(box);
    const Reading reading = readNumber(text, rule.units);
    if (!m_ui.showsWholeText(box))
        refuse(box, Refusal::OutOfView);
    else if (reading.kind == Reading::Kind::UnknownUnit)
        refuse(box, Refusal::UnknownUnit);
    else if (reading.kind == Reading::Kind::TwoReadings)
        refuse(box, Refusal::TwoReadings, reading.number);
    else if (reading.kind == Reading::Kind::Number && isPlausible(reading.value, rule))
        m_ui.setFocus(next);
    else
        refuse(box, Refusal::Implausible);
    const bool ownUnit = reading.unit.isEmpty()
        || reading.unit.compare(QStringView(rule.units.units[0].name), Qt::CaseInsensitive) == 0;
    // The entry as written goes into one line: a pasted line end or tab
    // becomes a space.
    return {reading.value, ownUnit ? QString() : text.simplified(), valuePoints(reading.value, rule)};
}

std::optional<qint16> ScoreForm::readDipstick()
{
    if (!m_ui.showsWholeText(Entry::Dipstick)) {
        refuse(Entry::Dipstick, Refusal::OutOfView);
        return std::nullopt;
    }
    const std::optional<qint16> points = dipstickPoints(m_ui.text(Entry::Dipstick));
    if (!points)
        refuse(Entry::Dipstick, Refusal::UnknownItem);
    return points;
}

void ScoreForm::refuse(Entry entry, Refusal refusal, const QString &number)
{
    m_ui.warn(refusal, entry, number);
    m_ui.setFocus(controlOf(entry));
    m_ui.selectAll(entry);
    showScore(std::nullopt);
    m_refused = true;
}

void ScoreForm::calculate()
{
    showScore(std::nullopt);
    // Only a refusal during this calculation withholds its score.
    m_refused = false;

    ScoreBreakdown breakdown;
    breakdown.crp = readValue(Entry::Crp, kCrpRule, Control::Dipstick);
    breakdown.pct = readValue(Entry::Pct, kPctRule, Control::Crp);
    breakdown.dipstickPoints = readDipstick().value_or(0);
    if (!m_refused)
        showScore(breakdown);
}

void ScoreForm::clearScore()
{
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
