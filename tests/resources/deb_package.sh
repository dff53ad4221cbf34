#!/usr/bin/env bash
# Builds the .deb with CPack into a scratch directory and reads its control
# data and contents: name, version, every runtime dependency (the Qt
# libraries, the platform plugins, the layout's font), the recommended Qt
# translations and the installed files.
#   deb_package.sh BUILD_DIR WORK_DIR APP_ID VERSION
set -euo pipefail
build=$1 work=$2 id=$3 version=$4

fail() { echo "FAIL: $*" >&2; exit 1; }
need() { command -v "$1" >/dev/null || fail "$1 is missing: install $2 (scripts/install-deps.sh test)"; }
need cpack cmake
need dpkg-deb dpkg
need dpkg-shlibdeps dpkg-dev

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

depends=$(field Depends)
echo "Depends: $depends"
# Each dependency by name, with or without a version constraint.
names=" $(echo "$depends" | tr ',|' '\n\n' | sed 's/(.*)//; s/^ *//; s/ *$//' | tr '\n' ' ') "
for pkg in libqt6core6 libqt6gui6 libqt6widgets6 libc6 libstdc++6 qt6-qpa-plugins fonts-liberation2; do
    [[ "$names" == *" $pkg "* ]] || fail "Depends lacks $pkg"
done
echo "Recommends: $(field Recommends)"
[[ ", $(field Recommends), " == *", qt6-translations-l10n, "* ]] || fail "Recommends lacks qt6-translations-l10n"

contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for path in ./usr/bin/norvana ./usr/share/applications/$id.desktop ./usr/share/metainfo/$id.metainfo.xml \
            ./usr/share/icons/hicolor/16x16/apps/$id.png ./usr/share/icons/hicolor/32x32/apps/$id.png \
            ./usr/share/icons/hicolor/64x64/apps/$id.png; do
    grep -qx "$path" <<<"$contents" || fail "the package lacks $path"
done
echo "PASS"
