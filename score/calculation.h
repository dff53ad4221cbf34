#pragma once

#include "scorebreakdown.h"
#include "scorerules.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace norvana {

// The entries the calculation reads: the PCT and CRP boxes and the
// dipstick's combo box.
enum class Entry { Pct, Crp, Dipstick };

// Where the focus ends: an entry, or the button "&Calcola".
enum class Control { Pct, Crp, Dipstick, Calculate };
// An entry's control has the entry's number.
static_assert(int(Control::Pct) == int(Entry::Pct) && int(Control::Crp) == int(Entry::Crp)
              && int(Control::Dipstick) == int(Entry::Dipstick));

// Why an entry is refused; the window words the warning.
enum class Refusal {
    Implausible, // a value that is no number, or not a plausible one
    UnknownUnit, // a number followed by a text that is none of its box's units
    TwoReadings, // a number that reads both as a decimal and in thousands ("2.000")
    AcrossEdge,  // a limit ("<1") within which the points differ
    OutOfView,   // the entry's text does not fit whole in its box
    UnknownItem, // a dipstick text that is neither of its items
};

// One entry as the window shows it.
struct EntryText
{
    QString text;
    bool shownWhole = true; // the box shows the whole text, blanks included, at once
};

// The three entries, indexed by Entry.
using Entries = std::array<EntryText, 3>;

// One warning to show, in its turn.
struct Warning
{
    Refusal refusal;
    Entry entry;
    // The number as written, for TwoReadings; the entry as written, for
    // AcrossEdge; else empty.
    QString number;
    const ValueRule *rule = nullptr; // the value's, for a refused value; none for the dipstick
    // For AcrossEdge: the limit as read (in the box's unit) and the band
    // edge within it.
    Comparator comparator = Comparator::None;
    double limit = 0.0;
    double edge = 0.0;
};

// What the window shows of a calculation, or of Enter in one entry: the
// warnings in the order they are met, then the score, and where the focus
// ends. An entry the focus ends in has its whole text selected, so that
// typing replaces it.
struct Outcome
{
    QList<Warning> warnings;
    // The score to show, or none, which clears the score on display.
    std::optional<ScoreBreakdown> score;
    Control focus = Control::Pct;

    // Enter on an accepted entry leaves the score on display as it is: an
    // outcome without warnings that brings no score of its own.
    bool keepsScore() const { return warnings.isEmpty() && !score; }
};

// Reads and checks both values (CRP first) and the dipstick; the score
// comes only when none is refused. On acceptance the focus moves on from
// each value (PCT to CRP, CRP to the dipstick); a refused entry takes it
// back, the last refused one keeping it.
Outcome calculate(const Entries &entries);

// Enter in one entry: on acceptance the focus moves on (PCT to CRP, CRP to
// the dipstick, the dipstick to "&Calcola"), on refusal it stays, with a
// warning, and the score goes.
Outcome accept(Entry entry, const EntryText &text);

} // namespace norvana
