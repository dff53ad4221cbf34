#pragma once

namespace norvana {

// Gives the application its name and version, and its style.
void setUpApplication();

} // namespace norvana
