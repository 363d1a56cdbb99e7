#!/usr/bin/env python3
"""screen_check.py BEFORE.ppm AFTER.ppm [--and BITMAP.bmp X Y]... [--ignore X Y W H]...
ANDs the bitmaps into BEFORE as VROK draws holes and craters, blanks the ignored areas in both and
prints how many pixels still differ, and where; exits 0 when none do, 1 when some do."""
import re, subprocess, sys


def ppm(data):
    head = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", data)
    width, height, maxval = map(int, head.groups())
    body = data[head.end():]  # ImageMagick writes 16 bits unless told -depth 8: keep the high bytes
    return width, height, bytearray(body[:width * height * 3] if maxval < 256 else body[:width * height * 6:2])


def bmp(path):
    return ppm(subprocess.run(["convert", path, "-depth", "8", "ppm:-"], stdout=subprocess.PIPE, check=True).stdout)


def main(args):
    (width, height, before), (_, _, after) = (ppm(open(path, "rb").read()) for path in args[:2])
    args = args[2:]
    while args:
        if args[0] == "--and":  # clipped to the screen, like BitBlt with SRCAND
            w, h, pixels = bmp(args[1])
            left, top, args = int(args[2]), int(args[3]), args[4:]
            for y in range(max(0, -top), min(h, height - top)):
                for x in range(max(0, -left), min(w, width - left)):
                    for c in range(3):
                        before[3 * ((top + y) * width + left + x) + c] &= pixels[3 * (y * w + x) + c]
        else:  # --ignore
            left, top, w, h = map(int, args[1:5])
            args = args[5:]
            for image in before, after:
                for y in range(max(0, top), min(height, top + h)):
                    image[3 * (y * width + max(0, left)):3 * (y * width + min(width, left + w))] = \
                        bytes(3 * (min(width, left + w) - max(0, left)))
    differ = [(x, y) for y in range(height) if before[3 * y * width:3 * (y + 1) * width] !=
              after[3 * y * width:3 * (y + 1) * width] for x in range(width)
              if before[3 * (y * width + x):3 * (y * width + x) + 3] != after[3 * (y * width + x):3 * (y * width + x) + 3]]
    box = " in %d,%d-%d,%d" % (min(differ)[0], min(y for _, y in differ), max(differ)[0],
                               max(y for _, y in differ)) if differ else ""
    print("%d differing pixels%s" % (len(differ), box))
    return 1 if differ else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
