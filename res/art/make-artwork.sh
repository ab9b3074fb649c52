#!/bin/sh
# Draws the launcher's pictures with ImageMagick and free fonts (DejaVu, IPA
# Gothic) as PNG files, as a designer would deliver them, and converts them as
# the build converts a packager's (scripts/artwork): res/background.bmp
# (640x400, 24 bits per pixel) and res/Autorun.ico (16, 24, 32, 48 and 256
# pixels, 32 bits per pixel).
# The build uses the committed files; run this only to change them.
set -eu
cd "$(dirname "$0")/.."
convert=$(command -v magick || command -v convert)  # ImageMagick 7, or 6
gothic=/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf
sans_bold=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Background: a calm deep-teal field that lightens towards the bottom, a soft
# glow behind the title, quiet arcs, and a pale panel under the buttons and the
# lower right corner where the descriptions and the version label are drawn dark.
"$convert" -size 640x400 gradient:'#0d3b4f'-'#3f8fa3' "$tmp/base.png"
"$convert" -size 640x400 xc:none -fill 'rgba(255,255,255,0.10)' \
    -draw 'circle 150,170 150,20' -fill 'rgba(255,255,255,0.06)' -draw 'circle 150,170 150,-60' \
    -stroke 'rgba(255,255,255,0.18)' -strokewidth 2 -fill none \
    -draw 'arc -220,120 620,760 200,330' -draw 'arc -180,170 660,800 205,325' \
    "$tmp/shapes.png"
"$convert" -size 640x400 xc:none -fill 'rgba(244,248,250,0.97)' \
    -draw 'roundrectangle 370,40 640,300 14,14' \
    -draw 'roundrectangle 300,346 660,420 14,14' "$tmp/panel.png"
"$convert" "$tmp/base.png" "$tmp/shapes.png" -composite "$tmp/panel.png" -composite \
    -font "$gothic" -fill white -pointsize 34 -annotate +36+150 'ゾルタニカ' \
    -font "$sans_bold" -pointsize 30 -annotate +38+192 'ZENTOVARIK' \
    -font "$gothic" -fill 'rgba(255,255,255,0.85)' -pointsize 15 -annotate +40+226 'セットアップメニュー' \
    -fill 'rgba(255,255,255,0.55)' -draw 'rectangle 40,204 300,205' \
    -alpha off "PNG24:$tmp/background.png"
../scripts/artwork background "$tmp/background.png" background.bmp

# Icon: a rounded teal tile with a white disc-like ring and a 'Z'.
for size in 256 48 32 24 16; do
    r=$((size * 22 / 100)); m=$((size - 1)); c=$((size / 2))
    ring=$((size * 34 / 100)); sw=$((size / 16 + 1))
    "$convert" -size ${size}x${size} xc:none \
        -fill '#1b6a80' -draw "roundrectangle 0,0 $m,$m $r,$r" \
        -fill none -stroke white -strokewidth $sw -draw "circle $c,$c $c,$((c - ring))" \
        -stroke none -fill white -font "$sans_bold" -pointsize $((size * 45 / 100)) \
        -gravity center -annotate +0+0 'Z' \
        -define png:color-type=6 "PNG32:$tmp/icon-$size.png"
done
../scripts/artwork icon Autorun.ico "$tmp/icon-16.png" "$tmp/icon-24.png" "$tmp/icon-32.png" "$tmp/icon-48.png" "$tmp/icon-256.png"
