#!/usr/bin/env bash
# ./test.sh reproducible: two Release builds of the committed source (HEAD),
# each making the .deb as the README's "Install and remove" does, must give
# the same bytes, and so must the bill of materials beside it. The first
# builds a git clone in the time zone UTC, the locale C.UTF-8 and the umask
# 022; the second, later, builds what `git archive` gives (as in the source
# archive) in a folder with a longer path, as another builder
# (scripts/another-builder.sh). Each takes its times from the commit as a
# builder would (SOURCE_DATE_EPOCH unset). Prints the SHA-256 of both .debs
# side by side, and what differs (diffoscope) if they are not the same.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
scripts/install-deps.sh build run package reproducible
source scripts/another-builder.sh
unset SOURCE_DATE_EPOCH

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
commit=$(git rev-parse HEAD)
first=$work/a
second=$work/second-build-in-a-folder-with-a-longer-path
deb() { # builds the .deb of the source in $1
    cmake -S "$1" -B "$1/build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
    cmake --build "$1/build" -j"$(nproc)" >/dev/null
    (cd "$1/build" && cpack -G DEB >/dev/null)
}

echo "== first build: a clone of $commit"
git clone -q --no-checkout "$root" "$first"
git -C "$first" checkout -q "$commit"
(umask 022; export TZ=UTC LC_ALL=C.UTF-8 LANG=C.UTF-8; deb "$first")

echo "== second build: git archive $commit, as another builder"
mkdir -p "$second"
git archive "$commit" | tar -x -C "$second"
as_another_builder deb "$second"

package=$(cd "$first/build" && echo norvana_*.deb)
scripts/compare-builds.sh "$first/build" "$second/build" "$package" "${package%.deb}.sbom.cdx.json"
