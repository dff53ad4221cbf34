#!/usr/bin/env bash
# Packs Norvana.exe for Windows and checks the MSI under Wine: in OUT (build/windows)
#   Norvana-VERSION-win64.zip   Norvana.exe, LICENSE.txt, LEGGIMI.txt (install,
#                               run, relink against another Qt) and licenze\
#                               (Qt's LGPL v3 with its bundled libraries'
#                               notices; MinGW-w64's runtime and GCC's)
#   Norvana-VERSION-x64.msi     made by wixl from resources/windows/norvana.wxs
# then installs the MSI with Wine's msiexec /qn, checks the program, the
# Start-menu shortcut and the Programs and Features entry, uninstalls it and
# checks that nothing is left. Run by scripts/test-windows.sh, with Wine's
# prefix in WINEPREFIX.
#   scripts/package-windows.sh OUT QT_PREFIX VERSION
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=$1 qt=$2 version=$3
fail() { echo "error: $*" >&2; exit 1; }

maintainer=$(sed -n 's/^set(NORVANA_MAINTAINER "\(.*\)")$/\1/p' "$root/CMakeLists.txt")
qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
qt_version=${qt_version%%+*}

# What both packages hold.
zip_name=Norvana-$version-win64
stage=$out/$zip_name
rm -rf "$stage" && mkdir -p "$stage/licenze/Qt" "$stage/licenze/MinGW-w64"
cp "$out/Norvana.exe" "$stage/"
cp "$root/LICENSE" "$stage/LICENSE.txt"
sed -e "s/@VERSION@/$version/g" -e "s/@QT_VERSION@/$qt_version/g" \
    "$root/resources/windows/LEGGIMI.txt" >"$stage/LEGGIMI.txt"
cp "$qt/notices/"*.txt "$stage/licenze/Qt/"
cp /usr/share/doc/mingw-w64-x86-64-dev/copyright "$stage/licenze/MinGW-w64/mingw-w64-runtime.txt"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$stage/licenze/MinGW-w64/gcc-runtime-libraries.txt"

rm -f "$out/$zip_name.zip"
(cd "$out" && zip -qr -X "$zip_name.zip" "$zip_name/")
echo "made $out/$zip_name.zip"

# wixl finds the files beside the WiX source.
cp "$root/resources/windows/norvana.wxs" "$root/resources/icon/norvana.ico" "$stage/"
msi=$out/Norvana-$version-x64.msi
(cd "$stage" && wixl -a x64 -D Version="$version" -D Maintainer="${maintainer% <*}" \
    -D Contact="$(sed 's/.*<\(.*\)>/\1/' <<<"$maintainer")" -o "$msi" norvana.wxs)
rm "$stage/norvana.wxs" "$stage/norvana.ico"
echo "made $msi"

echo "== the MSI under Wine's msiexec"
c=$WINEPREFIX/drive_c
uninstall_entries() {
    wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null | tr -d '\r'
}
before=$(find "$c" -ipath '*norvana*' | sort)
wine msiexec /i "$(winepath -w "$msi")" /qn
# Wine's msiexec puts the shortcut into the user's Start menu, where
# Windows puts a per-machine package's into the common one.
shortcut=$(find "$c" -path '*/Start Menu/Programs/Norvana.lnk' | head -1)
[ -n "$shortcut" ] || fail "msiexec /i made no Start-menu shortcut"
strings -el "$shortcut" | grep -q 'norvana\.ico$' || fail "the Start-menu shortcut has no icon"
cmp -s "$c/Program Files/Norvana/Norvana.exe" "$out/Norvana.exe" || fail "the installed Norvana.exe differs"
entry=$(uninstall_entries | grep -A30 'DisplayName.*Norvana$' || true)
grep -q "DisplayVersion.*$version" <<<"$entry" || fail "no Programs and Features entry of version $version"
grep -q "Publisher.*${maintainer% <*}" <<<"$entry" || fail "the Programs and Features entry names no maintainer"
echo "installed: $c/Program Files/Norvana/Norvana.exe, $shortcut"

wine msiexec /x "$(winepath -w "$msi")" /qn
after=$(find "$c" -ipath '*norvana*' | sort)
[ "$after" = "$before" ] || fail "msiexec /x left: $(comm -13 <(echo "$before") <(echo "$after"))"
! uninstall_entries | grep -q 'DisplayName.*Norvana$' || fail "msiexec /x left the Programs and Features entry"
! wine reg query 'HKLM\Software\Norvana' >/dev/null 2>&1 || fail "msiexec /x left HKLM\Software\Norvana"
echo "uninstalled: nothing left"
