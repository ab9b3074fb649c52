#!/bin/sh
# usage: tests/check-no-cxx-runtime.sh LINKER-MAP
# Fails if the link whose map is given took anything from the C++ runtime:
# libstdc++ or libsupc++ (strings, streams, exceptions, RTTI), the unwinder
# (libgcc_eh) or winpthread. The map lists every archive member the link used.
set -eu
map=$1
[ -s "$map" ] || { echo "no linker map at $map"; exit 1; }
used=$(grep -oE '[^ /()]*/(libstdc\+\+|libsupc\+\+|libgcc_eh|libwinpthread|libpthread)[^ /()]*\.a\([^)]*\)' "$map" |
    sed 's|.*/||' | sort -u)
if [ -n "$used" ]; then
    echo "the C++ runtime is linked in:"
    echo "$used" | sed 's/^/  /' | head -n 20
    exit 1
fi
echo "no C++ runtime, unwinder or winpthread in $(basename "$map" .map)"
