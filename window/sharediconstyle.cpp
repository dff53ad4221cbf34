#include "sharediconstyle.h"

#include <QApplication>

namespace norvana {

QIcon SharedIconStyle::standardIcon(StandardPixmap which, const QStyleOption *option,
                                    const QWidget *widget) const
{
    // An option may ask for another direction or state.
    if (option)
        return QProxyStyle::standardIcon(which, option, widget);
    QIcon &icon = m_icons[which];
    if (icon.isNull())
        icon = QProxyStyle::standardIcon(which, nullptr, widget);
    return icon;
}

void useSharedIconStyle()
{
    if (!qobject_cast<SharedIconStyle *>(QApplication::style()))
        QApplication::setStyle(new SharedIconStyle(QApplication::style()->name()));
}

} // namespace norvana
