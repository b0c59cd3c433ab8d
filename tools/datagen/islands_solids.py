"""The shapes of worlds 4 (jumps between islands) and 5 (large solid shapes travelled on
every side, and long routes); each function builds one stage (see stages.py for its
number and time limit)."""

from stagebuild import Stage

W4 = ("face_purple_stones.png", "sky_stars.png")
W5 = ("face_orange_tread.png", "sky_ember.png")


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
    s = Stage(*W5, 0, "the bastion: a great block, its towers and a moat of air; the end of the fifth world.")
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
    s = Stage(*W5, 0, "a world of its own. every move you have learnt, on every side.")
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
    s.coin(2, 2, 2)
    s.coin(-3, 2, -3, "-z")
    s.coin(4, -1, 0, "-y")
    s.finish(2, -3, 2)
    return s
