#pragma once

namespace norvana {

// A Windows program with a window starts without standard output. Where the
// program was started from a console, its standard output and standard
// error are connected to that console, so that --help and --version answer
// there; where they are already connected (redirected to a file or a pipe),
// they stay as they are. Without a console the toolkit shows the answer in
// a message box.
void useParentConsole();

} // namespace norvana
