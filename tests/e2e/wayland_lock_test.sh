#!/usr/bin/env bash
# On a compositor with ext-session-lock-v1 (Debian 13's sway, headless) the full saver locks
# the session: the aquarium shows on every output (one added, scaled or removed while locked
# too), another lock client is refused, the compositor's key bindings do nothing, a killed
# saver is replaced at once, and a key (no password set) unlocks and ends it with status 0,
# after which the bindings work again; with a password only the right one, typed into the
# prompt on the lock (shown at once by a saver that took the lock over, held keys repeating,
# a compose sequence typing its letter), does.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/wayland_lib.sh"
unset DISPLAY
wayland_prepare_trixie
wayland_start_sway_trixie 1280x720
wayland_create_output
factory_settings

colours() { "$BW_GRAB" --file "$1" | sed -n 's/^colours: //p'; }

"$PROGRAM" /s 2>"$TEST_HOME/err" &
PIDS+=($!)
pid=$!
# The output shows the aquarium (many colours; a lock surface starts black).
expect_aquarium_on() {
    local output=$1
    for _ in $(seq 40); do
        wayland_screenshot "$TEST_HOME/$output.png" "$output"
        (( $(colours "$TEST_HOME/$output.png") > 200 )) && return 0
        sleep 0.25
    done
    fail "no aquarium on $output: $(cat "$TEST_HOME/err")"
}
for output in $(wayland_outputs); do expect_aquarium_on "$output"; done
# An output plugged in while locked gets its own; one scaled (HiDPI) is drawn at its new size.
wayland_create_output
expect_aquarium_on "$(wayland_outputs | tail -n 1)"
wayland_in_chroot swaymsg output HEADLESS-1 scale 2 >/dev/null
expect_aquarium_on HEADLESS-1
# One unplugged loses its surface; the others go on.
wayland_in_chroot swaymsg output "$(wayland_outputs | tail -n 1)" unplug >/dev/null
sleep 0.5
expect_aquarium_on HEADLESS-1
pgrep -P "$pid" >/dev/null || fail "the saver ended when an output's scale changed or one went"

if wayland_in_chroot timeout 5 swaylock -f -c 000000 >/dev/null 2>&1; then
    fail "a second lock client was let in"
fi
# A saver killed while locked leaves the session locked (sway shows red), and the process "/s"
# started as starts another at once, which takes the lock over.
# Kills the drawing saver under the supervisor $pid with a signal and waits for the next.
kill_saver() {
    local saver next=
    saver=$(pgrep -P "$pid" | head -n 1 || true)
    [[ -n $saver ]] || fail "no saver process under the supervisor $pid"
    kill -"$1" "$saver"
    for _ in $(seq 100); do
        next=$(pgrep -P "$pid" | head -n 1 || true)
        [[ -n $next && $next != "$saver" ]] && return 0
        sleep 0.1
    done
    fail "no new saver after SIG$1"
}
for signal in SEGV KILL; do
    started=$(date +%s%N)
    kill_saver "$signal"
    expect_aquarium_on "$(wayland_outputs | head -n 1)"
    echo "SIG$signal: the aquarium is back after $(( ($(date +%s%N) - started) / 1000000 )) ms"
done

# The compositor's bindings do nothing while locked; the key goes to the saver and ends it.
wayland_key logo+Return
sleep 0.5
[[ ! -e $WAYLAND_BINDING_TRACE ]] || fail "a key binding of the compositor ran while locked"
ended=false
for _ in $(seq 10); do
    wait_for_exit "$pid" 1 && { ended=true; break; }
    wayland_key Escape
done
$ended || fail "keys did not end the saver"
[[ $EXIT_STATUS -eq 0 ]] || fail "the saver ended with status $EXIT_STATUS: $(cat "$TEST_HOME/err")"
wayland_key logo+Return
for _ in $(seq 20); do [[ -e $WAYLAND_BINDING_TRACE ]] && break; sleep 0.1; done
[[ -e $WAYLAND_BINDING_TRACE ]] || fail "the session stayed locked after the saver ended"

# With a password, a key brings the prompt onto the lock; a wrong password leaves the session
# locked, the right one opens it.
set_setting PWEnabled 1
set_setting Password 'Coral7~'
rm -f "$WAYLAND_BINDING_TRACE"
"$PROGRAM" /s 2>"$TEST_HOME/err" &
PIDS+=($!)
pid=$!
expect_aquarium_on "$(wayland_outputs | head -n 1)"
wayland_key Escape
wayland_type wrong
wayland_key Return
wayland_key logo+Return
sleep 1
kill -0 "$pid" 2>/dev/null || fail "a wrong password ended the saver"
[[ ! -e $WAYLAND_BINDING_TRACE ]] || fail "a key binding ran while the prompt showed"
# A saver killed at the prompt is followed by one that shows the prompt at once.
kill_saver KILL
expect_aquarium_on "$(wayland_outputs | head -n 1)"
sleep 1
# A held key repeats (Wayland leaves that to the client): BackSpace held clears the field.
wayland_type abc
wayland_in_chroot wtype -s 200 -P BackSpace -s 1500 -p BackSpace
# The ~ comes from a compose sequence (dead tilde, space) of the locale's rules.
wayland_type Coral7
wayland_key dead_tilde
wayland_key space
wayland_key Return
wait_for_exit "$pid" 10 || fail "the right password did not end the saver"
[[ $EXIT_STATUS -eq 0 ]] || fail "the saver ended with status $EXIT_STATUS: $(cat "$TEST_HOME/err")"
wayland_key logo+Return
for _ in $(seq 20); do [[ -e $WAYLAND_BINDING_TRACE ]] && break; sleep 0.1; done
[[ -e $WAYLAND_BINDING_TRACE ]] || fail "the session stayed locked after the right password"
echo "PASS"
