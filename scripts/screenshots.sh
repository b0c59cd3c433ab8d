#!/bin/sh
# Takes the README's screenshots: the main menu over stage 1, and stage 1 in play.
# Runs the built game (build/tumbrix, or the binary given as $1) on a private virtual X server.
set -eu
cd "$(dirname "$0")/.."
game=${1:-build/tumbrix}
out=docs/screenshots
mkdir -p "$out"
scratch=$(mktemp -d)
trap 'kill $game_pid 2>/dev/null || true; kill $xvfb_pid 2>/dev/null || true; rm -rf "$scratch"' EXIT
game_pid=""

# A display number that no other server has, so that a server left from an earlier run
# (perhaps with a key held down) is never the one played on; it ends with the script.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$scratch/display" >/dev/null 2>&1 &
xvfb_pid=$!
tries=0
until [ -n "$(sed -n 1p "$scratch/display")" ]; do
    kill -0 "$xvfb_pid" 2>/dev/null || { echo "screenshots: Xvfb did not start" >&2; exit 1; }
    tries=$((tries + 1))
    [ "$tries" -lt 150 ] || { echo "screenshots: Xvfb did not take connections within 15 s" >&2; exit 1; }
    sleep 0.1
done
DISPLAY=":$(sed -n 1p "$scratch/display")"
export DISPLAY LIBGL_ALWAYS_SOFTWARE=1 ALSOFT_DRIVERS=none
# A fresh save, so the menu starts at stage 1; the player's own save is left alone.
cp -r data "$scratch/data"
rm -f "$scratch/data/DoNotReadMe.txt" "$scratch/data/hs.txt"
game_path=$(realpath "$game")
(cd "$scratch" && exec "$game_path") >/dev/null 2>&1 &
game_pid=$!

shot() {
    xwd -root -silent -out "$scratch/shot.xwd"
    /usr/bin/python3 tools/screens/xwd2png.py "$scratch/shot.xwd" "$out/$1"
}
# Focuses the game's window, then types the key at the focus through XTEST. Typed at the
# window itself (`key` after a window search), the release goes to the window by id: when the
# press has ended the game, that window is gone, xdotool dies of BadWindow between press and
# release, and the server keeps the key held.
key() {
    xdotool search --name "^Tumbrix Velquor" windowfocus --sync && xdotool key "$1"
}

sleep "${WAIT:-8}"
shot menu.png
key Return
sleep 3
key Up
sleep 3
key Left
sleep 2
shot play.png
key Escape
# The game ends on Escape; 30 s at most.
tries=0
while kill -0 "$game_pid" 2>/dev/null && [ "$tries" -lt 300 ]; do
    tries=$((tries + 1))
    sleep 0.1
done
if kill -0 "$game_pid" 2>/dev/null; then
    echo "screenshots: the game still runs 30 s after Escape" >&2
    exit 1
fi
wait "$game_pid" || true
game_pid=""
echo "screenshots in $out"
