"""The stages built from shapes rather than typed in, written to data/levels/levelN.txt.

    python3 tools/datagen/stages.py [output folder]     (default: data/levels of the checkout)

Stages not listed here are hand-written files. Each world shares a face picture and a sky:

    1-10  blue tiles, dusk        the moves, one at a time
    11-20 red bricks, nebula      towers and walls
    21-30 green checker, aurora   undersides and bridges
    31-40 purple stones, stars    jumps between islands
    41-50 orange tread, ember     large solid shapes travelled on every side, long routes

Every stage is proven with the stage checker; its time limit leaves the fastest route the
share of the limit that the world asks for (see docs/stages.md).
"""

import sys
from pathlib import Path

from stagebuild import Stage

W2 = ("face_red_bricks.png", "sky_nebula.png")
W3 = ("face_green_checker.png", "sky_aurora.png")
W4 = ("face_purple_stones.png", "sky_stars.png")
W5 = ("face_orange_tread.png", "sky_ember.png")


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


# World 4: jumps between islands.

def steps_down():
    s = Stage(*W4, 0, "steps down. each island lies lower than the last: jump.")
    s.box((-1, 1), (-1, 1), (4, 4))
    s.box((-1, 1), (2, 3), (2, 2))
    s.box((-1, 1), (4, 5), (0, 0))
    s.box((-1, 1), (6, 7), (-2, -2))
    s.start(0, -1, 4)
    s.die(1, 3, 2)
    s.die(-1, 5, 0)
    s.finish(0, 7, -2)
    return s


def there_and_back():
    s = Stage(*W4, 0, "jump down to fetch the dice, climb back to the finish.")
    s.box((-1, 1), (-1, 1), (0, 0))
    s.box((2, 3), (-1, 1), (-2, -2))
    s.box((-3, -2), (-1, 1), (-2, -2))
    s.box((-1, 1), (2, 3), (-2, -2))
    s.start(0, -1, 0)
    s.die(3, 1, -2)
    s.die(-3, -1, -2)
    s.die(1, 3, -2)
    s.finish(0, 1, 0)
    return s


def archipelago():
    s = Stage(*W4, 0, "an archipelago. plan the jumps: climbing back costs time.")
    s.box((-1, 0), (-1, 0), (4, 4))
    s.box((1, 2), (-1, 0), (2, 2))
    s.box((3, 4), (-1, 0), (0, 0))
    s.box((3, 4), (1, 2), (-2, -2))
    s.box((1, 2), (1, 2), (0, 0))
    s.box((-1, 0), (1, 2), (2, 2))
    s.start(-1, -1, 4)
    s.die(4, -1, 0)
    s.die(4, 2, -2)
    s.die(-1, 2, 2)
    s.coin(2, 2, 0)
    s.finish(1, 1, 0)
    return s


def floating_isles():
    s = Stage(*W4, 0, "floating isles. some are reached from below.")
    s.box((-1, 1), (-1, 1), (2, 2))
    s.box((2, 3), (-1, 1), (0, 0))
    s.box((4, 5), (-1, 1), (-2, -2))
    s.box((-1, 1), (2, 3), (0, 0))
    s.box((-1, 1), (4, 5), (-2, -2))
    s.box((2, 3), (4, 5), (-2, -2))
    s.start(0, -1, 2)
    s.die(5, 1, -2, "-z")
    s.die(0, 5, -2, "-z")
    s.die(3, 5, -2)
    s.coin(3, 1, 0, "+y")
    s.finish(-1, 3, 0)
    return s


def descent():
    s = Stage(*W4, 0, "the descent. a long way down in big jumps.")
    z = 6
    for i, (x, y) in enumerate(((0, -6), (0, -4), (2, -2), (2, 0), (0, 2), (0, 4), (-2, 6))):
        s.box((x - 1, x + 1), (y, y + 1), (z - 2 * i, z - 2 * i))
    s.start(0, -6, 6)
    s.die(3, -2, 2)
    s.die(-1, 2, -2)
    s.die(1, 5, -4, "+x")
    s.coin(2, -1, 2)
    s.finish(-2, 7, -6)
    return s


def island_ring():
    s = Stage(*W4, 0, "a ring of islands round a tower. down by jumps, up by walls.")
    s.box((-1, 1), (-1, 1), (0, 4))
    for x, y, z in ((3, 0, 2), (3, 3, 0), (0, 3, -2), (-3, 3, -2), (-3, 0, 0), (-3, -3, 2), (0, -3, 2)):
        s.box((x - 1, x + 1), (y - 1, y + 1), (z, z))
    s.start(0, 0, 4)
    s.die(4, 4, 0)
    s.die(-4, 3, -2)
    s.die(-3, -4, 2)
    s.die(1, 0, 4, "+x")
    s.coin(0, 4, -2)
    s.finish(0, -3, 2)
    return s


def sky_garden():
    s = Stage(*W4, 0, "the sky garden. islands above, islands below, and the coins between.")
    s.box((-2, 2), (-2, 2), (0, 0))
    s.box((3, 4), (-2, -1), (-2, -2))
    s.box((3, 4), (1, 2), (2, 2))
    s.box((-4, -3), (-1, 1), (-3, -3))
    s.box((-1, 1), (3, 4), (-2, -2))
    s.box((-1, 1), (-4, -3), (2, 2))
    s.start(0, -2, 0)
    s.die(4, -2, -2)
    s.die(4, 2, 2)
    s.die(-4, 0, -3)
    s.die(0, 4, -2)
    s.die(0, -4, 2)
    s.coin(-2, 0, 0, "-z")
    s.coin(2, 2, 0, "-z")
    s.finish(0, 0, 0, "-z")
    return s


def stepping_stones():
    s = Stage(*W4, 0, "stepping stones in the dark. one cube each, mind the turns.")
    path = [(0, 0, 6), (0, 1, 5), (1, 1, 4), (1, 2, 3), (0, 2, 2), (0, 3, 1), (-1, 3, 0),
            (-1, 2, -1), (-2, 2, -2), (-2, 1, -3), (-1, 1, -4)]
    for cell in path:
        s.cube(*cell)
    s.box((-1, 1), (-1, 1), (-6, -6))
    s.start(0, 0, 6)
    s.die(1, 2, 3)
    s.die(-1, 2, -1)
    s.die(-1, 1, -4)
    s.coin(0, 3, 1)
    s.finish(0, 0, -6)
    return s


def islands_grand():
    s = Stage(*W4, 0, "the grand crossing. jumps, climbs, edges and undersides.")
    s.box((-2, 2), (-6, -4), (2, 2))
    s.box((-2, 2), (-3, -1), (0, 0))
    s.box((-2, -2), (-3, -3), (1, 3))
    s.box((-2, 2), (0, 2), (-2, -2))
    s.box((0, 0), (3, 5), (-2, -2))
    s.box((-2, 2), (6, 7), (-4, -4))
    s.box((2, 2), (6, 6), (-3, -1))
    s.start(0, -6, 2)
    s.die(-2, -3, 3)
    s.die(2, 2, -2, "-z")
    s.die(0, 4, -2, "-z")
    s.die(2, 6, -1)
    s.die(-2, 7, -4)
    s.coin(0, -1, 0)
    s.coin(2, -6, 2)
    s.finish(0, 7, -4)
    return s


# World 5: large solid shapes, travelled on every side, and long routes.

def block():
    s = Stage(*W5, 0, "the block. six faces, six ways down.")
    s.box((-1, 1), (-1, 1), (-1, 1))
    s.start(0, -1, 1)
    s.die(1, 0, 0, "+x")
    s.die(0, 0, -1, "-z")
    s.die(-1, 0, 0, "-x")
    s.die(0, 1, 0, "+y")
    s.die(0, -1, 0, "-y")
    s.finish(0, 0, 1)
    return s


def slab():
    s = Stage(*W5, 0, "the slab. wide, flat and as big underneath.")
    s.box((-3, 3), (-3, 3), (0, 1))
    s.start(-3, -3, 1)
    s.die(3, 3, 1)
    s.die(0, 0, 0, "-z")
    s.die(3, -3, 0, "-z")
    s.die(-3, 0, 1, "-x")
    s.coin(0, 3, 1, "+y")
    s.finish(-3, 3, 1)
    return s


def big_cube():
    s = Stage(*W5, 0, "the great cube. every side of it is a floor.")
    s.box((-2, 1), (-2, 1), (-2, 1), hollow=True)
    s.start(-2, -2, 1)
    s.die(1, -1, 0, "+x")
    s.die(0, 1, -1, "+y")
    s.die(-1, 0, -2, "-z")
    s.die(-2, 1, 0, "-x")
    s.die(0, -2, -1, "-y")
    s.coin(1, 1, 1)
    s.finish(0, 0, 1)
    return s


def cross():
    s = Stage(*W5, 0, "the cross. four arms, and the dice on their far ends.")
    s.box((-1, 1), (-1, 1), (-1, 1), hollow=True)
    s.box((2, 4), (-1, 0), (-1, 0))
    s.box((-4, -2), (0, 1), (-1, 0))
    s.box((-1, 0), (2, 4), (0, 1))
    s.box((0, 1), (-4, -2), (0, 1))
    s.start(0, 0, 1)
    s.die(4, 0, 0, "+x")
    s.die(-4, 1, -1, "-x")
    s.die(-1, 4, 1, "+y")
    s.die(1, -4, 0, "-y")
    s.die(0, 0, -1, "-z")
    s.coin(3, -1, -1, "-z")
    s.coin(-3, 1, 0)
    s.finish(0, 0, 1)
    return s


def shell5():
    s = Stage(*W5, 0, "the monolith. its underside holds the way out.")
    s.box((-2, 2), (-2, 2), (-2, 2), hollow=True)
    s.start(0, -2, 2)
    s.die(2, 2, 2, "+x")
    s.die(-2, 0, -2, "-x")
    s.die(0, 2, 0, "+y")
    s.die(0, -2, -2, "-y")
    s.die(2, -2, 0, "+x")
    s.coin(0, 0, -2, "-z")
    s.coin(-2, 2, 2)
    s.finish(1, 1, -2, "-z")
    return s


def fortress_block():
    s = Stage(*W5, 0, "the bastion. a great block with towers and a moat of air.")
    s.box((-3, 2), (-2, 1), (-2, 1), hollow=True)
    for x, y in ((-3, -2), (2, 1)):
        s.box((x, x), (y, y), (2, 4))
    s.box((-3, -3), (1, 1), (-5, -3))
    s.box((2, 2), (-2, -2), (-5, -3))
    s.start(0, -2, 1)
    s.die(-3, -2, 4)
    s.die(2, 1, 4)
    s.die(-3, 1, -5, "-z")
    s.die(2, -2, -5, "-z")
    s.die(2, 0, 0, "+x")
    s.die(0, 1, -1, "+y")
    s.coin(-1, 0, -2, "-z")
    s.coin(-3, 0, 0, "-x")
    s.finish(-1, -1, 1)
    return s


def giant():
    s = Stage(*W5, 0, "the giant. all six sides, and the dice far apart.")
    s.box((-3, 2), (-3, 2), (-3, 2), hollow=True)
    s.start(-3, -3, 2)
    s.die(2, 2, 2)
    s.die(2, 0, 0, "+x")
    s.die(-1, 2, -2, "+y")
    s.die(0, 0, -3, "-z")
    s.die(-3, -1, -1, "-x")
    s.die(1, -3, 1, "-y")
    s.coin(-3, 2, 2)
    s.coin(2, -3, -3, "-z")
    s.finish(0, 0, 2)
    return s


def grand_finale():
    s = Stage(*W5, 0, "the last stage. a world of its own: everything you have learnt.")
    s.box((-3, 2), (-3, 2), (-3, 2), hollow=True)
    s.box((-1, 0), (-1, 0), (3, 5))
    s.box((-1, 0), (-1, 0), (-6, -4))
    s.box((3, 5), (-1, 0), (0, 0))
    s.box((-6, -4), (-1, 0), (-2, -2))
    s.start(-3, -3, 2)
    s.die(0, 0, 5)
    s.die(-1, -1, -6, "-z")
    s.die(5, 0, 0)
    s.die(-6, -1, -2)
    s.die(0, 2, 0, "+y")
    s.die(1, -3, -1, "-y")
    s.die(-3, -2, -3, "-x")
    s.die(2, 1, 1, "+x")
    s.coin(2, 2, 2)
    s.coin(-3, 2, -3, "-z")
    s.coin(4, -1, 0, "-y")
    s.finish(2, -3, 2)
    return s


# Stage number, shape, time limit in seconds. The limits leave the fastest route from
# about three fifths of the limit to spare on the first stage of a world down to about two
# fifths on its last (docs/stages.md has the table).
STAGES = [
    (12, stair, 19), (13, twin_towers, 24), (14, wall, 26), (15, chimney, 25), (16, wall_maze, 25),
    (18, keep, 26), (20, citadel, 33), (21, long_bridge, 18), (25, arch, 22), (26, two_decks, 29),
    (27, hanging_gardens, 33), (28, crossed_bridges, 34), (29, pier, 35), (30, under_towers, 40),
    (32, steps_down, 15), (34, archipelago, 26), (35, there_and_back, 31), (36, descent, 33),
    (37, floating_isles, 32), (38, island_ring, 35), (39, islands_grand, 35), (40, sky_garden, 47),
    (41, block, 23), (42, slab, 28), (44, big_cube, 29), (45, shell5, 30), (46, cross, 33),
    (48, giant, 35), (49, fortress_block, 43), (50, grand_finale, 60),
]


def generate(out_dir, only=None):
    out_dir.mkdir(parents=True, exist_ok=True)
    written = []
    for number, build, limit in STAGES:
        if only and number not in only:
            continue
        stage = build()
        stage.limit = limit
        problems = stage.check()
        if problems:
            raise SystemExit(f"stage {number} ({build.__name__}): " + "; ".join(problems))
        path = out_dir / f"level{number}.txt"
        path.write_text(stage.text())
        written.append(path)
    return written


def main(argv):
    root = Path(__file__).resolve().parents[2]
    out_dir = Path(argv[1]) if len(argv) > 1 else root / "data" / "levels"
    only = {int(a) for a in argv[2:]}
    for path in generate(out_dir, only):
        print(path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
