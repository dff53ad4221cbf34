#pragma once

#include <string>

namespace norvana {

// Why the window could not be opened, before the toolkit tries and aborts:
// empty when a platform is chosen explicitly (QT_QPA_PLATFORM or
// -platform NAME, trusted as given) or when a display answers, that is an X
// server at DISPLAY or a Wayland compositor at WAYLAND_DISPLAY; otherwise
// one line that says what is missing and what to do. On systems without X11
// and Wayland it is always empty.
std::string displayProblem(int argc, char *argv[]);

} // namespace norvana
