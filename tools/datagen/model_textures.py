"""Texture maps of the three collectible models. The game draws the models with colour
material on and a white current colour, so all of their colour comes from these maps."""

import numpy as np

from common import downsample, hex_colour, mix, rng, smoothstep

SUPERSAMPLE = 4

# The die's map: a row of four 128-pixel cells over a second row; faces 1 to 6 use the
# first six cells (left to right, top row first), the last two are plain ivory.
DIE_SIZE = (512, 256)
DIE_CELL = 128

PIPS = {
    1: [(0.5, 0.5)],
    2: [(0.27, 0.27), (0.73, 0.73)],
    3: [(0.27, 0.27), (0.5, 0.5), (0.73, 0.73)],
    4: [(0.27, 0.27), (0.73, 0.27), (0.27, 0.73), (0.73, 0.73)],
    5: [(0.27, 0.27), (0.73, 0.27), (0.5, 0.5), (0.27, 0.73), (0.73, 0.73)],
    6: [(0.27, 0.25), (0.27, 0.5), (0.27, 0.75), (0.73, 0.25), (0.73, 0.5), (0.73, 0.75)],
}


def die_cell_origin(value):
    """Top-left pixel of the cell showing value (1 to 6)."""
    index = value - 1
    return (index % 4) * DIE_CELL, (index // 4) * DIE_CELL


def pixel_grid(width, height):
    xs = (np.arange(width * SUPERSAMPLE) + 0.5) / SUPERSAMPLE
    ys = (np.arange(height * SUPERSAMPLE) + 0.5) / SUPERSAMPLE
    return np.meshgrid(xs, ys, indexing="xy")


def die_atlas():
    width, height = DIE_SIZE
    x, y = pixel_grid(width, height)
    ivory = hex_colour("#f6f0e0")
    image = np.zeros(x.shape + (3,)) + ivory
    for value, pips in PIPS.items():
        ox, oy = die_cell_origin(value)
        cu = (x - ox) / DIE_CELL
        cv = (y - oy) / DIE_CELL
        inside = (cu >= 0) & (cu < 1) & (cv >= 0) & (cv < 1)
        radius = 0.12 if value == 1 else 0.085
        colour = hex_colour("#c8202c") if value == 1 else hex_colour("#1a1a24")
        for px, py in pips:
            r = np.sqrt((cu - px) ** 2 + (cv - py) ** 2) / radius
            cover = (1.0 - smoothstep(0.9, 1.0, r)) * inside
            # A pip is a shallow hollow: darker towards its upper rim.
            hollow = mix(colour * 0.55, colour, smoothstep(-0.8, 0.6, (cv - py) / radius))
            image = mix(image, hollow, cover)
    return np.clip(downsample(image, SUPERSAMPLE), 0.0, 1.0)


COIN_SIZE = 256
COIN_RADIUS = 0.47      # the coin's rim maps to this fraction of the map's width from its centre


def star_distance(px, py, points, outer, inner):
    """Signed distance-like field of a five-pointed star centred at the origin: negative
    inside. Measured against the polygon of alternating outer and inner corners."""
    angle = np.arctan2(px, py) % (2.0 * np.pi / points)
    half = np.pi / points
    folded = np.abs(angle - half)
    r = np.sqrt(px * px + py * py)
    qx = r * np.sin(half - folded)
    qy = r * np.cos(half - folded)
    # Edge from the outer tip (0, outer) to the inner corner at angle half.
    ax, ay = 0.0, outer
    bx, by = inner * np.sin(half), inner * np.cos(half)
    ex, ey = bx - ax, by - ay
    length = np.hypot(ex, ey)
    nx, ny = ey / length, -ex / length
    return (qx - ax) * nx + (qy - ay) * ny


def coin_face():
    x, y = pixel_grid(COIN_SIZE, COIN_SIZE)
    g = rng("coin")
    cx = x / COIN_SIZE - 0.5
    cy = 0.5 - y / COIN_SIZE
    r = np.sqrt(cx * cx + cy * cy) / COIN_RADIUS
    star = star_distance(cx / COIN_RADIUS, cy / COIN_RADIUS, 5, 0.62, 0.26)
    # Relief: raised rim, a sunken field with a ring of beads, a raised star.
    height = 0.2 + 0.8 * smoothstep(0.8, 0.86, r)
    beads = np.cos(np.arctan2(cx, cy) * 40.0) > 0.2
    height += 0.25 * (beads & (np.abs(r - 0.74) < 0.03))
    height += 0.6 * (1.0 - smoothstep(-0.02, 0.0, star))
    n = height.shape[0]
    dx = (np.roll(height, -1, axis=1) - np.roll(height, 1, axis=1)) * n * 0.01
    dy = (np.roll(height, -1, axis=0) - np.roll(height, 1, axis=0)) * n * 0.01
    light = 0.85 + 0.5 * np.clip(-dx * 0.6 + dy * 0.8, -0.6, 0.6)
    gold = mix(hex_colour("#e8a010"), hex_colour("#fff060"), 0.5 + 0.35 * smoothstep(0.0, 1.0, height))
    sheen = 1.0 + 0.05 * np.sin(np.arctan2(cx, cy) * 6.0 + 1.0) + 0.02 * g.standard_normal(x.shape)
    image = gold * (light * sheen)[..., None]
    return np.clip(downsample(image, SUPERSAMPLE), 0.0, 1.0)


# The finish's map: a chequered banner over the top half, red and white bands bottom left
# for the posts, gold bottom right for the star, the knobs and the feet.
FINISH_SIZE = 256
CHECKER_RECT = (0, 0, 256, 128)          # x, y, width, height in pixels
STRIPES_RECT = (0, 128, 128, 128)
GOLD_RECT = (128, 128, 128, 128)
CHECKER_COLUMNS, CHECKER_ROWS = 8, 2
STRIPE_BANDS = 8


def finish_atlas():
    size = FINISH_SIZE
    x, y = pixel_grid(size, size)
    image = np.zeros(x.shape + (3,))
    # Chequered banner.
    bx, by, bw, bh = CHECKER_RECT
    col = np.floor((x - bx) / bw * CHECKER_COLUMNS)
    row = np.floor((y - by) / bh * CHECKER_ROWS)
    checker = np.where(((col + row) % 2) == 0, 0.95, 0.06)
    in_checker = (y < by + bh)
    image[in_checker] = (checker[..., None] * np.ones(3))[in_checker]
    # Striped posts.
    sx, sy, sw, sh = STRIPES_RECT
    band = np.floor((y - sy) / sh * STRIPE_BANDS) % 2
    stripes = mix(hex_colour("#f4f4f4"), hex_colour("#d42020"), band)
    in_stripes = (y >= sy) & (x < sx + sw)
    image[in_stripes] = stripes[in_stripes]
    # Gold: brighter at the top of its patch, where the star is mapped.
    gx, gy, gw, gh = GOLD_RECT
    gold = mix(hex_colour("#ffe070"), hex_colour("#d89a18"), (y - gy) / gh)
    in_gold = (y >= gy) & (x >= gx)
    image[in_gold] = gold[in_gold]
    return np.clip(downsample(image, SUPERSAMPLE), 0.0, 1.0)
