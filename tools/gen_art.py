#!/usr/bin/env python3
"""Draws VROK's icons, cursors and bitmaps and writes them into resources/.

Run from the repository root:  python3 tools/gen_art.py
With --dpi DPI FOLDER it writes only the hole and the crater drawn at DPI, as
loch.bmp and grenade.bmp in FOLDER (the end-to-end tests compare the screen with them).

Everything is drawn from code and fixed seeds, so a rerun writes byte-identical
files and the art can be changed by editing this script rather than binaries.
"""

import math
import os
import random
import struct
import sys

from face_layouts import FACE_16, FACE_20, FACE_24, FACE_32

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


def write_cur(path, cursors):
    """cursors: (grid, hot spot) of each size."""
    mono = [(0, 0, 0), (255, 255, 255)]
    write(path, icon_file(2, [(g, 2, x, y, icon_image(g, 1, mono)) for g, (x, y) in cursors]))


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

FACES = {32: FACE_32, 24: FACE_24, 20: FACE_20, 16: FACE_16}

# The sizes of each icon file: the large and small icon at 100 %, and the small one at 125, 150
# and 200 % (where the 32 is also the small icon).
ICON_SIZES = (32, 24, 20, 16)


def face(size, eye_state):
    """The program's face; eye_state is 'open', 'half' or 'shut' for the wink."""
    layout = FACES[size]
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

# The cursor sizes: 32 at 100 %, and 40, 48 and 64 for 125, 150 and 200 %, where Windows takes a
# cursor of the system's cursor size from the file.
CURSOR_SIZES = (32, 40, 48, 64)


def crosshair(size=32):
    """Gun-sight crosshair centred on (15,15) of 32: ticks every 4 pixels, bars at the
    ends, a gap around the centre dot, and a white rim so it shows on dark and
    light desktops alike. Larger sizes space it out, with lines 2 pixels wide at 64."""
    g = Grid(size, size)
    s, c, width = size / 32, size // 2 - 1, max(1, size // 32)

    def mark(x, y):
        for i in range(width):
            for j in range(width):
                g.set(x + i, y + j, MONO_BLACK)

    for d in range(round(3 * s), round(14 * s) + 1):
        for x, y in ((c + d, c), (c - d, c), (c, c + d), (c, c - d)):
            mark(x, y)
    for d in (6, 10, 14):
        half = round((2 if d == 14 else 1) * s)
        d = round(d * s)
        for t in range(-half, half + 1):
            for x, y in ((c + d, c + t), (c - d, c + t), (c + t, c + d), (c + t, c - d)):
                mark(x, y)
    mark(c, c)
    for _ in range(width):
        halo(g, MONO_WHITE, MONO_BLACK)
    return g


def enlarged(rows, s):
    """The pixels of a hand-drawn sprite (not '.') enlarged s times, each taking the nearest one."""
    w, h = len(rows[0]), len(rows)
    return [(x, y) for y in range(round(h * s)) for x in range(round(w * s))
            if rows[min(h - 1, int((y + 0.5) / s))][min(w - 1, int((x + 0.5) / s))] != "."]


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


def rimmed(grid, shape, width):
    """Fills shape (a test of points) white with a black rim width pixels wide inside it."""
    fill_where(grid, shape, WHITE)
    for _ in range(width):
        outline(grid, shape, BLACK)
        rest = {(x, y) for x, y in grid.points() if shape(x, y) and grid.get(x, y) != BLACK}
        shape = lambda x, y, rest=rest: (x, y) in rest


def yawn(size=32):
    """Pointer arrow with a small yawning face beside it: the description window
    is the boring part of the program. Larger sizes enlarge the shapes and draw
    their rims anew, 2 pixels wide at 64."""
    g = Grid(size, size)
    s, width = size / 32, max(1, size // 32)

    def shape(left, top, rows, value):
        for x, y in enlarged(rows, s):
            g.set(round(left * s) + x, round(top * s) + y, value)

    shape(25, 2, BIG_Z, WHITE)
    shape(17, 8, SMALL_Z, WHITE)
    for _ in range(width):
        halo(g, BLACK, WHITE)
    if size == 32:
        stamp(g, 0, 0, ARROW)
    else:
        arrow = set(enlarged(ARROW, s))
        rimmed(g, lambda x, y: (x, y) in arrow, width)
    rimmed(g, disc_test(23 * s - 0.5, 22 * s - 0.5, 8.6 * s), width)
    # Sleepy eyes and a mouth wide open.
    shape(17, 17, ["K...K.K...K", ".KKK...KKK."], BLACK)
    fill_where(g, ellipse_test(23 * s - 0.5, 25.5 * s - 0.5, 2.6 * s, 3.3 * s), BLACK)
    for x, y in g.points():
        g.set(x, y, {BLACK: MONO_BLACK, WHITE: MONO_WHITE, None: None}[g.get(x, y)])
    return g


# --- bitmaps drawn with an AND raster operation --------------------------------------

BASE_DPI = 96

# The scales the hole and crater are drawn for besides 100 %: 125, 150 and 200 % (VROK draws any other
# scale from the nearest of these above it, or the largest).
ART_DPIS = (120, 144, 192)


def scaled(length, dpi):
    """length at dpi, to the nearest pixel with halves up, as VROK rounds (MulDiv)."""
    return (2 * length * dpi + BASE_DPI) // (2 * BASE_DPI)


def hole(dpi=BASE_DPI):
    """Bullet hole: ragged black centre about 7 pixels across, grey torn rim; at dpi, the same hole
    drawn at dpi/96 of its size on the finer grid, not the 96 dpi pixels enlarged."""
    rng = random.Random(1996)
    s = dpi / BASE_DPI
    size = scaled(15, dpi)
    c = 7.5 * s - 0.5  # the centre of pixel 7 at 96 dpi
    g = Grid(size, size, WHITE)
    core = wobble(rng, range(2, 7), 0.45)
    rim = wobble(rng, range(3, 9), 0.7)
    for x, y in g.points():
        dx, dy = (x - c) / s, (y - c) / s
        d, a = math.hypot(dx, dy), math.atan2(dy, dx)
        if d <= 3.4 + core(a):
            g.set(x, y, BLACK)
        elif d <= 5.0 + rim(a):
            g.set(x, y, GREY)
    # A few flakes of torn surface just outside the rim, a pixel at 96 dpi.
    flake = max(1, round(s))
    for _ in range(5):
        a = rng.uniform(0, 2 * math.pi)
        d = rng.uniform(5.6, 6.6)
        x0 = round(c + s * d * math.cos(a) - (flake - 1) / 2)
        y0 = round(c + s * d * math.sin(a) - (flake - 1) / 2)
        for x, y in ((x0 + i, y0 + j) for i in range(flake) for j in range(flake)):
            if g.get(x, y) == WHITE:
                g.set(x, y, GREY)
    return g


def crater(dpi=BASE_DPI):
    """Grenade crater: big ragged black scorch, grey fringe fading out in specks,
    and splinter rays thrown outwards; at dpi drawn at dpi/96 of its size, specks a pixel each."""
    rng = random.Random(1945)
    s = dpi / BASE_DPI
    size = scaled(128, dpi)
    c = 64 * s - 0.5
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
        dx, dy = (x - c) / s, (y - c) / s
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


# Run-length coded art, as VROK reads it (shooting/shot_scale.h): the pixels row by row from the top,
# each byte a run of 1 to 64 pixels of one level, the level (0 white, 1 grey, 2 black) in its top two
# bits and the run's length less one in the low six.
ART_LEVELS = {WHITE: 0, GREY: 1, BLACK: 2}


def write_rle(path, grid):
    out = bytearray()
    values = [ART_LEVELS[grid.get(x, y)] for x, y in grid.points()]
    i = 0
    while i < len(values):
        n = 1
        while n < 64 and i + n < len(values) and values[i + n] == values[i]:
            n += 1
        out.append(values[i] << 6 | (n - 1))
        i += n
    write(path, bytes(out))


# --- main -------------------------------------------------------------------------

def write_art(folder, dpi):
    """The hole and the crater drawn at dpi as loch.bmp and grenade.bmp in folder, for comparing with
    what VROK draws on a screen of that scale."""
    os.makedirs(folder, exist_ok=True)
    write_bmp(os.path.join(folder, "loch.bmp"), hole(dpi))
    write_bmp(os.path.join(folder, "grenade.bmp"), crater(dpi))


def main():
    if len(sys.argv) == 4 and sys.argv[1] == "--dpi":
        write_art(sys.argv[3], int(sys.argv[2]))
        return
    os.makedirs(OUT_DIR, exist_ok=True)

    def out(name):
        return os.path.join(OUT_DIR, name)

    for name, eyes in (("megaicon.ico", "open"), ("megaicon3.ico", "half"), ("megaicon4.ico", "shut")):
        write_ico(out(name), [face(size, eyes) for size in ICON_SIZES])
    write_cur(out("megacursor.cur"), [(crosshair(n), (n // 2 - 1, n // 2 - 1)) for n in CURSOR_SIZES])
    write_cur(out("gaehn.cur"), [(yawn(n), (0, 0)) for n in CURSOR_SIZES])
    write_bmp(out("loch.bmp"), hole())
    write_bmp(out("grenade.bmp"), crater())
    for dpi in ART_DPIS:
        write_rle(out("loch%d.rle" % dpi), hole(dpi))
        write_rle(out("grenade%d.rle" % dpi), crater(dpi))


if __name__ == "__main__":
    main()
