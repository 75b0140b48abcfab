#!/usr/bin/env bash
# In a Wayland session the saver's password guards nothing (the compositor acts on its own
# key bindings first), so with a password set it says so on start and asks none: input ends
# it as without a password. Run on Debian 12's sway, which offers programs no session lock,
# and on Debian 13's, which does.
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
kill "$pid"

# On Debian 13's sway a key ends it with status 0, and no prompt holds it.
wayland_prepare_trixie
wayland_start_sway_trixie
"$PROGRAM" /s 2>"$TEST_HOME/err" &
PIDS+=($!)
pid=$!
for _ in $(seq 100); do grep -q "password cannot guard" "$TEST_HOME/err" && break; sleep 0.1; done
grep -q "password cannot guard" "$TEST_HOME/err" ||
    fail "no word that the password guards nothing: $(cat "$TEST_HOME/err")"
# The saver ignores input until its first frames are shown: a key a second.
ended=false
for _ in $(seq 15); do
    wayland_key Escape
    wait_for_exit "$pid" 1 && { ended=true; break; }
done
$ended || fail "keys did not end the saver (a prompt holds it?)"
[[ $EXIT_STATUS -eq 0 ]] || fail "the saver ended with status $EXIT_STATUS"
echo "PASS"
