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

from islands_solids import (steps_down, there_and_back, archipelago, floating_isles, descent,
    island_ring, sky_garden, islands_grand, block, slab, big_cube, cross, shell5,
    fortress_block, giant, grand_finale)
from towers_bridges import (stair, wall, twin_towers, wall_maze, chimney, keep, citadel,
    long_bridge, two_decks, arch, hanging_gardens, crossed_bridges, pier, under_towers)


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
    (48, giant, 35), (49, grand_finale, 40), (50, fortress_block, 42),
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
