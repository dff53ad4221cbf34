#pragma once

#include "formcontrols.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstddef>
#include <vector>

namespace norvana {

// Plays the window for the core: holds the texts of the three entries and
// records, in order, what the window would show of a calculation: warnings,
// focus moves, selections and changes of the score's caption. Its entries
// show at most kVisibleLength characters whole. Recording allocates nothing
// once the record has grown, so benchmarks can use it too.
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
    // Forgets the calls recorded so far; the caption stays on display.
    void forgetCalls() { m_calls.clear(); }

    // The calls, one line each: "warn REFUSAL" (implausible, unit, out of
    // view, dipstick), "focus CONTROL", "select CONTROL", "score CAPTION"
    // ("score cleared" for an empty one).
    QStringList log() const
    {
        const auto name = [](Control id) {
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
        };
        QStringList lines;
        for (const Call &call : m_calls) {
            switch (call.kind) {
            case Kind::Warn:
                lines << QStringLiteral("warn ") + call.text;
                break;
            case Kind::Focus:
                lines << QStringLiteral("focus ") + name(call.control);
                break;
            case Kind::Select:
                lines << QStringLiteral("select ") + name(call.control);
                break;
            case Kind::Score:
                lines << (call.text.isEmpty() ? QStringLiteral("score cleared")
                                              : QStringLiteral("score ") + call.text);
                break;
            }
        }
        return lines;
    }

    QString text(Entry id) const override { return m_entries[std::size_t(id)]; }
    bool showsWholeText(Entry id) const override
    {
        return m_entries[std::size_t(id)].size() <= kVisibleLength;
    }
    void selectAll(Entry id) override { m_calls.push_back({Kind::Select, controlOf(id), {}}); }
    void setFocus(Control id) override { m_calls.push_back({Kind::Focus, id, {}}); }
    void setScore(const QString &caption, const QString &breakdown) override
    {
        m_breakdown = breakdown;
        // Setting the caption the label already shows changes nothing on screen.
        if (caption == m_caption)
            return;
        m_caption = caption;
        m_calls.push_back({Kind::Score, {}, caption});
    }
    void warn(Refusal refusal, Entry) override
    {
        static const QString names[] = {QStringLiteral("implausible"), QStringLiteral("unit"),
                                        QStringLiteral("out of view"), QStringLiteral("dipstick")};
        m_calls.push_back({Kind::Warn, {}, names[int(refusal)]});
    }

private:
    enum class Kind { Warn, Focus, Select, Score };
    struct Call
    {
        Kind kind;
        Control control; // of Focus and Select
        QString text;      // of Warn and Score
    };

    std::array<QString, 3> m_entries;
    QString m_caption;
    QString m_breakdown;
    std::vector<Call> m_calls;
};

} // namespace norvana
