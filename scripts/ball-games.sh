#!/bin/sh
# Random games on every shipped stage, played through the real Application with keys at
# random frames, 1000 per stage by default:  scripts/ball-games.sh [games per stage]
# After every frame the ball must keep its rules (tests/player/BallInPlayTest.cpp); the
# first broken one ends the run naming the stage, the seed and the update. The test command
# plays five games per stage, with sanitizers; this run uses an optimised build without them
# (build-games/) to play many more. BUILD_DIR picks another build.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
BUILD=${BUILD_DIR:-build-games}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" --target test_player
export LIBGL_ALWAYS_SOFTWARE=1
export ALSOFT_DRIVERS=none
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The game's own console lines (a stage loaded, the sound device) go to the log only.
log="$BUILD/ball-games.log"
start=$(date +%s)
status=0
TUMBRIX_GAMES_PER_STAGE=${1:-1000} xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp -noreset" \
    "$BUILD/test_player" --gtest_filter='BallInPlay.RandomGames*' >"$log" 2>&1 || status=$?
grep -v '^OF_\|^\[3DS\]\|^AL lib' "$log" || true
echo "ball-games: $(( $(date +%s) - start )) s, full output in $log"
exit "$status"
