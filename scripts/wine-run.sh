#!/usr/bin/env bash
# Runs a Windows program under Wine with the QT_ variables of this
# environment (the platform, its fonts, the scale factor). Wine hands the
# environment on to Windows programs, but for a few names the host's own
# programs use in their own way, QT_* among them, which it hands on only as
# WINEQT_*, without the prefix: so each is exported again with it, its value
# as it is. Paths in the arguments become Windows paths.
# CMake's emulator for the cross-built tests (scripts/test-windows.sh).
#   scripts/wine-run.sh PROGRAM.exe [ARGUMENT...]
set -euo pipefail
while IFS= read -r -d '' variable; do
    [[ $variable == QT_* ]] && export "WINE$variable"
done < <(env -0)
arguments=()
for argument in "$@"; do
    [[ $argument == /* ]] && argument=$(winepath -w "$argument")
    arguments+=("$argument")
done
exec wine "${arguments[@]}"
