#include "messagebox.h"

#include "texts.h"

#include <QAbstractButton>
#include <QApplication>

#include <qpa/qwindowsysteminterface.h>

namespace norvana {

void showMessage(QWidget *parent, const QString &prompt, QMessageBox::Icon icon,
                 const std::function<void()> &closing)
{
    QMessageBox box(icon, QString::fromUtf16(kMessageTitle), prompt, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    // The keyboard goes back to the window before the box closes, so that no
    // key typed meanwhile goes where neither has it.
    if (parent)
        QObject::connect(&box, &QMessageBox::buttonClicked, parent, [parent] { parent->activateWindow(); });
    if (closing)
        QObject::connect(&box, &QDialog::finished, &box, closing);
    box.exec();
    if (!parent)
        return;
    // The keyboard goes back to the window; without a window manager nobody
    // else gives it back.
    parent->activateWindow();
    // The window system may have given it back already, while a box that a
    // key then closed was opening: Qt passed that on to the opening box and
    // hears of it no more, and without an active window no access key acts.
    if (!QGuiApplication::focusWindow() && !QApplication::activeModalWidget() && parent->windowHandle()) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
        QWindowSystemInterface::handleFocusWindowChanged<QWindowSystemInterface::SynchronousDelivery>(
#else
        QWindowSystemInterface::handleWindowActivated<QWindowSystemInterface::SynchronousDelivery>(
#endif
            parent->windowHandle(), Qt::ActiveWindowFocusReason);
    }
}

} // namespace norvana
