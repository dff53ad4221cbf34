#include "application.h"
#include "fontwarmup.h"
#include "form1.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    if (const std::optional<int> status = norvana::runBeforeWindow(argc, argv))
        return *status;
    // Loading the font configuration overlaps the toolkit's own start.
    norvana::FontConfigWarmup fontWarmup;
    QApplication app(argc, argv);
    fontWarmup.finish();
    norvana::setUpApplication();
    norvana::Form1 window;
    window.show();
    return QApplication::exec();
}
