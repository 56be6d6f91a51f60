#!/usr/bin/env bash
# The icon in a notification area of the StatusNotifier kind: the program on Xvfb with a
# session bus of its own, where status-notifier-host is the host. Each mouse button on the
# icon brings the hidden window back.
# Usage: status_notifier_test.sh <mokuro> <ta-sim> <status-notifier-host>
set -euo pipefail
mokuro=$1
tasim=$2
host=$3
work=$(mktemp -d)
pids=()
cleanup() { kill "${pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "FAIL: $*"; echo "--- program log"; cat "$work/log"; echo "--- host"; cat "$work/host.out"; exit 1; }
# Polls for a condition, up to ten seconds.
wait_for() { for _ in $(seq 200); do eval "$1" && return 0; sleep 0.05; done; return 1; }
count() { grep -c "$1" "$2" || true; }

export QT_QPA_PLATFORM=xcb
export DISPLAY=:$((200 + RANDOM % 300))
Xvfb "$DISPLAY" -screen 0 1024x600x24 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
dbus-daemon --session --nofork --print-address=3 3>"$work/bus" >/dev/null 2>&1 & pids+=($!)
wait_for "xdpyinfo >/dev/null 2>&1" || fail "Xvfb did not start"
wait_for "[ -s '$work/bus' ]" || fail "no session bus"
DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus")
export DBUS_SESSION_BUS_ADDRESS

mkfifo "$work/clicks"
"$host" <"$work/clicks" >"$work/host.out" 2>&1 & pids+=($!)
exec 4>"$work/clicks"
wait_for "grep -q ready '$work/host.out'" || fail "the host did not start"
"$tasim" --link "$work/port" --log "$work/received" </dev/null >/dev/null 2>&1 & pids+=($!)
wait_for "[ -e '$work/port' ]" || fail "the simulated adapter did not start"
printf '[Config]\r\nPort=%s\r\n' "$work/port" >"$work/Mokuro.ini"
printf '0312345678=Office\r\n' >"$work/PhoneLst.txt"

MOKURO_HOME=$work "$mokuro" --log 2>"$work/log" & pids+=($!)
wait_for "grep -q 'window shown' '$work/log'" || fail "no window"
grep -q "tray icon shown" "$work/log" || fail "the program found no notification area"
wait_for "grep -q '^item ' '$work/host.out'" || fail "the icon did not register with the host"

for button in left middle right; do
  hidden=$(count 'window hidden' "$work/log")
  shown=$(count 'window shown from the tray' "$work/log")
  # 隠す: the window sits at the top left corner, without a window manager.
  xdotool mousemove 437 18 click 1
  wait_for "[ \$(count 'window hidden' '$work/log') -gt $hidden ]" || fail "hiding before the $button button"
  echo "$button" >&4
  wait_for "grep -q '^clicked $button\$' '$work/host.out'" || fail "the host could not click with the $button button"
  wait_for "[ \$(count 'window shown from the tray' '$work/log') -gt $shown ]" ||
    fail "the $button button did not bring the window back"
done
echo "PASS"
