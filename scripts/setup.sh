#!/usr/bin/env bash
# Installs what the build and the tests need; a no-op when everything is present.
# The 64-bit compiler and Wine serve machines that cannot execute 32-bit code
# (see scripts/host-arch). Works on a minimal Debian 12 or 13 as it is: every
# tool the build, make run, make test, make disc and make bench call is named
# here, python3 included, and no release is pinned (pinning breaks as soon as a
# security update moves an amd64 library ahead of its i386 twin).
set -euo pipefail

packages=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine32:i386 wine64 xvfb xdotool x11-utils
          fonts-ipafont-gothic fonts-wine fonts-dejavu-core googletest imagemagick cmake make locales
          xorriso osslsigncode openssl softhsm2 libengine-pkcs11-openssl python3
          icoutils xserver-xephyr)

# Wine maps the Unix locale to the Windows one and encodes file names in its
# character set: without a real ja_JP.UTF-8 locale, Japanese names cannot exist.
# (Here-strings, not pipes into grep -q: under pipefail a writer cut off by
# grep's early exit would fail the test.)
have_locale() { grep -qix 'ja_JP.utf-\?8' <<<"$(locale -a 2>/dev/null)"; }

missing=()
for p in "${packages[@]}"; do
    [[ $(dpkg-query -W -f='${Status}' "$p" 2>/dev/null) == 'install ok installed' ]] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && have_locale && exit 0

started=$SECONDS
here=$(cd "$(dirname "$0")" && pwd)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
log=$(mktemp)
trap 'rm -f "$log"' EXIT

update() {
    # The mirror's i386 security index is sometimes mid-sync (exit 100); the
    # install below works without it, so let it decide.
    $sudo apt-get update -qq >>"$log" 2>&1 || echo "setup: apt-get update exited $?, continuing"
}
install() {
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${packages[@]}" >>"$log" 2>&1
}

if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    $sudo dpkg --add-architecture i386
    update
    if ! install; then
        # An index caught mid-sync: fetch it again and try once more.
        update
        if ! install; then
            read -r name amd64 i386 < <("$here/apt-i386-lag" "$log") || true
            if [ -n "${name:-}" ]; then
                echo "setup: this mirror has $name $amd64 for amd64 but $i386 for i386 (its i386 side lags behind); run make again once it has caught up (usually within hours), or use another mirror"
            else
                cat "$log"
            fi
            exit 1
        fi
    fi
fi
if ! have_locale; then
    echo "setup: generating the ja_JP.UTF-8 locale"
    $sudo sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen >/dev/null
fi
echo "setup: done in $(( SECONDS - started )) s"
