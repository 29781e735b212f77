#!/usr/bin/env bash
# Sets everything up on a fresh Debian machine, builds, and runs the whole test suite:
#   0. the folder order of the includes (scripts/check-includes.sh),
#   1. the suite built with AddressSanitizer and UBSan (all but the end-to-end tests),
#   2. every reader's fuzz target for a short fixed time (FUZZ_SECONDS, default 10 s each),
#   3. the whole suite in the normal build, end-to-end tests included, under Xvfb,
#   4. the Debian package: built, installed, started to the menu and purged (scripts/test-deb.sh),
#   5. last, the long lane: the reload soak and the hour of simulated driving.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
scripts/check-includes.sh
scripts/build.sh -DVELBRANT_TESTS=ON
scripts/sanitize.sh
scripts/fuzz.sh "${FUZZ_SECONDS:-10}"
export VELBRANT_NO_DIALOGS=1
cd build
echo "== the whole suite"
xvfb-run -a -s "-screen 0 640x480x24" ctest -LE soak --output-on-failure -j2 --timeout 600
echo "== the Debian package"
xvfb-run -a -s "-screen 0 640x480x24" ../scripts/test-deb.sh .
echo "== the long lane"
xvfb-run -a -s "-screen 0 640x480x24" ctest -L soak --output-on-failure --timeout 900
