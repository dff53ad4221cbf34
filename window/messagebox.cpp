#include "messagebox.h"

#include "texts.h"

#include <QAbstractButton>

#include <memory>

namespace norvana {

void showMessage(QWidget *parent, const QString &prompt, QMessageBox::Icon icon)
{
    // A window keeps its box, hidden between uses: keys typed right behind
    // the one that closes it were sent to the box's window and reach it
    // after it has closed (ScoreWindow passes them on to its focus), which
    // they could not once it was destroyed. A box opened while that one is
    // open is a box of its own.
    const QString name = QStringLiteral("norvana_message");
    QMessageBox *kept = parent ? parent->findChild<QMessageBox *>(name, Qt::FindDirectChildrenOnly)
                               : nullptr;
    std::unique_ptr<QMessageBox> temporary;
    QMessageBox *box = kept;
    if (!kept || kept->isVisible()) {
        temporary = std::make_unique<QMessageBox>(icon, QString::fromUtf16(kMessageTitle), QString(),
                                                  QMessageBox::Ok, parent);
        temporary->setTextFormat(Qt::PlainText);
        box = temporary.get();
        if (parent && !kept) {
            box->setObjectName(name);
            temporary.release(); // owned by the parent
        }
        // The keyboard goes back to the window before the box closes, so
        // that no key typed meanwhile goes where neither has it.
        if (parent)
            QObject::connect(box, &QMessageBox::buttonClicked, parent, [parent] { parent->activateWindow(); });
    }
    box->setIcon(icon);
    box->setText(prompt);
    box->exec();
    // The keyboard goes back to the window, where the caller moves the
    // focus next; without a window manager nobody else gives it back.
    if (parent)
        parent->activateWindow();
}

} // namespace norvana
