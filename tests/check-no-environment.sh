#!/bin/sh
# Fails if the given executable imports any function that reads environment
# variables: the shipped launcher's behaviour must not depend on them.
set -eu
exe=$1
found=$(x86_64-w64-mingw32-objdump -p "$exe" |
        grep -iwoE 'GetEnvironmentVariable[AW]?|GetEnvironmentStrings[AW]?|ExpandEnvironmentStrings[AW]?|_w?getenv(_s)?|_w?dupenv_s|_w?environ' |
        sort -u || true)
if [ -n "$found" ]; then
    echo "$exe reads the environment through:" $found
    exit 1
fi
echo "$exe reads no environment variable"
