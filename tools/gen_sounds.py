#!/usr/bin/env python3
"""Synthesises VROK's wave files (gun, grenade, farewell, two cuckoos) into resources/.

Run from the repository root:  python3 tools/gen_sounds.py

The effects are built from oscillators and seeded noise, so a rerun writes
byte-identical files.  Only the farewell needs espeak-ng; it is a generator-time
tool, the build itself just uses the committed .wav files.
"""

import math
import os
import random
import shutil
import subprocess
import sys
import tempfile
import wave

OUT_DIR = "resources"
RATE = 22050
TAU = 2.0 * math.pi


# --- helpers ----------------------------------------------------------------------

def silence(seconds):
    return [0.0] * int(round(seconds * RATE))


def mix_into(dst, src, at, gain=1.0):
    """Adds src into dst starting at sample 'at', growing dst if needed."""
    end = at + len(src)
    if end > len(dst):
        dst.extend([0.0] * (end - len(dst)))
    for i, v in enumerate(src):
        dst[at + i] += gain * v


def fade(samples, fade_in, fade_out):
    """Raised-cosine ramps at both ends so nothing starts or stops with a click."""
    n_in = max(1, int(fade_in * RATE))
    n_out = max(1, int(fade_out * RATE))
    n = len(samples)
    for i in range(min(n_in, n)):
        samples[i] *= 0.5 - 0.5 * math.cos(math.pi * i / n_in)
    for i in range(min(n_out, n)):
        samples[n - 1 - i] *= 0.5 - 0.5 * math.cos(math.pi * i / n_out)
    return samples


def normalise(samples, peak):
    top = max(abs(v) for v in samples) or 1.0
    g = peak / top
    return [v * g for v in samples]


def soft_clip(samples, drive):
    """tanh saturation: adds punch without the hard edges of real clipping."""
    norm = math.tanh(drive)
    return [math.tanh(drive * v) / norm for v in samples]


class SVF:
    """Chamberlin state-variable filter; the cutoff may change every sample."""

    def __init__(self, q=0.7):
        self.low = self.band = 0.0
        self.damp = 1.0 / q

    def step(self, x, cutoff):
        f = 2.0 * math.sin(math.pi * min(cutoff, RATE / 6.0) / RATE)
        # past this the filter runs away into a Nyquist whistle
        f = min(f, 0.9 * (math.sqrt(self.damp * self.damp + 4.0) - self.damp))
        self.low += f * self.band
        high = x - self.low - self.damp * self.band
        self.band += f * high
        return self.low, self.band, high


def one_pole_lp(samples, cutoff):
    a = math.exp(-TAU * cutoff / RATE)
    y, out = 0.0, []
    for x in samples:
        y = (1.0 - a) * x + a * y
        out.append(y)
    return out


def echo(samples, taps):
    """Sparse multi-tap delay: [(seconds, gain), ...] -- a cheap room/echo."""
    out = list(samples)
    for delay, gain in taps:
        mix_into(out, samples, int(delay * RATE), gain)
    return out


def write_wav(path, samples):
    """16-bit mono PCM; the wave module writes the canonical 44-byte header."""
    frames = bytearray()
    for v in samples:
        s = int(round(max(-1.0, min(1.0, v)) * 32767.0))
        frames += s.to_bytes(2, "little", signed=True)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(bytes(frames))


# --- machine gun ------------------------------------------------------------------

def gun_shot():
    """One shot: an instant broadband crack, then a short noisy body and a thump.

    Kept short and decaying fast so that the player can restart it every few
    milliseconds and the overlapping copies blur into automatic fire.
    """
    rng = random.Random(1)
    n = int(0.085 * RATE)
    out = []
    body = SVF(q=0.9)
    phase = 0.0
    for i in range(n):
        t = i / RATE
        noise = rng.uniform(-1.0, 1.0)
        # crack: bright noise with a ~1 ms decay, right from the first sample
        crack = noise * math.exp(-t / 0.0012)
        # body: noise swept from bright to dull, dying within a few tens of ms
        low, band, _ = body.step(noise, 4500.0 * math.exp(-t / 0.02) + 500.0)
        body_env = (1.0 - math.exp(-t / 0.0004)) * math.exp(-t / 0.011)
        # thump: a falling low sine gives the shot some weight
        phase += TAU * (90.0 + 130.0 * math.exp(-t / 0.008)) / RATE
        thump = math.sin(phase) * math.exp(-t / 0.014)
        out.append(1.0 * crack + 1.2 * (0.7 * low + 0.5 * band) * body_env
                   + 0.6 * thump)
    out = soft_clip(normalise(out, 1.0), 1.6)
    out = normalise(out, 0.95)
    return fade(out, 0.0002, 0.010)


# --- grenade ----------------------------------------------------------------------

def grenade_blast():
    """A heavy explosion: broadband blast, low sine thump, long rumbling tail."""
    rng = random.Random(2)
    n = int(1.7 * RATE)
    blast_f = SVF(q=0.6)
    rumble_f = SVF(q=0.8)
    brown = 0.0
    phase = 0.0
    # slow random wobble for the rumble, interpolated between control points
    ctrl = [rng.uniform(0.5, 1.0) for _ in range(40)]
    out = []
    for i in range(n):
        t = i / RATE
        noise = rng.uniform(-1.0, 1.0)
        # blast: noise through a low-pass that closes quickly (bright -> dark)
        cutoff = 3500.0 * math.exp(-t / 0.06) + 180.0
        low, _, _ = blast_f.step(noise, cutoff)
        blast = low * (1.0 - math.exp(-t / 0.003)) * math.exp(-t / 0.18)
        # thump: a deep sine sweeping down, the "felt" part of the bang
        freq = 32.0 + 48.0 * math.exp(-t / 0.07)
        phase += TAU * freq / RATE
        thump = math.sin(phase) * (1.0 - math.exp(-t / 0.004)) * math.exp(-t / 0.3)
        # rumble: brown noise, low-passed, wobbling and dying away slowly
        brown = 0.995 * brown + 0.06 * noise
        r_low, _, _ = rumble_f.step(brown, 160.0)
        pos = t / 1.7 * (len(ctrl) - 1)
        k = int(pos)
        wob = ctrl[k] + (ctrl[min(k + 1, len(ctrl) - 1)] - ctrl[k]) * (pos - k)
        rumble = r_low * wob * (1.0 - math.exp(-t / 0.05)) * math.exp(-t / 0.55)
        out.append(1.0 * blast + 0.9 * thump + 2.2 * rumble)
    # debris: a scatter of small dull knocks, thinning out over time
    for _ in range(45):
        at = int(RATE * (0.05 + 0.9 * rng.random() ** 2))
        knock_f = SVF(q=2.0)
        centre = rng.uniform(300.0, 1200.0)
        size = rng.uniform(0.02, 0.08) * math.exp(-at / RATE / 0.5)
        knock = []
        for j in range(int(0.03 * RATE)):
            _, band, _ = knock_f.step(rng.uniform(-1.0, 1.0), centre)
            knock.append(band * math.exp(-j / RATE / 0.006))
        mix_into(out, knock, at, size)
    out = soft_clip(normalise(out, 1.0), 1.8)
    out = normalise(out, 0.92)
    return fade(out, 0.001, 0.25)


# --- cuckoos ----------------------------------------------------------------------

def pipe_note(freq, length, rng, harmonics, breath, attack, release, vibrato):
    """One whistle/pipe note: a few harmonics, soft attack, a little breath noise."""
    n = int(length * RATE)
    noise_f = SVF(q=8.0)
    phase = 0.0
    out = []
    for i in range(n):
        t = i / RATE
        f = freq * (1.0 + vibrato * math.sin(TAU * 5.5 * t))
        phase += TAU * f / RATE
        tone = sum(a * math.sin(k * phase) for k, a in harmonics)
        _, band, _ = noise_f.step(rng.uniform(-1.0, 1.0), freq)
        env = min(1.0, t / attack) if attack > 0 else 1.0
        env *= 1.0 if t < length - release else max(0.0, (length - t) / release) ** 2
        out.append(env * (tone + breath * band))
    return out


def wood_knock(rng, modes, decay, noise_gain):
    """A short wooden click: a noise burst plus a few damped resonances."""
    n = int(0.05 * RATE)
    out = []
    for i in range(n):
        t = i / RATE
        v = noise_gain * rng.uniform(-1.0, 1.0) * math.exp(-t / 0.0008)
        for f, a in modes:
            v += a * math.sin(TAU * f * t) * math.exp(-t / decay)
        out.append(v)
    return out


def cuckoo_flute():
    """Clock cuckoo: two calls, each a high note then one a major third below."""
    rng = random.Random(3)
    hi = 700.0
    lo = hi * 4.0 / 5.0
    harm = [(1, 1.0), (2, 0.22), (3, 0.08), (4, 0.03)]
    out = silence(0.02)
    t = 0.02
    for _ in range(2):
        a = pipe_note(hi, 0.20, rng, harm, 0.06, 0.025, 0.07, 0.003)
        b = pipe_note(lo, 0.32, rng, harm, 0.06, 0.025, 0.14, 0.003)
        mix_into(out, a, int(t * RATE))
        mix_into(out, b, int((t + 0.23) * RATE))
        t += 0.23 + 0.32 + 0.25
    out.extend(silence(0.05))
    # a small wooden case around the pipes
    out = echo(out, [(0.023, 0.18), (0.041, 0.12), (0.067, 0.07)])
    out = normalise(out, 0.85)
    return fade(out, 0.005, 0.05)


def cuckoo_wooden():
    """A cruder, mechanical cuckoo: clockwork tick, bellows clack, reedy pipes."""
    rng = random.Random(4)
    hi = 620.0
    lo = hi * 4.0 / 5.0
    # odd-heavy harmonics give the cheaper, reedier pipe sound
    harm = [(1, 1.0), (2, 0.10), (3, 0.35), (4, 0.05), (5, 0.15), (7, 0.06)]
    tick_modes = [(2300.0, 0.5), (3700.0, 0.35), (5200.0, 0.2)]
    clack_modes = [(420.0, 0.6), (950.0, 0.4), (1650.0, 0.25)]
    out = silence(0.01)
    # escapement tick-tock before the bird comes out
    mix_into(out, wood_knock(rng, tick_modes, 0.004, 0.8), int(0.01 * RATE), 0.9)
    mix_into(out, wood_knock(rng, [(f * 0.85, a) for f, a in tick_modes], 0.004, 0.8),
             int(0.16 * RATE), 0.7)
    t = 0.32
    for _ in range(2):
        for start, freq, length in ((t, hi, 0.17), (t + 0.20, lo, 0.26)):
            # every note is pushed out by a bellows that clacks shut first
            mix_into(out, wood_knock(rng, clack_modes, 0.007, 0.5),
                     int(start * RATE), 0.5)
            note = pipe_note(freq, length, rng, harm, 0.12, 0.012, 0.06, 0.0)
            mix_into(out, note, int((start + 0.008) * RATE), 0.9)
        t += 0.20 + 0.26 + 0.16
    out.extend(silence(0.04))
    out = echo(out, [(0.017, 0.15), (0.031, 0.08)])
    out = normalise(out, 0.85)
    return fade(out, 0.002, 0.04)


# --- farewell ---------------------------------------------------------------------

def resample(samples, src_rate):
    """Linear interpolation; espeak-ng's rate differs only by build, so it's enough."""
    if src_rate == RATE:
        return list(samples)
    step = src_rate / RATE
    n = int(len(samples) / step)
    out = []
    for i in range(n):
        pos = i * step
        k = int(pos)
        frac = pos - k
        b = samples[min(k + 1, len(samples) - 1)]
        out.append(samples[k] + (b - samples[k]) * frac)
    return out


def trim(samples, threshold, pad):
    """Cuts espeak-ng's leading/trailing silence, keeping a little air."""
    idx = [i for i, v in enumerate(samples) if abs(v) > threshold]
    if not idx:
        return samples
    p = int(pad * RATE)
    return samples[max(0, idx[0] - p):idx[-1] + p]


def farewell():
    """'Hasta la vista, baby.' in a low, slow male voice with a touch of echo."""
    espeak = shutil.which("espeak-ng")
    if espeak is None:
        sys.exit("espeak-ng is needed for the farewell (apt-get install espeak-ng)")
    with tempfile.TemporaryDirectory() as tmp:
        raw = os.path.join(tmp, "speech.wav")
        # phonemes, so "hasta" keeps its Spanish "ah" rather than an English "hay"
        text = "[[h'A:st@ lA: v'i:st@]], [[b'eIbi]]."
        subprocess.run([espeak, "-v", "en-us+m3", "-p", "20", "-s", "135",
                        "-a", "150", "-w", raw, text], check=True)
        with wave.open(raw, "rb") as w:
            src_rate = w.getframerate()
            width = w.getsampwidth()
            chans = w.getnchannels()
            data = w.readframes(w.getnframes())
    if width != 2:
        sys.exit("unexpected espeak-ng sample width %d" % width)
    samples = [int.from_bytes(data[i:i + 2], "little", signed=True) / 32768.0
               for i in range(0, len(data), 2 * chans)]
    voice = trim(resample(samples, src_rate), 0.01, 0.03)
    # a slapback and a far wall: sounds bigger and colder than the dry voice
    voice = one_pole_lp(voice, 7000.0)
    voice = echo(voice, [(0.045, 0.25), (0.10, 0.17), (0.16, 0.11), (0.23, 0.06)])
    voice = normalise(voice, 0.9)
    return fade(voice, 0.005, 0.15)


# --- main -------------------------------------------------------------------------

def main():
    os.makedirs(OUT_DIR, exist_ok=True)

    def out(name):
        return os.path.join(OUT_DIR, name)

    write_wav(out("vrokgun.wav"), gun_shot())
    write_wav(out("vrokgren.wav"), grenade_blast())
    write_wav(out("vrokkuck.wav"), cuckoo_flute())
    write_wav(out("teckuc1.wav"), cuckoo_wooden())
    write_wav(out("vrokhlvb.wav"), farewell())


if __name__ == "__main__":
    main()
