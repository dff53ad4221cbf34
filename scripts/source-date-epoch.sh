#!/usr/bin/env bash
# Prints the time that every timestamp of a build and of its packages is
# taken from, in seconds since 1970 (UTC), so that two builds of one commit
# give the same bytes: SOURCE_DATE_EPOCH when it is set; in a git checkout,
# the time of its commit; in a tree from `git archive` (the source archive),
# that commit's time, which git writes into this file (export-subst in
# .gitattributes); elsewhere midnight (UTC) of the release day,
# NORVANA_RELEASE_DATE in CMakeLists.txt.
#   scripts/source-date-epoch.sh
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)
archived='$Format:%ct$'
if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
    echo "$SOURCE_DATE_EPOCH"
# Only a checkout of this source: a folder inside another repository is none.
elif [ "$(git -C "$root" rev-parse --show-toplevel 2>/dev/null)" = "$root" ]; then
    git -C "$root" log -1 --format=%ct
elif [[ $archived =~ ^[0-9]+$ ]]; then
    echo "$archived"
else
    date -u -d "$(sed -n 's/^set(NORVANA_RELEASE_DATE \([0-9-]*\))$/\1/p' "$root/CMakeLists.txt")" +%s
fi
