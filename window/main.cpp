#include "application.h"
#include "fontwarmup.h"
#include "form1.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // Loading the font configuration overlaps the toolkit's own start.
    norvana::FontConfigWarmup fontWarmup;
    QApplication app(argc, argv);
    fontWarmup.finish();
    norvana::setUpApplication();
    norvana::Form1 window;
    window.show();
    return QApplication::exec();
}
