#!/bin/sh
# Writes a one-page PDF to $1: the sample disc's installation manual.
set -eu
out=$1
tmp=$(mktemp)
trap 'rm -f "$tmp"' EXIT

n=0
offsets=""
obj() {
    n=$((n + 1))
    offsets="$offsets $(wc -c <"$tmp")"
    printf '%d 0 obj\n%s\nendobj\n' "$n" "$1" >>"$tmp"
}

text='BT /F1 24 Tf 72 720 Td (Sample installation manual) Tj ET'
printf '%%PDF-1.4\n' >"$tmp"
obj '<< /Type /Catalog /Pages 2 0 R >>'
obj '<< /Type /Pages /Kids [3 0 R] /Count 1 >>'
obj '<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R /Resources << /Font << /F1 5 0 R >> >> >>'
obj "<< /Length ${#text} >>
stream
$text
endstream"
obj '<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>'

xref=$(wc -c <"$tmp")
printf 'xref\n0 %d\n0000000000 65535 f \n' $((n + 1)) >>"$tmp"
for o in $offsets; do printf '%010d 00000 n \n' "$o" >>"$tmp"; done
printf 'trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n' $((n + 1)) "$xref" >>"$tmp"
cat "$tmp" >"$out"
