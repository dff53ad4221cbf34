#!/usr/bin/env bash
# ./test.sh windows: cross-builds Norvana.exe and its tests against Qt for
# Windows (scripts/build-qt-windows.sh), runs the tests under Wine on the
# offscreen platform, drives Norvana.exe with real keys under Wine on a
# virtual X server, ends it as Windows does at the end of a session, packs
# the zip and the MSI, signed when a certificate is given
# (scripts/package-windows.sh), builds and packs the same source a second
# time elsewhere and otherwise, which must give the same bytes, and tries the
# packages as IT would (scripts/test-packages-windows.sh).
# Everything goes to build/windows/: Norvana.exe (stripped), the packages and
# the note for IT, the screenshots (screenshots/), the msiexec logs
# (msi-logs/), the signing test (signed/), the build tree (cmake/) and Wine's
# prefix (wine/).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

# A release is signed, and timestamped so that its signature outlives the
# certificate: said before the long build, not after it.
if [ "${NORVANA_RELEASE:-}" = 1 ]; then
    for needed in NORVANA_SIGN_PKCS12 NORVANA_SIGN_TIMESTAMP; do
        if [ -z "${!needed:-}" ]; then
            echo "error: NORVANA_RELEASE=1, but $needed is not set: a release is signed, with a timestamp" >&2
            exit 1
        fi
    done
fi

# Every time that goes into Norvana.exe and the packages (the linker's,
# strip's, rcc's, the packages') is the commit's.
SOURCE_DATE_EPOCH=$(scripts/source-date-epoch.sh)
export SOURCE_DATE_EPOCH

scripts/install-deps.sh build windows display reproducible
qt=$(scripts/build-qt-windows.sh | tail -1)

out=$root/build/windows
tree=$out/cmake
shots=$out/screenshots
mkdir -p "$out" "$shots"
export WINEPREFIX=$out/wine WINEARCH=win64 WINEDEBUG=-all
# No .NET or HTML engine: Wine would offer to download them.
export WINEDLLOVERRIDES="mscoree,mshtml="

# Configures the source in $1 into the build tree $2.
configure() {
    cmake -S "$1" -B "$2" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DQT_CHAINLOAD_TOOLCHAIN_FILE="$1/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_CROSSCOMPILING_EMULATOR="$1/scripts/wine-run.sh" >/dev/null
}
# Qt puts the programs of a Windows build at the top of the build tree: $1's
# Norvana.exe, stripped, into the folder $2.
strip_program() { x86_64-w64-mingw32-strip -o "$2/Norvana.exe" "$1/Norvana.exe"; }

echo "== building Norvana.exe and its tests"
# CMake reads a toolchain file only when it makes a tree: one made against
# another Qt (another cache key) is made anew.
grep -qxF "Qt6_DIR:PATH=$qt/lib/cmake/Qt6" "$tree/CMakeCache.txt" 2>/dev/null || rm -rf "$tree"
configure "$root" "$tree"
cmake --build "$tree" -j"$(nproc)"
# What CMake tells the packaging script: the version, the maker...
info=$tree/norvana-package.txt
strip_program "$tree" "$out"
echo "Norvana.exe: $(stat -c %s "$out/Norvana.exe") bytes stripped"

work=$(mktemp -d)
source scripts/virtual-display.sh
source scripts/another-builder.sh
trap 'stop_x; wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
start_x 1024x768
start_window_manager
# What Norvana.exe gets from this environment: Wine hands it on.
unset QT_QPA_PLATFORM
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "== making Wine's prefix in $WINEPREFIX"
    wineboot --init
    wineserver -w
fi

echo "== the tests under Wine"
ctest --test-dir "$tree" --output-on-failure -j"$(nproc)"

# --- Norvana.exe driven with real keys --------------------------------------
fail() { echo "error: $*" >&2; exit 1; }

# The visible windows whose title is exactly $1 (xdotool's own search
# ignores case, and the window's title and its boxes' differ only in case).
windows_named() {
    local id
    for id in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
        [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$1" ] && echo "$id"
    done
    return 0
}
# Waits for a visible window titled exactly $1; prints its id.
window_named() {
    local id
    for _ in $(seq 600); do
        id=$(windows_named "$1" | head -1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
# Waits until no visible window has the title $1.
until_gone() {
    for _ in $(seq 100); do
        [ -z "$(windows_named "$1")" ] && return 0
        sleep 0.1
    done
    fail "the window \"$1\" stays open"
}
# Gives the window the focus; Wine takes it over a moment after the window
# manager has, and keys sent before go nowhere.
focus() {
    xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"
    for _ in $(seq 50); do
        [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ] && break
        sleep 0.1
    done
    sleep 0.5
}
# Answers the message box $1 with Enter, as often as it takes Wine to let the
# key reach it; waits until it has closed.
answer() {
    for _ in 1 2 3; do
        focus "$1"
        keys Return
        for _ in $(seq 30); do
            xwininfo -id "$1" 2>/dev/null | grep -q IsViewable || return 0
            sleep 0.1
        done
    done
    fail "the box $1 does not close"
}
# Waits until Norvana.exe shows a popup window of its own, as the dipstick's
# list is: an override-redirect one, which no title names.
until_popup() {
    local id
    for _ in $(seq 50); do
        for id in $(xdotool search --onlyvisible --class '^norvana\.exe$' 2>/dev/null); do
            xwininfo -id "$id" 2>/dev/null | grep -q 'Override Redirect State: yes' && return 0
        done
        sleep 0.1
    done
    fail "the dipstick's list does not drop down"
}
keys() { xdotool key --delay 100 "$@"; }
typed() { xdotool type --delay 100 "$1"; }
shot() { import -window root -strip "png:$shots/$1.png"; echo "screenshot: $shots/$1.png" >&2; }
# The line Ctrl+Shift+C puts on the clipboard; waits for it to change from
# what the clipboard held before.
copied_line() {
    local before
    before=$(xclip -o -selection clipboard 2>/dev/null || true)
    keys ctrl+shift+c
    for _ in $(seq 50); do
        line=$(xclip -o -selection clipboard 2>/dev/null || true)
        [ "$line" != "$before" ] && { echo "$line"; return; }
        sleep 0.1
    done
    echo "$before"
}

echo "== Norvana.exe under Wine, driven with real keys"
# Started from no console, --version shows its answer in a message box.
wine "$out/Norvana.exe" --version >/dev/null 2>&1 &
pid=$!
box=$(window_named Norvana) || fail "--version showed no message box"
shot version
answer "$box"
status=0; wait $pid || status=$?
[ $status -eq 0 ] || fail "--version ended with status $status"

wine "$out/Norvana.exe" -platform nosuch >/dev/null 2>&1 &
pid=$!
box=$(window_named NORVANA) || fail "no NORVANA box for a start-up failure"
shot startup-failure
answer "$box"
status=0; wait $pid || status=$?
[ $status -eq 1 ] || fail "a start-up failure ended with status $status, not 1"

wine "$out/Norvana.exe" >/dev/null 2>&1 &
pid=$!
window=$(window_named Norvana) || fail "no Norvana window"
focus "$window"
shot window

typed 1.2; keys Return; typed 45; keys Return Return Return
line=$(copied_line)
shot score
[[ $line == *"Punteggio 4 "* ]] || fail "1.2, 45 and Negativo copied \"$line\", not score 4"
echo "copied: $line"

keys alt+r
typed abc; keys alt+c
box=$(window_named NORVANA) || fail "no NORVANA warning for \"abc\""
shot warning
# One warning for the refused PCT, then one for the empty CRP.
answer "$box"
box=$(window_named NORVANA) || fail "no NORVANA warning for the empty CRP"
answer "$box"
until_gone NORVANA

# Reset clears the boxes: what is typed after it is read alone.
focus "$window"
keys alt+r
typed 0.1; keys Return; typed 5; keys Return Return Return
line=$(copied_line)
[[ $line == *"PCT 0,1 ng/ml"*"Punteggio 0 "* ]] || fail "after Reset, 0.1 and 5 copied \"$line\""

# With the dipstick's list down, Alt+C and the keys sent at once behind it:
# the list closes, the score comes and 150 replaces CRP, in that order; a
# second Alt+C puts CRP as it reads in the line for the record.
keys alt+r
typed 1.2; keys Return; typed 45; keys Return F4
until_popup
xdotool key --delay 0 alt+c 1 5 0
keys alt+c
line=$(copied_line)
[[ $line == *"CRP 150 mg/L"*"Punteggio 6 "* ]] || fail "Alt+C and 150 at once with the list down copied \"$line\""

keys alt+f
status=0; wait $pid || status=$?
[ $status -eq 0 ] || fail "Fine ended Norvana.exe with status $status"
[[ $(xclip -o -selection clipboard) == "$line" ]] || fail "the clipboard lost the line when Norvana.exe ended"
echo "Norvana.exe: score 4, the warning, Reset, keys behind Alt+C with the list down and Fine as expected"

# The window scaled at 120 and 144 dpi, as Windows sets them (Wine reads
# LogPixels when it starts): as wide as at 96 dpi times the scale.
width_at() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
    wineserver -k; wineserver -w
    wine "$out/Norvana.exe" >/dev/null 2>&1 &
    local pid=$! window
    window=$(window_named Norvana) || fail "no Norvana window at $1 dpi"
    [ "$1" = 96 ] || shot "window-$1dpi"
    xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p'
    focus "$window"
    keys alt+f
    wait $pid || fail "Norvana.exe at $1 dpi did not end with status 0"
}
width96=$(width_at 96)
for dpi in 120 144; do
    width=$(width_at $dpi)
    (( width * 96 >= (width96 - 1) * dpi && width * 96 <= (width96 + 1) * dpi )) \
        || fail "at $dpi dpi the window is $width pixels wide, at 96 dpi $width96"
    echo "at $dpi dpi: $width pixels wide (at 96 dpi: $width96)"
done
width_at 96 >/dev/null

# Ended as at a log-off and as an installer's Restart Manager ends it.
for way in endsession closeapp; do
    wine "$tree/endsession.exe" "$(winepath -w "$out/Norvana.exe")" $way || fail "Norvana.exe did not end ($way)"
done

scripts/package-windows.sh "$out" "$qt" "$info"

# The same source (as committed, with the changes not yet committed) built
# and packed again, later, in a folder of another path length, as another
# builder (scripts/another-builder.sh), gives the same bytes. A signature is
# made anew at each signing: signed packages are not compared.
if [ -z "${NORVANA_SIGN_PKCS12:-}" ]; then
    echo "== a second build of the same source, elsewhere and otherwise"
    second=$work/second-build
    mkdir -p "$second/source" "$second/out"
    snapshot=$(git stash create)
    git archive "${snapshot:-HEAD}" | tar -x -m -C "$second/source"
    build_and_pack() {
        configure "$second/source" "$second/cmake"
        cmake --build "$second/cmake" -j"$(nproc)" --target norvana >/dev/null
        strip_program "$second/cmake" "$second/out"
        "$second/source/scripts/package-windows.sh" "$second/out" "$qt" "$second/cmake/norvana-package.txt" >/dev/null
    }
    as_another_builder build_and_pack
    version=$(sed -n 's/^version=//p' "$info")
    scripts/compare-builds.sh "$out" "$second/out" Norvana.exe "Norvana-$version-win64.zip" "Norvana-$version-x64.msi"
fi

scripts/test-packages-windows.sh "$out" "$qt" "$info"
