#include "application.h"
#include "formdefinition.h"
#include "formtest.h"
#include "scorewindow.h"
#include "sharediconstyle.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLibraryInfo>
#include <QMenu>
#include <QMenuBar>
#include <QScopeGuard>
#include <QStyleFactory>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>
#include <tuple>

using norvana::ScoreWindow;

// The window as the user first sees it: places, fonts, colours, captions,
// tab order, the icon and the state after start-up. CTest runs this suite
// also with QT_SCALE_FACTOR=2 (tst_layout_scale2), a high-density screen.
class tst_Layout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void window();
    void icon();
    void controls();
    void captionsFit_data();
    void captionsFit();
    void startUp();
    void tabOrder();
    void textOnCyanReads_data();
    void textOnCyanReads();
    void application();

private:
    QWidget *find(const char *name) const { return control<QWidget>(m_window, name); }

    ScoreWindow m_window;
};

void tst_Layout::initTestCase()
{
    m_window.show();
    QVERIFY(QTest::qWaitForWindowActive(&m_window));
}

void tst_Layout::window()
{
    QCOMPARE(m_window.windowTitle(), QStringLiteral("Norvana"));

    QWidget *client = m_window.centralWidget();
    QCOMPARE(client->size(), QSize(438, 264));
    QCOMPARE(client->palette().color(QPalette::Window), QColor(0xC0, 0xFF, 0xFF));
    QVERIFY(client->autoFillBackground());

    const QList<QAction *> menu = m_window.menuBar()->actions();
    QCOMPARE(menu.size(), 1);
    QCOMPARE(menu.first()->text(), QStringLiteral("?"));
    QCOMPARE(menu.first()->objectName(), QStringLiteral("Info"));
    QVERIFY(!menu.first()->menu());
    QVERIFY(menu.first()->shortcut().isEmpty());
    // The client area lies below the menu bar.
    QCOMPARE(client->y(), m_window.menuBar()->geometry().bottom() + 1);

    // Not resizable.
    QCOMPARE(m_window.minimumSize(), m_window.maximumSize());
    QCOMPARE(m_window.size(), m_window.minimumSize());

    // Drawn at the screen's resolution.
    const qreal ratio = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    QCOMPARE(client->grab().size(), QSize(438, 264) * ratio);
}

// For 16 and 32 logical pixels the window's icon gives an image made for
// the pixel density, the installed PNG of that size, not a scaled-up one.
void tst_Layout::icon()
{
    const QIcon icon = m_window.windowIcon();
    for (const auto &[logical, ratio, size] :
         {std::tuple{16, 1.0, 16}, {32, 1.0, 32}, {16, 2.0, 32}, {32, 2.0, 64}}) {
        const QPixmap pixmap = icon.pixmap(QSize(logical, logical), ratio);
        QImage image(QStringLiteral(NORVANA_ICON_DIR "/norvana-%1.png").arg(size));
        QVERIFY(!image.isNull());
        QVERIFY2(pixmap.toImage().convertToFormat(QImage::Format_ARGB32)
                     == image.convertToFormat(QImage::Format_ARGB32),
                 qPrintable(QStringLiteral("%1 px at ratio %2").arg(logical).arg(ratio)));
    }
}

// Each control as its definition says: its place,
// its font, colours, caption and alignment.
void tst_Layout::controls()
{
    // A colour by role is the desktop's, but for the client area's cyan.
    const QPalette client = m_window.centralWidget()->palette();
    const auto colour = [&](const norvana::ColourDef &def) {
        return def.role == QPalette::NoRole ? QColor::fromRgb(def.fixed) : client.color(def.role);
    };
    for (const norvana::ControlDef &def : norvana::kControls) {
        QWidget *widget = m_window.findChild<QWidget *>(QLatin1String(def.name));
        QVERIFY2(widget, def.name);
        QCOMPARE(widget->parentWidget(), m_window.centralWidget());
        QCOMPARE(widget->geometry(), def.geometry);
        QVERIFY(widget->isVisible() && widget->isEnabled());

        const QFont font = widget->font();
        QCOMPARE(font.pixelSize(), qRound(def.font.pointSize * 96 / 72));
        QCOMPARE(font.bold(), def.font.bold);
        QCOMPARE(font.italic(), def.font.italic);

        const QPalette palette = widget->palette();
        QCOMPARE(palette.color(widget->foregroundRole()), colour(def.text));
        QCOMPARE(palette.color(widget->backgroundRole()), colour(def.background));

        const QString caption = QString::fromUtf16(def.caption);
        const auto horizontal = [](Qt::Alignment a) { return a & Qt::AlignHorizontal_Mask; };
        if (auto *label = qobject_cast<QLabel *>(widget)) {
            QCOMPARE(label->text(), caption);
            QVERIFY(label->autoFillBackground() && label->wordWrap());
            QCOMPARE(label->alignment(), def.alignment);
        } else if (auto *box = qobject_cast<QLineEdit *>(widget)) {
            QCOMPARE(box->text(), caption);
            QCOMPARE(horizontal(box->alignment()), horizontal(def.alignment));
        } else if (auto *combo = qobject_cast<QComboBox *>(widget)) {
            QCOMPARE(combo->currentText(), QStringLiteral("Negativo"));
            QCOMPARE(horizontal(combo->lineEdit()->alignment()), horizontal(def.alignment));
            QCOMPARE(combo->lineEdit()->font().pixelSize(), font.pixelSize());
        } else if (auto *button = qobject_cast<QPushButton *>(widget)) {
            QCOMPARE(button->text(), caption);
        }
    }
}

void tst_Layout::captionsFit_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("maxLines");

    QTest::newRow("Label1") << "Label1" << 1;
    QTest::newRow("Label2") << "Label2" << 1;
    QTest::newRow("Label3 Dipstik urinario") << "Label3" << 1;
    QTest::newRow("lblPunteggio") << "lblPunteggio" << 1;
    QTest::newRow("lblSBI") << "lblSBI" << 2;
    QTest::newRow("lblSBI2") << "lblSBI2" << 2;
    QTest::newRow("cmdCalcola") << "cmdCalcola" << 1;
    QTest::newRow("cmdReset") << "cmdReset" << 1;
    QTest::newRow("cmdFine") << "cmdFine" << 1;
}

// Measured with the metrics of the font actually used on this machine: the
// layout relies on a face with Arial's metrics, in which every caption fits.
void tst_Layout::captionsFit()
{
    QFETCH(QString, name);
    QFETCH(int, maxLines);

    QWidget *widget = m_window.findChild<QWidget *>(name);
    QVERIFY(widget);
    const QFontMetrics metrics(widget->font());
    QString text;
    QRect box = widget->contentsRect();
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        text = label->text();
    } else {
        auto *button = qobject_cast<QPushButton *>(widget);
        QVERIFY(button);
        text = button->text().remove(u'&');
        box = box.adjusted(4, 4, -4, -4); // the button's bevel
    }

    const QRect needed = metrics.boundingRect(box, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text);
    const int lines = (needed.height() + metrics.leading()) / metrics.lineSpacing();
    QVERIFY2(lines <= maxLines, qPrintable(QStringLiteral("%1 lines").arg(lines)));
    QVERIFY2(needed.width() <= box.width(), qPrintable(QStringLiteral("%1 px wide").arg(needed.width())));
    QVERIFY2(needed.height() <= box.height(), qPrintable(QStringLiteral("%1 px high").arg(needed.height())));
    if (maxLines == 1)
        QVERIFY(metrics.horizontalAdvance(text) <= box.width());

    const QFontInfo used(widget->font());
    QVERIFY2(std::any_of(std::begin(norvana::kFontFamilies), std::end(norvana::kFontFamilies),
                         [&](const char *family) { return used.family() == QLatin1String(family); }),
             qPrintable(QStringLiteral("font in use: ") + used.family()));
}

void tst_Layout::startUp()
{
    const norvana::FormWidgets c = controlsOf(m_window);
    QCOMPARE(QApplication::focusWidget(), c.pctEdit);
    QCOMPARE(c.scoreLabel->text(), QString());
    QCOMPARE(c.pctEdit->text(), QString());
    QCOMPARE(c.crpEdit->text(), QString());
    QVERIFY(c.dipstickCombo->isEditable());
    QCOMPARE(c.dipstickCombo->currentIndex(), 0);
    QCOMPARE(c.dipstickCombo->count(), 2);
    QCOMPARE(c.dipstickCombo->itemText(0), QStringLiteral("Negativo"));
    QCOMPARE(c.dipstickCombo->itemText(1), QStringLiteral("Positivo"));
    QVERIFY(control<QLabel>(m_window, "lblSBI")->text().startsWith(u' '));
}

void tst_Layout::tabOrder()
{
    const QStringList forward{"txtCRP", "cmdCalcola", "cmdReset", "cmdFine", "cmbDipUrine", "txtPCT"};
    find("txtPCT")->setFocus();
    for (const QString &expected : forward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), expected);
    }
    QStringList backward = forward;
    std::reverse(backward.begin(), backward.end());
    backward.removeFirst();
    backward << QStringLiteral("txtPCT");
    for (const QString &expected : backward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), expected);
    }
}

// Whether two pixmaps of an icon look the same: one size, and each pixel's
// channels within a few shades. Scaled by a factor of 2 (tst_layout_scale2),
// Qt 6.8 does not give the same pixels twice, even for one icon asked twice
// (up to 5 shades apart); another icon differs in size or by far more.
static bool looksTheSame(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            for (int shift : {0, 8, 16, 24}) { // blue, green, red, alpha
                if (std::abs(int(p >> shift & 0xff) - int(q >> shift & 0xff)) > 8)
                    return false;
            }
        }
    }
    return true;
}

// Relative luminance and contrast ratio as WCAG 2 defines them.
static double luminance(const QColor &colour)
{
    const auto linear = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

static double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

void tst_Layout::textOnCyanReads_data()
{
    QTest::addColumn<QPalette>("palette");

    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    QTest::newRow("light palette") << fusion->standardPalette();
    // Derived from a dark button colour: light text on dark faces.
    QTest::newRow("dark palette") << QPalette(QColor(0x35, 0x35, 0x35));
}

// The two sentences on the form's fixed cyan stay readable whatever the
// desktop's palette: contrast at least 4.5:1 (WCAG AA for normal text) in
// the active and the inactive window, with the Fusion style.
void tst_Layout::textOnCyanReads()
{
    QFETCH(QPalette, palette);

    const QString style = QApplication::style()->name();
    const QPalette desktop = QApplication::palette();
    const auto restore = qScopeGuard([&] {
        QApplication::setPalette(desktop);
        QApplication::setStyle(style);
    });
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setPalette(palette);

    ScoreWindow window; // started under this palette
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QColor cyan(0xC0, 0xFF, 0xFF);
    for (const char *name : {"lblSBI", "lblSBI2"}) {
        const QLabel *label = control<QLabel>(window, name);
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            const QPalette used = label->palette();
            QCOMPARE(used.color(group, label->backgroundRole()), cyan);
            const QColor text = used.color(group, label->foregroundRole());
            const double ratio = contrastRatio(text, cyan);
            QVERIFY2(ratio >= 4.5, qPrintable(QStringLiteral("%1: %2 on cyan, %3:1")
                                                  .arg(QLatin1String(name), text.name())
                                                  .arg(ratio, 0, 'f', 2)));
        }
    }
}

// The application's name and version; its style: the desktop's, whose
// icons look as the desktop style's own, the menu bar's overflow icon too,
// and are the same icons each time asked; Qt's own texts in Italian.
void tst_Layout::application()
{
    const QString desktopStyle = QApplication::style()->name();
    norvana::setUpApplication();
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Norvana"));
    QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral("1.00"));

    auto *style = qobject_cast<norvana::SharedIconStyle *>(QApplication::style());
    QVERIFY(style);
    QCOMPARE(style->baseStyle()->name(), desktopStyle);
    norvana::setUpApplication(); // a second call keeps the style
    QCOMPARE(QApplication::style(), style);

    const std::unique_ptr<QStyle> reference(QStyleFactory::create(desktopStyle));
    QMenuBar bar;
    auto *overflow = bar.findChild<QToolButton *>(QStringLiteral("qt_menubar_ext_button"));
    QVERIFY(overflow);
    QVERIFY(!overflow->icon().isNull());
    const struct
    {
        QIcon icon;
        QStyle::StandardPixmap which;
    } icons[] = {
        {overflow->icon(), QStyle::SP_ToolBarHorizontalExtensionButton},
        {style->standardIcon(QStyle::SP_ToolBarVerticalExtensionButton), QStyle::SP_ToolBarVerticalExtensionButton},
        {style->standardIcon(QStyle::SP_MessageBoxWarning), QStyle::SP_MessageBoxWarning},
        {style->standardIcon(QStyle::SP_DialogOkButton), QStyle::SP_DialogOkButton},
    };
    for (const auto &[icon, which] : icons) {
        const QIcon expected = reference->standardIcon(which);
        QCOMPARE(icon.availableSizes(), expected.availableSizes());
        QCOMPARE(icon.actualSize(QSize(16, 16)), expected.actualSize(QSize(16, 16)));
        for (qreal ratio : {1.0, 2.0})
            QVERIFY(looksTheSame(icon.pixmap(QSize(16, 16), ratio).toImage(), expected.pixmap(QSize(16, 16), ratio).toImage()));
    }
    // Asked again for a box's icons, the style gives the icons it gave, whose
    // pixmaps the pixmap cache holds once, rather than new ones at every box.
    for (const auto &[icon, which] : {icons[2], icons[3]})
        QCOMPARE(style->standardIcon(which).cacheKey(), icon.cacheKey());

    // The context menu of a value box, as the box builds it when asked.
    const QString translations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFileInfo::exists(translations + QStringLiteral("/qtbase_it.qm")))
        QSKIP("Qt's Italian translations are not installed (qt6-translations-l10n)");
    const std::unique_ptr<QMenu> menu(control<QLineEdit>(m_window, "txtPCT")->createStandardContextMenu());
    QStringList entries;
    for (const QAction *action : menu->actions())
        entries << action->text().section(u'\t', 0, 0).remove(u'&');
    QVERIFY2(entries.contains(QStringLiteral("Annulla")), qPrintable(entries.join(u',')));
    QVERIFY2(entries.contains(QStringLiteral("Incolla")), qPrintable(entries.join(u',')));
}

QTEST_MAIN(tst_Layout)
#include "tst_layout.moc"
