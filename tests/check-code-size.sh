#!/bin/sh
# usage: tests/check-code-size.sh EXE LIMIT
# Fails if the executable's code section (.text) is larger than LIMIT bytes:
# the shipped launcher is read from a CD before its window appears, so its
# size is start-up time, and a change that drags a runtime back in shows here.
set -eu
exe=$1 limit=$2
size=$(x86_64-w64-mingw32-objdump -h "$exe" | awk '$2 == ".text" { print $3 }')
[ -n "$size" ] || { echo "no .text section read from $exe"; exit 1; }
bytes=$(printf '%d' "0x$size")
if [ "$bytes" -gt "$limit" ]; then
    echo ".text of $(basename "$exe") is $bytes bytes, more than $limit"
    exit 1
fi
echo ".text of $(basename "$exe") is $bytes bytes, within $limit"
