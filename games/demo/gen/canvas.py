"""A small paint box for the demo's pictures: a canvas of palette indices with fills,
shapes and text, written out as 8-bit BMP files or (animated) GIF files.

Every picture shares one palette: a 6 x 6 x 6 colour cube, 39 greys and, at index 255,
the colour GIF files mark as transparent.
"""
import struct

from gen.font import GLYPHS, GLYPH_HEIGHT

TRANSPARENT = 255


def _palette():
    colours = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    while len(colours) < 255:
        v = (len(colours) - 215) * 6
        colours.append((v, v, v))
    colours.append((255, 0, 255))
    return colours


PALETTE = _palette()

# 4 x 4 ordered dither thresholds, in steps of 1/16.
_BAYER = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def rgb(r, g, b):
    """The nearest colour of the cube."""
    def level(v):
        return max(0, min(5, int(round(v / 51))))
    return level(r) * 36 + level(g) * 6 + level(b)


def dithered(r, g, b, x, y):
    """The colour of the cube for (r, g, b) at pixel (x, y), ordered-dithered."""
    t = (_BAYER[y & 3][x & 3] + 0.5) / 16

    def level(v):
        v = max(0.0, min(5.0, v / 51))
        base = int(v)
        return min(5, base + (1 if v - base > t else 0))
    return level(r) * 36 + level(g) * 6 + level(b)


def grey(v):
    """The nearest of the greys (0 black ... 255 white)."""
    if v <= 3:
        return 0
    if v >= 249:
        return 215
    return 216 + min(38, max(0, int(round(v / 6)) - 1))


class Canvas:
    def __init__(self, width, height, fill=0):
        self.width = width
        self.height = height
        self.px = bytearray([fill]) * (width * height)

    def copy(self):
        c = Canvas(self.width, self.height)
        c.px[:] = self.px
        return c

    def get(self, x, y):
        return self.px[y * self.width + x]

    def set(self, x, y, c):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.px[y * self.width + x] = c

    def span(self, y, x0, x1, c):
        """Fills row y from x0 up to (not including) x1."""
        if not 0 <= y < self.height:
            return
        x0 = max(0, int(x0))
        x1 = min(self.width, int(x1))
        if x1 > x0:
            start = y * self.width
            self.px[start + x0:start + x1] = bytes([c]) * (x1 - x0)

    def rect(self, x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(self.height, y1)):
            self.span(y, x0, x1, c)

    def frame(self, x0, y0, x1, y1, c, width=1):
        self.rect(x0, y0, x1, y0 + width, c)
        self.rect(x0, y1 - width, x1, y1, c)
        self.rect(x0, y0, x0 + width, y1, c)
        self.rect(x1 - width, y0, x1, y1, c)

    def ellipse(self, cx, cy, rx, ry, c):
        for y in range(int(cy - ry), int(cy + ry) + 1):
            d = 1 - ((y - cy) / ry) ** 2 if ry else 0
            if d >= 0:
                w = rx * d ** 0.5
                self.span(y, round(cx - w), round(cx + w) + 1, c)

    def circle(self, cx, cy, r, c):
        self.ellipse(cx, cy, r, r, c)

    def polygon(self, points, c):
        """Fills the polygon by scanlines (even-odd rule)."""
        ys = [p[1] for p in points]
        for y in range(int(min(ys)), int(max(ys)) + 1):
            yc = y + 0.5
            xs = []
            for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
                if (y0 <= yc < y1) or (y1 <= yc < y0):
                    xs.append(x0 + (yc - y0) * (x1 - x0) / (y1 - y0))
            xs.sort()
            for a, b in zip(xs[::2], xs[1::2]):
                self.span(y, round(a), round(b), c)

    def line(self, x0, y0, x1, y1, c, width=1):
        steps = int(max(abs(x1 - x0), abs(y1 - y0))) + 1
        half = width // 2
        for i in range(steps + 1):
            t = i / steps
            x = round(x0 + (x1 - x0) * t)
            y = round(y0 + (y1 - y0) * t)
            self.rect(x - half, y - half, x - half + width, y - half + width, c)

    def gradient(self, x0, y0, x1, y1, top, bottom):
        """A vertical colour gradient from the (r, g, b) `top` to `bottom`, dithered."""
        x0, x1 = max(0, x0), min(self.width, x1)
        for y in range(max(0, y0), min(self.height, y1)):
            t = (y - y0) / max(1, y1 - y0 - 1)
            colour = [a + (b - a) * t for a, b in zip(top, bottom)]
            pattern = bytes(dithered(*colour, x, y) for x in range(4))
            row = (pattern * ((x1 - x0) // 4 + 2))[x0 % 4:x0 % 4 + x1 - x0]
            start = y * self.width
            self.px[start + x0:start + x1] = row

    def speckle(self, x0, y0, x1, y1, colours, every, seed=1):
        """Scatters the colours over a region, about one pixel in `every`."""
        state = seed
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                state = (state * 1103515245 + 12345) & 0x7FFFFFFF
                if state % every == 0:
                    self.px[y * self.width + x] = colours[(state >> 8) % len(colours)]

    def text(self, x, y, s, c, scale=1, shadow=None):
        """Writes `s` in the built-in 5 x 7 font with its top left corner at (x, y)."""
        if shadow is not None:
            self.text(x + scale, y + scale, s, shadow, scale)
        for ch in s.upper():
            rows = GLYPHS.get(ch, GLYPHS["?"])
            for gy, bits in enumerate(rows):
                for gx, bit in enumerate(bits):
                    if bit == "#":
                        self.rect(x + gx * scale, y + gy * scale, x + (gx + 1) * scale,
                                  y + (gy + 1) * scale, c)
            x += 6 * scale

    def centred_text(self, cx, y, s, c, scale=1, shadow=None):
        self.text(cx - text_width(s, scale) // 2, y, s, c, scale, shadow)

    def blit(self, other, x, y):
        """Draws `other` at (x, y); its transparent pixels leave this canvas unchanged."""
        for oy in range(other.height):
            ty = y + oy
            if not 0 <= ty < self.height:
                continue
            row = other.px[oy * other.width:(oy + 1) * other.width]
            for ox, c in enumerate(row):
                if c != TRANSPARENT and 0 <= x + ox < self.width:
                    self.px[ty * self.width + x + ox] = c


def text_width(s, scale=1):
    return (6 * len(s) - 1) * scale


def text_height(scale=1):
    return GLYPH_HEIGHT * scale


def write_bmp(path, canvas):
    """An uncompressed 8-bit BMP with the shared palette."""
    row = (canvas.width + 3) & ~3
    data = bytearray()
    for y in range(canvas.height - 1, -1, -1):
        data += canvas.px[y * canvas.width:(y + 1) * canvas.width]
        data += b"\0" * (row - canvas.width)
    offset = 14 + 40 + 1024
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 8, 0, len(data),
                       2835, 2835, 256, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    with open(path, "wb") as f:
        f.write(header + info + palette + data)


def _lzw(pixels):
    """GIF's variable-length LZW code stream for 8-bit pixels, packed into bytes."""
    clear, end = 256, 257
    out = bytearray()
    acc = 0
    nbits = 0
    size = 9

    def emit(code):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += size
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    table = {}
    next_code = 258
    emit(clear)
    prefix = pixels[0]
    for c in pixels[1:]:
        key = (prefix << 8) | c
        code = table.get(key)
        if code is not None:
            prefix = code
            continue
        emit(prefix)
        if next_code < 4096:
            table[key] = next_code
            next_code += 1
            # A decoder widens its codes once its table reaches the current width.
            if next_code > (1 << size) and size < 12:
                size += 1
        else:
            emit(clear)
            table = {}
            next_code = 258
            size = 9
        prefix = c
    emit(prefix)
    # The decoder adds one more entry after the last code and may widen before the end code.
    if next_code == (1 << size) and size < 12:
        size += 1
    emit(end)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def write_gif(path, frames, delay_cs=10, loop=True, transparent=True):
    """An animated GIF (GIF89a) of equally sized canvases, each shown `delay_cs`
    hundredths of a second (a list gives one delay per frame); index 255 is transparent
    when `transparent` is set."""
    width, height = frames[0].width, frames[0].height
    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", width, height, 0xF7, 0, 0)
    out += b"".join(bytes(c) for c in PALETTE)
    if loop and len(frames) > 1:
        out += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00"
    delays = delay_cs if isinstance(delay_cs, list) else [delay_cs] * len(frames)
    for frame, delay in zip(frames, delays):
        # Disposal 2 (restore to background) so transparent parts of a frame stay clear.
        flags = (2 << 2) | (1 if transparent else 0)
        out += struct.pack("<BBBBHBB", 0x21, 0xF9, 4, flags, delay, TRANSPARENT, 0)
        out += struct.pack("<BHHHHB", 0x2C, 0, 0, width, height, 0)
        out.append(8)
        data = _lzw(bytes(frame.px))
        for i in range(0, len(data), 255):
            block = data[i:i + 255]
            out.append(len(block))
            out += block
        out.append(0)
    out.append(0x3B)
    with open(path, "wb") as f:
        f.write(out)
