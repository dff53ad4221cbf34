#!/usr/bin/env bash
# Installs what is missing, builds Norvana and checks it.
#   ./test.sh                  builds with its tests and runs every test (build/test)
#   ./test.sh sanitize         the same under AddressSanitizer with leak checking
#                              and UndefinedBehaviorSanitizer (build/sanitize)
#   ./test.sh fuzz [SECONDS]   builds the fuzz targets with clang and runs them for
#                              SECONDS in all, 60 by default (build/fuzz)
#   ./test.sh reproducible     builds the .deb twice from the committed source,
#                              elsewhere and otherwise, and compares the bytes
#                              (scripts/test-reproducible.sh)
#   ./test.sh windows          cross-builds Norvana.exe and its tests, runs them
#                              under Wine and packs the zip and the MSI
#                              (build/windows; scripts/test-windows.sh)
set -euo pipefail
cd "$(dirname "$0")"

jobs=$(nproc)

run_tests() {
    scripts/install-deps.sh build run test
    cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build/test -j"$jobs"
    QT_QPA_PLATFORM=offscreen ctest --test-dir build/test --output-on-failure -j"$jobs"
}

run_sanitized_tests() {
    scripts/install-deps.sh build run test
    cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DNORVANA_SANITIZE=ON >/dev/null
    cmake --build build/sanitize -j"$jobs"
    # Leak checking is on and needs no suppressions: Qt leaves no leak report,
    # but for its Wayland client in the Wayland test (tests/program).
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    QT_QPA_PLATFORM=offscreen ctest --test-dir build/sanitize --output-on-failure -j"$jobs"
}

run_fuzzers() {
    local seconds=${1:-60}
    local targets=(fuzz_numberreader fuzz_calculation)
    scripts/install-deps.sh build fuzz
    cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
        -DNORVANA_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
    cmake --build build/fuzz -j"$jobs" --target "${targets[@]}"
    # The committed seeds stay as they are; what the fuzzer finds goes to
    # build/fuzz/corpus, a crashing input to build/fuzz/artifacts.
    local per_target=$(( (seconds + ${#targets[@]} - 1) / ${#targets[@]} ))
    mkdir -p build/fuzz/artifacts
    for target in "${targets[@]}"; do
        local name=${target#fuzz_}
        mkdir -p "build/fuzz/corpus/$name"
        echo "== $target for ${per_target} s"
        UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        "build/fuzz/fuzz/$target" -max_total_time="$per_target" -print_final_stats=1 \
            -artifact_prefix="build/fuzz/artifacts/$name-" \
            "build/fuzz/corpus/$name" "fuzz/corpus/$name"
    done
}

case "${1:-}" in
    "") run_tests ;;
    sanitize) run_sanitized_tests ;;
    fuzz) run_fuzzers "${2:-60}" ;;
    reproducible) scripts/test-reproducible.sh ;;
    windows) scripts/test-windows.sh ;;
    *) echo "usage: $0 [sanitize | fuzz [SECONDS] | reproducible | windows]" >&2; exit 2 ;;
esac
