#!/usr/bin/env bash
# Set up, build in Release and start the game.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build build/release -j2
exec build/release/orvel-jigsaw "$@"
