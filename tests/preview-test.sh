#!/usr/bin/env bash
# usage: tests/preview-test.sh SOURCE-DIR BIN-DIR
# make preview (scripts/preview) on the launcher in BIN-DIR, twice: in a window
# on the current display, as for a user with a $DISPLAY, which must be left as
# it was (pointer and windows); and without a display. Both draw the same 18
# pictures: at 96, 120 and 144 DPI the menu, each of its four descriptions and
# the refusal box, each on the contact sheet in its row and column under a
# label of its own.
set -uo pipefail
src=$1 bin=$(realpath "$2")
build=$(realpath "$bin/..")
work=$(mktemp -d "$build/preview-test.XXXXXX")
desktop="" listener="" watcher=""
trap 'kill $desktop $listener $watcher 2>/dev/null; rm -rf "$work"' EXIT
. "$(dirname "$0")/checks.sh"
magick=$(command -v magick || command -v convert)
said="preview: the contact sheet is $build/preview.png, the single pictures are in $build/preview/"

# A user's desktop: a display of its own, with a client that listens to the
# pointer as a desktop does (without one, Xvfb forgets where its pointer was put).
# (Every helper started here writes nowhere: ctest waits for whatever holds its output.)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/desktop.display" >/dev/null 2>&1 &
desktop=$!
for _ in $(seq 100); do [ -s "$work/desktop.display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/desktop.display")"
python3 -c '
import ctypes, sys, time
x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XDefaultRootWindow.restype = ctypes.c_ulong
display = ctypes.c_void_p(x.XOpenDisplay(None))
x.XSelectInput(display, ctypes.c_ulong(x.XDefaultRootWindow(display)), ctypes.c_long(1 << 6))  # PointerMotionMask
x.XSync(display, 0)
open(sys.argv[1], "w").close()
time.sleep(600)' "$work/listening" >/dev/null 2>&1 &
listener=$!
for _ in $(seq 100); do [ -e "$work/listening" ] && break; sleep 0.1; done
visible_windows() { xdotool search --onlyvisible --name '' 2>/dev/null | sort | tr '\n' ' '; }
xdotool mousemove 700 500
before=$(visible_windows)
[[ "$(xdotool getmouselocation)" == "x:700 y:500 "* ]] || bad "the pointer cannot be put at 700,500 on the desktop"
(for _ in $(seq 600); do
    xdotool search --onlyvisible --name '^Autorun under Wine$' >/dev/null 2>&1 && { touch "$work/seen"; break; }
    sleep 0.1
done) >/dev/null 2>&1 &
watcher=$!
"$src/scripts/preview" "$bin" "$build" >"$work/nested.log" 2>&1
status=$?
kill "$watcher" 2>/dev/null
if [ $status -eq 0 ] && grep -qF "$said" "$work/nested.log" && [ -e "$work/seen" ] &&
   grep -qF "preview: drawing in a window of its own on $DISPLAY" "$work/nested.log"; then
    ok "with a display: drawn in a window of its own there, and says where the pictures are"
else
    bad "with a display (exit $status$([ -e "$work/seen" ] || echo ", no window seen")): $(cat "$work/nested.log")"
fi
[[ "$(xdotool getmouselocation)" == "x:700 y:500 "* ]] && ok "with a display: the user's pointer was not moved" ||
    bad "with a display: the user's pointer was moved: $(xdotool getmouselocation)"
[ "$(visible_windows)" = "$before" ] && ok "with a display: no window left on it" ||
    bad "with a display: windows before '$before', after '$(visible_windows)'"
mkdir "$work/nested"
cp -r "$build/preview.png" "$build/preview" "$work/nested/"

# Without a display: in a private one.
kill "$listener" "$desktop" 2>/dev/null
env -u DISPLAY "$src/scripts/preview" "$bin" "$build" >"$work/private.log" 2>&1 &&
    grep -qF "$said" "$work/private.log" && ok "without a display: says where the pictures are" ||
    bad "without a display: $(cat "$work/private.log")"
if diff -r "$work/nested/preview" "$build/preview" >/dev/null && cmp -s "$work/nested/preview.png" "$build/preview.png"; then
    ok "both ways, the same pictures and sheet, byte for byte"
else
    bad "both ways, the same pictures and sheet: $(diff -r "$work/nested/preview" "$build/preview" 2>&1 | head -n 3)"
fi

# The pictures, and the sheet that holds them (its layout: scripts/preview).
while IFS='|' read -r verdict what; do "$verdict" "$what"; done < <(python3 - "$magick" "$build" <<'EOF' || echo "bad|the pictures could not be read"
import subprocess, sys
magick, build = sys.argv[1], sys.argv[2]
DPIS = (96, 120, 144)
NAMES = ("menu", "manual", "install", "open-disc", "exit", "refusal")
PAD, LABEL = 16, 28

def load(path):
    size = subprocess.run([magick, path, "-format", "%w %h", "info:"], capture_output=True, text=True).stdout.split()
    pixels = subprocess.run([magick, path, "-depth", "8", "rgb:-"], capture_output=True).stdout
    return int(size[0]), int(size[1]), pixels

def crop(image, x, y, w, h):
    width, _, pixels = image
    return b"".join(pixels[((y + row) * width + x) * 3:((y + row) * width + x + w) * 3] for row in range(h))

def check(what, condition):
    print(("ok|" if condition else "bad|") + what)

shots = {(dpi, name): load(f"{build}/preview/{dpi}dpi-{name}.png") for dpi in DPIS for name in NAMES}
frames = set()
for dpi in DPIS:
    w, h, menu = shots[dpi, "menu"]
    frames.add((w - 640 * dpi // 96, h - 400 * dpi // 96))
    hovers = [shots[dpi, name] for name in NAMES[1:5]]
    check(f"{dpi} DPI: each description's picture is the menu's size",
          all(hover[:2] == (w, h) for hover in hovers))
    check(f"{dpi} DPI: each description changes the menu, and each differently",
          all(hover[2] != menu for hover in hovers) and len({hover[2] for hover in hovers}) == 4)
check("the menu is 640x400 scaled for each DPI, in the same frame", len(frames) == 1)
refusals = [shots[dpi, "refusal"][:2] for dpi in DPIS]
check("the refusal box grows with the DPI",
      refusals[0][0] < refusals[1][0] < refusals[2][0] and refusals[0][1] < refusals[1][1] < refusals[2][1])

sheet = load(f"{build}/preview.png")
ground = sheet[2][:3]
y, width = PAD, 0
placed, labelled = True, True
for dpi in DPIS:
    row = [shots[dpi, name] for name in NAMES]
    cell_w, cell_h = max(s[0] for s in row), max(s[1] for s in row)
    labels = []
    for i, shot in enumerate(row):
        x = PAD + i * (cell_w + PAD)
        placed &= crop(sheet, x, y + LABEL, shot[0], shot[1]) == shot[2]
        strip = crop(sheet, x, y, cell_w, LABEL)
        labels.append(strip)
        labelled &= any(strip[j:j + 3] != ground for j in range(0, len(strip), 3))
    labelled &= len(set(labels)) == len(labels)
    width = max(width, PAD + len(NAMES) * (cell_w + PAD))
    y += LABEL + cell_h + PAD
check("the sheet is 3 rows of 6 cells", sheet[:2] == (width, y))
check("each picture sits on the sheet in its row and column", placed)
check("each picture has a label of its own above it", labelled)
EOF
)
finish
