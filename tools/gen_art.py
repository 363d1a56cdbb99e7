#!/usr/bin/env python3
"""Draws VROK's icons, cursors and bitmaps and writes them into resources/.

Run from the repository root:  python3 tools/gen_art.py

Everything is drawn from code and fixed seeds, so a rerun writes byte-identical
files and the art can be changed by editing this script rather than binaries.
"""

import math
import os
import random
import struct

OUT_DIR = "resources"

# The standard Windows 16-colour (VGA) palette, in palette index order.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, OLIVE, GREY, RED, YELLOW, WHITE = 0, 3, 8, 9, 11, 15

# One letter per colour for the hand-drawn sprites; '.' leaves a pixel alone.
SPRITE_COLOURS = {
    "K": BLACK, "O": OLIVE, "G": GREY, "R": RED, "Y": YELLOW, "W": WHITE,
}

# Monochrome cursors use palette index 0 = black, 1 = white; None is transparent.
MONO_BLACK, MONO_WHITE = 0, 1


# --- pixel grid ------------------------------------------------------------------

class Grid:
    """A width x height picture of palette indices; None marks transparency."""

    def __init__(self, width, height, fill=None):
        self.width = width
        self.height = height
        self.px = [[fill] * width for _ in range(height)]

    def inside(self, x, y):
        return 0 <= x < self.width and 0 <= y < self.height

    def get(self, x, y):
        return self.px[y][x] if self.inside(x, y) else None

    def set(self, x, y, value):
        if self.inside(x, y):
            self.px[y][x] = value

    def points(self):
        for y in range(self.height):
            for x in range(self.width):
                yield x, y


def fill_where(grid, test, value):
    """Sets every pixel whose centre passes test(x, y)."""
    for x, y in grid.points():
        if test(x, y):
            grid.set(x, y, value)


def disc_test(cx, cy, radius):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def ellipse_test(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def outline(grid, shape, value):
    """Paints the pixels of shape that touch a pixel outside it (4-neighbours)."""
    for x, y in grid.points():
        if shape(x, y) and not all(shape(x + dx, y + dy)
                                   for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
            grid.set(x, y, value)


def stamp(grid, left, top, rows):
    """Copies a hand-drawn sprite (rows of SPRITE_COLOURS letters) onto grid."""
    for dy, row in enumerate(rows):
        for dx, ch in enumerate(row):
            if ch != ".":
                grid.set(left + dx, top + dy, SPRITE_COLOURS[ch])


def halo(grid, value, around):
    """Puts value on every empty pixel next to (8-neighbours) a pixel equal to around."""
    hits = []
    for x, y in grid.points():
        if grid.get(x, y) is None and any(
                grid.get(x + dx, y + dy) == around
                for dx in (-1, 0, 1) for dy in (-1, 0, 1)):
            hits.append((x, y))
    for x, y in hits:
        grid.set(x, y, value)


def wobble(rng, harmonics, amplitude):
    """A smooth random function of the angle, for ragged but closed edges."""
    terms = [(k, rng.uniform(0.3, 1.0) * amplitude / k ** 0.6, rng.uniform(0, 2 * math.pi))
             for k in harmonics]
    return lambda angle: sum(a * math.sin(k * angle + phase) for k, a, phase in terms)


# --- file writers ----------------------------------------------------------------

def palette_bytes(colours):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)


def row_bytes(bits_per_pixel, width):
    """Bytes per DIB row, padded to a 4-byte boundary."""
    return (width * bits_per_pixel + 31) // 32 * 4


def pack_rows(values, width, height, bits_per_pixel):
    """Packs a row-major list of small integers into bottom-up DIB rows."""
    stride = row_bytes(bits_per_pixel, width)
    per_byte = 8 // bits_per_pixel
    out = bytearray()
    for y in reversed(range(height)):
        row = bytearray(stride)
        for x in range(width):
            shift = 8 - bits_per_pixel * (x % per_byte + 1)
            row[x // per_byte] |= values[y * width + x] << shift
        out += row
    return bytes(out)


def info_header(width, height, bits_per_pixel, image_size, colours_used):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits_per_pixel, 0,
                       image_size, 0, 0, colours_used, 0)


def icon_image(grid, bits_per_pixel, colours):
    """One ICO/CUR image: header with doubled height, palette, XOR bits, AND mask.

    Transparent pixels get XOR index 0 and AND bit 1, so the screen shows through.
    """
    w, h = grid.width, grid.height
    xor, mask = [], []
    for x, y in grid.points():
        v = grid.get(x, y)
        xor.append(0 if v is None else v)
        mask.append(1 if v is None else 0)
    xor_bits = pack_rows(xor, w, h, bits_per_pixel)
    and_bits = pack_rows(mask, w, h, 1)
    header = info_header(w, 2 * h, bits_per_pixel, len(xor_bits) + len(and_bits), len(colours))
    return header + palette_bytes(colours) + xor_bits + and_bits


def icon_file(kind, entries):
    """An ICO (kind 1) or CUR (kind 2) file.

    entries: (grid, colour count, field1, field2, image bytes), where the two fields
    are planes and bit count for an icon, the hot spot x and y for a cursor.
    """
    out = struct.pack("<HHH", 0, kind, len(entries))
    offset = 6 + 16 * len(entries)
    for grid, ncolours, f1, f2, image in entries:
        out += struct.pack("<BBBBHHII", grid.width % 256, grid.height % 256,
                           ncolours % 256, 0, f1, f2, len(image), offset)
        offset += len(image)
    return out + b"".join(entry[4] for entry in entries)


def write_ico(path, grids):
    entries = [(g, 16, 1, 4, icon_image(g, 4, VGA16)) for g in grids]
    write(path, icon_file(1, entries))


def write_cur(path, grid, hotspot):
    mono = [(0, 0, 0), (255, 255, 255)]
    write(path, icon_file(2, [(grid, 2, hotspot[0], hotspot[1], icon_image(grid, 1, mono))]))


def write_bmp(path, grid):
    """A 4-bpp bottom-up BMP with the VGA palette; grid must have no transparency."""
    values = [grid.get(x, y) for x, y in grid.points()]
    bits = pack_rows(values, grid.width, grid.height, 4)
    header = info_header(grid.width, grid.height, 4, len(bits), 16)
    table = palette_bytes(VGA16)
    offset = 14 + len(header) + len(table)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    write(path, file_header + header + table + bits)


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


# --- the tray face ------------------------------------------------------------------

# Per size: face geometry and hand-drawn features. The left eye winks (the face
# is aiming); the right eye looks through a gun sight.
FACE_32 = {
    "centre": 15.5, "radius": 15.6,
    "left_eye": (6, 8),
    "eyes": {
        "open": [
            "..KKK..",
            ".KWWKK.",
            ".KWKKK.",
            ".KKKKK.",
            ".KKKKK.",
            ".KKKKK.",
            "..KKK..",
        ],
        "half": [
            ".......",
            ".......",
            ".......",
            "KKKKKKK",
            ".KKKKK.",
            ".KKKKK.",
            "..KKK..",
        ],
        "shut": [
            ".......",
            ".......",
            "..KKK..",
            ".K...K.",
            "K.....K",
            ".......",
            ".......",
        ],
    },
    "sight": (16, 5, [
        "....KKKKK....",
        "..KKRRRRRKK..",
        ".KRRK...KRRK.",
        ".KRK..K..KRK.",
        "KRK...K...KRK",
        "KRK..KKK..KRK",
        "KRKKKKWKKKKRK",
        "KRK..KKK..KRK",
        "KRK...K...KRK",
        ".KRK..K..KRK.",
        ".KRRK...KRRK.",
        "..KKRRRRRKK..",
        "....KKKKK....",
    ]),
    "mouth": (7, 19, [
        "KKKKKKKKKKKKKKKKKK",
        "KWWWWWWWWWWWWWWWWK",
        ".KWWWWWWWWWWWWWWK.",
        ".KKKKKKKKKKKKKKKK.",
        "..KKKKKRRRRKKKKK..",
        "...KKKRRRRRRKKK...",
        "....KKKRRRRKKK....",
        "......KKKKKK......",
    ]),
    "shine": (6, 4, [
        "..WW",
        ".WW.",
        "W...",
    ]),
    "shade": (1.5, 1.0),
}

FACE_16 = {
    "centre": 7.5, "radius": 7.9,
    "left_eye": (3, 4),
    "eyes": {
        "open": [".WK.", ".KK.", ".KK.", ".KK."],
        "half": ["....", "KKKK", ".KK.", ".KK."],
        "shut": ["....", ".KK.", "K..K", "...."],
    },
    "sight": (7, 2, [
        "..RRR..",
        ".R...R.",
        "R..K..R",
        "R.KKK.R",
        "R..K..R",
        ".R...R.",
        "..RRR..",
    ]),
    "mouth": (3, 10, [
        "KKKKKKKKKK",
        ".KWWWWWWK.",
        "..KRRRRK..",
        "...KKKK...",
    ]),
    "shine": (3, 3, ["W"]),
    "shade": (1.5, 0.0),
}


def face(size, eye_state):
    """The program's face; eye_state is 'open', 'half' or 'shut' for the wink."""
    layout = FACE_32 if size == 32 else FACE_16
    g = Grid(size, size)
    c, r = layout["centre"], layout["radius"]
    head = disc_test(c, c, r)
    fill_where(g, head, YELLOW)
    # Light from the top left: a darker crescent on the lower right.
    shift, shrink = layout["shade"]
    lit = disc_test(c - shift, c - shift, r - shrink)
    fill_where(g, lambda x, y: head(x, y) and not lit(x, y), OLIVE)
    outline(g, head, BLACK)
    stamp(g, *layout["shine"])
    ex, ey = layout["left_eye"]
    stamp(g, ex, ey, layout["eyes"][eye_state])
    stamp(g, *layout["sight"])
    stamp(g, *layout["mouth"])
    return g


# --- cursors ------------------------------------------------------------------------

def crosshair():
    """Gun-sight crosshair centred on (15,15): ticks every 4 pixels, bars at the
    ends, a gap around the centre dot, and a white rim so it shows on dark and
    light desktops alike."""
    g = Grid(32, 32)
    c = 15
    for d in range(3, 15):
        for x, y in ((c + d, c), (c - d, c), (c, c + d), (c, c - d)):
            g.set(x, y, MONO_BLACK)
    for d in (6, 10, 14):
        half = 2 if d == 14 else 1
        for t in range(-half, half + 1):
            for x, y in ((c + d, c + t), (c - d, c + t), (c + t, c + d), (c + t, c - d)):
                g.set(x, y, MONO_BLACK)
    g.set(c, c, MONO_BLACK)
    halo(g, MONO_WHITE, MONO_BLACK)
    return g


ARROW = [
    "K...........",
    "KK..........",
    "KWK.........",
    "KWWK........",
    "KWWWK.......",
    "KWWWWK......",
    "KWWWWWK.....",
    "KWWWWWWK....",
    "KWWWWWWWK...",
    "KWWWWWWWWK..",
    "KWWWWWKKKKK.",
    "KWWKWWK.....",
    "KWK.KWWK....",
    "KK..KWWK....",
    "K....KWWK...",
    ".....KWWK...",
    "......KK....",
]

# Drawn in white; yawn() rims them in black.
BIG_Z = [
    "WWWWW",
    "...W.",
    "..W..",
    ".W...",
    "WWWWW",
]

SMALL_Z = [
    "WWWW",
    "..W.",
    ".W..",
    "WWWW",
]


def yawn():
    """Pointer arrow with a small yawning face beside it: the description window
    is the boring part of the program."""
    g = Grid(32, 32)
    stamp(g, 25, 2, BIG_Z)
    stamp(g, 17, 8, SMALL_Z)
    halo(g, BLACK, WHITE)
    stamp(g, 0, 0, ARROW)
    head = disc_test(22.5, 21.5, 8.6)
    fill_where(g, head, WHITE)
    outline(g, head, BLACK)
    # Sleepy eyes and a mouth wide open.
    stamp(g, 17, 17, ["K...K.K...K", ".KKK...KKK."])
    fill_where(g, ellipse_test(22.5, 25.0, 2.6, 3.3), BLACK)
    for x, y in g.points():
        g.set(x, y, {BLACK: MONO_BLACK, WHITE: MONO_WHITE, None: None}[g.get(x, y)])
    return g


# --- bitmaps drawn with an AND raster operation --------------------------------------

def hole():
    """Bullet hole: ragged black centre about 7 pixels across, grey torn rim."""
    rng = random.Random(1996)
    g = Grid(15, 15, WHITE)
    core = wobble(rng, range(2, 7), 0.45)
    rim = wobble(rng, range(3, 9), 0.7)
    for x, y in g.points():
        dx, dy = x - 7, y - 7
        d, a = math.hypot(dx, dy), math.atan2(dy, dx)
        if d <= 3.4 + core(a):
            g.set(x, y, BLACK)
        elif d <= 5.0 + rim(a):
            g.set(x, y, GREY)
    # A few flakes of torn surface just outside the rim.
    for _ in range(5):
        a = rng.uniform(0, 2 * math.pi)
        d = rng.uniform(5.6, 6.6)
        x, y = round(7 + d * math.cos(a)), round(7 + d * math.sin(a))
        if g.get(x, y) == WHITE:
            g.set(x, y, GREY)
    return g


def crater():
    """Grenade crater: big ragged black scorch, grey fringe fading out in specks,
    and splinter rays thrown outwards."""
    rng = random.Random(1945)
    size, c = 128, 63.5
    g = Grid(size, size, WHITE)
    core = wobble(rng, range(3, 24), 7.0)
    fringe = wobble(rng, range(4, 30), 5.0)
    rays = [(rng.uniform(0, 2 * math.pi), rng.uniform(12, 26), rng.uniform(1.6, 3.4))
            for _ in range(11)]

    def ray_cover(d, a):
        """How far inside a splinter ray (<0 outside) a point is."""
        best = -99.0
        for angle, length, width in rays:
            start = 30 + core(angle)
            t = d - start
            if -4 < t < length:
                offset = d * abs(math.sin(a - angle)) if math.cos(a - angle) > 0 else 99
                best = max(best, width * (1 - max(t, 0) / length) - offset)
        return best

    for x, y in g.points():
        dx, dy = x - c, y - c
        d, a = math.hypot(dx, dy), math.atan2(dy, dx)
        edge = 30 + core(a)
        scorch = edge + 3 + max(fringe(a), -2)
        outer = scorch + 8
        cover = ray_cover(d, a)
        if d <= edge or cover > 0:
            g.set(x, y, BLACK)
        elif d <= scorch or cover > -1.2:
            g.set(x, y, GREY)
        elif d <= outer and rng.random() < 0.7 * (outer - d) / (outer - scorch):
            g.set(x, y, GREY)
        elif d <= outer + 8 and rng.random() < 0.04:
            g.set(x, y, GREY)
    return g


# --- main -------------------------------------------------------------------------

def main():
    os.makedirs(OUT_DIR, exist_ok=True)

    def out(name):
        return os.path.join(OUT_DIR, name)

    write_ico(out("megaicon.ico"), [face(32, "open"), face(16, "open")])
    write_ico(out("megaicon3.ico"), [face(32, "half"), face(16, "half")])
    write_ico(out("megaicon4.ico"), [face(32, "shut"), face(16, "shut")])
    write_cur(out("megacursor.cur"), crosshair(), (15, 15))
    write_cur(out("gaehn.cur"), yawn(), (0, 0))
    write_bmp(out("loch.bmp"), hole())
    write_bmp(out("grenade.bmp"), crater())


if __name__ == "__main__":
    main()
