#!/usr/bin/env bash
# Builds the benchmarks (Release, build/bench) and runs them:
#   ./bench.sh                 start-up benchmark, then the micro-benchmarks
#   ./bench.sh startup [OPT]   only the start-up benchmark; OPT goes to the
#                              observer, e.g. --runs 20 --settle-ms 300
#   ./bench.sh micro [OPT]     only the micro-benchmarks; OPT goes to Google
#                              Benchmark, e.g. --benchmark_repetitions=5
# The start-up benchmark runs under its own Xvfb server, without a window
# manager, whatever display the caller has.
set -euo pipefail
cd "$(dirname "$0")"

what=all
case "${1:-}" in
    startup | micro) what=$1; shift ;;
    all) shift ;;
esac
[ "$what" = all ] && [ $# -gt 0 ] && { echo "usage: $0 [startup|micro] [OPTIONS]" >&2; exit 2; }

scripts/install-deps.sh build run test tools
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release \
    -DNORVANA_BUILD_TESTS=OFF -DNORVANA_BUILD_BENCHMARKS=ON >/dev/null
cmake --build build/bench -j"$(nproc)" --target \
    norvana norvana_floor norvana_straightforward norvana_startobserver norvana_microbench

xvfb_pid=
scratch=
cleanup() {
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    [ -z "$scratch" ] || rm -rf "$scratch"
}
trap cleanup EXIT

startup() {
    local display_file display
    scratch=$(mktemp -d)
    display_file=$scratch/display
    # The programs' runtime directory, as a desktop session would give them.
    mkdir -m 700 "$scratch/runtime"
    # -displayfd picks a free display and writes its number once it is ready.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$display_file" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || { echo "error: Xvfb did not start" >&2; exit 1; }
        sleep 0.1
    done
    display=:$(head -n1 "$display_file")
    [ "$display" != ":" ] || { echo "error: Xvfb gave no display number" >&2; exit 1; }

    echo "== Start-up to a mapped window, round-robin under Xvfb $display"
    DISPLAY=$display XDG_RUNTIME_DIR=$scratch/runtime \
        build/bench/bench/norvana_startobserver --runs 15 --settle-ms 300 "$@" \
        norvana=build/bench/window/norvana \
        floor=build/bench/bench/norvana_floor \
        straightforward=build/bench/bench/norvana_straightforward
}

micro() {
    echo "== Micro-benchmarks of the core"
    if [ $# -eq 0 ]; then
        set -- --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
    fi
    build/bench/bench/norvana_microbench "$@"
}

case "$what" in
    startup) startup "$@" ;;
    micro) micro "$@" ;;
    all) startup; micro ;;
esac
