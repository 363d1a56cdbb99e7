#!/usr/bin/env python3
"""Compares two screenshots (PPM) after ANDing bitmaps (BMP) into the first one, as VROK draws holes
and craters, and prints how many pixels differ and where.

    screen_check.py BEFORE.ppm AFTER.ppm [--and BITMAP.bmp X Y]... [--ignore X Y W H]...

Prints "N differing pixels" and, when N > 0, " in X0,Y0-X1,Y1" (inclusive bounding box).
Exits 0 when the images are equal after the ANDs, 1 when they differ, 2 on bad input."""
import struct
import sys


class Image:
    """An RGB image: width, height and a bytearray of 3 bytes per pixel, rows top to bottom."""

    def __init__(self, width, height, pixels):
        self.width, self.height, self.pixels = width, height, pixels


def read_ppm(path):
    data = open(path, "rb").read()
    fields, position = [], 0
    # Header: magic, width, height, maxval, separated by whitespace, comments allowed.
    while len(fields) < 4:
        while data[position:position + 1].isspace():
            position += 1
        if data[position:position + 1] == b"#":
            position = data.index(b"\n", position) + 1
            continue
        end = position
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[position:end])
        position = end
    position += 1
    if fields[0] != b"P6":
        raise ValueError("%s: not a binary PPM" % path)
    width, height, maxval = int(fields[1]), int(fields[2]), int(fields[3])
    body = data[position:]
    if maxval == 255:
        pixels = bytearray(body[:width * height * 3])
    elif maxval == 65535:
        # ImageMagick writes 16 bits unless told -depth 8; keep the high byte.
        pixels = bytearray(body[0:width * height * 6:2])
    else:
        raise ValueError("%s: maxval %d not supported" % (path, maxval))
    if len(pixels) != width * height * 3:
        raise ValueError("%s: truncated" % path)
    return Image(width, height, pixels)


def read_bmp(path):
    """Reads an uncompressed palette BMP (1, 4 or 8 bits per pixel) into an Image."""
    data = open(path, "rb").read()
    if data[:2] != b"BM":
        raise ValueError("%s: not a BMP" % path)
    offset, = struct.unpack_from("<I", data, 10)
    header_size, width, height, planes, bits, compression, _, _, _, used = \
        struct.unpack_from("<IiiHHIIiiI", data, 14)
    if bits not in (1, 4, 8) or compression != 0:
        raise ValueError("%s: %d bpp, compression %d not supported" % (path, bits, compression))
    colours = used or (1 << bits)
    table = 14 + header_size
    palette = [data[table + 4 * i:table + 4 * i + 3][::-1] for i in range(colours)]  # BGRx to RGB
    bottom_up = height > 0
    height = abs(height)
    stride = (width * bits + 31) // 32 * 4
    pixels = bytearray()
    for y in range(height):
        row = offset + stride * ((height - 1 - y) if bottom_up else y)
        for x in range(width):
            bit = x * bits
            index = (data[row + bit // 8] >> (8 - bits - bit % 8)) & ((1 << bits) - 1)
            pixels += palette[index]
    return Image(width, height, pixels)


def and_into(screen, bitmap, left, top):
    """screen = screen AND bitmap at (left, top), clipped to the screen, like BitBlt with SRCAND."""
    for y in range(bitmap.height):
        sy = top + y
        if not 0 <= sy < screen.height:
            continue
        for x in range(bitmap.width):
            sx = left + x
            if not 0 <= sx < screen.width:
                continue
            s, b = 3 * (sy * screen.width + sx), 3 * (y * bitmap.width + x)
            for c in range(3):
                screen.pixels[s + c] &= bitmap.pixels[b + c]


def blank(image, left, top, width, height):
    """Paints a rectangle black so that the comparison ignores it."""
    for y in range(max(0, top), min(image.height, top + height)):
        for x in range(max(0, left), min(image.width, left + width)):
            image.pixels[3 * (y * image.width + x):3 * (y * image.width + x) + 3] = b"\0\0\0"


def differences(expected, actual):
    """Returns (count, bounding box or None) of the pixels that differ."""
    count, box = 0, None
    row_bytes = 3 * expected.width
    for y in range(expected.height):
        start = y * row_bytes
        if expected.pixels[start:start + row_bytes] == actual.pixels[start:start + row_bytes]:
            continue
        for x in range(expected.width):
            p = start + 3 * x
            if expected.pixels[p:p + 3] != actual.pixels[p:p + 3]:
                count += 1
                box = (x, y, x, y) if box is None else \
                    (min(box[0], x), min(box[1], y), max(box[2], x), max(box[3], y))
    return count, box


def main(argv):
    if len(argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    try:
        expected, actual = read_ppm(argv[0]), read_ppm(argv[1])
        if (expected.width, expected.height) != (actual.width, actual.height):
            print("sizes differ: %dx%d and %dx%d" % (expected.width, expected.height,
                                                     actual.width, actual.height))
            return 1
        rest = argv[2:]
        while rest:
            if rest[0] == "--and" and len(rest) >= 4:
                and_into(expected, read_bmp(rest[1]), int(rest[2]), int(rest[3]))
                rest = rest[4:]
            elif rest[0] == "--ignore" and len(rest) >= 5:
                area = [int(v) for v in rest[1:5]]
                blank(expected, *area)
                blank(actual, *area)
                rest = rest[5:]
            else:
                print("bad argument %s" % rest[0], file=sys.stderr)
                return 2
    except (OSError, ValueError, IndexError, struct.error) as error:
        print(error, file=sys.stderr)
        return 2
    count, box = differences(expected, actual)
    print("%d differing pixels" % count + (" in %d,%d-%d,%d" % box if box else ""))
    return 0 if count == 0 else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
