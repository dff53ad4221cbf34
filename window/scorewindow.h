#pragma once

#include "calculation.h"
#include "formdefinition.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

class QAction;

namespace norvana {

class EntryEdit;

// The program's only window: the three entries, the score, the two
// explanatory sentences, the three buttons and the menu item "?".
class ScoreWindow : public QMainWindow
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
    template <typename Handler>
    auto unlessBoxOpen(Handler handler);

    void onEntered(Entry entry);
    void onValueClicked(Entry entry);
    void onCalculateClicked();
    void onResetClicked();
    void onQuitClicked();
    void onAboutTriggered();
    void onEntryChanged();
    void onCopyResult();

    // The entries as the window shows them.
    Entries entries() const;
    // Shows an outcome of the core: its score (or none) unless the score
    // stays, then its warnings one after the other; the focus goes where the
    // outcome leaves it unless an entry changed meanwhile.
    void playOut(const Outcome &outcome);
    // Shows warning `index` of `outcome`, then the ones after it; `shown`
    // are the entries' texts the outcome belongs to.
    void showWarning(const Outcome &outcome, qsizetype index, const QStringList &shown);
    QStringList entryTexts() const;
    void showScore(const std::optional<ScoreBreakdown> &score);
    // Moves the focus; an entry gets its whole text selected, so that typing
    // replaces the old value instead of adding to it.
    void moveFocus(Control control);

    EntryEdit *lineEdit(Entry entry) const;
    // Ends what Ctrl+Z can undo in every entry.
    void forgetEntriesHistory();

    FormWidgets m_controls;
    QAction *m_about = nullptr;
    QAction *m_copyResult = nullptr;
    // The control that last had the focus, to which it returns from the
    // menu bar.
    QPointer<QWidget> m_lastControl;
    // What the score on display is made of, for the line Ctrl+Shift+C copies.
    std::optional<ScoreBreakdown> m_score;
};

} // namespace norvana
