// The window on a high-density screen. CTest runs this twice: as is, and with
// QT_SCALE_FACTOR=2 (tst_highdpi_scale2), as it runs tst_layout, which checks
// that the logical geometry stays and every caption fits. Here: the window is
// drawn at the screen's resolution and its icon offers an image made for the
// screen's pixel density rather than a scaled-up one.

#include "boxwatcher.h"
#include "formtest.h"

#include <QApplication>

using namespace norvana;

namespace {

qreal expectedRatio()
{
    bool ok = false;
    const qreal factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    return ok ? factor : 1.0;
}

// The installed PNG rendition of the given size, which the window's icon must
// match pixel for pixel.
QImage pngImage(int size)
{
    QImage image(QStringLiteral(NORVANA_ICON_DIR "/norvana-%1.png").arg(size));
    if (image.isNull())
        qFatal("cannot read the %d px icon file", size);
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class tst_HighDpi : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void screenHasTheExpectedRatio();
    void windowIsRenderedAtDeviceResolution();
    void iconOffersEachDensity();
    void iconIsNotScaledUp();

private:
    QWidget *client() const;

    std::unique_ptr<OpenWindow> m_w;
};

void tst_HighDpi::initTestCase()
{
    m_w = std::make_unique<OpenWindow>();
    QVERIFY(QTest::qWaitForWindowExposed(&m_w->window));
    // A calculation, so that the score shows: PCT 1.2, CRP 45, Negativo.
    const norvana::FormWidgets &c = m_w->c;
    typeInto(c.pctEdit, QStringLiteral("1.2"));
    typeInto(c.crpEdit, QStringLiteral("45"));
    QTest::mouseClick(c.calculateButton, Qt::LeftButton);
    QCOMPARE(c.scoreLabel->text(), QStringLiteral("4"));
}

void tst_HighDpi::cleanupTestCase()
{
    const QStringList boxes = m_w->boxes.texts();
    m_w.reset();
    QCOMPARE(boxes, QStringList());
}

QWidget *tst_HighDpi::client() const
{
    return control<QWidget>(m_w->window, "client");
}

void tst_HighDpi::screenHasTheExpectedRatio()
{
    QCOMPARE(m_w->window.devicePixelRatio(), expectedRatio());
    QCOMPARE(client()->devicePixelRatio(), expectedRatio());
}

void tst_HighDpi::windowIsRenderedAtDeviceResolution()
{
    const QPixmap shot = client()->grab();
    QCOMPARE(shot.devicePixelRatio(), expectedRatio());
    QCOMPARE(shot.deviceIndependentSize().toSize(), QSize(438, 264));
    QCOMPARE(shot.size(), QSize(438, 264) * expectedRatio());
}

void tst_HighDpi::iconOffersEachDensity()
{
    const QIcon icon = m_w->window.windowIcon();
    QVERIFY(!icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    for (int size : {16, 32, 64})
        QVERIFY2(sizes.contains(QSize(size, size)), qPrintable(QStringLiteral("no %1 px image").arg(size)));
}

// For 16 and 32 logical pixels at ratio 2 the icon gives the 32 and 64 px
// images themselves; at ratio 1 the 16 and 32 px ones; and for the window's
// own ratio an image of the right device size.
void tst_HighDpi::iconIsNotScaledUp()
{
    const QIcon icon = m_w->window.windowIcon();
    struct Case
    {
        int logical;
        qreal ratio;
        int image;
    };
    for (const Case &k : {Case{16, 1.0, 16}, Case{32, 1.0, 32}, Case{16, 2.0, 32}, Case{32, 2.0, 64}}) {
        const QPixmap pixmap = icon.pixmap(QSize(k.logical, k.logical), k.ratio);
        const QString what = QStringLiteral("%1 px at ratio %2").arg(k.logical).arg(k.ratio);
        QVERIFY2(pixmap.size() == QSize(k.image, k.image), qPrintable(what));
        QVERIFY2(qFuzzyCompare(pixmap.devicePixelRatio(), k.ratio), qPrintable(what));
        QVERIFY2(pixmap.toImage().convertToFormat(QImage::Format_ARGB32) == pngImage(k.image),
                 qPrintable(what + QStringLiteral(": not the %1 px image").arg(k.image)));
    }
    const qreal ratio = m_w->window.devicePixelRatio();
    for (int logical : {16, 32}) {
        const QPixmap pixmap = icon.pixmap(QSize(logical, logical), ratio);
        QCOMPARE(pixmap.size(), QSize(logical, logical) * ratio);
        QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
        image.setDevicePixelRatio(1.0);
        QCOMPARE(image, pngImage(int(logical * ratio)));
    }
}

QTEST_MAIN(tst_HighDpi)
#include "tst_highdpi.moc"
