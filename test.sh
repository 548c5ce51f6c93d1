#!/usr/bin/env bash
# Set up, build (optimised, with assertions on) and run every test.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
build=${ORVEL_TEST_BUILD_DIR:-build/test}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -g" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g" \
  -DORVEL_WERROR=ON > /dev/null
cmake --build "$build" -j2
cd "$build"
ctest --output-on-failure -j2 "$@"
