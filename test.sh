#!/usr/bin/env bash
# Installs what is missing, builds Norvana with its tests and runs every test.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh build run test
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/test -j"$(nproc)"
QT_QPA_PLATFORM=offscreen ctest --test-dir build/test --output-on-failure -j"$(nproc)"
