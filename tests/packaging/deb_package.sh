#!/usr/bin/env bash
# Builds the .deb with CPack into a scratch directory and reads its control
# data and contents: name, version, dependencies (the libraries' packages
# that CPack had dpkg-shlibdeps find, and the layout's font), the
# recommended Wayland plugin and Qt translations, the description's form,
# the installed files, the program's lack of a run path and the bill of
# materials beside the package (check_sbom.py). Exits 77 (skipped) when a
# tool it needs is missing.
#   deb_package.sh BUILD_DIR WORK_DIR APP_ID VERSION
set -euo pipefail
build=$1 work=$2 id=$3 version=$4

fail() { echo "FAIL: $*" >&2; exit 1; }
need() { command -v "$1" >/dev/null || { echo "SKIP: $1 is missing: install $2 (scripts/install-deps.sh test)"; exit 77; }; }
need cpack cmake
need dpkg-deb dpkg
need dpkg-shlibdeps dpkg-dev # CPack's source of the libraries' packages
need file file # CPack asks it which installed files are programs
need readelf binutils
need curl curl # fetches the bill of materials' schema once
need /usr/bin/jsonschema python3-jsonschema # Debian's, which check_sbom.py imports

rm -rf "$work"
mkdir -p "$work"
cpack -G DEB -B "$work" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 \
    || { cat "$work/cpack.log"; fail "cpack"; }
debs=("$work"/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single .deb: ${debs[*]}"
deb=${debs[0]}
echo "package: $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = norvana ] || fail "Package is '$(field Package)', not norvana"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is '$(field Architecture)'"
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^@\>]+\.[a-z]+\>$ ]] || fail "Maintainer '$(field Maintainer)'"
[[ "$(field Maintainer)" != *localhost* ]] || fail "Maintainer '$(field Maintainer)' is on localhost"

# Each relation's package names, with or without a version constraint.
names() { echo " $(tr ',|' '\n\n' | sed 's/(.*)//; s/^ *//; s/ *$//' | tr '\n' ' ') "; }
depends=$(field Depends | names)
echo "Depends: $(field Depends)"
echo "Recommends: $(field Recommends)"

# The libraries' packages (a package of Qt's widgets library, whatever its
# name's suffix on this release) beside the layout's font.
[[ "$depends" == *" libqt6widgets6"* ]] || fail "Depends lacks the libraries' packages"
[[ "$depends" == *" fonts-liberation2 "* ]] || fail "Depends lacks fonts-liberation2"
# qt6-qpa-plugins holds no platform plugin the program uses (X11 comes with
# libqt6gui6); the Wayland plugin is recommended, not required.
[[ "$depends" != *" qt6-qpa-plugins "* ]] || fail "Depends names qt6-qpa-plugins"
[[ "$depends" != *" qt6-wayland "* ]] || fail "Depends requires qt6-wayland"
recommends=$(field Recommends | names)
[[ "$recommends" == *" qt6-wayland "* ]] || fail "Recommends lacks qt6-wayland"
[[ "$recommends" == *" qt6-translations-l10n "* ]] || fail "Recommends lacks qt6-translations-l10n"

# A synopsis and a description of lines of at most 80 characters.
description=$(field Description)
[ "$(wc -l <<<"$description")" -ge 3 ] || fail "the description has no extended part"
while IFS= read -r line; do
    [ "${#line}" -le 80 ] || fail "description line over 80 characters: $line"
done <<<"$description"

dpkg-deb -x "$deb" "$work/root"
contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for path in ./usr/bin/norvana ./usr/share/man/man1/norvana.1.gz \
            ./usr/share/doc/norvana/copyright ./usr/share/doc/norvana/changelog.gz \
            ./usr/share/applications/$id.desktop ./usr/share/metainfo/$id.metainfo.xml \
            ./usr/share/icons/hicolor/16x16/apps/$id.png ./usr/share/icons/hicolor/32x32/apps/$id.png \
            ./usr/share/icons/hicolor/64x64/apps/$id.png; do
    grep -qx "$path" <<<"$contents" || fail "the package lacks $path"
done

# The program finds its libraries where the system keeps them: no run path.
dynamic=$(readelf -d "$work/root/usr/bin/norvana")
! grep -Eq '\((RUNPATH|RPATH)\)' <<<"$dynamic" || fail "usr/bin/norvana has a run path: $(grep -E 'R(UN)?PATH' <<<"$dynamic")"

"$(dirname "$0")/check_sbom.py" deb "${deb%.deb}.sbom.cdx.json" "$work/root/usr/bin/norvana" "$version" "$deb" \
    || fail "the bill of materials beside the package"
echo "PASS"
