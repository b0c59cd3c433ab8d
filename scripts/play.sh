#!/bin/sh
# Builds the game (Release) and starts it from the repository root, where data/ lives.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh play
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTUMBRIX_TESTS=OFF
cmake --build build
exec ./build/tumbrix
