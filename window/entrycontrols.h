#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace norvana {

// Forgets a line edit's undo history, keeping its text, cursor and
// selection, and without reporting a change of text.
void forgetUndoHistory(QLineEdit *edit);

// The text field of an entry: a line edit that keeps the selection of the
// field that has, or is about to get, the focus while its window passes the
// activation back and forth, and that Alt with a character never types into:
// such a key is meant for a button.
class EntryEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit EntryEdit(QWidget *parent = nullptr) : QLineEdit(parent) {}

    // Whether the field shows its whole text, blanks included, without
    // scrolling, at its current font and size.
    bool showsWholeText() const;

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

// A value box: a single-line edit that reports Enter before it takes the key, and a
// click after it has placed the cursor for it. A blank typed over its
// whole selected text does nothing: blanks around a value are ignored anyway,
// so it is a key meant for a button that the focus has just left.
class ValueEdit : public EntryEdit
{
    Q_OBJECT
public:
    explicit ValueEdit(QWidget *parent = nullptr);

Q_SIGNALS:
    void enterPressed();
    void clicked();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};

// An editable combo box whose typed text stays exactly as typed: no
// completion, and Enter adds nothing to the list. It reports Enter before it
// takes the key. While its list is dropped down, a button's
// access key closes the list and presses the button. The mouse wheel
// changes its item only while it has the focus.
class EntryComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit EntryComboBox(QWidget *parent = nullptr);

    void showPopup() override;

Q_SIGNALS:
    void enterPressed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// A push button whose access key presses it at once, as Enter or Space
// on the focused button does. Qt animates an access key's press and clicks
// 100 ms later, so keys typed right after it would land before the click
// and be cleared or moved by it. With Shift held the access key works too,
// as it does on Windows.
class AccessKeyButton : public QPushButton
{
    Q_OBJECT
public:
    explicit AccessKeyButton(const QString &caption, QWidget *parent = nullptr);

    // Whether the keys are this button's access key, with or without Shift.
    bool isAccessKey(const QKeySequence &keys) const;

protected:
    bool event(QEvent *event) override;
};

} // namespace norvana
