#!/usr/bin/env bash
# Tries the packages of scripts/package-windows.sh as a hospital's IT would,
# in OUT (build/windows), with Wine's prefix in WINEPREFIX:
# - the note for IT against the files beside it: the MSI's own ProductCode
#   (in LEGGIMI.txt too, in the zip and in the MSI), the SHA-256 of the
#   packages and of the Norvana.exe inside each;
# - signing: packs again with a throwaway CA's code-signing certificate made
#   by openssl (in OUT/signed) and verifies Norvana.exe, the MSI, and the
#   Norvana.exe inside the zip and inside the MSI against that CA; one byte
#   changed in Norvana.exe must fail;
# - the bill of materials beside the MSI and in the zip, unsigned and signed:
#   valid CycloneDX, true to the linker's map and Qt's build, with the
#   SHA-256 of the Norvana.exe packed (tests/packaging/check_sbom.py);
# - the MSI under Wine's msiexec, with /l*v logs in OUT/msi-logs: installs
#   this version (1.00) and checks the files, the shortcut and the Programs
#   and Features entry (version, publisher, install folder, help link,
#   comments); then the next patch release (1.0.1, "1.00.1") over it (one
#   entry left, the patch release's), this version over it (refused), a
#   second build of the patch release (no second entry), and msiexec /x
#   {ProductCode}, which must leave nothing. The patch release's packages are
#   made of the same files (OUT/upgrade).
# Run by scripts/test-windows.sh.
#   scripts/test-packages-windows.sh OUT QT_PREFIX INFO
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=$1 qt=$2 info=$3
fail() { echo "error: $*" >&2; exit 1; }
version=$(sed -n 's/^version=//p' "$info")
project_version=$(sed -n 's/^project_version=//p' "$info")
maintainer=$(sed -n 's/^maintainer=//p' "$info")
contact=$(sed -n 's/^contact=//p' "$info")
description=$(sed -n 's/^description=//p' "$info")
msi=$out/Norvana-$version-x64.msi
product_code() { msiinfo export "$1" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p'; }
sha() { sha256sum "$1" | cut -d' ' -f1; }

echo "== the note for IT"
note=$out/Norvana-$version-IT.txt
zip_name=Norvana-$version-win64
noted_hash() { sed -n "s/^  $1  \([0-9a-f]\{64\}\).*/\1/p" "$note"; }
unpacked=$out/unpacked
rm -rf "$unpacked"
msiextract -C "$unpacked/msi" "$msi" >/dev/null
unzip -q -d "$unpacked/zip" "$out/$zip_name.zip"
code=$(product_code "$msi")
for text in "$note" "$unpacked/zip/$zip_name/LEGGIMI.txt" "$unpacked/msi/Norvana/LEGGIMI.txt"; do
    grep -q "^ *ProductCode  $code " "$text" || fail "${text#"$out"/} does not give the MSI's ProductCode $code"
done
[ "$(noted_hash "${msi##*/}")" = "$(sha "$msi")" ] || fail "the note's SHA-256 of ${msi##*/} is not the file's"
[ "$(noted_hash "$zip_name.zip")" = "$(sha "$out/$zip_name.zip")" ] || fail "the note's SHA-256 of the zip is not the file's"
for exe in "$unpacked/msi/Norvana/Norvana.exe" "$unpacked/zip/$zip_name/Norvana.exe"; do
    [ "$(noted_hash Norvana.exe)" = "$(sha "$exe")" ] || fail "the note's SHA-256 of Norvana.exe is not that of ${exe#"$out"/}"
done
echo "the note's and LEGGIMI.txt's ProductCode $code, and the note's SHA-256, are those of the files"

echo "== signing, with a throwaway certificate"
signed=$out/signed
rm -rf "$signed" && mkdir -p "$signed/certificate"
(
    cd "$signed/certificate"
    openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 -subj "/CN=Norvana test CA" \
        -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign" 2>/dev/null
    openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr \
        -subj "/O=$maintainer/CN=Norvana test signer" 2>/dev/null
    printf '%s\n' basicConstraints=CA:FALSE keyUsage=critical,digitalSignature extendedKeyUsage=codeSigning >signer.ext
    openssl x509 -req -in signer.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 2 -extfile signer.ext \
        -out signer.pem 2>/dev/null
    echo 'a "pass" & ^word%' >password
    openssl pkcs12 -export -inkey signer.key -in signer.pem -passout file:password -out signer.p12
)
cp "$out/Norvana.exe" "$signed/"
NORVANA_SIGN_PKCS12=$signed/certificate/signer.p12 NORVANA_SIGN_PASSWORD_FILE=$signed/certificate/password \
NORVANA_SIGN_TIMESTAMP='' "$root/scripts/package-windows.sh" "$signed" "$qt" "$info" >"$signed/package.log" \
    || { cat "$signed/package.log"; fail "packing with a certificate failed"; }
grep -q '^Firma Authenticode .*Norvana test signer' "$signed/Norvana-$version-IT.txt" \
    || fail "the note does not name the signer"
unpacked=$signed/unpacked
mkdir -p "$unpacked"
msiextract -C "$unpacked/msi" "$signed/Norvana-$version-x64.msi" >/dev/null
unzip -q -d "$unpacked/zip" "$signed/Norvana-$version-win64.zip"
verify() { osslsigncode verify -CAfile "$signed/certificate/ca.pem" -in "$1" >"$signed/verify-$2.txt" 2>&1; }
for place in Norvana.exe "Norvana-$version-x64.msi" "unpacked/zip/Norvana-$version-win64/Norvana.exe" \
             unpacked/msi/Norvana/Norvana.exe; do
    name=$(tr '/ ' '--' <<<"$place")
    verify "$signed/$place" "$name" || { cat "$signed/verify-$name.txt"; fail "$place: the signature does not verify"; }
    echo "$place: $(grep -m1 'Signature verification' "$signed/verify-$name.txt")"
done
cp "$signed/Norvana.exe" "$signed/changed.exe"
offset=$(( $(stat -c %s "$signed/changed.exe") / 2 ))
byte=$(od -An -tu1 -j "$offset" -N1 "$signed/changed.exe" | tr -d ' ')
printf "\\x$(printf %02x $(( byte ^ 1 )))" | dd of="$signed/changed.exe" bs=1 seek="$offset" conv=notrunc status=none
! verify "$signed/changed.exe" changed || fail "Norvana.exe verifies with byte $offset changed"
echo "Norvana.exe with byte $offset changed: $(grep -m1 'Signature verification' "$signed/verify-changed.txt")"

echo "== the bill of materials"
for dir in "$out" "$signed"; do
    sbom=$dir/Norvana-$version-sbom.cdx.json
    "$root/tests/packaging/check_sbom.py" windows "$sbom" "$dir/Norvana.exe" "$version" \
        "$(dirname "$info")/Norvana.exe.map" "$qt" || fail "the bill of materials in $dir"
    unzip -p "$dir/Norvana-$version-win64.zip" "Norvana-$version-win64/${sbom##*/}" | cmp -s - "$sbom" \
        || fail "the zip in $dir holds another bill of materials"
done

echo "== the MSI under Wine's msiexec"
logs=$out/msi-logs
rm -rf "$logs" && mkdir -p "$logs"
c=$WINEPREFIX/drive_c
# Every Programs and Features entry named Norvana: key, then NAME=VALUE lines.
entries() {
    wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null | tr -d '\r' | awk '
        /^HKEY_/ { key = $0; sub(/.*\\/, "", key); next }
        /^    [^ ]/ { line = $0; sub(/^ +/, "", line); name = line; sub(/ .*/, "", name)
                     sub(/^[^ ]+ +[^ ]+ */, "", line); value[key, name] = line; keys[key] = 1 }
        END { for (k in keys) if (value[k, "DisplayName"] == "Norvana")
                  printf "%s %s\n", k, value[k, "DisplayVersion"] }'
}
entry_value() {
    wine reg query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$1" /v "$2" 2>/dev/null \
        | tr -d '\r' | sed -n "s/^    $2 \+REG_[A-Z_]\+ *//p"
}
# msiexec with a verbose log: the log's name, the status expected, arguments.
# A Unix status keeps the low 8 bits of Windows' exit code: 1603 reads 67.
run_msiexec() {
    local log=$logs/$1 expected=$2 status=0
    shift 2
    wine msiexec "$@" /l*v "$(winepath -w "$log")" || status=$?
    [ "$status" = $((expected % 256)) ] || fail "msiexec $* ended with status $status, not $expected (log: $log)"
    echo "msiexec $*: status $expected"
}
expect_entries() {
    local got
    got=$(entries)
    echo "Programs and Features: ${got:-no Norvana entry}"
    [ "$got" = "$1" ] || fail "expected the entries \"$1\""
}

before=$(find "$c" -ipath '*norvana*' | sort)
code_this=$(product_code "$msi")
run_msiexec 1-install-$version.log 0 /i "$(winepath -w "$msi")" /qn /norestart
# Wine's msiexec puts the shortcut into the user's Start menu, where
# Windows puts a per-machine package's into the common one.
shortcut=$(find "$c" -path '*/Start Menu/Programs/Norvana.lnk' | head -1)
[ -n "$shortcut" ] || fail "msiexec /i made no Start-menu shortcut"
strings -el "$shortcut" | grep -q 'norvana\.ico$' || fail "the Start-menu shortcut has no icon"
cmp -s "$c/Program Files/Norvana/Norvana.exe" "$out/Norvana.exe" || fail "the installed Norvana.exe differs"
expect_entries "$code_this $version"
for check in "Publisher=$maintainer" "InstallLocation=C:\\Program Files\\Norvana\\" "HelpLink=mailto:$contact" \
             "Comments=$description" "Contact=$contact"; do
    name=${check%%=*}
    value=$(entry_value "$code_this" "$name")
    [ "$value" = "${check#*=}" ] || fail "the entry's $name is \"$value\", not \"${check#*=}\""
    echo "  $name: $value"
done

# The next patch release (1.0.1 after 1.0.0), its version as CMake makes it,
# packed twice of the same files: a later version, and a rebuild of it.
IFS=. read -r major minor patch _ <<<"$project_version"
next=$(cmake -DVERSION="$major.$minor.$((patch + 1))" -P "$root/cmake/NorvanaVersion.cmake" 2>&1)
upgrade=$out/upgrade
rm -rf "$upgrade"
for build in "$next" "$next-rebuild"; do
    mkdir -p "$upgrade/$build"
    cp "$out/Norvana.exe" "$upgrade/$build/"
    "$root/scripts/package-windows.sh" "$upgrade/$build" "$qt" "$info" "$next" >"$upgrade/$build/package.log"
done
msi_next=$upgrade/$next/Norvana-$next-x64.msi
code_next=$(product_code "$msi_next")
[ "$code_next" = "$(product_code "$upgrade/$next-rebuild/Norvana-$next-x64.msi")" ] \
    || fail "two builds of $next have different product codes"
[ "$code_next" != "$code_this" ] || fail "$version and $next have the same product code"

run_msiexec "2-upgrade-$next.log" 0 /i "$(winepath -w "$msi_next")" /qn /norestart
expect_entries "$code_next $next"
# Refused by the launch condition: the patch release found as a later version.
run_msiexec 3-downgrade-$version.log 1603 /i "$(winepath -w "$msi")" /qn /norestart
grep -q "WIX_DOWNGRADE_DETECTED = $code_next" "$logs/3-downgrade-$version.log" \
    || fail "the log of $version over $next does not find $next as a later version"
refusal=$(msiinfo export "$msi" LaunchCondition | tr -d '\r' | sed -n 's/^NOT WIX_DOWNGRADE_DETECTED\t//p')
[ -n "$refusal" ] || fail "the MSI has no downgrade message"
echo "  log: WIX_DOWNGRADE_DETECTED = $code_next; the launch condition's message: $refusal"
expect_entries "$code_next $next"
status=0
wine msiexec /i "$(winepath -w "$upgrade/$next-rebuild/Norvana-$next-x64.msi")" /qn /norestart \
    /l*v "$(winepath -w "$logs/4-rebuild-$next.log")" || status=$?
echo "msiexec /i of a second build of $next: status $status"
expect_entries "$code_next $next"

run_msiexec "5-remove-$next.log" 0 /x "$code_next" /qn
expect_entries ""
after=$(find "$c" -ipath '*norvana*' | sort)
[ "$after" = "$before" ] || fail "msiexec /x left: $(comm -13 <(echo "$before") <(echo "$after"))"
! wine reg query 'HKLM\Software\Norvana' >/dev/null 2>&1 || fail "msiexec /x left HKLM\Software\Norvana"
echo "uninstalled: nothing left"
