#!/usr/bin/env python3
"""stereo_bursts.py RECORDING: the sounds in a raw s16le 48 kHz stereo recording, one line each:
start and length in seconds, and how much louder the left channel is than the right (dB)."""
import array, math, sys

WINDOW = 480  # frames: 10 ms
SILENCE_RMS = 30.0  # of 32767; the null sink records true zeros between sounds
GAP = 10  # windows of silence that end a sound

data = open(sys.argv[1], "rb").read()
samples = array.array("h", data[:len(data) // 4 * 4])
windows = (len(samples) // 2 + WINDOW - 1) // WINDOW
current, quiet = None, 0
for index in range(windows):
    part = samples[2 * WINDOW * index:2 * WINDOW * (index + 1)]
    left, right = sum(x * x for x in part[0::2]), sum(x * x for x in part[1::2])
    if math.sqrt(max(left, right) / (len(part) // 2)) > SILENCE_RMS:
        current = [current[0] if current else index, index, (current or [0, 0, 0, 0])[2] + left,
                   (current or [0, 0, 0, 0])[3] + right]
        quiet = 0
    elif current:
        quiet += 1
    if current and (quiet >= GAP or index == windows - 1):
        print("%.2f %.2f %.1f" % (current[0] / 100, (current[1] - current[0] + 1) / 100,
                                  10 * math.log10((current[2] + 1.0) / (current[3] + 1.0))))
        current, quiet = None, 0
