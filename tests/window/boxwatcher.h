#pragma once

#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>

// Watches for modal message boxes while a test acts on the window: records
// each box's title, text, icon and buttons, then presses its OK button so
// that no test ever waits on a box. A test compares what was seen with what
// it expected, so an unexpected box fails it.
class BoxWatcher : public QObject
{
    Q_OBJECT
public:
    struct Box
    {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        int buttonCount;
    };

    explicit BoxWatcher(QObject *parent = nullptr);

    const QList<Box> &boxes() const { return m_boxes; }
    QStringList texts() const;
    void clear() { m_boxes.clear(); }

private:
    void poll();

    QTimer m_timer;
    QList<Box> m_boxes;
};
