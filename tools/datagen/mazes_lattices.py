"""The shapes of worlds 6 (mazes) and 7 (lattices of beams); each function builds one stage
(see stages.py for its number and time limit).

A maze is drawn as a plan (Stage.layer): '#' a wall one cube high, '%' two high, letters
mark floor cells that the stage then names. Walls can be climbed, so a maze is a choice
between corridors and the slower way over the top; the dice wait in dead ends and on the
walls themselves."""

from stagebuild import Stage

W6 = ("face_teal_meander.png", "sky_daylight.png")
W7 = ("face_steel_grid.png", "sky_deep_sea.png")


def floor_maze(s, rows, z=0, x0=None, y_top=None):
    """A floor of cubes at height z under every character of the plan that is not a blank,
    centred on the origin unless told otherwise, and the plan's walls on it. Returns the
    marked floor cells by character."""
    x0 = -(max(len(r) for r in rows) // 2) if x0 is None else x0
    y_top = len(rows) // 2 if y_top is None else y_top
    for r, row in enumerate(rows):
        for c, ch in enumerate(row):
            if ch != " ":
                s.cube(x0 + c, y_top - r, z)
    width = max(len(r) for r in rows)
    box = ((x0, x0 + width - 1), (y_top - len(rows) + 1, y_top), (z, z))
    return {k: v for k, v in s.layer(box, "+z", rows).items()}


def one(marks, ch):
    return marks[ch][0]


def up(cell, h=1):
    return (cell[0], cell[1], cell[2] + h)


# World 6: mazes.

def first_maze():
    s = Stage(*W6, 0, "a maze. the corridors lead to the dice; a wall can be climbed, at a price.")
    m = floor_maze(s, [
        "#######",
        "#a..#D#",
        "#.#.#.#",
        "#.#...#",
        "#.###.#",
        "#S..b.#",
        "#######",
    ])
    s.start(*one(m, "S"))
    s.die(*one(m, "D"))
    a = one(m, "a")
    s.die(a[0] - 1, a[1], 1, "+x")          # on the wall beside the far corner
    b = one(m, "b")
    s.die(b[0], b[1] - 1, 1, "+y")          # on the wall behind the start's corridor
    s.finish(*a)
    return s


def dead_ends():
    s = Stage(*W6, 0, "dead ends. three of them hold a die; the others hold nothing.")
    m = floor_maze(s, [
        "#########",
        "#a#...#c#",
        "#.#.#.#.#",
        "#...#...#",
        "###.###.#",
        "#...#b..#",
        "#.###.###",
        "#S..#...#",
        "#########",
    ])
    s.start(*one(m, "S"))
    s.die(*one(m, "a"))
    s.die(*one(m, "b"))
    c = one(m, "c")
    s.die(c[0] + 1, c[1], 1, "-x")
    s.finish(*one(m, "c"))
    return s


def high_walls():
    s = Stage(*W6, 0, "high walls. two cubes tall: the corridors are quicker now.")
    m = floor_maze(s, [
        "%%%%%%%%%",
        "%F..%...%",
        "%%%.%.%.%",
        "%...%.%a%",
        "%.%%%.%%%",
        "%.%...%b%",
        "%.%.%%%.%",
        "%S..%...%",
        "%%%%%%%%%",
    ])
    s.start(*one(m, "S"))
    a = one(m, "a")
    s.die(*a)
    b = one(m, "b")
    s.die(b[0] - 1, b[1], 1, "+x")
    s.die(b[0], b[1] + 1, 2, "-y")
    s.finish(*one(m, "F"))
    return s


def holes():
    s = Stage(*W6, 0, "holes in the floor. a corridor goes on underneath.")
    m = floor_maze(s, [
        "#########",
        "#a..# ..#",
        "#.#.#.#.#",
        "#.#...#.#",
        "#.#####.#",
        "#... ..b#",
        "###.#####",
        "#S..#",
        "#####",
    ])
    s.start(*one(m, "S"))
    a = one(m, "a")
    s.die(*a)
    b = one(m, "b")
    s.die(*b, face="-z")
    s.die(b[0] - 5, b[1], 0, "-z")
    s.finish(2, 3, 0)
    return s


def maze_below():
    s = Stage(*W6, 0, "a maze above and a maze below. the ways between are the edges.")
    rows_top = [
        "#######",
        "#...#.#",
        "#.#.#.#",
        "#.#...#",
        "#.#####",
        "#S....a",
        "#######",
    ]
    m = floor_maze(s, rows_top)
    box = ((-3, 3), (-3, 3), (0, 0))
    low = s.layer(box, "-z", [
        "#######",
        "#b..#c#",
        "###.#.#",
        "#...#.#",
        "#.###.#",
        "#.....d",
        "#######",
    ])
    s.start(*one(m, "S"))
    s.die(*one(low, "b"), face="-z")
    s.die(*one(low, "c"), face="-z")
    s.die(1, 2, 1)
    s.finish(-3, -3, 0, "-x")
    return s


def block_maze():
    s = Stage(*W6, 0, "a maze folded over the edge of a block.")
    box = ((-2, 2), (-2, 2), (-4, 0))
    s.box(*box, hollow=True)
    top = s.layer(box, "+z", [
        "#.#a#",
        "#.#.#",
        "#...#",
        "#.###",
        "#S#..",
    ])
    side = s.layer(box, "-y", [
        "#.#..",
        "#.#.#",
        "#...#",
        "###.#",
        "b...#",
    ])
    s.start(*one(top, "S"))
    s.die(*one(top, "a"))
    s.die(*one(side, "b"), face="-y")
    s.die(-2, 1, -2, "-x")
    s.finish(1, 1, -4, "-z")
    return s


def four_sides():
    s = Stage(*W6, 0, "round the block. the maze runs on over four faces.")
    box = ((-2, 2), (-2, 2), (-2, 2))
    s.box(*box, hollow=True)
    top = s.layer(box, "+z", [
        "##.##",
        "#a..#",
        "###.#",
        "S...#",
        "#.###",
    ])
    south = s.layer(box, "-y", [
        "#.###",
        "#...#",
        "###.#",
        "b...#",
        "#####",
    ])
    east = s.layer(box, "+x", [
        "#.###",
        "..#.#",
        "#.#c#",
        "#...#",
        "#####",
    ])
    north = s.layer(box, "+y", [
        "##.##",
        "#...#",
        "#.###",
        "#.d.#",
        "#####",
    ])
    s.start(*one(top, "S"))
    s.die(*one(top, "a"))
    s.die(*one(south, "b"), face="-y")
    s.die(*one(east, "c"), face="+x")
    s.finish(*one(north, "d"), face="+y")
    return s


def maze_tower():
    s = Stage(*W6, 0, "the maze keeps a tower. the finish is on top.")
    m = floor_maze(s, [
        "#########",
        "#a..#...#",
        "#.#.#.#.#",
        "#.#...#.#",
        "#.##.##.#",
        "#...T...#",
        "###.#.###",
        "#b..#..c#",
        "#########",
    ])
    t = one(m, "T")
    s.box((t[0], t[0]), (t[1], t[1]), (1, 4))
    s.start(-1, -3, 0)
    s.die(*one(m, "a"))
    s.die(*one(m, "b"))
    s.die(*one(m, "c"))
    s.die(t[0], t[1], 3, "-y")
    s.coin(t[0], t[1], 2, "+x")
    s.finish(t[0], t[1], 4)
    return s


def maze_isles():
    s = Stage(*W6, 0, "mazes on islands. jump down from one to the next.")
    m1 = floor_maze(s, [
        "#####",
        "#S..#",
        "#.#.#",
        "#.#a.",
        "#####",
    ], z=4, x0=-6, y_top=2)
    m2 = floor_maze(s, [
        "#####",
        "#.b.#",
        "#.###",
        ".....",
        "#####",
    ], z=2, x0=-1, y_top=2)
    m3 = floor_maze(s, [
        "#####",
        "#c#.#",
        "#.#.#",
        "....F",
        "#####",
    ], z=0, x0=4, y_top=2)
    s.start(*one(m1, "S"))
    a = one(m1, "a")
    s.die(*a)
    s.die(*one(m2, "b"))
    s.die(1, 2, 3, "-y")                    # on the wall behind the second island's die
    s.die(*one(m3, "c"))
    s.die(4, 1, 1, "+x")
    s.coin(0, 0, 2, "-z")
    s.finish(*one(m3, "F"))
    return s


def maze_cube():
    s = Stage(*W6, 0, "the maze cube. six faces, six ways down, and one way out.")
    box = ((-2, 2), (-2, 2), (-2, 2))
    s.box(*box, hollow=True)
    top = s.layer(box, "+z", [
        "#.###",
        "#...#",
        "###.#",
        "S...#",
        "#.###",
    ])
    bottom = s.layer(box, "-z", [
        "###.#",
        "#a..#",
        "#.###",
        "#...#",
        "###.#",
    ])
    east = s.layer(box, "+x", [
        "#.###",
        "#.#b#",
        "#...#",
        "###.#",
        "#...#",
    ])
    west = s.layer(box, "-x", [
        "###.#",
        "#c..#",
        "###.#",
        "#...#",
        "#.###",
    ])
    north = s.layer(box, "+y", [
        "#.###",
        "#...#",
        "#.#d#",
        "#.#.#",
        "#...#",
    ])
    south = s.layer(box, "-y", [
        "#.#.#",
        "#.#.#",
        "#...#",
        "##.##",
        "#F..#",
    ])
    s.start(*one(top, "S"))
    s.die(*one(bottom, "a"), face="-z")
    s.die(*one(east, "b"), face="+x")
    s.die(*one(west, "c"), face="-x")
    s.die(*one(north, "d"), face="+y")
    s.finish(*one(south, "F"), face="-y")
    return s


# World 7: lattices of beams one cube thick.

def the_beam():
    s = Stage(*W7, 0, "a beam. every side of it is a floor.")
    s.beam((0, -4, 0), (0, 4, 0))
    s.beam((-3, 1, 0), (3, 1, 0))
    s.start(0, -4, 0)
    s.die(0, -1, 0, "-z")
    s.die(3, 1, 0, "+x")
    s.die(-2, 1, 0, "-y")
    s.finish(0, 4, 0)
    return s


def ladder():
    s = Stage(*W7, 0, "a ladder lying in the air. rails and rungs, above and below.")
    s.beam((-2, -4, 0), (-2, 4, 0))
    s.beam((2, -4, 0), (2, 4, 0))
    for y in (-4, -1, 2):
        s.beam((-1, y, 0), (1, y, 0))
    s.start(-2, -4, 0)
    s.die(2, 4, 0)
    s.die(0, 2, 0, "-z")
    s.die(2, -3, 0, "+x")
    s.finish(0, -1, 0)
    return s


def window():
    s = Stage(*W7, 0, "a window of beams. the panes are air.")
    for x in (-4, 0, 4):
        s.beam((x, -4, 0), (x, 4, 0))
    for y in (-4, 0, 4):
        s.beam((-4, y, 0), (4, y, 0))
    s.start(-4, -4, 0)
    s.die(4, 4, 0)
    s.die(0, 2, 0, "-z")
    s.die(-2, 4, 0, "+y")
    s.die(4, -2, 0, "+x")
    s.finish(0, 0, 0)
    return s


def posts():
    s = Stage(*W7, 0, "posts and beams. the beams stand up as well.")
    s.beam((-3, -3, 0), (3, -3, 0))
    s.beam((-3, 3, 0), (3, 3, 0))
    s.beam((-3, -3, 0), (-3, 3, 0))
    for x, y in ((3, -3), (-3, 3)):
        s.beam((x, y, 1), (x, y, 4))
    s.beam((3, -3, 4), (3, 3, 4))
    s.start(-3, -3, 0)
    s.die(3, 0, 4)
    s.die(-3, 3, 3, "-x")
    s.die(0, 3, 0, "-z")
    s.die(3, -3, 2, "+y")
    s.finish(3, 3, 4)
    return s


def frame():
    s = Stage(*W7, 0, "the frame. the edges of a cube, and nothing in between.")
    n = 3
    for a in (-n, n):
        for b in (-n, n):
            s.beam((-n, a, b), (n, a, b))
            s.beam((a, -n, b), (a, n, b))
            s.beam((a, b, -n), (a, b, n))
    s.start(-n, -n, n)
    s.die(n, 0, n, "+x")
    s.die(0, n, -n, "-z")
    s.die(-n, 0, -n, "-x")
    s.die(n, n, 0, "+y")
    s.finish(n, -n, -n, "-z")
    return s


def jump_beams():
    s = Stage(*W7, 0, "beams crossing at different heights. jump down from one to the next.")
    s.beam((0, -4, 4), (0, 4, 4))
    s.beam((-4, 2, 2), (4, 2, 2))
    s.beam((-3, -4, 0), (-3, 4, 0))
    s.beam((3, -4, 0), (3, 4, 0))
    s.beam((-4, -3, -2), (4, -3, -2))
    s.start(0, -4, 4)
    s.die(4, 2, 2)
    s.die(-3, -4, 0)
    s.die(3, 4, 0, "+y")
    s.die(0, -3, -2, "-z")
    s.finish(4, -3, -2)
    return s


def upside_jumps():
    s = Stage(*W7, 0, "under a beam, down is up. jump to the beams above.")
    s.beam((-4, 0, -4), (4, 0, -4))
    s.beam((-4, -3, -2), (-4, 3, -2))
    s.beam((-2, 3, 0), (4, 3, 0))
    s.beam((4, -3, 2), (4, 3, 2))
    s.beam((-4, -3, 4), (4, -3, 4))
    s.start(0, 0, -4)
    s.die(-4, 0, -2, "-z")
    s.die(2, 3, 0, "-z")
    s.die(4, 0, 2, "-z")
    s.die(0, -3, 4, "-z")
    s.finish(4, -3, 4)
    return s


def lattice_box():
    s = Stage(*W7, 0, "a lattice. beams along every axis, crossing at the joints.")
    for a in (-2, 2):
        for b in (-2, 2):
            s.beam((-4, a, b), (4, a, b))
            s.beam((a, -4, b), (a, 4, b))
            s.beam((a, b, -4), (a, b, 4))
    s.start(-2, -4, 2)
    s.die(4, 2, 2, "+x")
    s.die(2, 2, 4)
    s.die(-2, 0, -2, "-z")
    s.die(0, -2, -2, "-y")
    s.die(-2, 2, -4, "-z")
    s.finish(2, -2, -4, "-z")
    return s


def girders():
    s = Stage(*W7, 0, "girders round a tower. climb the tower, cross on the beams.")
    s.box((-1, 0), (-1, 0), (-3, 4))
    s.beam((1, 0, 3), (5, 0, 3))
    s.beam((-5, -1, 1), (-2, -1, 1))
    s.beam((0, 1, -1), (0, 5, -1))
    s.beam((-1, -5, -3), (-1, -2, -3))
    s.beam((5, -3, 3), (5, 3, 3))
    s.beam((-5, -4, 1), (-5, 4, 1))
    s.start(-1, -1, 4)
    s.die(5, 3, 3)
    s.die(-5, 4, 1, "-z")
    s.die(0, 5, -1, "+y")
    s.die(-1, -5, -3, "-z")
    s.coin(3, 0, 3, "-z")
    s.finish(-1, -5, -3, "-y")
    return s


def great_lattice():
    s = Stage(*W7, 0, "the great lattice. every beam, every side, and jumps between them.")
    for a in (-3, 0, 3):
        for b in (-3, 3):
            s.beam((-3, a, b), (3, a, b))
            s.beam((a, -3, b), (a, 3, b))
    for a in (-3, 3):
        for b in (-3, 3):
            s.beam((a, b, -3), (a, b, 3))
    s.beam((0, 0, -2), (0, 0, 2))
    s.box((-1, 1), (-1, 1), (-7, -7))
    s.start(-3, -3, 3)
    s.die(3, 3, 3, "+x")
    s.die(0, 0, 0, "+y")
    s.die(-3, 0, -3, "-z")
    s.die(3, -3, -1, "-y")
    s.die(0, 0, -7, "-z")
    s.coin(0, 3, 3, "-z")
    s.finish(0, 0, -7)
    return s
