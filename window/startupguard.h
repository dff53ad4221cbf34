#pragma once

namespace norvana {

// Stands guard while the application object is built and the window first
// shown. Whatever keeps the toolkit from opening the window (no display, one
// that does not answer or refuses the connection, no platform plugin for the
// session...), the toolkit reports it with a fatal message and would abort;
// instead the program prints one line on standard error that says what is
// missing and what to do, and exits with status 1. Meanwhile the toolkit's
// messages, and what the libraries below it write to standard error, are
// held back: finish() passes them on.
class StartupGuard
{
public:
    StartupGuard();
    StartupGuard(const StartupGuard &) = delete;
    StartupGuard &operator=(const StartupGuard &) = delete;

    void finish();
};

} // namespace norvana
