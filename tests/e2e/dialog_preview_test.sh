#!/usr/bin/env bash
# The settings dialog's Preview button: the aquarium full screen, but no grab and not kept
# above other windows; any input ends it and the dialog is there again.
source "$(dirname "$0")/lib.sh"
: "${BW_HOST:?BW_HOST must name the host window program}"
start_screen
factory_settings
set_setting PWEnabled 1   # a preview asks no password: the dialog is open beneath it
set_setting Password Coral7

start_program /c
pid=$!
dialog=$(wait_for_window "Brinewave Control Box.*") || fail "no settings dialog"
sleep 1
dialog=$(xdotool search --onlyvisible --name "^Brinewave Control Box.*\$" | head -n 1)
xdotool key --window "$dialog" alt+p
scene=$(wait_for_window Brinewave3 10) || fail "Preview showed no aquarium"
sleep 2
colours=$(shot_colours "$TEST_HOME/preview.png")
(( colours > 50 )) || fail "the preview shows $colours colours, not the aquarium"
[[ $("$BW_HOST" --can-grab) == free ]] || fail "the preview holds the keyboard or pointer"
xprop -id "$scene" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE &&
    fail "the preview is kept above every window"

xdotool key space
for _ in $(seq 50); do
    xdotool search --onlyvisible --name '^Brinewave3$' >/dev/null 2>&1 || break
    sleep 0.1
done
xdotool search --onlyvisible --name '^Brinewave3$' >/dev/null 2>&1 && fail "a key did not end the preview"
xdotool search --onlyvisible --name '^Enter Password$' >/dev/null 2>&1 && fail "the preview asked for the password"
kill -0 "$pid" 2>/dev/null || fail "the end of the preview ended the settings program"
xdotool search --onlyvisible --name "^Brinewave Control Box.*\$" >/dev/null ||
    fail "the settings dialog is gone after the preview"

# Usable again: a second preview, then the dialog closes as ever.
dialog=$(xdotool search --onlyvisible --name "^Brinewave Control Box.*\$" | head -n 1)
xdotool key --window "$dialog" alt+p
wait_for_window Brinewave3 10 >/dev/null || fail "a second Preview showed no aquarium"
sleep 1
xdotool mousedown 1; xdotool mouseup 1
sleep 1
dialog=$(xdotool search --onlyvisible --name "^Brinewave Control Box.*\$" | head -n 1)
[[ -n "$dialog" ]] || fail "no dialog after the second preview"
# The dialog may be gone before xdotool is done with its window: its exit is what counts.
xdotool key --window "$dialog" Escape 2>/dev/null || true
wait_for_exit "$pid" 5 || fail "the dialog did not close after the previews"
echo "dialog preview: ok"
