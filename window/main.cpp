#include "application.h"
#include "form1.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    norvana::describeApplication();
    norvana::Form1 window;
    window.show();
    return QApplication::exec();
}
