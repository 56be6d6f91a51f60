#!/usr/bin/env bash
# The notification-area icon for real: the program on Xvfb with trayer as the tray host.
# Hiding frees the port; a click on the icon in the tray brings the window back, reopens the
# port and asks for the incoming numbers; so does a click with the middle or right button.
# Usage: tray_test.sh <mokuro> <ta-sim>
set -euo pipefail
mokuro=$1
tasim=$2
work=$(mktemp -d)
pids=()
cleanup() { kill "${pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "FAIL: $*"; echo "--- program log"; cat "$work/log"; exit 1; }
# Polls for a condition, up to ten seconds.
wait_for() { for _ in $(seq 200); do eval "$1" && return 0; sleep 0.05; done; return 1; }

export QT_QPA_PLATFORM=xcb
export DISPLAY=:$((200 + RANDOM % 300))
Xvfb "$DISPLAY" -screen 0 1024x600x24 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
wait_for "xdpyinfo >/dev/null 2>&1" || fail "Xvfb did not start"
trayer --edge top --align right --widthtype pixel --width 64 --height 24 >/dev/null 2>&1 & pids+=($!)
"$tasim" --link "$work/port" --log "$work/received" </dev/null >/dev/null 2>&1 & pids+=($!)
wait_for "[ -e '$work/port' ]" || fail "the simulated adapter did not start"
printf '[Config]\r\nPort=%s\r\n' "$work/port" >"$work/Mokuro.ini"
printf '0312345678=Office\r\n' >"$work/PhoneLst.txt"
wait_for "xwininfo -root -tree | grep -q '\"panel\"'" || fail "trayer did not start"

MOKURO_HOME=$work "$mokuro" --log 2>"$work/log" & pids+=($!)
wait_for "grep -q 'window shown' '$work/log'" || fail "no window"
grep -q "tray icon shown" "$work/log" || fail "the program found no tray"
wait_for "grep -q 'opened at 38400' '$work/log'" || fail "the port did not open"

# 隠す: the window sits at the top left corner, without a window manager.
xdotool mousemove 437 18 click 1
wait_for "grep -q 'window hidden' '$work/log'" || fail "hiding"
wait_for "grep -q 'closed' '$work/log'" || fail "the port was not freed"

# The icon: the program's small window that trayer has embedded.
icon=$(xwininfo -root -tree | awk '/"Mokuro"/ { split($0, a, ")  "); split(a[2], g, "+"); split(g[1], s, "x");
  if (s[1] > 4 && s[1] <= 32 && s[2] > 4 && s[2] <= 32) print $1 }' | head -n 1)
[ -n "$icon" ] || fail "no icon in the tray"
before=$(grep -c "command sent: at\\\\\\\\l1" "$work/log" || true)
xdotool mousemove --window "$icon" 8 8 click 1
wait_for "grep -q 'window shown from the tray' '$work/log'" || fail "the tray click did not bring the window back"
wait_for "[ \$(grep -c 'opened at 38400' '$work/log') -ge 2 ]" || fail "the port was not reopened"
wait_for "[ \$(grep -c 'command sent: at\\\\\\\\l1' '$work/log') -gt $before ]" || fail "no incoming-number query"

for button in 2 3; do
  hidden=$(grep -c 'window hidden' "$work/log")
  shown=$(grep -c 'window shown from the tray' "$work/log")
  xdotool mousemove 437 18 click 1
  wait_for "[ \$(grep -c 'window hidden' '$work/log') -gt $hidden ]" || fail "hiding before button $button"
  xdotool mousemove --window "$icon" 8 8 click "$button"
  wait_for "[ \$(grep -c 'window shown from the tray' '$work/log') -gt $shown ]" ||
    fail "button $button on the icon did not bring the window back"
done
echo "PASS"
