"""Small building kit for stage files: cubes are placed on a grid of cells, one cell being
one cube (2 units), and dice, coins, the start and the finish are put on the named face of
a cell, 1.35 out from the cube's centre, where the ball's centre passes.

Faces are named by their outward direction: "+z" (the top at the start), "-z" (the
underside), "+x", "-x", "+y", "-y".
"""

import math

REST = 1.35          # world units from a cube's centre to the ball's centre resting on it
CELL = 2             # world units per cell

NORMALS = {
    "+z": (0, 0, 1), "-z": (0, 0, -1),
    "+x": (1, 0, 0), "-x": (-1, 0, 0),
    "+y": (0, 1, 0), "-y": (0, -1, 0),
}

# For a plan drawn on a face (Stage.layer): the axis its columns run along and the axis
# its rows run against (the first row is the highest along that axis).
FACE_AXES = {
    "+z": (0, 1), "-z": (0, 1),
    "+x": (1, 2), "-x": (1, 2),
    "+y": (0, 2), "-y": (0, 2),
}


def span(a, b):
    """Every whole number from a to b, both included, whichever is larger."""
    step = 1 if b >= a else -1
    return range(a, b + step, step)


def _number(value):
    if abs(value - round(value)) < 1e-9:
        return str(int(round(value)))
    return f"{value:.2f}".rstrip("0").rstrip(".")


def _point(p):
    return " ".join(_number(c) for c in p)


class Stage:
    """One stage under construction. Cubes keep the order they were added in (the game
    draws and collides in file order); adding a cell twice keeps the first."""

    def __init__(self, face, sky, limit, message):
        self.face = face
        self.sky = sky
        self.limit = limit
        self.message = message
        self.cubes = []
        self.cells = set()
        self.dice = []
        self.coins = []
        self.start_at = None
        self.finish_at = None
        self.misplaced = []   # places put on a missing cube or a covered face

    # Cubes.
    def cube(self, x, y, z):
        if (x, y, z) not in self.cells:
            self.cells.add((x, y, z))
            self.cubes.append((x, y, z))
        return self

    def box(self, xs, ys, zs, hollow=False):
        """Every cell with x in xs, y in ys, z in zs (pairs of ends, both included);
        hollow keeps only the cells on the outside of the box."""
        for z in span(*zs):
            for y in span(*ys):
                for x in span(*xs):
                    inside = (min(xs) < x < max(xs) and min(ys) < y < max(ys) and min(zs) < z < max(zs))
                    if not (hollow and inside):
                        self.cube(x, y, z)
        return self

    def ring(self, xs, ys, zs):
        """The cells of the box that lie on its border in x or y: walls round a yard."""
        for z in span(*zs):
            for y in span(*ys):
                for x in span(*xs):
                    if x in (xs[0], xs[1]) or y in (ys[0], ys[1]):
                        self.cube(x, y, z)
        return self

    def beam(self, a, b):
        """A straight line of cells from a to b, both included; a and b differ in one axis."""
        axis = [i for i in range(3) if a[i] != b[i]]
        if len(axis) > 1:
            raise ValueError(f"beam from {a} to {b} is not straight")
        if not axis:
            return self.cube(*a)
        i = axis[0]
        for t in span(a[i], b[i]):
            cell = list(a)
            cell[i] = t
            self.cube(*cell)
        return self

    def layer(self, box, face, rows):
        """Draws a plan on one face of a box of cells (xs, ys, zs: pairs of ends): the
        rows are read as seen from outside with the first row farthest along the face's
        second axis (see FACE_AXES). '#' puts a cube on the face, '%' two cubes high; every
        other character leaves it free. Returns the base cells (the box's own, under the
        plan) of every other character that is not '.' or a blank, by character, so that
        dice and the like can be put on the face there."""
        xs, ys, zs = (sorted(r) for r in box)
        lo = (xs[0], ys[0], zs[0])
        hi = (xs[1], ys[1], zs[1])
        normal = NORMALS[face]
        u_axis, v_axis = FACE_AXES[face]
        k = [i for i in range(3) if normal[i] != 0][0]
        marks = {}
        for r, row in enumerate(rows):
            for c, ch in enumerate(row):
                base = [0, 0, 0]
                base[u_axis] = lo[u_axis] + c
                base[v_axis] = hi[v_axis] - r
                base[k] = hi[k] if normal[k] > 0 else lo[k]
                if ch in "#%":
                    for h in range(1, 3 if ch == "%" else 2):
                        cell = list(base)
                        cell[k] += normal[k] * h
                        self.cube(*cell)
                elif ch not in ". ":
                    marks.setdefault(ch, []).append(tuple(base))
        return marks

    def remove(self, x, y, z):
        if (x, y, z) in self.cells:
            self.cells.remove((x, y, z))
            self.cubes.remove((x, y, z))
        return self

    # Places on faces.
    def on(self, cell, face):
        n = NORMALS[face]
        beyond = tuple(c + d for c, d in zip(cell, n))
        if tuple(cell) not in self.cells or beyond in self.cells:
            self.misplaced.append(f"{face} face of {cell}")
        return tuple(CELL * c + REST * d for c, d in zip(cell, n))

    def start(self, x, y, z):
        self.start_at = self.on((x, y, z), "+z")
        return self

    def finish(self, x, y, z, face="+z"):
        self.finish_at = self.on((x, y, z), face)
        return self

    def die(self, x, y, z, face="+z"):
        self.dice.append(self.on((x, y, z), face))
        return self

    def coin(self, x, y, z, face="+z"):
        self.coins.append(self.on((x, y, z), face))
        return self

    # Output.
    def fall_radius(self):
        """The farthest resting place from the origin and a few units more, so that a ball
        that jumps off falls for a moment before the stage is lost."""
        farthest = max(math.sqrt(sum((CELL * c) ** 2 for c in cell)) for cell in self.cubes)
        return int(math.ceil(farthest + REST + 4))

    def check(self):
        problems = ["no free " + place for place in self.misplaced]
        if self.start_at is None or self.finish_at is None or not self.dice:
            problems.append("needs a start, a finish and a die")
        for place in self.dice + self.coins + ([self.finish_at] if self.finish_at else []):
            if self._cell_at(place) is not None:
                problems.append(f"{_point(place)} lies inside a cube")
        if self.start_at is not None:
            below = (self.start_at[0] / CELL, self.start_at[1] / CELL, (self.start_at[2] - REST) / CELL)
            if tuple(int(round(c)) for c in below) not in self.cells:
                problems.append("no cube under the start")
        return problems

    def _cell_at(self, place):
        cell = tuple(int(round(c / CELL)) for c in place)
        if cell in self.cells and all(abs(p - CELL * c) < 1.0 for p, c in zip(place, cell)):
            return cell
        return None

    def text(self):
        lines = [self.face, self.sky, str(self.fall_radius()), _number(self.limit),
                 _point(self.start_at), _point(self.finish_at), str(len(self.dice))]
        lines += [_point(p) for p in self.dice]
        lines.append(str(len(self.coins)))
        lines += [_point(p) for p in self.coins]
        lines.append(str(len(self.cubes)))
        lines += [_point(tuple(CELL * c for c in cell)) for cell in self.cubes]
        lines.append(self.message)
        return "\n".join(lines) + "\n"
