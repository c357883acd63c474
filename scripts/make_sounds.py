#!/usr/bin/env python3
"""Synthesises the six sound cues into data/Sound.

Every cue is 16-bit PCM, mono, 22050 Hz, short and quiet (peaks well below
full scale), with soft edges so that nothing clicks:

  KeyBoard.wav  a soft key click: a damped noise tick, 30 ms
  Button3.wav   the user's line: a short rising two-note "pip", warm sine
  CpuSound.wav  the program's line: a brighter falling bell of two notes
  Button2.wav   layout conversion: a quick upward blip
  Button1.wav   start-up chime: a four-note major arpeggio
  Close.wav     closing: a slow falling arpeggio that fades away

Only the standard library is used; the noise is seeded, so a rerun writes
the same bytes. Run from anywhere: python3 scripts/make_sounds.py
"""
import math
import pathlib
import random
import struct
import wave

RATE = 22050
top = pathlib.Path(__file__).resolve().parent.parent
out = top / "data" / "Sound"


def silence(seconds):
    return [0.0] * int(RATE * seconds)


def note(freq, seconds, decay, harmonics=((1, 1.0),), attack=0.005):
    """A tone with an exponential decay and a short linear attack."""
    n = int(RATE * seconds)
    a = max(1, int(RATE * attack))
    samples = []
    for i in range(n):
        t = i / RATE
        env = math.exp(-t * decay) * min(1.0, i / a)
        v = sum(w * math.sin(2 * math.pi * freq * k * t) for k, w in harmonics)
        samples.append(env * v)
    return samples


def mix(into, part, at_seconds, gain=1.0):
    start = int(RATE * at_seconds)
    need = start + len(part)
    if len(into) < need:
        into.extend([0.0] * (need - len(into)))
    for i, v in enumerate(part):
        into[start + i] += v * gain
    return into


def fade(samples, start=0.001, end=0.01):
    """Fades both ends to zero so that the sound starts and stops cleanly."""
    for seconds, edge in ((start, range(len(samples))), (end, range(len(samples) - 1, -1, -1))):
        n = min(len(samples) // 2, max(1, int(RATE * seconds)))
        for g, i in zip(range(n), edge):
            samples[i] *= g / n
    return samples


def normalise(samples, peak):
    top_value = max(abs(v) for v in samples) or 1.0
    return [v * peak / top_value for v in samples]


def write(name, samples, peak):
    samples = normalise(fade(samples), peak)
    out.mkdir(parents=True, exist_ok=True)
    with wave.open(str(out / name), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b"".join(struct.pack("<h", int(round(v * 32767))) for v in samples))
    print(f"data/Sound/{name}: {len(samples) / RATE * 1000:.0f} ms, peak {peak:.2f}")


def key_click():
    rng = random.Random(1)
    n = int(RATE * 0.03)
    samples, low = [], 0.0
    for i in range(n):
        t = i / RATE
        # Noise through a one-pole low-pass: a dull tap, not a hiss.
        low += 0.35 * (rng.uniform(-1, 1) - low)
        samples.append(math.exp(-t * 220) * (low + 0.4 * math.sin(2 * math.pi * 1800 * t)))
    return samples


def user_tone():
    warm = ((1, 1.0), (2, 0.25), (3, 0.08))
    s = mix(silence(0.0), note(587.33, 0.09, 30, warm), 0.0)     # D5
    return mix(s, note(880.0, 0.16, 22, warm), 0.06)              # A5


def cpu_tone():
    bell = ((1, 1.0), (2.76, 0.3), (5.4, 0.1))
    s = mix(silence(0.0), note(1318.5, 0.16, 18, bell), 0.0)      # E6
    return mix(s, note(987.77, 0.26, 14, bell), 0.09)             # B5


def conversion_blip():
    n = int(RATE * 0.08)
    samples, phase = [], 0.0
    for i in range(n):
        t = i / RATE
        freq = 500 + (1300 - 500) * (t / 0.08)
        phase += 2 * math.pi * freq / RATE
        samples.append(math.sin(phase) * math.sin(math.pi * t / 0.08))
    return samples


def start_chime():
    soft = ((1, 1.0), (2, 0.2), (4, 0.05))
    s = silence(0.0)
    for k, freq in enumerate((523.25, 659.25, 783.99, 1046.5)):  # C5 E5 G5 C6
        mix(s, note(freq, 0.6 if k == 3 else 0.4, 6 if k == 3 else 9, soft), 0.11 * k)
    return s


def close_sound():
    soft = ((1, 1.0), (2, 0.15))
    s = silence(0.0)
    for k, freq in enumerate((783.99, 659.25, 523.25, 392.0)):   # G5 E5 C5 G4
        mix(s, note(freq, 0.7, 5, soft, attack=0.02), 0.16 * k, gain=1.0 - 0.15 * k)
    return s


def main():
    write("KeyBoard.wav", key_click(), 0.18)
    write("Button3.wav", user_tone(), 0.22)
    write("CpuSound.wav", cpu_tone(), 0.22)
    write("Button2.wav", conversion_blip(), 0.18)
    write("Button1.wav", start_chime(), 0.25)
    write("Close.wav", close_sound(), 0.25)


if __name__ == "__main__":
    main()
