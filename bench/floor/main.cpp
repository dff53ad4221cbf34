// The toolkit's floor: the cheapest window Qt can show with Norvana's title
// and client size, and nothing in it.

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Norvana"));
    window.setFixedSize(438, 264);
    window.show();
    return QApplication::exec();
}
