#pragma once

#include "formcontrols.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

namespace norvana {

// Plays the window for the core: holds the texts of the three entries and
// records what the window would show of a calculation: its warnings and
// changes of the score's caption in order, then where the focus is left and
// whether that entry's text is selected. Its entries show at most
// kVisibleLength characters whole. Recording allocates nothing once the
// record has grown, so benchmarks can use it too.
class RecordingControls : public FormControls
{
public:
    static constexpr qsizetype kVisibleLength = 12;

    explicit RecordingControls(const QString &pct = {}, const QString &crp = {},
                               const QString &dipstick = {})
        : m_entries{pct, crp, dipstick}
    {
    }

    // The text the user has left in an entry.
    QString &entry(Entry id) { return m_entries[std::size_t(id)]; }
    // What the score label shows now, and its breakdown.
    const QString &caption() const { return m_caption; }
    const QString &breakdown() const { return m_breakdown; }
    // Forgets the warnings and captions recorded so far; the caption, the
    // focus and the selection stay as they are.
    void forgetCalls() { m_calls.clear(); }

    // One line for each warning, "warn REFUSAL ENTRY" (REFUSAL: implausible,
    // unit, two readings, out of view, dipstick), and each caption, "score CAPTION" ("score
    // cleared" for an empty one); then "focus CONTROL", with " selected" when
    // the focused entry's text is selected, once the focus has been set.
    QStringList log() const
    {
        static const QString refusals[] = {QStringLiteral("implausible"), QStringLiteral("unit"),
                                           QStringLiteral("two readings"),
                                           QStringLiteral("out of view"),
                                           QStringLiteral("dipstick")};
        QStringList lines;
        for (const Call &call : m_calls) {
            if (call.warning)
                lines << QStringLiteral("warn ") + refusals[int(call.refusal)] + u' '
                        + name(controlOf(call.entry));
            else
                lines << (call.caption.isEmpty() ? QStringLiteral("score cleared")
                                                 : QStringLiteral("score ") + call.caption);
        }
        if (m_focus) {
            lines << QStringLiteral("focus ") + name(*m_focus)
                    + (m_selected == m_focus ? QStringLiteral(" selected") : QString());
        }
        return lines;
    }

    QString text(Entry id) const override { return m_entries[std::size_t(id)]; }
    bool showsWholeText(Entry id) const override
    {
        return m_entries[std::size_t(id)].size() <= kVisibleLength;
    }
    void selectAll(Entry id) override { m_selected = controlOf(id); }
    void setFocus(Control id) override
    {
        // Only the focused entry shows its selection.
        if (id != m_focus)
            m_selected.reset();
        m_focus = id;
    }
    void setScore(const QString &caption, const QString &breakdown) override
    {
        m_breakdown = breakdown;
        // Setting the caption the label already shows changes nothing on screen.
        if (caption == m_caption)
            return;
        m_caption = caption;
        m_calls.push_back({false, {}, {}, caption});
    }
    void warn(Refusal refusal, Entry entry, const QString &) override
    {
        m_calls.push_back({true, refusal, entry, {}});
    }

private:
    struct Call
    {
        bool warning; // else a caption
        Refusal refusal;
        Entry entry;
        QString caption;
    };

    static QString name(Control id)
    {
        switch (id) {
        case Control::Pct:
            return QStringLiteral("txtPCT");
        case Control::Crp:
            return QStringLiteral("txtCRP");
        case Control::Dipstick:
            return QStringLiteral("cmbDipUrine");
        case Control::Calculate:
            break;
        }
        return QStringLiteral("cmdCalcola");
    }

    std::array<QString, 3> m_entries;
    QString m_caption;
    QString m_breakdown;
    std::optional<Control> m_focus;
    std::optional<Control> m_selected;
    std::vector<Call> m_calls;
};

} // namespace norvana
