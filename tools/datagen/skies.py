"""Sky maps for the sky sphere. Every texel is computed from its direction in the world, so
the map wraps round without a seam and the poles show no pinch: features near a pole are
drawn as wide in the map as the sphere squeezes them.

The world's up is +z (gravity at a stage's start); in the picture that is the bottom row
(see common.sky_directions).
"""

import numpy as np

from common import (SphereNoise, hex_colour, mix, rng, save_png, sky_directions, smoothstep,
                    upsample2)

WIDTH, HEIGHT = 2048, 1024


def splat_stars(image, directions, generator, count, brightness, density=None):
    """Adds count stars, uniform over the sphere (or thinned by density(dirs) in 0..1),
    each a small Gaussian measured in true angle, so stars stay round near the poles."""
    height, width = image.shape[:2]
    texel = np.pi / height                            # radians per row
    stars = []
    while len(stars) < count:
        d = generator.standard_normal((count, 3))
        d /= np.linalg.norm(d, axis=1, keepdims=True)
        # No stars right round the poles: there the mipmaps of the map smear them
        # into streaks.
        keep = 1.0 - smoothstep(0.93, 0.985, np.abs(d[:, 2]))
        if density is not None:
            keep = keep * density(d)
        d = d[generator.random(count) < keep]
        stars.extend(d)
    stars = np.array(stars[:count])
    # Magnitudes: many faint stars, a few bright ones.
    power = brightness * generator.pareto(2.2, count).clip(0.0, 12.0) * 0.35 + brightness * 0.12
    sizes = texel * generator.uniform(0.55, 0.9, count) * (1.0 + 0.08 * power / brightness)
    temperature = generator.uniform(0.0, 1.0, count)
    for d, p, sigma, warmth in zip(stars, power, sizes, temperature):
        colour = mix(hex_colour("#a8c4ff"), hex_colour("#ffd9a8"), warmth) * 0.6 + 0.4
        rho = np.arccos(np.clip(d[2], -1.0, 1.0))
        theta = np.arctan2(-d[0], d[1]) % (2.0 * np.pi)
        row = (1.0 - rho / np.pi) * height - 0.5
        col = theta / (2.0 * np.pi) * width - 0.5
        reach = 4.0 * sigma
        half_rows = int(np.ceil(reach / texel)) + 1
        rows = np.arange(int(row) - half_rows, int(row) + half_rows + 2)
        rows = rows[(rows >= 0) & (rows < height)]
        widest = max(np.sin(rho) - reach, 1e-3)
        half_cols = min(int(np.ceil(reach / (2.0 * np.pi / width) / widest)) + 1, width // 2)
        cols = np.arange(int(col) - half_cols, int(col) + half_cols + 2) % width
        patch = directions[np.ix_(rows, cols)]
        angle = np.arccos(np.clip(patch @ d, -1.0, 1.0))
        glow = p * np.exp(-0.5 * (angle / sigma) ** 2)
        image[np.ix_(rows, cols)] += glow[..., None] * colour


def starfield():
    """Black space with a faint band of the galaxy and its dust lanes, and stars thickest
    along the band."""
    g = rng("sky_stars")
    dirs = sky_directions(WIDTH, HEIGHT)
    half = sky_directions(WIDTH // 2, HEIGHT // 2)
    band_normal = np.array([0.35, -0.25, 0.9])
    band_normal /= np.linalg.norm(band_normal)
    noise = SphereNoise(g, octaves=6)
    band = np.exp(-((half @ band_normal) / 0.16) ** 2)
    clouds = noise.sample(half, 3.0)
    dust = noise.sample(half + 7.0, 6.0, octaves=4)
    glow = band * smoothstep(0.3, 0.75, clouds) * (1.0 - 0.8 * smoothstep(0.45, 0.7, dust))
    smooth = glow[..., None] * hex_colour("#3a3f5c") * 0.9
    smooth += (band ** 4)[..., None] * hex_colour("#2a2030") * 0.5
    image = upsample2(smooth) + hex_colour("#020308")

    def along_band(d):
        return 0.25 + 0.75 * np.exp(-((d @ band_normal) / 0.2) ** 2)

    splat_stars(image, dirs, g, 9000, 0.5, along_band)
    return np.clip(image, 0.0, 1.0)


def nebula():
    """A coloured nebula: magenta and teal clouds with dark filaments, over a sparse
    starfield."""
    g = rng("sky_nebula")
    dirs = sky_directions(WIDTH, HEIGHT)
    half = sky_directions(WIDTH // 2, HEIGHT // 2)
    noise = SphereNoise(g, octaves=6)
    warp = np.stack([noise.sample(half + 3.1, 1.5, octaves=3),
                     noise.sample(half + 5.7, 1.5, octaves=3),
                     noise.sample(half + 9.3, 1.5, octaves=3)], axis=-1) - 0.5
    warped = half + 0.9 * warp
    pink = smoothstep(0.42, 0.8, noise.sample(warped, 1.4, gain=0.55))
    teal = smoothstep(0.45, 0.82, noise.sample(warped + 11.0, 1.8, gain=0.55))
    filaments = smoothstep(0.5, 0.72, noise.sample(warped + 23.0, 4.0, gain=0.6))
    smooth = np.zeros(half.shape) + hex_colour("#04030a")
    smooth += pink[..., None] * hex_colour("#b0307a") * 0.85
    smooth += (pink ** 3)[..., None] * hex_colour("#ff9ad0") * 0.35
    smooth += teal[..., None] * hex_colour("#1f8a9a") * 0.7
    smooth += (pink * teal)[..., None] * hex_colour("#f0e0ff") * 0.35
    smooth *= (1.0 - 0.75 * filaments * np.maximum(pink, teal))[..., None]
    image = upsample2(smooth)
    splat_stars(image, dirs, g, 3500, 0.55)
    return np.clip(image, 0.0, 1.0)


def dusk():
    """Evening sky: deep blue overhead, pink and orange at the horizon with the glow of a
    set sun, thin lit clouds, a few early stars, dusky violet below."""
    g = rng("sky_dusk")
    dirs = sky_directions(WIDTH, HEIGHT)
    noise = SphereNoise(g, octaves=5)
    z = dirs[..., 2]
    # Colour stops by height above the horizon (z is the sine of the elevation).
    stops = [(-1.0, "#07040e"), (-0.35, "#1a1030"), (-0.06, "#4a2a4e"), (0.0, "#ff9a52"),
             (0.06, "#f77a6a"), (0.2, "#a85a8e"), (0.45, "#4a3a86"), (0.75, "#1c2460"),
             (1.0, "#0c1438")]
    image = np.zeros(dirs.shape)
    for (z0, c0), (z1, c1) in zip(stops, stops[1:]):
        inside = (z >= z0) & (z <= z1)
        t = smoothstep(z0, z1, z)
        image[inside] = mix(hex_colour(c0), hex_colour(c1), t[inside])
    sun = np.array([0.8, 0.6, -0.04])
    sun /= np.linalg.norm(sun)
    angle = np.arccos(np.clip(dirs @ sun, -1.0, 1.0))
    image += (np.exp(-(angle / 0.35) ** 2) * 0.55)[..., None] * hex_colour("#ffb070")
    image += (np.exp(-(angle / 0.08) ** 2) * 0.5)[..., None] * hex_colour("#fff0c0")
    # Clouds: noise squashed in height into long streaks, only in the lower sky.
    half = sky_directions(WIDTH // 2, HEIGHT // 2)
    streak = upsample2(noise.sample(half * np.array([1.0, 1.0, 7.0]), 2.2, gain=0.5))
    cloud = smoothstep(0.52, 0.7, streak) * smoothstep(0.0, 0.05, z) * (1.0 - smoothstep(0.25, 0.45, z))
    lit = np.exp(-(angle / 0.9) ** 2)
    cloud_colour = mix(hex_colour("#3a2448"), hex_colour("#ffb080"), lit)
    image = mix(image, cloud_colour, 0.85 * cloud)

    def high_sky(d):
        return smoothstep(0.3, 0.8, d[:, 2])

    splat_stars(image, dirs, g, 700, 0.35, high_sky)
    return np.clip(image, 0.0, 1.0)


def aurora():
    """Polar night: curtains of green and violet light hanging in bands over a dark blue
    sky, a faint snowfield glow below the horizon, and a scatter of stars."""
    g = rng("sky_aurora")
    dirs = sky_directions(WIDTH, HEIGHT)
    half = sky_directions(WIDTH // 2, HEIGHT // 2)
    noise = SphereNoise(g, octaves=5)
    z = half[..., 2]
    smooth = mix(hex_colour("#0a1020"), hex_colour("#020410"), smoothstep(-0.1, 0.9, z))
    smooth = mix(hex_colour("#1a2a3a"), smooth, smoothstep(-0.5, 0.05, z))
    # The curtains: a band of folds round the sky, rays running up from their lower edge.
    azimuth = np.arctan2(half[..., 0], half[..., 1])
    fold = noise.sample(half * np.array([1.0, 1.0, 0.2]), 1.6, octaves=3)
    base = 0.12 + 0.18 * fold + 0.08 * np.sin(3.0 * azimuth)
    above = z - base
    curtain = smoothstep(-0.02, 0.02, above) * np.exp(-np.clip(above, 0.0, None) / 0.22)
    rays = smoothstep(0.35, 0.75, noise.sample(half * np.array([1.0, 1.0, 0.05]), 7.0, octaves=2))
    light = curtain * (0.45 + 0.55 * rays)
    smooth += light[..., None] * hex_colour("#38e08a") * 0.8
    smooth += (light * smoothstep(0.05, 0.3, above))[..., None] * hex_colour("#8a40c0") * 0.6
    image = upsample2(smooth)

    def above_horizon(d):
        return smoothstep(-0.05, 0.2, d[:, 2])

    splat_stars(image, dirs, g, 2500, 0.4, above_horizon)
    return np.clip(image, 0.0, 1.0)


def ember():
    """A smouldering sky: red-brown smoke lit from below by a low, swollen sun, darker
    and cooler overhead, a few stars showing through the gaps."""
    g = rng("sky_ember")
    dirs = sky_directions(WIDTH, HEIGHT)
    half = sky_directions(WIDTH // 2, HEIGHT // 2)
    noise = SphereNoise(g, octaves=5)
    z = half[..., 2]
    stops = [(-1.0, "#0e0302"), (-0.2, "#3a0c06"), (0.0, "#b8401a"), (0.15, "#6a1e14"),
             (0.5, "#2a0a12"), (1.0, "#08040c")]
    smooth = np.zeros(half.shape)
    for (z0, c0), (z1, c1) in zip(stops, stops[1:]):
        inside = (z >= z0) & (z <= z1)
        t = smoothstep(z0, z1, z)
        smooth[inside] = mix(hex_colour(c0), hex_colour(c1), t[inside])
    sun = np.array([-0.7, 0.7, 0.08])
    sun /= np.linalg.norm(sun)
    angle = np.arccos(np.clip(half @ sun, -1.0, 1.0))
    smooth += (np.exp(-(angle / 0.5) ** 2) * 0.45)[..., None] * hex_colour("#ff6a20")
    smooth += (smoothstep(0.16, 0.13, angle) * 0.7)[..., None] * hex_colour("#ffb050")
    smoke = smoothstep(0.4, 0.75, noise.sample(half * np.array([1.0, 1.0, 2.5]), 2.0, gain=0.55))
    lit = np.exp(-(angle / 1.1) ** 2)
    smoke_colour = mix(hex_colour("#1a0806"), hex_colour("#c05020"), lit)
    smooth = mix(smooth, smoke_colour, 0.7 * smoke)
    image = upsample2(smooth)

    def through_gaps(d):
        return smoothstep(0.2, 0.7, d[:, 2])

    splat_stars(image, dirs, g, 600, 0.3, through_gaps)
    return np.clip(image, 0.0, 1.0)


def gradient(z, stops):
    """Colours by height (z is the sine of the elevation), blended between the stops."""
    image = np.zeros(z.shape + (3,))
    for (z0, c0), (z1, c1) in zip(stops, stops[1:]):
        inside = (z >= z0) & (z <= z1)
        t = smoothstep(z0, z1, z)
        image[inside] = mix(hex_colour(c0), hex_colour(c1), t[inside])
    return image


def daylight():
    """A clear morning: pale blue overhead deepening to the zenith, a bright haze at the
    horizon, a white sun with its glow, and a floor of soft cloud below."""
    g = rng("sky_daylight")
    half = sky_directions(WIDTH // 2, HEIGHT // 2)
    noise = SphereNoise(g, octaves=3)
    z = half[..., 2]
    smooth = gradient(z, [(-1.0, "#b8c8d8"), (-0.25, "#dfe8f0"), (0.0, "#f4f0e4"), (0.08, "#bcdcf4"),
                          (0.4, "#6aa8e8"), (1.0, "#2a64c0")])
    sun = np.array([0.5, 0.75, 0.42])
    sun /= np.linalg.norm(sun)
    angle = np.arccos(np.clip(half @ sun, -1.0, 1.0))
    smooth += (np.exp(-(angle / 0.3) ** 2) * 0.35)[..., None] * hex_colour("#fff4d0")
    smooth = mix(smooth, hex_colour("#ffffff"), smoothstep(0.05, 0.035, angle))
    cloud = smoothstep(0.5, 0.68, noise.sample(half * np.array([1.0, 1.0, 3.0]), 2.0, gain=0.4, octaves=2))
    cloud = cloud * (1.0 - smoothstep(-0.3, -0.05, z))
    smooth = mix(smooth, hex_colour("#f8f8fa"), 0.8 * cloud)
    return np.clip(upsample2(smooth), 0.0, 1.0)


def deep_sea():
    """Deep water seen from inside: dark teal, lighter towards the surface overhead, with
    long shafts of light falling from above."""
    g = rng("sky_deep_sea")
    dirs = sky_directions(WIDTH, HEIGHT)
    half = sky_directions(WIDTH // 2, HEIGHT // 2)
    noise = SphereNoise(g, octaves=3)
    z = half[..., 2]
    smooth = gradient(z, [(-1.0, "#01070c"), (-0.3, "#03202a"), (0.2, "#0a4a58"), (0.7, "#1a8a94"),
                          (1.0, "#58c8c0")])
    azimuth = np.arctan2(half[..., 0], half[..., 1])
    shafts = smoothstep(0.55, 0.8, noise.sample(np.stack([np.cos(azimuth), np.sin(azimuth),
                                                         np.zeros_like(azimuth)], axis=-1), 4.0, octaves=2))
    # The shafts fade out before the zenith, where every azimuth meets in one point.
    fade = smoothstep(-0.2, 0.6, z) * (1.0 - smoothstep(0.7, 0.95, z))
    smooth += (shafts * fade)[..., None] * hex_colour("#3ab8b0") * 0.45
    image = upsample2(smooth)

    def low(d):
        return 0.3 * smoothstep(0.2, -0.4, d[:, 2])

    splat_stars(image, dirs, g, 250, 0.25, low)
    return np.clip(image, 0.0, 1.0)


def storm():
    """A storm: slate-grey banks of cloud, darker below, a pale rift across the sky with a
    yellowish light behind it."""
    g = rng("sky_storm")
    half = sky_directions(WIDTH // 4, HEIGHT // 4)     # soft enough for a quarter size
    noise = SphereNoise(g, octaves=2)
    z = half[..., 2]
    smooth = gradient(z, [(-1.0, "#0c0e12"), (-0.2, "#23282f"), (0.0, "#4a525c"), (0.5, "#343a44"),
                          (1.0, "#1c2028")])
    rift_normal = np.array([0.2, 0.5, 0.84])
    rift_normal /= np.linalg.norm(rift_normal)
    billow = noise.sample(half * np.array([1.0, 1.0, 1.6]), 1.6, gain=0.5)
    rift = np.exp(-((half @ rift_normal + 0.25 * (billow - 0.5)) / 0.09) ** 2)
    smooth = mix(smooth, hex_colour("#c8bc88"), 0.7 * rift * smoothstep(0.4, 0.6, billow))
    dark = smoothstep(0.45, 0.75, billow)
    smooth *= (1.0 - 0.45 * dark)[..., None]
    return np.clip(upsample2(upsample2(smooth)), 0.0, 1.0)


def golden_hour():
    """Late afternoon gold: amber near the horizon under a great low sun, peach to soft
    violet overhead, a few thin gold-edged clouds."""
    g = rng("sky_golden")
    half = sky_directions(WIDTH // 2, HEIGHT // 2)
    noise = SphereNoise(g, octaves=3)
    z = half[..., 2]
    smooth = gradient(z, [(-1.0, "#2a1606"), (-0.2, "#7a4010"), (0.0, "#ffc458"), (0.12, "#f8a860"),
                          (0.45, "#c0789a"), (1.0, "#5a4a8a")])
    sun = np.array([-0.6, -0.78, 0.12])
    sun /= np.linalg.norm(sun)
    angle = np.arccos(np.clip(half @ sun, -1.0, 1.0))
    smooth += (np.exp(-(angle / 0.45) ** 2) * 0.5)[..., None] * hex_colour("#ffd080")
    smooth = mix(smooth, hex_colour("#fff8e0"), smoothstep(0.09, 0.07, angle))
    streak = smoothstep(0.55, 0.7, noise.sample(half * np.array([1.0, 1.0, 8.0]), 2.0, gain=0.45))
    streak = streak * smoothstep(0.03, 0.1, z) * (1.0 - smoothstep(0.3, 0.5, z))
    smooth = mix(smooth, hex_colour("#ffe0a0"), 0.6 * streak)
    return np.clip(upsample2(smooth), 0.0, 1.0)


def galaxy():
    """Deep violet space with a great spiral galaxy standing above the horizon, its arms
    pink and blue, and stars round it."""
    g = rng("sky_galaxy")
    dirs = sky_directions(WIDTH, HEIGHT)
    half = sky_directions(WIDTH // 2, HEIGHT // 2)
    z = half[..., 2]
    smooth = gradient(z, [(-1.0, "#06020c"), (0.0, "#14082a"), (1.0, "#0a0418")])
    # The galaxy's own frame: centre direction c, two axes a, b across its disc.
    c = np.array([0.3, 0.8, 0.5])
    c /= np.linalg.norm(c)
    a = np.cross(c, np.array([0.0, 0.0, 1.0]))
    a /= np.linalg.norm(a)
    b = np.cross(c, a)
    x = (half @ a) / 1.3
    y = (half @ b) / 0.75
    front = np.clip(half @ c, 0.0, 1.0)
    r = np.sqrt(x * x + y * y)
    theta = np.arctan2(y, x)
    arms = 0.5 + 0.5 * np.cos(2.0 * theta - 4.5 * np.log(r + 0.05))
    disc = np.exp(-r / 0.35) * front
    smooth += (disc * (0.35 + 0.65 * arms ** 3))[..., None] * mix(hex_colour("#ff60c0"), hex_colour("#6080ff"), smoothstep(0.1, 0.6, r))[..., :] * 1.2
    smooth += (np.exp(-(r / 0.07) ** 2) * front)[..., None] * hex_colour("#fff0e0") * 0.9
    image = upsample2(smooth)
    splat_stars(image, dirs, g, 900, 0.45)
    return np.clip(image, 0.0, 1.0)


SKIES = {
    "sky_stars.png": starfield,
    "sky_nebula.png": nebula,
    "sky_dusk.png": dusk,
    "sky_aurora.png": aurora,
    "sky_ember.png": ember,
    "sky_daylight.png": daylight,
    "sky_deep_sea.png": deep_sea,
    "sky_storm.png": storm,
    "sky_golden.png": golden_hour,
    "sky_galaxy.png": galaxy,
}


def generate(out_dir):
    folder = out_dir / "levels" / "levelTextures"
    written = []
    for name, design in SKIES.items():
        save_png(folder / name, design())
        written.append(folder / name)
    return written
