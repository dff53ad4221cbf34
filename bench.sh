#!/usr/bin/env bash
# Builds the benchmarks (Release, build/bench) and runs them:
#   ./bench.sh                 start-up benchmark, then the micro-benchmarks
#   ./bench.sh build           only builds the programs of bench/, runs nothing
#                              (CI, so that they keep compiling)
#   ./bench.sh startup [OPT]   only the start-up benchmark; OPT goes to the
#                              observer, e.g. --runs 20 --settle-ms 300
#   ./bench.sh micro [OPT]     only the micro-benchmarks; OPT goes to Google
#                              Benchmark, e.g. --benchmark_repetitions=5
# The start-up benchmark runs under its own Xvfb server, without a window
# manager, whatever display the caller has (scripts/virtual-display.sh).
set -euo pipefail
cd "$(dirname "$0")"

what=all
case "${1:-}" in
    build | startup | micro) what=$1; shift ;;
    all) shift ;;
esac
if [ $# -gt 0 ] && [[ $what = all || $what = build ]]; then
    echo "usage: $0 [build|startup|micro] [OPTIONS]" >&2
    exit 2
fi

targets=(norvana_floor norvana_straightforward norvana_startobserver norvana_microbench)
sections=(build bench)
if [ "$what" != build ]; then
    targets+=(norvana)
    sections+=(run display tools)
fi
scripts/install-deps.sh "${sections[@]}"
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_TESTING=OFF -DNORVANA_BUILD_BENCHMARKS=ON >/dev/null
cmake --build build/bench -j"$(nproc)" --target "${targets[@]}"
[ "$what" = build ] && exit 0

work=$(mktemp -d)
source scripts/virtual-display.sh
trap 'stop_x; rm -rf "$work"' EXIT
# The programs' runtime directory, as a desktop session would give them.
mkdir -m 700 "$work/runtime"

observe() {
    XDG_RUNTIME_DIR=$work/runtime build/bench/bench/norvana_startobserver "$@"
}

startup() {
    start_x 1280x1024
    echo "== Start-up to a mapped window, round-robin under Xvfb $DISPLAY"
    observe --runs 15 --settle-ms 300 "$@" \
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
