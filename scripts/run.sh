#!/usr/bin/env bash
# Builds Mokuro and its simulated terminal adapter, puts the adapter on a pseudo-terminal
# with an incoming call every 20 seconds, and runs Mokuro against it with --log in a fresh
# data folder. Arguments go to the program; without any it starts with /r, asking the
# adapter for the incoming numbers at once. Without a display it runs on Xvfb, and without
# arguments with --auto-check, so that the log shows each call as it comes.
# Stop it by closing the window (終了) or with Ctrl+C: the program is ended first, while its
# display is still there, so that it saves its settings; then the display and the adapter.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
. "$repo/scripts/packages.sh"
mokuro_install_packages

build=${MOKURO_BUILD_ROOT:-$repo/build}/plain
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target mokuro ta-sim

home=$(mktemp -d "${TMPDIR:-/tmp}/mokuro-run-XXXXXX")
# Each helper runs in a session of its own, out of reach of the terminal's Ctrl+C, so that
# the order in which they end is this script's.
program=
helpers=()
cleanup() {
  if [ -n "$program" ]; then
    kill -TERM "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
  fi
  for pid in "${helpers[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  echo "Data folder kept for a look: $home"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 129' HUP
trap 'exit 143' TERM

# The adapter keeps its stdin open through a FIFO so that it runs until we stop it.
mkfifo "$home/adapter-input"
setsid "$build/tools/ta-sim" --link "$home/port" --call-every 20 --log "$home/adapter-received.log" \
  <"$home/adapter-input" >"$home/adapter.out" 2>&1 &
helpers+=($!)
exec 3>"$home/adapter-input"
for _ in $(seq 100); do [ -e "$home/port" ] && break; sleep 0.1; done
[ -e "$home/port" ] || { echo "The simulated adapter did not start:"; cat "$home/adapter.out"; exit 1; }

printf '[Config]\r\nPort=%s\r\n' "$home/port" >"$home/Mokuro.ini"
printf '0312345678=Office\r\n09012345678=Mobile\r\n' >"$home/PhoneLst.txt"

echo "Simulated adapter on $(head -n 1 "$home/adapter.out"), data folder $home"
arguments=("${@:-/r}")
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  # Xvfb picks a free display and writes its number once it takes connections.
  setsid Xvfb -displayfd 4 -screen 0 1024x768x24 -nolisten tcp 4>"$home/display" >"$home/xvfb.log" 2>&1 &
  helpers+=($!)
  for _ in $(seq 100); do [ -s "$home/display" ] && break; sleep 0.1; done
  [ -s "$home/display" ] || { echo "Xvfb did not start:"; cat "$home/xvfb.log"; exit 1; }
  export DISPLAY=:$(head -n 1 "$home/display")
  [ $# -gt 0 ] || arguments=(--auto-check)
  echo "No display: running on Xvfb $DISPLAY with ${arguments[*]}; watch the log below."
fi
echo "Close the window (終了) or press Ctrl+C to stop."
MOKURO_HOME=$home setsid "$build/mokuro" --log "${arguments[@]}" &
program=$!
wait "$program" || true
program=
