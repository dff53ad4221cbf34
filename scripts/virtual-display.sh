# Sourced by the scripts that run Norvana on a virtual X server: starts Xvfb
# and, when asked, a small window manager (openbox), and stops what it
# started. Sets DISPLAY; a caller gives a scratch folder in $work.
#   source scripts/virtual-display.sh
#   start_x WIDTHxHEIGHT; start_window_manager; ...; stop_x

x_pids=()

# Stops what start_x and start_window_manager started, newest first.
stop_x() {
    for ((i = ${#x_pids[@]} - 1; i >= 0; i--)); do
        kill "${x_pids[i]}" 2>/dev/null || true
        wait "${x_pids[i]}" 2>/dev/null || true
    done
    x_pids=()
}

# A virtual screen of the given size on the first free display.
start_x() {
    : >"$work/display"
    exec 3>"$work/display"
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp >"$work/xvfb.log" 2>&1 &
    x_pids+=($!)
    exec 3>&-
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    [ -s "$work/display" ] || { cat "$work/xvfb.log" >&2; echo "error: Xvfb did not start" >&2; exit 1; }
    export DISPLAY=:$(tr -d '\n' <"$work/display")
    unset WAYLAND_DISPLAY
    export QT_QPA_PLATFORM=xcb
}

# The window manager, ready once it has announced itself on the root window.
start_window_manager() {
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    x_pids+=($!)
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
}
