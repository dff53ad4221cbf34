#!/usr/bin/env bash
# Packs OUT/Norvana.exe for Windows: in OUT (build/windows)
#   Norvana-VERSION-win64.zip   Norvana.exe, LICENSE.txt, LEGGIMI.txt (install,
#                               run, deploy, relink against another Qt) and
#                               licenze\ (Qt's LGPL v3 with its bundled
#                               libraries' notices; MinGW-w64's runtime and GCC's)
#   Norvana-VERSION-sbom.cdx.json  the bill of materials of Norvana.exe
#                               (CycloneDX, scripts/sbom.py), also in the zip
#   Norvana-VERSION-x64.msi     made by wixl from resources/windows/norvana.wxs
#   Norvana-VERSION-IT.txt      the note for IT: the SHA-256 of the files and
#                               their signer, then what LEGGIMI.txt says in "Per
#                               l'IT" (resources/windows/per-l-it.txt): product
#                               and upgrade codes, commands, exit codes
# INFO is the norvana-package.txt CMake writes (version, maker, upgrade code);
# VERSION, when given, stands for its version (the upgrade test's packages).
#
# Signing: with NORVANA_SIGN_PKCS12 (a PKCS#12 file with the code-signing
# certificate and its key) and NORVANA_SIGN_PASSWORD_FILE (its password on
# the first line), Norvana.exe is signed in place before it is packed, and the
# MSI after it is made (Authenticode, SHA-256), with a timestamp from
# NORVANA_SIGN_TIMESTAMP (an RFC 3161 server's URL) when set. Without them the
# packages are unsigned; with NORVANA_RELEASE=1 that is an error, and so is
# a signature without a timestamp.
#   scripts/package-windows.sh OUT QT_PREFIX INFO [VERSION]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=$(cd "$1" && pwd) qt=$2 info_file=$(realpath "$3")
fail() { echo "error: $*" >&2; exit 1; }
# Packed twice, the same files give the same bytes: every time in the
# packages is the commit's.
SOURCE_DATE_EPOCH=$("$root/scripts/source-date-epoch.sh")
export SOURCE_DATE_EPOCH

declare -A info
while IFS='=' read -r key value; do info[$key]=$value; done <"$info_file"
version=${4:-${info[version]}}
upgrade_code=${info[upgrade_code]}
# One product code per version, the same at every build of it: a name-based
# UUID (version 5) of the version in the upgrade code's namespace.
product_code=$(python3 -c 'import sys, uuid; print(str(uuid.uuid5(uuid.UUID(sys.argv[1]), sys.argv[2])).upper())' \
    "$upgrade_code" "Norvana $version")
qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
qt_version=${qt_version%%+*}

signing=${NORVANA_SIGN_PKCS12:+yes}
if [ -z "$signing" ]; then
    [ "${NORVANA_RELEASE:-}" != 1 ] || fail "NORVANA_RELEASE=1, but no certificate to sign with (NORVANA_SIGN_PKCS12)"
    echo "unsigned: Norvana.exe and the MSI (no NORVANA_SIGN_PKCS12)"
else
    [ "${NORVANA_RELEASE:-}" != 1 ] || [ -n "${NORVANA_SIGN_TIMESTAMP:-}" ] \
        || fail "NORVANA_RELEASE=1, but no timestamp server (NORVANA_SIGN_TIMESTAMP)"
    [ -r "$NORVANA_SIGN_PKCS12" ] || fail "cannot read the certificate $NORVANA_SIGN_PKCS12"
    [ -r "${NORVANA_SIGN_PASSWORD_FILE:-}" ] || fail "cannot read its password file (NORVANA_SIGN_PASSWORD_FILE)"
    signer=$(openssl pkcs12 -in "$NORVANA_SIGN_PKCS12" -passin "file:$NORVANA_SIGN_PASSWORD_FILE" -nokeys -clcerts \
             | openssl x509 -noout -subject -nameopt oneline,-esc_msb | sed 's/^subject= *//')
fi
sign() {
    local timestamp=()
    [ -z "${NORVANA_SIGN_TIMESTAMP:-}" ] || timestamp=(-ts "$NORVANA_SIGN_TIMESTAMP")
    osslsigncode sign -pkcs12 "$NORVANA_SIGN_PKCS12" -readpass "$NORVANA_SIGN_PASSWORD_FILE" -h sha256 \
        -n Norvana "${timestamp[@]}" -in "$1" -out "$1.signed" >/dev/null || fail "signing $1 failed"
    mv "$1.signed" "$1"
    echo "signed $1 ($signer)"
}
[ -z "$signing" ] || sign "$out/Norvana.exe"
# The bill of materials of the Norvana.exe packed (signed, when it is), from
# the linker's map CMake writes beside INFO (Norvana.exe.map).
sbom=Norvana-$version-sbom.cdx.json
"$root/scripts/sbom.py" windows "$out/Norvana.exe" "$version" "$qt" "$(dirname "$info_file")/Norvana.exe.map" >"$out/$sbom"
echo "made $out/$sbom"

# What both packages hold.
zip_name=Norvana-$version-win64
stage=$out/$zip_name
rm -rf "$stage" && mkdir -p "$stage/licenze/Qt" "$stage/licenze/MinGW-w64"
cp "$out/Norvana.exe" "$stage/"
cp "$out/$sbom" "$stage/"
cp "$root/LICENSE" "$stage/LICENSE.txt"
# The texts with this package's values; the section for IT is one text, in
# LEGGIMI.txt and in the note.
fill() {
    sed -e "s/@VERSION@/$version/g" -e "s/@QT_VERSION@/$qt_version/g" \
        -e "s/@PRODUCT_CODE@/{$product_code}/g" -e "s/@UPGRADE_CODE@/{$upgrade_code}/g" "$1"
}
for_it=$out/per-l-it.txt
fill "$root/resources/windows/per-l-it.txt" >"$for_it"
fill "$root/resources/windows/LEGGIMI.txt" | sed -e "/^@PER_L_IT@\$/{r $for_it" -e 'd}' >"$stage/LEGGIMI.txt"
cp "$qt/notices/"*.txt "$stage/licenze/Qt/"
cp /usr/share/doc/mingw-w64-x86-64-dev/copyright "$stage/licenze/MinGW-w64/mingw-w64-runtime.txt"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$stage/licenze/MinGW-w64/gcc-runtime-libraries.txt"

# Neither the umask nor the time of packing goes into the packages; the zip
# takes its entries in one order (not the file system's) and writes their
# times, which are local, in UTC.
chmod -R u=rwX,go=rX "$stage"
find "$stage" -exec touch -d "@$SOURCE_DATE_EPOCH" {} +
zip=$out/$zip_name.zip
rm -f "$zip"
(cd "$out" && find "$zip_name" | LC_ALL=C sort | TZ=UTC zip -q -X -@ "$zip_name.zip")
echo "made $zip"

# wixl finds the files beside the WiX source.
cp "$root/resources/windows/norvana.wxs" "$root/resources/icon/norvana.ico" "$stage/"
msi=$out/Norvana-$version-x64.msi
(cd "$stage" && wixl -a x64 -D Version="$version" -D ProductCode="$product_code" -D UpgradeCode="$upgrade_code" \
    -D Maintainer="${info[maintainer]}" -D Contact="${info[contact]}" -D HelpLink="mailto:${info[contact]}" \
    -D Comments="${info[description]}" -o "$msi" norvana.wxs)
# The package code, random from wixl, names what is packed: the files, the
# WiX source among them, and what CMake told.
packed=$( (cd "$stage" && find . -type f -print0 | LC_ALL=C sort -z | xargs -0 sha256sum; cat "$info_file") | sha256sum)
/usr/bin/python3 "$root/scripts/msi-summary.py" "$msi" "$upgrade_code" "Norvana $version ${packed%% *}"
rm "$stage/norvana.wxs" "$stage/norvana.ico"
[ -z "$signing" ] || sign "$msi"
echo "made $msi"

# The note for IT, beside the packages: the files, then the section for IT.
sha() { sha256sum "$1" | cut -d' ' -f1; }
note=$out/Norvana-$version-IT.txt
{
    echo "Norvana $version per Windows 10 e 11 (64 bit): note per il reparto IT"
    echo
    echo "File (SHA-256)"
    echo "  ${msi##*/}  $(sha "$msi")"
    echo "  $zip_name.zip  $(sha "$zip")"
    echo "  Norvana.exe  $(sha "$out/Norvana.exe")  (lo stesso nel pacchetto MSI e nello zip)"
    if [ -n "$signing" ]; then
        echo "Firma Authenticode (SHA-256) di Norvana.exe e del pacchetto MSI: $signer"
    else
        echo "Firma: nessuna (Norvana.exe e il pacchetto MSI non sono firmati)"
    fi
    echo
    cat "$for_it"
} >"$note"
rm "$for_it"
echo "made $note"
