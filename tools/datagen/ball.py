"""The ball's picture: a football of twelve black pentagons and twenty white hexagons (a
truncated icosahedron blown up onto the sphere), drawn as the ball's sphere maps it, so the
panels keep their true shape all round and a pentagon sits on each pole where the texture
is clamped.
"""

import numpy as np

from common import ball_directions, downsample, hex_colour, mix, save_png, smoothstep

WIDTH, HEIGHT = 512, 256
SUPERSAMPLE = 4


def icosahedron():
    """The twelve vertices and twenty faces, turned so that one vertex points along +z."""
    phi = (1.0 + np.sqrt(5.0)) / 2.0
    vertices = []
    for a in (-1.0, 1.0):
        for b in (-phi, phi):
            vertices += [(0.0, a, b), (a, b, 0.0), (b, 0.0, a)]
    vertices = np.array(vertices)
    # Turn (0, 1, phi) onto +z about the x axis.
    angle = np.arctan2(1.0, phi)
    c, s = np.cos(angle), np.sin(angle)
    turn = np.array([[1.0, 0.0, 0.0], [0.0, c, -s], [0.0, s, c]])
    vertices = vertices @ turn.T
    edge = 2.0
    faces = []
    n = len(vertices)
    for i in range(n):
        for j in range(i + 1, n):
            for k in range(j + 1, n):
                if all(abs(np.linalg.norm(vertices[p] - vertices[q]) - edge) < 1e-6
                       for p, q in ((i, j), (j, k), (i, k))):
                    faces.append((i, j, k))
    return vertices, faces


def panels():
    """Outward normals of the 32 panels, each divided by its plane's distance from the
    centre, and whether it is a pentagon. A direction d lies on the panel whose plane a
    ray along d meets first: the largest d . n / distance."""
    vertices, faces = icosahedron()
    # The truncated solid cuts every edge into thirds.
    cut = []
    for i, j, k in faces:
        for p, q in ((i, j), (j, k), (k, i)):
            cut.append(vertices[p] * 2.0 / 3.0 + vertices[q] / 3.0)
            cut.append(vertices[p] / 3.0 + vertices[q] * 2.0 / 3.0)
    cut = np.array(cut)
    planes = []
    pentagon = []
    for v in vertices:
        n = v / np.linalg.norm(v)
        planes.append(n / np.max(cut @ n))
        pentagon.append(True)
    for i, j, k in faces:
        centre = (vertices[i] + vertices[j] + vertices[k]) / 3.0
        n = centre / np.linalg.norm(centre)
        planes.append(n / np.max(cut @ n))
        pentagon.append(False)
    return np.array(planes), np.array(pentagon)


def football():
    dirs = ball_directions(WIDTH, HEIGHT, SUPERSAMPLE)
    planes, pentagon = panels()
    reach = dirs @ planes.T
    order = np.argsort(-reach, axis=-1)
    best = np.take_along_axis(reach, order[..., :1], axis=-1)[..., 0]
    second = np.take_along_axis(reach, order[..., 1:2], axis=-1)[..., 0]
    # Relative gap to the neighbouring panel, about the angle to the seam in radians.
    gap = (best - second) / best
    seam = 1.0 - smoothstep(0.006, 0.018, gap)
    # Panels bulge a little between the seams.
    bulge = smoothstep(0.0, 0.12, gap)
    black = pentagon[order[..., 0]]
    white = mix(hex_colour("#c8c8c4"), hex_colour("#fbfbf6"), bulge)
    dark = mix(hex_colour("#101014"), hex_colour("#2a2a30"), bulge)
    colour = np.where(black[..., None], dark, white)
    colour = mix(colour, hex_colour("#505058"), seam)
    return np.clip(downsample(colour, SUPERSAMPLE), 0.0, 1.0)


def generate(out_dir):
    path = out_dir / "soccer.png"
    save_png(path, football())
    return [path]
