#!/bin/sh
# Random games on the shipped stages, each recorded by the game, watched again in a fresh
# Application and checked by the stage checker, 1000 games by default (game i on stage
# i % 100 + 1):  scripts/replay-games.sh [games]
# The ball after every step must be the same to the last bit in all three
# (tests/app/ReplayExactTest.cpp); the first difference ends the run naming the game, its
# stage and seed, the step, the two lines and the replay. The test command plays twelve
# games, with sanitizers; this run uses an optimised build without them (build-games/) to
# play many more. BUILD_DIR picks another build.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh test
BUILD=${BUILD_DIR:-build-games}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" --target test_app stagecheck
export LIBGL_ALWAYS_SOFTWARE=1
export ALSOFT_DRIVERS=none
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The game's own console lines (a stage loaded, the sound device) go to the log only.
log="$BUILD/replay-games.log"
start=$(date +%s)
status=0
TUMBRIX_REPLAY_GAMES=${1:-1000} xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp -noreset" \
    "$BUILD/test_app" --gtest_filter='ReplayExact.*' >"$log" 2>&1 || status=$?
grep -v '^OF_\|^\[3DS\]\|^AL lib' "$log" || true
echo "replay-games: $(( $(date +%s) - start )) s, full output in $log"
exit "$status"
