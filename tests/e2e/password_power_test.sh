#!/usr/bin/env bash
# The exit password and the power-management step-aside on a real screen.
source "$(dirname "$0")/lib.sh"
start_screen
factory_settings
set_setting PWEnabled 1
set_setting Password Coral7

start_program /s
pid=$!
sleep 3
xdotool key a
wait_for_window "Enter Password" 10 >/dev/null || fail "no password prompt"
sleep 0.5
xdotool type --delay 50 coral7
xdotool key Return
sleep 1
kill -0 "$pid" 2>/dev/null || fail "a wrong password ended the saver"
xdotool type --delay 50 Coral7
xdotool key Return
wait_for_exit "$pid" 5 || fail "the right password did not end the saver"

# Power management: the monitor sleeps after a minute, the X server starts savers after 12
# seconds, so the saver steps aside 60 - 12 - 45 = 3 seconds after it starts.
set_setting PWEnabled 0
set_setting Power 1
set_setting Monitor "1 Minute"
xset s 12
start_program /s
pid=$!
wait_for_window "Power Management" 30 >/dev/null || fail "no power-management notice"
kill -0 "$pid" 2>/dev/null || fail "the saver ended instead of showing the notice"
sleep 0.5
xdotool mousemove 400 300
sleep 0.2
xdotool mousemove 420 320
wait_for_exit "$pid" 5 || fail "moving the mouse over the notice did not end the saver"
echo "password and power: ok"
