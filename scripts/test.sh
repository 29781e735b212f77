#!/usr/bin/env bash
# Sets everything up on a fresh Debian machine, builds, and runs the whole test suite.
# The end-to-end tests need an X display: an Xvfb server is started for them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
export VELBRANT_NO_DIALOGS=1
cd build
xvfb-run -a -s "-screen 0 640x480x24" ctest --output-on-failure -j2 --timeout 600
