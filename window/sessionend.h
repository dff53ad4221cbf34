#pragma once

namespace norvana {

// Ends the program, status 0, when Windows ends the session or an installer
// (through the Restart Manager) asks it to close, so that an update never
// waits for a reboot on Norvana's account. Norvana keeps nothing, so it
// always agrees and loses nothing. Call once the application object exists.
void endWithWindowsSession();

} // namespace norvana
