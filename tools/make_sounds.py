#!/usr/bin/env python3
"""Generate the dice-roll sound effects.

Writes src/resources/sounds/roll_1.wav (one die) and roll_many.wav (several
dice) as mono 44.1 kHz 16-bit PCM. Each knock is modal synthesis: a few
exponentially decaying sinusoids (the wooden tray's "tock" plus the die's
brighter ring) started by a short high-passed noise burst and a click.
A die's knocks follow a bounce pattern: a strong first hit, then weaker
bounces at shrinking intervals, then a short settling rattle.

Run:  python3 tools/make_sounds.py   (writes relative to the repository root)
Output is byte-identical on every run (fixed seeds, no time-dependent input).
"""

import math
import os
import random
import struct
import wave

RATE = 44100
PEAK_DBFS = -3.0
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT_DIR = os.path.join(ROOT, "src", "resources", "sounds")

# Base modes (Hz, relative amplitude, decay time constant in s).
# The low ones are the tray answering the hit, the high ones the die itself.
TRAY_MODES = [
    (640.0, 0.45, 0.022),
    (1060.0, 0.70, 0.017),
    (1490.0, 0.45, 0.013),
    (1930.0, 0.25, 0.010),
]
DIE_MODES = [
    (2410.0, 0.45, 0.008),
    (3170.0, 0.35, 0.006),
    (3890.0, 0.25, 0.005),
]


def add_knock(buf, t0, amp, pitch, rng):
    """Mix one impact of strength amp (0..1) into buf at time t0 (seconds)."""
    start = int(round(t0 * RATE))
    if start >= len(buf):
        return
    # Each hit lands on a different edge or corner, so mode levels and exact
    # frequencies wander a little from knock to knock.
    # Softer hits excite the high modes less, so they sound duller.
    brightness = 0.45 + 0.55 * amp
    modes = []
    for f, a, tau in TRAY_MODES:
        modes.append((f * pitch * rng.uniform(0.985, 1.015),
                      a * rng.uniform(0.6, 1.2), tau * rng.uniform(0.85, 1.15)))
    for f, a, tau in DIE_MODES:
        modes.append((f * pitch * rng.uniform(0.97, 1.03),
                      a * brightness * rng.uniform(0.5, 1.3),
                      tau * rng.uniform(0.8, 1.2)))

    for f, a, tau in modes:
        n = min(int(tau * 7.0 * RATE), len(buf) - start)  # down to ~-60 dB
        w = 2.0 * math.pi * f / RATE
        phase = rng.uniform(-0.3, 0.3)
        k = math.exp(-1.0 / (tau * RATE))
        env = amp * a
        # A couple of samples of attack keep the onset from being a hard step.
        for i in range(n):
            attack = 1.0 if i >= 4 else (i + 1) / 5.0
            buf[start + i] += env * attack * math.sin(w * i + phase)
            env *= k

    # Contact noise: a few ms of band-limited noise (one-pole high-pass then
    # low-pass), decaying fast. This is the sharp "click" of hard plastic on
    # wood; the low-pass keeps it from sounding like hiss.
    n = min(int(0.004 * RATE), len(buf) - start)
    tau = 0.0009 * rng.uniform(0.8, 1.25)
    k = math.exp(-1.0 / (tau * RATE))
    hp = 0.82                                      # corner ~1.3 kHz
    lp = 1.0 - math.exp(-2.0 * math.pi * 9000.0 / RATE)  # corner ~9 kHz
    env = amp * (0.45 + 0.55 * amp)
    prev_x = hp_y = lp_y = 0.0
    for i in range(n):
        x = rng.uniform(-1.0, 1.0)
        hp_y = hp * (hp_y + x - prev_x)
        prev_x = x
        lp_y += lp * (hp_y - lp_y)
        buf[start + i] += env * lp_y
        env *= k


def bounce_times(rng, t0, first_gap, bounces, rattle):
    """Return [(time, amp)] for one die: hit, bounces, then a settling rattle."""
    events = [(t0, 1.0)]
    t, gap, amp = t0, first_gap, 1.0
    for _ in range(bounces):
        t += gap * rng.uniform(0.9, 1.1)
        amp *= rng.uniform(0.55, 0.7)
        events.append((t, amp))
        gap *= rng.uniform(0.66, 0.76)
    # Rattle: the die rocking onto its face, ticks speeding up and fading.
    gap = max(gap, 0.028)
    amp *= 0.75
    for _ in range(rattle):
        t += gap * rng.uniform(0.85, 1.15)
        amp *= rng.uniform(0.72, 0.85)
        events.append((t, amp))
        gap *= rng.uniform(0.78, 0.88)
        gap = max(gap, 0.007)
    return events


def render_die(buf, rng, t0, pitch, level, first_gap, bounces, rattle):
    for t, a in bounce_times(rng, t0, first_gap, bounces, rattle):
        add_knock(buf, t, a * level, pitch, rng)


def finish(buf, fade_s):
    """Remove DC, fade the tail to silence and normalise to PEAK_DBFS."""
    # One-pole DC blocker (~15 Hz corner).
    r = 1.0 - 2.0 * math.pi * 15.0 / RATE
    prev_x = prev_y = 0.0
    for i, x in enumerate(buf):
        y = x - prev_x + r * prev_y
        prev_x, prev_y = x, y
        buf[i] = y
    n = len(buf)
    fade = int(fade_s * RATE)
    for i in range(fade):
        g = 0.5 * (1.0 + math.cos(math.pi * (i + 1) / fade))
        buf[n - fade + i] *= g
    mean = sum(buf) / n
    peak = max(abs(x - mean) for x in buf)
    target = 32767.0 * 10.0 ** (PEAK_DBFS / 20.0)
    scale = target / peak
    return [int(round((x - mean) * scale)) for x in buf]


def write_wav(path, samples):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    data = struct.pack("<%dh" % len(samples), *samples)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.setcomptype("NONE", "not compressed")
        w.writeframes(data)


def check_wav(path, min_s, max_s):
    with wave.open(path, "rb") as w:
        assert w.getnchannels() == 1 and w.getsampwidth() == 2
        assert w.getframerate() == RATE and w.getcomptype() == "NONE"
        n = w.getnframes()
        samples = struct.unpack("<%dh" % n, w.readframes(n))
    dur = n / RATE
    assert min_s <= dur <= max_s, (path, dur)
    peak = max(abs(s) for s in samples)
    peak_db = 20.0 * math.log10(peak / 32767.0)
    assert -3.5 < peak_db < -2.5, (path, peak_db)
    assert abs(samples[-1]) <= 1 and abs(samples[0]) <= 1, path
    assert abs(sum(samples) / n) < 2.0, path  # no DC offset
    return dur, peak_db


def make_one():
    rng = random.Random(0x5EED01)
    buf = [0.0] * int(0.62 * RATE)
    render_die(buf, rng, t0=0.008, pitch=1.0, level=1.0,
               first_gap=0.125, bounces=3, rattle=6)
    return finish(buf, fade_s=0.06)


def make_many():
    rng = random.Random(0x5EED04)
    buf = [0.0] * int(0.82 * RATE)
    # Four dice leaving the hand together: staggered landings, each a little
    # different in size/material so they don't phase into one sound.
    dice = [
        (0.008, 1.00, 1.00, 0.120, 3, 6),
        (0.031, 1.07, 0.85, 0.105, 3, 7),
        (0.054, 0.93, 0.90, 0.135, 2, 6),
        (0.083, 1.12, 0.70, 0.095, 3, 5),
    ]
    for t0, pitch, level, gap, bounces, rattle in dice:
        render_die(buf, rng, t0, pitch, level, gap, bounces, rattle)
    return finish(buf, fade_s=0.08)


def main():
    outputs = [
        ("roll_1.wav", make_one, 0.60, 0.64),
        ("roll_many.wav", make_many, 0.80, 0.84),
    ]
    for name, make, lo, hi in outputs:
        path = os.path.join(OUT_DIR, name)
        write_wav(path, make())
        dur, peak_db = check_wav(path, lo, hi)
        print("%s: %.3f s, peak %.2f dBFS"
              % (os.path.relpath(path, ROOT), dur, peak_db))


if __name__ == "__main__":
    main()
