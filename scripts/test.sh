#!/bin/sh
# Builds the test configuration (AddressSanitizer + UndefinedBehaviorSanitizer) and runs
# every test under its own virtual X server with Mesa's software renderer.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh test

BUILD=${BUILD_DIR:-build-test}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTUMBRIX_SANITIZE=ON
cmake --build "$BUILD"

export LIBGL_ALWAYS_SOFTWARE=1
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=0"
export LSAN_OPTIONS="suppressions=$(pwd)/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The tests run as on a machine without a sound card, whatever this one has: OpenAL Soft is
# offered no output backend (it ignores unknown names, so "none" leaves the list empty), opening
# a device fails, and the audio layer takes its real fallback, the loopback device, whose mix
# the sound tests read back. The game itself (scripts/play.sh) lets OpenAL Soft pick the device.
export ALSOFT_DRIVERS=none

run_tests() {
    xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
        ctest --test-dir "$BUILD" --output-on-failure -j "$(nproc)" "$@"
}

# The tests whose output shows the leak checker itself crashing: its tracer thread, which
# stops every thread of the process at exit to scan their stacks, now and then dies of a
# segmentation fault while Mesa's rasteriser threads are alive ("LeakSanitizer has
# encountered a fatal error"). That says nothing of the test, which had passed by then.
leak_checker_crashes() {
    awk '/^[0-9]+\/[0-9]+ Testing: / { name = $3; crashed = 0; failed = 0 }
         /LeakSanitizer has encountered a fatal error/ { crashed = 1 }
         /^\[  FAILED  \]/ { failed = 1 }
         /^"[^"]*" end time:/ { if (crashed && !failed) print name }' \
        "$BUILD/Testing/Temporary/LastTest.log" | sort -u
}

failed="$BUILD/Testing/Temporary/LastTestsFailed.log"
rm -f "$failed"
status=0
run_tests "$@" || status=$?
if [ "$status" -ne 0 ] && [ -s "$failed" ]; then
    crashed=$(leak_checker_crashes)
    others=$(cut -d: -f2- "$failed" | sort -u | while read -r name; do
        printf '%s\n' "$crashed" | grep -qxF "$name" || echo "$name"
    done)
    # Only when every failure is the leak checker's own crash are those tests run once more,
    # with every check as before; any other failure stands.
    if [ -z "$others" ]; then
        echo "test: the leak checker crashed after these tests had passed; running them once more:"
        cut -d: -f2- "$failed" | sed 's/^/    /'
        status=0
        xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
            ctest --test-dir "$BUILD" --output-on-failure --rerun-failed || status=$?
    fi
fi
exit "$status"
