"""Cube face textures: every face of every cube shows one whole copy, so each design is a
tile whose four edges meet its neighbours' edges. A sunken groove with a bevel runs round
the border, which makes the stage read as a grid of cubes from the camera.

Each design gives an albedo and a height field; shade() lights the relief from the viewer,
so slopes darken the same way on every side (the faces are seen in all orientations) and
low parts darken a little more, like dirt in the grooves.
"""

import numpy as np

from common import downsample, hex_colour, mix, rng, save_png, smoothstep, tile_noise

SIZE = 256          # texels per face edge
SUPERSAMPLE = 4     # rendered at SIZE * SUPERSAMPLE, box-filtered down


def grid():
    n = SIZE * SUPERSAMPLE
    c = (np.arange(n) + 0.5) / n
    return np.meshgrid(c, c, indexing="xy")


def upsample_noise(noise):
    """Repeats a SIZE-square noise to the supersampled grid (nearest texel)."""
    return np.repeat(np.repeat(noise, SUPERSAMPLE, axis=0), SUPERSAMPLE, axis=1)


def frame_height(u, v, groove=0.018, bevel=0.055):
    """0 in the border groove, rising over the bevel to 1 on the plateau."""
    d = np.minimum(np.minimum(u, 1.0 - u), np.minimum(v, 1.0 - v))
    return smoothstep(groove, groove + bevel, d)


def shade(albedo, height, relief, ambient_depth=0.35):
    """Lights a height field (0..1, scaled by relief) from straight ahead with a slight
    top-left bias, wrapping the differences so the tile's edges stay seamless."""
    n = height.shape[0]
    dx = (np.roll(height, -1, axis=1) - np.roll(height, 1, axis=1)) * relief * n / 2.0
    dy = (np.roll(height, -1, axis=0) - np.roll(height, 1, axis=0)) * relief * n / 2.0
    normal = np.stack([-dx, -dy, np.ones_like(dx)], axis=-1)
    normal /= np.linalg.norm(normal, axis=-1, keepdims=True)
    light = np.array([-0.15, -0.2, 1.0])
    light /= np.linalg.norm(light)
    lambert = np.clip(normal @ light, 0.0, 1.0)
    occlusion = 1.0 - ambient_depth * (1.0 - np.clip(height, 0.0, 1.0))
    return albedo * (lambert * occlusion)[..., None]


def finish(image):
    return np.clip(downsample(image, SUPERSAMPLE), 0.0, 1.0)


def blue_tiles():
    """Blue tiles: the face split into four panels by a thinner groove."""
    u, v = grid()
    g = rng("face_blue_tiles")
    noise = upsample_noise(tile_noise(g, SIZE, 1.2))
    inner_u = np.abs(u - 0.5)
    inner_v = np.abs(v - 0.5)
    cross = smoothstep(0.006, 0.03, np.minimum(inner_u, inner_v))
    height = frame_height(u, v) * (0.55 + 0.45 * cross)
    base = mix(hex_colour("#2f63c8"), hex_colour("#4f8cf0"), 0.5 + 0.12 * noise)
    groove = hex_colour("#14244a")
    albedo = mix(groove, base, smoothstep(0.0, 0.5, height))
    return finish(shade(albedo, height, 0.06))


def green_checker():
    """Green checkerboard of four by four squares inside the frame."""
    u, v = grid()
    g = rng("face_green_checker")
    noise = upsample_noise(tile_noise(g, SIZE, 1.5))
    cells = (np.floor(u * 4) + np.floor(v * 4)) % 2
    # Soften the square edges so the downsampled result has no stair steps.
    fu = np.abs((u * 4) % 1.0 - 0.5)
    fv = np.abs((v * 4) % 1.0 - 0.5)
    edge = smoothstep(0.47, 0.5, np.maximum(fu, fv))
    light = hex_colour("#7bd36a")
    dark = hex_colour("#3f9a45")
    base = mix(mix(light, dark, cells), mix(light, dark, 0.5), edge)
    base = base * (1.0 + 0.06 * noise)[..., None]
    height = frame_height(u, v)
    albedo = mix(hex_colour("#173d1b"), base, smoothstep(0.0, 0.5, height))
    return finish(shade(albedo, height, 0.06))


def orange_tread():
    """Orange tread plate: raised lozenges in alternating directions, a rivet near each
    corner, brushed metal."""
    u, v = grid()
    g = rng("face_orange_tread")
    brushed = upsample_noise(tile_noise(g, SIZE, 0.6))
    n = 5                                       # lozenge cells per edge
    cu = (u * n) % 1.0 - 0.5
    cv = (v * n) % 1.0 - 0.5
    flip = (np.floor(u * n) + np.floor(v * n)) % 2
    a = (cu + cv) / np.sqrt(2.0)
    b = (cu - cv) / np.sqrt(2.0)
    along = np.where(flip > 0, a, b)
    across = np.where(flip > 0, b, a)
    lozenge = 1.0 - smoothstep(0.7, 1.0, np.sqrt((along / 0.4) ** 2 + (across / 0.1) ** 2))
    # The corner cells hold rivets instead of lozenges.
    edge_u = (np.floor(u * n) == 0) | (np.floor(u * n) == n - 1)
    edge_v = (np.floor(v * n) == 0) | (np.floor(v * n) == n - 1)
    lozenge = np.where(edge_u & edge_v, 0.0, lozenge)
    rivet = np.zeros_like(u)
    corner = 0.5 / n
    for x in (corner, 1.0 - corner):
        for y in (corner, 1.0 - corner):
            r = np.sqrt((u - x) ** 2 + (v - y) ** 2)
            rivet = np.maximum(rivet, np.sqrt(np.clip(1.0 - (r / 0.035) ** 2, 0.0, 1.0)))
    plate = frame_height(u, v, groove=0.012, bevel=0.04)
    height = plate * (0.6 + 0.25 * lozenge) + 0.25 * rivet * plate
    base = mix(hex_colour("#c86a18"), hex_colour("#f0a040"), 0.5 + 0.1 * brushed + 0.25 * lozenge)
    albedo = mix(hex_colour("#3a1c08"), base, smoothstep(0.0, 0.4, plate))
    return finish(shade(albedo, height, 0.05))


def wrapped_voronoi(u, v, points):
    """Voronoi cells of points on a torus: for every pixel the index of the nearest point
    and the distance to the edge between its cell and the next one (the true distance to
    the bisector of the two nearest points, so mortar lines keep one width)."""
    first = np.full(u.shape, 9.0)
    second = np.full(u.shape, 9.0)
    owner = np.zeros(u.shape, dtype=np.int64)
    near = [np.zeros(u.shape), np.zeros(u.shape)]
    next_near = [np.zeros(u.shape), np.zeros(u.shape)]
    for k, (px, py) in enumerate(points):
        # Signed offsets to the nearest copy of the point.
        dx = (px - u + 0.5) % 1.0 - 0.5
        dy = (py - v + 0.5) % 1.0 - 0.5
        d = dx * dx + dy * dy
        closer = d < first
        runner_up = ~closer & (d < second)
        for axis, delta in enumerate((dx, dy)):
            next_near[axis] = np.where(closer, near[axis], np.where(runner_up, delta, next_near[axis]))
            near[axis] = np.where(closer, delta, near[axis])
        second = np.where(closer, first, np.minimum(second, d))
        owner = np.where(closer, k, owner)
        first = np.where(closer, d, first)
    span = np.sqrt((next_near[0] - near[0]) ** 2 + (next_near[1] - near[1]) ** 2)
    edge = (second - first) / (2.0 * np.maximum(span, 1e-9))
    return edge, owner


def purple_stones():
    """Purple cobbles: a wrapped Voronoi pattern of stones in mortar, inside the frame."""
    u, v = grid()
    g = rng("face_purple_stones")
    cells = 3
    points = []
    for j in range(cells):
        for i in range(cells):
            points.append(((i + 0.5 + g.uniform(-0.3, 0.3)) / cells,
                           (j + 0.5 + g.uniform(-0.3, 0.3)) / cells))
    tints = g.uniform(-1.0, 1.0, len(points))
    edge, owner = wrapped_voronoi(u, v, points)
    stone = smoothstep(0.006, 0.022, edge)
    grain = upsample_noise(tile_noise(g, SIZE, 1.0))
    frame = frame_height(u, v)
    height = frame * (0.5 + 0.5 * stone)
    base = mix(hex_colour("#6a3f9e"), hex_colour("#9a6ccf"), 0.5 + 0.35 * tints[owner] + 0.08 * grain)
    mortar = hex_colour("#2d2238")
    albedo = mix(mortar, base, stone)
    albedo = mix(hex_colour("#1c1426"), albedo, smoothstep(0.0, 0.5, frame))
    return finish(shade(albedo, height, 0.07))


def red_bricks():
    """Red bricks, four courses in running bond, inside the frame."""
    u, v = grid()
    g = rng("face_red_bricks")
    courses = 4
    row = np.floor(v * courses)
    shifted = u + 0.25 * (row % 2)
    col = np.floor(shifted * 2) % 2
    fu = (shifted * 2) % 1.0
    fv = (v * courses) % 1.0
    # Distance to the mortar in texture units, then a soft brick mask.
    d = np.minimum(np.minimum(fu, 1.0 - fu) / 2.0, np.minimum(fv, 1.0 - fv) / courses)
    brick = smoothstep(0.006, 0.018, d)
    brick_id = (row * 2 + col).astype(np.int64)
    tints = g.uniform(-1.0, 1.0, courses * 2)
    grain = upsample_noise(tile_noise(g, SIZE, 0.9))
    frame = frame_height(u, v)
    height = frame * (0.6 + 0.4 * brick)
    base = mix(hex_colour("#9e3424"), hex_colour("#c8553a"), 0.5 + 0.3 * tints[brick_id] + 0.12 * grain)
    albedo = mix(hex_colour("#8c8478"), base, brick)
    albedo = mix(hex_colour("#2a120e"), albedo, smoothstep(0.0, 0.5, frame))
    return finish(shade(albedo, height, 0.05))


def teal_meander():
    """Teal meander: a square spiral of raised walls in the plate, like a maze seen from
    above."""
    u, v = grid()
    g = rng("face_teal_meander")
    noise = upsample_noise(tile_noise(g, SIZE, 1.3))
    # Concentric square rings, every other ring a raised wall, with one gap per ring
    # turning the rings into a winding path.
    d = np.maximum(np.abs(u - 0.5), np.abs(v - 0.5))
    rings = d * 9.0
    wall = (1.0 - smoothstep(0.22, 0.3, np.abs((rings % 2.0) - 1.0))) * (d < 0.44)
    ring_no = np.floor((rings + 1.0) / 2.0)
    gap_side = np.where(ring_no % 4 == 0, u > 0.5, v > 0.5)
    gap = (np.abs(np.where(ring_no % 4 == 0, v, u) - 0.5) < 0.06) & gap_side
    wall = np.where(gap, 0.0, wall)
    frame = frame_height(u, v)
    height = frame * (0.55 + 0.45 * wall)
    base = mix(hex_colour("#0f7a78"), hex_colour("#2fb8a8"), 0.5 + 0.1 * noise + 0.3 * wall)
    albedo = mix(hex_colour("#06302e"), base, smoothstep(0.0, 0.5, frame))
    return finish(shade(albedo, height, 0.06))


def steel_grid():
    """Steel grating: brushed grey plate under a lattice of square bars, four by four."""
    u, v = grid()
    g = rng("face_steel_grid")
    brushed = upsample_noise(tile_noise(g, SIZE, 0.5))
    n = 4
    fu = np.abs((u * n) % 1.0 - 0.5)
    fv = np.abs((v * n) % 1.0 - 0.5)
    bar = np.maximum(smoothstep(0.36, 0.42, fu), smoothstep(0.36, 0.42, fv))
    frame = frame_height(u, v, groove=0.014, bevel=0.045)
    height = frame * (0.45 + 0.55 * bar)
    plate = mix(hex_colour("#3c4450"), hex_colour("#5a6472"), 0.5 + 0.15 * brushed)
    bars = mix(hex_colour("#a8b4c4"), hex_colour("#d8e0ea"), 0.5 + 0.1 * brushed)
    albedo = mix(plate, bars, bar)
    albedo = mix(hex_colour("#12161c"), albedo, smoothstep(0.0, 0.4, frame))
    return finish(shade(albedo, height, 0.06))


def hazard_stripes():
    """Hazard plate: yellow, with a band of black diagonal stripes round the border and a
    plain yellow middle, as at the edge of a drop."""
    u, v = grid()
    g = rng("face_hazard_stripes")
    noise = upsample_noise(tile_noise(g, SIZE, 1.1))
    d = np.minimum(np.minimum(u, 1.0 - u), np.minimum(v, 1.0 - v))
    band = smoothstep(0.2, 0.21, d)            # 0 in the striped border, 1 inside
    stripe = smoothstep(0.23, 0.27, np.abs(((u + v) * 6.0) % 1.0 - 0.5))
    yellow = mix(hex_colour("#e0b010"), hex_colour("#f8d040"), 0.5 + 0.12 * noise)
    black = hex_colour("#1a1a16")
    border = mix(yellow, black, stripe)
    frame = frame_height(u, v)
    inner = smoothstep(0.19, 0.215, d) * (1.0 - smoothstep(0.215, 0.24, d))
    height = frame * (0.75 + 0.25 * band) - 0.15 * inner
    albedo = mix(border, yellow, band)
    albedo = mix(hex_colour("#241c04"), albedo, smoothstep(0.0, 0.5, frame))
    return finish(shade(albedo, np.clip(height, 0.0, 1.0), 0.06))


def white_marble():
    """White marble with grey-blue veins, polished: little relief inside the frame."""
    u, v = grid()
    g = rng("face_white_marble")
    a = upsample_noise(tile_noise(g, SIZE, 2.4))
    b = upsample_noise(tile_noise(g, SIZE, 2.6))
    veins = np.exp(-np.abs(np.sin(1.2 * a + 2.0 * np.pi * (u + v) + 0.8 * b)) * 6.0)
    base = mix(hex_colour("#e8e6e0"), hex_colour("#fbfaf6"), 0.5 + 0.15 * b)
    albedo = mix(base, hex_colour("#6a7488"), 0.55 * veins)
    frame = frame_height(u, v, groove=0.012, bevel=0.04)
    albedo = mix(hex_colour("#4a4c54"), albedo, smoothstep(0.0, 0.5, frame))
    return finish(shade(albedo, frame, 0.05, ambient_depth=0.25))


def magenta_hex():
    """Magenta hexagon tiles: a honeycomb of two tiles across, each with a lighter rim."""
    u, v = grid()
    g = rng("face_magenta_hex")
    noise = upsample_noise(tile_noise(g, SIZE, 1.2))
    # Hexagon centres on a lattice that repeats over the face: 2 across, 2 rows of pairs.
    sx, sy = 2.0, 2.0 * np.sqrt(3.0) / 2.0 * 2.0 / np.sqrt(3.0)
    x, y = u * 2.0, v * 2.0 * np.sqrt(3.0) / 2.0 * 2.0 / np.sqrt(3.0)
    best = np.full(u.shape, 9.0)
    for cx, cy in ((0, 0), (1, 0), (0.5, 1), (1.5, 1), (2, 0), (0, 2), (1, 2), (2, 2), (-0.5, 1), (2.5, 1)):
        dx = np.abs(x - cx)
        dy = np.abs(y - cy) * (np.sqrt(3.0) / 2.0)
        hexd = np.maximum(dx * 0.5 + dy, dx)     # hexagon "radius" of the point
        best = np.minimum(best, hexd)
    del sx, sy
    tile = 1.0 - smoothstep(0.44, 0.48, best)
    rim = smoothstep(0.32, 0.4, best) * tile
    frame = frame_height(u, v)
    height = frame * (0.5 + 0.5 * tile)
    base = mix(hex_colour("#a0186a"), hex_colour("#d83a98"), 0.5 + 0.12 * noise + 0.4 * rim)
    albedo = mix(hex_colour("#3a0626"), base, tile)
    albedo = mix(hex_colour("#1e0414"), albedo, smoothstep(0.0, 0.5, frame))
    return finish(shade(albedo, height, 0.06))


FACES = {
    "face_blue_tiles.png": blue_tiles,
    "face_green_checker.png": green_checker,
    "face_orange_tread.png": orange_tread,
    "face_purple_stones.png": purple_stones,
    "face_red_bricks.png": red_bricks,
    "face_teal_meander.png": teal_meander,
    "face_steel_grid.png": steel_grid,
    "face_hazard_stripes.png": hazard_stripes,
    "face_white_marble.png": white_marble,
    "face_magenta_hex.png": magenta_hex,
}


def generate(out_dir):
    folder = out_dir / "levels" / "levelTextures"
    written = []
    for name, design in FACES.items():
        save_png(folder / name, design())
        written.append(folder / name)
    return written
