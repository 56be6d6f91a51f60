#!/usr/bin/env bash
# Builds Mokuro and its simulated terminal adapter, puts the adapter on a pseudo-terminal
# with an incoming call every 20 seconds, and runs Mokuro against it with --log in a fresh
# data folder. Without a display it runs on Xvfb, so the log still shows it at work.
# Stop it by closing the window (終了) or with Ctrl+C. Arguments go to the program; without
# any it starts with /r, asking the adapter for the incoming numbers at once.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
. "$repo/scripts/packages.sh"
mokuro_install_packages

build=${MOKURO_BUILD_ROOT:-$repo/build}/plain
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target mokuro ta-sim

home=$(mktemp -d "${TMPDIR:-/tmp}/mokuro-run-XXXXXX")
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  echo "Data folder kept for a look: $home"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The adapter keeps its stdin open through a FIFO so that it runs until we stop it.
mkfifo "$home/adapter-input"
"$build/tools/ta-sim" --link "$home/port" --call-every 20 --log "$home/adapter-received.log" \
  <"$home/adapter-input" >"$home/adapter.out" 2>&1 &
pids+=($!)
exec 3>"$home/adapter-input"
for _ in $(seq 100); do [ -e "$home/port" ] && break; sleep 0.1; done
[ -e "$home/port" ] || { echo "The simulated adapter did not start:"; cat "$home/adapter.out"; exit 1; }

printf '[Config]\r\nPort=%s\r\n' "$home/port" >"$home/Mokuro.ini"
printf '0312345678=Office\r\n09012345678=Mobile\r\n' >"$home/PhoneLst.txt"

echo "Simulated adapter on $(head -n 1 "$home/adapter.out"), data folder $home"
echo "Close the window (終了) or press Ctrl+C to stop."
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: running on Xvfb; watch the log below."
  MOKURO_HOME=$home xvfb-run -a "$build/mokuro" --log "${@:-/r}" &
else
  MOKURO_HOME=$home "$build/mokuro" --log "${@:-/r}" &
fi
pids+=($!)
wait "${pids[-1]}" || true
