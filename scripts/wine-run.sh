#!/usr/bin/env bash
# Runs a Windows program under Wine with the QT_ variables of this
# environment (the platform, its fonts, the scale factor), which Wine does not
# hand on to Windows programs; paths in the arguments become Windows paths
# (none may hold a space).
# CMake's emulator for the cross-built tests (scripts/test-windows.sh).
#   scripts/wine-run.sh PROGRAM.exe [ARGUMENT...]
set -euo pipefail
line=""
while IFS='=' read -r name value; do
    line+="set $name=$value&& "
done < <(env | grep '^QT_' || true)
for argument in "$@"; do
    [[ $argument == /* ]] && argument=$(winepath -w "$argument")
    line+="$argument "
done
exec wine cmd /d /c "$line"
