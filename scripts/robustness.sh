#!/bin/sh
# Runs the real game on every file of its data folder gone bad (missing, empty, truncated,
# junk), one case after the other, each on its own virtual X server:  scripts/robustness.sh
# Extra arguments go to the test program (for example --gtest_filter='*soccer*').
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh test
BUILD=${BUILD_DIR:-build-test}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTUMBRIX_SANITIZE=ON >/dev/null
cmake --build "$BUILD" --target test_reliability tumbrix

export LIBGL_ALWAYS_SOFTWARE=1
# intercept_tls_get_addr=0: as in scripts/test.sh, whose comment says why.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=0:intercept_tls_get_addr=0"
export LSAN_OPTIONS="suppressions=$(pwd)/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export ALSOFT_DRIVERS=none
exec "$BUILD/test_reliability" --gtest_also_run_disabled_tests --gtest_filter='DISABLED_Everything/*' "$@"
