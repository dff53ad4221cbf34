#!/usr/bin/env bash
# Acts out the keyboard roads with real X key events (xdotool) on a virtual
# X server (Xvfb): once with no window manager, as in a kiosk session, and
# once with a small one (openbox). Needs the test build (./test.sh).
#   scripts/xkeys.sh [TEST FUNCTION[:ROW]...]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

for tool in Xvfb xdotool openbox xprop; do
    if ! command -v "$tool" >/dev/null; then
        scripts/install-deps.sh display
        break
    fi
done
cmake --build build/test --target tst_xkeys -j"$(nproc)" >/dev/null
test=$root/build/test/tests/window/tst_xkeys

work=$(mktemp -d)
source scripts/virtual-display.sh
trap 'stop_x; rm -rf "$work"' EXIT

status=0
for wm in none openbox; do
    echo "== window manager: $wm"
    start_x 1024x768
    [ "$wm" = none ] || start_window_manager
    "$test" "$@" || status=1
    stop_x
done
exit $status
