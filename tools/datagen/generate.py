"""Builds every generated file of the game's data folder: cube face and sky textures, the
ball's picture, the three collectible models with their maps, the sounds and the fonts.

    python3 tools/datagen/generate.py [output folder]     (default: data/ of the checkout)

The output depends only on this code and the Debian packages it reads: the same bytes on
every run.
"""

import sys
from pathlib import Path

import ball
import faces
import fonts
import models
import skies
import sounds

GENERATORS = [faces, skies, ball, models, sounds, fonts]


def main(argv):
    root = Path(__file__).resolve().parents[2]
    out_dir = Path(argv[1]) if len(argv) > 1 else root / "data"
    out_dir.mkdir(parents=True, exist_ok=True)
    total = 0
    for generator in GENERATORS:
        for path in generator.generate(out_dir):
            size = path.stat().st_size
            total += size
            print(f"{path.relative_to(out_dir)}  {size} bytes")
    print(f"generate-data: {total} bytes in {out_dir}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
