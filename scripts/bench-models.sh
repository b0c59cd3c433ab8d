#!/bin/sh
# Builds the 3DS reader benchmark (Release, in build-bench/) and runs it: one large model
# loaded by our reader and by lib3ds in the same run, with the ratio of their times.
# Arguments go to the benchmark: [file.3ds] [repetitions]; without a file a large one is
# made with assimp.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh bench

BUILD=${BUILD_DIR:-build-bench}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTUMBRIX_BENCH=ON -DTUMBRIX_TESTS=OFF
cmake --build "$BUILD" --target bench_model3ds -j 2
"$BUILD/bench_model3ds" "$@"
