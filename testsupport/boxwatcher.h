#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <functional>

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
    // Runs while each box is still open, before it is dismissed; boxes
    // opened meanwhile are recorded and dismissed without it.
    void setWhileOpen(std::function<void(QMessageBox *)> action) { m_whileOpen = std::move(action); }

private:
    void poll();

    QTimer m_timer;
    QList<Box> m_boxes;
    std::function<void(QMessageBox *)> m_whileOpen;
    QWidget *m_acting = nullptr; // the box whose while-open action runs
    QPointer<QWidget> m_dismissing; // the box being dismissed
};
