#pragma once

#include "boxwatcher.h"
#include "entrycontrols.h"
#include "formdefinition.h"
#include "scorewindow.h"
#include "texts.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

#include <memory>
#include <type_traits>
#include <variant>

// The window's texts that the tests look for.
inline const QString kValueWarning = QString::fromUtf16(norvana::kImplausibleValueText);
inline const QString kDipWarning = QString::fromUtf16(norvana::kUnknownDipstickText);
inline const QString kBoxTitle = QString::fromUtf16(norvana::kMessageTitle);

// Finds a control of the window by its name, failing the test when absent.
template <typename T>
T *control(const QWidget &window, const char *name)
{
    T *widget = window.findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("control %s not found", name);
    return widget;
}

// The window's controls, found by the names their definitions give them.
inline norvana::FormWidgets controlsOf(const QWidget &window)
{
    norvana::FormWidgets widgets;
    for (const norvana::ControlDef &def : norvana::kControls) {
        std::visit(
            [&](auto slot) {
                using Widget = std::remove_pointer_t<std::decay_t<decltype(widgets.*slot)>>;
                widgets.*slot = control<Widget>(window, def.name);
            },
            def.slot);
    }
    return widgets;
}

// The text field of an entry: a text box, or the combo box's field.
inline QLineEdit *textFieldOf(QWidget *entry)
{
    auto *combo = qobject_cast<QComboBox *>(entry);
    return combo ? combo->lineEdit() : qobject_cast<QLineEdit *>(entry);
}

inline QLineEdit *textField(const QWidget &window, const QString &name)
{
    return textFieldOf(control<QWidget>(window, qPrintable(name)));
}

// After a message box closes the window takes the keyboard back by itself,
// with or without a window manager.
inline bool reactivated(QWidget *window)
{
    return QTest::qWaitForWindowActive(window);
}

// Queues a key's press and release as the window system reports them, for
// `window`, until the next flush: the keys of a burst are taken up one after
// the other while what the first ones do is still going on (a box's own loop).
inline void queueKey(QWindow *window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                     const QString &text = {}, bool autoRepeat = false)
{
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
        QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::AsynchronousDelivery>(
            window, type, key, modifiers, text, autoRepeat);
}

// A fresh window, shown, with its controls as the tests use them and a
// watcher that records and dismisses its message boxes.
struct OpenWindow
{
    OpenWindow() { window.show(); }

    QWindow *handle() const { return window.windowHandle(); }

    // Keys through the window system, as a user's: they reach whatever has
    // the focus.
    void type(const QString &text) const
    {
        for (const QChar c : text)
            QTest::keyClick(handle(), c.toLatin1());
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const
    {
        QTest::keyClick(handle(), key, modifiers);
    }

    // The name of the control with the focus, once the window is active.
    QString focusName()
    {
        if (!reactivated(&window))
            return QStringLiteral("(window not active)");
        QWidget *focus = QApplication::focusWidget();
        return focus ? focus->objectName() : QStringLiteral("(none)");
    }

    // Presses a button in one of the ways of addPressRows().
    void press(QPushButton *button, const QString &how) const
    {
        if (how == u"click") {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
        if (how.startsWith(u"access key")) {
            if (how.endsWith(u"list dropped down")) {
                c.dipstickCombo->setFocus();
                key(Qt::Key_F4);
            } else {
                c.pctEdit->setFocus();
            }
            const QKeyCombination accessKey = button->shortcut()[0];
            const Qt::KeyboardModifiers shift =
                how.contains(u"Shift") ? Qt::ShiftModifier : Qt::NoModifier;
            key(accessKey.key(), accessKey.keyboardModifiers() | shift);
            return;
        }
        button->setFocus();
        if (how == u"keypad Enter")
            key(Qt::Key_Enter, Qt::KeypadModifier);
        else
            key(how == u"Enter" ? Qt::Key_Return : Qt::Key_Space);
    }

    // Start, 1.2 Enter, 45 Enter, Enter, Enter: true when it scores 4.
    bool road() const
    {
        type(QStringLiteral("1.2"));
        key(Qt::Key_Return);
        type(QStringLiteral("45"));
        key(Qt::Key_Return);
        key(Qt::Key_Return);
        key(Qt::Key_Return);
        return c.scoreLabel->text() == u"4";
    }

    norvana::ScoreWindow window;
    norvana::FormWidgets c = controlsOf(window);
    BoxWatcher boxes;
};

// Replaces the text of an entry as a user would: select all, then type.
inline void typeInto(QWidget *entry, const QString &text)
{
    entry->setFocus();
    textFieldOf(entry)->selectAll();
    if (text.isEmpty())
        QTest::keyClick(entry, Qt::Key_Delete);
    else
        QTest::keyClicks(entry, text);
}

// The ways a user presses a button, as the rows of a "how" column.
inline void addPressRows()
{
    QTest::addColumn<QString>("how");
    for (const char *how : {"click", "access key", "access key with Shift",
                            "access key, list dropped down", "Enter", "keypad Enter", "Space"})
        QTest::newRow(how) << QString::fromLatin1(how);
}

// A suite in which every test gets a fresh window, shown and active.
class WindowSuite : public QObject
{
    Q_OBJECT

protected Q_SLOTS:
    void init()
    {
        m_w = std::make_unique<OpenWindow>();
        QVERIFY(QTest::qWaitForWindowActive(&m_w->window));
    }
    void cleanup() { m_w.reset(); }

protected:
    std::unique_ptr<OpenWindow> m_w;
};
