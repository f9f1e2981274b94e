#!/usr/bin/env python3
"""Makes every picture, sound and movie of the demo game (all our own, made in code)
into OUT_DIR/resource/gfx and OUT_DIR/resource/mmedia.

    python3 games/demo/make_assets.py OUT_DIR

The build runs this whenever the generator changes; nothing it makes is checked in.
Pictures and sounds are written byte by byte here; the MP3 and the AVI are encoded by
the ffmpeg command line (FFMPEG in the environment names another one).
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from gen.movies import make_avi, make_mp3  # noqa: E402
from gen.pictures import make_pictures  # noqa: E402
from gen.sounds import make_effects, make_shanty  # noqa: E402


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_assets.py OUT_DIR")
    gfx = os.path.join(sys.argv[1], "resource", "gfx")
    mmedia = os.path.join(sys.argv[1], "resource", "mmedia")
    os.makedirs(gfx, exist_ok=True)
    os.makedirs(mmedia, exist_ok=True)
    make_pictures(gfx)
    make_effects(mmedia)
    make_shanty(os.path.join(mmedia, "shanty.mid"))
    make_mp3(os.path.join(mmedia, "evening.mp3"))
    make_avi(os.path.join(mmedia, "ship.avi"))


if __name__ == "__main__":
    main()
