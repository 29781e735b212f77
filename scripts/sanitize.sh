#!/usr/bin/env bash
# Builds the game and its tests with AddressSanitizer and UndefinedBehaviorSanitizer and runs the
# suite there: every test but the end-to-end and soak ones, which drive the real programs for minutes
# and run in the normal build. Any sanitizer report fails the test it happens in.
#
#   scripts/sanitize.sh                    build in build-asan and run
#   ASAN_BUILD_DIR=dir scripts/sanitize.sh another build folder
#
# Leaks inside the system's own libraries (Mesa, X, ALSA, fontconfig) are suppressed by
# tests/lsan.supp; leaks in our code are not.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD_DIR=${ASAN_BUILD_DIR:-build-asan}

echo "== sanitizer build in $BUILD_DIR"
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Debug -DVELBRANT_SANITIZE=ON -DVELBRANT_BENCH=OFF >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)" >/dev/null

export VELBRANT_NO_DIALOGS=1
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$ROOT/tests/lsan.supp:print_suppressions=0
# Software GL draws on the calling thread: the leak check at exit then never meets the renderer's
# worker threads coming and going, which can crash its tracer after a test has passed.
export LP_NUM_THREADS=0

display_wrap=()
if [ -z "${DISPLAY:-}" ]; then display_wrap=(xvfb-run -a -s "-screen 0 640x480x24"); fi

echo "== sanitizer suite"
cd "$BUILD_DIR"
"${display_wrap[@]}" ctest -LE 'e2e|soak' -j"$(nproc)" --timeout 600 --output-on-failure
