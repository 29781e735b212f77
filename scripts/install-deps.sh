#!/usr/bin/env bash
# Installs the Debian packages the game needs.
#
#   scripts/install-deps.sh play    what building the game and its data takes (scripts/play.sh)
#   scripts/install-deps.sh         that and everything the tests, fuzzing and benchmarks use
set -euo pipefail
SET=${1:-test}
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
PACKAGES=(
  build-essential cmake pkg-config
  libsdl2-dev libopenal-dev libsndfile1-dev libfreetype-dev fonts-dejavu-core
  libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri libegl-mesa0
  libosmium2-dev libexpat1-dev zlib1g-dev libbz2-dev
)
case "$SET" in
play) ;;
test)
  PACKAGES+=(
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth xdotool x11-utils openbox imagemagick sox libsox-fmt-all
    clang libclang-rt-14-dev gcovr
    locales
    desktop-file-utils appstream
    dpkg-dev lintian
  )
  ;;
*) echo "usage: $0 [play|test]" >&2; exit 2 ;;
esac
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
[ "$SET" = test ] || exit 0
# A decimal-comma locale, so the readers' locale tests run instead of being skipped.
if ! locale -a 2>/dev/null | grep -qi '^pl_PL\.utf-\?8$'; then
  if [ -f /etc/locale.gen ] && command -v locale-gen >/dev/null; then
    $SUDO sed -i 's/^# *\(pl_PL\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^pl_PL\.UTF-8 UTF-8' /etc/locale.gen || echo 'pl_PL.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen
  else
    $SUDO localedef -i pl_PL -f UTF-8 pl_PL.UTF-8
  fi
fi
