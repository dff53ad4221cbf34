#include "boxwatcher.h"

#include <QAbstractButton>
#include <QApplication>

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
    if (!modal)
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
    if (QAbstractButton *ok = box->button(QMessageBox::Ok))
        ok->click();
    else
        box->reject();
}
