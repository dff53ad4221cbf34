#include "deferredstyle.h"

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
        return pixmap(size, mode, state).size();
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

QIcon DeferredStyle::standardIcon(StandardPixmap which, const QStyleOption *option,
                                  const QWidget *widget) const
{
    if (which == SP_ToolBarHorizontalExtensionButton || which == SP_ToolBarVerticalExtensionButton)
        return QIcon(new DeferredIconEngine(baseStyle(), which));
    // The base style builds a new icon at every call, and an icon puts the
    // pixmaps it draws into the application's pixmap cache under keys of
    // their own, which no later icon finds again: each message box would
    // leave its icon and its OK button's there, about 2 kB, until the cache
    // is full at 10 MB. One icon for each standard pixmap keeps one set of
    // entries. An option may ask for another direction or state.
    if (option)
        return QProxyStyle::standardIcon(which, option, widget);
    QIcon &icon = m_icons[which];
    if (icon.isNull())
        icon = QProxyStyle::standardIcon(which, nullptr, widget);
    return icon;
}

void useDeferredStyle()
{
    if (!qobject_cast<DeferredStyle *>(QApplication::style()))
        QApplication::setStyle(new DeferredStyle(QApplication::style()->name()));
}

} // namespace norvana
