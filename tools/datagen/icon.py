"""Renders the game's icon: the ball in its own picture resting on a cube dressed in the first
stage's face texture, seen from above at a slant, on a transparent background.

    python3 tools/datagen/icon.py [data folder] [output folder]
        (defaults: data/ and packaging/icons/ of the checkout)

Writes <size>.png (RGBA) for every size in SIZES. A small ray caster in numpy does the
drawing, so the icon needs nothing the data generators do not already use, and the same
data gives the same bytes.
"""

import sys
from pathlib import Path

import numpy as np
from PIL import Image

SIZES = [16, 24, 32, 48, 64, 128, 256]
RENDER = 1024             # pixels a side before each size is filtered down
FACE = "levels/levelTextures/face_blue_tiles.png"
BALL = "soccer.png"

BALL_RADIUS = 0.70        # the cube is 2 units a side around the origin
BALL_CENTRE = np.array([0.05, -0.05, 1.0 + BALL_RADIUS])
VIEW = np.array([1.0, -1.25, 1.1])      # towards the eye
LIGHT = np.array([-0.35, -0.8, 1.0])    # towards the light
AMBIENT = 0.38
FRAME = 2.02              # half the width of the view in scene units
LIFT = 0.42               # the view is centred this far above the cube's centre


def unit(v):
    return v / np.linalg.norm(v, axis=-1, keepdims=True)


def load(path):
    return np.asarray(Image.open(path).convert("RGB"), dtype=np.float64) / 255.0


def sample(image, u, v):
    """Bilinear lookup at u across and v down, both 0..1, wrapping round."""
    h, w = image.shape[:2]
    x = (u % 1.0) * w - 0.5
    y = (v % 1.0) * h - 0.5
    x0, y0 = np.floor(x).astype(np.int64), np.floor(y).astype(np.int64)
    fx, fy = (x - x0)[..., None], (y - y0)[..., None]
    x0, x1 = x0 % w, (x0 + 1) % w
    y0, y1 = y0 % h, (y0 + 1) % h
    top = image[y0, x0] * (1 - fx) + image[y0, x1] * fx
    bottom = image[y1, x0] * (1 - fx) + image[y1, x1] * fx
    return top * (1 - fy) + bottom * fy


def rays(n):
    """Parallel rays, one per pixel centre of an n x n view: origins and the shared direction."""
    forward = -unit(VIEW)
    right = unit(np.cross(forward, [0.0, 0.0, 1.0]))
    up = np.cross(right, forward)
    t = (np.arange(n) + 0.5) / n * 2.0 - 1.0
    sx, sy = np.meshgrid(t * FRAME, -t * FRAME)
    origins = (sx[..., None] * right + (sy[..., None] + LIFT) * up) - forward * 10.0
    return origins, forward


def hit_sphere(origins, direction, centre, radius):
    """Distance along each ray to the sphere, inf where it misses."""
    oc = origins - centre
    b = oc @ direction
    c = np.einsum("...i,...i", oc, oc) - radius * radius
    disc = b * b - c
    return np.where(disc >= 0.0, -b - np.sqrt(np.maximum(disc, 0.0)), np.inf)


def hit_cube(origins, direction):
    """Distance to the 2-unit cube at the origin and the axis (0..2) of the face hit."""
    with np.errstate(divide="ignore"):
        inv = 1.0 / direction
    t1 = (-1.0 - origins) * inv
    t2 = (1.0 - origins) * inv
    near = np.minimum(t1, t2)
    far = np.maximum(t1, t2).min(axis=-1)
    axis = near.argmax(axis=-1)
    enter = near.max(axis=-1)
    return np.where(enter <= far, enter, np.inf), axis


def ball_colour(normal, picture):
    """The ball picture as the game wraps it: around the z axis, its top row at the +z pole.
    The ball is turned a little so that its panels show rather than a pole."""
    turn = np.radians(35.0)
    c, s = np.cos(turn), np.sin(turn)
    n = normal @ np.array([[1, 0, 0], [0, c, -s], [0, s, c]]).T
    theta = np.arctan2(-n[..., 0], n[..., 1]) / (2.0 * np.pi)
    rho = np.arccos(np.clip(n[..., 2], -1.0, 1.0)) / np.pi
    return sample(picture, theta, rho)


def render(n, face, picture):
    origins, direction = rays(n)
    light = unit(LIGHT)
    view = unit(VIEW)
    t_ball = hit_sphere(origins, direction, BALL_CENTRE, BALL_RADIUS)
    t_cube, axis = hit_cube(origins, direction)
    colour = np.zeros((n, n, 3))
    alpha = np.zeros((n, n))

    # The cube: each face its texture, lit from one side, the top darkened where the ball
    # stands between it and the light.
    on_cube = np.isfinite(t_cube) & (t_cube < t_ball)
    p = origins + direction * np.where(on_cube, t_cube, 0.0)[..., None]
    normal = np.zeros_like(p)
    for a in range(3):
        pick = axis == a
        normal[..., a] = np.where(pick, np.sign(p[..., a]), 0.0)
    u = np.where(axis == 0, p[..., 1], p[..., 0])
    v = np.where(axis == 2, p[..., 1], p[..., 2])
    texel = sample(face, (u + 1.0) / 2.0, (1.0 - v) / 2.0)
    lit = AMBIENT + (1.0 - AMBIENT) * np.clip(normal @ light, 0.0, 1.0)
    shadow = np.isfinite(hit_sphere(p + normal * 1e-4, light, BALL_CENTRE, BALL_RADIUS))
    lit = np.where(shadow & (axis == 2), AMBIENT, lit)
    colour[on_cube] = (texel * lit[..., None])[on_cube]
    alpha[on_cube] = 1.0

    # The ball: its picture, diffuse light and a highlight.
    on_ball = np.isfinite(t_ball)
    q = origins + direction * np.where(on_ball, t_ball, 0.0)[..., None]
    normal = (q - BALL_CENTRE) / BALL_RADIUS
    diffuse = AMBIENT + (1.0 - AMBIENT) * np.clip(normal @ light, 0.0, 1.0)
    half = unit(light + view)
    specular = 0.45 * np.clip(normal @ half, 0.0, 1.0) ** 40
    shaded = ball_colour(normal, picture) * diffuse[..., None] + specular[..., None]
    colour[on_ball] = shaded[on_ball]
    alpha[on_ball] = 1.0
    return np.clip(colour, 0.0, 1.0), alpha


def filtered(colour, alpha, size):
    """Box-filters the render to size x size with premultiplied alpha, so edges do not darken."""
    factor = colour.shape[0] // size
    crop = factor * size
    colour, alpha = colour[:crop, :crop], alpha[:crop, :crop]
    shape = (size, factor, size, factor)
    a = alpha.reshape(shape).mean(axis=(1, 3))
    premultiplied = (colour * alpha[..., None]).reshape(shape + (3,)).mean(axis=(1, 3))
    rgb = np.where(a[..., None] > 0.0, premultiplied / np.maximum(a, 1e-9)[..., None], 0.0)
    return np.dstack([rgb, a])


def main(argv):
    root = Path(__file__).resolve().parents[2]
    data = Path(argv[1]) if len(argv) > 1 else root / "data"
    out = Path(argv[2]) if len(argv) > 2 else root / "packaging" / "icons"
    out.mkdir(parents=True, exist_ok=True)
    face, picture = load(data / FACE), load(data / BALL)
    for size in SIZES:
        # Each size from a render that divides evenly into it.
        colour, alpha = render(size * max(1, RENDER // size), face, picture)
        pixels = np.clip(np.rint(filtered(colour, alpha, size) * 255.0), 0, 255).astype(np.uint8)
        path = out / f"{size}.png"
        Image.fromarray(pixels, "RGBA").save(path, format="PNG", optimize=False, compress_level=9)
        print(f"icon: {path} ({size}x{size})")


if __name__ == "__main__":
    main(sys.argv)
