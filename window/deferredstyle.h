#pragma once

#include <QHash>
#include <QIcon>
#include <QProxyStyle>

namespace norvana {

// The desktop's style, unchanged but for its standard icons. The overflow
// button that every menu bar creates asks the style for its icon at once,
// and the style reads it from image files, though the button only shows when
// the menu bar is too narrow for its items: this style gives an icon that
// reads them when it is first drawn. Every other standard icon is built once
// and given again (see standardIcon()).
class DeferredStyle : public QProxyStyle
{
    Q_OBJECT
public:
    // The style of the given name, as QStyleFactory knows it.
    explicit DeferredStyle(const QString &key) : QProxyStyle(key) {}

    QIcon standardIcon(StandardPixmap which, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;

private:
    mutable QHash<StandardPixmap, QIcon> m_icons;
};

// Makes the application's style a DeferredStyle around the style Qt chose for
// the desktop (or the one asked for with -style).
void useDeferredStyle();

} // namespace norvana
