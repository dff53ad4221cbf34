#include "messagebox.h"

namespace norvana {

void showMessage(QWidget *parent, const QString &prompt, QMessageBox::Icon icon)
{
    QMessageBox box(icon, QString::fromUtf16(kMessageTitle), prompt, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
    // Hand the keyboard back to the window at once, where the caller moves
    // the focus next; not every window system does this by itself.
    if (parent)
        parent->activateWindow();
}

} // namespace norvana
