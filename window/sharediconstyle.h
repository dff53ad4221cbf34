#pragma once

#include <QHash>
#include <QIcon>
#include <QProxyStyle>

namespace norvana {

// The desktop's style, unchanged but that it builds each standard icon once
// and gives it again. The base style builds a new icon at every call, and an
// icon puts the pixmaps it draws into the application's pixmap cache under
// keys of its own, which no later icon finds again: each message box would
// leave its icon and its OK button's there, about 2 kB, until the cache is
// full at 10 MB. The icon of the overflow button that every menu bar
// creates is read only when first drawn: the button shows only when the
// menu bar is too narrow for its items, and reading the icon loads every
// image format plugin.
class SharedIconStyle : public QProxyStyle
{
    Q_OBJECT
public:
    // The style of the given name, as QStyleFactory knows it.
    explicit SharedIconStyle(const QString &key) : QProxyStyle(key) {}

    QIcon standardIcon(StandardPixmap which, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;

private:
    mutable QHash<StandardPixmap, QIcon> m_icons;
};

// Makes the application's style a SharedIconStyle around the style Qt chose
// for the desktop (or the one asked for with -style).
void useSharedIconStyle();

} // namespace norvana
