#!/usr/bin/env bash
# Builds the logic tests with AddressSanitizer and UndefinedBehaviorSanitizer and runs them: the
# readers on hostile input, the simulation, the menu, the radio, the texts (label logic). The tests
# that draw, play sound or drive the built programs run in the normal build. Any sanitizer report
# fails the test it happens in.
#
#   scripts/sanitize.sh                    build in build-asan and run
#   ASAN_BUILD_DIR=dir scripts/sanitize.sh another build folder
#
# Leaks inside the system's own libraries are suppressed by tests/lsan.supp; leaks in our code are
# not.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD_DIR=${ASAN_BUILD_DIR:-build-asan}

echo "== sanitizer build in $BUILD_DIR"
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Debug -DVELBRANT_SANITIZE=ON -DVELBRANT_BENCH=OFF >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)" --target logic_tests >/dev/null

export VELBRANT_NO_DIALOGS=1
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$ROOT/tests/lsan.supp:print_suppressions=0

echo "== sanitizer suite"
cd "$BUILD_DIR"
ctest -L logic -j"$(nproc)" --timeout 600 --output-on-failure
