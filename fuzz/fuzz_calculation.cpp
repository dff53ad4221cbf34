// Fuzzes whole calculations of the score form on arbitrary entry texts.
//
// Input: one or more calculations separated by the byte 0x1E; within one,
// the texts of txtPCT, txtCRP and cmbDipUrine separated by 0x1F (missing
// texts are empty), decoded from UTF-8. The calculations run one after the
// other on the same form, as in one window.
#include "escaped.h"
#include "numberreader.h"
#include "recordingcontrols.h"
#include "scoreform.h"
#include "scorerules.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

using norvana::Entry;

[[noreturn]] void fail(const char *what, const QStringList &texts)
{
    const auto text = [&](int i) { return escaped(texts.value(i).toStdString()); };
    std::fprintf(stderr, "calculation: %s for PCT \"%s\", CRP \"%s\", dipstick \"%s\"\n", what,
                 text(0).c_str(), text(1).c_str(), text(2).c_str());
    std::abort();
}

// What a calculation must show, worked out on its own, as the recorded log of
// the window: plausible ranges and bands as the clinical rule states them,
// not as the form computes them. An entry is refused when the box does not
// show it whole (the recording shows kVisibleLength characters), when its
// unit is not the box's, when its number reads two ways ("2.000"), when its
// text does not read the way it looks, or when it is not plausible; the
// reading rule itself is fuzzed on its own.
QStringList expectedLog(const QStringList &texts, const norvana::Reading &pct,
                        const norvana::Reading &crp)
{
    using norvana::Reading;
    // The score from before goes first.
    QStringList log{QStringLiteral("score cleared")};
    bool refused = false;
    QString focus;
    QString selected; // shown only in the focused entry
    const auto refuse = [&](const char *why, const QString &box) {
        log << QStringLiteral("warn ") + QLatin1String(why) + u' ' + box;
        focus = selected = box;
        refused = true;
    };
    const auto moveFocus = [&](const QString &to) {
        if (to != focus)
            selected.clear();
        focus = to;
    };
    const auto fits = [](const QString &text) {
        return text.size() <= norvana::RecordingControls::kVisibleLength;
    };
    const auto value = [&](const QString &text, const Reading &v, double bound,
                           const QString &box, const QString &next) {
        if (!fits(text))
            refuse("out of view", box);
        else if (v.kind == Reading::Kind::UnknownUnit)
            refuse("unit", box);
        else if (v.kind == Reading::Kind::TwoReadings)
            refuse("two readings", box);
        else if (v.kind == Reading::Kind::Number && v.value > 0.0 && v.value <= bound)
            moveFocus(next);
        else
            refuse("implausible", box);
    };
    // CRP is read first, then PCT, then the dipstick.
    value(texts[1], crp, 1000.0, QStringLiteral("txtCRP"), QStringLiteral("cmbDipUrine"));
    value(texts[0], pct, 500.0, QStringLiteral("txtPCT"), QStringLiteral("txtCRP"));
    // The dipstick's text is matched by the rule's own function: here only
    // the way its answer joins the score is under test.
    const std::optional<qint16> dip = norvana::dipstickPoints(texts[2]);
    if (!fits(texts[2]))
        refuse("out of view", QStringLiteral("cmbDipUrine"));
    else if (!dip)
        refuse("dipstick", QStringLiteral("cmbDipUrine"));
    if (!refused) {
        const double p = pct.value;
        const double c = crp.value;
        const int points = (p >= 2.0 ? 4 : p >= 0.5 ? 2 : 0) + (c >= 100.0 ? 4 : c >= 40.0 ? 2 : 0)
            + *dip;
        log << QStringLiteral("score ") + QString::number(points);
    }
    log << QStringLiteral("focus ") + focus
            + (selected == focus ? QStringLiteral(" selected") : QString());
    return log;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));

    norvana::RecordingControls controls;
    norvana::ScoreForm form(controls);

    for (const QByteArray &calculation : input.split('\x1e')) {
        const QList<QByteArray> fields = calculation.split('\x1f');
        const QStringList texts{QString::fromUtf8(fields.value(0)),
                                QString::fromUtf8(fields.value(1)),
                                QString::fromUtf8(fields.value(2))};
        controls.entry(Entry::Pct) = texts[0];
        controls.entry(Entry::Crp) = texts[1];
        controls.entry(Entry::Dipstick) = texts[2];
        controls.setScore(QStringLiteral("stale"), {});
        controls.forgetCalls();

        form.calculate();

        const norvana::Reading pct = norvana::readNumber(texts[0], norvana::kPctRule.units);
        const norvana::Reading crp = norvana::readNumber(texts[1], norvana::kCrpRule.units);
        if (std::isnan(pct.value) || std::isnan(crp.value))
            fail("a value read as NaN", texts);

        const QStringList expected = expectedLog(texts, pct, crp);
        if (controls.log() != expected) {
            const auto shown = [](const QStringList &log) {
                return escaped(log.join(QStringLiteral(" | ")).toStdString());
            };
            std::fprintf(stderr, "calculation: shows %s\ninstead of %s\n",
                         shown(controls.log()).c_str(), shown(expected).c_str());
            fail("the window would show something else", texts);
        }
    }
    return 0;
}
