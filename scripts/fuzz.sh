#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/) with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in a build of their own, and runs each over its seed corpus
# and what earlier runs found. A crash or a broken invariant fails the script; the input
# that caused it is kept under build/fuzz/artifacts/.
# Usage: scripts/fuzz.sh [SECONDS, default 60] [TARGET...]
#   TARGET: call_monitor, date_text, phone_list, profile_file, reply_framer (all by default)
#   MOKURO_FUZZ_RUNS=N ends each target after N executions (SECONDS 0: no time limit).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
. "$repo/scripts/packages.sh"
mokuro_install_packages

seconds=${1:-60}
shift $(($# > 0 ? 1 : 0))
targets=("$@")
if ((${#targets[@]} == 0)); then
  for source in "$repo"/fuzz/*_fuzzer.cpp; do
    name=$(basename "$source")
    targets+=("${name%_fuzzer.cpp}")
  done
fi

dir=${MOKURO_BUILD_ROOT:-$repo/build}/fuzz
cmake -S "$repo" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DMOKURO_FUZZ=ON \
  -DMOKURO_SANITIZE=address,undefined -DMOKURO_GUI=OFF -DMOKURO_TESTS=OFF -DMOKURO_BENCH=OFF >/dev/null
cmake --build "$dir" -j "$(nproc)" --target "${targets[@]/%/_fuzzer}"

# The targets write their files where they stay in memory when it can: on a disk every
# flush would make each execution wait.
[ -d /dev/shm ] && [ -w /dev/shm ] && export TMPDIR=/dev/shm
# A small quarantine: the default one makes each execution touch fresh pages.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=16
mkdir -p "$dir/artifacts"
for target in "${targets[@]}"; do
  corpus=$dir/corpus/$target
  log=$dir/$target.log
  mkdir -p "$corpus"
  # Longer inputs find little more and cost time, but for the settings file, whose
  # values are seen up to 2047 bytes.
  max_len=1024
  [ "$target" != profile_file ] || max_len=4096
  flags=(-max_total_time="$seconds" -max_len=$max_len -timeout=60 -artifact_prefix="$dir/artifacts/$target-"
    -print_final_stats=1)
  [ -z "${MOKURO_FUZZ_RUNS:-}" ] || flags+=(-runs="$MOKURO_FUZZ_RUNS")
  [ ! -f "$repo/fuzz/$target.dict" ] || flags+=(-dict="$repo/fuzz/$target.dict")
  if ! "$dir/fuzz/${target}_fuzzer" "${flags[@]}" "$corpus" "$repo/fuzz/corpus/$target" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "=== fuzz $target failed; input kept in $dir/artifacts/, whole log in $log"
    exit 1
  fi
  runs=$(awk '/stat::number_of_executed_units/ {print $2}' "$log")
  speed=$(awk '/stat::average_exec_per_sec/ {print $2}' "$log")
  coverage=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -n 1)
  echo "=== fuzz $target: $runs executions, $speed/s, $coverage, corpus $(ls "$corpus" | wc -l) found + seeds"
done
