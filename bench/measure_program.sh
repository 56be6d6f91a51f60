#!/usr/bin/env bash
# Measures the built program against the simulated adapter on Xvfb: the time from start to
# the window shown, and the resident memory and processor time after a minute of
# auto-check at a 1-second period.
# Usage: bench/measure_program.sh [build folder, default build/plain] [seconds, default 60]
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$repo/build/plain}
seconds=${2:-60}
home=$(mktemp -d)
display=:$((90 + RANDOM % 100))
cleanup() { kill "${mk:-}" "${sim:-}" "${xvfb:-}" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$home"; }
trap cleanup EXIT

Xvfb "$display" -screen 0 640x400x24 >/dev/null 2>&1 & xvfb=$!
"$build/tools/ta-sim" --link "$home/port" --call-every 20 </dev/null >"$home/sim.out" 2>&1 & sim=$!
for _ in $(seq 100); do [ -e "$home/port" ] && break; sleep 0.05; done
printf '[Config]\r\nPort=%s\r\nTimer=1000\r\n' "$home/port" >"$home/Mokuro.ini"
printf '0312345678=Office\r\n' >"$home/PhoneLst.txt"
export QT_QPA_PLATFORM=xcb
for _ in $(seq 100); do DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done

start=$(date +%s.%N)
DISPLAY=$display MOKURO_HOME=$home "$build/mokuro" --log 2>"$home/log" & mk=$!
until grep -q "window shown" "$home/log"; do sleep 0.01; done
shown=$(date +%s.%N)
echo "start to window shown: $(echo "($shown - $start) * 1000" | bc) ms"

# The auto-check box: the window sits at the top left corner, without a window manager.
DISPLAY=$display xdotool mousemove 293 19 click 1
sleep 2
grep -q "auto-check on" "$home/log" || { echo "auto-check did not start"; exit 1; }
ticks0=$(awk '{print $14 + $15}' "/proc/$mk/stat")
sleep "$seconds"
ticks1=$(awk '{print $14 + $15}' "/proc/$mk/stat")
hz=$(getconf CLK_TCK)
echo "auto-check queries in ${seconds} s: $(grep -c 'command sent' "$home/log")"
echo "processor time over ${seconds} s: $(echo "scale=3; ($ticks1 - $ticks0) * 1000 / $hz" | bc) ms"
echo "resident memory: $(awk '/VmRSS/ {print $2, $3}' "/proc/$mk/status")"
