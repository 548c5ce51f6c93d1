#!/usr/bin/env bash
# Build with AddressSanitizer and UndefinedBehaviorSanitizer in a folder of
# its own and run every test there. Extra arguments go to ctest.
#   ORVEL_SANITIZE_BUILD_DIR  build folder (default build/asan)
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
build=${ORVEL_SANITIZE_BUILD_DIR:-build/asan}

# Exported for the whole run: the build itself runs generated programs (skins,
# flags, knob strip) and the test binaries are asked for their test lists, all
# of them instrumented. Leak checking stays on; the suppressions file names
# the few system libraries whose allocations at exit are not ours to free.
export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"

# -O1 keeps the instrumented build quick to compile and its reports exact;
# benchmarks are no tests and are left out.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
  -DORVEL_SANITIZE=ON -DORVEL_BENCH=OFF -DORVEL_WERROR=ON > /dev/null
cmake --build "$build" -j2
cd "$build"
ctest --output-on-failure -j2 "$@"
