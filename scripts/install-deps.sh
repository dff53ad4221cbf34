#!/usr/bin/env bash
# Installs what is missing of the named sections of apt-packages.txt
# (build, run, test, display...); uses sudo when not root.
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

echo "Installing missing packages: ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
        echo "error: not root and sudo is not installed; as root, run: apt-get install ${missing[*]}" >&2
        exit 1
    fi
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
