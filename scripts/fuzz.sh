#!/bin/sh
# Runs one libFuzzer target for a while:  scripts/fuzz.sh <target> <seconds>
# Builds fuzz/<target>.cpp with clang, AddressSanitizer and UndefinedBehaviorSanitizer in
# fuzz-build/, then fuzzes starting from the seeds in fuzz/corpus/<target>/. New inputs
# go to fuzz-build/corpus/<target>/ (the committed seeds are left as they are); a failing
# input is written to fuzz-build/crashes/<target>/ and should be copied, once fixed, to
# fuzz/regressions/<target>/ so that the test command replays it from then on.
# Targets that draw get a virtual X server when no display is set.
set -eu
cd "$(dirname "$0")/.."

if [ $# -lt 1 ]; then
    echo "usage: scripts/fuzz.sh <target> [seconds, default 60] [extra libFuzzer options...]" >&2
    exit 2
fi
target=$1
seconds=${2:-60}
[ $# -ge 2 ] && shift 2 || shift 1
if [ ! -f "fuzz/$target.cpp" ]; then
    echo "fuzz.sh: there is no fuzz/$target.cpp" >&2
    exit 2
fi

./scripts/install-deps.sh fuzz
BUILD=fuzz-build
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTUMBRIX_FUZZ=ON \
    -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang >/dev/null
cmake --build "$BUILD" --target "$target" -j2

mkdir -p "$BUILD/corpus/$target" "$BUILD/crashes/$target" "fuzz/corpus/$target"
. ./scripts/sanitized-env.sh

set -- "$BUILD/$target" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$BUILD/crashes/$target/" "$@" "$BUILD/corpus/$target" "fuzz/corpus/$target"
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp -noreset" "$@"
fi
exec "$@"
