# Sourced by the shell test scripts: a line per check, a count, and the verdict.
#   ok WHAT / bad WHAT       record a check that passed or failed
#   check WHAT COMMAND...    passes if COMMAND succeeds (its output is hidden)
#   utf16_text FILE          FILE's text, if it is UTF-16LE after a byte-order mark
#   finish                   prints the count; fails if any check did
passed=0 failed=0
ok() { echo "ok      $1"; passed=$((passed + 1)); }
bad() { echo "FAILED  $1"; failed=$((failed + 1)); }
check() { local what=$1; shift; if "$@" >/dev/null 2>&1; then ok "$what"; else bad "$what"; fi; }
utf16_text() { [ "$(od -An -tx1 -N2 "$1" | tr -d ' \n')" = fffe ] && tail -c +3 "$1" | iconv -f UTF-16LE -t UTF-8; }
finish() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}
