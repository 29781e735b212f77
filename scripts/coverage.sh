#!/usr/bin/env bash
# Builds the game and its tests with gcc's --coverage in build-cov/ (or $COV_BUILD_DIR), runs the
# suite without the end-to-end tests and prints line, function and branch coverage of the game
# library. Coverage shows a line ran, not that a test would notice it going wrong.
#
#   scripts/coverage.sh            build, run, print the summary
#   COV_HTML=dir scripts/coverage.sh   also writes a browsable report into dir
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD_DIR=${COV_BUILD_DIR:-build-cov}

cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Debug -DVELBRANT_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="--coverage -O0" -DCMAKE_EXE_LINKER_FLAGS="--coverage" >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)" >/dev/null
find "$BUILD_DIR" -name '*.gcda' -delete

export VELBRANT_NO_DIALOGS=1
display_wrap=()
if [ -z "${DISPLAY:-}" ]; then display_wrap=(xvfb-run -a -s "-screen 0 640x480x24"); fi
(cd "$BUILD_DIR" && "${display_wrap[@]}" ctest -LE 'e2e|soak' -j"$(nproc)" --timeout 600 --output-on-failure)

# The game library: every folder the game itself is built from.
filters=()
for d in core app flow assets sim render sound platform; do
  [ -d "$d" ] && filters+=(--filter "$ROOT/$d/")
done
args=(-r "$ROOT" --object-directory "$BUILD_DIR" "${filters[@]}")
if [ -n "${COV_HTML:-}" ]; then
  mkdir -p "$COV_HTML"
  gcovr "${args[@]}" --html-details "$COV_HTML/index.html" >/dev/null
fi
# gcovr replaces its output file rather than writing into it, so the per-file table goes to a file of
# our own: given /dev/null, it would put a plain file in the device's place.
report=$(mktemp)
trap 'rm -f "$report"' EXIT
gcovr "${args[@]}" --print-summary -o "$report"
