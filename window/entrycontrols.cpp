#include "entrycontrols.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QShortcutEvent>
#include <QSignalBlocker>

namespace norvana {

int keyAscii(const QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return 13;
    const QString text = event->text();
    return text.isEmpty() ? 0 : text.at(0).unicode();
}

void forgetUndoHistory(QLineEdit *edit)
{
    if (!edit->isUndoAvailable() && !edit->isRedoAvailable())
        return;
    const QSignalBlocker blocker(edit);
    const int cursor = edit->cursorPosition();
    const int start = edit->selectionStart();
    const int length = edit->selectionLength();
    edit->setText(edit->text()); // setText starts a new history
    if (start < 0)
        edit->setCursorPosition(cursor);
    else if (cursor == start)
        edit->setSelection(start + length, -length);
    else
        edit->setSelection(start, length);
}

bool EntryEdit::event(QEvent *event)
{
    // On its window's activation a line edit checks, a moment later, whether
    // it has the focus, and drops its selection if not. When a message box
    // takes the activation in that moment, as one does when it opens right
    // after another closed, the field to which the window gives the focus
    // back loses the selection of its refused text. The check is made here
    // at once instead, against the field that will have the focus.
    if (event->type() == QEvent::WindowActivate) {
        const QWidget *focus = window()->focusWidget();
        if (!focus || (focus != this && focus != focusProxy()))
            deselect();
        return QWidget::event(event);
    }
    return QLineEdit::event(event);
}

void TextBox::keyPressEvent(QKeyEvent *event)
{
    Q_EMIT keyPress(keyAscii(event));
    EntryEdit::keyPressEvent(event);
}

void TextBox::mouseReleaseEvent(QMouseEvent *event)
{
    EntryEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

ComboBox::ComboBox(QWidget *parent) : QComboBox(parent)
{
    // Editable through a line edit given to it, as setEditable(true) does,
    // but without what setEditable also does first: with the Fusion style it
    // builds the drop-down list for a non-editable combo box, then turns it
    // into the editable one's. Here the list is built once, for this kind.
    auto *edit = new EntryEdit(this);
    edit->setPalette(palette());
    setLineEdit(edit);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
}

void ComboBox::keyPressEvent(QKeyEvent *event)
{
    Q_EMIT keyPress(keyAscii(event));
    QComboBox::keyPressEvent(event);
}

void ComboBox::showPopup()
{
    QComboBox::showPopup();
    // The dropped-down list is a popup window of its own, which takes every
    // key, so the window's access keys never reach their buttons. Installed
    // last, this filter sees the list's keys before the combo box's own.
    view()->installEventFilter(this);
}

bool ComboBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == view() && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QKeySequence pressed(key->keyCombination());
        for (QAbstractButton *button : window()->findChildren<QAbstractButton *>()) {
            if (button->shortcut() == pressed && button->isEnabled()) {
                hidePopup();
                button->click();
                return true;
            }
        }
    }
    return QComboBox::eventFilter(watched, event);
}

bool CommandButton::event(QEvent *event)
{
    if (event->type() == QEvent::Shortcut) {
        const auto *shortcutEvent = static_cast<QShortcutEvent *>(event);
        // An ambiguous key only moves the focus, as Qt does.
        if (!shortcutEvent->isAmbiguous() && shortcutEvent->key() == shortcut()) {
            click();
            return true;
        }
    }
    return QPushButton::event(event);
}

} // namespace norvana
