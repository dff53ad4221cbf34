#!/usr/bin/env bash
# Installs the build into a scratch prefix with `cmake --install` and checks
# what a Linux desktop needs: the program, the .desktop file (validated by
# desktop-file-validate), the icon in the hicolor theme at each size and the
# AppStream metainfo (validated by appstreamcli).
#   desktop_install.sh BUILD_DIR WORK_DIR APP_ID "SIZES"
set -euo pipefail
build=$1 work=$2 id=$3 sizes=$4

fail() { echo "FAIL: $*" >&2; exit 1; }
need() { command -v "$1" >/dev/null || fail "$1 is missing: install $2 (scripts/install-deps.sh test)"; }
need desktop-file-validate desktop-file-utils
need appstreamcli appstream
need file file

rm -rf "$work"
cmake --install "$build" --prefix "$work/usr" >"$work.log" 2>&1 || { cat "$work.log"; fail "cmake --install"; }
root=$work/usr

[ -x "$root/bin/norvana" ] || fail "bin/norvana is not installed"
file -b "$root/bin/norvana" | grep -q ELF || fail "bin/norvana is no program"

desktop=$root/share/applications/$id.desktop
[ -f "$desktop" ] || fail "$id.desktop is not installed"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
grep -qx "Exec=norvana" "$desktop" || fail "the desktop file does not run norvana"
grep -qx "Icon=$id" "$desktop" || fail "the desktop file does not name the icon $id"
echo "desktop file: valid"

metainfo=$root/share/metainfo/$id.metainfo.xml
[ -f "$metainfo" ] || fail "$id.metainfo.xml is not installed"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $metainfo"
grep -q "<id>$id</id>" "$metainfo" || fail "the metainfo's id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" \
    || fail "the metainfo does not launch $id.desktop"
grep -q "<binary>norvana</binary>" "$metainfo" || fail "the metainfo does not provide the binary"
echo "metainfo: valid"

for size in $sizes; do
    icon=$root/share/icons/hicolor/${size}x${size}/apps/$id.png
    [ -f "$icon" ] || fail "no ${size}x${size} icon in hicolor"
    file -b "$icon" | grep -q "PNG image data, $size x $size" || fail "$icon is not a $size px PNG"
done
for size in 16 32 64; do
    [[ " $sizes " == *" $size "* ]] || fail "hicolor lacks the ${size}x${size} icon"
done
echo "icons: $sizes"
echo "PASS"
