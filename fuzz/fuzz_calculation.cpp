// Fuzzes whole calculations of the score form on arbitrary entry texts.
//
// Input: one or more calculations separated by the byte 0x1E; within one,
// the texts of txtPCT, txtCRP and cmbDipUrine separated by 0x1F (missing
// texts are empty), decoded from UTF-8. The calculations run one after the
// other on the same form, as in one window.
#include "escaped.h"
#include "numberreader.h"
#include "scoreform.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using norvana::ControlId;
using norvana::EntryId;

[[noreturn]] void fail(const char *what, const QStringList &texts)
{
    const auto text = [&](int i) { return escaped(texts.value(i).toStdString()); };
    std::fprintf(stderr, "calculation: %s for PCT \"%s\", CRP \"%s\", dipstick \"%s\"\n", what,
                 text(0).c_str(), text(1).c_str(), text(2).c_str());
    std::abort();
}

// Returns the fuzzed texts and records what the calculation shows.
class RecordingControls : public norvana::FormControls
{
public:
    QStringList texts{QString(), QString(), QString()};
    QStringList warnings;
    QString caption;

    QString text(EntryId entry) const override { return texts[int(entry)]; }
    void setFocus(ControlId) override {}
    void selectAll(EntryId) override {}
    void setScoreCaption(const QString &text) override { caption = text; }
    void warn(const QString &prompt) override { warnings << prompt; }
};

// What a calculation must show, worked out on its own: plausible ranges and
// bands as the clinical rule states them, not as the form computes them.
struct Expected
{
    QStringList warnings;
    int points = 0;
};

// A value is refused when its text does not read the way it looks, or when
// it is not plausible. The reading rule itself is fuzzed on its own.
Expected expect(std::optional<double> pct, std::optional<double> crp, const QString &dipstick)
{
    const QString implausible = QString::fromUtf16(norvana::kMsgValoreImplausibile);
    Expected e;
    // CRP is read first, then PCT, then the dipstick.
    if (!crp || !(*crp > 0.0 && *crp <= 1000.0))
        e.warnings << implausible;
    if (!pct || !(*pct > 0.0 && *pct <= 500.0))
        e.warnings << implausible;
    // The dipstick's text is matched by the rule's own function: here only
    // the way its answer joins the score is under test.
    const std::optional<qint16> dip = norvana::dipstickPoints(dipstick);
    if (!dip)
        e.warnings << QString::fromUtf16(norvana::kMsgDipstick);
    const double p = pct.value_or(0.0);
    const double c = crp.value_or(0.0);
    e.points = (p >= 2.0 ? 4 : p >= 0.5 ? 2 : 0) + (c >= 100.0 ? 4 : c >= 40.0 ? 2 : 0)
        + dip.value_or(0);
    return e;
}

bool sameDouble(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));

    RecordingControls controls;
    norvana::ScoreForm form(controls);
    form.load();

    for (const QByteArray &calculation : input.split('\x1e')) {
        const QList<QByteArray> fields = calculation.split('\x1f');
        for (int i = 0; i < 3; ++i)
            controls.texts[i] = QString::fromUtf8(fields.value(i));
        controls.warnings.clear();
        controls.caption = QStringLiteral("stale");

        form.calculate();

        const std::optional<double> pct = norvana::readNumber(controls.texts[0]);
        const std::optional<double> crp = norvana::readNumber(controls.texts[1]);
        if (std::isnan(pct.value_or(0.0)) || std::isnan(crp.value_or(0.0)))
            fail("a value read as NaN", controls.texts);
        // A text that does not read counts as 0.
        if (!sameDouble(form.state().varPCT.value_or(NAN), pct.value_or(0.0))
            || !sameDouble(form.state().varCRP.value_or(NAN), crp.value_or(0.0)))
            fail("the form keeps another value than the text reads as", controls.texts);

        const Expected expected = expect(pct, crp, controls.texts[2]);
        if (controls.warnings != expected.warnings)
            fail("the warnings differ from the refused entries", controls.texts);
        if (!controls.warnings.isEmpty()) {
            if (!controls.caption.isEmpty())
                fail("a score is shown although an entry was refused", controls.texts);
        } else if (controls.caption != QString::number(expected.points)) {
            fail("the score shown is not the sum of the points", controls.texts);
        }
    }
    return 0;
}
