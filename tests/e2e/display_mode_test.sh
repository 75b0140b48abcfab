#!/usr/bin/env bash
# The XScreenSaver display mode: draws into a window it is given, ignores input, ends on SIGTERM.
source "$(dirname "$0")/lib.sh"
start_screen

xmessage -geometry 480x360+10+10 -title "Host Window" "host" &
PIDS+=($!)
host=$(wait_for_window "Host Window") || fail "could not create the host window"

"$PROGRAM" -window-id "$host" &
pid=$!
PIDS+=($pid)
sleep 4
kill -0 "$pid" 2>/dev/null || fail "the display mode did not stay up"
colours=$(shot_colours "$TEST_HOME/hack.png" "$host")
(( colours > 200 )) || fail "the host window shows only $colours colours"
[[ -n "${BW_SHOTS:-}" ]] && cp "$TEST_HOME/hack.png" "$BW_SHOTS/display-mode-window.png"

xdotool key --window "$host" a Escape
xdotool mousemove 100 100 click 1
sleep 1
kill -0 "$pid" 2>/dev/null || fail "input ended the display mode"
[[ -e "$INI" ]] && fail "the display mode wrote settings"

start=$(date +%s%N)
kill -TERM "$pid"
wait_for_exit "$pid" 2 || fail "SIGTERM did not end the display mode within a second"
(( ($(date +%s%N) - start) < 1500000000 )) || fail "SIGTERM took too long"
echo "display mode: ok"
