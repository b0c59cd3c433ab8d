"""The shapes of worlds 8 (precision: pins and arms) and 9 (winding towers); each function
builds one stage (see stages.py for its number and time limit).

A pin is a single cube standing alone in the air, reached only by a jump that lands on
it exactly; an arm is a line of single cubes reaching out from the rest, its die on the
tip. A tower's walls are the floor of world 9: the route winds round them, and the ball's
gravity turns at every corner."""

from stagebuild import Stage

W8 = ("face_hazard_stripes.png", "sky_storm.png")
W9 = ("face_white_marble.png", "sky_golden.png")


# World 8: precision.

def stepping_pins():
    s = Stage(*W8, 0, "pins. one cube each, two levels apart: jump, and land on them.")
    s.box((0, 0), (-2, 0), (6, 6))
    for i, z in enumerate((4, 2, 0)):
        s.cube(0, 1 + i, z)
    s.box((0, 0), (4, 5), (-2, -2))
    s.start(0, -2, 6)
    s.die(0, 1, 4, "-x")
    s.die(0, 2, 2, "+x")
    s.die(0, 3, 0)
    s.finish(0, 5, -2)
    return s


def arms():
    s = Stage(*W8, 0, "arms. the dice wait at the very tips.")
    s.box((-1, 1), (-1, 1), (0, 0))
    s.beam((2, 0, 0), (5, 0, 0))
    s.beam((-5, 0, 0), (-2, 0, 0))
    s.beam((0, 2, 0), (0, 5, 0))
    s.start(0, -1, 0)
    s.die(5, 0, 0, "+x")
    s.die(-5, 0, 0, "-x")
    s.die(0, 5, 0, "+y")
    s.finish(0, 0, 0, "-z")
    return s


def pin_circle():
    s = Stage(*W8, 0, "a circle of pins, each lower than the last. turn before you jump.")
    s.box((0, 0), (0, 0), (8, 8))
    s.cube(0, 1, 6)
    s.cube(1, 1, 4)
    s.cube(1, 0, 2)
    s.cube(0, 0, 0)
    s.cube(0, 1, -2)
    s.cube(1, 1, -4)
    s.start(0, 0, 8)
    s.die(0, 1, 6, "-x")
    s.die(1, 0, 2, "+x")
    s.die(0, 1, -2, "-y")
    s.finish(1, 1, -4)
    return s


def arms_and_pins():
    s = Stage(*W8, 0, "from the tip of each arm, a jump down to a pin.")
    s.box((-1, 1), (-1, 1), (2, 2))
    s.beam((2, 0, 2), (4, 0, 2))
    s.cube(5, 0, 0)
    s.beam((0, -4, 2), (0, -2, 2))
    s.cube(0, -5, 0)
    s.beam((-4, 0, 2), (-2, 0, 2))
    s.cube(-5, 0, 0)
    s.start(0, 1, 2)
    s.die(5, 0, 0)
    s.die(0, -5, 0, "-z")
    s.die(-5, 0, 0, "-x")
    s.die(4, 0, 2, "-z")
    s.finish(-5, 0, 0)
    return s


def ceiling_pins():
    s = Stage(*W8, 0, "pins below a ceiling. upside down, the jumps go up.")
    s.box((-1, 1), (-1, 1), (4, 4))
    s.cube(0, 2, 2)
    s.cube(0, 3, 0)
    s.cube(0, 4, -2)
    s.box((-1, 1), (5, 6), (-4, -4))
    s.start(0, -1, 4)
    s.die(0, 0, 4, "-z")
    s.die(0, 2, 2, "+x")
    s.die(0, 3, 0, "-x")
    s.die(0, 6, -4, "-z")
    s.finish(1, 5, -4)
    return s


def the_thread():
    s = Stage(*W8, 0, "the thread. one cube wide, winding, with branches to the dice.")
    path = [(0, -4, 0), (0, 0, 0), (3, 0, 0), (3, 0, 3), (3, 4, 3), (-2, 4, 3), (-2, 4, -1), (-2, 1, -1)]
    for a, b in zip(path, path[1:]):
        s.beam(a, b)
    s.beam((1, 4, 4), (1, 4, 5))
    s.beam((3, -1, 0), (3, -3, 0))
    s.beam((-3, 4, 1), (-5, 4, 1))
    s.start(0, -4, 0)
    s.die(1, 4, 5)
    s.die(3, -3, 0, "-y")
    s.die(-5, 4, 1, "-x")
    s.coin(3, 2, 3, "-z")
    s.finish(-2, 1, -1, "-y")
    return s


def comb():
    s = Stage(*W8, 0, "the comb. teeth up and teeth down, and a die at the tip of each.")
    s.beam((-5, 0, 0), (5, 0, 0))
    for x in (-4, 0, 4):
        s.beam((x, 0, 1), (x, 0, 2))
    for x in (-2, 2):
        s.beam((x, 0, -1), (x, 0, -3))
    s.start(-5, 0, 0)
    s.die(-4, 0, 2, "-x")
    s.die(-2, 0, -3, "-z")
    s.die(2, 0, -3, "+y")
    s.die(4, 0, 2, "+x")
    s.finish(5, 0, 0)
    return s


def maze_of_pins():
    s = Stage(*W8, 0, "a maze without walls. one-cube paths, dead ends, and pins to jump to.")
    s.beam((-4, -4, 4), (0, -4, 4))
    s.beam((-2, -3, 4), (-2, -1, 4))
    s.cube(0, -3, 2)
    s.beam((0, -2, 2), (0, 1, 2))
    s.beam((1, -1, 2), (4, -1, 2))
    s.cube(0, 2, 0)
    s.beam((-1, 2, 0), (-4, 2, 0))
    s.beam((1, 2, 0), (3, 2, 0))
    s.cube(3, 3, -2)
    s.start(-4, -4, 4)
    s.die(-2, -1, 4, "+y")
    s.die(4, -1, 2, "+x")
    s.die(-4, 2, 0, "-z")
    s.finish(3, 3, -2)
    return s


def spire_of_arms():
    s = Stage(*W8, 0, "a spire of arms. the dice are on the tips, above and below.")
    s.box((0, 0), (0, 0), (-4, 5))
    s.beam((1, 0, 4), (4, 0, 4))
    s.beam((0, 1, 1), (0, 4, 1))
    s.beam((-1, 0, -2), (-4, 0, -2))
    s.beam((0, -1, -4), (0, -4, -4))
    s.cube(5, 0, 2)
    s.cube(0, 5, -1)
    s.box((-1, 1), (-6, -4), (-6, -6))
    s.start(0, 0, 5)
    s.die(5, 0, 2, "+x")
    s.die(0, 4, 1, "+y")
    s.die(-4, 0, -2, "-z")
    s.die(0, 5, -1, "-z")
    s.die(0, -4, -4, "-y")
    s.coin(0, 2, 1, "-z")
    s.finish(0, -5, -6)
    return s


def needle():
    s = Stage(*W8, 0, "the needle's eye. pins, arms, a beam and a ring; mind every edge.")
    s.box((-1, 1), (-1, 1), (6, 6))
    s.beam((2, 0, 6), (5, 0, 6))
    s.cube(6, 0, 4)
    s.beam((6, 1, 4), (6, 4, 4))
    s.cube(6, 5, 2)
    s.beam((5, 5, 2), (1, 5, 2))
    s.ring((-3, 0), (4, 6), (0, 0))
    s.cube(-4, 5, -2)
    s.beam((-4, 4, -2), (-4, 0, -2))
    s.cube(-4, -1, -4)
    s.beam((-3, -1, -4), (0, -1, -4))
    s.start(0, -1, 6)
    s.die(5, 0, 6, "-z")
    s.die(6, 4, 4, "+y")
    s.die(-3, 5, 0, "-x")
    s.die(-4, 0, -2, "-y")
    s.die(0, -1, -4, "+x")
    s.coin(3, 5, 2, "-z")
    s.finish(-2, -1, -4)
    return s


# World 9: winding towers.

def the_tower():
    s = Stage(*W9, 0, "the tower. its walls are floors: wind round them to the top.")
    s.box((-2, 2), (-2, 2), (0, 0))
    s.box((0, 1), (0, 1), (1, 6))
    s.start(0, -2, 0)
    s.die(1, 0, 4, "+x")
    s.die(1, 1, 5, "+y")
    s.die(0, 1, 3, "-x")
    s.die(0, 0, 6, "-y")
    s.die(0, 0, 0, "-z")
    s.finish(1, 1, 6)
    return s


def corners():
    s = Stage(*W9, 0, "a column. a die on every side, each one higher.")
    s.box((-1, 1), (-1, 1), (0, 0))
    s.box((0, 0), (0, 0), (1, 8))
    s.start(0, -1, 0)
    s.die(0, 0, 2, "+x")
    s.die(0, 0, 4, "+y")
    s.die(0, 0, 6, "-x")
    s.die(0, 0, 8, "-y")
    s.die(1, 1, 0, "-z")
    s.finish(0, 0, 8)
    return s


def ledged_tower():
    s = Stage(*W9, 0, "ledges round the tower. the dice hang under them.")
    s.box((-2, 2), (-2, 2), (0, 0))
    s.box((0, 1), (0, 1), (1, 8))
    s.cube(2, 0, 3)
    s.cube(1, 2, 5)
    s.cube(-1, 1, 7)
    s.start(0, -2, 0)
    s.die(2, 0, 3, "-z")
    s.die(1, 2, 5, "-z")
    s.die(-1, 1, 7, "-z")
    s.die(-1, -1, 0, "-z")
    s.finish(0, 0, 8)
    return s


def hanging_tower():
    s = Stage(*W9, 0, "a tower hanging from the sky. down its walls to its foot.")
    s.box((-2, 2), (-2, 2), (6, 6))
    s.box((0, 1), (0, 1), (-1, 5))
    s.start(0, -2, 6)
    s.die(1, 1, 4, "+y")
    s.die(1, 0, 1, "+x")
    s.die(0, 0, 2, "-x")
    s.die(0, 1, -1, "-z")
    s.die(0, 0, 0, "-y")
    s.finish(2, 2, 6, "-z")
    return s


def two_towers_bridged():
    s = Stage(*W9, 0, "two towers and a bridge between. round one, across, round the other.")
    s.box((-5, 5), (-1, 1), (0, 0))
    s.box((-4, -3), (-1, 0), (1, 8))
    s.box((3, 4), (0, 1), (1, 8))
    s.beam((-2, 0, 5), (2, 0, 5))
    s.start(0, -1, 0)
    s.die(-3, 0, 7, "+x")
    s.die(-4, -1, 3, "-y")
    s.die(0, 0, 5, "-z")
    s.die(4, 1, 7, "+y")
    s.die(5, 0, 0, "+x")
    s.finish(3, 0, 8)
    return s


def screw():
    s = Stage(*W9, 0, "the screw. a thread of cubes winds round the tower; go with it.")
    s.box((-2, 2), (-2, 2), (0, 0))
    s.box((0, 1), (0, 1), (1, 10))
    ring = [(2, 0), (2, 1), (1, 2), (0, 2), (-1, 1), (-1, 0), (0, -1), (1, -1)]
    for i in range(12):
        x, y = ring[i % len(ring)]
        s.cube(x, y, 2 + (i * 2) // 3)
    s.start(0, -2, 0)
    s.die(1, 1, 9, "+x")
    s.die(0, 0, 8, "-y")
    s.die(0, 0, 6, "-x")
    s.die(2, 2, 0, "-z")
    s.finish(1, 0, 10)
    return s


def tower_maze():
    s = Stage(*W9, 0, "a maze on the walls of a tower. the corridors wind upwards.")
    tower = ((-1, 1), (-1, 1), (0, 8))
    s.box(*tower)
    s.box((-3, 3), (-3, 3), (-1, -1))
    south = s.layer(tower, "-y", [
        "...", "..#", "#..", "..#", "#..", "..#", "...", "...", "...",
    ])
    east = s.layer(tower, "+x", [
        "...", "#..", "..#", "#..", ".a#", "#..", "...", "...", "...",
    ])
    north = s.layer(tower, "+y", [
        ".b.", "..#", "#..", "..#", "#..", "..#", "...", "...", "...",
    ])
    west = s.layer(tower, "-x", [
        "...", "#c.", "..#", "#..", "..#", "#..", "...", "...", "...",
    ])
    s.start(0, -3, -1)
    s.die(*east["a"][0], face="+x")
    s.die(*north["b"][0], face="+y")
    s.die(*west["c"][0], face="-x")
    s.die(-1, -1, 7, "-y")
    s.die(3, 3, -1, "-z")
    s.finish(0, 0, 8)
    return s


def tower_beams():
    s = Stage(*W9, 0, "a tower with beams. out along them, and back round the walls.")
    s.box((0, 1), (0, 1), (-4, 6))
    s.box((-1, 2), (-1, 2), (-5, -5))
    s.beam((2, 0, 4), (6, 0, 4))
    s.beam((6, 1, 4), (6, 4, 4))
    s.beam((-1, 1, 1), (-5, 1, 1))
    s.beam((1, -1, -2), (1, -5, -2))
    s.start(0, -1, -5)
    s.die(6, 4, 4, "+y")
    s.die(-5, 1, 1, "-z")
    s.die(1, -5, -2, "-y")
    s.die(1, 1, 6)
    s.die(2, 2, -5, "-z")
    s.coin(4, 0, 4, "-z")
    s.finish(0, 0, 6)
    return s


def tower_pins():
    s = Stage(*W9, 0, "pins round the tower. up its walls, then down by the pins.")
    s.box((-2, 2), (-2, 2), (0, 0))
    s.box((0, 1), (0, 1), (1, 9))
    s.cube(2, 1, 7)
    s.cube(2, 2, 5)
    s.cube(1, 2, 3)
    s.start(0, -2, 0)
    s.die(1, 0, 5, "+x")
    s.die(0, 1, 7, "-x")
    s.die(2, 2, 5, "+y")
    s.die(1, 2, 3, "-z")
    s.die(0, 0, 0, "-z")
    s.finish(-2, -2, 0)
    return s


def spire():
    s = Stage(*W9, 0, "the spire. ledges, beams, a hanging foot and every wall to wind round.")
    s.box((-3, 3), (-3, 3), (0, 0))
    s.box((-1, 0), (-1, 0), (1, 10))
    s.box((-1, 0), (-1, 0), (-5, -1))
    s.cube(1, -1, 3)
    s.cube(-2, 0, 6)
    s.beam((-1, 1, 8), (-1, 4, 8))
    s.beam((1, 0, -3), (4, 0, -3))
    s.start(0, -3, 0)
    s.die(1, -1, 3, "-z")
    s.die(-2, 0, 6, "-x")
    s.die(-1, 4, 8, "+y")
    s.die(4, 0, -3, "+x")
    s.die(-1, -1, -5, "-z")
    s.coin(0, 0, 10)
    s.finish(0, -1, 10)
    return s
