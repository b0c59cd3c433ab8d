"""The stages built from shapes rather than typed in, written to data/levels/levelN.txt.

    python3 tools/datagen/stages.py [output folder]     (default: data/levels of the checkout)

Stages not listed here are hand-written files. Each world shares a face picture and a sky:

    1-10  blue tiles, dusk        the moves, one at a time
    11-20 red bricks, nebula      towers and walls
    21-30 green checker, aurora   undersides and bridges
    31-40 purple stones, stars    jumps between islands
    41-50 orange tread, ember     large solid shapes travelled on every side, long routes
    51-60 teal meander, daylight  mazes: corridors, dead ends, mazes folded over blocks
    61-70 steel grid, deep sea    lattices of beams one cube thick, travelled on every side
    71-80 hazard stripes, storm   precision: pins reached by exact jumps, dice on arm tips
    81-90 white marble, golden    winding towers: routes round a tower's walls
    91-100 magenta hex, galaxy    grand tours of a hundred to almost three hundred cubes

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
from mazes_lattices import (first_maze, dead_ends, high_walls, maze_isles, block_maze,
    four_sides, maze_below, holes, maze_tower, maze_cube, the_beam, ladder, posts, window,
    frame, jump_beams, lattice_box, upside_jumps, girders, great_lattice)
from precision_towers import (stepping_pins, pin_circle, arms, ceiling_pins, comb, the_thread,
    arms_and_pins, maze_of_pins, spire_of_arms, needle, corners, the_tower, hanging_tower,
    ledged_tower, screw, tower_pins, tower_maze, spire, two_towers_bridged, tower_beams)
from grand_tours import (tour_begins, slab_tour, two_blocks, arms_of_the_block, tower_through,
    frame_and_core, great_block, isles_tour, citadel_tour, last_tour)


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
    (51, first_maze, 27), (52, dead_ends, 30), (53, high_walls, 34), (54, maze_isles, 32),
    (55, block_maze, 29), (56, four_sides, 37), (57, maze_below, 33), (58, holes, 30),
    (59, maze_tower, 32), (60, maze_cube, 37),
    (61, the_beam, 33), (62, ladder, 34), (63, posts, 39), (64, window, 39), (65, frame, 40),
    (66, jump_beams, 47), (67, lattice_box, 59), (68, upside_jumps, 49), (69, girders, 47),
    (70, great_lattice, 47),
    (71, stepping_pins, 26), (72, pin_circle, 32), (73, arms, 31), (74, ceiling_pins, 40),
    (75, comb, 35), (76, the_thread, 37), (77, arms_and_pins, 44), (78, maze_of_pins, 44),
    (79, spire_of_arms, 46), (80, needle, 57),
    (81, corners, 32), (82, the_tower, 36), (83, hanging_tower, 35), (84, ledged_tower, 41),
    (85, screw, 39), (86, tower_pins, 41), (87, tower_maze, 37), (88, spire, 46),
    (89, two_towers_bridged, 42), (90, tower_beams, 45),
    (91, two_blocks, 40), (92, tour_begins, 48), (93, arms_of_the_block, 52),
    (94, great_block, 55), (95, slab_tour, 55), (96, isles_tour, 59), (97, tower_through, 55),
    (98, citadel_tour, 68), (99, frame_and_core, 60), (100, last_tour, 57),
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
