#!/usr/bin/env bash
# Makes docs/screenshot.png: builds Norvana, runs the real program on a
# virtual X server (Xvfb) with a small window manager (openbox) so the title
# bar and its icon show, types PCT 1.2 and CRP 45, keeps "Negativo", presses
# Calcola, and captures the window with its frame.
#   scripts/screenshot.sh [OUTPUT.png]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${1:-$root/docs/screenshot.png}
cd "$root"

for tool in Xvfb xdotool openbox import xwininfo xprop; do
    if ! command -v "$tool" >/dev/null; then
        scripts/install-deps.sh display tools
        break
    fi
done
scripts/install-deps.sh build run

build=$root/build/screenshot
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target norvana -j"$(nproc)"

work=$(mktemp -d)
source scripts/virtual-display.sh
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    stop_x
    rm -rf "$work"
}
trap cleanup EXIT
start_x 640x400
start_window_manager

"$build/window/norvana" >"$work/norvana.log" 2>&1 &
pids+=($!)
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Norvana$' | head -1)
[ -n "$window" ] || { cat "$work/norvana.log" >&2; echo "error: no Norvana window" >&2; exit 1; }
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
sleep 0.5

# As a user would: the focus starts in PCT; Enter takes each value and moves
# on (PCT, CRP, the dipstick, then Calcola); the space bar presses Calcola.
xdotool type --delay 50 '1.2'
xdotool key Return
xdotool type --delay 50 '45'
xdotool key Return
xdotool key Return
sleep 0.2
xdotool key space
sleep 0.5

# The frame the window manager put around the window: its top-level parent.
frame=$window
rootid=$(xwininfo -root | awk '/Window id:/ {print $4}')
while :; do
    parent=$(xwininfo -children -id "$frame" | awk '/Parent window id:/ {print $4}')
    [ "$parent" = "$rootid" ] && break
    frame=$parent
done

mkdir -p "$(dirname "$out")"
import -window "$frame" -strip -define png:exclude-chunks=date,time "png:$out"
echo "wrote $out ($(identify -format '%wx%h' "$out"))"
