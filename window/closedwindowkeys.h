#pragma once

class QWidget;

namespace norvana {

// Keys typed right behind the one that closes a message box are addressed by
// the X server to the box's window. When Qt reads them only after the box has
// closed, it has destroyed that window with the box, and its X11 plugin drops
// them before any key reaches the application. From now on such keys are
// readdressed to `window`, and routed as every key is (keyrouting.h). Does
// nothing but on X11; ends with `window`.
void passOnKeysOfClosedWindows(QWidget *window);

} // namespace norvana
