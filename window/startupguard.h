#pragma once

namespace norvana {

// Stands guard while the application object is built and the window first
// shown. Whatever keeps the toolkit from opening the window (no display, one
// that does not answer, no platform plugin for the session...), the toolkit
// reports with a fatal message and would abort; instead the program prints
// one line on standard error that says what is missing and what to do, and
// exits with status 1. The toolkit's messages are held back till finish().
class StartupGuard
{
public:
    StartupGuard();
    StartupGuard(const StartupGuard &) = delete;
    StartupGuard &operator=(const StartupGuard &) = delete;

    void finish();
};

} // namespace norvana
