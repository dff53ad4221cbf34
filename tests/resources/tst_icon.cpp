// Reads the committed icon files with ImageMagick (identify, convert) and
// checks what they are and what they draw: the .ico holds the two 16-colour
// images and their larger copies, the PNGs show the same pixels, all are what resources/make-icon.sh
// makes of the pixel maps, and the pictures are the bar chart they must show.
// tst_layout compares the window's icon with the PNG files.

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <map>

namespace {

// The standard 16-colour Windows palette, in its index order.
constexpr std::array<QRgb, 16> kStandardPalette{
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};
constexpr int kBlack = 0, kSilver = 7, kRed = 9, kLime = 10, kBlue = 12, kMagenta = 13,
              kWhite = 15;

const QString kIconDir = QStringLiteral(NORVANA_ICON_DIR);

// The standard output of an ImageMagick tool, or an error.
QByteArray magick(const QString &tool, const QStringList &arguments, QString *error)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        *error = tool + u' ' + arguments.join(u' ') + QStringLiteral(": ")
            + QString::fromLocal8Bit(process.readAllStandardError()) + process.errorString();
        return {};
    }
    return process.readAllStandardOutput();
}

// One image of a file (an .ico holds several), as ImageMagick decodes it.
QImage magickImage(const QString &path, int index, QString *error)
{
    const QByteArray png = magick(QStringLiteral("convert"),
                                  {QStringLiteral("%1[%2]").arg(path).arg(index), QStringLiteral("png:-")}, error);
    return QImage::fromData(png, "PNG").convertToFormat(QImage::Format_ARGB32);
}

// An image as palette indices, -1 where transparent, -2 for a colour outside
// the standard palette.
struct Indexed
{
    int n = 0;
    std::vector<int> pixels;
    int pixel(int x, int y) const { return pixels[size_t(y * n + x)]; }
};

Indexed indexed(const QImage &image)
{
    Indexed result{image.width(), {}};
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb rgb = image.pixel(x, y);
            const auto at = std::find(kStandardPalette.begin(), kStandardPalette.end(), rgb & 0xFFFFFF);
            result.pixels.push_back(qAlpha(rgb) == 0 ? -1
                                    : qAlpha(rgb) != 255 || at == kStandardPalette.end()
                                        ? -2
                                        : int(at - kStandardPalette.begin()));
        }
    return result;
}

struct Bar
{
    int left = -1;
    int right = -1;
    int height = 0;
};

} // namespace

class tst_Icon : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void images();
    void pngsAreTheIconsPixels_data();
    void pngsAreTheIconsPixels();
    void drawing_data();
    void drawing();

private:
    QTemporaryDir m_made; // what make-icon.sh makes of the maps now
};

void tst_Icon::initTestCase()
{
    QVERIFY(m_made.isValid());
    QProcess script;
    script.start(QStringLiteral("bash"), {QStringLiteral(NORVANA_MAKE_ICON), m_made.path()});
    QVERIFY(script.waitForFinished(60000));
    QVERIFY2(script.exitCode() == 0, script.readAllStandardError().constData());
}

// The two maps, 32x32 then 16x16, each of 4 bits per pixel (16 colours),
// then Windows' larger sizes; 256 pixels is a PNG image.
void tst_Icon::images()
{
    QString error;
    const QByteArray listing = magick(QStringLiteral("identify"),
                                      {QStringLiteral("-format"), QStringLiteral("%wx%h %z-bit\\n"),
                                       kIconDir + QStringLiteral("/norvana.ico")},
                                      &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(listing, QByteArray("32x32 4-bit\n16x16 4-bit\n24x24 4-bit\n48x48 4-bit\n256x256 8-bit\n"));
}

// Each PNG, the .ico's images and what make-icon.sh makes of the maps now
// show the same pixels; the 64 and 128 px PNGs and the .ico's 256 px image
// are the 32 px image scaled, its 48 px image the 16 px one.
void tst_Icon::pngsAreTheIconsPixels_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("scale");
    QTest::newRow("ico 32") << QStringLiteral("norvana.ico") << 0 << 32 << 1;
    QTest::newRow("ico 16") << QStringLiteral("norvana.ico") << 1 << 16 << 1;
    QTest::newRow("ico 48") << QStringLiteral("norvana.ico") << 3 << 16 << 3;
    QTest::newRow("ico 256") << QStringLiteral("norvana.ico") << 4 << 32 << 8;
    for (int size : {16, 32, 64, 128})
        QTest::addRow("png %d", size) << QStringLiteral("norvana-%1.png").arg(size) << 0
                                      << (size == 16 ? 16 : 32) << size / (size == 16 ? 16 : 32);
}

void tst_Icon::pngsAreTheIconsPixels()
{
    QFETCH(QString, file);
    QFETCH(int, index);
    QFETCH(int, size);
    QFETCH(int, scale);
    QString error;
    const QImage committed = magickImage(kIconDir + u'/' + file, index, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(committed.size(), QSize(size, size) * scale);

    const QImage icoImage = magickImage(kIconDir + QStringLiteral("/norvana.ico"), size == 32 ? 0 : 1, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(committed, icoImage.scaled(icoImage.size() * scale));
    QCOMPARE(magickImage(m_made.filePath(file), index, &error), committed);
}

void tst_Icon::drawing_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("32x32") << 32;
    QTest::newRow("16x16") << 16;
}

// A bar chart: a black axis along the left and bottom edges of the chart
// with tick marks outside it, a white field ruled with silver grid lines,
// four bars standing on the axis, and nothing but the ticks outside the chart.
void tst_Icon::drawing()
{
    QFETCH(int, size);
    QString error;
    const Indexed img = indexed(magickImage(kIconDir + QStringLiteral("/norvana.ico"), size == 32 ? 0 : 1, &error));
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(img.n, size);
    const int n = size;

    // The axes: the left-most column and the bottom-most row that are
    // mostly black.
    auto blackInColumn = [&](int x) {
        int count = 0;
        for (int y = 0; y < n; ++y)
            count += img.pixel(x, y) == kBlack;
        return count;
    };
    auto blackInRow = [&](int y) {
        int count = 0;
        for (int x = 0; x < n; ++x)
            count += img.pixel(x, y) == kBlack;
        return count;
    };
    int axisX = 0;
    while (axisX < n && blackInColumn(axisX) < n * 3 / 4)
        ++axisX;
    int axisY = n - 1;
    while (axisY >= 0 && blackInRow(axisY) < n * 3 / 4)
        --axisY;
    QVERIFY2(axisX < n / 4, "no vertical axis along the left edge");
    QVERIFY2(axisY >= n * 3 / 4, "no horizontal axis along the bottom edge");
    int top = 0;
    while (top < axisY && img.pixel(axisX + 1, top) == -1)
        ++top;
    QVERIFY(top < n / 4);
    for (int y = top; y <= axisY; ++y)
        QVERIFY2(img.pixel(axisX, y) == kBlack, qPrintable(QStringLiteral("axis broken at row %1").arg(y)));
    for (int x = axisX; x < n; ++x)
        QVERIFY2(img.pixel(x, axisY) == kBlack, qPrintable(QStringLiteral("axis broken at column %1").arg(x)));

    // Inside the chart everything is opaque; outside it, only black ticks.
    int ticksLeft = 0, ticksBelow = 0, clearOutside = 0;
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const bool inside = x > axisX && y >= top && y < axisY;
            const int p = img.pixel(x, y);
            if (inside) {
                QVERIFY2(p != -1 && p != kBlack,
                         qPrintable(QStringLiteral("(%1,%2) inside the chart is %3").arg(x).arg(y).arg(p)));
            } else if (x != axisX && y != axisY) {
                QVERIFY2(p == -1 || p == kBlack,
                         qPrintable(QStringLiteral("(%1,%2) outside the chart is %3").arg(x).arg(y).arg(p)));
                clearOutside += p == -1;
                if (p == kBlack && x < axisX)
                    ++ticksLeft;
                if (p == kBlack && y > axisY)
                    ++ticksBelow;
            }
        }
    }
    QVERIFY2(ticksLeft >= 2, "no tick marks left of the vertical axis");
    QVERIFY2(ticksBelow >= 2, "no tick marks below the horizontal axis");
    QVERIFY(clearOutside > 0);
    QCOMPARE(img.pixel(0, 0), -1);
    QCOMPARE(img.pixel(0, n - 1), -1);

    // The field: white, ruled with silver grid lines (whole rows of silver
    // but for the bars).
    int gridRows = 0, white = 0;
    for (int y = top; y < axisY; ++y) {
        bool ruled = true;
        for (int x = axisX + 1; x < n; ++x) {
            const int p = img.pixel(x, y);
            white += p == kWhite;
            if (p == kWhite)
                ruled = false;
        }
        gridRows += ruled;
    }
    QVERIFY2(gridRows >= 3, "fewer than three grid lines");
    QVERIFY(white > n * n / 8);

    // The bars: one solid block per colour, standing on the axis.
    std::map<int, Bar> bars;
    for (int colour : {kRed, kBlue, kMagenta, kLime}) {
        Bar bar;
        for (int x = axisX + 1; x < n; ++x) {
            int run = 0;
            for (int y = axisY - 1; y >= top && img.pixel(x, y) == colour; --y)
                ++run;
            int total = 0;
            for (int y = 0; y < n; ++y)
                total += img.pixel(x, y) == colour;
            QVERIFY2(total == run, "a bar does not stand on the axis in one piece");
            if (run == 0)
                continue;
            if (bar.left < 0) {
                bar.left = x;
                bar.height = run;
            }
            QVERIFY2(bar.right < 0 || bar.right == x - 1, "a bar is split");
            QCOMPARE(run, bar.height);
            bar.right = x;
        }
        QVERIFY2(bar.left >= 0, qPrintable(QStringLiteral("no bar of colour %1").arg(colour)));
        bars[colour] = bar;
    }
    // Left to right: red, blue, magenta, green.
    QVERIFY(bars[kRed].right < bars[kBlue].left);
    QVERIFY(bars[kBlue].right < bars[kMagenta].left);
    QVERIFY(bars[kMagenta].right < bars[kLime].left);
    // Heights: blue > green > red > magenta.
    QVERIFY(bars[kBlue].height > bars[kLime].height);
    QVERIFY(bars[kLime].height > bars[kRed].height);
    QVERIFY(bars[kRed].height > bars[kMagenta].height);
    // No other colour is used: only those of the standard palette, opaque
    // or wholly transparent.
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const int p = img.pixel(x, y);
            QVERIFY(p == -1 || p == kBlack || p == kWhite || p == kSilver || bars.count(p));
        }
}

QTEST_GUILESS_MAIN(tst_Icon)
#include "tst_icon.moc"
