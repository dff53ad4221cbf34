// Reads resources/icon/norvana.ico by hand, as Windows would, and checks what
// it draws. Nothing here uses the generator's code. The regeneration test
// pins every icon file to the pixel maps byte for byte, and tst_layout
// compares the window's icon with the PNG files; this test is the one that
// checks the pictures against the bar chart they must show.

#include "binaryfile.h"

#include <QFile>
#include <QTest>

#include <array>
#include <map>
#include <optional>

namespace {

// The standard 16-colour Windows palette, in its index order.
constexpr std::array<QRgb, 16> kStandardPalette{
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};
constexpr int kBlack = 0, kSilver = 7, kRed = 9, kLime = 10, kBlue = 12, kMagenta = 13,
              kWhite = 15;

struct IconImage
{
    int width = 0;
    int height = 0;
    int bitCount = 0;
    std::array<QRgb, 16> palette{};
    std::vector<int> index;         // palette index per pixel, top row first
    std::vector<bool> transparent;  // from the AND mask

    int at(int x, int y) const { return index[size_t(y * width + x)]; }
    bool clear(int x, int y) const { return transparent[size_t(y * width + x)]; }
    // The palette index, or -1 where the mask makes the pixel transparent.
    int pixel(int x, int y) const { return clear(x, y) ? -1 : at(x, y); }
};

struct IcoFile
{
    int count = 0;
    std::vector<IconImage> images;
};

// Parses ICONDIR, its entries and each entry's DIB (BITMAPINFOHEADER,
// palette, XOR bitmap, AND mask). Fails the test on any inconsistency.
std::optional<IcoFile> parseIco(const QByteArray &d, QString *error)
{
    auto bad = [error](const QString &why) {
        *error = why;
        return std::nullopt;
    };
    if (d.size() < 6 || le16(d, 0) != 0 || le16(d, 2) != 1)
        return bad(QStringLiteral("not an icon file (ICONDIR)"));
    IcoFile ico;
    ico.count = int(le16(d, 4));
    if (d.size() < 6 + 16 * ico.count)
        return bad(QStringLiteral("truncated directory"));
    for (int i = 0; i < ico.count; ++i) {
        const qsizetype e = 6 + 16 * i;
        const int entryWidth = quint8(d[e]) ? quint8(d[e]) : 256;
        const int entryHeight = quint8(d[e + 1]) ? quint8(d[e + 1]) : 256;
        const int colorCount = quint8(d[e + 2]);
        const quint32 bytes = le32(d, e + 8);
        const quint32 offset = le32(d, e + 12);
        if (qsizetype(offset) + qsizetype(bytes) > d.size())
            return bad(QStringLiteral("image %1 lies outside the file").arg(i));
        const QByteArray dib = d.mid(offset, bytes);
        if (dib.size() < 40 || le32(dib, 0) != 40)
            return bad(QStringLiteral("image %1 is no BITMAPINFOHEADER DIB").arg(i));
        IconImage image;
        image.width = int(le32(dib, 4));
        const int doubleHeight = int(le32(dib, 8));
        image.height = doubleHeight / 2;
        image.bitCount = int(le16(dib, 14));
        if (image.width != entryWidth || image.height != entryHeight)
            return bad(QStringLiteral("image %1: directory says %2x%3, DIB %4x%5")
                           .arg(i).arg(entryWidth).arg(entryHeight).arg(image.width).arg(image.height));
        if (le16(dib, 12) != 1 || le32(dib, 16) != 0)
            return bad(QStringLiteral("image %1: planes must be 1, compression BI_RGB").arg(i));
        if (image.bitCount != 4 || colorCount != 16 || le16(d, e + 6) != 4)
            return bad(QStringLiteral("image %1: not 4 bits per pixel, 16 colours").arg(i));
        const quint32 used = le32(dib, 32) ? le32(dib, 32) : 16;
        if (used != 16)
            return bad(QStringLiteral("image %1: palette of %2 colours").arg(i).arg(used));
        qsizetype at = 40;
        for (int c = 0; c < 16; ++c, at += 4)
            image.palette[size_t(c)] = qRgb(quint8(dib[at + 2]), quint8(dib[at + 1]), quint8(dib[at])) & 0xFFFFFF;
        const int xorStride = ((image.width * 4 + 31) / 32) * 4;
        const int andStride = ((image.width + 31) / 32) * 4;
        if (dib.size() != at + qsizetype(xorStride + andStride) * image.height)
            return bad(QStringLiteral("image %1: %2 bytes, not the size of its bitmaps").arg(i).arg(dib.size()));
        image.index.resize(size_t(image.width * image.height));
        image.transparent.resize(size_t(image.width * image.height));
        for (int row = 0; row < image.height; ++row) {      // bottom-up
            const int y = image.height - 1 - row;
            for (int x = 0; x < image.width; ++x) {
                const quint8 byte = quint8(dib[at + row * xorStride + x / 2]);
                image.index[size_t(y * image.width + x)] = x % 2 ? byte & 0x0F : byte >> 4;
            }
        }
        at += qsizetype(xorStride) * image.height;
        for (int row = 0; row < image.height; ++row) {
            const int y = image.height - 1 - row;
            for (int x = 0; x < image.width; ++x) {
                const quint8 byte = quint8(dib[at + row * andStride + x / 8]);
                image.transparent[size_t(y * image.width + x)] = byte & (0x80 >> (x % 8));
            }
        }
        ico.images.push_back(image);
    }
    return ico;
}

QString iconPath(const char *name)
{
    return QStringLiteral(NORVANA_ICON_DIR "/") + QLatin1String(name);
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
    void hasTwoImages32And16();
    void usesTheStandardPalette();
    void drawing_data();
    void drawing();

private:
    const IconImage &image(int size) const;
    IcoFile m_ico;
};

void tst_Icon::initTestCase()
{
    QString error;
    const std::optional<IcoFile> ico = parseIco(readFile(iconPath("norvana.ico")), &error);
    QVERIFY2(ico, qPrintable(error));
    m_ico = *ico;
}

const IconImage &tst_Icon::image(int size) const
{
    for (const IconImage &i : m_ico.images)
        if (i.width == size)
            return i;
    qFatal("no %dx%d image", size, size);
}

void tst_Icon::hasTwoImages32And16()
{
    QCOMPARE(m_ico.count, 2);
    QCOMPARE(int(m_ico.images.size()), 2);
    QCOMPARE(m_ico.images[0].width, 32);
    QCOMPARE(m_ico.images[0].height, 32);
    QCOMPARE(m_ico.images[1].width, 16);
    QCOMPARE(m_ico.images[1].height, 16);
    for (const IconImage &i : m_ico.images)
        QCOMPARE(i.bitCount, 4);
}

void tst_Icon::usesTheStandardPalette()
{
    for (const IconImage &i : m_ico.images)
        for (int c = 0; c < 16; ++c)
            QCOMPARE(QString::number(i.palette[size_t(c)], 16),
                     QString::number(kStandardPalette[size_t(c)], 16));
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
    const IconImage &img = image(size);
    const int n = size;

    // Transparent pixels are black in the XOR bitmap, as Windows expects.
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            if (img.clear(x, y))
                QCOMPARE(img.at(x, y), kBlack);

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
    // No other colour is used.
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const int p = img.pixel(x, y);
            QVERIFY(p == -1 || p == kBlack || p == kWhite || p == kSilver || bars.count(p));
        }
}

QTEST_GUILESS_MAIN(tst_Icon)
#include "tst_icon.moc"
