#pragma once

class QWidget;

namespace norvana {

// Keys typed right behind the one that closes a message box are addressed by
// the X server to the box's window. When Qt reads them only after the box has
// closed, it has destroyed that window with the box and drops them. From now
// on, such keys go to `window` instead, where the control that has the focus
// takes them. Does nothing but on X11; ends with `window`.
void passOnKeysOfClosedWindows(QWidget *window);

} // namespace norvana
