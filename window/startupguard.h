#pragma once

namespace norvana {

// Stands guard while the application object is built and the window first
// shown: the toolkit's messages are held back until finish(), and where the
// toolkit cannot open the window (no display, no platform plugin...), the
// program says why in one line on standard error and exits with status 1.
class StartupGuard
{
public:
    StartupGuard();
    StartupGuard(const StartupGuard &) = delete;
    StartupGuard &operator=(const StartupGuard &) = delete;

    void finish();
};

} // namespace norvana
