#include "entrycontrols.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextLayout>

namespace norvana {

namespace {

bool isEnter(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

} // namespace

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

bool EntryEdit::showsWholeText() const
{
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &panel, this)
                               .marginsRemoved(textMargins());
    // Laid out in one line, as the line edit lays out what it displays:
    // trailing blanks take their width, line ends show as blanks.
    QTextLayout layout(displayText(), font());
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    // The line edit keeps a margin of 2 pixels at either side and scrolls
    // once the text and the cursor's pixel do not fit between them.
    constexpr int kHorizontalMargin = 2;
    return qRound(line.naturalTextWidth()) + 1 <= contents.width() - 2 * kHorizontalMargin;
}

void EntryEdit::keyPressEvent(QKeyEvent *event)
{
    // Ctrl+Alt is AltGr on Windows, which types characters.
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (modifiers.testFlag(Qt::AltModifier) && !modifiers.testFlag(Qt::ControlModifier)
        && !event->text().isEmpty()) {
        event->ignore();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

ValueEdit::ValueEdit(QWidget *parent) : EntryEdit(parent)
{
    // The text may use the whole width inside the frame: a line edit keeps
    // 2 pixels free at either side, so that "500 pg/mL" would scroll in a
    // box that has room for it.
    setTextMargins(-2, 0, -2, 0);
}

void ValueEdit::paintEvent(QPaintEvent *event)
{
    EntryEdit::paintEvent(event);
    // A text too long for the box scrolls over the frame, which the margins
    // leave unclipped; the frame goes back on top of it.
    if (!text().isEmpty() && !showsWholeText()) {
        QPainter painter(this);
        QStyleOptionFrame panel;
        initStyleOption(&panel);
        style()->drawPrimitive(QStyle::PE_FrameLineEdit, &panel, &painter, this);
    }
}

void ValueEdit::keyPressEvent(QKeyEvent *event)
{
    if (isEnter(event))
        Q_EMIT enterPressed();
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.trimmed().isEmpty() && !text().isEmpty()
        && selectedText() == text()) {
        event->accept();
        return;
    }
    EntryEdit::keyPressEvent(event);
}

void ValueEdit::mouseReleaseEvent(QMouseEvent *event)
{
    EntryEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

EntryComboBox::EntryComboBox(QWidget *parent) : QComboBox(parent)
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
    // Not Qt's WheelFocus: a wheel turned over the window must not take
    // the focus here and change the item.
    setFocusPolicy(Qt::StrongFocus);
}

void EntryComboBox::keyPressEvent(QKeyEvent *event)
{
    if (isEnter(event))
        Q_EMIT enterPressed();
    QComboBox::keyPressEvent(event);
}

void EntryComboBox::wheelEvent(QWheelEvent *event)
{
    if (hasFocus())
        QComboBox::wheelEvent(event);
    else
        event->ignore();
}

void EntryComboBox::showPopup()
{
    QComboBox::showPopup();
    // The dropped-down list is a popup window of its own, which takes every
    // key, so the window's access keys never reach their buttons. Installed
    // last, this filter sees the list's keys before the combo box's own.
    view()->installEventFilter(this);
}

bool EntryComboBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == view() && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QKeySequence pressed(key->keyCombination());
        for (AccessKeyButton *button : window()->findChildren<AccessKeyButton *>()) {
            if (button->isAccessKey(pressed) && button->isEnabled()) {
                hidePopup();
                button->click();
                return true;
            }
        }
    }
    return QComboBox::eventFilter(watched, event);
}

AccessKeyButton::AccessKeyButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
{
    if (!shortcut().isEmpty()) {
        const QKeyCombination key = shortcut()[0];
        grabShortcut(QKeyCombination(key.keyboardModifiers() | Qt::ShiftModifier, key.key()));
    }
}

bool AccessKeyButton::isAccessKey(const QKeySequence &keys) const
{
    if (keys.count() != 1 || shortcut().isEmpty())
        return false;
    const QKeyCombination pressed = keys[0];
    return QKeyCombination(pressed.keyboardModifiers() & ~Qt::ShiftModifier, pressed.key())
        == shortcut()[0];
}

bool AccessKeyButton::event(QEvent *event)
{
    if (event->type() == QEvent::Shortcut) {
        const auto *shortcutEvent = static_cast<QShortcutEvent *>(event);
        // An ambiguous key only moves the focus, as Qt does.
        if (!shortcutEvent->isAmbiguous() && isAccessKey(shortcutEvent->key())) {
            click();
            return true;
        }
    }
    return QPushButton::event(event);
}

} // namespace norvana
