#!/bin/sh
# Builds the test configuration (AddressSanitizer + UndefinedBehaviorSanitizer) and runs
# every test under its own virtual X server with Mesa's software renderer.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh test

BUILD=${BUILD_DIR:-build-test}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTUMBRIX_SANITIZE=ON
cmake --build "$BUILD"

. ./scripts/sanitized-env.sh

# -noreset: an X server resets itself whenever its last client leaves, and drops whoever
# connects while it does; with test programs coming and going that was now and then one of
# them ("failed to open display").
xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp -noreset" \
    ctest --test-dir "$BUILD" --output-on-failure -j "$(nproc)" "$@"
