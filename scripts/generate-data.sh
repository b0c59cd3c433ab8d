#!/bin/sh
# Rebuilds every generated file below data/ (textures, models, sounds, fonts) from the
# generators in tools/datagen/. Deterministic: the same bytes on every run, so a clean
# checkout stays clean. An optional argument writes to another folder instead.
# Uses Debian's python3 with python3-numpy and python3-pil (see install-deps.sh).
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/data}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
# Debian's interpreter, where the Debian numpy and PIL live, whatever else is on PATH.
PYTHON=/usr/bin/python3
[ -x "$PYTHON" ] || PYTHON=python3
exec "$PYTHON" -B "$root/tools/datagen/generate.py" "$out"
