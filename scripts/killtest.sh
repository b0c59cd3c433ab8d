#!/bin/sh
# Kills a writer of the save, records and highscore files (the game's own writing code) with
# SIGKILL at random moments, a thousand times by default:  scripts/killtest.sh [kills]
# Every kill must leave each file with complete old or new contents. Uses the test build.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh test
BUILD=${BUILD_DIR:-build-test}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTUMBRIX_SANITIZE=ON >/dev/null
cmake --build "$BUILD" --target test_reliability save_writer_app
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
TUMBRIX_KILL_ROUNDS=${1:-1000} "$BUILD/test_reliability" --gtest_filter='SavesSurviveKills.*'
