#pragma once

#include "formdefinition.h"
#include "scoreform.h"

#include <QMainWindow>
#include <QPointer>

class QAction;

namespace norvana {

class EntryEdit;

// The program's only window: the three entries, the score, the two
// explanatory sentences, the three buttons and the menu item "?".
class ScoreWindow : public QMainWindow, private FormControls
{
    Q_OBJECT
public:
    explicit ScoreWindow(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void connectHandlers();
    // Wraps a handler so that it does not run while a message box is open:
    // it could open a second one.
    template <typename... Args>
    auto unlessBoxOpen(void (ScoreWindow::*method)(Args...));

    void onPctEntered();
    void onCrpEntered();
    void onDipstickEntered();
    void onPctClicked();
    void onCrpClicked();
    void onCalculateClicked();
    void onResetClicked();
    void onQuitClicked();
    void onAboutTriggered();
    void onEntryChanged();
    void onCopyResult();

    // FormControls
    QString text(Entry entry) const override;
    bool showsWholeText(Entry entry) const override;
    void selectAll(Entry entry) override;
    void setFocus(Control control) override;
    void setScore(const QString &caption, const QString &breakdown) override;
    void warn(Refusal refusal, Entry entry, const QString &number) override;

    EntryEdit *lineEdit(Entry entry) const;
    // Ends what Ctrl+Z can undo in every entry.
    void forgetEntriesHistory();

    FormWidgets m_controls;
    QAction *m_about = nullptr;
    QAction *m_copyResult = nullptr;
    // The control that last had the focus, to which it returns from the
    // menu bar.
    QPointer<QWidget> m_lastControl;

    ScoreForm m_form{*this};
};

} // namespace norvana
