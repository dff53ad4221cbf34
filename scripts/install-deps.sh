#!/usr/bin/env bash
# Installs what is missing of the named sections of apt-packages.txt
# (build, run, test, display...); uses sudo when not root. apt's output goes
# to build/install-deps.log; on the terminal, one line (and the log's tail if
# apt fails).
#   scripts/install-deps.sh build run
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
[ $# -gt 0 ] || { echo "usage: $0 SECTION..." >&2; exit 2; }

wanted=()
for section in "$@"; do
    mapfile -t -O "${#wanted[@]}" wanted < <(
        awk -v want="[$section]" '
            { sub(/#.*/, ""); gsub(/[[:space:]]/, "") }
            /^\[.*\]$/ { inside = ($0 == want); next }
            inside && $0 != "" { print }
        ' "$root/apt-packages.txt")
done

missing=()
for pkg in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q '^install ok installed$'; then
        missing+=("$pkg")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
        echo "error: not root and sudo is not installed; as root, run: apt-get install ${missing[*]}" >&2
        exit 1
    fi
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
log=$root/build/install-deps.log
mkdir -p "$root/build"
printf 'Installing %s ... ' "${missing[*]}"
start=$SECONDS
if ! { "${sudo[@]}" apt-get update && "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; } \
    >"$log" 2>&1; then
    echo failed
    tail -n 30 "$log" >&2
    echo "error: apt-get failed; its whole output is in $log" >&2
    exit 1
fi
echo "done: $(grep -c '^Setting up ' "$log") packages with what they need, $((SECONDS - start)) s (apt's output in $log)"
