#pragma once

#include <QString>

namespace norvana {

// The entries whose text the calculation reads and selects: the PCT and CRP
// boxes and the dipstick's combo box.
enum class Entry { Pct, Crp, Dipstick };

// The controls to which the calculation moves the focus: the entries and
// the button "&Calcola".
enum class Control { Pct, Crp, Dipstick, Calculate };

// Why an entry is refused; the window words the warning.
enum class Refusal {
    Implausible, // a value that is no number, or not a plausible one
    UnknownUnit, // a number followed by a text that is none of its box's units
    TwoReadings, // a number that reads both as a decimal and in thousands ("2.000")
    OutOfView,   // the entry's text does not fit whole in its box
    UnknownItem, // a dipstick text that is neither of its items
};

inline constexpr Control controlOf(Entry entry)
{
    switch (entry) {
    case Entry::Pct:
        return Control::Pct;
    case Entry::Crp:
        return Control::Crp;
    case Entry::Dipstick:
        break;
    }
    return Control::Dipstick;
}

// What the calculation does with the window, and all that it does with it.
// The window implements it on its widgets; tests implement it on a record.
class FormControls
{
public:
    virtual ~FormControls() = default;

    // The whole current text of a text box or of the combo box's field.
    virtual QString text(Entry entry) const = 0;
    // Whether the entry shows its whole text, blanks included, at once.
    virtual bool showsWholeText(Entry entry) const = 0;
    // Selects the whole text of a text box or of the combo box's field.
    virtual void selectAll(Entry entry) = 0;
    virtual void setFocus(Control control) = 0;
    // Shows a score in lblScore with its breakdown (as its tooltip and its
    // accessible description), or clears both with empty texts.
    virtual void setScore(const QString &caption, const QString &breakdown) = 0;
    // Shows the modal warning titled "NORVANA" with an exclamation icon and
    // a single OK button that says why the entry is refused; returns when
    // the user has dismissed it. `number` is the number as written for
    // TwoReadings, whose warning shows both readings; else it is empty.
    virtual void warn(Refusal refusal, Entry entry, const QString &number) = 0;

protected:
    FormControls() = default;
    FormControls(const FormControls &) = default;
    FormControls &operator=(const FormControls &) = default;
};

} // namespace norvana
