#!/usr/bin/env bash
# Installs what is missing, builds Norvana and starts it.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh build run
cmake -S . -B build/run -DCMAKE_BUILD_TYPE=Release -DNORVANA_BUILD_TESTS=OFF >/dev/null
cmake --build build/run --target norvana -j"$(nproc)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "error: no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2
    echo "Run ./run.sh from a desktop session, or in a virtual one: xvfb-run ./run.sh (package xvfb)" >&2
    exit 1
fi
exec build/run/window/norvana
