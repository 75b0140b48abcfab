#!/usr/bin/env bash
# The saver's letter keys under a Cyrillic layout: Q, S, V, B, X and Z act by their place on
# the keyboard, as they do under a Latin one.
source "$(dirname "$0")/lib.sh"
start_screen
factory_settings

# Sends keysyms one at a time; xdotool presses each on the key (and in the layout) that has it.
press() {
    local keysym
    for keysym in "$@"; do
        xdotool key "$keysym"
        sleep 0.3
    done
}

# Russian alone: the letters' places name them. Russian second to US: the first layout does.
for layouts in ru us,ru; do
    setxkbmap -layout "$layouts" || fail "setxkbmap cannot set the layouts $layouts"
    start_program /s
    pid=$!
    sleep 3
    # Q, S, V, B: sound and music; X: custom mode, where a click picks instead of ending.
    press Cyrillic_shorti Cyrillic_yeru Cyrillic_em Cyrillic_i Cyrillic_che
    xdotool mousemove 400 300 click 1
    sleep 1
    kill -0 "$pid" 2>/dev/null || fail "a Cyrillic letter key or the click ended the saver ($layouts)"
    # Z leaves custom mode: now a click ends the saver, where in custom mode no click does.
    # Z, which only ever leaves custom mode, and the click are sent once more before the
    # test fails, for a saver slow to take input under the sanitizers.
    press Cyrillic_ya
    xdotool click 1
    if ! wait_for_exit "$pid" 3; then
        press Cyrillic_ya
        xdotool click 1
        wait_for_exit "$pid" 5 || fail "Z did not leave custom mode ($layouts)"
    fi
done

# Any other letter still ends it.
start_program /s
pid=$!
sleep 3
press Cyrillic_ef
if ! wait_for_exit "$pid" 5; then
    press Cyrillic_ef  # as above
    wait_for_exit "$pid" 5 || fail "a Cyrillic letter without a meaning did not end the saver"
fi
echo "keyboard layout: ok"
