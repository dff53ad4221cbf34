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
        scripts/install-deps.sh tools
        break
    fi
done
cmake --build build/test --target tst_xkeys -j"$(nproc)" >/dev/null
test=$root/build/test/tests/window/tst_xkeys

pids=()
work=$(mktemp -d)
stop() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
    pids=()
}
trap 'stop; rm -rf "$work"' EXIT

# A virtual screen on the first free display.
start_x() {
    : >"$work/display"
    exec 3>"$work/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    pids+=($!)
    exec 3>&-
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    [ -s "$work/display" ] || { cat "$work/xvfb.log" >&2; echo "error: Xvfb did not start" >&2; exit 1; }
    export DISPLAY=:$(tr -d '\n' <"$work/display")
}

status=0
for wm in none openbox; do
    echo "== window manager: $wm"
    start_x
    if [ "$wm" = openbox ]; then
        openbox --sm-disable >"$work/openbox.log" 2>&1 &
        pids+=($!)
        for _ in $(seq 100); do
            xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
            sleep 0.1
        done
    fi
    env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$test" "$@" || status=1
    stop
done
exit $status
