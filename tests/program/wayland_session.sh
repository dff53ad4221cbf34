#!/usr/bin/env bash
# Runs a command under a Wayland compositor of its own: Weston with its
# headless backend, in a private runtime directory, with its own socket name,
# and QT_QPA_PLATFORM=wayland. Exits 77 (skipped) when Weston is missing or
# cannot start; otherwise with the command's status.
#   wayland_session.sh COMMAND [ARGS...]
set -uo pipefail

skip() { echo "SKIP: $*"; exit 77; }
command -v weston >/dev/null || skip "weston is missing: install weston (scripts/install-deps.sh test)"

runtime=$(mktemp -d) # mode 700, as a runtime directory must be
socket=norvana-test
weston_pid=
cleanup() {
    if [ -n "$weston_pid" ]; then
        kill "$weston_pid" 2>/dev/null
        wait "$weston_pid" 2>/dev/null
    fi
    rm -rf "$runtime"
}
trap cleanup EXIT

env -u DISPLAY -u WAYLAND_DISPLAY XDG_RUNTIME_DIR="$runtime" \
    weston --backend=headless-backend.so --no-config --socket="$socket" --idle-time=0 \
    >"$runtime/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 100); do
    [ -S "$runtime/$socket" ] && break
    kill -0 "$weston_pid" 2>/dev/null || break
    sleep 0.1
done
if [ ! -S "$runtime/$socket" ]; then
    cat "$runtime/weston.log"
    skip "weston could not start"
fi

env -u DISPLAY -u WAYLAND_SOCKET XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" \
    QT_QPA_PLATFORM=wayland timeout 100 "$@"
status=$?
[ "$status" -eq 124 ] && echo "FAIL: timed out"
exit "$status"
