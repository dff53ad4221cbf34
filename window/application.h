#pragma once

namespace norvana {

// Answers --help and --version on standard output, with no display needed,
// and ends the program there. Any other argument is left to the toolkit
// (-style, -platform, -display...) or ignored.
void answerCommandLine(int argc, char *argv[]);

// Gives the application its name and version, its style, and Qt's own
// texts in Italian; on Windows it ends with the session (sessionend.h).
void setUpApplication();

} // namespace norvana
