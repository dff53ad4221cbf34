#pragma once

namespace norvana {

// Gives the application its name and version.
void describeApplication();

} // namespace norvana
