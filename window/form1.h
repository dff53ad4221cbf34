#pragma once

#include "scoreform.h"

#include <QMainWindow>
#include <QPointer>

class QAction;
class QLabel;

namespace norvana {

class ComboBox;
class CommandButton;
class EntryEdit;
class TextBox;

// The program's only window: the three entries, the score, the two
// explanatory sentences, the three buttons and the menu item "?".
class Form1 : public QMainWindow, private FormControls
{
    Q_OBJECT
public:
    explicit Form1(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Event handlers, named after their control and event.
    void Form_Load();
    void txtPCT_KeyPress(int keyAscii);
    void txtCRP_KeyPress(int keyAscii);
    void cmbDipUrine_KeyPress(int keyAscii);
    void txtPCT_Click();
    void txtCRP_Click();
    void cmdCalcola_Click();
    void cmdReset_Click();
    void cmdFine_Click();
    void Info_Click();
    void entry_Change();
    void onCopyResult();

    void connectHandlers();
    // Wraps a handler so that it does not run while a message box is open:
    // it could open a second one.
    template <typename... Args>
    auto handler(void (Form1::*method)(Args...));

    // FormControls
    QString text(Entry entry) const override;
    bool showsWholeText(Entry entry) const override;
    void selectAll(Entry entry) override;
    void setFocus(Control control) override;
    void setScore(const QString &caption, const QString &breakdown) override;
    void warn(Refusal refusal, Entry entry) override;

    EntryEdit *lineEdit(Entry entry) const;

    TextBox *txtPCT = nullptr;
    TextBox *txtCRP = nullptr;
    ComboBox *cmbDipUrine = nullptr;
    CommandButton *cmdCalcola = nullptr;
    CommandButton *cmdReset = nullptr;
    CommandButton *cmdFine = nullptr;
    QLabel *lblScore = nullptr;
    QLabel *lblSBI = nullptr;
    QLabel *lblSBI2 = nullptr;
    QAction *Info = nullptr;
    QAction *m_copyResult = nullptr;
    // The control that last had the focus, to which it returns from the
    // menu bar.
    QPointer<QWidget> m_lastControl;

    ScoreForm m_form{*this};
};

} // namespace norvana
