#!/bin/sh
# Fails unless every DLL the given executable imports is a KnownDLL: one that
# Windows (7 and later) always maps from System32, whatever lies beside the
# executable, so nothing planted on a disc or in a Downloads folder can stand in
# for it. The common controls and version.dll are not: a program importing them
# gets whatever copy its folder holds, before its first line runs.
set -eu
exe=$1
known="kernel32.dll user32.dll gdi32.dll msvcrt.dll advapi32.dll shell32.dll ole32.dll oleaut32.dll
shlwapi.dll comdlg32.dll imm32.dll rpcrt4.dll"

# The 64-bit objdump reads both 32- and 64-bit executables.
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
[ -n "$imports" ] || { echo "no import table read from $exe"; exit 1; }

status=0
for dll in $imports; do
    case " $(echo $known) " in
        *" $dll "*) echo "ok      $dll" ;;
        *) echo "refused $dll (not a KnownDLL: a copy beside the executable would be loaded)"; status=1 ;;
    esac
done
exit $status
