#!/usr/bin/env python3
"""Synthesises the game's three sound effects into assets/Sounds/.

Plain math and the standard library only; the noise is seeded, so the files
come out the same on every run. Run from the repository root:

    python3 tools/make_sounds.py
"""

import math
import os
import random
import struct
import wave

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RATE = 44100
PEAK = 10 ** (-6 / 20)  # leaves headroom when an effect cuts into another


def silence(seconds):
    return [0.0] * int(round(seconds * RATE))


def fade(samples, fade_in, fade_out):
    """Raised-cosine ramps at both ends; without them a sound that starts
    or stops off zero clicks."""
    n = len(samples)
    a = max(1, int(fade_in * RATE))
    b = max(1, int(fade_out * RATE))
    for i in range(min(a, n)):
        samples[i] *= 0.5 - 0.5 * math.cos(math.pi * i / a)
    for i in range(min(b, n)):
        samples[n - 1 - i] *= 0.5 - 0.5 * math.cos(math.pi * i / b)
    return samples


def lowpass(samples, cutoff):
    k = 1 - math.exp(-2 * math.pi * cutoff / RATE)
    y = 0.0
    out = []
    for x in samples:
        y += k * (x - y)
        out.append(y)
    return out


def highpass(samples, cutoff):
    low = lowpass(samples, cutoff)
    return [x - l for x, l in zip(samples, low)]


def bandpass_sweep(samples, f_start, f_end, q):
    """A state-variable band-pass whose centre glides exponentially."""
    n = len(samples)
    low = band = 0.0
    out = []
    for i, x in enumerate(samples):
        f = f_start * (f_end / f_start) ** (i / max(1, n - 1))
        k = 2 * math.sin(math.pi * f / RATE)
        high = x - low - band / q
        band += k * high
        low += k * band
        out.append(band)
    return out


def noise(n, seed):
    rng = random.Random(seed)
    return [rng.random() * 2 - 1 for _ in range(n)]


def normalise(samples, peak=PEAK):
    top = max(abs(s) for s in samples) or 1.0
    return [s * peak / top for s in samples]


def write(name, samples):
    path = os.path.join(ROOT, "assets", "Sounds", name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    frames = b"".join(struct.pack("<h", max(-32767, min(32767, int(round(s * 32767))))) for s in samples)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)


def drop():
    """A short, soft thud: a falling low tone with a muffled knock on top.
    The tone starts high enough to be heard on small laptop speakers."""
    dur = 0.11
    n = int(dur * RATE)
    out = []
    phase = 0.0
    for i in range(n):
        t = i / RATE
        f = 70 + 170 * math.exp(-t / 0.025)
        phase += 2 * math.pi * f / RATE
        body = math.exp(-t / 0.04) * (math.sin(phase) + 0.3 * math.sin(2 * phase))
        out.append(body)
    knock = lowpass(lowpass(noise(n, 1), 1400), 1400)
    for i in range(n):
        out[i] += 2.2 * knock[i] * math.exp(-i / RATE / 0.008)
    return fade(normalise(highpass(out, 35)), 0.0015, 0.02)


def rotate():
    """A quick downward whoosh with a faint tonal edge: the figure starts
    its fast fall."""
    dur = 0.085
    n = int(dur * RATE)
    air = bandpass_sweep(noise(n, 2), 3200, 700, 2.5)
    out = []
    phase = 0.0
    for i in range(n):
        t = i / n
        f = 1100 * (0.45 ** t)
        phase += 2 * math.pi * f / RATE
        # swells quickly, then dies away more slowly
        if t < 0.3:
            env = math.sin(math.pi / 2 * t / 0.3) ** 2
        else:
            env = math.cos(math.pi / 2 * (t - 0.3) / 0.7) ** 2
        out.append(env * (air[i] * 3.0 + 0.25 * math.sin(phase)))
    return fade(normalise(out), 0.003, 0.012)


def clear():
    """A bright rising chime for a removed row: four bell tones of a major
    chord one after the other, over a soft upward shimmer."""
    dur = 0.36
    n = int(dur * RATE)
    out = [0.0] * n
    notes = [(0.000, 784.0), (0.045, 987.8), (0.090, 1174.7), (0.135, 1568.0)]
    for start, f in notes:
        s0 = int(start * RATE)
        for i in range(s0, n):
            t = (i - s0) / RATE
            env = min(1.0, t / 0.003) * math.exp(-t / 0.085)
            w = 2 * math.pi * f * t
            # a slightly stretched upper partial gives the glassy bell colour
            out[i] += env * (math.sin(w) + 0.28 * math.sin(2 * w) + 0.1 * math.sin(2.76 * w))
    shimmer = bandpass_sweep(noise(n, 3), 2000, 7000, 4.0)
    for i in range(n):
        t = i / n
        out[i] += 0.12 * shimmer[i] * math.sin(math.pi * t) ** 2
    return fade(normalise(out), 0.002, 0.06)


def main():
    write("Drop.wav", drop())
    write("Rotate.wav", rotate())
    write("Clear.wav", clear())


if __name__ == "__main__":
    main()
