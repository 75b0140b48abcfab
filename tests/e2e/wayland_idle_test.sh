#!/usr/bin/env bash
# swayidle (Debian 12's, on the host) starts the full saver when the session is idle, as the
# README shows, and the session is locked: the compositor's key bindings do nothing.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/wayland_lib.sh"
unset DISPLAY
command -v swayidle >/dev/null || skip "swayidle is not installed (scripts/setup.sh installs it)"
wayland_prepare_trixie
wayland_start_sway_trixie 1280x720
factory_settings

swayidle timeout 1 "$PROGRAM /s" >"$TEST_HOME/swayidle.log" 2>&1 &
PIDS+=($!)
idle=$!
# swayidle's commands are not its children: the saver is found by its command line.
saver=
for _ in $(seq 100); do
    saver=$(pgrep -o -f -- "^$PROGRAM /s\$" || true)
    [[ -n $saver ]] && break
    sleep 0.1
done
[[ -n $saver ]] || fail "swayidle started no saver: $(cat "$TEST_HOME/swayidle.log")"
PIDS+=("$saver")
kill "$idle"
sleep 2
wayland_key logo+Return
sleep 0.5
[[ ! -e $WAYLAND_BINDING_TRACE ]] || fail "the session was not locked on idle"
for _ in $(seq 10); do
    kill -0 "$saver" 2>/dev/null || break
    wayland_key Escape
    sleep 1
done
kill -0 "$saver" 2>/dev/null && fail "keys did not end the saver started on idle"
echo "PASS"
