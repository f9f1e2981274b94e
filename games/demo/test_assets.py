#!/usr/bin/env python3
"""Checks the demo generator's own file writers against ffmpeg's decoders: GIF pictures
of many sizes and contents (LZW code widths growing to 12 bits, full code tables
cleared) and BMP pictures decode to exactly the pixels painted, and a WAV file to the
samples written.

    python3 games/demo/test_assets.py    (FFMPEG in the environment names another ffmpeg)
"""
import os
import random
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from gen.canvas import PALETTE, Canvas, write_bmp, write_gif  # noqa: E402
from gen.sounds import write_wav  # noqa: E402

FFMPEG = os.environ.get("FFMPEG", "ffmpeg")


def decode(path, pix_fmt, extra=()):
    return subprocess.run([FFMPEG, "-loglevel", "error", "-i", path, *extra, "-f", "rawvideo",
                           "-pix_fmt", pix_fmt, "-"], capture_output=True, check=True).stdout


def pictures():
    """Canvases whose LZW streams cross every code width and overflow the code table."""
    rnd = random.Random(5)
    yield "one pixel", Canvas(1, 1, 7)
    yield "flat", Canvas(300, 200, 40)
    for colours in (2, 16, 255):
        c = Canvas(257, 131)
        c.px[:] = bytes(rnd.randrange(colours) for _ in range(len(c.px)))
        yield "%d colours at random" % colours, c
    runs = Canvas(700, 475)
    for y in range(475):
        runs.span(y, 0, 700, (y * 7) % 255)
        runs.span(y, y % 300, y % 300 + 50, 200)
    yield "runs", runs


def main():
    failures = []
    with tempfile.TemporaryDirectory() as tmp:
        for name, canvas in pictures():
            want = b"".join(bytes(PALETTE[i]) for i in canvas.px)
            for kind, write in (("gif", lambda p, c: write_gif(p, [c], transparent=False)),
                                ("bmp", write_bmp)):
                path = os.path.join(tmp, "p." + kind)
                write(path, canvas)
                if decode(path, "rgb24") != want:
                    failures.append("%s %s decodes to other pixels" % (name, kind))
        samples = [((i * 37) % 200 - 100) / 100 for i in range(5000)]
        path = os.path.join(tmp, "s.wav")
        write_wav(path, samples)
        got = subprocess.run([FFMPEG, "-loglevel", "error", "-i", path, "-f", "s16le", "-"],
                             capture_output=True, check=True).stdout
        want = b"".join(struct.pack("<h", int(s * 32000)) for s in samples)
        if got != want:
            failures.append("the WAV decodes to other samples")
    for failure in failures:
        print(failure)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
