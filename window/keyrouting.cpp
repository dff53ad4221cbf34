#include "keyrouting.h"

#include "closedwindowkeys.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <private/qwindow_p.h>
#include <qpa/qwindowsysteminterface_p.h>

namespace norvana {

namespace {

using Event = QWindowSystemInterfacePrivate::WindowSystemEvent;
using KeyEvent = QWindowSystemInterfacePrivate::KeyEvent;

// Qt hands each event the window system reported to the application here,
// one at a time and in the order they came, and picks the window of a key
// from the event: the one place where a key's window is decided.
class KeyRouter : public QObject, public QWindowSystemEventHandler
{
public:
    explicit KeyRouter(QWidget *window) : QObject(window), m_window(window)
    {
        // Removed by QWindowSystemEventHandler's destructor.
        QWindowSystemInterfacePrivate::installWindowSystemEventHandler(this);
    }

    bool sendEvent(Event *event) override
    {
        if (event->type == QWindowSystemInterfacePrivate::Key)
            route(static_cast<KeyEvent *>(event));
        return QWindowSystemEventHandler::sendEvent(event);
    }

private:
    // Qt drops a key for a window blocked by a modal one; a hidden window
    // (the list once closed, a closed box) does nothing useful with it.
    static bool takesKeys(QWindow *window)
    {
        return window && window->isVisible() && !QWindowPrivate::get(window)->blockedByModalWindow;
    }

    void route(KeyEvent *key) const
    {
        QWindow *addressed = key->nullWindow() ? QGuiApplication::focusWindow() : key->window.data();
        if (takesKeys(addressed))
            return;
        QWindow *modal = QGuiApplication::modalWindow();
        QWindow *now = modal ? modal : m_window->windowHandle();
        if (!takesKeys(now))
            return;
        key->window = now;
        key->flags &= ~Event::NullWindow;
    }

    QWidget *m_window;
};

} // namespace

void routeKeys(QWidget *window)
{
    new KeyRouter(window);
#ifndef Q_OS_WIN
    passOnKeysOfClosedWindows(window);
#endif
}

} // namespace norvana
