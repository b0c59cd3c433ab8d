#!/bin/sh
# Builds the stage parsing benchmark (Release, in build-bench/) and runs it.
# Extra arguments go to the benchmark, e.g. --benchmark_repetitions=10.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh bench

BUILD=${BUILD_DIR:-build-bench}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTUMBRIX_BENCH=ON -DTUMBRIX_TESTS=OFF
cmake --build "$BUILD" --target bench_stage_parse -j 2
"$BUILD/bench_stage_parse" "$@"
