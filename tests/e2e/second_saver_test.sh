#!/usr/bin/env bash
# A second "/s" is refused while a saver runs, unless a "Display Properties" window exists.
source "$(dirname "$0")/lib.sh"
start_screen

start_program /s
first=$!
sleep 2
kill -0 "$first" 2>/dev/null || fail "the first saver did not stay up"

start_program /s
wait_for_exit $! 5 || fail "a second /s did not exit at once"

xmessage -title "Display Properties" "host" &
PIDS+=($!)
wait_for_window "Display Properties" >/dev/null || fail "could not create the host window"
start_program /s
second=$!
sleep 2
kill -0 "$second" 2>/dev/null || fail "a second /s did not run while Display Properties is open"
echo "second saver: ok"
