"""The shapes of world 10, the grand tours: compositions of everything before them, a
block with mazes on its faces, towers, beams, pins and arms, growing from about a hundred
cubes to almost three hundred. Each function builds one stage (see stages.py for its
number and time limit); every one of them asks for all six ways down."""

from stagebuild import Stage

W10 = ("face_magenta_hex.png", "sky_galaxy.png")


def tour_begins():
    s = Stage(*W10, 0, "a block with a maze on its roof, a tower, and a beam out to a pin.")
    core = ((-2, 1), (-2, 1), (-2, 1))
    s.box(*core, hollow=True)
    top = s.layer(core, "+z", [
        "#...",
        "..#.",
        "#.#.",
        "S...",
    ])
    s.box((1, 1), (1, 1), (2, 5))
    s.beam((2, -1, 0), (5, -1, 0))
    s.cube(6, -1, -2)
    s.start(*top["S"][0])
    s.die(1, 1, 5)
    s.die(6, -1, -2, "-z")
    s.die(0, 1, 0, "+y")
    s.die(0, -2, 0, "-y")
    s.finish(-2, 0, 0, "-x")
    return s


def slab_tour():
    s = Stage(*W10, 0, "the slab's tour. a maze underneath, towers on top, a frame below.")
    core = ((-3, 3), (-2, 2), (-1, 1))
    s.box(*core, hollow=True)
    bottom = s.layer(core, "-z", [
        "#.#.#.#",
        "#...#.#",
        "###.#.#",
        "a.....#",
        "#.#####",
    ])
    s.box((-3, -3), (2, 2), (2, 4))
    s.box((3, 3), (-2, -2), (2, 4))
    s.beam((0, 0, -3), (0, 0, -5))
    s.beam((-2, 0, -6), (2, 0, -6))
    s.start(0, -2, 1)
    s.die(-3, 2, 4)
    s.die(3, -2, 4, "-y")
    s.die(0, 2, 0, "+y")
    s.die(3, 0, 0, "+x")
    s.die(*bottom["a"][0], face="-z")
    s.die(2, 0, -6, "-z")
    s.coin(-3, 0, 0, "-x")
    s.finish(0, 2, 1)
    return s


def two_blocks():
    s = Stage(*W10, 0, "the grand tour begins: two blocks, a beam, and pins down to the lower block.")
    a = ((-6, -3), (-2, 1), (-2, 1))
    b = ((3, 6), (-2, 1), (-4, -1))
    s.box(*a, hollow=True)
    s.box(*b, hollow=True)
    s.beam((-2, 0, 1), (0, 0, 1))
    s.cube(1, 0, -1)
    s.cube(2, 0, -3)
    s.layer(b, "+z", [
        "#..#",
        "..#.",
        "#...",
        "..##",
    ])
    s.start(-5, -2, 1)
    s.die(-6, 0, 0, "-x")
    s.die(-5, -2, 0, "-y")
    s.die(2, 0, -3, "-z")
    s.die(6, 1, -3, "+x")
    s.die(5, 1, -2, "+y")
    s.coin(1, 0, -1)
    s.finish(4, 1, -1)
    return s


def arms_of_the_block():
    s = Stage(*W10, 0, "the block with arms. a maze on two faces, dice on the tips.")
    core = ((-2, 2), (-2, 2), (-2, 2))
    s.box(*core, hollow=True)
    s.layer(core, "+z", [
        "##.##",
        "#...#",
        "#.#.#",
        "..#..",
        "#.###",
    ])
    s.layer(core, "+y", [
        "#.#.#",
        "#...#",
        "###.#",
        "#...#",
        "#.###",
    ])
    s.beam((3, 0, 0), (6, 0, 0))
    s.beam((0, -3, -2), (0, -6, -2))
    s.beam((-2, 0, -3), (-2, 0, -6))
    s.start(-1, -2, 2)
    s.die(6, 0, 0, "+x")
    s.die(0, -6, -2, "-y")
    s.die(-2, 0, -6, "-z")
    s.die(1, 2, 0, "+y")
    s.die(0, 2, 2)
    s.finish(1, 1, 2)
    return s


def tower_through():
    s = Stage(*W10, 0, "a tower through the block, above and below, and a ring of beams.")
    core = ((-2, 2), (-2, 2), (-2, 2))
    s.box(*core, hollow=True)
    s.box((0, 0), (0, 0), (3, 7))
    s.box((0, 0), (0, 0), (-7, -3))
    for a, b in (((-5, -5, 0), (5, -5, 0)), ((5, -4, 0), (5, 5, 0)), ((4, 5, 0), (-5, 5, 0)), ((-5, 4, 0), (-5, -4, 0))):
        s.beam(a, b)
    s.beam((-4, 0, 0), (-3, 0, 0))
    s.start(0, -2, 2)
    s.die(0, 0, 7)
    s.die(0, 0, -7, "-z")
    s.die(5, 5, 0, "+x")
    s.die(-5, -5, 0, "-z")
    s.die(0, 2, 1, "+y")
    s.finish(-5, 0, 0)
    return s


def frame_and_core():
    s = Stage(*W10, 0, "the cage. a block held in a frame of beams, and the way between.")
    n = 5
    for a in (-n, n):
        for b in (-n, n):
            s.beam((-n, a, b), (n, a, b))
            s.beam((a, -n, b), (a, n, b))
            s.beam((a, b, -n), (a, b, n))
    core = ((-2, 2), (-2, 2), (-2, 2))
    s.box(*core, hollow=True)
    s.beam((0, 3, 0), (0, 4, 0))
    s.beam((0, 0, -3), (0, 0, -4))
    s.start(-n, -n, n)
    s.die(n, 0, n, "+x")
    s.die(0, -n, -n, "-z")
    s.die(2, 0, 0, "+x")
    s.die(0, 0, 2)
    s.die(-n, n, 0, "-x")
    s.finish(0, -2, 0, "-y")
    return s


def great_block():
    s = Stage(*W10, 0, "the great block. mazes on its faces, a tower on its roof.")
    core = ((-3, 2), (-3, 2), (-3, 2))
    s.box(*core, hollow=True)
    s.layer(core, "+z", [
        "#..#..",
        "#.##.#",
        "..#...",
        "#...#.",
        "###.#.",
        "S.....",
    ])
    s.layer(core, "-x", [
        "..#...",
        "#.#.##",
        "#...#.",
        "###.#.",
        "......",
        "#.###.",
    ])
    s.layer(core, "-z", [
        "......",
        ".####.",
        ".#..#.",
        ".#.##.",
        "...#..",
        "##...#",
    ])
    s.box((2, 2), (2, 2), (3, 6))
    s.start(-3, -3, 2)
    s.die(2, 2, 6)
    s.die(-3, 0, -1, "-x")
    s.die(0, 0, -3, "-z")
    s.die(2, -3, 0, "-y")
    s.die(2, 1, -1, "+x")
    s.finish(-1, 2, 0, "+y")
    return s


def isles_tour():
    s = Stage(*W10, 0, "the block and its islands. jump down to them, climb back up.")
    core = ((-3, 2), (-3, 2), (-1, 2))
    s.box(*core, hollow=True)
    s.layer(core, "+z", [
        "#.#...",
        "..#.#.",
        "#...#.",
        "..###.",
        "#.....",
        "S.#.##",
    ])
    s.box((3, 5), (-2, 0), (-2, -2))
    s.box((-6, -4), (0, 2), (-2, -2))
    s.box((-1, 1), (3, 5), (-2, -2))
    s.beam((5, -1, -1), (5, -1, 1))
    s.cube(-7, 1, -4)
    s.cube(0, 6, -4)
    s.start(-3, -3, 2)
    s.die(5, -1, 1)
    s.die(-7, 1, -4, "-z")
    s.die(0, 6, -4, "+y")
    s.die(-6, 2, -2, "-x")
    s.die(0, -3, 0, "-y")
    s.die(0, 0, -1, "-z")
    s.coin(2, 2, 2)
    s.finish(5, -2, -2)
    return s


def citadel_tour():
    s = Stage(*W10, 0, "the sky citadel. towers, beams, a maze, pins: the whole journey.")
    core = ((-3, 3), (-3, 3), (-2, 1))
    s.box(*core, hollow=True)
    s.layer(core, "+z", [
        "%..#..%",
        "..#.#..",
        "#...#.#",
        "..#...#",
        "#.#.#..",
        "..#.#.#",
        "%.....%",
    ])
    for x, y in ((-3, -3), (3, 3)):
        s.box((x, x), (y, y), (4, 7))
    s.box((0, 0), (0, 0), (-7, -3))
    s.beam((4, 0, 0), (7, 0, 0))
    s.beam((7, 1, 0), (7, 4, 0))
    s.cube(7, 5, -2)
    s.beam((-4, 0, -2), (-7, 0, -2))
    s.start(0, -3, 1)
    s.die(3, 3, 7)
    s.die(-3, -3, 7, "-x")
    s.die(0, 0, -7, "-z")
    s.die(7, 5, -2, "+y")
    s.die(-7, 0, -2, "-z")
    s.coin(7, 2, 0, "-z")
    s.finish(-2, 3, 1)
    return s


def last_tour():
    s = Stage(*W10, 0, "the last stage. the grand tour: every world, every side, every move.")
    core = ((-3, 3), (-3, 3), (-3, 3))
    s.box(*core, hollow=True)
    s.layer(core, "+z", [
        "#..#..#",
        "..#.#..",
        "#.....#",
        "S.#.#..",
        "#.#.#.#",
        "......#",
        "#.##..#",
    ])
    s.layer(core, "-y", [
        "..#....",
        "#.#.##.",
        "#...#..",
        "###.#.#",
        "......#",
        ".##.#..",
        "...#...",
    ])
    s.box((3, 3), (3, 3), (4, 8))
    s.beam((-4, 0, 0), (-8, 0, 0))
    s.cube(-9, 0, -2)
    s.beam((0, 4, -3), (0, 8, -3))
    s.beam((1, 8, -3), (3, 8, -3))
    s.start(-3, 0, 3)
    s.die(3, 3, 8)
    s.die(-9, 0, -2, "-x")
    s.die(3, 8, -3, "+x")
    s.die(0, 0, -3, "-z")
    s.die(0, -3, -2, "-y")
    s.die(3, -1, 0, "+x")
    s.coin(-6, 0, 0, "-z")
    s.coin(0, 6, -3)
    s.finish(0, 0, 3)
    return s
