#!/usr/bin/env bash
# usage: tests/artwork-test.sh SOURCE-DIR WORK-DIR
# The background picture and the icon as a designer delivers them, through the
# build's own checks and conversions (cmake/DiscInputs.cmake, scripts/artwork):
# every format gives the committed picture's bytes, a wrong size or a wrong
# file is refused in one line, transparency and a missing icon size are said in
# one line, and the same input always gives the same bytes.
set -uo pipefail
src=$1
work=$(mktemp -d "$2/artwork-test.XXXXXX")
trap "[ -n \"${KEEP:-}\" ] || rm -rf \"$work\"" EXIT
. "$(dirname "$0")/checks.sh"
magick=$(command -v magick || command -v convert)
bmp=$src/res/background.bmp ico=$src/res/Autorun.ico
out=$work/out

# The build's checks and conversions, as configuring runs them, with B as the
# background and I as the icon; what they say goes to $work/said.
inputs() {
    rm -rf "$out"
    cmake -DAUTORUN_BACKGROUND="${B:-$bmp}" -DAUTORUN_ICON="${I:-$ico}" -DAUTORUN_VERSION=5.2.0.0 \
        -DAUTORUN_VOLUME_LABEL=ZENTOVARIK -DAUTORUN_GENERATED="$out" -P "$src/cmake/DiscInputs.cmake" \
        >"$work/said" 2>&1
}
said() { tr -s ' \n' '  ' <"$work/said"; }  # CMake wraps long lines; joined back
# Converts quietly: succeeds, saying nothing.
quiet() { inputs && [ ! -s "$work/said" ]; }
# Converts, saying exactly one line, which holds the text.
one_line() { inputs && [ "$(wc -l <"$work/said")" -eq 1 ] && grep -qF "$1" "$work/said"; }
pixels() { "$magick" "$1" -depth 8 rgb:- | md5sum; }
# The colour at x,y of a bottom-up 24-bit BMP, as "r,g,b".
bmp_pixel() { python3 -c "
import sys
d = open(sys.argv[1], 'rb').read()
w, h, x, y = 640, 400, int(sys.argv[2]), int(sys.argv[3])
b, g, r = d[54 + ((h - 1 - y) * w + x) * 3:][:3]
print(f'{r},{g},{b}')" "$@"; }

# Each lossless format of the committed picture converts to its very bytes.
"$magick" "$bmp" "PNG24:$work/rgb.png"
"$magick" "$bmp" -alpha set "PNG32:$work/rgba.png"
"$magick" "$bmp" -depth 16 "PNG48:$work/16bit.png"
"$magick" "$bmp" -alpha set -define bmp:format=bmp4 "BMP:$work/32bit.bmp"
"$magick" "$bmp" -compress lzw "TIFF:$work/picture.tif"
"$magick" "$bmp" -define webp:lossless=true "WEBP:$work/picture.webp"
cp "$work/rgb.png" "$work/my [final] *design*.png"
for picture in "$bmp" rgb.png rgba.png 16bit.png 32bit.bmp picture.tif picture.webp "my [final] *design*.png"; do
    [[ $picture == /* ]] || picture=$work/$picture
    name=${picture##*/}
    if B=$picture quiet && cmp -s "$out/background.bmp" "$bmp"; then
        ok "background $name: the committed picture's bytes, nothing said"
    else
        bad "background $name: $(said)"
    fi
done
"$magick" "$bmp" -quality 90 "JPEG:$work/picture.jpg"
B=$work/picture.jpg quiet && [ "$(pixels "$out/background.bmp")" = "$(pixels "$work/picture.jpg")" ] &&
    ok "background JPEG: its decoded pixels" || bad "background JPEG: $(said)"

# Transparency: flattened onto white, said once.
"$magick" "$bmp" -alpha set -compose Copy \( -size 10x10 xc:none \) -geometry +0+0 -composite \
    \( -size 10x10 xc:'rgba(0,0,0,0.2)' \) -geometry +20+0 -composite "PNG32:$work/transparent.png"
if B=$work/transparent.png one_line "background '$work/transparent.png': transparent parts flattened onto white" &&
   [ "$(bmp_pixel "$out/background.bmp" 5 5)" = 255,255,255 ] &&
   [ "$(bmp_pixel "$out/background.bmp" 25 5)" = 204,204,204 ] &&
   [ "$(bmp_pixel "$out/background.bmp" 100 100)" = "$(bmp_pixel "$bmp" 100 100)" ]; then
    ok "background with transparency: flattened onto white, said in one line"
else
    bad "background with transparency: $(said); $(bmp_pixel "$out/background.bmp" 5 5) $(bmp_pixel "$out/background.bmp" 25 5)"
fi

# Refusals: one line naming the file and what is wrong, and no bitmap written.
"$magick" "$bmp" -resize '320x200!' "$work/small.png"
"$magick" "$bmp" -gravity west -background white -extent 641x400 "$work/wider.jpg"
head -c 3000 "$work/rgb.png" >"$work/truncated.png"
while IFS='|' read -r name picture expected; do
    if ! B=$picture inputs && [[ "$(said)" == *"$expected"* && ! -e "$out/background.bmp" ]]; then
        ok "refused: $name"
    else
        bad "refused: $name: $(said)"
    fi
done <<CASES
background of 320x200|$work/small.png|background '$work/small.png': 320x200 pixels, must be 640x400
background of 641x400|$work/wider.jpg|background '$work/wider.jpg': 641x400 pixels, must be 640x400
background that is no picture|$src/README.md|background '$src/README.md': not a PNG, JPEG, BMP, GIF, TIFF or WebP picture
background cut short|$work/truncated.png|background '$work/truncated.png': ImageMagick cannot read this PNG file
background missing|$work/none.png|background '$work/none.png': no such file
CASES

# The icon's images as PNG files, as icotool extracts them from the committed icon.
mkdir "$work/icon"
icotool -x -o "$work/icon" "$ico"
png() { echo "$work/icon/Autorun_$1_$2x$2x32.png"; }
all_pngs="$(png 1 16);$(png 2 24);$(png 3 32);$(png 4 48);$(png 5 256)"
I=$all_pngs quiet && cmp -s "$out/Autorun.ico" "$ico" &&
    ok "icon from its PNG images: the committed icon's bytes, nothing said" || bad "icon from its PNG images: $(said)"
# What icotool lists for each image of the made icon.
listing() { icotool -l "$out/Autorun.ico" | sed 's/--index=[0-9]* //' | tr '\n' ' '; }
five="--icon --width=16 --height=16 --bit-depth=32 --palette-size=0 --icon --width=24 --height=24 --bit-depth=32 --palette-size=0 --icon --width=32 --height=32 --bit-depth=32 --palette-size=0 --icon --width=48 --height=48 --bit-depth=32 --palette-size=0 --icon --width=256 --height=256 --bit-depth=32 --palette-size=0 "
if I="$(png 1 16);$(png 3 32);$(png 4 48);$(png 5 256)" \
       one_line "icon: no 24-pixel PNG, made from the 32-pixel '$(png 3 32)'" && [ "$(listing)" = "$five" ]; then
    ok "icon without its 24-pixel image: made from the 32, said in one line"
else
    bad "icon without its 24-pixel image: $(said) $(listing)"
fi
# Designers' PNGs of every kind (palette, grey, RGB, larger than 256) give 32-bit images.
"$magick" "$(png 1 16)" -background white -flatten "PNG8:$work/palette-16.png"
"$magick" "$(png 2 24)" -colorspace gray "PNG:$work/grey-24.png"
"$magick" "$(png 3 32)" -background white -flatten "PNG24:$work/rgb-32.png"
"$magick" "$(png 5 256)" -resize 512x512 "PNG32:$work/big-512.png"
if I="$work/palette-16.png;$work/grey-24.png;$work/rgb-32.png;$(png 4 48);$work/big-512.png" \
       one_line "icon: no 256-pixel PNG, made from the 512-pixel '$work/big-512.png'" && [ "$(listing)" = "$five" ]; then
    ok "icon from palette, grey, RGB and 512-pixel PNGs: every image 32 bits"
else
    bad "icon from palette, grey, RGB and 512-pixel PNGs: $(said) $(listing)"
fi
"$magick" "$(png 5 256)" -resize 64x64 "PNG32:$work/extra-64.png"
I="$all_pngs;$work/extra-64.png" one_line "icon '$work/extra-64.png': 64 pixels is none of the icon's sizes" &&
    cmp -s "$out/Autorun.ico" "$ico" && ok "icon with an extra size: not used, said in one line" ||
    bad "icon with an extra size: $(said)"

"$magick" "$(png 4 48)" -resize '48x40!' "PNG32:$work/oblong.png"
"$magick" "$(png 4 48)" "JPEG:$work/icon.jpg"
"$magick" "$ico[0]" "$ico[2]" "$work/two-sizes.ico"
cp "$ico" "$work/8bit.ico"
printf '\x08' | dd of="$work/8bit.ico" bs=1 seek=$((6 + 16 * 2 + 6)) conv=notrunc 2>/dev/null  # 32-pixel entry
while IFS='|' read -r name icon expected; do
    if ! I=$icon inputs && [[ "$(said)" == *"$expected"* && ! -e "$out/Autorun.ico" ]]; then
        ok "refused: $name"
    else
        bad "refused: $name: $(said)"
    fi
done <<CASES
icon PNGs without 256 or larger|$(png 1 16);$(png 2 24);$(png 3 32);$(png 4 48)|icon: no 256-pixel PNG, and none larger to make it from
icon PNG not square|$all_pngs;$work/oblong.png|icon '$work/oblong.png': 48x40 pixels, an icon image must be square
icon PNG twice one size|$all_pngs;$work/grey-24.png|icon '$work/grey-24.png': a second 24-pixel image, besides '$(png 2 24)'
icon list with a JPEG|$all_pngs;$work/icon.jpg|icon '$work/icon.jpg': not a PNG file (give one ICO file, or PNG images)
icon list with an ICO|$ico;$(png 5 256)|icon '$ico': not a PNG file
icon that is no icon|$src/README.md|icon '$src/README.md': not a PNG file
icon PNG missing|$all_pngs;$work/none.png|icon '$work/none.png': no such file
icon ICO without a size|$work/two-sizes.ico|icon '$work/two-sizes.ico': no 24-pixel image (needs 16, 24, 32, 48 and 256)
icon ICO with an 8-bit image|$work/8bit.ico|icon '$work/8bit.ico': its 32-pixel image has 8 bits per pixel, must be 32
CASES

# Reproducible: the same pixels give the same bytes, whatever times and texts
# their files carry; and a conversion that changes nothing leaves the file be.
stamp() {  # PNG files of the same pixels, each with its own comment, dates and tIME chunk
    for picture in "$work/transparent.png" "$(png 3 32)" "$(png 5 256)"; do
        "$magick" "$picture" -set comment "made at $(date +%s%N)" -define png:include-chunk=tIME,tEXt \
            "PNG32:$work/$1-${picture##*/}"
    done
    B=$work/$1-transparent.png I="$(png 1 16);$work/$1-$(basename "$(png 3 32)");$(png 4 48);$work/$1-$(basename "$(png 5 256)")" \
        inputs && cp "$out/background.bmp" "$work/$1.bmp" && cp "$out/Autorun.ico" "$work/$1.ico"
}
stamp first
sleep 1
stamp second
if ! cmp -s "$work/first-transparent.png" "$work/second-transparent.png" &&
   ! cmp -s "$work/first-$(basename "$(png 5 256)")" "$work/second-$(basename "$(png 5 256)")" &&
   cmp -s "$work/first.bmp" "$work/second.bmp" && cmp -s "$work/first.ico" "$work/second.ico"; then
    ok "reproducible: the same pixels with other times and texts give the same bitmap and icon"
else
    bad "reproducible: the same pixels with other times and texts give the same bitmap and icon"
fi
mkdir -p "$out"
cp "$bmp" "$out/background.bmp"
touch -d '2001-01-01 00:00' "$out/background.bmp"
"$src/scripts/artwork" background "$work/rgba.png" "$out/background.bmp" &&
    [ "$(stat -c %Y "$out/background.bmp")" = "$(date -d '2001-01-01 00:00' +%s)" ] &&
    ok "an unchanged bitmap is not rewritten (nothing rebuilds)" || bad "an unchanged bitmap is not rewritten"

finish
