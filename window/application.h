#pragma once

namespace norvana {

// Gives the application its name and version, its style, and Qt's own
// texts in Italian.
void setUpApplication();

} // namespace norvana
