#include "application.h"
#include "fontwarmup.h"
#include "scorewindow.h"
#include "startupguard.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    norvana::answerCommandLine(argc, argv);
    // Loading the font configuration overlaps the toolkit's own start.
    norvana::FontConfigWarmup fontWarmup;
    // Where the toolkit cannot open the window, the program ends in one line.
    norvana::StartupGuard guard;
    QApplication app(argc, argv);
    fontWarmup.finish();
    norvana::setUpApplication();
    norvana::ScoreWindow window;
    window.show();
    guard.finish();
    return QApplication::exec();
}
