// The window on a high-density screen. CTest runs this twice: as is, and with
// QT_SCALE_FACTOR=2 (tst_highdpi_scale2). Either way the layout keeps its
// logical geometry, every caption fits its box in the font actually used, and
// the window icon offers an image drawn for the screen's pixel density rather
// than a scaled-up one.

#include "boxwatcher.h"
#include "controlfactory.h"
#include "formdefinition.h"
#include "formtest.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QStyle>
#include <QStyleOption>

using namespace norvana;

namespace {

qreal expectedRatio()
{
    bool ok = false;
    const qreal factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    return ok ? factor : 1.0;
}

QRect pixelRect(const ControlDef &def)
{
    return {twipsToPixels(def.twips.x()), twipsToPixels(def.twips.y()), twipsToPixels(def.twips.width()),
            twipsToPixels(def.twips.height())};
}

QImage resourceImage(int size)
{
    QImage image(QStringLiteral(":/icons/norvana-%1.png").arg(size));
    if (image.isNull())
        qFatal("no embedded %d px icon", size);
    return image.convertToFormat(QImage::Format_ARGB32);
}

QString withoutMnemonic(QString text)
{
    return text.remove(QLatin1Char('&'));
}

} // namespace

class TestHighDpi : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void screenHasTheExpectedRatio();
    void clientAreaKeepsItsLogicalSize();
    void controlsKeepTheirLogicalGeometry();
    void windowIsRenderedAtDeviceResolution();
    void fontIsTheLayoutFont();
    void captionsFitTheirBoxes();
    void entriesFitTheirText();
    void iconOffersEachDensity();
    void iconIsNotScaledUp();

private:
    QWidget *client() const;

    Form1 *m_window = nullptr;
    BoxWatcher *m_boxes = nullptr;
};

void TestHighDpi::initTestCase()
{
    m_window = new Form1;
    m_boxes = new BoxWatcher(m_window);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    // A calculation, so that the score shows: PCT 1.2, CRP 45, Negativo.
    FormControlsUnderTest c(*m_window);
    typeInto(c.txtPCT, QStringLiteral("1.2"));
    typeInto(c.txtCRP, QStringLiteral("45"));
    QTest::mouseClick(c.cmdCalcola, Qt::LeftButton);
    QCOMPARE(c.lblScore->text(), QStringLiteral("4"));
}

void TestHighDpi::cleanupTestCase()
{
    const QStringList boxes = m_boxes->texts();
    delete m_window;
    QCOMPARE(boxes, QStringList());
}

QWidget *TestHighDpi::client() const
{
    return control<QWidget>(*m_window, "client");
}

void TestHighDpi::screenHasTheExpectedRatio()
{
    QCOMPARE(m_window->devicePixelRatio(), expectedRatio());
    QCOMPARE(client()->devicePixelRatio(), expectedRatio());
}

void TestHighDpi::clientAreaKeepsItsLogicalSize()
{
    QCOMPARE(client()->size(), QSize(438, 264));
    QCOMPARE(client()->size(),
             QSize(twipsToPixels(kClientTwips.width()), twipsToPixels(kClientTwips.height())));
}

void TestHighDpi::controlsKeepTheirLogicalGeometry()
{
    for (const ControlDef &def : kControls) {
        QWidget *widget = control<QWidget>(*client(), def.name);
        QVERIFY2(widget->geometry() == pixelRect(def), def.name);
    }
}

void TestHighDpi::windowIsRenderedAtDeviceResolution()
{
    const QPixmap shot = client()->grab();
    QCOMPARE(shot.devicePixelRatio(), expectedRatio());
    QCOMPARE(shot.deviceIndependentSize().toSize(), QSize(438, 264));
    QCOMPARE(shot.size(), QSize(438, 264) * expectedRatio());
}

void TestHighDpi::fontIsTheLayoutFont()
{
    for (const ControlDef &def : kControls) {
        QWidget *widget = control<QWidget>(*client(), def.name);
        const QFontInfo info(widget->font());
        QVERIFY2(info.family() == QLatin1String(kFontFamilies[0]) || info.family() == QLatin1String(kFontFamilies[1]),
                 qPrintable(QStringLiteral("%1 uses %2").arg(QLatin1String(def.name), info.family())));
        QCOMPARE(info.pixelSize(), fontPixelSize(def.pointSize));
    }
}

// Labels: the word-wrapped caption's bounding box lies within the label.
// Buttons: the caption (without '&') lies within the style's contents rect.
void TestHighDpi::captionsFitTheirBoxes()
{
    for (const ControlDef &def : kControls) {
        QWidget *widget = control<QWidget>(*client(), def.name);
        const QFontMetrics fm(widget->font(), widget);
        const QString name = QLatin1String(def.name);
        if (auto *label = qobject_cast<QLabel *>(widget)) {
            QVERIFY2(!label->text().isEmpty() || name == QLatin1String("lblScore"), def.name);
            const QRect box = label->contentsRect();
            const QRect text = fm.boundingRect(box, int(label->alignment()) | Qt::TextWordWrap, label->text());
            QVERIFY2(text.width() <= box.width() && text.height() <= box.height(),
                     qPrintable(QStringLiteral("%1: caption %2x%3 in a %4x%5 box")
                                    .arg(name).arg(text.width()).arg(text.height())
                                    .arg(box.width()).arg(box.height())));
        } else if (auto *button = qobject_cast<QPushButton *>(widget)) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const QRect box = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            const QSize text = fm.size(Qt::TextShowMnemonic, button->text());
            QCOMPARE(text, fm.size(0, withoutMnemonic(button->text())));
            QVERIFY2(text.width() <= box.width() && text.height() <= box.height(),
                     qPrintable(QStringLiteral("%1: caption %2x%3 in a %4x%5 box")
                                    .arg(name).arg(text.width()).arg(text.height())
                                    .arg(box.width()).arg(box.height())));
        }
    }
}

// The entries: the typed text and the chosen item fit the editing field.
void TestHighDpi::entriesFitTheirText()
{
    FormControlsUnderTest c(*m_window);
    for (QLineEdit *edit : {c.txtPCT, c.txtCRP}) {
        const QFontMetrics fm(edit->font(), edit);
        QStyleOptionFrame option;
        option.initFrom(edit);
        option.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
        const QRect box = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit)
                              .marginsRemoved(edit->textMargins());
        QVERIFY2(fm.height() <= box.height(), qPrintable(edit->objectName()));
        QVERIFY2(fm.horizontalAdvance(edit->text()) <= box.width(), qPrintable(edit->objectName()));
    }
    QComboBox *combo = c.cmbDipUrine;
    const QFontMetrics fm(combo->font(), combo);
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    option.currentText = combo->currentText();
    const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                       QStyle::SC_ComboBoxEditField, combo);
    for (int i = 0; i < combo->count(); ++i)
        QVERIFY2(fm.horizontalAdvance(combo->itemText(i)) <= field.width(), qPrintable(combo->itemText(i)));
    QVERIFY(fm.height() <= field.height());
}

void TestHighDpi::iconOffersEachDensity()
{
    const QIcon icon = m_window->windowIcon();
    QVERIFY(!icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    for (int size : {16, 32, 64})
        QVERIFY2(sizes.contains(QSize(size, size)), qPrintable(QStringLiteral("no %1 px image").arg(size)));
}

// For 16 and 32 logical pixels at ratio 2 the icon gives the 32 and 64 px
// images themselves; at ratio 1 the 16 and 32 px ones; and for the window's
// own ratio an image of the right device size.
void TestHighDpi::iconIsNotScaledUp()
{
    const QIcon icon = m_window->windowIcon();
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
        QVERIFY2(pixmap.toImage().convertToFormat(QImage::Format_ARGB32) == resourceImage(k.image),
                 qPrintable(what + QStringLiteral(": not the %1 px image").arg(k.image)));
    }
    const qreal ratio = m_window->devicePixelRatio();
    for (int logical : {16, 32}) {
        const QPixmap pixmap = icon.pixmap(QSize(logical, logical), ratio);
        QCOMPARE(pixmap.size(), QSize(logical, logical) * ratio);
        QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
        image.setDevicePixelRatio(1.0);
        QCOMPARE(image, resourceImage(int(logical * ratio)));
    }
}

QTEST_MAIN(TestHighDpi)
#include "tst_highdpi.moc"
