"""The game's music loop and five effects, synthesised from oscillators and seeded noise.

The game plays them at fixed volumes (music 0.15, bounce 0.5, coin 1.0, die 1.0, win 0.5,
lose 0.5); the effects are scaled so that each one's loudest fifth of a second comes out
equally loud at its volume.
"""

import numpy as np

from common import rng, save_wav

RATE = 22050
NYQUIST = RATE / 2.0

EFFECT_VOLUMES = {"bounce.wav": 0.5, "bonus.wav": 1.0, "key.wav": 1.0, "win.wav": 0.5, "lose.wav": 0.5}
MUSIC_PEAK = 0.9
EFFECT_PEAK_LIMIT = 0.95


def note(name):
    """Frequency of a note name such as 'A2', 'F#3' or 'Bb4' (A4 = 440 Hz)."""
    steps = {"C": -9, "D": -7, "E": -5, "F": -4, "G": -2, "A": 0, "B": 2}
    semitone = steps[name[0]]
    rest = name[1:]
    if rest[0] == "#":
        semitone, rest = semitone + 1, rest[1:]
    elif rest[0] == "b":
        semitone, rest = semitone - 1, rest[1:]
    return 440.0 * 2.0 ** ((semitone + 12 * (int(rest) - 4)) / 12.0)


def times(seconds):
    return np.arange(int(round(seconds * RATE))) / RATE


def phase_of(frequency):
    """Running phase (radians) of a frequency given per sample."""
    return 2.0 * np.pi * np.cumsum(frequency) / RATE


def harmonics(phase, base, count, amplitude):
    """Sum of sine harmonics k = 1..count of a running phase, each weighted by
    amplitude(k, frequency) (an array over time or a number); harmonics above the
    Nyquist frequency are left out, so nothing aliases."""
    out = np.zeros_like(phase)
    top = np.max(base) if np.ndim(base) else base
    for k in range(1, count + 1):
        if k * top >= NYQUIST * 0.95:
            break
        out += amplitude(k, k * base) * np.sin(k * phase)
    return out


def lowpass_gain(freq, cutoff):
    """Magnitude of a two-pole low-pass response."""
    return 1.0 / np.sqrt(1.0 + (freq / cutoff) ** 4)


def envelope(t, attack, decay):
    return np.minimum(t / attack, 1.0) * np.exp(-np.maximum(t - attack, 0.0) / decay)


def fft_band(signal, low, high):
    """Smooth band-pass in the frequency domain, zero-padded so nothing wraps round."""
    n = len(signal)
    size = 1 << int(np.ceil(np.log2(2 * n)))
    spectrum = np.fft.rfft(signal, size)
    f = np.fft.rfftfreq(size, 1.0 / RATE)
    gain = np.ones_like(f)
    if low > 0:
        gain *= 1.0 / np.sqrt(1.0 + (low / np.maximum(f, 1e-3)) ** 4)
    if high < NYQUIST:
        gain *= 1.0 / np.sqrt(1.0 + (f / high) ** 4)
    return np.fft.irfft(spectrum * gain, size)[:n]


# ---------------------------------------------------------------- the music loop

BPM = 128
BARS = 16
STEP = 60.0 / BPM / 4.0                      # one sixteenth, in seconds
LOOP_SECONDS = BARS * 16 * STEP              # 30.0 s
CHORDS = [  # two bars each, twice round
    ("A2", ["A3", "C4", "E4", "G4"]),
    ("F2", ["F3", "A3", "C4", "E4"]),
    ("C3", ["G3", "C4", "E4", "B4"]),
    ("G2", ["G3", "B3", "D4", "F#4"]),
]


def kick():
    t = times(0.4)
    pitch = 46.0 + 100.0 * np.exp(-t / 0.035)
    body = np.sin(phase_of(pitch)) * envelope(t, 0.002, 0.16)
    return np.tanh(1.8 * body) * 0.95


def hat(generator, seconds, decay):
    t = times(seconds)
    noise = generator.standard_normal(len(t))
    return fft_band(noise, 6000.0, NYQUIST) * envelope(t, 0.001, decay) * 0.5


def clap(generator):
    t = times(0.3)
    noise = fft_band(generator.standard_normal(len(t)), 900.0, 3500.0)
    bursts = sum(envelope(np.maximum(t - d, 0.0), 0.001, 0.008) * (t >= d) for d in (0.0, 0.011, 0.022))
    tail = envelope(np.maximum(t - 0.03, 0.0), 0.002, 0.09) * (t >= 0.03)
    return noise * (bursts + tail) * 0.6


def bass(frequency):
    t = times(0.22)
    cutoff = 260.0 + 1600.0 * np.exp(-t / 0.05)
    phase = 2.0 * np.pi * frequency * t
    wave = harmonics(phase, frequency, 40, lambda k, f: (1.0 / k) * lowpass_gain(f, cutoff))
    return wave * envelope(t, 0.003, 0.09)


def stab(frequencies):
    t = times(0.3)
    cutoff = 700.0 + 2600.0 * np.exp(-t / 0.06)
    out = np.zeros_like(t)
    for f in frequencies:
        for detune in (0.997, 1.003):
            phase = 2.0 * np.pi * f * detune * t
            out += harmonics(phase, f, 30, lambda k, fk: (1.0 / k) * lowpass_gain(fk, cutoff))
    return out * envelope(t, 0.004, 0.1) / len(frequencies)


def pluck(frequency):
    t = times(0.25)
    phase = 2.0 * np.pi * frequency * t
    # Odd harmonics: a soft square wave, duller as it fades.
    wave = harmonics(phase, frequency, 15,
                     lambda k, f: (k % 2) / k * np.exp(-t * k * 6.0))
    return wave * envelope(t, 0.002, 0.07)


def pad(frequencies, seconds):
    t = times(seconds)
    fade = np.minimum(np.minimum(t / 0.8, 1.0), np.minimum((seconds - t) / 0.8 + 0.3, 1.0))
    fade = np.clip(fade, 0.0, 1.0)
    out = np.zeros_like(t)
    for f in frequencies:
        vibrato = 1.0 + 0.002 * np.sin(2.0 * np.pi * 4.5 * t + f)
        phase = phase_of(f * vibrato)
        out += harmonics(phase, f, 4, lambda k, fk: 1.0 / (k * k))
    return out * fade / len(frequencies)


def place(buffer, sound, start_seconds, gain):
    """Adds a sound at a time of the loop; what runs past the end wraps to the start, so
    the loop joins without a break."""
    start = int(round(start_seconds * RATE)) % len(buffer)
    end = start + len(sound)
    if end <= len(buffer):
        buffer[start:end] += gain * sound
    else:
        split = len(buffer) - start
        buffer[start:] += gain * sound[:split]
        buffer[:end - len(buffer)] += gain * sound[split:]


def music():
    g = rng("techno")
    loop = np.zeros(int(round(LOOP_SECONDS * RATE)))
    echo_part = np.zeros_like(loop)
    kick_sound = kick()
    closed = [hat(g, 0.08, 0.012) for _ in range(4)]
    opened = hat(g, 0.3, 0.07)
    clap_sound = clap(g)
    for bar in range(BARS):
        root, chord = CHORDS[(bar // 2) % len(CHORDS)]
        root_f = note(root)
        chord_f = [note(n) for n in chord]
        bar_start = bar * 16 * STEP
        if bar % 2 == 0:
            place(loop, pad(chord_f, 32 * STEP + 0.8), bar_start, 0.10)
        breakdown = bar == BARS - 1
        for step in range(16):
            at = bar_start + step * STEP
            if step % 4 == 0 and not (breakdown and step >= 8):
                place(loop, kick_sound, at, 0.9)
            if step % 2 == 0:
                place(loop, closed[(bar + step) % 4], at, 0.22 if step % 4 else 0.14)
            if bar >= 4 and step % 4 == 2:
                place(loop, opened, at, 0.16)
            if bar >= 4 and step in (4, 12):
                place(loop, clap_sound, at, 0.45)
            if breakdown and step >= 8:
                place(loop, clap_sound, at, 0.12 + 0.03 * (step - 8))
            if step in (2, 6, 10, 14):
                place(loop, bass(root_f), at, 0.5)
            if step in (3, 11) and bar % 4 == 3:
                place(loop, bass(root_f * 2.0), at, 0.35)
            if bar >= 4 and step in (6, 14) and not breakdown:
                place(loop, stab(chord_f), at, 0.3)
            if 8 <= bar < BARS - 1:
                tones = chord_f + [f * 2.0 for f in chord_f]
                place(echo_part, pluck(tones[(step * 3) % len(tones)] * 2.0), at, 0.16)
    # Echo three sixteenths later, twice, fading; rolled round the loop so it wraps too.
    delay = int(round(3 * STEP * RATE))
    loop += echo_part + 0.4 * np.roll(echo_part, delay) + 0.16 * np.roll(echo_part, 2 * delay)
    loop = np.tanh(1.3 * loop)
    return loop * (MUSIC_PEAK / np.max(np.abs(loop)))


# ---------------------------------------------------------------- the effects

def bounce():
    """A rubber thump: a sine dropping from 220 Hz to 70 Hz, with a soft knock."""
    g = rng("bounce")
    t = times(0.3)
    pitch = 70.0 + 150.0 * np.exp(-t / 0.045)
    tone = np.sin(phase_of(pitch)) * envelope(t, 0.002, 0.08)
    knock = fft_band(g.standard_normal(len(t)), 80.0, 900.0) * envelope(t, 0.001, 0.012)
    return tone + 0.3 * knock


def square_tone(frequency, seconds, decay):
    t = times(seconds)
    phase = 2.0 * np.pi * frequency * t
    return harmonics(phase, frequency, 25, lambda k, f: (k % 2) / k) * envelope(t, 0.002, decay)


def bonus():
    """The coin chime: a short B5 and a ringing E6, soft square waves."""
    first = square_tone(note("B5"), 0.08, 1.0)
    first[-int(0.004 * RATE):] *= np.linspace(1.0, 0.0, int(0.004 * RATE))
    second = square_tone(note("E6"), 0.45, 0.14)
    return np.concatenate([first, second]) * 0.6


def bell(frequency, seconds):
    """Frequency modulation with a falling index: a small bell."""
    t = times(seconds)
    index = 2.5 * np.exp(-t / 0.15)
    modulator = np.sin(2.0 * np.pi * frequency * 3.5 * t)
    return np.sin(2.0 * np.pi * frequency * t + index * modulator) * envelope(t, 0.002, 0.22)


def key():
    """A die collected: four bells running up from C6 to C7."""
    out = np.zeros(int(0.9 * RATE))
    for i, name in enumerate(("C6", "E6", "G6", "C7")):
        start = int(i * 0.065 * RATE)
        tone = bell(note(name), 0.9)[:len(out) - start]
        out[start:start + len(tone)] += tone * (0.7 + 0.1 * i)
    return out


def brass(frequency, seconds, vibrato=0.0):
    """A brass-like tone: saw harmonics whose brightness swells in and dies away."""
    t = times(seconds)
    wobble = 1.0 + vibrato * np.sin(2.0 * np.pi * 5.5 * t) * np.minimum(t / 0.3, 1.0)
    phase = phase_of(frequency * wobble)
    bright = 600.0 + 2200.0 * np.minimum(t / 0.04, 1.0) * np.exp(-t / 0.6)
    wave = harmonics(phase, frequency, 30, lambda k, f: (1.0 / k) * lowpass_gain(f, bright))
    release = np.clip((seconds - t) / 0.05, 0.0, 1.0)
    return wave * np.minimum(t / 0.02, 1.0) * release


def win():
    """A fanfare: G4 C5 E5 G5, a turn, and a held C major chord."""
    parts = [("G4", 0.12), ("C5", 0.12), ("E5", 0.12), ("G5", 0.28), ("E5", 0.12), ("G5", 0.12)]
    pieces = [brass(note(n), d) for n, d in parts]
    chord = sum(brass(note(n), 1.1, vibrato=0.004) for n in ("C5", "E5", "G5", "C6")) / 2.5
    t = times(1.1)
    chord *= np.clip((1.1 - t) / 0.6, 0.0, 1.0)
    return np.concatenate(pieces + [chord])


def lose():
    """A sinking 'wah wah wah waah', muted-trombone fashion: G3, F#3, F3, then a long E3."""
    pieces = []
    for name, seconds in (("G3", 0.38), ("F#3", 0.38), ("F3", 0.38), ("E3", 1.1)):
        t = times(seconds)
        wobble = 1.0 + 0.012 * np.sin(2.0 * np.pi * 5.0 * t) * (seconds > 1.0)
        phase = phase_of(note(name) * wobble)
        # The mute opens and closes on every note.
        wah = 350.0 + 1100.0 * np.sin(np.pi * np.clip(t / (seconds * 0.9), 0.0, 1.0)) ** 2
        f0 = note(name)
        wave = harmonics(phase, f0, 30, lambda k, f: (1.0 / k) * lowpass_gain(f, wah))
        pieces.append(wave * np.minimum(t / 0.03, 1.0) * np.clip((seconds - t) / 0.06, 0.0, 1.0))
    return np.concatenate(pieces)


EFFECTS = {"bounce.wav": bounce, "bonus.wav": bonus, "key.wav": key, "win.wav": win, "lose.wav": lose}


def loudness(signal):
    """RMS of the loudest 0.2 s window: how loud a short effect sounds."""
    window = int(0.2 * RATE)
    power = np.convolve(signal ** 2, np.ones(window) / window, mode="valid") if len(signal) > window \
        else np.array([np.mean(signal ** 2)])
    return float(np.sqrt(np.max(power)))


def balanced_effects():
    """Scales every effect so that loudness times its volume is the same for all, as loud
    as the peak limit allows for the one with the least headroom."""
    raw = {name: make() for name, make in EFFECTS.items()}
    scale = {name: 1.0 / (loudness(s) * EFFECT_VOLUMES[name]) for name, s in raw.items()}
    room = min(EFFECT_PEAK_LIMIT / (np.max(np.abs(s)) * scale[name]) for name, s in raw.items())
    return {name: s * scale[name] * room for name, s in raw.items()}


def fade_edges(signal, seconds=0.004):
    """Starts and ends an effect at silence, so playing or cutting it never clicks."""
    n = int(seconds * RATE)
    ramp = np.linspace(0.0, 1.0, n)
    out = signal.copy()
    out[:n] *= ramp
    out[-n:] *= ramp[::-1]
    return out


def generate(out_dir):
    written = []
    path = out_dir / "techno.wav"
    save_wav(path, music(), RATE)
    written.append(path)
    for name, signal in balanced_effects().items():
        save_wav(out_dir / name, fade_edges(signal), RATE)
        written.append(out_dir / name)
    return written
