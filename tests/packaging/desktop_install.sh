#!/usr/bin/env bash
# Installs the build into a scratch prefix with `cmake --install` and checks
# what a Linux desktop needs: the program and its manual page, the .desktop
# file (validated by desktop-file-validate), the icon in the hicolor theme at
# each size and the AppStream metainfo (validated by appstreamcli), with the
# program's version and licence; and no Debian copyright file or changelog,
# which only the package carries. Exits 77 (skipped) when a tool it needs is
# missing.
#   desktop_install.sh BUILD_DIR WORK_DIR APP_ID "SIZES" VERSION
set -euo pipefail
build=$1 work=$2 id=$3 sizes=$4 version=$5

fail() { echo "FAIL: $*" >&2; exit 1; }
need() { command -v "$1" >/dev/null || { echo "SKIP: $1 is missing: install $2 (scripts/install-deps.sh test)"; exit 77; }; }
need desktop-file-validate desktop-file-utils
need appstreamcli appstream
need file file

rm -rf "$work"
cmake --install "$build" --prefix "$work/usr" >"$work.log" 2>&1 || { cat "$work.log"; fail "cmake --install"; }
root=$work/usr

[ -x "$root/bin/norvana" ] || fail "bin/norvana is not installed"
file -b "$root/bin/norvana" | grep -q ELF || fail "bin/norvana is no program"
manpage=$root/share/man/man1/norvana.1.gz
[ -f "$manpage" ] || fail "the manual page norvana.1.gz is not installed"
gzip -cd "$manpage" | grep -qx "\.TH NORVANA 1 \"[0-9-]*\" \"Norvana $version\" .*" \
    || fail "the manual page is not that of Norvana $version"
echo "manual page: Norvana $version"

desktop=$root/share/applications/$id.desktop
[ -f "$desktop" ] || fail "$id.desktop is not installed"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
grep -qx "Exec=norvana" "$desktop" || fail "the desktop file does not run norvana"
grep -qx "Icon=$id" "$desktop" || fail "the desktop file does not name the icon $id"
echo "desktop file: valid"

metainfo=$root/share/metainfo/$id.metainfo.xml
[ -f "$metainfo" ] || fail "$id.metainfo.xml is not installed"
# Norvana has no web site, so no homepage: AppStream 1.0 warns of that, and
# the warning is lowered to a note; older validators, which do not know the
# warning, cannot lower it and validate as they are.
appstreamcli validate --no-net --override=url-homepage-missing=info "$metainfo" \
    || appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $metainfo"
grep -q "<id>$id</id>" "$metainfo" || fail "the metainfo's id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" \
    || fail "the metainfo does not launch $id.desktop"
grep -q "<binary>norvana</binary>" "$metainfo" || fail "the metainfo does not provide the binary"
grep -q "<project_license>MIT</project_license>" "$metainfo" || fail "the metainfo's licence is not MIT"
grep -q "<release version=\"$version\" " "$metainfo" || fail "the metainfo's release is not $version"
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

# The Debian copyright file and changelog come with the package only.
[ ! -e "$root/share/doc/norvana" ] || fail "a plain install installs share/doc/norvana: $(ls "$root/share/doc/norvana")"
echo "PASS"
