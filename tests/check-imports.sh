#!/bin/sh
# Fails unless every DLL the given executable imports is one that Windows always
# loads from System32: nothing to install, and nothing a planted copy can replace.
set -eu
exe=$1
allowed="kernel32.dll user32.dll gdi32.dll shell32.dll comctl32.dll msvcrt.dll advapi32.dll"

# The 64-bit objdump reads both 32- and 64-bit executables.
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
[ -n "$imports" ] || { echo "no import table read from $exe"; exit 1; }

status=0
for dll in $imports; do
    case " $allowed " in
        *" $dll "*) echo "ok      $dll" ;;
        *) echo "refused $dll"; status=1 ;;
    esac
done
exit $status
