"""Shared helpers for the data generators: deterministic file writers, noise and sphere maps.

Every generator takes its randomness from rng(name), seeded from a fixed number and the
asset's name, so each asset is reproducible on its own and adding one leaves the others as
they were.
"""

import hashlib
import wave
from pathlib import Path

import numpy as np
from PIL import Image

BASE_SEED = 20240611


def rng(name):
    digest = hashlib.sha256(f"{BASE_SEED}:{name}".encode()).digest()
    return np.random.default_rng(int.from_bytes(digest[:8], "little"))


def to_bytes(image):
    """Float image in 0..1 (H x W x 3) to 8-bit, rounded and clamped."""
    return np.clip(np.rint(image * 255.0), 0, 255).astype(np.uint8)


def save_png(path, image):
    """Writes a 24-bit RGB PNG. PIL adds no time or text chunks unless asked, so the
    bytes depend only on the pixels (and zlib's fixed level)."""
    path = Path(path)
    path.parent.mkdir(parents=True, exist_ok=True)
    if image.dtype != np.uint8:
        image = to_bytes(image)
    Image.fromarray(image, "RGB").save(path, format="PNG", optimize=False, compress_level=9)


def save_wav(path, samples, rate):
    """Writes 16-bit mono PCM. The wave module writes only the RIFF, fmt and data chunks."""
    path = Path(path)
    path.parent.mkdir(parents=True, exist_ok=True)
    pcm = np.clip(np.rint(np.asarray(samples) * 32767.0), -32767, 32767).astype("<i2")
    with wave.open(str(path), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(rate)
        out.writeframes(pcm.tobytes())


def downsample(image, factor):
    """Box filter: averages factor x factor blocks (the supersampled render's antialiasing)."""
    h, w = image.shape[0] // factor, image.shape[1] // factor
    shape = (h, factor, w, factor) + image.shape[2:]
    return image.reshape(shape).mean(axis=(1, 3))


def smoothstep(e0, e1, x):
    t = np.clip((x - e0) / (e1 - e0), 0.0, 1.0)
    return t * t * (3.0 - 2.0 * t)


def mix(a, b, t):
    """Blends colours or arrays; t broadcasts over the colour axis when it lacks one."""
    t = np.asarray(t, dtype=np.float64)
    a = np.asarray(a, dtype=np.float64)
    b = np.asarray(b, dtype=np.float64)
    colour = max(a.ndim, b.ndim) >= 1 and 3 in (a.shape[-1:] + b.shape[-1:])
    if colour and t.ndim and (t.ndim < max(a.ndim, b.ndim) or t.shape[-1] != 3):
        t = t[..., None]
    return a + (b - a) * t


def hex_colour(text):
    text = text.lstrip("#")
    return np.array([int(text[i:i + 2], 16) / 255.0 for i in (0, 2, 4)])


def tile_noise(generator, size, roughness):
    """Noise that repeats every size pixels in both directions: white noise shaped in the
    frequency domain by 1 / f^roughness. Zero mean, unit deviation."""
    white = generator.standard_normal((size, size))
    fx = np.fft.fftfreq(size)[None, :]
    fy = np.fft.fftfreq(size)[:, None]
    radius = np.sqrt(fx * fx + fy * fy)
    radius[0, 0] = 1.0
    spectrum = np.fft.fft2(white) / radius ** roughness
    spectrum[0, 0] = 0.0
    field = np.real(np.fft.ifft2(spectrum))
    return (field - field.mean()) / field.std()


class SphereNoise:
    """Smooth value noise over 3D space, sampled on directions so that a map of the sphere
    shows no seam and no pinch at the poles. A lattice of random values, period `period`,
    interpolated with smoothstep weights; octaves add finer lattices."""

    def __init__(self, generator, period=64, octaves=5):
        self.period = period
        self.tables = [generator.random((period, period, period)) for _ in range(octaves)]
        self.offsets = [generator.random(3) * period for _ in range(octaves)]

    def _octave(self, table, points):
        base = np.floor(points)
        frac = points - base
        w = frac * frac * (3.0 - 2.0 * frac)
        i = base.astype(np.int64) % self.period
        j = (i + 1) % self.period
        result = 0.0
        for cx in (0, 1):
            ix = j[..., 0] if cx else i[..., 0]
            wx = w[..., 0] if cx else 1.0 - w[..., 0]
            for cy in (0, 1):
                iy = j[..., 1] if cy else i[..., 1]
                wy = w[..., 1] if cy else 1.0 - w[..., 1]
                for cz in (0, 1):
                    iz = j[..., 2] if cz else i[..., 2]
                    wz = w[..., 2] if cz else 1.0 - w[..., 2]
                    result = result + table[ix, iy, iz] * (wx * wy * wz)
        return result

    def sample(self, points, frequency, gain=0.5, octaves=None):
        """Fractal sum in 0..1 (roughly centred on 0.5) at points scaled by frequency."""
        total = 0.0
        weight = 1.0
        norm = 0.0
        count = len(self.tables) if octaves is None else octaves
        for k in range(count):
            scaled = points * (frequency * 2.0 ** k) + self.offsets[k]
            total = total + weight * self._octave(self.tables[k], scaled)
            norm += weight
            weight *= gain
        return total / norm


def sky_directions(width, height, supersample=1):
    """World directions of the texel centres of a sky map as the game's sky sphere shows
    it: GLU's sphere gives s around the z axis and t from the -z pole (t = 0) to the +z
    pole, and the image's first row is uploaded as t = 0, so the picture's top row lies at
    the nadir and its bottom row at the zenith."""
    w, h = width * supersample, height * supersample
    s = (np.arange(w) + 0.5) / w
    t = (np.arange(h) + 0.5) / h
    theta = 2.0 * np.pi * s[None, :]
    rho = np.pi * (1.0 - t[:, None])
    return np.stack([-np.sin(theta) * np.sin(rho),
                     np.cos(theta) * np.sin(rho),
                     np.cos(rho) * np.ones_like(theta)], axis=-1)


def ball_directions(width, height, supersample=1):
    """Directions in the ball's frame of the texel centres of the ball picture. The ball's
    texture matrix flips t, so here the picture's top row lies at the +z pole."""
    dirs = sky_directions(width, height, supersample)
    return dirs[::-1].copy()


def upsample2(field):
    """Doubles a sphere map's resolution by linear interpolation, wrapping round in s and
    clamping at the poles. Smooth fields are computed at half size and brought up."""
    h, w = field.shape[:2]

    def axis_weights(n, wrap):
        pos = np.arange(2 * n) / 2.0 - 0.25
        lo = np.floor(pos).astype(np.int64)
        frac = pos - lo
        hi = lo + 1
        if wrap:
            return lo % n, hi % n, frac
        return np.clip(lo, 0, n - 1), np.clip(hi, 0, n - 1), frac

    r0, r1, fr = axis_weights(h, False)
    c0, c1, fc = axis_weights(w, True)
    extra = (None,) * (field.ndim - 2)
    rows = field[r0] * (1.0 - fr)[(slice(None), None) + extra] + field[r1] * fr[(slice(None), None) + extra]
    return rows[:, c0] * (1.0 - fc)[(None, slice(None)) + extra] + rows[:, c1] * fc[(None, slice(None)) + extra]
