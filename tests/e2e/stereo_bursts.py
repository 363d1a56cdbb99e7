#!/usr/bin/env python3
"""Finds the sounds in a raw s16le 48 kHz stereo recording and prints one line per sound:
start in seconds, length in seconds, and how much louder the left channel is than the right (dB)."""
import math
import struct
import sys

RATE = 48000
WINDOW = RATE // 100  # 10 ms
SILENCE_RMS = 30.0    # of 32767; the null sink records true zeros between sounds
GAP_WINDOWS = 10      # 100 ms of silence ends a sound


def windows(samples):
    """Yields (left sum of squares, right sum of squares, count) per 10 ms window."""
    frames = len(samples) // 2
    for start in range(0, frames, WINDOW):
        left = samples[2 * start:2 * min(frames, start + WINDOW):2]
        right = samples[2 * start + 1:2 * min(frames, start + WINDOW):2]
        yield sum(x * x for x in left), sum(x * x for x in right), len(left)


def bursts(samples):
    found, current, quiet = [], None, 0
    for index, (left, right, count) in enumerate(windows(samples)):
        loud = count and math.sqrt(max(left, right) / count) > SILENCE_RMS
        if loud:
            if current is None:
                current = [index, index, 0.0, 0.0]
            current[1], quiet = index, 0
            current[2] += left
            current[3] += right
        elif current is not None:
            quiet += 1
            if quiet >= GAP_WINDOWS:
                found.append(current)
                current = None
    if current is not None:
        found.append(current)
    return found


def main(path):
    data = open(path, "rb").read()
    samples = struct.unpack("<%dh" % (len(data) // 2), data[:len(data) // 2 * 2])
    for first, last, left, right in bursts(samples):
        balance = 10 * math.log10((left + 1.0) / (right + 1.0))
        print("%.2f %.2f %.1f" % (first * WINDOW / RATE, (last - first + 1) * WINDOW / RATE, balance))


if __name__ == "__main__":
    main(sys.argv[1])
