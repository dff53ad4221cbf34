// Fuzzes whole calculations on arbitrary entry texts.
//
// Input: one or more calculations separated by the byte 0x1E; within one,
// the texts of txtPCT, txtCRP and cmbDipUrine separated by 0x1F (missing
// texts are empty), decoded from UTF-8. Boxes show 12 characters whole.
#include "escaped.h"
#include "numberreader.h"
#include "outcomelog.h"
#include "scorerules.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

namespace {

constexpr qsizetype kVisibleLength = 12;

[[noreturn]] void fail(const char *what, const QStringList &texts)
{
    const auto text = [&](int i) { return escaped(texts.value(i).toStdString()); };
    std::fprintf(stderr, "calculation: %s for PCT \"%s\", CRP \"%s\", dipstick \"%s\"\n", what,
                 text(0).c_str(), text(1).c_str(), text(2).c_str());
    std::abort();
}

// What a calculation must show, worked out on its own, as the window's log
// (outcomelog.h): plausible ranges and bands as the clinical rule states them,
// not as the form computes them. An entry is refused when the box does not
// show it whole (kVisibleLength characters), when its
// unit is not the box's, when its number reads two ways ("2.000"), when its
// text does not read the way it looks, or when it is not plausible; a limit
// ("<0,05") scores only when plain values sampled within it all earn the
// same points. The reading rule itself is fuzzed on its own.
QStringList expectedLog(const QStringList &texts, const norvana::Reading &pct,
                        const norvana::Reading &crp)
{
    using norvana::Reading;
    QStringList log;
    bool refused = false;
    QString focus;
    const auto refuse = [&](const char *why, const QString &box) {
        log << QStringLiteral("warn ") + QLatin1String(why) + u' ' + box;
        focus = box;
        refused = true;
    };
    const auto moveFocus = [&](const QString &to) { focus = to; };
    const auto fits = [](const QString &text) { return text.size() <= kVisibleLength; };
    // Points of a value: 2 from the first edge on, 4 from the second.
    const auto band = [](double v, double two, double four) { return v >= four ? 4 : v >= two ? 2 : 0; };
    const auto value = [&](const QString &text, const Reading &v, double bound, double two,
                           double four, const QString &box, const QString &next) {
        if (!fits(text)) {
            refuse("out of view", box);
        } else if (v.kind == Reading::Kind::UnknownUnit) {
            refuse("unit", box);
        } else if (v.kind == Reading::Kind::TwoReadings) {
            refuse("two readings", box);
        } else if (v.kind == Reading::Kind::Number && v.comparator != norvana::Comparator::None) {
            // Plain values within the limit, each scored as a value: the
            // limit and the doubles either side of it, the least positive
            // double, the bound, each band edge and the double below it, and
            // the midpoints between them. The points are settled when all of
            // them agree; where they do not, they change at an edge.
            using norvana::Comparator;
            const auto within = [&](double x) {
                const bool inLimit = v.comparator == Comparator::Below ? x < v.value
                    : v.comparator == Comparator::AtMost               ? x <= v.value
                    : v.comparator == Comparator::Above                ? x > v.value
                                                                       : x >= v.value;
                return inLimit && x > 0.0 && x <= bound;
            };
            constexpr double inf = std::numeric_limits<double>::infinity();
            std::vector<double> samples{v.value, std::nextafter(v.value, -inf), std::nextafter(v.value, inf),
                                        std::nextafter(0.0, inf), bound, two, std::nextafter(two, 0.0),
                                        four, std::nextafter(four, 0.0)};
            std::sort(samples.begin(), samples.end());
            for (size_t i = 1, n = samples.size(); i < n; ++i)
                samples.push_back(samples[i - 1] / 2 + samples[i] / 2);
            samples.erase(std::remove_if(samples.begin(), samples.end(), [&](double x) { return !within(x); }),
                          samples.end());
            std::sort(samples.begin(), samples.end());
            // Where the points change, the edge nearest the limit.
            double edge = 0.0;
            for (size_t i = 1; i < samples.size(); ++i) {
                const bool below = v.comparator == Comparator::Below || v.comparator == Comparator::AtMost;
                if (band(samples[i - 1], two, four) != band(samples[i], two, four) && (below || edge == 0.0))
                    edge = samples[i];
            }
            if (samples.empty()) {
                refuse("implausible", box);
            } else if (edge != 0.0) {
                refuse(QStringLiteral("across edge %1").arg(edge).toLatin1().constData(), box);
            } else {
                moveFocus(next);
                return band(samples.front(), two, four);
            }
        } else if (v.kind == Reading::Kind::Number && v.value > 0.0 && v.value <= bound) {
            moveFocus(next);
            return band(v.value, two, four);
        } else {
            refuse("implausible", box);
        }
        return 0;
    };
    // CRP is read first, then PCT, then the dipstick.
    const int crpPoints = value(texts[1], crp, 1000.0, 40.0, 100.0, QStringLiteral("txtCRP"),
                                QStringLiteral("cmbDipUrine"));
    const int pctPoints = value(texts[0], pct, 500.0, 0.5, 2.0, QStringLiteral("txtPCT"),
                                QStringLiteral("txtCRP"));
    // The dipstick's text is matched by the rule's own function: here only
    // the way its answer joins the score is under test.
    const std::optional<qint16> dip = norvana::dipstickPoints(texts[2]);
    if (!fits(texts[2]))
        refuse("out of view", QStringLiteral("cmbDipUrine"));
    else if (!dip)
        refuse("dipstick", QStringLiteral("cmbDipUrine"));
    if (!refused)
        log << QStringLiteral("score ") + QString::number(pctPoints + crpPoints + *dip);
    // The focus ends in an entry, whose text is selected.
    log << QStringLiteral("focus ") + focus + QStringLiteral(" selected");
    return log;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));

    for (const QByteArray &calculation : input.split('\x1e')) {
        const QList<QByteArray> fields = calculation.split('\x1f');
        const QStringList texts{QString::fromUtf8(fields.value(0)),
                                QString::fromUtf8(fields.value(1)),
                                QString::fromUtf8(fields.value(2))};
        norvana::Entries entries;
        for (size_t i = 0; i < entries.size(); ++i)
            entries[i] = {texts[int(i)], texts[int(i)].size() <= kVisibleLength};
        const QStringList shown = norvana::outcomeLog(norvana::calculate(entries));

        const norvana::Reading pct = norvana::readNumber(texts[0], norvana::kPctRule.units);
        const norvana::Reading crp = norvana::readNumber(texts[1], norvana::kCrpRule.units);
        if (std::isnan(pct.value) || std::isnan(crp.value))
            fail("a value read as NaN", texts);

        const QStringList expected = expectedLog(texts, pct, crp);
        if (shown != expected) {
            const auto joined = [](const QStringList &log) {
                return escaped(log.join(QStringLiteral(" | ")).toStdString());
            };
            std::fprintf(stderr, "calculation: shows %s\ninstead of %s\n",
                         joined(shown).c_str(), joined(expected).c_str());
            fail("the window would show something else", texts);
        }
    }
    return 0;
}
