#!/usr/bin/env python3
"""tone.py SECONDS FILE: writes a plain tone of that length as an 8-bit mono wave file."""
import math, sys, wave

with wave.open(sys.argv[2], "wb") as out:
    out.setnchannels(1)
    out.setsampwidth(1)
    out.setframerate(11025)
    out.writeframes(bytes(128 + int(60 * math.sin(i * 0.3)) for i in range(int(float(sys.argv[1]) * 11025))))
