"""The demo's sounds, made in code: short WAV effects synthesised from tones and noise,
and a MIDI soundtrack written as a standard MIDI file."""
import math
import struct

RATE = 22050


def write_wav(path, samples, rate=RATE):
    """Mono 16-bit PCM; samples are floats in -1 ... 1."""
    data = b"".join(struct.pack("<h", int(max(-1.0, min(1.0, s)) * 32000)) for s in samples)
    header = struct.pack("<4sI4s4sIHHIIHH4sI", b"RIFF", 36 + len(data), b"WAVE", b"fmt ", 16,
                         1, 1, rate, rate * 2, 2, 16, b"data", len(data))
    with open(path, "wb") as f:
        f.write(header + data)


class Noise:
    """A repeatable white-noise source (a linear congruential generator)."""

    def __init__(self, seed=7):
        self.state = seed

    def __call__(self):
        self.state = (self.state * 1103515245 + 12345) & 0x7FFFFFFF
        return self.state / 0x3FFFFFFF - 1.0


def envelope(i, n, attack=0.01, release=0.3):
    """A linear attack and an exponential-looking release over n samples."""
    t = i / RATE
    total = n / RATE
    a = min(1.0, t / attack) if attack > 0 else 1.0
    r = max(0.0, (total - t) / (total * release)) if release > 0 else 1.0
    return a * min(1.0, r)


def tone(freq, seconds, volume=0.5, harmonics=(1.0,), decay=0.0, glide=0.0):
    n = int(seconds * RATE)
    out = []
    phase = 0.0
    for i in range(n):
        f = freq * (1 + glide * i / n)
        phase += 2 * math.pi * f / RATE
        s = sum(h * math.sin(phase * (k + 1)) for k, h in enumerate(harmonics))
        damp = math.exp(-decay * i / RATE) if decay else 1.0
        out.append(volume * s * damp * envelope(i, n))
    return out


def noise(seconds, volume=0.5, smooth=0.0, seed=7, shape=None):
    """Noise, low-passed by `smooth` (0 = white ... 0.99 = dull), shaped by shape(t)."""
    n = int(seconds * RATE)
    rnd = Noise(seed)
    out = []
    last = 0.0
    for i in range(n):
        last = smooth * last + (1 - smooth) * rnd()
        gain = shape(i / n) if shape else envelope(i, n)
        out.append(volume * last * gain * (1 + smooth * 3))
    return out


def mix(*tracks):
    n = max(len(t) for t in tracks)
    return [sum(t[i] for t in tracks if i < len(t)) for i in range(n)]


def then(*parts):
    out = []
    for p in parts:
        out += p
    return out


def silence(seconds):
    return [0.0] * int(seconds * RATE)


def make_effects(out_dir):
    """Writes every WAV effect of the demo into out_dir."""
    import os

    def save(name, samples):
        write_wav(os.path.join(out_dir, name), samples)

    # Menu and interface
    save("click.wav", tone(880, 0.06, 0.4, (1.0, 0.3), decay=40))
    save("hover.wav", tone(1320, 0.05, 0.2, (1.0,), decay=50))
    save("refuse.wav", then(tone(220, 0.12, 0.4, (1.0, 0.5, 0.3)), tone(180, 0.18, 0.4, (1.0, 0.5, 0.3))))
    save("full.wav", then(tone(440, 0.1, 0.3), tone(330, 0.1, 0.3), tone(220, 0.2, 0.3)))
    # The sea: a slow swell of dull noise, seamless when it repeats
    save("waves.wav", noise(3.0, 0.5, smooth=0.96, shape=lambda t: 0.35 + 0.65 * math.sin(math.pi * t) ** 2))
    # Taking things, doors, switches
    save("pickup.wav", then(tone(660, 0.07, 0.35, (1.0, 0.4)), tone(990, 0.1, 0.35, (1.0, 0.4))))
    save("door.wav", mix(tone(90, 0.7, 0.4, (1.0, 0.6, 0.4, 0.2), glide=0.6),
                         noise(0.7, 0.15, smooth=0.8)))
    save("switch.wav", mix(noise(0.04, 0.6, smooth=0.2), tone(2000, 0.03, 0.2, decay=120)))
    # The bell at the jetty: inharmonic partials ringing out
    save("bell.wav", mix(tone(523, 2.0, 0.3, (1.0,), decay=1.5), tone(1307, 2.0, 0.15, (1.0,), decay=2.5),
                         tone(1694, 2.0, 0.1, (1.0,), decay=3.5), tone(262, 2.0, 0.2, (1.0,), decay=1.0)))
    # A gull: a falling, wavering cry, twice
    cry = [0.4 * math.sin(2 * math.pi * (1800 - 700 * i / 6600) * i / RATE
                          + 3 * math.sin(2 * math.pi * 30 * i / RATE)) * envelope(i, 6600, 0.02, 0.5)
           for i in range(6600)]
    save("gull.wav", then(cry, silence(0.08), cry))
    # Oil poured into the lamp; a match struck
    save("pour.wav", noise(1.2, 0.35, smooth=0.6, shape=lambda t: min(1, t * 8) * (1 - t) ** 0.5))
    save("strike.wav", then(noise(0.12, 0.8, smooth=0.1), noise(0.6, 0.25, smooth=0.9)))
    # The old keeper's "hmm"
    save("hmm.wav", tone(130, 0.7, 0.45, (1.0, 0.6, 0.4, 0.25, 0.1), glide=-0.15))
    # Paper unfolding; two items fitting together; the lamp humming into life
    save("paper.wav", then(noise(0.15, 0.4, smooth=0.3), silence(0.05), noise(0.2, 0.3, smooth=0.4)))
    save("combine.wav", then(tone(520, 0.08, 0.4, (1.0, 0.2, 0.4), decay=20),
                             tone(780, 0.25, 0.4, (1.0, 0.2, 0.4), decay=10)))
    save("hum.wav", tone(110, 2.0, 0.25, (1.0, 0.5, 0.3, 0.2)))


def _varlen(n):
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.insert(0, (n & 0x7F) | 0x80)
        n >>= 7
    return bytes(out)


def write_midi(path, notes, program=0, tempo_us=500000, ticks=96, bass=None):
    """A format-0 standard MIDI file. `notes` is a list of (midi note or None, beats) for
    the melody on channel 0; `bass` the same for channel 1 (an acoustic bass)."""
    events = []  # (tick, order, bytes)

    def add_voice(voice, channel, velocity):
        t = 0
        for note, beats in voice:
            length = int(beats * ticks)
            if note is not None:
                events.append((t, 1, bytes([0x90 | channel, note, velocity])))
                events.append((t + length - 4, 0, bytes([0x80 | channel, note, 0])))
            t += length

    add_voice(notes, 0, 90)
    if bass:
        add_voice(bass, 1, 70)
    events.sort(key=lambda e: (e[0], e[1]))
    track = bytearray()
    track += b"\x00\xFF\x51\x03" + tempo_us.to_bytes(3, "big")
    track += bytes([0x00, 0xC0, program])
    track += bytes([0x00, 0xC1, 32])
    last = 0
    for tick, _, data in events:
        track += _varlen(tick - last) + data
        last = tick
    track += b"\x00\xFF\x2F\x00"
    with open(path, "wb") as f:
        f.write(b"MThd" + struct.pack(">IHHH", 6, 0, 1, ticks))
        f.write(b"MTrk" + struct.pack(">I", len(track)) + track)


def make_shanty(path):
    """A sea shanty in D minor for the outdoor scenes, on an accordion."""
    D, E, F, G, A, Bb, C = 62, 64, 65, 67, 69, 70, 72
    melody = [
        (A, 1), (A, 0.5), (A, 0.5), (A, 1), (D, 1), (F, 1), (A, 1), (A, 2),
        (G, 1), (G, 0.5), (G, 0.5), (G, 1), (C - 12, 1), (E, 1), (G, 1), (G, 2),
        (F, 1), (F, 0.5), (F, 0.5), (F, 1), (E, 1), (D, 1), (E, 1), (F, 1), (A, 1),
        (G, 1), (E, 1), (C - 12, 1), (E, 1), (D, 3), (None, 1),
    ]
    bass = []
    for root in (38, 38, 36, 36, 41, 41, 43, 38):
        bass += [(root, 2), (root + 7, 2)]
    write_midi(path, melody, program=21, tempo_us=420000, bass=bass)


def evening_tune(seconds=16.0):
    """A calm tune for the MP3 soundtrack: slow chords under a bell-like melody."""
    chords = [(50, 57, 62, 65), (46, 53, 58, 62), (48, 55, 60, 64), (45, 52, 57, 61)]
    melody = [74, 72, 69, 72, 70, 69, 67, 69, 72, 74, 77, 76, 74, 72, 69, 0]
    n = int(seconds * RATE)
    bar = n // len(chords)
    step = n // len(melody)
    # A swell over each bar, and a bell's quick decay over each melody note.
    swell = [0.06 * math.sin(math.pi * i / bar) for i in range(bar)]
    ring = [0.18 * math.exp(-3 * i / RATE) for i in range(step)]
    out = []
    for b, chord in enumerate(chords):
        w = [2 * math.pi * 440 * 2 ** ((note - 69) / 12) / RATE for note in chord]
        out += [swell[i] * sum(math.sin(x * i) for x in w) for i in range(bar)]
    for k, note in enumerate(melody):
        if note:
            x = 2 * math.pi * 440 * 2 ** ((note - 69) / 12) / RATE
            for i in range(step):
                out[k * step + i] += ring[i] * math.sin(x * i)
    return out
