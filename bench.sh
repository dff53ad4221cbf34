#!/usr/bin/env bash
# Builds the benchmarks (Release, build/bench) and runs them:
#   ./bench.sh                 start-up benchmark, then the micro-benchmarks
#   ./bench.sh startup [OPT]   only the start-up benchmark; OPT goes to the
#                              observer, e.g. --runs 20 --settle-ms 300
#   ./bench.sh micro [OPT]     only the micro-benchmarks; OPT goes to Google
#                              Benchmark, e.g. --benchmark_repetitions=5
#   ./bench.sh ladder [OPT]    the floor built up one kind of control at a
#                              time, each step against the floor; OPT goes to
#                              the observer
# The start-up benchmark runs under its own Xvfb server, without a window
# manager, whatever display the caller has.
set -euo pipefail
cd "$(dirname "$0")"

what=all
case "${1:-}" in
    startup | micro | ladder) what=$1; shift ;;
    all) shift ;;
esac
[ "$what" = all ] && [ $# -gt 0 ] && { echo "usage: $0 [startup|micro|ladder] [OPTIONS]" >&2; exit 2; }

scripts/install-deps.sh build run test tools
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_TESTING=OFF -DNORVANA_BUILD_BENCHMARKS=ON >/dev/null
cmake --build build/bench -j"$(nproc)" --target \
    norvana norvana_floor norvana_straightforward norvana_ladder norvana_startobserver \
    norvana_microbench

xvfb_pid=
scratch=
cleanup() {
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    [ -z "$scratch" ] || rm -rf "$scratch"
}
trap cleanup EXIT

# Starts a private Xvfb server and sets $display to it.
start_xvfb() {
    local display_file
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
}

observe() {
    DISPLAY=$display XDG_RUNTIME_DIR=$scratch/runtime build/bench/bench/norvana_startobserver "$@"
}

startup() {
    start_xvfb
    echo "== Start-up to a mapped window, round-robin under Xvfb $display"
    observe --runs 15 --settle-ms 300 "$@" \
        norvana=build/bench/window/norvana \
        floor=build/bench/bench/norvana_floor \
        straightforward=build/bench/bench/norvana_straightforward
}

ladder() {
    local step steps=()
    for step in floor labels entries buttons combo menu; do
        steps+=("$step=build/bench/bench/norvana_ladder $step")
    done
    start_xvfb
    echo "== The floor built up one kind of control at a time, under Xvfb $display"
    observe --runs 11 --settle-ms 300 --baseline floor "$@" "${steps[@]}"
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
    ladder) ladder "$@" ;;
    micro) micro "$@" ;;
    all) startup; micro ;;
esac
