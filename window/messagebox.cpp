#include "messagebox.h"

namespace norvana {

void showMessage(QWidget *parent, const QString &prompt, QMessageBox::Icon icon)
{
    QMessageBox box(icon, QString::fromUtf16(kMessageTitle), prompt, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace norvana
