#!/usr/bin/env bash
# Compares what two builds of one source made, FIRST/NAME with SECOND/NAME
# for each NAME: prints the SHA-256 of each from both builds side by side and,
# where they differ, what differs as diffoscope finds it. Exits 1 when any
# NAME differs.
#   scripts/compare-builds.sh FIRST SECOND NAME...
set -euo pipefail
first=$1 second=$2
shift 2
sha() { sha256sum "$1" | cut -d' ' -f1; }
printf '%-64s  %-64s\n' "SHA-256, first build" "second build"
differ=()
for name in "$@"; do
    a=$(sha "$first/$name") b=$(sha "$second/$name")
    printf '%s  %s  %s\n' "$a" "$b" "$name"
    [ "$a" = "$b" ] || differ+=("$name")
done
for name in "${differ[@]}"; do
    echo "== $name: what differs (diffoscope)"
    diffoscope --no-progress --text - --max-text-report-size 200000 --timeout 300 \
        "$first/$name" "$second/$name" || true
done
[ ${#differ[@]} -eq 0 ] || { echo "error: two builds of one source differ: ${differ[*]}" >&2; exit 1; }
echo "the same bytes from both builds: $*"
