#!/bin/sh
# Renders the game's icon at every size into packaging/icons/ from the ball picture and the
# first stage's face texture in data/ (tools/datagen/icon.py). Deterministic, like the data.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
PYTHON=/usr/bin/python3
[ -x "$PYTHON" ] || PYTHON=python3
exec "$PYTHON" -B "$root/tools/datagen/icon.py" "$root/data" "$root/packaging/icons"
