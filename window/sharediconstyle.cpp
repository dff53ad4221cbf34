#include "sharediconstyle.h"

#include <QApplication>
#include <QIconEngine>
#include <QPointer>

namespace norvana {

namespace {

// An icon that asks the style for a standard icon when first drawn or
// measured, then gives that icon. An engine works in device pixels, so it
// asks the icon for its pixmaps at ratio 1.
class DeferredIconEngine : public QIconEngine
{
public:
    DeferredIconEngine(QStyle *style, QStyle::StandardPixmap which) : m_style(style), m_which(which) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, 1.0, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    QIconEngine *clone() const override { return new DeferredIconEngine(*this); }

private:
    const QIcon &icon()
    {
        if (m_style) {
            m_icon = m_style->standardIcon(m_which);
            m_style = nullptr;
        }
        return m_icon;
    }

    QPointer<QStyle> m_style; // until the icon is read
    QStyle::StandardPixmap m_which;
    QIcon m_icon;
};

} // namespace

QIcon SharedIconStyle::standardIcon(StandardPixmap which, const QStyleOption *option,
                                    const QWidget *widget) const
{
    // An option may ask for another direction or state.
    if (option)
        return QProxyStyle::standardIcon(which, option, widget);
    QIcon &icon = m_icons[which];
    if (!icon.isNull())
        return icon;
    if (which == SP_ToolBarHorizontalExtensionButton || which == SP_ToolBarVerticalExtensionButton)
        icon = QIcon(new DeferredIconEngine(baseStyle(), which));
    else
        icon = QProxyStyle::standardIcon(which, nullptr, widget);
    return icon;
}

void useSharedIconStyle()
{
    if (!qobject_cast<SharedIconStyle *>(QApplication::style()))
        QApplication::setStyle(new SharedIconStyle(QApplication::style()->name()));
}

} // namespace norvana
