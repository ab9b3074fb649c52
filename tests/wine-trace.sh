#!/bin/sh
# usage: tests/wine-trace.sh TRACE-FILE COMMAND...
# Runs COMMAND with its standard error, where Wine writes the traces of the
# programs it starts, going to TRACE-FILE, and tells it where that file is
# (AUTORUN_TEST_WINE_TRACE, as a Windows path).
set -eu
trace=$1
shift
here=$(cd "$(dirname "$0")/../scripts" && pwd)
: >"$trace"
AUTORUN_TEST_WINE_TRACE=$("$here/windows-path" "$trace")
export AUTORUN_TEST_WINE_TRACE
"$@" 2>>"$trace"
