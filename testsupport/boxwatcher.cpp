#include "boxwatcher.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPointer>

BoxWatcher::BoxWatcher(QObject *parent) : QObject(parent)
{
    m_timer.setInterval(5);
    connect(&m_timer, &QTimer::timeout, this, &BoxWatcher::poll);
    m_timer.start();
}

QStringList BoxWatcher::texts() const
{
    QStringList result;
    for (const Box &box : m_boxes)
        result << box.text;
    return result;
}

void BoxWatcher::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || modal == m_acting || modal == m_dismissing)
        return;
    auto *box = qobject_cast<QMessageBox *>(modal);
    if (!box) {
        // Not a box of the program's: close it and let the record show it.
        m_boxes.append({modal->windowTitle(), QString(), QMessageBox::NoIcon, {}, 0});
        modal->close();
        return;
    }
    m_boxes.append({box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                    int(box->buttons().size())});
    if (m_whileOpen && !m_acting) {
        // The action may spin the event loop. Meanwhile this box is left to
        // it, and a second timer (this one is busy until the action returns)
        // records and dismisses any box opened on top of it.
        m_acting = box;
        const QPointer<QMessageBox> open(box);
        QTimer nested;
        nested.setInterval(m_timer.interval());
        connect(&nested, &QTimer::timeout, this, &BoxWatcher::poll);
        nested.start();
        m_whileOpen(box);
        m_acting = nullptr;
        if (!open || !open->isVisible())
            return; // the action closed it
    }
    // From the box's own loop, not from this timer's handler: a box opened
    // as this one closes then finds the timer free to dismiss it.
    m_dismissing = box;
    QMetaObject::invokeMethod(box, [box] {
        if (!box->isVisible())
            return; // closed meanwhile by the test's keys
        if (QAbstractButton *ok = box->button(QMessageBox::Ok))
            ok->click();
        else
            box->reject();
    }, Qt::QueuedConnection);
}
