#!/bin/sh
# Runs the real game on every file of its data folder gone bad (missing, empty, truncated,
# junk), and `tumbrix --replay` on a replay file gone bad the same four ways, one case after
# the other, each on its own virtual X server:  scripts/robustness.sh
# Extra arguments go to the test program (for example --gtest_filter='*soccer*').
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh test
BUILD=${BUILD_DIR:-build-test}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTUMBRIX_SANITIZE=ON >/dev/null
cmake --build "$BUILD" --target test_reliability tumbrix

. ./scripts/sanitized-env.sh
exec "$BUILD/test_reliability" --gtest_also_run_disabled_tests --gtest_filter='DISABLED_Everything/*' "$@"
