#!/usr/bin/env bash
# The aquarium on a real X screen: it draws, it moves, Q keeps it, Escape ends it.
source "$(dirname "$0")/lib.sh"
start_screen
factory_settings
set_setting MouseSens 1

start_program /s
pid=$!
sleep 4
kill -0 "$pid" 2>/dev/null || fail "the saver did not stay up"
first=$(shot_colours "$TEST_HOME/first.png")
sleep 0.5
shot_colours "$TEST_HOME/second.png" >/dev/null
(( first > 200 )) || fail "the screen shows only $first colours"
cmp -s "$TEST_HOME/first.png" "$TEST_HOME/second.png" && fail "two frames are identical"

xdotool key q
sleep 1
kill -0 "$pid" 2>/dev/null || fail "Q ended the saver"
xdotool key Escape
wait_for_exit "$pid" 5 || fail "Escape did not end the saver"
[[ $EXIT_STATUS -eq 0 ]] || fail "the saver exited with $EXIT_STATUS"

# The mouse: ignored at first, ends the saver once armed.
start_program /s
pid=$!
sleep 1.5
xdotool mousemove 100 100
sleep 0.3
xdotool mousemove 300 300
sleep 1
kill -0 "$pid" 2>/dev/null || fail "a mouse movement in the first seconds ended the saver"
sleep 8.5
xdotool mousemove 500 400
wait_for_exit "$pid" 5 || fail "a mouse movement after ten seconds did not end the saver"
echo "saver: ok"
