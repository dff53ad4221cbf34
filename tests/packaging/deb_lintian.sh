#!/usr/bin/env bash
# Runs lintian, Debian's package checker, on the .deb that deb_package.sh
# built: any error or warning fails; the remaining notes are printed. Exits
# 77 (skipped) when lintian is missing.
#   deb_lintian.sh WORK_DIR
set -euo pipefail
work=$1

command -v lintian >/dev/null || { echo "SKIP: lintian is missing: install lintian (scripts/install-deps.sh test)"; exit 77; }
debs=("$work"/*.deb)
[ -f "${debs[0]}" ] || { echo "FAIL: no .deb in $work" >&2; exit 1; }
# lintian warns on stderr when run as root, as tests here may be.
lintian --display-info --fail-on error,warning "${debs[0]}" 2> >(grep -v 'root privileges' >&2)
echo "PASS"
