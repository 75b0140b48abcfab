#!/usr/bin/env bash
# swayidle (Debian 12's, on the host) starts the full saver when the session is idle, with the
# README's line: "-w", and "/s -f", which returns as soon as the session is locked, so that
# swayidle goes on (its next timeout runs while the session stays locked). Alone, "/s -f"
# returns 0 once locked; a key ends the saver in the background and unlocks. Where another
# program holds the lock, it fails with status 1.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/wayland_lib.sh"
unset DISPLAY
command -v swayidle >/dev/null || skip "swayidle is not installed (scripts/setup.sh installs it)"
wayland_prepare_trixie
wayland_start_sway_trixie 1280x720
factory_settings

# The supervisor and the saver have left the process "-f" started as: they are found by their
# command line.
savers() { pgrep -f -- "^$PROGRAM /s -f\$" || true; }
expect_locked() {
    rm -f "$WAYLAND_BINDING_TRACE"
    wayland_key logo+Return
    sleep 0.5
    [[ ! -e $WAYLAND_BINDING_TRACE ]] || fail "the session was not locked $1"
}
# Keys end the saver; then the session is open again.
expect_unlocked_by_keys() {
    for _ in $(seq 10); do
        [[ -z $(savers) ]] && break
        wayland_key Escape
        sleep 1
    done
    [[ -n $(savers) ]] && fail "keys did not end the saver $1"
    wayland_key logo+Return
    for _ in $(seq 20); do [[ -e $WAYLAND_BINDING_TRACE ]] && break; sleep 0.1; done
    [[ -e $WAYLAND_BINDING_TRACE ]] || fail "the session stayed locked after the saver $1 ended"
}

swayidle -w timeout 1 "$PROGRAM /s -f" timeout 3 "touch $TEST_HOME/went-on" \
    >"$TEST_HOME/swayidle.log" 2>&1 &
PIDS+=($!)
idle=$!
for _ in $(seq 100); do
    [[ -n $(savers) ]] && break
    sleep 0.1
done
[[ -n $(savers) ]] || fail "swayidle started no saver: $(cat "$TEST_HOME/swayidle.log")"
PIDS+=($(savers))
for _ in $(seq 100); do [[ -e $TEST_HOME/went-on ]] && break; sleep 0.1; done
[[ -e $TEST_HOME/went-on ]] || fail "swayidle -w still waits for the saver while locked"
kill "$idle"
expect_locked "on idle"
expect_unlocked_by_keys "started on idle"

status=0
timeout 20 "$PROGRAM" /s -f 2>"$TEST_HOME/err" || status=$?
[[ $status -eq 0 ]] || fail "/s -f returned $status: $(cat "$TEST_HOME/err")"
PIDS+=($(savers))
[[ -n $(savers) ]] || fail "no saver went on after /s -f returned"
expect_locked "when /s -f returned"
expect_unlocked_by_keys "of /s -f"

# Another locker holds the session: "/s -f" says so and fails, and nothing runs on unseen.
wayland_in_chroot swaylock -f -c 000000 >/dev/null 2>&1
status=0
timeout 20 "$PROGRAM" /s -f 2>"$TEST_HOME/err" || status=$?
pkill -x swaylock || true
[[ $status -eq 1 ]] || fail "/s -f returned $status with the session locked by another program"
grep -q "could not be locked" "$TEST_HOME/err" || fail "no word why: $(cat "$TEST_HOME/err")"
[[ -z $(savers) ]] || fail "a saver runs on without the lock"
echo "PASS"
