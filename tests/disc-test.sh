#!/usr/bin/env bash
# usage: tests/disc-test.sh SOURCE-DIR BIN-DIR SHIPPED-EXE
# The disc image end to end: its contents, reproducibility, signing, the
# customisation checks, and a launcher run from an extracted image under Wine.
set -uo pipefail
src=$1 bin=$2 shipped=$3
work=$(mktemp -d "$bin/../disc-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/checks.sh"
make_disc() { "$src/scripts/make-disc" "$@" >/dev/null; }
# What a Windows reader sees: the Joliet names.
joliet_files() { xorriso -rockridge off -indev "$1" -find / -type f 2>/dev/null | tr -d "'" | sort | tr '\n' ' '; }
has_joliet() { python3 -c "
import sys
with open(sys.argv[1], 'rb') as f:
    for sector in range(16, 32):
        f.seek(sector * 2048); d = f.read(2048)
        if d[0] == 2 and d[1:6] == b'CD001' and d[88:90] == b'%/': sys.exit(0)
        if d[0] == 255: break
sys.exit(1)" "$1"; }

manual=$bin/Install.pdf
setup=$bin/fake_setup.exe

# The shipped launcher's image.
image=$work/Autorun.iso
make_disc "$image" ZENTOVARIK "$shipped" "$setup" "$manual"
[ "$(joliet_files "$image")" = "/Autorun.exe /Install.pdf /Setup.exe /autorun.inf " ] &&
    ok "holds Autorun.exe, Setup.exe, Install.pdf and autorun.inf" ||
    bad "holds Autorun.exe, Setup.exe, Install.pdf and autorun.inf: $(joliet_files "$image")"
check "has Joliet names" has_joliet "$image"
[ "$(xorriso -indev "$image" -pvd_info 2>/dev/null | sed -n "s/^Volume Id *: //p")" = ZENTOVARIK ] &&
    ok "volume label" || bad "volume label"
mkdir "$work/x"
osirrox -indev "$image" -extract / "$work/x" >/dev/null 2>&1
# autorun.inf is UTF-16, little-endian after its byte-order mark.
[ "$(utf16_text "$work/x/autorun.inf")" = "$(printf '[autorun]\r\nopen=Autorun.exe\r\nicon=Autorun.exe,0\r\nlabel=ZENTOVARIK\r')" ] &&
    ok "autorun.inf (UTF-16) opens Autorun.exe with its icon" || bad "autorun.inf: $(od -c "$work/x/autorun.inf" | head -n 4)"
check "Autorun.exe is the shipped launcher, unsigned" cmp "$work/x/Autorun.exe" "$shipped"
check "Setup.exe and Install.pdf as given" bash -c "cmp '$work/x/Setup.exe' '$setup' && cmp '$work/x/Install.pdf' '$manual'"

# Reproducible: the same inputs, the same bytes.
make_disc "$work/again.iso" ZENTOVARIK "$shipped" "$setup" "$manual"
check "two builds give the same bytes" cmp "$image" "$work/again.iso"

# A missing payload stops the image with its name.
message=$("$src/scripts/make-disc" "$work/none.iso" L "$shipped" "$work/NoSetup.exe" "$manual" 2>&1)
[[ $? -ne 0 && "$message" == *"installer '$work/NoSetup.exe': no such file"* ]] &&
    ok "a missing payload is named" || bad "a missing payload is named: $message"

# Signing with a throwaway certificate (tests/signing-test.sh tries every way
# of signing and its failures).
openssl req -x509 -newkey rsa:2048 -nodes -subj "/CN=Autorun test signer" -days 2 \
    -keyout "$work/key.pem" -out "$work/cert.pem" >/dev/null 2>&1
verify() { osslsigncode verify -CAfile "$work/cert.pem" -in "$1"; }
check "the check finds no signature on an unsigned launcher" bash -c "! osslsigncode verify -CAfile '$work/cert.pem' -in '$work/x/Autorun.exe'"
AUTORUN_SIGN_CERT=$work/cert.pem AUTORUN_SIGN_KEY=$work/key.pem \
    make_disc "$work/signed.iso" ZENTOVARIK "$shipped" "$setup" "$manual"
mkdir "$work/signed"
osirrox -indev "$work/signed.iso" -extract /Autorun.exe "$work/signed/Autorun.exe" >/dev/null 2>&1
check "signed with a certificate and key: the signature verifies" verify "$work/signed/Autorun.exe"
check "the signed launcher's PE header is as built (flags, versions, checksum)" "$src/scripts/pe-header" check "$work/signed/Autorun.exe"
AUTORUN_SIGN_CERT=$work/cert.pem AUTORUN_SIGN_KEY=$work/key.pem \
    make_disc "$work/signed-again.iso" ZENTOVARIK "$shipped" "$setup" "$manual"
check "signed images are reproducible too" cmp "$work/signed.iso" "$work/signed-again.iso"
# The customisation checks: each bad input fails with its own message (the
# picture's and the icon's: tests/artwork-test.sh).
inputs() { cmake -DAUTORUN_BACKGROUND="$src/res/background.bmp" -DAUTORUN_ICON="$src/res/Autorun.ico" \
    -DAUTORUN_VERSION="${V:-5.2.0.0}" -DAUTORUN_VOLUME_LABEL="${L:-ZENTOVARIK}" -DAUTORUN_SETUP="${S:-}" \
    -DAUTORUN_GENERATED="$work/generated" -P "$src/cmake/DiscInputs.cmake" 2>&1; }
while IFS='|' read -r name vars expected; do
    # CMake wraps long messages; join the lines back.
    output=$(env $vars bash -c "$(declare -f inputs); src='$src' work='$work' inputs" | tr -s ' \n' '  ')
    [[ "$output" == *"$expected"* ]] && ok "bad input, $name" || bad "bad input, $name: $output"
done <<CASES
version has three parts|V=5.2.0|version '5.2.0': must be four numbers such as 5.2.0.0
version is not numeric|V=5.x.0.0|version '5.x.0.0': must be four numbers such as 5.2.0.0
version part is too large|V=5.2.0.65536|version '5.2.0.65536': 65536 is larger than 65535
installer is missing|S=$work/none.exe|installer '$work/none.exe': no such file
volume label has lower case|L=Zentovarik|AUTORUN_VOLUME_LABEL 'Zentovarik': only A-Z, 0-9 and _ are allowed (ISO 9660 d-characters)
volume label has a dot|L=ZENTO_VARIK_5.2|AUTORUN_VOLUME_LABEL 'ZENTO_VARIK_5.2': only A-Z, 0-9 and _ are allowed
volume label is too long for Joliet|L=ZENTOVARIK_SUITE_5|AUTORUN_VOLUME_LABEL 'ZENTOVARIK_SUITE_5': 18 characters, at most 16 fit Joliet's label
CASES
output=$(inputs)
[ -z "$output" ] && ok "the default inputs pass" || bad "the default inputs pass: $output"

output=$(cmake -S "$src" -B "$work/badconf" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-toolchain.cmake" \
    -DAUTORUN_BUILD_TESTS=OFF -DAUTORUN_VERSION=5.2 2>&1 | tr -s ' \n' '  ')
[[ $? -ne 0 && "$output" == *"version '5.2': must be four numbers such as 5.2.0.0"* ]] &&
    ok "configuring with a bad input stops" || bad "configuring with a bad input stops: $output"

# The launcher run from an extracted, signed image: the install button starts
# the image's Setup.exe. (The Wine build of the launcher, which passes the
# locale gate here.)
AUTORUN_SIGN_CERT=$work/cert.pem AUTORUN_SIGN_KEY=$work/key.pem \
    make_disc "$work/wine.iso" ZENTOVARIK "$bin/Autorun-wine.exe" "$setup" "$manual"
mkdir "$work/disc"
osirrox -indev "$work/wine.iso" -extract / "$work/disc" >/dev/null 2>&1
check "the Wine build on that image is signed" verify "$work/disc/Autorun.exe"
folder=$("$src/scripts/windows-path" "$work/disc")
if AUTORUN_TEST_EXTRACTED_DISC=$folder "$src/scripts/wine" "$bin/e2e_tests.exe" \
        --gtest_filter=ExtractedDiscTest.* >"$work/e2e.log" 2>&1 &&
   grep -q '\[  PASSED  \] 1 test' "$work/e2e.log"; then
    ok "the extracted launcher starts the extracted Setup.exe"
else
    bad "the extracted launcher starts the extracted Setup.exe"; cat "$work/e2e.log"
fi

finish
