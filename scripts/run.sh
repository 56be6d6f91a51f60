#!/usr/bin/env bash
# Builds Mokuro. The program and its simulated adapter are added as they are built; for now
# this builds the libraries and their tests.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
. "$repo/scripts/packages.sh"
mokuro_install_packages
dir=${MOKURO_BUILD_ROOT:-$repo/build}/plain
cmake -S "$repo" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" -j "$(nproc)"
echo "Built in $dir (libraries under src/, tests under tests/, benchmarks under bench/)."
