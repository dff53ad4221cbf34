#include "closedwindowkeys.h"

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>

namespace norvana {

namespace {

class ClosedWindowKeys : public QObject, public QAbstractNativeEventFilter
{
public:
    explicit ClosedWindowKeys(QWidget *window) : QObject(window), m_window(window) {}

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto type = static_cast<xcb_generic_event_t *>(message)->response_type & ~0x80;
        if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
            return false;
        // A release has the same layout as a press.
        auto *key = static_cast<xcb_key_press_event_t *>(message);
        const QWindow *target = m_window->windowHandle();
        const QWindowList windows = QGuiApplication::allWindows();
        const bool known = std::any_of(windows.cbegin(), windows.cend(), [key](const QWindow *window) {
            return window->handle() && window->winId() == key->event;
        });
        if (!known && target && target->handle())
            key->event = xcb_window_t(target->winId());
        return false; // Qt goes on to deliver it
    }

private:
    QWidget *m_window;
};

} // namespace

void passOnKeysOfClosedWindows(QWidget *window)
{
    // Removed from the application when deleted, with the window.
    if (QGuiApplication::platformName() == u"xcb")
        qApp->installNativeEventFilter(new ClosedWindowKeys(window));
}

} // namespace norvana
