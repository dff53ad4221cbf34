#!/usr/bin/env bash
# Checks that a display is set, then installs what is missing, builds Norvana
# and starts it. Whether the window can open there, Norvana itself finds out,
# and says in one line when it cannot.
set -euo pipefail
cd "$(dirname "$0")"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "error: no display to open the window on: neither DISPLAY nor WAYLAND_DISPLAY is set; run ./run.sh in a desktop session, or on a virtual display: xvfb-run ./run.sh (packages xvfb and xauth)" >&2
    exit 1
fi

scripts/install-deps.sh build run
cmake -S . -B build/run -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build/run --target norvana -j"$(nproc)"
exec build/run/window/norvana
