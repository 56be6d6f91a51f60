#!/usr/bin/env bash
# Measures the running program's auto-check against the simulated adapter, beside
# bench/pty_poller, a minimal C program that polls the same pseudo-terminal, as the floor:
#   processor time per query  every thread's run time, /proc/PID/task/*/schedstat (ns)
#   wakeups per query         every thread's voluntary context switches (/proc/PID/task/*/status)
#   resident memory           VmRSS once the polling runs, and at the end
#   start-up                  from the start of the process to the map of its window
# Queries are counted where the adapter receives them. Each run starts the simulated
# adapter, the program (shown, on an X server of its own, its auto-check switched on
# with its Alt+A key) and then the poller afresh, so that the machine's load falls on
# both alike. Prints each run, then the mean, standard deviation and range of each
# figure over the runs, and the ratio of processor time per query, program to floor.
# Usage: bench/measure_program.sh [-b BUILD] [-n RUNS] [-s SECONDS] [-p PERIOD_MS]
#   defaults: build/plain, 3 runs, 120 seconds of polling each, a period of 1000 ms
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=$repo/build/plain
runs=3
seconds=120
period=1000
while getopts b:n:s:p: option; do
  case $option in
    b) build=$OPTARG ;;
    n) runs=$OPTARG ;;
    s) seconds=$OPTARG ;;
    p) period=$OPTARG ;;
    *) sed -n 's/^# Usage: /Usage: /p' "$0" >&2; exit 2 ;;
  esac
done
for tool in "$build/mokuro" "$build/tools/ta-sim" "$build/bench/pty_poller"; do
  [ -x "$tool" ] || { echo "missing $tool: build with -DMOKURO_BENCH=ON" >&2; exit 1; }
done

work=$(mktemp -d)
# Stops what this script started and is still running: stopped processes were reaped, so
# no id is used again.
cleanup() {
  local running
  running=$(jobs -p)
  [ -z "$running" ] || kill $running 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "measure_program: $*" >&2
  exit 1
}

# Waits until the command succeeds, at most `limit` seconds.
wait_for() {
  local limit=$1
  shift
  local deadline=$((SECONDS + limit))
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.02
  done
}

# An X server on a display no other server holds: it picks the number itself.
Xvfb -displayfd 3 -nolisten tcp -screen 0 800x600x24 3>"$work/display" >"$work/xvfb.log" 2>&1 &
wait_for 20 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=:$(head -n 1 "$work/display")
root=$(xwininfo -root | awk '/Window id:/ {print $4}')

# Every thread's run time and voluntary switches, by thread id, as last seen: sampled
# every second, so a thread that ends loses at most its last second.
declare -A run_ns switches base_run_ns base_switches
sample_tasks() {
  local task tid ns rest key value
  for task in /proc/"$1"/task/*; do
    tid=${task##*/}
    { read -r ns rest <"$task/schedstat"; } 2>/dev/null || continue
    run_ns[$tid]=$ns
    while read -r key value; do
      [ "$key" != voluntary_ctxt_switches: ] || switches[$tid]=$value
    done 2>/dev/null <"$task/status" || true
  done
}

rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status"; }

queries_received() { tr -cd '\r' <"$run_dir/received" | wc -c; }
queries_reach() { (($(queries_received) >= $1)); }

# Sets cpu_ms, wakeups (per query) and rss0, rss1 (kB) for the process, over `seconds`
# of polling that has already begun.
measure_polling() {
  local pid=$1 tid elapsed q0 q1 cpu=0 woke=0
  wait_for 30 queries_reach $(($(queries_received) + 2)) || fail "no queries from process $pid"
  rss0=$(rss_kb "$pid")
  run_ns=() switches=()
  sample_tasks "$pid"
  base_run_ns=() base_switches=()
  for tid in "${!run_ns[@]}"; do
    base_run_ns[$tid]=${run_ns[$tid]}
    base_switches[$tid]=${switches[$tid]:-0}
  done
  q0=$(queries_received)
  for ((elapsed = 0; elapsed < seconds; ++elapsed)); do
    sleep 1
    sample_tasks "$pid"
  done
  q1=$(queries_received)
  rss1=$(rss_kb "$pid")
  for tid in "${!run_ns[@]}"; do
    cpu=$((cpu + run_ns[$tid] - ${base_run_ns[$tid]:-0}))
    woke=$((woke + ${switches[$tid]:-0} - ${base_switches[$tid]:-0}))
  done
  queries=$((q1 - q0))
  ((queries > 0)) || fail "no queries measured"
  cpu_ms=$(awk -v ns="$cpu" -v q="$queries" 'BEGIN {printf "%.4f", ns / q / 1e6}')
  wakeups=$(awk -v n="$woke" -v q="$queries" 'BEGIN {printf "%.2f", n / q}')
}

stop() {
  kill "$1"
  wait "$1" 2>/dev/null || true
}

# xev reports the root's children as they change, one event a few lines, into a FIFO
# that the script reads as the lines come.
# Reads up to the next event of the kind, waiting at most `limit` seconds for each line;
# sets event_line to its second line.
next_event() {
  local kind=$1 limit=$2 line
  while read -r -t "$limit" -u "$xev_fd" line; do
    if [[ $line == "$kind event"* ]]; then
      read -r -t "$limit" -u "$xev_fd" event_line
      return 0
    fi
  done
  return 1
}

columns=(
  "prog_ms|program, processor per query (ms)"
  "prog_wake|program, wakeups per query"
  "prog_rss0|program, resident memory at start (kB)"
  "prog_rss1|program, resident memory at end (kB)"
  "map_ms|program, start-up to the window mapped (ms)"
  "floor_ms|C poller, processor per query (ms)"
  "floor_wake|C poller, wakeups per query"
  "floor_rss0|C poller, resident memory at start (kB)"
  "floor_rss1|C poller, resident memory at end (kB)"
  "ratio|ratio of processor per query, program to C poller"
)
declare -A results
for ((run = 1; run <= runs; ++run)); do
  run_dir=$work/run$run
  mkdir -p "$run_dir"
  "$build/tools/ta-sim" --link "$run_dir/port" --log "$run_dir/received" </dev/null >"$run_dir/sim.out" 2>&1 &
  sim=$!
  wait_for 20 test -e "$run_dir/port" || fail "ta-sim did not start: $(cat "$run_dir/sim.out")"
  printf '[Config]\r\nPort=%s\r\nTimer=%s\r\n' "$run_dir/port" "$period" >"$run_dir/Mokuro.ini"
  printf '0312345678=Office\r\n' >"$run_dir/PhoneLst.txt"

  mkfifo "$run_dir/xev"
  stdbuf -oL xev -root -event substructure -event property >"$run_dir/xev" 2>&1 &
  xev=$!
  exec {xev_fd}<"$run_dir/xev"
  # A change on the root, made until xev reports it: then it is listening.
  for ((try = 0; try < 100; ++try)); do
    xdotool set_window --name "measure $run.$try" "$root"
    ! next_event PropertyNotify 0.2 || break
  done
  ((try < 100)) || fail "xev did not start"

  start=$EPOCHREALTIME
  QT_QPA_PLATFORM=xcb MOKURO_HOME=$run_dir "$build/mokuro" 2>"$run_dir/mokuro.err" &
  mokuro=$!
  next_event MapNotify 30 || fail "no window mapped: $(cat "$run_dir/mokuro.err")"
  mapped=$EPOCHREALTIME
  window=$(awk '{sub(/,$/, "", $4); print $4}' <<<"$event_line")
  xwininfo -id "$window" | grep -q '"Mokuro"' || fail "the first window mapped is not the main window"
  exec {xev_fd}<&-
  stop "$xev"
  results[$run,map_ms]=$(awk -v a="$start" -v b="$mapped" 'BEGIN {printf "%.0f", (b - a) * 1000}')

  xdotool windowfocus --sync "$window" key alt+a
  measure_polling "$mokuro"
  results[$run,prog_ms]=$cpu_ms results[$run,prog_wake]=$wakeups
  results[$run,prog_rss0]=$rss0 results[$run,prog_rss1]=$rss1
  program_queries=$queries
  stop "$mokuro"

  "$build/bench/pty_poller" "$run_dir/port" "$period" &
  poller=$!
  measure_polling "$poller"
  results[$run,floor_ms]=$cpu_ms results[$run,floor_wake]=$wakeups
  results[$run,floor_rss0]=$rss0 results[$run,floor_rss1]=$rss1
  stop "$poller"
  stop "$sim"
  results[$run,ratio]=$(awk -v a="${results[$run,prog_ms]}" -v b="$cpu_ms" 'BEGIN {printf "%.1f", a / b}')

  printf 'run %d: program %s ms/query, %s wakeups/query, RSS %s -> %s kB, window mapped after %s ms (%d queries);' \
    "$run" "${results[$run,prog_ms]}" "${results[$run,prog_wake]}" "${results[$run,prog_rss0]}" \
    "${results[$run,prog_rss1]}" "${results[$run,map_ms]}" "$program_queries"
  printf ' floor %s ms/query, %s wakeups/query, RSS %s -> %s kB (%d queries); ratio %s\n' \
    "$cpu_ms" "$wakeups" "$rss0" "$rss1" "$queries" "${results[$run,ratio]}"
done

echo
echo "over $runs runs of ${seconds} s at a ${period} ms period: mean ± standard deviation (min .. max)"
for column in "${columns[@]}"; do
  for ((run = 1; run <= runs; ++run)); do echo "${results[$run,${column%%|*}]}"; done | awk -v label="${column#*|}" '
    {v[NR] = $1; sum += $1; if (NR == 1 || $1 < min) min = $1; if (NR == 1 || $1 > max) max = $1}
    END {
      mean = sum / NR
      for (i = 1; i <= NR; ++i) sq += (v[i] - mean) ^ 2
      sd = 0
      if (NR > 1) sd = sqrt(sq / (NR - 1))
      printf "  %-52s %10.5g ± %-8.3g (%g .. %g)\n", label, mean, sd, min, max
    }'
done
