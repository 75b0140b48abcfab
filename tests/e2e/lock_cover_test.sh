#!/usr/bin/env bash
# With the exit password on, nothing of the desktop shows and no other client gets the input
# from the first frame to the right password: not behind the prompt, not after another client
# moves, resizes or unmaps the saver's window or the prompt, not after the screen grows. Input
# another client makes up is not taken.
source "$(dirname "$0")/lib.sh"
: "${BW_HOST:?BW_HOST must name the host window program}"
SCREEN_SIZE=1920x1080
start_screen
# A smaller mode to start in, so that the screen can grow while locked.
{ xrandr --newmode 1280x720 74.48 1280 1336 1472 1664 720 721 724 746 &&
  xrandr --addmode screen 1280x720 && xrandr -s 1280x720; } >/dev/null 2>&1 ||
    fail "the screen cannot be resized"
factory_settings
set_setting PWEnabled 1
set_setting Password Coral7

# The "desktop": a window of another program in a colour the aquarium does not have.
"$BW_HOST" 1900 1060 >"$TEST_HOME/desktop" & PIDS+=($!)
for _ in $(seq 50); do [[ -s "$TEST_HOME/desktop" ]] && break; sleep 0.1; done

desktop_shows() { (( $(screenshot "$TEST_HOME/$1.png" | sed -n 's/^magenta: //p') > 0 )); }
# Up to three seconds for the screen to be covered again.
expect_covered() {
    for _ in $(seq 30); do desktop_shows "$1" || return 0; sleep 0.1; done
    fail "the desktop shows $2 (see $TEST_HOME/$1.png)"
}

start_program /s
pid=$!
saver=$(printf '0x%x' "$(wait_for_window Brinewave3 10)") || fail "no saver window"
for _ in $(seq 60); do
    (( $(shot_colours "$TEST_HOME/started.png") > 50 )) && break
    sleep 0.5
done
# From here on no other client may take the keyboard or the pointer.
"$BW_HOST" --poll-grab 60 >"$TEST_HOME/poll" & PIDS+=($!)

xdotool key a
prompt=$(wait_for_window "Enter Password" 5) || fail "no password prompt"
expect_covered prompt "behind the prompt"
xdotool windowmove "$saver" 600 400
expect_covered moved "after the saver's window was moved"
xdotool windowsize "$saver" 300 200
expect_covered resized "after the saver's window was resized"
xdotool windowunmap "$saver"
expect_covered unmapped "after the saver's window was unmapped"
xrandr -s 1920x1080 >/dev/null 2>&1 || fail "the screen cannot grow"
expect_covered grown "after the screen grew"

# The prompt moved off the screen or shrunk comes back whole.
on_screen() {
    local X Y WIDTH HEIGHT WINDOW SCREEN
    eval "$(xdotool getwindowgeometry --shell "$prompt")"
    (( X >= 0 && Y >= 0 && X + WIDTH <= 1920 && Y + HEIGHT <= 1080 && WIDTH >= 300 && HEIGHT >= 60 ))
}
for change in "windowmove $prompt 3000 3000" "windowsize $prompt 1 1"; do
    xdotool $change
    for _ in $(seq 30); do sleep 0.1; on_screen && break; done
    on_screen || fail "the prompt stays off the screen or too small after: $change"
done

# Keys another client makes up are not typed into the prompt (xdotool would send real ones
# to the window with the focus).
"$BW_HOST" --send-keys "$prompt" Coral7
sleep 1
kill -0 "$pid" 2>/dev/null || fail "a password another client sent ended the saver"

[[ ! -s "$TEST_HOME/poll" ]] || fail "another client took the keyboard or pointer"

# The prompt takes the keyboard a moment after it shows: typed again once if lost.
for attempt in 1 2; do
    xdotool type --delay 50 Coral7
    xdotool key Return
    wait_for_exit "$pid" 4 && break
done
kill -0 "$pid" 2>/dev/null && fail "the right password did not end the saver"
(( EXIT_STATUS == 0 )) || fail "the saver ended with $EXIT_STATUS"
echo "lock cover: ok"
