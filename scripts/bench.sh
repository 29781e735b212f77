#!/usr/bin/env bash
# Runs every benchmark of bench/ and prints one table: each figure with its goal beside it.
#
#   scripts/bench.sh                 builds the benchmarks in build/ (or $BUILD_DIR) and runs them
#   BENCH_OUT=dir scripts/bench.sh   keeps each benchmark's JSON output in dir
#
# The GL benchmarks need an X display; without DISPLAY they run under xvfb-run. Timings on a busy
# machine come out slower than on an idle one: run it with nothing else going on.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
OUT=${BENCH_OUT:-$(mktemp -d)}
mkdir -p "$OUT"

BENCHES=()
for src in bench/bench_*.cpp; do BENCHES+=("$(basename "$src" .cpp)"); done
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
  cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELBRANT_BENCH=ON >/dev/null
else
  cmake -S . -B "$BUILD_DIR" -DVELBRANT_BENCH=ON >/dev/null
fi
echo "building ${BENCHES[*]} in $BUILD_DIR ..." >&2
if ! cmake --build "$BUILD_DIR" -j"$(nproc)" --target velbrant velbrant-data "${BENCHES[@]}" >/dev/null; then
  echo "the benchmarks did not build: they need Google Benchmark (scripts/install-deps.sh)" >&2
  exit 1
fi

display_wrap=()
if [ -z "${DISPLAY:-}" ]; then display_wrap=(xvfb-run -a -s "-screen 0 1280x1024x24"); fi

# --- Run everything, each into its own JSON file. ---
for b in "${BENCHES[@]}"; do
  exe="$BUILD_DIR/bench/$b"
  [ -x "$exe" ] || { echo "  $b: not built, left out" >&2; continue; }
  echo "running $b ..." >&2
  wrap=()
  [[ $b == bench_gl_* ]] && wrap=("${display_wrap[@]}")
  if ! "${wrap[@]}" "$exe" --benchmark_format=json --benchmark_out="$OUT/$b.json" \
      --benchmark_out_format=json >"$OUT/$b.stdout" 2>"$OUT/$b.stderr"; then
    echo "  $b: failed (see $OUT/$b.stderr)" >&2
  fi
done
# Resident memory after each load: a separate run with the game's load diagnostics on, so the
# timing above carries none of their cost.
if [ -x "$BUILD_DIR/bench/bench_gl_load" ]; then
  rm -f "$OUT/loads.txt"
  VELBRANT_DIAG_FILE="$OUT/loads.txt" "${display_wrap[@]}" "$BUILD_DIR/bench/bench_gl_load" \
    --benchmark_filter=LoadAssets --benchmark_repetitions=4 >/dev/null 2>&1 || true
fi

# The real game driven with both mirrors for about 30 s on an X screen of its own: the clock's
# frame counter, one figure a second in the diagnostics file, says whether it holds 50 ticks a
# second. driveGame NAME SCREEN OPTION...: the generated Opcje.ini with the options replaced;
# the option tiles=NXxNZ lays the route NX by NZ times side by side first (scripts/tile-route.sh).
driveGame() {
  local name=$1 screen=$2 game_tree game_bin
  shift 2
  echo "driving the game ($name) for 30 s ..." >&2
  game_tree=$(mktemp -d)
  game_bin=$(cd "$BUILD_DIR" && pwd)/velbrant
  "$BUILD_DIR/velbrant-data" "$game_tree" >/dev/null
  for option in "$@"; do
    case $option in
      tiles=*) scripts/tile-route.sh "$game_tree/Dane/Trasy/Test/Plansza.qx" "${option#tiles=}" ;;
      *) sed -i "s/^${option%%=*}=.*/$option/" "$game_tree/Opcje.ini" ;;
    esac
  done
  rm -f "$OUT/game_fps_$name.txt"
  (cd "$game_tree" && XDG_RUNTIME_DIR="$game_tree" VELBRANT_NO_DIALOGS=1 VELBRANT_DIAG_FILE="$OUT/game_fps_$name.txt" \
    xvfb-run -a -s "-screen 0 ${screen}x24" bash -c '
      "$1" V >/dev/null 2>&1 & game=$!
      for _ in $(seq 100); do xdotool search --name Velbrant >/dev/null 2>&1 && break; sleep 0.2; done
      sleep 3
      k() { xdotool key --delay 300 "$@"; }
      k l l; xdotool keydown s; sleep 4; xdotool keyup s; k q
      : >"$2"  # count from here: the bus drives
      for _ in 1 2 3; do xdotool keydown Up; sleep 4; xdotool keyup Up; xdotool keydown Left; sleep 1
        xdotool keyup Left; xdotool keydown Right; sleep 1; xdotool keyup Right; sleep 4; done
      kill $game; wait $game 2>/dev/null' _ "$game_bin" "$OUT/game_fps_$name.txt") || true
  rm -rf "$game_tree"
}
GAMES=("1024x768 window:1024x768:Okno=0:Rozdzielczosc=5" "1024x768 scaled:1024x768:Okno=2:Rozdzielczosc=5"
       "default start on 1920x1080:1920x1080"
       "640x480 on a route of 49k triangles:640x480:Okno=0:Rozdzielczosc=3:tiles=3x2"
       "default start on a route of 49k triangles:1920x1080:tiles=3x2")
if [ -x "$BUILD_DIR/velbrant" ] && [ -x "$BUILD_DIR/velbrant-data" ] && command -v xdotool >/dev/null; then
  for g in "${GAMES[@]}"; do
    IFS=: read -r -a parts <<<"$g"
    driveGame "${parts[0]// /_}" "${parts[@]:1}"
  done
fi

# --- Flatten the JSON: one line "bench<TAB>benchmark<TAB>key<TAB>value" per figure. ---
FLAT="$OUT/figures.tsv"
: >"$FLAT"
for f in "$OUT"/*.json; do
  [ -f "$f" ] || continue
  awk -v bench="$(basename "$f" .json)" '
    /"benchmarks": *\[/ { inside = 1; next }
    !inside { next }
    /^ *"[A-Za-z_0-9]+": / {
      line = $0
      sub(/^ *"/, "", line)
      key = line; sub(/".*/, "", key)
      value = line; sub(/^[^"]*": */, "", value); sub(/,$/, "", value); gsub(/"/, "", value)
      if (key == "name") name = value
      else if (name != "") printf "%s\t%s\t%s\t%s\n", bench, name, key, value
    }' "$f" >>"$FLAT"
done

# figure BENCH NAME_REGEX KEY: the first matching value, or nothing.
figure() {
  awk -F'\t' -v b="$1" -v re="$2" -v k="$3" '$1 == b && $2 ~ re && $3 == k { print $4; exit }' "$FLAT"
}
# timeIn BENCH NAME_REGEX UNIT: real_time converted to ns, us, ms or s.
timeIn() {
  local t u
  t=$(figure "$1" "$2" real_time)
  u=$(figure "$1" "$2" time_unit)
  [ -n "$t" ] || return 0
  awk -v t="$t" -v u="$u" -v want="$3" 'BEGIN {
    f["ns"] = 1e-9; f["us"] = 1e-6; f["ms"] = 1e-3; f["s"] = 1
    printf "%.6g", t * f[u] / f[want] }'
}

ROWS=()
# row MEASURE FIGURE UNIT GOAL-TEXT VERDICT-EXPR: VERDICT-EXPR is an awk condition over x.
row() {
  local measure=$1 value=$2 unit=$3 goal=$4 cond=$5 shown verdict
  if [ -z "$value" ]; then
    shown="n/a"; verdict="not measured"
  else
    shown=$(awk -v x="$value" 'BEGIN { printf (x >= 100 ? "%.0f" : (x >= 10 ? "%.1f" : (x >= 0.01 ? "%.3f" : "%.3g"))), x }')" $unit"
    if [ -z "$cond" ]; then verdict="reported"
    elif awk -v x="$value" "BEGIN { exit !($cond) }"; then verdict="met"
    else verdict="MISSED"; fi
  fi
  ROWS+=("$measure|$shown|$goal|$verdict")
}
ratio() {  # ratio A B: A / B, or nothing when either is missing
  [ -n "$1" ] && [ -n "$2" ] && awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.4g", a / b }'
}

row "simulation step, median of single steps" "$(figure bench_sim 'Percentiles' median_us)" "us" "< 100 us" "x < 100"
row "simulation step, 99th percentile" "$(figure bench_sim 'Percentiles' p99_us)" "us" "< 100 us" "x < 100"
row "simulation step, mean over runs" "$(timeIn bench_sim 'SimulationStep/.*_mean' us)" "us" "< 100 us" "x < 100"
# Each run tick beside the same tick in the plain order (every route piece, the old drawing order).
for res in "640 480" "1024 768"; do
  set -- $res
  re="RunTick/width:$1/height:$2/views:3/plain:0/tiles:1/"
  goal=10 p99=16
  [ "$1" = 640 ] && goal=5 p99=20  # a fraction of the tick even on a software renderer
  row "run tick ${1}x$2 (both mirrors), median" "$(figure bench_gl_frame "$re" median_ms)" "ms" "<= $goal ms" "x <= $goal"
  row "run tick ${1}x$2 (both mirrors), 99th pct" "$(figure bench_gl_frame "$re" p99_ms)" "ms" "<= $p99 ms" "x <= $p99"
  row "  the same in the plain order, median" "$(figure bench_gl_frame "${re/plain:0/plain:1}" median_ms)" "ms" "(before)" ""
  row "  the same in the plain order, 99th pct" "$(figure bench_gl_frame "${re/plain:0/plain:1}" p99_ms)" "ms" "(before)" ""
done
row "run tick 1024x768, main view only, median" "$(figure bench_gl_frame 'RunTick/width:1024/height:768/views:1/plain:0' median_ms)" "ms" "-" ""
row "run tick 64x48 (geometry), median" "$(figure bench_gl_frame 'RunTick/width:64/height:48/views:3/plain:0' median_ms)" "ms" "-" ""
# The route tiled to 4 and 16 times its area at the same density: the frame should follow the view.
tick1=$(figure bench_gl_frame 'RunTick/width:640/height:480/views:3/plain:0/tiles:1/' median_ms)
for tiles in 4 16; do
  t=$(figure bench_gl_frame "RunTick/width:640/height:480/views:3/plain:0/tiles:$tiles/" median_ms)
  row "run tick 640x480, route ${tiles}x area, median" "$t" "ms" "-" ""
  row "  route ${tiles}x / route 1x" "$(ratio "$t" "$tick1")" "x" "<= 1.25x" "x <= 1.25"
  # Processor time of all threads: the same ratio, less shaken by a busy machine.
  row "  route ${tiles}x / route 1x, processor time" "$(ratio \
    "$(figure bench_gl_frame "RunTick/width:640/height:480/views:3/plain:0/tiles:$tiles/" process_cpu_ms)" \
    "$(figure bench_gl_frame 'RunTick/width:640/height:480/views:3/plain:0/tiles:1/' process_cpu_ms)")" "x" "<= 1.25x" "x <= 1.25"
done
row "  route 16x in the plain order, median" "$(figure bench_gl_frame 'RunTick/width:640/height:480/views:3/plain:1/tiles:16/' median_ms)" "ms" "(before)" ""
for g in "${GAMES[@]}"; do
  name=${g%%:*} fps="$OUT/game_fps_${name// /_}.txt"
  if [ -s "$fps" ]; then
    row "game $name, slowest second" "$(awk -F= 'NR == 1 || $2 < m { m = $2 } END { print m }' "$fps")" \
      "ticks" ">= 49 ticks/s" "x >= 49"
    row "game $name, ticks over the run" "$(awk -F= '{ t += $2 } END { print t / NR }' "$fps")" \
      "ticks/s" "50 ticks/s" "x >= 49.5"
  else
    row "game $name, ticks per second" "" "ticks/s" "50 ticks/s" ""
  fi
done
row "run tick 1024x768, processor time" "$(figure bench_gl_frame 'RunTick/width:1024/height:768/views:3' process_cpu_ms)" "ms" "(all threads)" ""
load_s=$(timeIn bench_gl_load '^LoadAssets' s)
read_s=$(timeIn bench_gl_load '^ReadTheSameBytes' s)
row "loadAssets, one new game" "$load_s" "s" "< 1 s" "x < 1"
row "reading the same bytes" "$read_s" "s" "-" ""
for pic in "rgb24_512:24-bit 512x512" "indexed8_512:8-bit 512x512" "rgb24_64:24-bit 64x64"; do
  key=${pic%%:*}
  ours=$(timeIn bench_bmp "^ours/$key\$" us)
  # SDL's load hands out its own layout: with its conversion to the same packed RGB as ours.
  sdl=$(timeIn bench_bmp "^sdlLoad/${key}_to_rgb\$" us)
  row "BMP ${pic#*:}: our decoder" "$ours" "us" "-" ""
  row "BMP ${pic#*:}: SDL_LoadBMP + to RGB24" "$sdl" "us" "-" ""
  row "BMP ${pic#*:}: ours / SDL load + RGB24" "$(ratio "$ours" "$sdl")" "x" "<= 1x" "x <= 1"
done
row "BMP 1 KB bomb of 16384x16384: refused" "$(timeIn bench_bmp '^compact/bomb_16384$' ms)" "ms" "< 1 ms" "x < 1"
row "BMP 8192x8192 in 1 KB of run length: decoded" "$(timeIn bench_bmp '^compact/largest_8192$' ms)" "ms" "< 100 ms" "x < 100"
if [ -s "$OUT/loads.txt" ]; then
  rss_first=$(awk -F'rss=' 'NR == 1 { print $2 / 1024 }' "$OUT/loads.txt")
  rss_last=$(awk -F'rss=' 'END { print $2 / 1024 }' "$OUT/loads.txt")
  loads=$(wc -l <"$OUT/loads.txt")
  row "resident memory after the first load" "$rss_first" "MiB" "report" ""
  row "resident memory after load $loads" "$rss_last" "MiB" "flat across reloads" ""
  row "growth from load 2 to load $loads" \
    "$(awk -F'rss=' 'NR == 2 { a = $2 } END { printf "%.1f", ($2 - a) / 1024 }' "$OUT/loads.txt")" "MiB" \
    "flat (< 12 MiB)" "x < 12"
else
  row "resident memory after load" "" "MiB" "flat across reloads" ""
fi
# Whatever else bench/ measures, with its time and no goal of this report's.
while IFS=$'\t' read -r b name; do
  case "$b" in bench_sim | bench_gl_frame | bench_gl_load | bench_bmp) continue ;; esac
  v=$(timeIn "$b" "^$(printf '%s' "$name" | sed 's/[][\.*^$/]/\\&/g')\$" ms)
  mt=$(figure "$b" "^$(printf '%s' "$name" | sed 's/[][\.*^$/]/\\&/g')\$" median_ms)
  row "$b ${name%%/min_time*}" "${mt:-$v}" "ms" "-" ""
done < <(awk -F'\t' '$3 == "real_time" { print $1 "\t" $2 }' "$FLAT")

echo
printf '%-48s %14s  %-22s %s\n' "measure" "figure" "goal" "verdict"
printf '%-48s %14s  %-22s %s\n' "-------" "------" "----" "-------"
for r in "${ROWS[@]}"; do
  IFS='|' read -r m v g d <<<"$r"
  printf '%-48s %14s  %-22s %s\n' "$m" "$v" "$g" "$d"
done
echo
echo "machine: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg); raw output in $OUT" >&2
