#include "application.h"
#include "scorewindow.h"
#include "startupguard.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    norvana::answerCommandLine(argc, argv);
    // Where the toolkit cannot open the window, the program ends in one line.
    norvana::StartupGuard guard;
    QApplication app(argc, argv);
    norvana::setUpApplication();
    norvana::ScoreWindow window;
    window.show();
    guard.finish();
    return QApplication::exec();
}
