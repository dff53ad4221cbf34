#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

namespace norvana {

// Shows a modal message box titled "NORVANA" with a single OK button and
// returns when the user has dismissed it. Every box of the program goes
// through here.
void showMessage(QWidget *parent, const QString &prompt, QMessageBox::Icon icon);

} // namespace norvana
