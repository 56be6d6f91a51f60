#!/usr/bin/env bash
# Builds Mokuro three times (plain, with AddressSanitizer and UndefinedBehaviorSanitizer,
# with ThreadSanitizer for the code that runs without Qt) and runs every test in each,
# then runs each fuzz target for a few seconds (scripts/fuzz.sh).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
. "$repo/scripts/packages.sh"
mokuro_install_packages

build_root=${MOKURO_BUILD_ROOT:-$repo/build}
jobs=$(nproc)

run_suite() {
  local name=$1
  shift
  local dir=$build_root/$name
  echo "=== $name: configure and build in $dir"
  cmake -S "$repo" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMOKURO_BENCH=ON "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  echo "=== $name: tests"
  ctest --test-dir "$dir" --output-on-failure --no-tests=error -j "$jobs"
}

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}

run_suite plain
run_suite asan -DMOKURO_SANITIZE=address,undefined -DMOKURO_BENCH=OFF
run_suite tsan -DMOKURO_SANITIZE=thread -DMOKURO_GUI=OFF -DMOKURO_BENCH=OFF
echo "=== fuzz: each target for a few seconds over its corpus"
"$repo/scripts/fuzz.sh" 3
echo "=== all test suites passed"
