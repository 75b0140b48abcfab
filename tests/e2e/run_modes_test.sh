#!/usr/bin/env bash
# The run modes picked by the screensaver argument, on a real X screen.
source "$(dirname "$0")/lib.sh"
start_screen

# An unknown argument: nothing shown, the program ends at once.
start_program /x
wait_for_exit $! 5 || fail "/x did not exit"
[[ $EXIT_STATUS -eq 0 ]] || fail "/x exited with $EXIT_STATUS"

[[ -e "$INI" ]] && fail "/x wrote settings"

# "/a" opens the password change dialog.
start_program /a
pid=$!
wait_for_window "Change Password" >/dev/null || fail "/a showed no 'Change Password' window"
kill "$pid"

# The first start wrote the factory settings, privately.
[[ -f "$INI" ]] || fail "no settings file after the first start"
[[ $(stat -c %a "$INI") == 600 ]] || fail "settings file mode is $(stat -c %a "$INI")"
grep -q '^OBottom1=True' "$INI" || fail "factory defaults not written"
grep -q '^PWEnabled=0' "$INI" || fail "a new user must not meet a password"

# "/c" opens the settings dialog; closing it writes the two list files.
start_program /c
pid=$!
wait_for_window "Brinewave Control Box.*" >/dev/null || fail "/c showed no settings dialog"
# Escape goes to every shown window of that title, again until the program ends: a window
# found while the dialog is being set up may be gone by the time the key is sent (BadWindow).
closed=
for _ in $(seq 10); do
    for window in $(xdotool search --onlyvisible --name "^Brinewave Control Box.*\$" 2>/dev/null); do
        xdotool key --window "$window" Escape 2>/dev/null || true
    done
    wait_for_exit "$pid" 1 && { closed=1; break; }
done
[[ -n $closed ]] || fail "the settings dialog did not close"
for list in List.txt Album.txt; do
    [[ -f "$XDG_DATA_HOME/Brinewave3/$list" ]] || fail "closing the dialog did not write $list"
done
echo "run modes: ok"
