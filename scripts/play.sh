#!/usr/bin/env bash
# Sets everything up on a fresh Debian machine and starts the game.
# Any argument is handed to the game (S or V start straight into a run).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
build/velbrant-data game
cd game
exec ../build/velbrant "$@"
