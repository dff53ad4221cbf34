#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

namespace norvana {

// Shows a modal message box titled "NORVANA" with a single OK button and
// returns when the user has dismissed it. Every box of the program goes
// through here. `closing`, if given, runs as the box closes: keys typed right
// behind the key that closes it can be delivered before this returns, and go
// where `closing` leaves the focus, or to a box it opens.
void showMessage(QWidget *parent, const QString &prompt, QMessageBox::Icon icon,
                 const std::function<void()> &closing = {});

} // namespace norvana
