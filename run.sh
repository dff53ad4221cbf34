#!/usr/bin/env bash
# Checks that there is a display to open the window on, then installs what is
# missing, builds Norvana and starts it.
set -euo pipefail
cd "$(dirname "$0")"

# Whether an X display answers, as far as the shell can tell: a local
# server's socket (in /tmp/.X11-unix or Linux's abstract namespace) or a
# remote one's TCP port. The program checks again, by connecting.
x_display_answers() {
    local display=$1 host number
    host=${display%:*}
    number=${display##*:}
    number=${number%%.*}
    [[ "$number" =~ ^[0-9]+$ ]] || return 1
    if [ -z "$host" ] || [ "$host" = unix ]; then
        [ -S "/tmp/.X11-unix/X$number" ] || grep -q " @/tmp/.X11-unix/X$number\$" /proc/net/unix 2>/dev/null
    else
        timeout 5 bash -c "exec 3<>/dev/tcp/$host/$((6000 + number))" 2>/dev/null
    fi
}

# Empty when the window can open: a platform chosen with QT_QPA_PLATFORM, a
# Wayland compositor's socket or an X display; otherwise what is missing.
display_problem() {
    [ -n "${QT_QPA_PLATFORM:-}" ] && return
    local missing=
    if [ -n "${WAYLAND_DISPLAY:-}" ]; then
        local socket=$WAYLAND_DISPLAY
        [[ "$socket" == /* ]] || socket=${XDG_RUNTIME_DIR:-}/$socket
        [ -S "$socket" ] && return
        missing="no Wayland compositor at $socket (WAYLAND_DISPLAY)"
    fi
    if [ -n "${DISPLAY:-}" ]; then
        x_display_answers "$DISPLAY" && return
        missing="${missing:+$missing and }the X display $DISPLAY (DISPLAY) does not answer"
    fi
    echo "${missing:-neither DISPLAY nor WAYLAND_DISPLAY is set}"
}

problem=$(display_problem)
if [ -n "$problem" ]; then
    echo "error: no display to open the window on: $problem; run ./run.sh in a desktop session, or on a virtual display: xvfb-run ./run.sh (package xvfb)" >&2
    exit 1
fi

scripts/install-deps.sh build run
cmake -S . -B build/run -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build/run --target norvana -j"$(nproc)"
exec build/run/window/norvana
