// Times the number reader on long texts of 256 KiB, 512 KiB and 1 MiB
// characters, to show that its time grows linearly with the length.
//
//   norvana_readerscale [REPETITIONS]      (21 by default)
//
// Prints the fastest and the median time of one reading for each size and
// shape of text, and the median time per character.
#include "numberreader.h"

#include <QString>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Shape
{
    const char *name;
    QString (*make)(qsizetype size);
};

const Shape kShapes[] = {
    {"digits", [](qsizetype n) { return QString(n, u'7'); }},
    {"zeros then 42", [](qsizetype n) { return QString(n - 2, u'0') + QStringLiteral("42"); }},
    {"2. then digits", [](qsizetype n) { return QStringLiteral("2.") + QString(n - 2, u'7'); }},
    {"digit blank pairs", [](qsizetype n) { return QStringLiteral("7 ").repeated(n / 2); }},
    {"1 then blanks, e3",
     [](qsizetype n) { return u'1' + QString(n - 3, u' ') + QStringLiteral("e3"); }},
};

} // namespace

int main(int argc, char *argv[])
{
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    volatile double sink = 0;

    std::printf("%-20s %9s %10s %10s %12s\n", "text", "chars", "min (ms)", "median (ms)",
                "ns per char");
    for (const Shape &shape : kShapes) {
        for (const qsizetype size : {qsizetype(256) << 10, qsizetype(512) << 10,
                                     qsizetype(1) << 20}) {
            const QString text = shape.make(size);
            std::vector<double> times;
            for (int i = 0; i < repetitions; ++i) {
                const auto start = std::chrono::steady_clock::now();
                sink = sink + norvana::readNumber(text).value_or(0.0);
                const auto end = std::chrono::steady_clock::now();
                times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
            }
            std::sort(times.begin(), times.end());
            const double median = times[times.size() / 2];
            std::printf("%-20s %9lld %10.3f %10.3f %12.2f\n", shape.name,
                        static_cast<long long>(text.size()), times.front(), median,
                        median * 1e6 / double(text.size()));
        }
    }
    return 0;
}
