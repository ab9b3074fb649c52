#!/usr/bin/env bash
# usage: tests/setup-test.sh SOURCE-DIR
# What the set-up says when the install fails because the mirror has published
# an amd64 security update before its i386 twin. A mirror cannot be made to lag
# on demand, so apt's part is played by stand-ins on the PATH that answer as
# apt 2 (Debian 12) and apt 3 (Debian 13) answer in that case; everything else
# is the real set-up script.
set -uo pipefail
src=$1
. "$(dirname "$0")/checks.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The stand-ins: every package missing, the install refused with the log line
# given, libgssapi-krb5-2 installed for amd64 one security update ahead of i386.
stand_ins() {
    local bin=$work/bin-$1
    mkdir -p "$bin"
    printf '#!/bin/sh\n[ "$1" = install ] || exit 0\ncat "%s"\nexit 100\n' "$work/refusal-$1" >"$bin/apt-get"
    printf '#!/bin/sh\nexit 0\n' >"$bin/dpkg"
    cat >"$bin/dpkg-query" <<'EOF'
#!/bin/sh
case "$*" in
*'${Version}'*libgssapi-krb5-2:amd64) printf 1.21.3-5+deb13u2 ;;
*'${Version}'*) exit 1 ;;
*) printf 'install ok not-installed' ;;
esac
EOF
    cat >"$bin/apt-cache" <<'EOF'
#!/bin/sh
case "$2" in
libgssapi-krb5-2:i386) echo "$2:"; echo "  Installed: (none)"; echo "  Candidate: 1.21.3-5+deb13u1" ;;
*) echo "$2:"; echo "  Candidate: 2.0-1" ;;
esac
EOF
    chmod +x "$bin"/*
    echo "$bin"
}

expected="setup: this mirror has libgssapi-krb5-2 1.21.3-5+deb13u2 for amd64 but 1.21.3-5+deb13u1 for i386 (its i386 side lags behind); run make again once it has caught up (usually within hours), or use another mirror"
while IFS='|' read -r apt refusal; do
    printf '%s\n' "$refusal" >"$work/refusal-$apt"
    bin=$(stand_ins "$apt")
    output=$(PATH="$bin:$PATH" "$src/scripts/setup.sh" 2>&1)
    status=$?
    [ "$status" -eq 1 ] && ok "$apt: the set-up fails" || bad "$apt: the set-up fails (exit $status)"
    last=$(tail -n 1 <<<"$output")
    [ "$last" = "$expected" ] && ok "$apt: it says which package lags, in one line" ||
        bad "$apt: it says which package lags, in one line (said: $last)"
    [ "$(grep -c 'libgssapi' <<<"$output")" -eq 1 ] && ok "$apt: and nothing more of apt's output" ||
        bad "$apt: and nothing more of apt's output"
done <<'EOF'
apt2| libgssapi-krb5-2:i386 : Breaks: libgssapi-krb5-2 (!= 1.21.3-5+deb13u1) but 1.21.3-5+deb13u2 is to be installed
apt3|   2. libgssapi-krb5-2:amd64=1.21.3-5+deb13u2 Breaks libgssapi-krb5-2:i386 (!= 1.21.3-5+deb13u2)
EOF

# Any other refusal shows apt's own output.
printf '%s\n' "E: Unable to locate package wine32:i386" >"$work/refusal-other"
bin=$(stand_ins other)
output=$(PATH="$bin:$PATH" "$src/scripts/setup.sh" 2>&1)
grep -q "Unable to locate package" <<<"$output" && ! grep -q "lags behind" <<<"$output" &&
    ok "another refusal shows apt's own words" || bad "another refusal shows apt's own words"

# Twins at the same version are not taken for a lagging mirror.
printf '%s\n' " libc6:i386 : Depends: libgcc-s1:i386 but it is not going to be installed" >"$work/log"
bin=$(stand_ins same)
cat >"$bin/apt-cache" <<'EOF'
#!/bin/sh
echo "$2:"; echo "  Candidate: 2.36-9"
EOF
cat >"$bin/dpkg-query" <<'EOF'
#!/bin/sh
printf 2.36-9
EOF
[ -z "$(PATH="$bin:$PATH" "$src/scripts/apt-i386-lag" "$work/log")" ] && ok "twins at one version are no lag" ||
    bad "twins at one version are no lag"

finish
