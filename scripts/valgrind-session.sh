#!/bin/sh
# Plays the scripted session of the real game (menu, a stage won, a new highscore with a typed
# name, a time-out, a fall, Escape) under valgrind memcheck:  scripts/valgrind-session.sh
# The game comes from an unsanitized build in build-valgrind/; the test program that drives
# it from the test build. Reports inside the GL driver stack are suppressed by
# tests/reliability/valgrind.supp; any other report fails the run (status 99 from valgrind).
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh valgrind
cmake -S . -B build-valgrind -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTUMBRIX_TESTS=OFF >/dev/null
cmake --build build-valgrind --target tumbrix -j2
BUILD=${BUILD_DIR:-build-test}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTUMBRIX_SANITIZE=ON >/dev/null
cmake --build "$BUILD" --target test_reliability -j2

export LIBGL_ALWAYS_SOFTWARE=1
export ALSOFT_DRIVERS=none
export ASAN_OPTIONS="detect_leaks=0"
export TUMBRIX_VALGRIND_GAME="$(pwd)/build-valgrind/tumbrix"
exec "$BUILD/test_reliability" --gtest_also_run_disabled_tests --gtest_filter='CleanSession.DISABLED_UnderValgrind' "$@"
