#!/usr/bin/env bash
# In a Wayland session whose compositor offers no session lock (Debian 12's sway) the saver's
# password guards nothing (the compositor acts on its own key bindings first), so with a
# password set it says so on start, asks none, and runs on as without a password: full screen,
# as a window of its own, without filling standard error with grabs Wayland refuses.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/wayland_lib.sh"
unset DISPLAY

wayland_start_sway_bookworm
factory_settings
set_setting PWEnabled 1
set_setting Password Coral7
"$PROGRAM" /s 2>"$TEST_HOME/err" &
PIDS+=($!)
pid=$!
for _ in $(seq 100); do grep -q "offers no lock" "$TEST_HOME/err" && break; sleep 0.1; done
grep -q "^Brinewave3: This desktop offers no lock to other programs" "$TEST_HOME/err" ||
    fail "no word that the desktop cannot be locked: $(cat "$TEST_HOME/err")"
sleep 2
kill -0 "$pid" 2>/dev/null || fail "the saver did not run on without the lock"
wayland_run swaymsg -t get_tree | tr -d ' \n' |
    grep -q '"fullscreen_mode":1,[^{}]*"app_id":"Brinewave3"' ||
    fail "the saver is not full screen: $(wayland_run swaymsg -t get_tree)"
grep -q "grabbing" "$TEST_HOME/err" && fail "standard error fills with grabs: $(cat "$TEST_HOME/err")"
kill "$pid"

echo "PASS"
