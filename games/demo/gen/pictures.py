"""The demo's pictures: scene backgrounds, the objects placed on them, inventory items,
the map, the interface (menu and game-screen backgrounds, buttons, cursors) and the
exit picture. Every function paints one picture; make_pictures() writes them all."""
import math
import os

from gen.canvas import TRANSPARENT, Canvas, grey, rgb, write_bmp, write_gif

W, H = 700, 475

# Colours used across pictures
BLACK = rgb(0, 0, 0)
WHITE = rgb(255, 255, 255)
RED = rgb(204, 0, 0)
DARK_RED = rgb(153, 0, 0)
SAND = rgb(204, 204, 153)
WET_SAND = rgb(153, 153, 102)
SEA = rgb(0, 51, 153)
DEEP_SEA = rgb(0, 51, 102)
FOAM = rgb(204, 255, 255)
ROCK = grey(90)
DARK_ROCK = grey(55)
GRASS = rgb(51, 102, 0)
LIGHT_GRASS = rgb(102, 153, 51)
WOOD = rgb(102, 51, 0)
LIGHT_WOOD = rgb(153, 102, 51)
BRASS = rgb(255, 204, 51)
DARK_BRASS = rgb(204, 153, 0)
GLASS = rgb(153, 204, 255)
YELLOW = rgb(255, 255, 102)
LAMP_LIGHT = rgb(255, 255, 153)
STONE = grey(150)
DARK_STONE = grey(100)
NIGHT = rgb(0, 0, 51)
PAPER = rgb(255, 255, 204)
INK = rgb(51, 51, 102)


def evening_sky(c, horizon):
    c.gradient(0, 0, c.width, horizon, (40, 40, 110), (240, 150, 90))


def night_sky(c, horizon):
    c.gradient(0, 0, c.width, horizon, (0, 0, 30), (20, 30, 90))
    c.speckle(0, 0, c.width, horizon - 40, [WHITE, grey(200)], 400, seed=3)


def sea(c, top, bottom, night=False):
    if night:
        c.gradient(0, top, c.width, bottom, (10, 20, 70), (0, 10, 40))
    else:
        c.gradient(0, top, c.width, bottom, (60, 90, 160), (0, 50, 120))
    for k in range(12):  # a few lines of swell
        y = top + 8 + k * (bottom - top) // 12
        for x in range((k * 37) % 60, c.width, 60):
            c.span(y, x, x + 18, FOAM if not night else grey(120))


def lighthouse(c, cx, top, bottom, w_top, w_bottom, lit=False):
    """A red and white banded tower with its lantern room on top."""
    bands = 6
    for y in range(top, bottom):
        t = (y - top) / (bottom - top)
        half = (w_top + (w_bottom - w_top) * t) / 2
        band = int(t * bands) % 2
        c.span(y, cx - half, cx + half, WHITE if band == 0 else RED)
        c.span(y, cx + half * 0.55, cx + half, grey(200) if band == 0 else DARK_RED)
    gallery = w_top * 0.75
    c.rect(int(cx - gallery), top - 6, int(cx + gallery), top, BLACK)
    room_w = w_top * 0.45
    c.rect(int(cx - room_w), top - 6 - w_top // 2, int(cx + room_w), top - 6,
           LAMP_LIGHT if lit else GLASS)
    for k in range(-1, 2):
        x = int(cx + k * room_w * 0.6)
        c.rect(x, top - 6 - w_top // 2, x + 2, top - 6, BLACK)
    c.polygon([(cx - room_w - 4, top - 6 - w_top // 2), (cx + room_w + 4, top - 6 - w_top // 2),
               (cx, top - 10 - w_top)], RED)


def rocks(c, spots):
    for (x, y, rx, ry) in spots:
        c.ellipse(x, y, rx, ry, DARK_ROCK)
        c.ellipse(x - rx * 0.2, y - ry * 0.25, rx * 0.75, ry * 0.6, ROCK)


def stone_wall(c, x0, y0, x1, y1, light, dark, block=40, course=22):
    c.rect(x0, y0, x1, y1, light)
    for k, y in enumerate(range(y0, y1, course)):
        c.rect(x0, y, x1, y + 2, dark)
        offset = (block // 2) * (k % 2)
        for x in range(x0 + offset, x1, block):
            c.rect(x, y, x + 2, min(y1, y + course), dark)


# ---- scene backgrounds -------------------------------------------------------------

def scene_shore():
    c = Canvas(W, H)
    evening_sky(c, 200)
    lighthouse(c, 610, 80, 210, 22, 34)
    sea(c, 200, 300)
    c.rect(0, 300, W, H, SAND)
    c.rect(0, 300, W, 318, WET_SAND)
    c.speckle(0, 320, W, H, [WET_SAND, rgb(255, 204, 153)], 60, seed=5)
    rocks(c, [(60, 330, 70, 40), (640, 420, 90, 55)])
    return c


def scene_tower():
    c = Canvas(W, H)
    evening_sky(c, 260)
    sea(c, 260, 330)
    c.rect(0, 330, W, H, LIGHT_GRASS)
    c.speckle(0, 330, W, H, [GRASS], 30, seed=9)
    lighthouse(c, 350, 110, 420, 150, 210)
    c.polygon([(420, 475), (460, 330), (700, 330), (700, 400), (520, 475)], SAND)  # the path on
    c.rect(296, 286, 404, 420, grey(40))  # the doorway the door fills
    c.rect(286, 420, 414, 432, STONE)  # the step
    return c


def scene_hall():
    c = Canvas(W, H)
    stone_wall(c, 0, 0, W, 380, grey(70), grey(45))
    c.rect(0, 380, W, H, rgb(51, 51, 0))
    for x in range(0, W, 50):
        c.rect(x, 380, x + 2, H, BLACK)
    # stairs winding up on the left
    for k in range(8):
        c.rect(40 + k * 22, 360 - k * 40, 160 + k * 22, 380 - k * 40, grey(110 - k * 5))
        c.rect(40 + k * 22, 376 - k * 40, 160 + k * 22, 380 - k * 40, grey(40))
    # a small window with the evening outside
    c.rect(520, 80, 600, 180, grey(30))
    c.gradient(526, 86, 594, 174, (60, 60, 140), (230, 140, 90))
    c.rect(558, 86, 562, 174, grey(30))
    return c


def scene_lamp_room():
    c = Canvas(W, H)
    night_sky(c, H)
    # the glazing: dark bars over the sky
    for x in range(0, W, 116):
        c.rect(x, 0, x + 8, 360, grey(30))
    c.rect(0, 120, W, 128, grey(30))
    c.rect(0, 360, W, H, grey(60))
    c.rect(0, 360, W, 370, grey(30))
    c.rect(260, 330, 440, 420, DARK_BRASS)  # the lamp's pedestal
    c.rect(250, 410, 450, 430, BRASS)
    return c


def scene_garden():
    c = Canvas(W, H)
    evening_sky(c, 240)
    c.rect(0, 240, W, H, LIGHT_GRASS)
    c.speckle(0, 240, W, H, [GRASS, rgb(255, 153, 204), YELLOW], 40, seed=11)
    # the cottage: whitewashed walls, a thatched roof, a green door
    c.rect(200, 170, 560, 380, rgb(255, 255, 204))
    c.polygon([(180, 180), (380, 70), (580, 180)], rgb(153, 102, 51))
    c.rect(330, 250, 400, 380, rgb(0, 102, 51))  # the door
    c.circle(390, 318, 4, BRASS)
    c.rect(230, 220, 300, 280, GLASS)
    c.rect(460, 220, 530, 280, GLASS)
    c.rect(264, 220, 267, 280, WOOD)
    c.rect(494, 220, 497, 280, WOOD)
    for x in range(0, W, 24):  # the fence
        c.rect(x, 400, x + 8, 450, WHITE)
    c.rect(0, 410, W, 416, WHITE)
    c.rect(0, 435, W, 441, WHITE)
    return c


def scene_kitchen():
    c = Canvas(W, H)
    c.rect(0, 0, W, 330, rgb(204, 153, 102))
    for x in range(0, W, 70):
        c.rect(x, 0, x + 3, 330, rgb(153, 102, 51))
    c.rect(0, 330, W, H, rgb(102, 51, 0))
    # window, stove with a glowing fire, table
    c.rect(80, 60, 200, 170, grey(40))
    c.gradient(86, 66, 194, 164, (30, 30, 90), (180, 110, 90))
    c.rect(500, 180, 640, 340, grey(40))
    c.rect(530, 260, 610, 320, rgb(255, 102, 0))
    c.rect(555, 40, 585, 180, grey(50))
    c.rect(130, 300, 400, 316, LIGHT_WOOD)
    c.rect(150, 316, 166, 400, WOOD)
    c.rect(364, 316, 380, 400, WOOD)
    c.circle(200, 290, 12, WHITE)  # a mug
    return c


def scene_cove():
    c = Canvas(W, H)
    evening_sky(c, 190)
    sea(c, 190, 330)
    c.polygon([(0, 330), (700, 330), (700, 475), (0, 475)], SAND)
    c.polygon([(0, 60), (130, 120), (180, 330), (0, 360)], DARK_ROCK)
    c.polygon([(560, 330), (620, 140), (700, 100), (700, 360)], DARK_ROCK)
    rocks(c, [(360, 360, 80, 36), (150, 430, 60, 30)])
    return c


def scene_jetty():
    c = Canvas(W, H)
    evening_sky(c, 180)
    sea(c, 180, H)
    # the jetty runs from the right edge out to sea
    c.polygon([(700, 330), (700, 420), (180, 380), (180, 350)], LIGHT_WOOD)
    for x in range(190, 700, 30):
        c.rect(x, 350 + (700 - x) // 20, x + 3, 390 + (700 - x) // 12, WOOD)
    for x in (200, 330, 460, 590):
        c.rect(x, 380, x + 12, 460, WOOD)
    return c


def scene_ending():
    c = Canvas(W, H)
    night_sky(c, 260)
    sea(c, 260, H, night=True)
    lighthouse(c, 560, 90, 300, 40, 60, lit=True)
    rocks(c, [(560, 320, 120, 40)])
    c.centred_text(300, 420, "THE SHIP IS SAFE", YELLOW, 3, shadow=BLACK)
    return c


def scene_credits():
    c = Canvas(W, H)
    night_sky(c, H)
    lines = [("LIGHTHOUSE", 4), ("", 2), ("A SHORT EVENING AT THE SEA", 2), ("", 2),
             ("STORY, PICTURES AND SOUNDS", 2), ("MADE IN CODE", 2), ("BY THE QUORVEX TEAM", 2),
             ("", 2), ("THANK YOU FOR PLAYING", 2)]
    y = 60
    for text, scale in lines:
        c.centred_text(W // 2, y, text, YELLOW if scale > 2 else WHITE, scale, shadow=BLACK)
        y += 12 * scale + 10
    return c


# ---- objects ---------------------------------------------------------------------

def blank(w, h):
    return Canvas(w, h, TRANSPARENT)


def key_picture(glint=False):
    c = blank(66, 30)
    c.circle(13, 15, 12, BRASS)
    c.circle(13, 15, 5, TRANSPARENT)
    c.rect(24, 12, 63, 19, BRASS)
    c.rect(48, 18, 52, 26, BRASS)
    c.rect(56, 18, 60, 28, BRASS)
    c.rect(24, 17, 63, 19, DARK_BRASS)
    if glint:
        c.rect(5, 6, 9, 10, WHITE)
        c.rect(36, 12, 40, 14, WHITE)
    return c


def door_picture(open_=False):
    c = blank(100, 130)
    if open_:
        c.rect(0, 0, 100, 130, grey(20))
        c.polygon([(0, 0), (24, 10), (24, 122), (0, 130)], WOOD)
        c.rect(34, 100, 84, 130, rgb(51, 51, 0))
        return c
    for x in range(0, 100, 20):
        c.rect(x, 0, x + 20, 130, WOOD if (x // 20) % 2 else LIGHT_WOOD)
    c.rect(0, 24, 100, 31, grey(40))
    c.rect(0, 98, 100, 105, grey(40))
    c.circle(82, 68, 6, BRASS)
    c.rect(80, 75, 84, 86, BLACK)  # the keyhole
    return c


def waves_frames():
    frames = []
    for k in range(4):
        c = blank(700, 24)
        for x in range(0, 700, 2):
            y = 12 + 6 * math.sin((x + k * 20) / 30) + 3 * math.sin((x - k * 11) / 13)
            c.rect(x, int(y), x + 2, int(y) + 5, FOAM)
            c.rect(x, int(y) + 5, x + 2, 24, TRANSPARENT)
        frames.append(c)
    return frames


def signpost_picture():
    c = blank(120, 130)
    c.rect(55, 30, 65, 130, WOOD)
    c.polygon([(10, 20), (100, 20), (118, 38), (100, 56), (10, 56)], LIGHT_WOOD)
    c.text(18, 32, "COTTAGE", BLACK, 1)
    return c


def switch_picture(on):
    c = blank(40, 60)
    c.rect(0, 0, 40, 60, grey(180))
    c.frame(0, 0, 40, 60, grey(80), 2)
    c.rect(16, 10, 24, 50, grey(60))
    knob = 14 if on else 44
    c.rect(10, knob - 6, 30, knob + 6, RED)
    return c


def glow_frames():
    frames = []
    for k in range(2):
        c = blank(120, 120)
        for r, col in ((58 - k * 4, rgb(153, 102, 0)), (40, rgb(255, 204, 51)), (20, LAMP_LIGHT)):
            c.circle(60, 60, r, col)
        c.rect(54, 0, 66, 40, grey(40))
        frames.append(c)
    return frames


def lantern_picture(full=False, small=False):
    c = blank(60, 80)
    c.rect(26, 0, 34, 10, grey(40))
    c.rect(14, 10, 46, 16, grey(60))
    c.rect(16, 16, 44, 64, GLASS)
    if full:
        c.rect(18, 44, 42, 64, rgb(204, 153, 0))
    c.rect(16, 16, 19, 64, grey(60))
    c.rect(41, 16, 44, 64, grey(60))
    c.rect(12, 64, 48, 76, grey(60))
    return c


def chart_picture():
    c = blank(140, 100)
    c.rect(0, 0, 140, 100, PAPER)
    c.frame(0, 0, 140, 100, WOOD, 4)
    c.polygon([(20, 20), (70, 30), (120, 20), (110, 80), (40, 85)], rgb(153, 204, 153))
    c.circle(90, 45, 4, RED)
    c.text(30, 88, "CHART", INK, 1)
    return c


def lamp_picture(state):
    """The great lamp: 0 empty, 1 filled with its wick showing."""
    c = blank(160, 140)
    c.ellipse(80, 70, 70, 66, GLASS)
    c.ellipse(80, 70, 54, 50, rgb(204, 230, 255))
    for y in range(10, 130, 12):
        c.span(y, 20, 140, grey(170))
    c.rect(60, 100, 100, 140, BRASS)
    if state >= 1:
        c.rect(62, 104, 98, 136, rgb(204, 153, 0))
        c.rect(78, 80, 82, 102, BLACK)  # the wick
    return c


def lamp_lit_frames():
    frames = []
    for k in range(4):
        c = blank(240, 160)
        spread = 40 + 10 * (k % 2)
        c.polygon([(120, 70), (0, 70 - spread), (0, 70 + spread)], LAMP_LIGHT)
        c.polygon([(120, 70), (240, 70 - spread), (240, 70 + spread)], LAMP_LIGHT)
        c.ellipse(120, 80, 70, 66, rgb(255, 255, 204))
        c.circle(120, 80, 30 + 3 * (k % 2), YELLOW)
        c.circle(120, 80, 14, WHITE)
        c.rect(100, 120, 140, 160, BRASS)
        frames.append(c)
    return frames


def shutter_frames():
    """The lens shutter sliding open, frame by frame."""
    frames = []
    for k in range(5):
        c = blank(100, 90)
        c.rect(0, 0, 100, 90, grey(40))
        opening = k * 16
        c.rect(10, 10, 90, 80, rgb(255, 255, 204))
        c.rect(10, 10 + opening, 90, 80, grey(120))
        for y in range(10 + opening, 80, 10):
            c.rect(10, y, 90, y + 2, grey(80))
        frames.append(c)
    return frames


def note_picture():
    c = blank(40, 48)
    c.polygon([(0, 4), (36, 0), (40, 44), (4, 48)], PAPER)
    for y in range(12, 40, 7):
        c.line(8, y, 32, y - 2, INK)
    c.circle(20, 5, 3, RED)  # the pin
    return c


def keeper_frames():
    """Old Mo by the stove, blinking."""
    frames = []
    for k in range(2):
        c = blank(130, 230)
        c.rect(25, 90, 105, 230, rgb(0, 51, 102))  # the jersey
        c.rect(35, 90, 95, 110, rgb(0, 76, 153))
        c.circle(65, 55, 36, rgb(255, 204, 153))
        c.ellipse(65, 85, 30, 16, WHITE)  # the beard
        c.rect(28, 20, 102, 34, rgb(0, 0, 102))  # the cap
        c.rect(40, 8, 90, 24, rgb(0, 0, 102))
        eye = 2 if k else 5
        c.rect(48, 50, 56, 50 + eye, BLACK)
        c.rect(74, 50, 82, 50 + eye, BLACK)
        c.rect(58, 66, 72, 72, rgb(204, 102, 102))
        frames.append(c)
    return frames


def gull_frames():
    frames = []
    for k in range(4):
        c = blank(90, 60)
        up = [14, 0, 14, 26][k]
        c.polygon([(45, 30), (5, 30 - up), (20, 34)], WHITE)
        c.polygon([(45, 30), (85, 30 - up), (70, 34)], WHITE)
        c.ellipse(45, 34, 18, 9, WHITE)
        c.circle(60, 30, 6, WHITE)
        c.rect(64, 29, 72, 32, YELLOW)
        c.rect(58, 28, 60, 30, BLACK)
        c.rect(40, 42, 42, 54 if k == 0 else 46, YELLOW)
        frames.append(c)
    return frames


def bell_picture(ringing=False):
    c = blank(80, 150)
    c.rect(36, 20, 44, 150, WOOD)
    c.rect(10, 14, 70, 22, WOOD)
    tilt = 6 if ringing else 0
    c.polygon([(22 + tilt, 30), (58 + tilt, 30), (66 + tilt, 76), (14 + tilt, 76)], BRASS)
    c.rect(14 + tilt, 72, 66 + tilt, 78, DARK_BRASS)
    c.circle(40 + tilt, 82, 5, DARK_BRASS)
    return c


def boat_frames():
    frames = []
    for k in range(4):
        c = blank(200, 110)
        dy = [0, 2, 4, 2][k]
        c.polygon([(10, 60 + dy), (190, 60 + dy), (160, 100 + dy), (40, 100 + dy)], rgb(153, 51, 0))
        c.rect(10, 58 + dy, 190, 64 + dy, WHITE)
        c.rect(96, 0 + dy, 100, 60 + dy, WOOD)
        c.polygon([(100, 4 + dy), (160, 52 + dy), (100, 52 + dy)], rgb(255, 255, 204))
        c.circle(60, 44 + dy, 10, rgb(255, 204, 153))  # the ferryman
        c.rect(50, 54 + dy, 70, 62 + dy, rgb(255, 204, 0))
        frames.append(c)
    return frames


def oil_can_picture():
    c = blank(50, 56)
    c.rect(8, 18, 42, 56, rgb(0, 102, 0))
    c.rect(8, 18, 42, 22, rgb(0, 153, 0))
    c.polygon([(30, 18), (34, 18), (48, 2), (45, 0)], grey(120))
    c.rect(12, 6, 22, 18, grey(80))
    c.text(13, 34, "OIL", WHITE, 1)
    return c


def beam_frames():
    frames = []
    for k in range(8):
        c = blank(700, 120)
        a = k * math.pi / 8
        length = 340 * abs(math.cos(a))
        sign = 1 if math.cos(a) >= 0 else -1
        end = 560 + sign * length
        c.polygon([(560, 60), (end, 60 - 30 * abs(math.cos(a)) - 4), (end, 60 + 30 * abs(math.cos(a)) + 4)],
                  rgb(255, 255, 153))
        frames.append(c)
    return frames


def star_frames():
    frames = []
    for k in range(4):
        c = blank(40, 40)
        r = 6 + 4 * (k % 2)
        c.polygon([(20, 20 - r * 1.8), (22, 18), (20 + r * 1.8, 20), (22, 22), (20, 20 + r * 1.8),
                   (18, 22), (20 - r * 1.8, 20), (18, 18)], YELLOW)
        frames.append(c)
    return frames


def ship_far_picture():
    c = blank(120, 60)
    c.polygon([(0, 40), (120, 40), (104, 58), (10, 58)], grey(30))
    c.rect(30, 24, 90, 40, grey(50))
    c.rect(50, 8, 58, 24, grey(40))
    for x in range(36, 88, 10):
        c.rect(x, 30, x + 4, 34, YELLOW)
    return c


# ---- inventory items -----------------------------------------------------------

def matches_picture():
    c = blank(50, 34)
    c.rect(0, 6, 50, 34, rgb(204, 0, 0))
    c.rect(4, 12, 46, 28, rgb(255, 255, 204))
    c.text(6, 16, "MATCH", RED, 1)
    for x in range(8, 44, 6):
        c.rect(x, 0, x + 2, 6, LIGHT_WOOD)
        c.rect(x, 0, x + 2, 2, RED)
    return c


# The inventory items, by the name their bar, hand and highlighted pictures carry.
ITEM_PICTURES = {
    "key": key_picture,
    "lantern": lantern_picture,
    "oilcan": oil_can_picture,
    "full": lambda: lantern_picture(True),
    "matches": matches_picture,
    "note": note_picture,
}


def fit(picture, size, background):
    """Centres `picture` on a size x size square, scaled down to fit when larger."""
    c = Canvas(size, size, background)
    scale = max(1, math.ceil(max(picture.width, picture.height) / (size - 4)))
    w, h = picture.width // scale, picture.height // scale
    x0, y0 = (size - w) // 2, (size - h) // 2
    for y in range(h):
        for x in range(w):
            v = picture.get(x * scale, y * scale)
            if v != TRANSPARENT:
                c.set(x0 + x, y0 + y, v)
    return c


def item_pictures(gfx):
    for name, paint in ITEM_PICTURES.items():
        picture = paint()
        bar = fit(picture, 42, grey(40))
        bar.frame(0, 0, 42, 42, grey(90))
        write_bmp(os.path.join(gfx, "i_%s.bmp" % name), bar)
        write_gif(os.path.join(gfx, "h_%s.gif" % name), [fit(picture, 32, TRANSPARENT)])
        lit = fit(picture, 32, TRANSPARENT)
        lit.frame(0, 0, 32, 32, YELLOW, 2)
        write_gif(os.path.join(gfx, "l_%s.gif" % name), [lit])


def note_closeup_frames():
    """The keeper's note unfolding, its lines appearing one by one."""
    lines = ["DEAR KEEPER,", "THE LAMP OIL", "CAME BY BOAT.", "RING THE BELL", "AT THE JETTY",
             "PAST THE COVE", "AND THE FERRY-", "MAN WILL COME.", "", "     - MO"]
    frames = []
    for k in range(len(lines) + 1):
        c = Canvas(220, 250, grey(30))
        c.rect(10, 10, 210, 240, PAPER)
        c.frame(10, 10, 210, 240, rgb(204, 153, 102), 3)
        for i, line in enumerate(lines[:k]):
            c.text(22, 26 + i * 20, line, INK, 2 if len(line) <= 6 else 1)
        frames.append(c)
    return frames


# ---- map -----------------------------------------------------------------------

def map_picture():
    c = Canvas(W, H, rgb(102, 153, 204))
    c.speckle(0, 0, W, H, [rgb(51, 102, 204)], 25, seed=13)
    coast = [(0, 260), (80, 240), (150, 300), (260, 280), (380, 200), (480, 190), (560, 240),
             (700, 220), (700, 475), (0, 475)]
    c.polygon(coast, rgb(204, 204, 153))
    c.polygon([(90, 300), (200, 330), (300, 310), (420, 250), (560, 270), (700, 260), (700, 475),
               (0, 475), (0, 320)], rgb(153, 204, 102))
    c.frame(0, 0, W, H, WOOD, 8)
    c.text(20, 20, "THE KEEPER'S CHART", INK, 3)
    c.circle(620, 90, 40, PAPER)
    c.polygon([(620, 52), (628, 90), (620, 128), (612, 90)], RED)
    c.text(616, 34, "N", INK, 2)
    return c


def pin_frames():
    frames = []
    for k in range(2):
        c = blank(30, 40)
        c.rect(6, 4, 9, 40, BLACK)
        wave = 3 * k
        c.polygon([(9, 4), (28, 8 + wave), (9, 18)], RED)
        frames.append(c)
    return frames


# ---- interface -----------------------------------------------------------------

def menu_background():
    c = Canvas(800, 600)
    night_sky(c, 420)
    sea(c, 420, 600, night=True)
    c.polygon([(680, 264), (800, 240), (800, 290)], rgb(255, 255, 153))
    c.polygon([(680, 264), (560, 244), (560, 284)], rgb(255, 255, 153))
    lighthouse(c, 680, 290, 470, 30, 50, lit=True)
    rocks(c, [(680, 475, 100, 26)])
    c.centred_text(400, 70, "LIGHTHOUSE", YELLOW, 8, shadow=BLACK)
    c.centred_text(400, 150, "A SHORT EVENING AT THE SEA", WHITE, 2, shadow=BLACK)
    return c


def button_frames(label, width, height, scale):
    """Frame 0 highlighted, frame 1 normal."""
    frames = []
    for lit in (True, False):
        c = Canvas(width, height, rgb(153, 102, 51) if lit else rgb(102, 51, 0))
        c.frame(0, 0, width, height, YELLOW if lit else rgb(204, 153, 102), 3)
        ty = (height - 7 * scale) // 2
        c.centred_text(width // 2, ty, label, YELLOW if lit else WHITE, scale, shadow=BLACK)
        frames.append(c)
    return frames


def game_background():
    c = Canvas(800, 600, rgb(51, 25, 0))
    for y in range(0, 600, 6):
        c.rect(0, y, 800, y + 1, rgb(76, 38, 0) if (y // 6) % 2 else rgb(40, 20, 0))
    c.rect(0, 0, 702, 477, grey(20))
    c.centred_text(750, 380, "LIGHT", YELLOW, 1)
    c.centred_text(750, 392, "HOUSE", YELLOW, 1)
    lighthouse(c, 750, 200, 360, 14, 24, lit=True)
    return c


def cursor_arrow():
    c = blank(20, 24)
    c.polygon([(0, 0), (0, 20), (5, 15), (9, 23), (12, 22), (8, 14), (15, 14)], BLACK)
    c.polygon([(1, 3), (1, 17), (5, 13), (9, 20), (10, 19), (6, 12), (12, 12)], WHITE)
    return c


def cursor_busy():
    c = blank(20, 26)
    c.rect(0, 0, 20, 3, WOOD)
    c.rect(0, 23, 20, 26, WOOD)
    c.polygon([(3, 3), (17, 3), (11, 13), (17, 23), (3, 23), (9, 13)], GLASS)
    c.polygon([(6, 6), (14, 6), (10, 12)], SAND)
    c.polygon([(10, 16), (15, 22), (5, 22)], SAND)
    return c


def cursor_hand(grab):
    c = blank(24, 24)
    c.rect(4, 10, 20, 22, rgb(255, 204, 153))
    for k in range(4):
        top = 6 if grab else 0 + (k % 2) * 2
        c.rect(4 + k * 4, top, 7 + k * 4, 12, rgb(255, 204, 153))
        c.rect(4 + k * 4, top, 5 + k * 4, 12, BLACK)
    c.frame(4, 10, 20, 22, BLACK)
    return c


def cursor_eye():
    c = blank(24, 16)
    c.ellipse(12, 8, 11, 7, BLACK)
    c.ellipse(12, 8, 10, 5, WHITE)
    c.circle(12, 8, 4, rgb(0, 102, 204))
    c.circle(12, 8, 2, BLACK)
    return c


def cursor_go():
    c = blank(24, 24)
    c.polygon([(0, 8), (12, 8), (12, 0), (23, 12), (12, 23), (12, 16), (0, 16)], BLACK)
    c.polygon([(2, 10), (14, 10), (14, 5), (20, 12), (14, 19), (14, 14), (2, 14)], YELLOW)
    return c


def dialog_background(w, h, title):
    c = Canvas(w, h, rgb(51, 25, 0))
    c.frame(0, 0, w, h, YELLOW, 3)
    c.frame(6, 6, w - 6, h - 6, rgb(153, 102, 51), 1)
    if title:
        c.centred_text(w // 2, 12, title, YELLOW, 2)
    return c


def exit_picture():
    c = Canvas(500, 300)
    night_sky(c, 300)
    lighthouse(c, 80, 90, 280, 20, 34, lit=True)
    c.centred_text(290, 100, "THANK YOU", YELLOW, 4, shadow=BLACK)
    c.centred_text(290, 150, "FOR PLAYING", YELLOW, 3, shadow=BLACK)
    c.centred_text(290, 210, "GOOD NIGHT, KEEPER", WHITE, 2, shadow=BLACK)
    return c


def make_pictures(gfx):
    def bmp(name, canvas):
        write_bmp(os.path.join(gfx, name), canvas)

    def gif(name, frames, delay=10):
        write_gif(os.path.join(gfx, name), frames if isinstance(frames, list) else [frames], delay)

    def still(name, canvas):
        # Large pictures as GIF: its compression keeps the game small.
        write_gif(os.path.join(gfx, name), [canvas], transparent=False)

    for name, paint in (("shore", scene_shore), ("tower", scene_tower), ("hall", scene_hall),
                        ("lamproom", scene_lamp_room), ("garden", scene_garden),
                        ("kitchen", scene_kitchen), ("cove", scene_cove), ("jetty", scene_jetty),
                        ("ending", scene_ending), ("credits", scene_credits)):
        still(name + ".gif", paint())

    gif("key.gif", [key_picture(), key_picture(True)], [150, 20])
    gif("door.gif", door_picture())
    gif("dooropen.gif", door_picture(True))
    gif("waves.gif", waves_frames(), 25)
    gif("signpost.gif", signpost_picture())
    gif("switch.gif", switch_picture(False))
    gif("switchon.gif", switch_picture(True))
    gif("glow.gif", glow_frames(), 40)
    gif("lantern.gif", lantern_picture())
    gif("chart.gif", chart_picture())
    gif("lamp.gif", lamp_picture(0))
    gif("lampwick.gif", lamp_picture(1))
    gif("lamplit.gif", lamp_lit_frames(), 15)
    gif("shutter.gif", shutter_frames(), 12)
    gif("note.gif", note_picture())
    gif("keeper.gif", keeper_frames(), [300, 15])
    gif("gull.gif", gull_frames(), 12)
    gif("bell.gif", bell_picture())
    gif("bellrung.gif", bell_picture(True))
    gif("boat.gif", boat_frames(), 30)
    gif("oilcan.gif", oil_can_picture())
    gif("beam.gif", beam_frames(), 12)
    gif("star.gif", star_frames(), 30)
    gif("shipfar.gif", ship_far_picture())
    gif("closeup.gif", note_closeup_frames(), [40] * 10 + [400])
    item_pictures(gfx)

    still("chartmap.gif", map_picture())
    gif("pin.gif", pin_frames(), 40)

    still("menubg.gif", menu_background())
    for name, label in (("m_intro", "INTRO"), ("m_new", "NEW GAME"), ("m_load", "LOAD GAME"),
                        ("m_credits", "CREDITS"), ("m_close", "QUIT")):
        gif(name + ".gif", button_frames(label, 200, 40, 2), 0)
    for name, label in (("g_menu", "MENU"), ("g_save", "SAVE"), ("g_look", "EXAMINE")):
        gif(name + ".gif", button_frames(label, 90, 30, 1), 0)
    still("gamebg.gif", game_background())
    # The dialogs' own pictures, under the names the player looks for.
    bmp("bgquit.bmp", dialog_background(320, 150, ""))
    bmp("bgsave.bmp", dialog_background(400, 300, ""))
    bmp("bgload.bmp", dialog_background(400, 300, ""))
    for name, label in (("btnyes", "YES"), ("btnno", "NO"), ("btnok", "OK"), ("btncancel", "CANCEL")):
        gif(name + ".gif", button_frames(label, 100, 32, 2), 0)

    gif("c_arrow.gif", cursor_arrow())
    gif("c_busy.gif", cursor_busy())
    gif("c_hand.gif", cursor_hand(False))
    gif("c_grab.gif", cursor_hand(True))
    gif("c_eye.gif", cursor_eye())
    gif("c_go.gif", cursor_go())

    bmp("goodbye.bmp", exit_picture())
