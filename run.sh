#!/usr/bin/env bash
# Set up, build the game and its data in Release (no tests) and start it.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DORVEL_TESTS=OFF -DORVEL_BENCH=OFF > /dev/null
cmake --build build/release -j2
exec build/release/orvel-jigsaw "$@"
