#include "calculation.h"

#include "numberreader.h"
#include "scorerules.h"

namespace norvana {

namespace {

// Where the focus goes once an entry is accepted.
constexpr Control kNext[] = {Control::Crp, Control::Dipstick, Control::Calculate};

const ValueRule &ruleOf(Entry entry)
{
    return entry == Entry::Pct ? kPctRule : kCrpRule;
}

// Reads one value into `value` and returns the warning when it is refused.
// Only a text that the box shows whole is read at all; one that does not
// read the way it looks is refused.
std::optional<Warning> readValue(Entry entry, const EntryText &entered, ScoredValue &value)
{
    const ValueRule &rule = ruleOf(entry);
    const Reading reading = readNumber(entered.text, rule.units);
    value.value = reading.value;
    value.points = valuePoints(reading.value, rule);
    value.comparator = reading.comparatorText;
    const bool ownUnit = reading.unit.isEmpty()
        || reading.unit.compare(QStringView(rule.units.units[0].name), Qt::CaseInsensitive) == 0;
    // The entry as written goes into one line: a pasted line end or tab
    // becomes a space.
    value.written = ownUnit ? QString() : entered.text.simplified();

    if (!entered.shownWhole)
        return Warning{Refusal::OutOfView, entry, {}, &rule};
    if (reading.kind == Reading::Kind::UnknownUnit)
        return Warning{Refusal::UnknownUnit, entry, {}, &rule};
    if (reading.kind == Reading::Kind::TwoReadings)
        return Warning{Refusal::TwoReadings, entry, reading.number, &rule};
    if (reading.kind == Reading::Kind::Number && reading.comparator != Comparator::None) {
        // A limit is scored only when it settles the points.
        const LimitPoints limit = limitPoints(reading.comparator, reading.value, rule);
        value.points = limit.points;
        if (limit.kind == LimitPoints::Kind::Settled)
            return std::nullopt;
        if (limit.kind == LimitPoints::Kind::AcrossEdge)
            return Warning{Refusal::AcrossEdge, entry, entered.text.simplified(), &rule,
                           reading.comparator, reading.value, limit.edge};
    } else if (reading.kind == Reading::Kind::Number && isPlausible(reading.value, rule)) {
        return std::nullopt;
    }
    return Warning{Refusal::Implausible, entry, {}, &rule};
}

std::optional<Warning> readDipstick(const EntryText &entered, qint16 &points)
{
    if (!entered.shownWhole)
        return Warning{Refusal::OutOfView, Entry::Dipstick, {}};
    const std::optional<qint16> read = dipstickPoints(entered.text);
    points = read.value_or(0);
    if (!read)
        return Warning{Refusal::UnknownItem, Entry::Dipstick, {}};
    return std::nullopt;
}

std::optional<Warning> read(Entry entry, const EntryText &entered, ScoreBreakdown &breakdown)
{
    switch (entry) {
    case Entry::Pct:
        return readValue(entry, entered, breakdown.pct);
    case Entry::Crp:
        return readValue(entry, entered, breakdown.crp);
    case Entry::Dipstick:
        break;
    }
    return readDipstick(entered, breakdown.dipstickPoints);
}

Control controlOf(Entry entry)
{
    return Control(int(entry));
}

} // namespace

Outcome calculate(const Entries &entries)
{
    Outcome outcome;
    ScoreBreakdown breakdown;
    for (const Entry entry : {Entry::Crp, Entry::Pct, Entry::Dipstick}) {
        if (const std::optional<Warning> warning = read(entry, entries[size_t(entry)], breakdown)) {
            outcome.warnings.append(*warning);
            outcome.focus = controlOf(entry);
        } else if (entry != Entry::Dipstick) {
            outcome.focus = kNext[size_t(entry)];
        }
    }
    if (outcome.warnings.isEmpty())
        outcome.score = breakdown;
    return outcome;
}

Outcome accept(Entry entry, const EntryText &text)
{
    Outcome outcome;
    ScoreBreakdown breakdown;
    if (const std::optional<Warning> warning = read(entry, text, breakdown)) {
        outcome.warnings.append(*warning);
        outcome.focus = controlOf(entry);
    } else {
        outcome.focus = kNext[size_t(entry)];
    }
    return outcome;
}

} // namespace norvana
