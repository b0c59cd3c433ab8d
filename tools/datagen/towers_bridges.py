"""The shapes of worlds 2 (towers and walls) and 3 (undersides and bridges); each function
builds one stage (see stages.py for its number and time limit)."""

from stagebuild import Stage

W2 = ("face_red_bricks.png", "sky_nebula.png")
W3 = ("face_green_checker.png", "sky_aurora.png")


# World 2: towers and walls.

def stair():
    s = Stage(*W2, 0, "the stair. walk into each step and the ball climbs it.")
    s.box((-1, 1), (-1, 1), (0, 0))
    for i in range(4):
        s.box((0, 0), (2 + i, 2 + i), (0, i + 1))
    s.start(0, -1, 0)
    s.die(0, 3, 2)
    s.die(-1, 1, 0, "-x")
    s.finish(0, 5, 4)
    return s


def wall():
    s = Stage(*W2, 0, "the wall. over it, not round it.")
    s.box((-2, 2), (0, 6), (0, 0))
    s.box((-2, 2), (3, 3), (1, 2))
    s.start(0, 0, 0)
    s.die(-2, 5, 0)
    s.die(2, 3, 2)
    s.finish(0, 1, 0)
    return s


def twin_towers():
    s = Stage(*W2, 0, "twin towers. take a die from each top.")
    s.box((-3, 3), (-1, 1), (0, 0))
    s.box((-3, -2), (-1, 0), (1, 3))
    s.box((2, 3), (0, 1), (1, 4))
    s.start(0, -1, 0)
    s.die(-3, -1, 3)
    s.die(3, 1, 4)
    s.coin(2, 0, 4, "-x")
    s.finish(0, 1, 0)
    return s


def wall_maze():
    s = Stage(*W2, 0, "a yard of low walls. climb, cross, climb again.")
    s.box((-3, 3), (-3, 3), (0, 0))
    s.box((-3, 3), (-1, -1), (1, 1))
    s.box((-3, 3), (1, 1), (1, 1))
    s.remove(3, -1, 1)
    s.remove(-3, 1, 1)
    s.box((0, 0), (2, 3), (1, 2))
    s.start(0, -3, 0)
    s.die(-2, 0, 0)
    s.die(2, 3, 0)
    s.die(0, 3, 2)
    s.coin(3, -3, 0)
    s.finish(-2, 3, 0)
    return s


def chimney():
    s = Stage(*W2, 0, "the chimney. the way up is on the outside.")
    s.box((-2, 2), (-2, 2), (0, 0))
    s.box((-1, 1), (-1, 1), (1, 5), hollow=True)
    s.start(0, -2, 0)
    s.die(1, 0, 3, "+x")
    s.die(0, 1, 5)
    s.die(-1, 0, 2, "-x")
    s.coin(0, -1, 5)
    s.finish(2, 2, 0)
    return s


def keep():
    s = Stage(*W2, 0, "the keep. walls round the yard, a tower on every corner.")
    s.box((-3, 3), (-3, 3), (0, 0))
    s.ring((-3, 3), (-3, 3), (1, 1))
    for x, y in ((-3, -3), (3, -3), (-3, 3), (3, 3)):
        s.box((x, x), (y, y), (2, 3))
    s.remove(0, -3, 1)
    s.start(0, -2, 0)
    s.die(3, 3, 3)
    s.die(-3, 3, 3)
    s.die(0, 0, 0)
    s.coin(3, -3, 3)
    s.coin(-3, -3, 3)
    s.finish(0, 3, 1)
    return s


def citadel():
    s = Stage(*W2, 0, "the citadel. towers, walls and a drop to the lower court.")
    s.box((-3, 3), (-3, 1), (0, 0))
    s.box((-3, 3), (2, 5), (-2, -2))
    s.box((-3, -3), (-3, 1), (1, 2))
    s.box((3, 3), (-3, 1), (1, 2))
    s.box((-1, 1), (-1, -1), (1, 4))
    s.box((0, 0), (4, 5), (-1, 1))
    s.start(0, -3, 0)
    s.die(0, -1, 4)
    s.die(-3, 1, 2)
    s.die(3, 4, -2)
    s.die(0, 5, 1)
    s.coin(3, -3, 2)
    s.coin(-3, 5, -2)
    s.finish(-2, 3, -2)
    return s


# World 3: undersides and bridges.

def long_bridge():
    s = Stage(*W3, 0, "the long bridge. the dice hang underneath.")
    s.box((-1, 1), (-1, 0), (0, 0))
    s.box((0, 0), (1, 7), (0, 0))
    s.box((-1, 1), (8, 9), (0, 0))
    s.start(0, -1, 0)
    s.die(0, 3, 0, "-z")
    s.die(0, 6, 0, "-z")
    s.coin(0, 5, 0, "+x")
    s.finish(0, 9, 0)
    return s


def two_decks():
    s = Stage(*W3, 0, "two decks. the lower one is read from below.")
    s.box((-2, 2), (-2, 2), (2, 2))
    s.box((-2, 2), (-2, 2), (-1, -1))
    s.box((2, 2), (2, 2), (0, 1))
    s.start(0, -2, 2)
    s.die(-2, 2, -1, "-z")
    s.die(0, 0, -1, "-z")
    s.die(2, -2, 2, "-z")
    s.coin(0, 0, 2, "-z")
    s.finish(0, 0, -1)
    return s


def arch():
    s = Stage(*W3, 0, "the arch. its inside is a road too.")
    s.box((-1, 1), (-4, -3), (0, 0))
    s.box((-1, 1), (3, 4), (0, 0))
    s.box((0, 0), (-2, -2), (1, 1))
    s.box((0, 0), (2, 2), (1, 1))
    s.box((0, 0), (-1, 1), (2, 2))
    s.start(0, -4, 0)
    s.die(0, 0, 2, "-z")
    s.die(0, 2, 1, "-z")
    s.die(0, 0, 2)
    s.finish(0, 4, 0)
    return s


def hanging_gardens():
    s = Stage(*W3, 0, "hanging gardens. the columns hang from the plaza.")
    s.box((-3, 3), (-3, 3), (0, 0))
    for x, y, d in ((-2, -2, 2), (2, -2, 3), (-2, 2, 3), (2, 2, 2), (0, 0, 1)):
        s.box((x, x), (y, y), (-d, -1))
    s.start(0, -3, 0)
    s.die(2, -2, -3, "-z")
    s.die(-2, 2, -3, "-z")
    s.die(0, 0, -1, "-z")
    s.die(-2, -2, -2, "-x")
    s.coin(2, 2, -2, "-z")
    s.finish(0, 3, 0)
    return s


def crossed_bridges():
    s = Stage(*W3, 0, "crossed bridges. one runs over, one runs under.")
    s.box((-4, 4), (0, 0), (1, 1))
    s.box((0, 0), (-4, 4), (-1, -1))
    s.box((-4, -4), (-1, 1), (1, 1))
    s.box((4, 4), (-1, 1), (1, 1))
    s.box((-1, 1), (-4, -4), (-1, -1))
    s.box((-1, 1), (4, 4), (-1, -1))
    s.start(-4, 0, 1)
    s.die(4, 1, 1)
    s.die(0, 4, -1, "-z")
    s.die(0, -3, -1, "+x")
    s.die(2, 0, 1, "-z")
    s.coin(-1, -4, -1)
    s.finish(0, 0, 1, "-z")
    return s


def pier():
    s = Stage(*W3, 0, "the pier. under the boards, round the posts, and back up.")
    s.box((-1, 1), (-5, 5), (0, 0))
    for y in (-4, 0, 4):
        s.box((-1, -1), (y, y), (-3, -1))
        s.box((1, 1), (y, y), (-3, -1))
    s.box((-1, 1), (-5, 5), (-4, -4))
    s.start(0, -5, 0)
    s.die(0, 2, 0, "-z")
    s.die(0, -2, -4)
    s.die(1, 4, -2, "+x")
    s.die(0, 5, -4, "-z")
    s.coin(0, 0, -4)
    s.coin(-1, -4, -2, "-x")
    s.finish(0, 5, 0)
    return s


def under_towers():
    s = Stage(*W3, 0, "towers over the bridge and towers under it.")
    s.box((-1, 1), (-6, 6), (0, 0))
    s.box((-1, -1), (-3, -3), (1, 3))
    s.box((1, 1), (3, 3), (1, 3))
    s.box((1, 1), (-4, -4), (-3, -1))
    s.box((-1, -1), (4, 4), (-3, -1))
    s.start(0, -6, 0)
    s.die(-1, -3, 3)
    s.die(1, 3, 3)
    s.die(1, -4, -3, "-z")
    s.die(-1, 4, -3, "-z")
    s.die(0, 0, 0, "-z")
    s.coin(0, 6, 0, "-z")
    s.finish(0, 6, 0)
    return s
