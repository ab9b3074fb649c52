#!/usr/bin/env bash
# usage: tests/signing-test.sh SOURCE-DIR BIN-DIR SHIPPED-EXE
# Signing the launcher on the disc, for real: a throwaway root, intermediate and
# signer made here with openssl, a time-stamping authority answering on the
# loopback address, and a SoftHSM2 token holding the key. Then the AutoPlay
# label, the release gate and every bad input's one line.
set -uo pipefail
src=$1 bin=$2 shipped=$3
work=$(mktemp -d "$bin/../signing-test.XXXXXX")
authority=
cleanup() {
    [ -z "$authority" ] || kill "$authority" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
. "$(dirname "$0")/checks.sh"
# make-disc's output; the settings (NAME=value) come before its arguments.
disc() {
    local vars=()
    while [[ $1 == *=* ]]; do vars+=("$1"); shift; done
    env "${vars[@]}" "$src/scripts/make-disc" "$@" 2>&1
}
extract() { rm -f "$2"; osirrox -indev "$1" -extract "/${3:-Autorun.exe}" "$2" >/dev/null 2>&1; }
# Expects make-disc to fail with a line holding the given text and to leave no image.
expect_refusal() {
    local what=$1 expected=$2 output
    shift 2
    : >"$work/refused.iso"  # an image from before, which must not survive
    output=$(env "$@" "$src/scripts/make-disc" "$work/refused.iso" ZENTOVARIK "$shipped" "$setup" "$manual" 2>&1)
    local status=$?
    if [[ $status -ne 0 && "$output" == *"$expected"* && ! -e "$work/refused.iso" ]] &&
       [ -z "$(find "$work" -maxdepth 1 -name 'disc-stage.*')" ]; then
        ok "refused: $what"
    else
        bad "refused: $what (exit $status): $output"
    fi
}

setup=$bin/fake_setup.exe
manual=$bin/Install.pdf
pki=$work/pki
mkdir -p "$pki"
cd "$pki" || exit 1

# The PKI: a root, an intermediate that issues the signer (valid one day), and
# a time-stamping authority under the root.
cat >ext.cnf <<'EOF'
[ca]
basicConstraints=critical,CA:TRUE
keyUsage=critical,keyCertSign,cRLSign
subjectKeyIdentifier=hash
[signer]
basicConstraints=critical,CA:FALSE
keyUsage=critical,digitalSignature
extendedKeyUsage=codeSigning
subjectKeyIdentifier=hash
authorityKeyIdentifier=keyid
[tsa]
basicConstraints=critical,CA:FALSE
keyUsage=critical,digitalSignature
extendedKeyUsage=critical,timeStamping
subjectKeyIdentifier=hash
authorityKeyIdentifier=keyid
EOF
cat >ts.cnf <<'EOF'
[tsa]
default_tsa = authority
[authority]
serial = ./tsaserial
signer_digest = sha256
default_policy = 1.2.3.4.1
digests = sha256
accuracy = secs:1
ess_cert_id_alg = sha256
EOF
echo 01 >tsaserial
issue() {  # name subject issuer days extensions
    openssl req -newkey rsa:2048 -nodes -subj "/CN=$2" -keyout "$1.key" -out "$1.csr" &&
    openssl x509 -req -in "$1.csr" -CA "$3.pem" -CAkey "$3.key" -CAcreateserial -days "$4" \
        -extfile ext.cnf -extensions "$5" -out "$1.pem"
} >/dev/null 2>&1
openssl req -x509 -newkey rsa:2048 -nodes -subj "/CN=Autorun test root" -days 3650 -keyout root.key -out root.pem \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" >/dev/null 2>&1
issue intermediate "Autorun test intermediate" root 3650 ca
issue signer "Autorun test signer" intermediate 1 signer
issue tsa "Autorun test time-stamping authority" root 3650 tsa
cat signer.pem intermediate.pem >chain.pem
printf 'test-secret-4711' >password
openssl pkey -in signer.key -aes256 -passout file:password -out signer-encrypted.key 2>/dev/null
openssl pkcs12 -export -inkey signer.key -in signer.pem -certfile intermediate.pem -passout file:password \
    -out signer.p12 2>/dev/null
printf 'wrong' >wrong-password

"$src/tests/tsa-responder.py" "$pki" "$pki/port" &
authority=$!
for _ in $(seq 50); do [ -s port ] && break; sleep 0.1; done
tsa_url=http://127.0.0.1:$(cat port)
replies() { [ -f replies ] && wc -l <replies || echo 0; }

# Verifies against the root alone (so the intermediate must be in the
# signature), now or at a given time.
verify() { osslsigncode verify -CAfile "$pki/root.pem" -TSA-CAfile "$pki/root.pem" ${2:+-time "$2"} -in "$1"; }
after_expiry=$(( $(date +%s) + 5 * 86400 ))

# A signature with the chain, and one with a time-stamp: after the signer's
# certificate has expired only the time-stamped one still verifies.
plain=(AUTORUN_SIGN_CERT=$pki/chain.pem AUTORUN_SIGN_KEY=$pki/signer.key)
disc "${plain[@]}" "$work/plain.iso" ZENTOVARIK "$shipped" "$setup" "$manual" >/dev/null
extract "$work/plain.iso" "$work/plain.exe"
check "signed with a key file and the chain: verifies against the root alone" verify "$work/plain.exe"
osslsigncode verify -CAfile "$pki/root.pem" -time "$after_expiry" -in "$work/plain.exe" >"$work/expired.log" 2>&1
[[ $? -ne 0 ]] && grep -q "certificate has expired" "$work/expired.log" &&
    ok "without a time-stamp, the signature fails once the certificate has expired" ||
    bad "without a time-stamp, the signature fails once the certificate has expired: $(tail -n 3 "$work/expired.log")"

stamped=("${plain[@]}" AUTORUN_SIGN_TIMESTAMP_URL=$tsa_url AUTORUN_SIGN_CACHE=$work/cache)
output=$(disc "${stamped[@]}" "$work/stamped.iso" ZENTOVARIK "$shipped" "$setup" "$manual")
extract "$work/stamped.iso" "$work/stamped.exe"
check "time-stamped by the authority: verifies" verify "$work/stamped.exe"
check "time-stamped: still verifies after the certificate has expired" verify "$work/stamped.exe" "$after_expiry"
[[ "$output" == *"signed and time-stamped"* ]] && ok "says it time-stamped" || bad "says it time-stamped: $output"
check "the time-stamped launcher's PE header is as built" "$src/scripts/pe-header" check "$work/stamped.exe"

asked=$(replies)
disc "${stamped[@]}" "$work/stamped-again.iso" ZENTOVARIK "$shipped" "$setup" "$manual" >/dev/null
check "a rebuild with a time-stamp gives the same bytes" cmp "$work/stamped.iso" "$work/stamped-again.iso"
[ "$(replies)" -eq "$asked" ] && ok "... without asking the authority again" ||
    bad "... without asking the authority again: $asked replies before, $(replies) after"
disc "${stamped[@]}" "$work/other.iso" ZENTOVARIK "$bin/Autorun-wine.exe" "$setup" "$manual" >/dev/null
extract "$work/other.iso" "$work/other.exe"
[ "$(replies)" -eq $((asked + 1)) ] && verify "$work/other.exe" >/dev/null 2>&1 &&
    ok "a changed launcher gets a new signature and time-stamp" || bad "a changed launcher gets a new signature and time-stamp"

# Password-protected keys, the password read from its file.
for kind in key pkcs12; do
    if [ "$kind" = key ]; then
        signer=(AUTORUN_SIGN_CERT=$pki/chain.pem AUTORUN_SIGN_KEY=$pki/signer-encrypted.key)
    else
        signer=(AUTORUN_SIGN_PKCS12=$pki/signer.p12)
    fi
    disc "${signer[@]}" AUTORUN_SIGN_PASSWORD_FILE="$pki/password" \
        "$work/$kind.iso" ZENTOVARIK "$shipped" "$setup" "$manual" >/dev/null
    extract "$work/$kind.iso" "$work/$kind.exe"
    check "signed with an encrypted $kind and AUTORUN_SIGN_PASSWORD_FILE: verifies with the chain" verify "$work/$kind.exe"
done

# A hardware key: a SoftHSM2 token made here, holding the signer's key.
export SOFTHSM2_CONF=$pki/softhsm2.conf
mkdir "$pki/tokens"
printf 'directories.tokendir = %s\nobjectstore.backend = file\nlog.level = ERROR\n' "$pki/tokens" >"$SOFTHSM2_CONF"
printf '246810' >pin
softhsm2-util --init-token --free --label autorun-test --pin 246810 --so-pin 13579 >/dev/null 2>&1 &&
    softhsm2-util --import signer.key --token autorun-test --label signer --id 01 --pin 246810 >/dev/null 2>&1 ||
    bad "making the SoftHSM2 token"
module=/usr/lib/softhsm/libsofthsm2.so
token=(AUTORUN_SIGN_CERT=$pki/chain.pem AUTORUN_SIGN_PKCS11_MODULE=$module
       "AUTORUN_SIGN_PKCS11_KEY=pkcs11:token=autorun-test;object=signer;type=private")
output=$(disc "${token[@]}" AUTORUN_SIGN_PASSWORD_FILE="$pki/pin" AUTORUN_SIGN_TIMESTAMP_URL="$tsa_url" \
    "$work/token.iso" ZENTOVARIK "$shipped" "$setup" "$manual")
extract "$work/token.iso" "$work/token.exe"
check "signed on the token (PKCS#11) with a time-stamp: verifies" verify "$work/token.exe"
check "... and after the certificate has expired" verify "$work/token.exe" "$after_expiry"

# The release gate, and the warning about an unsigned Setup.exe.
expect_refusal "an unsigned image under AUTORUN_REQUIRE_SIGNATURE" \
    "AUTORUN_REQUIRE_SIGNATURE is ON, but no signer is set" AUTORUN_REQUIRE_SIGNATURE=ON
output=$(disc "${plain[@]}" AUTORUN_REQUIRE_SIGNATURE=ON "$work/gate.iso" ZENTOVARIK "$shipped" "$setup" "$manual")
[[ -f "$work/gate.iso" ]] && ok "a signed image passes AUTORUN_REQUIRE_SIGNATURE" ||
    bad "a signed image passes AUTORUN_REQUIRE_SIGNATURE: $output"
[[ $(grep -c "warning: Setup.exe carries no Authenticode signature" <<<"$output") -eq 1 ]] &&
    ok "an unsigned Setup.exe gets one warning line" || bad "an unsigned Setup.exe gets one warning line: $output"
osslsigncode sign -certs chain.pem -key signer.key -h sha256 -in "$setup" -out "$work/SignedSetup.exe" >/dev/null 2>&1
output=$(disc "$work/signed-setup.iso" ZENTOVARIK "$shipped" "$work/SignedSetup.exe" "$manual")
[[ "$output" != *"warning"* ]] && ok "a signed Setup.exe gets none" || bad "a signed Setup.exe gets none: $output"

# The AutoPlay label, in UTF-16 beside open= and icon=.
disc AUTORUN_AUTOPLAY_LABEL="ゾルタニカ ZENTOVARIK" "$work/label.iso" ZENTOVARIK "$shipped" "$setup" "$manual" >/dev/null
extract "$work/label.iso" "$work/autorun.inf" autorun.inf
[ "$(utf16_text "$work/autorun.inf")" = "$(printf '[autorun]\r\nopen=Autorun.exe\r\nicon=Autorun.exe,0\r\nlabel=ゾルタニカ ZENTOVARIK\r')" ] &&
    ok "autorun.inf carries the Japanese AutoPlay label, in UTF-16 with its byte-order mark" ||
    bad "autorun.inf carries the Japanese AutoPlay label: $(od -c "$work/autorun.inf" | head -n 5)"
disc AUTORUN_AUTOPLAY_LABEL="ゾルタニカ ZENTOVARIK INSTALL DISC 52" "$work/label32.iso" ZENTOVARIK "$shipped" "$setup" "$manual" >/dev/null
check "a label of exactly 32 characters is taken" test -f "$work/label32.iso"

# Every bad input: one line naming the setting, no image, no half-signed exe.
while IFS='|' read -r what expected settings; do
    eval "vars=($settings)"
    expect_refusal "$what" "$expected" "${vars[@]}"
done <<CASES
AutoPlay label of 33 characters|AUTORUN_AUTOPLAY_LABEL 'ゾルタニカ ZENTOVARIK INSTALL DISC 520': has 33 characters, at most 32|AUTORUN_AUTOPLAY_LABEL='ゾルタニカ ZENTOVARIK INSTALL DISC 520'
AutoPlay label with a line break|AUTORUN_AUTOPLAY_LABEL|AUTORUN_AUTOPLAY_LABEL=\$'ゾルタニカ\nopen=evil.exe'
AutoPlay label with =|has '=' or ';'|AUTORUN_AUTOPLAY_LABEL='A=B'
AutoPlay label with ;|has '=' or ';'|AUTORUN_AUTOPLAY_LABEL='A;B'
an unreadable key|AUTORUN_SIGN_KEY '$pki/missing.key': cannot be read|AUTORUN_SIGN_CERT=$pki/chain.pem AUTORUN_SIGN_KEY=$pki/missing.key
a key that is no key|AUTORUN_SIGN_KEY '$manual': not a private key|AUTORUN_SIGN_CERT=$pki/chain.pem AUTORUN_SIGN_KEY=$manual
a key's wrong password|AUTORUN_SIGN_PASSWORD_FILE does not hold its password|AUTORUN_SIGN_CERT=$pki/chain.pem AUTORUN_SIGN_KEY=$pki/signer-encrypted.key AUTORUN_SIGN_PASSWORD_FILE=$pki/wrong-password
a PKCS#12 file's wrong password|AUTORUN_SIGN_PKCS12 '$pki/signer.p12': not a PKCS#12 file, or AUTORUN_SIGN_PASSWORD_FILE|AUTORUN_SIGN_PKCS12=$pki/signer.p12 AUTORUN_SIGN_PASSWORD_FILE=$pki/wrong-password
a missing password file|AUTORUN_SIGN_PASSWORD_FILE '$pki/none': cannot be read|AUTORUN_SIGN_PKCS12=$pki/signer.p12 AUTORUN_SIGN_PASSWORD_FILE=$pki/none
a certificate that is no certificate|AUTORUN_SIGN_CERT '$manual': not a PEM certificate|AUTORUN_SIGN_CERT=$manual AUTORUN_SIGN_KEY=$pki/signer.key
a key without its certificate|AUTORUN_SIGN_CERT: not set|AUTORUN_SIGN_KEY=$pki/signer.key
the token's wrong PIN|AUTORUN_SIGN_PASSWORD_FILE '$pki/wrong-password': the token refused that PIN|AUTORUN_SIGN_CERT=$pki/chain.pem AUTORUN_SIGN_PKCS11_MODULE=$module 'AUTORUN_SIGN_PKCS11_KEY=pkcs11:token=autorun-test;object=signer;type=private' AUTORUN_SIGN_PASSWORD_FILE=$pki/wrong-password
a key the token lacks|AUTORUN_SIGN_PKCS11_KEY 'pkcs11:token=autorun-test;object=nobody;type=private': no such key on the token|AUTORUN_SIGN_CERT=$pki/chain.pem AUTORUN_SIGN_PKCS11_MODULE=$module 'AUTORUN_SIGN_PKCS11_KEY=pkcs11:token=autorun-test;object=nobody;type=private' AUTORUN_SIGN_PASSWORD_FILE=$pki/pin
a module that is not PKCS#11|AUTORUN_SIGN_PKCS11_MODULE '/lib/x86_64-linux-gnu/libc.so.6': not a PKCS#11 module|AUTORUN_SIGN_CERT=$pki/chain.pem AUTORUN_SIGN_PKCS11_MODULE=/lib/x86_64-linux-gnu/libc.so.6 'AUTORUN_SIGN_PKCS11_KEY=pkcs11:token=autorun-test;object=signer' AUTORUN_SIGN_PASSWORD_FILE=$pki/pin
the token without a PIN file|AUTORUN_SIGN_PASSWORD_FILE: not set; the token's PIN is read from it|AUTORUN_SIGN_CERT=$pki/chain.pem AUTORUN_SIGN_PKCS11_MODULE=$module 'AUTORUN_SIGN_PKCS11_KEY=pkcs11:token=autorun-test;object=signer;type=private'
a token key without its module|AUTORUN_SIGN_PKCS11_MODULE: not set|AUTORUN_SIGN_CERT=$pki/chain.pem 'AUTORUN_SIGN_PKCS11_KEY=pkcs11:token=autorun-test;object=signer'
an unreachable authority|AUTORUN_SIGN_TIMESTAMP_URL 'http://127.0.0.1:1': no time-stamp came from it|${plain[*]} AUTORUN_SIGN_TIMESTAMP_URL=http://127.0.0.1:1
a Japanese description|AUTORUN_SIGN_DESCRIPTION 'ゾルタニカ': not ASCII|${plain[*]} AUTORUN_SIGN_DESCRIPTION=ゾルタニカ
an authority that answers no time-stamps|AUTORUN_SIGN_TIMESTAMP_URL '$tsa_url/none': no time-stamp came from it|${plain[*]} AUTORUN_SIGN_TIMESTAMP_URL=$tsa_url/none
CASES

# A product's own build, configured as a release manager would: version
# 7.3.0.0, a PKCS#12 signer whose password is in a file, a time-stamp, the
# release gate. Its image is signed, its launcher's version resource (so its
# label) is 7.3, its AutoPlay label the default; and the password is neither
# in the cache nor anywhere in the build tree nor on any signing tool's
# command line (each call is recorded by a stand-in that then runs the tool).
custom=$work/custom tools=$work/tools
mkdir "$tools"
for tool in osslsigncode openssl; do
    printf '#!/bin/sh\nprintf "%%s\\n" "$0 $*" >>"%s"\nexec /usr/bin/%s "$@"\n' "$work/arguments.log" "$tool" \
        >"$tools/$tool"
    chmod +x "$tools/$tool"
done
if cmake -S "$src" -B "$custom" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-toolchain.cmake" \
        -DAUTORUN_ARCH=i686 -DAUTORUN_BUILD_TESTS=OFF -DAUTORUN_VERSION=7.3.0.0 \
        -DAUTORUN_SIGN_PKCS12="$pki/signer.p12" -DAUTORUN_SIGN_PASSWORD_FILE="$pki/password" \
        -DAUTORUN_SIGN_TIMESTAMP_URL="$tsa_url" -DAUTORUN_REQUIRE_SIGNATURE=ON >"$work/custom.log" 2>&1 &&
   PATH=$tools:$PATH cmake --build "$custom" --target disc >>"$work/custom.log" 2>&1; then
    ok "a release build configured with a signer, a password file and a time-stamp makes its disc"
else
    bad "a release build configured with a signer, a password file and a time-stamp makes its disc"
    tail -n 20 "$work/custom.log"
fi
extract "$custom/Autorun.iso" "$work/release.exe"
check "... whose launcher verifies, time-stamped, after the certificate has expired" \
    verify "$work/release.exe" "$after_expiry"
# (Decompiled to a file: piped into grep -q, windres could be cut off
# mid-write and fail the pipeline.)
i686-w64-mingw32-windres -i "$custom/bin/Autorun.exe" -O rc -o "$work/release.rc" >>"$work/custom.log" 2>&1
check "... whose version 7.3.0.0 is the launcher's product version (its label reads Ver.7)" \
    grep -q 'PRODUCTVERSION 7, 3, 0, 0' "$work/release.rc"
extract "$custom/Autorun.iso" "$work/release.inf" autorun.inf
[[ "$(utf16_text "$work/release.inf")" == *"label=ゾルタニカ ZENTOVARIK"* ]] && ok "... with the default AutoPlay label" ||
    bad "... with the default AutoPlay label: $(utf16_text "$work/release.inf")"
secret=$(cat "$pki/password")
grep -q osslsigncode "$work/arguments.log" 2>/dev/null && ! grep -qF "$secret" "$work/arguments.log" &&
    ok "no signing tool had the password on its command line" ||
    bad "no signing tool had the password on its command line: $(cat "$work/arguments.log" 2>/dev/null)"
leaks=$(grep -rlF "$secret" "$custom" 2>/dev/null)
[ -z "$leaks" ] && ok "the password is nowhere in the build tree, its cache included" ||
    bad "the password is nowhere in the build tree: $leaks"
output=$(cmake -S "$src" -B "$work/old-way" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-toolchain.cmake" \
    -DAUTORUN_BUILD_TESTS=OFF -DAUTORUN_SIGN_PASSWORD="$secret" 2>&1 | tr -s ' \n' '  ')
[[ "$output" == *"AUTORUN_SIGN_PASSWORD: not read, and removed from the cache"* ]] &&
    ! grep -qF "$secret" "$work/old-way/CMakeCache.txt" 2>/dev/null &&
    ok "a password given in the cache stops the configure and leaves the cache" ||
    bad "a password given in the cache stops the configure and leaves the cache: $output"

cd "$src" || exit 1
finish
