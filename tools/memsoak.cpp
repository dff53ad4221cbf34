// Runs many calculations, or opens many warnings, in one real window and
// reports the process's resident memory along the way, to show that it stays
// flat.
//
//   norvana_memsoak [CALCULATIONS]   (10000 by default)
//   norvana_memsoak boxes [BOXES]    (10000 by default)
//
// Each calculation types PCT and CRP key by key into the real text boxes and
// clicks "&Calcola"; every tenth one has a refused value. With "boxes" PCT
// holds a refused value and every click on "&Calcola" opens one warning.
// Each warning is closed with Enter once it is on screen, as a user closes
// it. The application is set up as Norvana sets itself up (its style above
// all, which gives the boxes their icons). Runs on the offscreen platform
// unless QT_QPA_PLATFORM says otherwise; on the X11 one (QT_QPA_PLATFORM=xcb
// under Xvfb) the boxes' buttons have icons. Reports VmRSS and the heap in
// use.
//
// A QLineEdit keeps the undo history of everything typed into it, without
// limit; the window forgets it at each calculation, so typing does not grow
// the heap either.
#include "application.h"
#include "scorewindow.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>

namespace {

// VmRSS of this process in KiB, from /proc/self/status.
long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpression rss(QStringLiteral("^VmRSS:\\s+(\\d+) kB"),
                                 QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = rss.match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toLong() : -1;
}

// Bytes allocated with malloc and not yet freed, mapped blocks included.
long heapBytes()
{
    const struct mallinfo2 info = mallinfo2();
    return long(info.uordblks + info.hblkhd);
}

struct Entry
{
    const char *pct;
    const char *crp;
};

// Nine accepted pairs across the bands and one refused pair.
constexpr std::array<Entry, 10> kEntries{{
    {"0,3", "12"}, {"1,5", "45"}, {"7", "150"}, {".5", "40"}, {"2", "99,9"},
    {"45 ng", "1e3"}, {"0.49", "100"}, {"3e-1", "39"}, {"500", "0,5"}, {"0", "abc"},
}};

// Replaces the whole text of a box, key by key.
void typeInto(QLineEdit *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    norvana::setUpApplication();
    const bool boxesOnly = argc > 1 && qstrcmp(argv[1], "boxes") == 0;
    const int total = argc > 1 + int(boxesOnly) ? std::atoi(argv[1 + int(boxesOnly)]) : 10000;

    norvana::ScoreWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the window was not shown\n");
        return 1;
    }
    auto *txtPCT = window.findChild<QLineEdit *>(QStringLiteral("txtPCT"));
    auto *txtCRP = window.findChild<QLineEdit *>(QStringLiteral("txtCRP"));
    auto *cmdCalcola = window.findChild<QPushButton *>(QStringLiteral("cmdCalcola"));
    auto *lblScore = window.findChild<QLabel *>(QStringLiteral("lblScore"));
    if (!txtPCT || !txtCRP || !cmdCalcola || !lblScore) {
        std::fprintf(stderr, "a control of the window is missing\n");
        return 1;
    }

    // Each warning is counted and closed with Enter once it is exposed.
    int boxes = 0;
    QTimer dismiss;
    QObject::connect(&dismiss, &QTimer::timeout, [&boxes] {
        auto *box = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (box && box->windowHandle() && box->windowHandle()->isExposed()) {
            ++boxes;
            QTest::keyClick(box, Qt::Key_Return);
        }
    });
    dismiss.start(1);

    int scores = 0;
    int warnings = 0;
    std::printf("%12s  VmRSS(KiB)  heap in use(KiB)\n", boxesOnly ? "boxes" : "calculations");
    const auto report = [](int done) {
        std::printf("%12d  %10ld  %16ld\n", done, residentKiB(), heapBytes() / 1024);
    };
    report(0);
    if (boxesOnly) {
        typeInto(txtPCT, QStringLiteral("0"));
        typeInto(txtCRP, QStringLiteral("45"));
    }
    for (int i = 1; i <= total; ++i) {
        if (!boxesOnly) {
            const Entry &entry = kEntries[size_t(i) % kEntries.size()];
            typeInto(txtPCT, QString::fromLatin1(entry.pct));
            typeInto(txtCRP, QString::fromLatin1(entry.crp));
        }
        QTest::mouseClick(cmdCalcola, Qt::LeftButton);
        scores += lblScore->text().isEmpty() ? 0 : 1;
        warnings += boxes;
        boxes = 0;
        if (i == 100 || i == 1000 || i % 2500 == 0 || i == total)
            report(i);
    }
    std::printf("scores shown: %d, warnings: %d\n", scores, warnings);
    if (boxesOnly)
        return scores == 0 && warnings == total ? 0 : 1;
    // Every calculation either showed a score or warned once per refused value.
    // The refused pair is the last entry, taken once every kEntries.size().
    const int refused = (total + 1) / int(kEntries.size());
    return scores == total - refused && warnings == 2 * refused ? 0 : 1;
}
