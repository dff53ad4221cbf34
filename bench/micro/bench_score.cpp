// Micro-benchmarks of the core: the number reader on what users type and on
// long texts (to show its cost grows linearly with the length), and a whole
// calculation.
//
//   build/bench/bench/micro/norvana_microbench [--benchmark_repetitions=5 ...]

#include "calculation.h"
#include "numberreader.h"
#include "scorerules.h"

#include <benchmark/benchmark.h>

#include <QString>

namespace {

void typicalInput(benchmark::State &state, const char16_t *text)
{
    const QString input = QString::fromUtf16(text);
    for (auto _ : state)
        benchmark::DoNotOptimize(norvana::readNumber(input, norvana::kCrpRule.units));
}

BENCHMARK_CAPTURE(typicalInput, decimal_point, u"1.2");
BENCHMARK_CAPTURE(typicalInput, integer, u"45");
BENCHMARK_CAPTURE(typicalInput, decimal_comma, u"0,7");
BENCHMARK_CAPTURE(typicalInput, leading_blank, u" 7");
BENCHMARK_CAPTURE(typicalInput, with_unit, u"45 mg/L");
BENCHMARK_CAPTURE(typicalInput, converted_unit, u"4,5 mg/dL");
BENCHMARK_CAPTURE(typicalInput, letters, u"abc");
BENCHMARK_CAPTURE(typicalInput, overflow, u"1e999");

// The long texts: each shape at 256 KiB, 512 KiB and 1 MiB of UTF-16 (two
// bytes a character), the read ones and the refused ones.
QString digits(qsizetype chars)
{
    return QString(chars, u'7');
}

QString blanksThenDigits(qsizetype chars)
{
    return QString(chars / 2, u' ') + QString(chars - chars / 2, u'7');
}

QString zerosThen42(qsizetype chars)
{
    return QString(chars - 2, u'0') + QStringLiteral("42");
}

QString fractionDigits(qsizetype chars)
{
    return QStringLiteral("2.") + QString(chars - 2, u'7');
}

QString digitBlankPairs(qsizetype chars)
{
    return QStringLiteral("7 ").repeated(chars / 2);
}

QString blanksBeforeExponent(qsizetype chars)
{
    return u'1' + QString(chars - 3, u' ') + QStringLiteral("e3");
}

void longText(benchmark::State &state, QString (*make)(qsizetype chars))
{
    const QString text = make(state.range(0) / qsizetype(sizeof(char16_t)));
    for (auto _ : state)
        benchmark::DoNotOptimize(norvana::readNumber(text, norvana::kCrpRule.units));
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
    // Seconds per byte of text (shown with an SI prefix: n = ns); the figure
    // stays flat across lengths when the reader is linear.
    state.counters["time_per_byte"] = benchmark::Counter(
        double(state.iterations()) * double(state.range(0)),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}

void longTextSizes(benchmark::internal::Benchmark *sizes)
{
    sizes->Arg(256 << 10)->Arg(512 << 10)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);
}

BENCHMARK_CAPTURE(longText, digits, digits)->Apply(longTextSizes);
BENCHMARK_CAPTURE(longText, blanks_then_digits, blanksThenDigits)->Apply(longTextSizes);
BENCHMARK_CAPTURE(longText, zeros_then_42, zerosThen42)->Apply(longTextSizes);
BENCHMARK_CAPTURE(longText, fraction_digits, fractionDigits)->Apply(longTextSizes);
BENCHMARK_CAPTURE(longText, digit_blank_pairs, digitBlankPairs)->Apply(longTextSizes);
BENCHMARK_CAPTURE(longText, blanks_before_exponent, blanksBeforeExponent)->Apply(longTextSizes);

void calculation(benchmark::State &state, const char16_t *pct, const char16_t *crp,
               const char16_t *dipstick)
{
    const norvana::Entries entries{norvana::EntryText{QString::fromUtf16(pct)},
                                   norvana::EntryText{QString::fromUtf16(crp)},
                                   norvana::EntryText{QString::fromUtf16(dipstick)}};
    for (auto _ : state)
        benchmark::DoNotOptimize(norvana::calculate(entries));
}

BENCHMARK_CAPTURE(calculation, accepted, u"1,2", u"45", u"Positivo");
BENCHMARK_CAPTURE(calculation, refused, u"abc", u"2000", u"forse");

} // namespace

BENCHMARK_MAIN();
