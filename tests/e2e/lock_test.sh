#!/usr/bin/env bash
# With the exit password on, no other X client can uncover the desktop: the saver's window
# comes back when unmapped or lowered, a destroyed one leads to the prompt, and a destroyed
# prompt comes back.
source "$(dirname "$0")/lib.sh"
: "${BW_HOST:?BW_HOST must name the host window program}"
start_screen
factory_settings
set_setting PWEnabled 1
set_setting Password Coral7

viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }

start_program /s
pid=$!
saver=$(wait_for_window Brinewave3 10) || fail "no saver window"
saver=$(printf '0x%x' "$saver")
# The window is there before the pictures have loaded; the lock holds once the aquarium shows.
for _ in $(seq 60); do
    (( $(shot_colours "$TEST_HOME/started.png") > 50 )) && break
    sleep 0.5
done

# Unmapped by another client: mapped again, the scene still covers the screen.
xdotool windowunmap "$saver"
for _ in $(seq 50); do viewable "$saver" && break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null || fail "unmapping the window ended a locked saver"
viewable "$saver" || fail "the unmapped saver window stayed unmapped"
colours=$(shot_colours "$TEST_HOME/unmapped.png")
(( colours > 50 )) || fail "the screen shows $colours colours after the unmap, not the aquarium"

# Another window raised above it: the saver is on top again.
"$BW_HOST" 320 240 >"$TEST_HOME/host" & PIDS+=($!)
for _ in $(seq 50); do [[ -s "$TEST_HOME/host" ]] && break; sleep 0.1; done
other=$(printf '0x%x' "$(head -n 1 "$TEST_HOME/host")")
xdotool windowraise "$other"
xwininfo -root -children | grep -q "$other" || fail "the other window is not there"
# xwininfo lists the root's children top first.
on_top() {
    [[ $(xwininfo -root -children | sed -n 's/^ *\(0x[0-9a-f]*\) .*/\1/p' |
         grep -x -e "$saver" -e "$other" | head -n 1) == "$saver" ]]
}
sleep 0.2
for _ in $(seq 50); do on_top && break; sleep 0.1; done
on_top || fail "the saver did not come back above another window"

# Destroyed by another client: the display is lost, and that leads to the prompt.
xdotool windowclose "$saver"
prompt=$(wait_for_window "Enter Password" 5) || fail "no password prompt after the display was lost"
kill -0 "$pid" 2>/dev/null || fail "the lost display ended a locked saver"

# The prompt destroyed by another client comes back.
sleep 0.5
xdotool windowclose "$prompt"
again=
for _ in $(seq 30); do
    again=$(xdotool search --onlyvisible --name '^Enter Password$' 2>/dev/null | head -n 1 || true)
    [[ -n "$again" && "$again" != "$prompt" ]] && break
    again=
    sleep 0.1
done
[[ -n "$again" ]] || fail "no prompt came back after its window was destroyed"
kill -0 "$pid" 2>/dev/null || fail "destroying the prompt ended the saver"
# The new prompt takes the keyboard a moment after it shows: a password typed before that
# goes nowhere, so it is typed again once (a wrong or lost entry leaves the box empty).
for attempt in 1 2; do
    sleep 1
    xdotool type --delay 50 Coral7
    xdotool key Return
    wait_for_exit "$pid" 4 && break
done
kill -0 "$pid" 2>/dev/null && fail "the password did not end the saver after the prompt came back"
echo "lock: ok"
