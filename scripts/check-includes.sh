#!/usr/bin/env bash
# Keeps the folders in one line: each folder of the game may include only itself and the folders
# below it (README, Layout). Reads every '#include "folder/..."' line; tests, benchmarks and fuzz
# targets may include anything. Usage: scripts/check-includes.sh [ROOT]; exits 1 on a wrong include.
set -euo pipefail
root=${1:-$(dirname "$0")/..}
cd "$root"

# Bottom first.
order=(platform core sound sim assets render flow app tools)

rank() {
    local i
    for i in "${!order[@]}"; do
        [[ ${order[$i]} == "$1" ]] && { echo "$i"; return; }
    done
    echo -1
}

bad=0
for from in "${order[@]}"; do
    [[ -d $from ]] || continue
    fromRank=$(rank "$from")
    while IFS=: read -r file line text; do
        target=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^/"]+)\/.*/\1/' <<<"$text")
        targetRank=$(rank "$target")
        if (( targetRank < 0 )); then
            echo "$file:$line: includes from unknown folder $target/" >&2
            bad=1
        elif (( targetRank > fromRank )); then
            echo "$file:$line: $from/ may not include $target/ (it sits above)" >&2
            bad=1
        elif [[ $from != platform && $from != tools && $text =~ \"platform/(sdl|openal|null)/ ]]; then
            # The game sees the platform page only; which implementation it gets is the linker's choice.
            echo "$file:$line: $from/ may include only the platform page, not one implementation" >&2
            bad=1
        fi
    done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^/"]+/' "$from" --include='*.cpp' --include='*.h' || true)
done
if (( bad )); then
    echo "check-includes: an include goes against the folder order (${order[*]})" >&2
    exit 1
fi
echo "check-includes: every include follows ${order[*]}"
