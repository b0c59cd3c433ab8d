#!/bin/sh
# Takes the README's screenshots: the main menu over stage 1, and stage 1 in play.
# Runs the built game (build/tumbrix, or the binary given as $1) on a virtual X server.
set -eu
cd "$(dirname "$0")/.."
game=${1:-build/tumbrix}
out=docs/screenshots
mkdir -p "$out"
scratch=$(mktemp -d)
trap 'kill $game_pid 2>/dev/null || true; kill $xvfb_pid 2>/dev/null || true; rm -rf "$scratch"' EXIT

Xvfb :77 -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
sleep 1
export DISPLAY=:77 LIBGL_ALWAYS_SOFTWARE=1 ALSOFT_DRIVERS=none
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
key() {
    xdotool search --sync --name "Tumbrix Velquor" windowfocus --sync key "$1" 2>/dev/null || xdotool key "$1"
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
wait $game_pid || true
echo "screenshots in $out"
