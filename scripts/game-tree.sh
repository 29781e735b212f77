#!/usr/bin/env bash
# Writes the game's data tree into DIR with the generator GENERATOR, but only when the tree is
# missing or the generator has changed since it wrote the tree (DIR/.velbrant-data.sha256 holds
# the checksum of the one that did). An Opcje.ini already in DIR is the player's and stays as it is.
#
#   scripts/game-tree.sh GENERATOR DIR
set -euo pipefail
GENERATOR=$1
DIR=$2
STAMP="$DIR/.velbrant-data.sha256"
SUM=$(sha256sum <"$GENERATOR" | cut -d' ' -f1)
if [ -d "$DIR/Dane" ] && [ -f "$STAMP" ] && [ "$(cat "$STAMP")" = "$SUM" ]; then
  exit 0
fi
KEPT=""
if [ -f "$DIR/Opcje.ini" ]; then
  KEPT=$(mktemp)
  cp "$DIR/Opcje.ini" "$KEPT"
fi
"$GENERATOR" "$DIR"
if [ -n "$KEPT" ]; then
  cp "$KEPT" "$DIR/Opcje.ini"
  rm -f "$KEPT"
fi
echo "$SUM" >"$STAMP"
