#!/usr/bin/env bash
# Takes PNG screenshots of the demo game under Xvfb: the start screen, the main menu and
# the game screen, as a player sees them in the window. Writes them to OUT_DIR (default
# docs/screenshots), where the README shows them.
#
#   scripts/screenshots.sh [OUT_DIR]
#
# The player runs in a window on a virtual X server whose frame buffer Xvfb keeps in a
# file: the first picture the window shows is the start screen, and every later picture
# that stays unchanged on screen for a while is one screenshot, in order. A walkthrough
# script holds the menu and the game screen still long enough.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs/screenshots}
mkdir -p "$out"
cmake --build "$root/build" --target quorvex-player >/dev/null

work=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 800x600x24 -fbdir "$work" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -e "$work/Xvfb_screen0" ] && break; sleep 0.1; done

cat >"$work/shots.qvs" <<'SCRIPT'
# The main menu stays three seconds, then a new game; the game screen stays three seconds.
hover button 2
wait 3000
new-game
wait 3000
SCRIPT

DISPLAY=$display SDL_AUDIODRIVER=dummy "$root/build/src/app/quorvex-player" --window \
  --renderer software --script "$work/shots.qvs" >/dev/null 2>&1 &
player=$!

python3 - "$work/Xvfb_screen0" "$out" "$player" <<'PY'
import os, struct, sys, time, zlib

fb, out, player = sys.argv[1], sys.argv[2], int(sys.argv[3])
names = ["start-screen.png", "main-menu.png", "game-screen.png"]

def frame():
    data = open(fb, "rb").read()
    h = struct.unpack(">25I", data[:100])
    header, width, height = h[0], h[4], h[5]
    bpp, stride, ncolors = h[11], h[12], h[19]
    start = header + ncolors * 12
    return width, height, bpp, stride, data[start:start + stride * height]

def png(path, width, height, bpp, stride, pixels):
    step = bpp // 8
    rows = bytearray()
    for y in range(height):
        row = pixels[y * stride:y * stride + width * step]
        rows.append(0)
        for x in range(0, width * step, step):
            b, g, r = row[x], row[x + 1], row[x + 2]  # little-endian BGRX
            rows += bytes((r, g, b))
    def chunk(kind, body):
        c = kind + body
        return struct.pack(">I", len(body)) + c + struct.pack(">I", zlib.crc32(c) & 0xFFFFFFFF)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(bytes(rows), 9)))
        f.write(chunk(b"IEND", b""))

def alive():
    try:
        os.kill(player, 0)
        return os.waitpid(player, os.WNOHANG) == (0, 0)
    except ChildProcessError:
        return True
    except OSError:
        return False

last, since, saved, taken = None, time.time(), None, 0
changed = None
blank = None
deadline = time.time() + 60
while taken < len(names) and alive() and time.time() < deadline:
    w, h, bpp, stride, pixels = frame()
    if blank is None:
        blank = pixels
    now = time.time()
    # The start screen is the first picture the window shows (it stays only until the
    # engine logo starts); the menu and the game screen are the pictures that then stay.
    first = taken == 0 and pixels != blank
    # A game screen whose objects animate never stays still: it is taken as it shows
    # two seconds after it first differs from the menu.
    if taken == 2 and pixels != saved and changed is None:
        changed = now
    moving_game = taken == 2 and changed is not None and now - changed >= 2.0
    if pixels != last and not first and not moving_game:
        last, since = pixels, now
    elif first or moving_game or (now - since >= 1.0 and pixels != saved and pixels != blank):
        png(os.path.join(out, names[taken]), w, h, bpp, stride, pixels)
        print("wrote", os.path.join(out, names[taken]))
        saved, taken = pixels, taken + 1
    time.sleep(0.05)
if taken < len(names):
    sys.exit("only %d of %d screenshots were taken" % (taken, len(names)))
PY
wait "$player" || true
