#pragma once

#include <optional>

namespace norvana {

// What the program does before it creates the application object: answers
// --help and --version on standard output, then checks that a display can be
// reached (displayProblem()) and, when none can, says so in one line on
// standard error. Gives the exit status when the program ends there (0 after
// an answer, 1 without a display), nothing when the window is to open. Any
// other argument is left to the toolkit (-style, -platform...) or ignored.
std::optional<int> runBeforeWindow(int argc, char *argv[]);

// Gives the application its name and version, its style, and Qt's own
// texts in Italian.
void setUpApplication();

} // namespace norvana
