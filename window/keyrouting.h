#pragma once

class QWidget;

namespace norvana {

// From now on every key the window system reports goes, as Qt delivers it,
// to the window that takes the keyboard at that moment: the window it was
// typed in while that window is shown and not blocked by a message box;
// otherwise the open message box, or else `window`. Keys typed right behind
// one that closes the dipstick's list or a message box, or opens a box, thus
// land in their turn where the focus is once that key has acted, instead of
// being delivered to a window that no longer takes them or dropped. Ends
// with `window`.
void routeKeys(QWidget *window);

} // namespace norvana
