#!/usr/bin/env bash
# The Debian package as a player meets it, from a built build folder (default build/), under X
# (xvfb-run -a -s "-screen 0 640x480x24" scripts/test-deb.sh): made by cpack from the install
# rules, free of lintian errors, installed with apt-get, started through velbrant-play until the
# menu is drawn, purged, and nothing of its files left behind. Needs root or sudo.
set -euo pipefail
BUILD=$(cd "${1:-build}" && pwd)
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
work=$(mktemp -d)
game=""
cleanup() {
    [ -z "$game" ] || kill "$game" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "test-deb: $*" >&2; exit 1; }

(cd "$BUILD" && cpack -G DEB -B "$work/out" >/dev/null) || fail "cpack failed"
deb=$(ls "$work"/out/velbrant_*.deb)
lintian --fail-on error "$deb" || fail "lintian found errors"
if dpkg -s velbrant >/dev/null 2>&1; then fail "velbrant is installed already"; fi
$SUDO apt-get install -y --no-install-recommends "$deb" >/dev/null
dpkg -L velbrant > "$work/files"

# The menu is drawn when the selected "Nowa gra" button shows its amber (as the e2e tests read it).
mkdir -p "$work/home" "$work/run"
chmod 700 "$work/run"
XDG_DATA_HOME="$work/home" XDG_RUNTIME_DIR="$work/run" VELBRANT_NO_DIALOGS=1 /usr/games/velbrant-play &
game=$!
menu=0
for _ in $(seq 60); do
    sleep 1
    share=$(import -window root png:- | convert png:- -crop 240x14+128+173 +repage \
        -fx '(r>0.706 && g>0.39 && g<0.92 && b<0.47) ? 1 : 0' -format '%[fx:mean]' info: || echo 0)
    if awk -v s="$share" 'BEGIN { exit !(s > 0.5) }'; then menu=1; break; fi
done
kill "$game"
wait "$game" || true
game=""
[ "$menu" = 1 ] || fail "the menu never showed"

$SUDO apt-get purge -y velbrant >/dev/null
left=0
while IFS= read -r path; do
    [ -e "$path" ] || [ -L "$path" ] || continue
    # A folder may stay when other packages fill it or own it (/usr/share/icons/hicolor, /usr/games).
    if [ -d "$path" ] && { [ -n "$(ls -A "$path")" ] || dpkg -S "$path" >/dev/null 2>&1; }; then continue; fi
    echo "test-deb: left behind: $path" >&2
    left=1
done < "$work/files"
[ "$left" = 0 ] || fail "the purge left files"
echo "test-deb: the package builds, installs, starts to the menu and purges cleanly"
