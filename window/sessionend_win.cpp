#include "sessionend.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>

#include <qt_windows.h>

namespace norvana {

namespace {

// Qt for Windows is built without its session management, which would
// answer these messages too, but costs more than this filter. Each message
// is sent to every top-level window; ending more than once is harmless.
class SessionEndFilter final : public QAbstractNativeEventFilter
{
public:
    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override
    {
        if (eventType != "windows_generic_MSG")
            return false;
        const auto *msg = static_cast<const MSG *>(message);
        switch (msg->message) {
        case WM_QUERYENDSESSION: // may the session end, or the installer close Norvana?
            *result = TRUE;
            return true;
        case WM_ENDSESSION: // it ends; FALSE when another program refused
            if (msg->wParam)
                end();
            *result = 0;
            return true;
        case WM_CLOSE: // the Restart Manager closing the program
            if (!(msg->lParam & ENDSESSION_CLOSEAPP))
                return false;
            end();
            *result = 0;
            return true;
        default:
            return false;
        }
    }

private:
    // Leaves every event loop, open message boxes' included: main() returns
    // 0, and Qt hands what was copied over to the clipboard as it ends.
    static void end() { QCoreApplication::exit(0); }
};

} // namespace

void endWithWindowsSession()
{
    static SessionEndFilter filter;
    QCoreApplication::instance()->installNativeEventFilter(&filter);
}

} // namespace norvana
