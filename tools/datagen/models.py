"""The three collectible models, built in the game's axes (z up) in model units and written
as 3DS files with one textured material each. The game draws them scaled by 0.024 (die),
0.08 (coin) and 0.09 (finish) around the centre of their bounding box, with back faces
culled: every triangle winds counter-clockwise seen from outside, and every part is a
closed solid.
"""

import math

import numpy as np

import model_textures as tex
import tds
from common import save_png

DIE_HALF = 12.5          # 25 units across: 0.6 at the die's scale
DIE_ROUNDING = 2.5
COIN_RADIUS = 3.44       # 6.9 units across: 0.55 at the coin's scale
FINISH_POST_X = 5.2


class Mesh:
    def __init__(self):
        self.vertices = []
        self.texcoords = []
        self.triangles = []
        self.part_starts = [0]

    def new_part(self):
        """Marks the start of another closed solid; each is checked on its own."""
        if self.triangles and self.part_starts[-1] != len(self.triangles):
            self.part_starts.append(len(self.triangles))

    def vertex(self, point, uv):
        self.vertices.append(tuple(float(c) for c in point))
        self.texcoords.append((float(uv[0]), float(uv[1])))
        return len(self.vertices) - 1

    def triangle(self, a, b, c):
        self.triangles.append((a, b, c))

    def quad(self, a, b, c, d):
        """Corners counter-clockwise seen from outside."""
        self.triangles.append((a, b, c))
        self.triangles.append((a, c, d))

    def part_volumes(self):
        """Signed volume of each part: positive when its faces wind outwards."""
        v = np.array(self.vertices)
        t = np.array(self.triangles)
        each = np.einsum("ij,ij->i", v[t[:, 0]], np.cross(v[t[:, 1]], v[t[:, 2]])) / 6.0
        bounds = self.part_starts + [len(self.triangles)]
        return [float(each[a:b].sum()) for a, b in zip(bounds, bounds[1:])]


def check_closed(mesh, name):
    """Each part must be a closed surface wound one way (every edge met once in each
    direction) and wound outwards (positive volume), or culling would show holes."""
    bounds = mesh.part_starts + [len(mesh.triangles)]
    for part, (start, end) in enumerate(zip(bounds, bounds[1:])):
        edges = {}
        for tri in mesh.triangles[start:end]:
            keys = [tuple(round(c, 4) for c in mesh.vertices[i]) for i in tri]
            for a, b in ((0, 1), (1, 2), (2, 0)):
                if keys[a] != keys[b]:
                    edges[keys[a], keys[b]] = edges.get((keys[a], keys[b]), 0) + 1
        unmatched = [e for e, n in edges.items() if edges.get((e[1], e[0]), 0) != n]
        if unmatched:
            raise RuntimeError(f"{name}: part {part} is open or mis-wound near {unmatched[0]}")
    volumes = mesh.part_volumes()
    if min(volumes) <= 0.0:
        raise RuntimeError(f"{name}: faces wind inwards: {volumes}")


def atlas_uv(px, py, width, height):
    """Image pixel (x right, y down from the top row) to texture coordinates; the model
    reader uploads maps bottom row first, so v runs up from the image's bottom."""
    return px / width, 1.0 - py / height


def rect_uv(rect, fu, fv, size, inset=3.0):
    """A point (fu, fv in 0..1, fv up) of a rectangle of an atlas, kept inset pixels away
    from its border so that mipmaps do not bleed the neighbouring patch in."""
    x, y, w, h = rect
    px = x + inset + fu * (w - 2.0 * inset)
    py = y + h - inset - fv * (h - 2.0 * inset)
    return atlas_uv(px, py, size, size)


# Die: a rounded cube. Each face is a grid whose outer rows bend round the edges, so the
# flat part carries the pips and the rounded part the ivory margin of its cell.

DIE_FACES = [
    # value, outward normal, u axis, v axis (u x v = normal); opposite faces add up to 7
    (1, (1, 0, 0), (0, 1, 0), (0, 0, 1)),
    (6, (-1, 0, 0), (0, -1, 0), (0, 0, 1)),
    (2, (0, 1, 0), (-1, 0, 0), (0, 0, 1)),
    (5, (0, -1, 0), (1, 0, 0), (0, 0, 1)),
    (3, (0, 0, 1), (1, 0, 0), (0, 1, 0)),
    (4, (0, 0, -1), (1, 0, 0), (0, -1, 0)),
]


def die_axis_steps(half, rounding, bends):
    flat = half - rounding
    low = [-flat - rounding * math.cos(k * math.pi / (2 * bends)) for k in range(bends + 1)]
    high = [flat + rounding * math.sin(k * math.pi / (2 * bends)) for k in range(bends + 1)]
    return low + high


def die():
    mesh = Mesh()
    steps = die_axis_steps(DIE_HALF, DIE_ROUNDING, 3)
    flat = DIE_HALF - DIE_ROUNDING
    width, height = tex.DIE_SIZE
    for value, normal, u_axis, v_axis in DIE_FACES:
        n, ua, va = np.array(normal, float), np.array(u_axis, float), np.array(v_axis, float)
        ox, oy = tex.die_cell_origin(value)
        index = {}
        for i, a in enumerate(steps):
            for j, b in enumerate(steps):
                q = n * DIE_HALF + ua * a + va * b
                core = np.clip(q, -flat, flat)
                offset = q - core
                p = core + DIE_ROUNDING * offset / np.linalg.norm(offset)
                fu = (a + DIE_HALF) / (2.0 * DIE_HALF)
                fv = (b + DIE_HALF) / (2.0 * DIE_HALF)
                uv = atlas_uv(ox + fu * tex.DIE_CELL, oy + (1.0 - fv) * tex.DIE_CELL, width, height)
                index[i, j] = mesh.vertex(p, uv)
        last = len(steps) - 1
        for i in range(last):
            for j in range(last):
                mesh.quad(index[i, j], index[i + 1, j], index[i + 1, j + 1], index[i, j + 1])
    return mesh


# Coin: a lathe about the y axis. Its profile runs from the middle of one face over the
# raised rim and the edge to the middle of the other face; each profile segment has its
# own rings of vertices, so the rim keeps crisp creases.

COIN_PROFILE = [(0.0, 0.22), (2.75, 0.22), (2.95, 0.34), (3.25, 0.34), (COIN_RADIUS, 0.26),
                (COIN_RADIUS, -0.26), (3.25, -0.34), (2.95, -0.34), (2.75, -0.22), (0.0, -0.22)]
COIN_SEGMENTS = 48


def coin_uv(x, z, side):
    """Planar map of both faces; side -1 mirrors the face seen from +y so that both read
    the right way round."""
    scale = tex.COIN_RADIUS / COIN_RADIUS
    return 0.5 + side * x * scale, 0.5 + z * scale


def coin():
    mesh = Mesh()
    angles = [2.0 * math.pi * k / COIN_SEGMENTS for k in range(COIN_SEGMENTS)]

    def ring(radius, y, side):
        out = []
        for a in angles:
            x, z = radius * math.cos(a), radius * math.sin(a)
            out.append(mesh.vertex((x, y, z), coin_uv(x, z, side)))
        return out

    for (r0, y0), (r1, y1) in zip(COIN_PROFILE, COIN_PROFILE[1:]):
        side = -1.0 if (y0 + y1) > 0 else 1.0
        if r0 == 0.0 or r1 == 0.0:
            centre_y, radius, y = (y0, r1, y1) if r0 == 0.0 else (y1, r0, y0)
            centre = mesh.vertex((0.0, centre_y, 0.0), coin_uv(0.0, 0.0, side))
            rim = ring(radius, y, side)
            for k in range(COIN_SEGMENTS):
                a, b = rim[k], rim[(k + 1) % COIN_SEGMENTS]
                # The +y face looks along +y: its fan turns the other way round.
                if centre_y > 0:
                    mesh.triangle(centre, b, a)
                else:
                    mesh.triangle(centre, a, b)
            continue
        first, second = ring(r0, y0, side), ring(r1, y1, side)
        for k in range(COIN_SEGMENTS):
            k1 = (k + 1) % COIN_SEGMENTS
            mesh.quad(first[k], first[k1], second[k1], second[k])
    return mesh


# Finish: a gate of two striped posts with gold knobs and feet, a chequered banner between
# them and a gold star on top; 15.7 units tall (1.41 at the finish's scale), standing on
# z = 0. The ball (0.7 across) fits between the posts.

def add_box(mesh, lo, hi, uv_of):
    """Axis-aligned box; uv_of(face_normal, fu, fv) maps each face's corners."""
    mesh.new_part()
    lo, hi = np.array(lo, float), np.array(hi, float)
    for normal, u_axis, v_axis in [((1, 0, 0), (0, 1, 0), (0, 0, 1)), ((-1, 0, 0), (0, -1, 0), (0, 0, 1)),
                                   ((0, 1, 0), (-1, 0, 0), (0, 0, 1)), ((0, -1, 0), (1, 0, 0), (0, 0, 1)),
                                   ((0, 0, 1), (1, 0, 0), (0, 1, 0)), ((0, 0, -1), (1, 0, 0), (0, -1, 0))]:
        n, ua, va = (np.array(c, float) for c in (normal, u_axis, v_axis))
        centre = (lo + hi) / 2.0 + n * (hi - lo) / 2.0
        du = ua * (hi - lo) / 2.0
        dv = va * (hi - lo) / 2.0
        corners = []
        for fu, fv in ((0, 0), (1, 0), (1, 1), (0, 1)):
            p = centre + du * (2 * fu - 1) + dv * (2 * fv - 1)
            corners.append(mesh.vertex(p, uv_of(normal, fu, fv)))
        mesh.quad(*corners)


def add_cylinder(mesh, x, y, z0, z1, radius, segments, uv_of):
    """Upright cylinder with caps; uv_of(angle fraction, height fraction) for the side."""
    mesh.new_part()
    angles = [2.0 * math.pi * k / segments for k in range(segments + 1)]
    bottom = [mesh.vertex((x + radius * math.cos(a), y + radius * math.sin(a), z0),
                          uv_of(k / segments, 0.0)) for k, a in enumerate(angles)]
    top = [mesh.vertex((x + radius * math.cos(a), y + radius * math.sin(a), z1),
                       uv_of(k / segments, 1.0)) for k, a in enumerate(angles)]
    for k in range(segments):
        mesh.quad(bottom[k], bottom[k + 1], top[k + 1], top[k])
    for z, up in ((z0, False), (z1, True)):
        centre = mesh.vertex((x, y, z), uv_of(0.5, 1.0 if up else 0.0))
        rim = [mesh.vertex((x + radius * math.cos(a), y + radius * math.sin(a), z),
                           uv_of(k / segments, 1.0 if up else 0.0)) for k, a in enumerate(angles)]
        for k in range(segments):
            if up:
                mesh.triangle(centre, rim[k], rim[k + 1])
            else:
                mesh.triangle(centre, rim[k + 1], rim[k])


def add_sphere(mesh, centre, radius, slices, stacks, uv_of):
    mesh.new_part()
    cx, cy, cz = centre
    rows = []
    for i in range(stacks + 1):
        polar = math.pi * i / stacks
        row = []
        for k in range(slices + 1):
            a = 2.0 * math.pi * k / slices
            p = (cx + radius * math.sin(polar) * math.cos(a), cy + radius * math.sin(polar) * math.sin(a),
                 cz + radius * math.cos(polar))
            row.append(mesh.vertex(p, uv_of(k / slices, 1.0 - i / stacks)))
        rows.append(row)
    for i in range(stacks):
        for k in range(slices):
            a, b = rows[i][k], rows[i][k + 1]
            c, d = rows[i + 1][k + 1], rows[i + 1][k]
            if i == 0:
                mesh.triangle(a, d, c)
            elif i == stacks - 1:
                mesh.triangle(a, d, b)
            else:
                mesh.quad(a, d, c, b)


def add_star_prism(mesh, centre_x, centre_z, outer, inner, depth, uv_of):
    """Five-pointed star in the x-z plane, point up, extruded from y = -depth to +depth."""
    mesh.new_part()
    outline = []
    for k in range(10):
        a = math.pi * k / 5.0
        r = outer if k % 2 == 0 else inner
        outline.append((centre_x + r * math.sin(a), centre_z + r * math.cos(a)))
    for y, facing_minus_y in ((-depth, True), (depth, False)):
        middle = mesh.vertex((centre_x, y, centre_z), uv_of(0.5, 0.5))
        ring = [mesh.vertex((x, y, z), uv_of((x - centre_x) / (2 * outer) + 0.5, (z - centre_z) / (2 * outer) + 0.5))
                for x, z in outline]
        for k in range(10):
            a, b = ring[k], ring[(k + 1) % 10]
            # The outline runs clockwise seen from -y.
            if facing_minus_y:
                mesh.triangle(middle, b, a)
            else:
                mesh.triangle(middle, a, b)
    for k in range(10):
        (x0, z0), (x1, z1) = outline[k], outline[(k + 1) % 10]
        quad = [mesh.vertex((x0, -depth, z0), uv_of(0.0, 0.0)), mesh.vertex((x1, -depth, z1), uv_of(1.0, 0.0)),
                mesh.vertex((x1, depth, z1), uv_of(1.0, 1.0)), mesh.vertex((x0, depth, z0), uv_of(0.0, 1.0))]
        mesh.quad(*quad)


def finish():
    mesh = Mesh()
    size = tex.FINISH_SIZE

    def gold(*_):
        fv = _[-1]
        return rect_uv(tex.GOLD_RECT, 0.5, fv, size)

    def stripes(fu, fv):
        return rect_uv(tex.STRIPES_RECT, fu, fv, size)

    post_top = 12.6
    for x in (-FINISH_POST_X, FINISH_POST_X):
        add_box(mesh, (x - 0.8, -0.8, 0.0), (x + 0.8, 0.8, 0.6), gold)
        add_cylinder(mesh, x, 0.0, 0.6, post_top, 0.45, 12, stripes)
        add_sphere(mesh, (x, 0.0, post_top + 0.45), 0.8, 10, 6, gold)

    banner_lo = (-FINISH_POST_X, -0.3, 10.0)
    banner_hi = (FINISH_POST_X, 0.3, post_top)

    def banner(normal, fu, fv):
        if normal[1] != 0:
            return rect_uv(tex.CHECKER_RECT, fu, fv, size, inset=1.0)
        return gold(fu, fv)

    add_box(mesh, banner_lo, banner_hi, banner)
    add_star_prism(mesh, 0.0, post_top + 1.5, 1.6, 0.68, 0.35,
                   lambda fu, fv: rect_uv(tex.GOLD_RECT, fu, fv, size))
    return mesh


MODELS = [
    ("die", "die.3ds", "die.png", die, tex.die_atlas,
     tds.Material("die", "die.png", ambient=(0.55, 0.55, 0.55), specular=(0.5, 0.5, 0.5),
                  shininess=0.3, strength=0.4)),
    ("coin", "coin.3ds", "coin.png", coin, tex.coin_face,
     tds.Material("gold", "coin.png", ambient=(0.6, 0.5, 0.2), specular=(1.0, 0.85, 0.4),
                  shininess=0.45, strength=0.9)),
    ("target", "target.3ds", "target.png", finish, tex.finish_atlas,
     tds.Material("finish", "target.png", ambient=(0.6, 0.6, 0.6), specular=(0.6, 0.6, 0.5),
                  shininess=0.35, strength=0.5)),
]


def generate(out_dir):
    written = []
    for folder, model_name, map_name, build, paint, material in MODELS:
        mesh = build()
        check_closed(mesh, model_name)
        path = out_dir / folder / model_name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(tds.encode_file(
            [(folder, mesh.vertices, mesh.texcoords, mesh.triangles, material)], [material]))
        save_png(out_dir / folder / map_name, paint())
        written += [path, out_dir / folder / map_name]
    return written
