#!/usr/bin/env bash
# Sets everything up on a fresh Debian machine and starts the game.
# Any argument is handed to the game (S or V start straight into a run).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
scripts/install-deps.sh play
# A first build here is the game and its data generator only: no test or benchmark libraries
# needed. A build folder that is already set up keeps its settings.
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
  cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELBRANT_TESTS=OFF -DVELBRANT_BENCH=OFF
fi
cmake --build "$BUILD_DIR" -j"$(nproc)" --target velbrant velbrant-data
GAME=$(cd "$BUILD_DIR" && pwd)/velbrant
# The tree is written when missing or when the generator changed; the player's Opcje.ini stays.
scripts/game-tree.sh "$BUILD_DIR/velbrant-data" game
cd game
exec "$GAME" "$@"
