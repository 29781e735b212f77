#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer + UBSan) and runs each for a fixed time,
# seeded from fuzz/corpus/ and from a tree the data generator makes.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]       default: 20 s each, every fuzz/fuzz_*.cpp target
#   scripts/fuzz.sh 600                          the long run: ten minutes per target
#   scripts/fuzz.sh 60 fuzz_bmp fuzz_qx          only some targets
#
# Environment:
#   FUZZ_BUILD_DIR  build folder for the instrumented build (default build-fuzz)
#   FUZZ_WORK_DIR   where the grown corpora, the logs and any crash inputs go (default
#                   $FUZZ_BUILD_DIR/fuzz-work; kept between runs, so a long run goes on from the last)
#   FUZZ_PARALLEL   targets run at once (default 1)
#   VELBRANT_DATA   a built velbrant-data for the generated seeds (default build/velbrant-data;
#                   without it only the committed seeds are used)
#
# A single allocation above 256 MB is a finding too: no input of 64 KB should need that much (a
# picture that asks for it is a picture bomb).
#
# Ends non-zero if a target found a crash, a leak, a hang or a failed check; the input that did
# it is named in the summary (keep it as a test in tests/test_regress_*.cpp once mended).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
SECONDS_EACH=${1:-20}
shift || true
BUILD_DIR=${FUZZ_BUILD_DIR:-build-fuzz}
WORK_DIR=${FUZZ_WORK_DIR:-$BUILD_DIR/fuzz-work}
PARALLEL=${FUZZ_PARALLEL:-1}
DATA_TOOL=${VELBRANT_DATA:-build/velbrant-data}

if [ "$#" -gt 0 ]; then
  TARGETS=("$@")
else
  TARGETS=()
  for src in fuzz/fuzz_*.cpp; do TARGETS+=("$(basename "$src" .cpp)"); done
fi

echo "== fuzz: building ${#TARGETS[@]} targets in $BUILD_DIR"
CC=clang CXX=clang++ cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELBRANT_FUZZ=ON -DVELBRANT_TESTS=OFF -DVELBRANT_BENCH=OFF >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)" --target "${TARGETS[@]}" >/dev/null

mkdir -p "$WORK_DIR"
# Scratch files of the readers that take a path go to memory when the machine has it.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi

# Seeds from a generated tree: the game's own files of each kind, the small ones (libFuzzer's
# input length follows its largest seed).
SEED_DIR="$WORK_DIR/generated-seeds"
if [ ! -d "$SEED_DIR" ] && [ -x "$DATA_TOOL" ]; then
  tree=$(mktemp -d)
  if "$DATA_TOOL" "$tree" >/dev/null 2>&1; then
    mkdir -p "$SEED_DIR"/{options,qx,tex,bmp,roz,busa,misji,radio_names,trasy}
    seed() {  # seed KIND PATTERN...
      local kind=$1; shift
      for pattern in "$@"; do
        find "$tree" -type f -name "$pattern" -size -64k | while read -r f; do
          cp "$f" "$SEED_DIR/$kind/$(echo "${f#"$tree"/}" | tr '/' '_')"
        done
      done
    }
    seed options 'Opcje.ini'
    seed qx '*.qx'
    seed tex '*.tex'
    seed bmp '*.bmp' '*.gfx'
    seed roz '*.roz'
    seed busa '*.busa'
    seed misji '*.misji'
    seed trasy '*.trasy' '*.trasa'
    find "$tree" -printf '%f\n' >"$SEED_DIR/radio_names/tree-names.txt"
    ls "$tree/Dane/Radio" >"$SEED_DIR/radio_names/radio-folder.txt"
  fi
  rm -rf "$tree"
fi

run_target() {
  local target=$1 kind=${1#fuzz_}
  local corpus="$WORK_DIR/corpus/$kind" artifacts="$WORK_DIR/artifacts/$kind/"
  mkdir -p "$corpus" "$artifacts"
  local seeds=("$ROOT/fuzz/corpus/$kind")
  [ -d "$SEED_DIR/$kind" ] && seeds+=("$SEED_DIR/$kind")
  local log="$WORK_DIR/$kind.log"
  local status=0
  ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:halt_on_error=1} \
  UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1} \
    nice -n 10 "$BUILD_DIR/fuzz/$target" -max_total_time="$SECONDS_EACH" -max_len=65536 -timeout=10 \
      -rss_limit_mb=2560 -malloc_limit_mb=256 -print_final_stats=1 -artifact_prefix="$artifacts" \
      "$corpus" "${seeds[@]}" >"$log" 2>&1 || status=$?
  local execs rate units
  execs=$(awk '/stat::number_of_executed_units/ {print $NF}' "$log")
  rate=$(awk '/stat::average_exec_per_sec/ {print $NF}' "$log")
  units=$(find "$corpus" -type f | wc -l)
  if [ "$status" -eq 0 ]; then
    printf '%-18s %8ss %12s runs %8s exec/s %6s inputs  no finding\n' "$target" "$SECONDS_EACH" "${execs:-?}" "${rate:-?}" "$units"
  else
    local crash
    crash=$(grep -o "Test unit written to [^ ]*" "$log" | tail -1 | sed 's/Test unit written to //')
    printf '%-18s %8ss %12s runs %8s exec/s %6s inputs  FINDING: %s (log %s)\n' "$target" "$SECONDS_EACH" "${execs:-?}" "${rate:-?}" "$units" "${crash:-see log}" "$log"
    grep -m3 -E 'ERROR|fuzz check failed|runtime error' "$log" | sed 's/^/    /' || true
  fi
  return "$status"
}

echo "== fuzz: ${SECONDS_EACH} s per target, ${PARALLEL} at a time; work in $WORK_DIR"
failed=0
pids=()
for target in "${TARGETS[@]}"; do
  run_target "$target" &
  pids+=("$!")
  if [ "${#pids[@]}" -ge "$PARALLEL" ]; then
    wait "${pids[0]}" || failed=1
    pids=("${pids[@]:1}")
  fi
done
for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
if [ "$failed" -ne 0 ]; then
  echo "== fuzz: FINDINGS (inputs under $WORK_DIR/artifacts/)"
  exit 1
fi
echo "== fuzz: no findings"
