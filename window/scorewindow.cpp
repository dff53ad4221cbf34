#include "scorewindow.h"

#include "appicon.h"
#include "controlfactory.h"
#include "entrycontrols.h"
#include "keyrouting.h"
#include "messagebox.h"
#include "texts.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QToolTip>

#include <functional>

namespace norvana {

namespace {

// Hides the tooltip at once when it shows `text`. QToolTip::hideText()
// leaves it on screen 300 ms more before Qt closes and deletes its label;
// closing the label now hides it at once, and Qt still deletes it then.
void hideToolTipShowing(const QString &text)
{
    if (text.isEmpty() || !QToolTip::isVisible() || QToolTip::text() != text)
        return;
    QToolTip::hideText();
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->inherits("QLabel") && window->windowType() == Qt::ToolTip)
            window->close();
    }
}

} // namespace

ScoreWindow::ScoreWindow(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf16(kWindowCaption));
    setWindowIcon(appIcon());

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(kClientSize);
    QPalette palette = client->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(kWindowBackColor));
    client->setPalette(palette);
    client->setAutoFillBackground(true);
    setCentralWidget(client);
    // The window keeps the size of its menu bar and client area.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    m_controls = createControls(client);
    m_controls.dipstickCombo->addItem(QString::fromUtf16(kNegativeItem));
    m_controls.dipstickCombo->addItem(QString::fromUtf16(kPositiveItem));
    m_controls.dipstickCombo->setCurrentIndex(0);

    m_about = menuBar()->addAction(QString::fromUtf16(kInfoCaption));
    m_about->setObjectName(QStringLiteral("Info"));

    // Anywhere in the window, and from the score's context menu.
    m_copyResult = new QAction(QString::fromUtf16(kCopyResultCaption), this);
    m_copyResult->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    m_copyResult->setShortcutVisibleInContextMenu(true);
    addAction(m_copyResult);
    m_controls.scoreLabel->addAction(m_copyResult);
    m_controls.scoreLabel->setContextMenuPolicy(Qt::ActionsContextMenu);

    connectHandlers();
    m_controls.pctEdit->setFocus(Qt::OtherFocusReason);
    routeKeys(this);
}

void ScoreWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // The keyboard belongs to the window from the start, also where no
    // window manager hands it over, as in a kiosk session.
    activateWindow();
}

template <typename Handler>
auto ScoreWindow::unlessBoxOpen(Handler handler)
{
    return [this, handler] {
        if (!QApplication::activeModalWidget())
            std::invoke(handler, this);
    };
}

void ScoreWindow::connectHandlers()
{
    const FormWidgets &c = m_controls;
    const auto on = [this](void (ScoreWindow::*handler)(Entry), Entry entry) {
        return unlessBoxOpen([handler, entry](ScoreWindow *window) { (window->*handler)(entry); });
    };
    connect(c.pctEdit, &ValueEdit::enterPressed, this, on(&ScoreWindow::onEntered, Entry::Pct));
    connect(c.crpEdit, &ValueEdit::enterPressed, this, on(&ScoreWindow::onEntered, Entry::Crp));
    connect(c.dipstickCombo, &EntryComboBox::enterPressed, this,
            on(&ScoreWindow::onEntered, Entry::Dipstick));
    connect(c.pctEdit, &ValueEdit::clicked, this, on(&ScoreWindow::onValueClicked, Entry::Pct));
    connect(c.crpEdit, &ValueEdit::clicked, this, on(&ScoreWindow::onValueClicked, Entry::Crp));
    connect(c.calculateButton, &AccessKeyButton::clicked, this,
            unlessBoxOpen(&ScoreWindow::onCalculateClicked));
    connect(c.resetButton, &AccessKeyButton::clicked, this,
            unlessBoxOpen(&ScoreWindow::onResetClicked));
    connect(c.quitButton, &AccessKeyButton::clicked, this, unlessBoxOpen(&ScoreWindow::onQuitClicked));
    connect(m_about, &QAction::triggered, this, unlessBoxOpen(&ScoreWindow::onAboutTriggered));
    connect(m_copyResult, &QAction::triggered, this, &ScoreWindow::onCopyResult);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now && centralWidget()->isAncestorOf(now))
            m_lastControl = now;
    });
    // A change clears the score at once, even while a box is open: it may
    // come from a screen reader or dictation tool, which a modal box does
    // not block, and no score may stand beside values it does not belong to.
    connect(c.pctEdit, &QLineEdit::textChanged, this, &ScoreWindow::onEntryChanged);
    connect(c.crpEdit, &QLineEdit::textChanged, this, &ScoreWindow::onEntryChanged);
    connect(c.dipstickCombo, &QComboBox::editTextChanged, this, &ScoreWindow::onEntryChanged);
}

void ScoreWindow::onEntered(Entry entry)
{
    playOut(accept(entry, entries()[size_t(entry)]));
}

void ScoreWindow::onValueClicked(Entry entry)
{
    lineEdit(entry)->selectAll();
    showScore(std::nullopt);
}

void ScoreWindow::onCalculateClicked()
{
    // A calculation commits the entries: Ctrl+Z undoes what was typed since
    // the last one. Without this the boxes' undo history would grow with
    // every value typed in a long session.
    forgetEntriesHistory();
    playOut(calculate(entries()));
}

void ScoreWindow::onResetClicked()
{
    showScore(std::nullopt);
    m_controls.pctEdit->clear();
    m_controls.crpEdit->clear();
    m_controls.dipstickCombo->setCurrentIndex(0);
    // A new patient: Ctrl+Z must not bring back the previous one's values.
    forgetEntriesHistory();
    moveFocus(Control::Pct);
}

void ScoreWindow::forgetEntriesHistory()
{
    for (const Entry entry : {Entry::Pct, Entry::Crp, Entry::Dipstick})
        forgetUndoHistory(lineEdit(entry));
}

void ScoreWindow::onQuitClicked()
{
    QCoreApplication::exit(0);
}

void ScoreWindow::onAboutTriggered()
{
    // Chosen from the keyboard, "?" leaves the focus in the menu bar, which
    // gives it back only while the window is active; the box has taken the
    // activation, so the control gets it back here as the box closes.
    showMessage(this, QString::fromUtf16(kAboutText), QMessageBox::NoIcon, [this] {
        if (focusWidget() == menuBar() && m_lastControl)
            m_lastControl->setFocus(Qt::MenuBarFocusReason);
    });
}

void ScoreWindow::onEntryChanged()
{
    showScore(std::nullopt);
}

void ScoreWindow::onCopyResult()
{
    if (!m_score) {
        QApplication::beep();
        return;
    }
    QGuiApplication::clipboard()->setText(m_score->summaryLine(
        QString::fromUtf16(kWindowCaption) + u' ' + QStringLiteral(NORVANA_VERSION_TEXT),
        QDateTime::currentDateTime()));
}

EntryEdit *ScoreWindow::lineEdit(Entry entry) const
{
    switch (entry) {
    case Entry::Pct:
        return m_controls.pctEdit;
    case Entry::Crp:
        return m_controls.crpEdit;
    case Entry::Dipstick:
        break;
    }
    return static_cast<EntryEdit *>(m_controls.dipstickCombo->lineEdit());
}

Entries ScoreWindow::entries() const
{
    Entries shown;
    for (const Entry entry : {Entry::Pct, Entry::Crp, Entry::Dipstick})
        shown[size_t(entry)] = {lineEdit(entry)->text(), lineEdit(entry)->showsWholeText()};
    return shown;
}

void ScoreWindow::playOut(const Outcome &outcome)
{
    // A score comes only without warnings; with them, the score from before
    // goes before the first box opens.
    if (!outcome.keepsScore())
        showScore(outcome.score);
    if (outcome.warnings.isEmpty())
        moveFocus(outcome.focus);
    else
        showWarning(outcome, 0, entryTexts());
}

void ScoreWindow::showWarning(const Outcome &outcome, qsizetype index, const QStringList &shown)
{
    // The next warning opens as this one closes, before any key typed behind
    // the key that closes it is delivered: those keys go to that box, which
    // has the keyboard once the key in front has acted. The last box moves
    // the focus as it closes, ahead of the keys typed behind it, to where the
    // outcome leaves it. A screen reader or dictation tool may change an
    // entry while a box is open: the outcome then belongs to texts no longer
    // shown, and the focus stays.
    showMessage(this, refusalText(outcome.warnings[index]), QMessageBox::Warning, [this, outcome, index, shown] {
        if (index + 1 < outcome.warnings.size())
            showWarning(outcome, index + 1, shown);
        else if (entryTexts() == shown)
            moveFocus(outcome.focus);
    });
}

QStringList ScoreWindow::entryTexts() const
{
    QStringList texts;
    for (const EntryText &entry : entries())
        texts << entry.text;
    return texts;
}

void ScoreWindow::moveFocus(Control id)
{
    if (id == Control::Calculate) {
        m_controls.calculateButton->setFocus(Qt::OtherFocusReason);
        return;
    }
    const Entry entry = Entry(int(id));
    QWidget *box = entry == Entry::Dipstick ? static_cast<QWidget *>(m_controls.dipstickCombo)
                                            : lineEdit(entry);
    box->setFocus(Qt::OtherFocusReason);
    lineEdit(entry)->selectAll();
}

void ScoreWindow::showScore(const std::optional<ScoreBreakdown> &score)
{
    const QString breakdown = score ? score->text() : QString();
    // Nothing of a score that is gone stays in sight, not even its
    // breakdown in a tooltip under a pointer that has not moved.
    if (breakdown != m_controls.scoreLabel->toolTip())
        hideToolTipShowing(m_controls.scoreLabel->toolTip());
    m_score = score;
    m_controls.scoreLabel->setText(score ? scoreText(score->total()) : QString());
    // A screen reader announces the score as "Punteggio" and its breakdown,
    // which begins with the score.
    m_controls.scoreLabel->setToolTip(breakdown);
    m_controls.scoreLabel->setAccessibleDescription(breakdown);
}

} // namespace norvana
