#!/bin/sh
# Frame times of the game and of a peer, timed alike by Mesa's own frame-time HUD dump
# (GALLIUM_HUD=frametime, one line a frame), on the X server of $DISPLAY:
#   scripts/bench-peer.sh <tumbrix binary> <stage> <seconds> <out.md>
# The game plays <stage> full screen with the up arrow held; Neverball (Debian's package)
# plays one of its levels with the ball steered forward. Both run from a scratch folder, so
# nothing of the player's is touched. Prints nothing that decides anything; it measures.
set -eu
GAME=$(realpath "$1")
STAGE=$2
SECONDS_EACH=$3
OUT=$4
ROOT=$(cd "$(dirname "$0")/.." && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT INT TERM
export LIBGL_ALWAYS_SOFTWARE=1

# Runs "$@" for $SECONDS_EACH s with the frame-time dump in $WORK/hud-$name. Once its window is
# up: a click where $click is "click", then the keys $keys, then $held held down to the end.
timed_run() {
    name=$1; click=$2; keys=$3; held=$4; shift 4
    mkdir -p "$WORK/hud-$name"
    GALLIUM_HUD=frametime GALLIUM_HUD_PERIOD=0 GALLIUM_HUD_DUMP_DIR="$WORK/hud-$name" "$@" \
        >"$WORK/$name.log" 2>&1 &
    pid=$!
    sleep 3
    if [ "$click" = click ]; then xdotool click 1 2>/dev/null || true; sleep 1; fi
    if [ -n "$keys" ]; then xdotool key --delay 200 $keys 2>/dev/null || true; fi
    if [ -n "$held" ]; then xdotool keydown "$held" 2>/dev/null || true; fi
    sleep "$SECONDS_EACH"
    if [ -n "$held" ]; then xdotool keyup "$held" 2>/dev/null || true; fi
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

# The game: its data linked into a folder of its own, the save file naming the stage.
mkdir -p "$WORK/game/data"
for f in "$ROOT"/data/*; do ln -s "$f" "$WORK/game/data/"; done
printf '%s 0' "$STAGE" >"$WORK/game/data/DoNotReadMe.txt"
(cd "$WORK/game" && timed_run tumbrix "" "Return" Up "$GAME")

# The peer, at the same screen size, its own frame pacing off so that it draws as fast as
# it can, as ours does when the machine is slow. A click starts its level; the up arrow
# tilts the floor forward.
if [ -x /usr/games/neverball ]; then
    size=$(xdpyinfo 2>/dev/null | sed -n 's/^ *dimensions: *\([0-9]*\)x\([0-9]*\) .*/\1 \2/p' | head -1)
    mkdir -p "$WORK/home/.neverball"
    printf 'fullscreen 1\nwidth %s\nheight %s\nvsync 0\n' ${size:-1024 768} >"$WORK/home/.neverball/neverballrc"
    HOME="$WORK/home" timed_run neverball click "" Up /usr/games/neverball -l map-easy/easy.sol
fi

python3 - "$WORK" "$OUT" "$STAGE" <<'PY'
import glob, os, sys
work, out, stage = sys.argv[1], sys.argv[2], sys.argv[3]
def stats(name):
    files = glob.glob(os.path.join(work, "hud-" + name, "frametime*"))
    values = []
    for f in files:
        for line in open(f):
            try:
                values.append(float(line.split()[-1]))
            except (ValueError, IndexError):
                pass
    values = values[60:]   # start-up, the first frames' shader compiles, the level's intro
    if not values:
        return None
    values.sort()
    pick = lambda q: values[min(len(values) - 1, int(q * len(values)))]
    return len(values), pick(0.5), pick(0.99)
rows = []
for name, what in (("tumbrix", "this game, stage %s, up arrow held" % stage),
                   ("neverball", "Neverball, level `map-easy/easy.sol`, tilted forward")):
    s = stats(name)
    if s:
        rows.append("| %s | %d | %.2f | %.2f | %.1f |" % (what, s[0], s[1], s[2], 1000.0 / s[1]))
    else:
        rows.append("| %s | no frames timed | | | |" % what)
with open(out, "w") as f:
    f.write("| program | frames timed | median ms | 99th percentile ms | frames a second at the median |\n")
    f.write("|---|---:|---:|---:|---:|\n")
    f.write("\n".join(rows) + "\n")
PY
