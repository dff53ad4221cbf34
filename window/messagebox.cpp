#include "messagebox.h"

#include "texts.h"

#include <QAbstractButton>

namespace norvana {

void showMessage(QWidget *parent, const QString &prompt, QMessageBox::Icon icon,
                 const std::function<void()> &closing)
{
    QMessageBox box(icon, QString::fromUtf16(kMessageTitle), prompt, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    // The keyboard goes back to the window before the box closes, so that no
    // key typed meanwhile goes where neither has it.
    if (parent)
        QObject::connect(&box, &QMessageBox::buttonClicked, parent, [parent] { parent->activateWindow(); });
    if (closing)
        QObject::connect(&box, &QDialog::finished, &box, closing);
    box.exec();
    // The keyboard goes back to the window; without a window manager nobody
    // else gives it back.
    if (parent)
        parent->activateWindow();
}

} // namespace norvana
