#!/usr/bin/env bash
# usage: tests/check-pe-header.sh SOURCE-DIR EXE
# The shipped launcher's PE header passes every check of scripts/pe-header, and
# each check fails on a copy that lacks just what it checks.
set -uo pipefail
src=$1 exe=$2
tool=$src/scripts/pe-header
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/checks.sh"

output=$("$tool" check "$exe" 2>&1) && ok "the launcher's header" || bad "the launcher's header: $output"
for what in REMOVABLE_RUN_FROM_SWAP NET_RUN_FROM_SWAP DYNAMIC_BASE NX_COMPAT NO_SEH TERMINAL_SERVER_AWARE VERSION CHECKSUM; do
    cp "$exe" "$work/lacking.exe"
    "$tool" clear "$work/lacking.exe" "$what"
    output=$("$tool" check "$work/lacking.exe" 2>&1)
    status=$?
    # That problem, named, and no other.
    case $what in
        VERSION) expected=("OS version 4.0" "subsystem version 4.0") ;;
        CHECKSUM) expected=("checksum") ;;
        *) expected=("no $what") ;;
    esac
    named=1
    for line in "${expected[@]}"; do [[ "$output" == *"$line"* ]] || named=0; done
    if [ $status -ne 0 ] && [ $named -eq 1 ] && [ "$(wc -l <<<"$output")" -eq ${#expected[@]} ]; then
        ok "the check refuses an exe without $what"
    else
        bad "the check refuses an exe without $what: $output"
    fi
done
finish
