#pragma once

namespace norvana {

// Holds the toolkit's messages back while the application object is built and the window
// first shown, until finish(); where the toolkit cannot open the window (no display, no
// platform plugin...), says why in one line on standard error and exits with status 1;
// where it crashes meanwhile, says so in one line before the crash ends the program.
class StartupGuard
{
public:
    StartupGuard();
    StartupGuard(const StartupGuard &) = delete;
    StartupGuard &operator=(const StartupGuard &) = delete;

    void finish();
};

} // namespace norvana
