#include "form1.h"

#include "appicon.h"
#include "controlfactory.h"
#include "entrycontrols.h"
#include "messagebox.h"
#include "texts.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>

namespace norvana {

namespace {

constexpr int kEnter = 13;

} // namespace

Form1::Form1(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf16(kWindowCaption));
    setWindowIcon(appIcon());

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(twipsToPixels(kClientTwips.width()), twipsToPixels(kClientTwips.height()));
    QPalette palette = client->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(kWindowBackColor));
    client->setPalette(palette);
    client->setAutoFillBackground(true);
    setCentralWidget(client);
    // The window keeps the size of its menu bar and client area.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    const FormWidgets controls = createControls(client);
    txtPCT = controls.txtPCT;
    txtCRP = controls.txtCRP;
    cmbDipUrine = controls.cmbDipUrine;
    cmdCalcola = controls.cmdCalcola;
    cmdReset = controls.cmdReset;
    cmdFine = controls.cmdFine;
    lblScore = controls.lblScore;
    lblSBI = controls.lblSBI;
    lblSBI2 = controls.lblSBI2;

    Info = menuBar()->addAction(QString::fromUtf16(kInfoCaption));
    Info->setObjectName(QStringLiteral("Info"));

    // Anywhere in the window, and from the score's context menu.
    m_copyResult = new QAction(QString::fromUtf16(kCopyResultCaption), this);
    m_copyResult->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    m_copyResult->setShortcutVisibleInContextMenu(true);
    addAction(m_copyResult);
    lblScore->addAction(m_copyResult);
    lblScore->setContextMenuPolicy(Qt::ActionsContextMenu);

    Form_Load();
    connectHandlers();
    txtPCT->setFocus(Qt::OtherFocusReason);
}

void Form1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // The keyboard belongs to the window from the start, also where no
    // window manager hands it over, as in a kiosk session.
    activateWindow();
}

template <typename... Args>
auto Form1::handler(void (Form1::*method)(Args...))
{
    return [this, method](Args... args) {
        if (!QApplication::activeModalWidget())
            (this->*method)(args...);
    };
}

void Form1::connectHandlers()
{
    connect(txtPCT, &TextBox::keyPress, this, handler(&Form1::txtPCT_KeyPress));
    connect(txtCRP, &TextBox::keyPress, this, handler(&Form1::txtCRP_KeyPress));
    connect(cmbDipUrine, &ComboBox::keyPress, this, handler(&Form1::cmbDipUrine_KeyPress));
    connect(txtPCT, &TextBox::clicked, this, handler(&Form1::txtPCT_Click));
    connect(txtCRP, &TextBox::clicked, this, handler(&Form1::txtCRP_Click));
    connect(cmdCalcola, &CommandButton::clicked, this, handler(&Form1::cmdCalcola_Click));
    connect(cmdReset, &CommandButton::clicked, this, handler(&Form1::cmdReset_Click));
    connect(cmdFine, &CommandButton::clicked, this, handler(&Form1::cmdFine_Click));
    connect(Info, &QAction::triggered, this, handler(&Form1::Info_Click));
    connect(m_copyResult, &QAction::triggered, this, &Form1::onCopyResult);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now && centralWidget()->isAncestorOf(now))
            m_lastControl = now;
    });
    // A change clears the score at once, even while a box is open: it may
    // come from a screen reader or dictation tool, which a modal box does
    // not block, and no score may stand beside values it does not belong to.
    connect(txtPCT, &QLineEdit::textChanged, this, &Form1::entry_Change);
    connect(txtCRP, &QLineEdit::textChanged, this, &Form1::entry_Change);
    connect(cmbDipUrine, &QComboBox::editTextChanged, this, &Form1::entry_Change);
}

void Form1::Form_Load()
{
    lblSBI->setText(QString::fromUtf16(kSbiCaption));
    lblSBI2->setText(QString::fromUtf16(kSbi2Caption));
    cmbDipUrine->addItem(QString::fromUtf16(kDipNegativo));
    cmbDipUrine->addItem(QString::fromUtf16(kDipPositivo));
    cmbDipUrine->setCurrentIndex(0);
}

void Form1::txtPCT_KeyPress(int keyAscii)
{
    if (keyAscii == kEnter)
        m_form.acceptPct();
}

void Form1::txtCRP_KeyPress(int keyAscii)
{
    if (keyAscii == kEnter)
        m_form.acceptCrp();
}

void Form1::cmbDipUrine_KeyPress(int keyAscii)
{
    if (keyAscii == kEnter)
        m_form.acceptDipstick();
}

void Form1::txtPCT_Click()
{
    selectAll(Entry::Pct);
    m_form.clearScore();
}

void Form1::txtCRP_Click()
{
    selectAll(Entry::Crp);
    m_form.clearScore();
}

void Form1::cmdCalcola_Click()
{
    // A calculation commits the entries: Ctrl+Z undoes what was typed since
    // the last one. Without this the boxes' undo history would grow with
    // every value typed in a long session.
    forgetUndoHistory(txtPCT);
    forgetUndoHistory(txtCRP);
    forgetUndoHistory(cmbDipUrine->lineEdit());
    m_form.calculate();
}

void Form1::cmdReset_Click()
{
    m_form.clearScore();
    txtPCT->clear();
    txtCRP->clear();
    cmbDipUrine->setCurrentIndex(0);
    // A new patient: Ctrl+Z must not bring back the previous one's values.
    forgetUndoHistory(txtPCT);
    forgetUndoHistory(txtCRP);
    forgetUndoHistory(cmbDipUrine->lineEdit());
    setFocus(Control::Pct);
}

void Form1::cmdFine_Click()
{
    QCoreApplication::exit(0);
}

void Form1::Info_Click()
{
    showMessage(this, QString::fromUtf16(kAboutText), QMessageBox::NoIcon);
    // Chosen from the keyboard, "?" leaves the focus in the menu bar, which
    // gives it back only while the window is active; after the box the
    // window is activated anew, so the control gets it back here.
    if (focusWidget() == menuBar() && m_lastControl)
        m_lastControl->setFocus(Qt::MenuBarFocusReason);
}

void Form1::entry_Change()
{
    m_form.clearScore();
}

void Form1::onCopyResult()
{
    const QString line = m_form.summaryLine(
        QString::fromUtf16(kWindowCaption) + u' ' + QStringLiteral(NORVANA_VERSION_TEXT),
        QDateTime::currentDateTime());
    if (line.isEmpty())
        QApplication::beep();
    else
        QGuiApplication::clipboard()->setText(line);
}

EntryEdit *Form1::lineEdit(Entry entry) const
{
    switch (entry) {
    case Entry::Pct:
        return txtPCT;
    case Entry::Crp:
        return txtCRP;
    case Entry::Dipstick:
        break;
    }
    return static_cast<EntryEdit *>(cmbDipUrine->lineEdit());
}

QString Form1::text(Entry entry) const
{
    return lineEdit(entry)->text();
}

bool Form1::showsWholeText(Entry entry) const
{
    return lineEdit(entry)->showsWholeText();
}

void Form1::selectAll(Entry entry)
{
    lineEdit(entry)->selectAll();
}

void Form1::setFocus(Control id)
{
    // An entry that the program moves into has its text selected, so that
    // typing replaces the old value instead of adding to it.
    switch (id) {
    case Control::Pct:
    case Control::Crp: {
        const Entry entry = id == Control::Pct ? Entry::Pct : Entry::Crp;
        lineEdit(entry)->setFocus(Qt::OtherFocusReason);
        selectAll(entry);
        break;
    }
    case Control::Dipstick:
        cmbDipUrine->setFocus(Qt::OtherFocusReason);
        selectAll(Entry::Dipstick);
        break;
    case Control::Calculate:
        cmdCalcola->setFocus(Qt::OtherFocusReason);
        break;
    }
}

void Form1::setScore(const QString &caption, const QString &breakdown)
{
    lblScore->setText(caption);
    // A screen reader announces the score as "Punteggio" and its breakdown,
    // which begins with the score.
    lblScore->setToolTip(breakdown);
    lblScore->setAccessibleDescription(breakdown);
}

void Form1::warn(Refusal refusal, Entry entry)
{
    showMessage(this, QString::fromUtf16(refusalText(refusal, entry)), QMessageBox::Warning);
}

} // namespace norvana
